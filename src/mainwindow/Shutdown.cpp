// The main window's shut-down: the interface state saved, every window closed,
// the window procedures taken off in the reverse order of their installation.
#include "common/Config.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/Form5.h"
#include "library/frmShadow.h"
#include "platform/Columns.h"
#include "mainwindow/Form2.h"
#include "platform/Resize.h"
#include "mainwindow/mdlApi.h"
#include "platform/Twips.h"

namespace {
struct GeometryKeys {
    const Config::Key &width, &height, &top, &left;
};
const GeometryKeys kMain{Config::Width_1, Config::Height_1, Config::Top_1, Config::Left_1};
const GeometryKeys kCategories{Config::Width_2, Config::Height_2, Config::Top_2, Config::Left_2};
const GeometryKeys kProperties{Config::Width_3, Config::Height_3, Config::Top_3, Config::Left_3};

// Failed writes are not reported at shut-down: the value is simply not stored.
void WriteGeometry(const Form& f, const GeometryKeys& k) {
    Config::WriteMeasure(k.width, static_cast<double>(f.Width()));
    Config::WriteMeasure(k.height, static_cast<double>(f.Height()));
    Config::WriteMeasure(k.top, static_cast<double>(f.Top()));
    Config::WriteMeasure(k.left, static_cast<double>(f.Left()));
}
}  // namespace

void Form2::Form_Unload() {
    ::Form3* props = Forms::Form3IfLoaded();
    ::frmShadow* shadow = Forms::frmShadowIfLoaded();
    // 2. Geometry, unless minimised.
    if (!IsIconic(hwnd_)) {
        WriteGeometry(*this, kMain);
        if (shadow) WriteGeometry(*shadow, kCategories);
        if (PropertyWindowOn() && props) WriteGeometry(*props, kProperties);
    }
    // 3 to 5. View, link state, column widths.
    Config::WriteInt(Config::View, View());
    Config::WriteInt(Config::FormLink, WindowLink() ? 1 : 0);
    for (int c = 1; c <= 5; ++c)
        Config::WriteMeasure(Config::ColumnHeader(c),
                               static_cast<double>(Twips::FromPixelsX(Columns::HeaderWidth(ListView1, c))));
    // 6. The selected category: a sub-category or favourites node gives its category node.
    if (shadow && shadow->TreeView1.Count() > 0) {
        int node = shadow->TreeView1.SelectedItem();
        if (node > 0) {
            if (shadow->TreeView1.Children(node) == 0 && shadow->TreeView1.Parent(node) > 0)
                node = shadow->TreeView1.Parent(node);
            Config::WriteInt(Config::TreeIndex, node);
        }
    }
    // 7. The properties window's tab.
    Config::WriteInt(Config::Tabstrip, props ? props->TabStrip1.SelectedIndex() - 1 : 0);
    // 9. The other windows. Hidden first: a window goes at once when it is no
    // longer on the screen.
    for (Form* w : {static_cast<Form*>(shadow), static_cast<Form*>(props), static_cast<Form*>(Forms::Form1IfLoaded())})
        if (w && w->Exists()) w->Hide();
    if (shadow) shadow->Unload();
    if (props) props->Unload();
    if (::Form1* bar = Forms::Form1IfLoaded()) bar->Unload();
    Forms::UnloadForm5();  // the find window goes with the others
    // 10. Window procedures, outermost first.
    mdlApi::UnhookMainWindow(hwnd_);
    Resize::Uninstall(hwnd_);
    Hide();
}
