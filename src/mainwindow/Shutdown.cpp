// The main window's shut-down: the interface state saved, every window closed,
// the window procedures taken off in the reverse order of their installation.
#include "common/Config.h"
#include "common/Ini.h"
#include "dialogs/Form4.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/modMenu.h"
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

// False when one of the four writes failed (the others are still made).
bool WriteGeometry(const Form& f, const GeometryKeys& k) {
    bool ok = Config::WriteMeasure(k.width, static_cast<double>(f.Width()));
    ok = Config::WriteMeasure(k.height, static_cast<double>(f.Height())) && ok;
    ok = Config::WriteMeasure(k.top, static_cast<double>(f.Top())) && ok;
    ok = Config::WriteMeasure(k.left, static_cast<double>(f.Left())) && ok;
    return ok;
}
}  // namespace

void Form2::Form_Unload() {
    ::Form3* props = Forms::Form3IfLoaded();
    ::frmShadow* shadow = Forms::frmShadowIfLoaded();
    // Every write is made; the ones that fail (and the category window's) are
    // reported in one message once the windows are closed.
    bool ok = true;
    // The writes go to a copy of config.ini that takes its place once all are made.
    Ini::FileTransaction settings(Config::Path());
    // 2. Geometry, unless minimised.
    if (!IsIconic(hwnd_)) {
        ok = WriteGeometry(*this, kMain) && ok;
        if (shadow) ok = WriteGeometry(*shadow, kCategories) && ok;
        if (PropertyWindowOn() && props) ok = WriteGeometry(*props, kProperties) && ok;
    }
    // 3 to 5. View, link state, column widths.
    ok = Config::WriteInt(Config::View, View()) && ok;
    ok = Config::WriteInt(Config::FormLink, WindowLink() ? 1 : 0) && ok;
    for (int c = 1; c <= 5; ++c)
        ok = Config::WriteMeasure(Config::ColumnHeader(c),
                                  static_cast<double>(Twips::FromPixelsX(Columns::HeaderWidth(ListView1, c)))) &&
             ok;
    // 6. The selected category: a sub-category or favourites node gives its category node.
    if (shadow && shadow->TreeView1.Count() > 0) {
        int node = shadow->TreeView1.SelectedItem();
        if (node > 0) {
            if (shadow->TreeView1.Children(node) == 0 && shadow->TreeView1.Parent(node) > 0)
                node = shadow->TreeView1.Parent(node);
            ok = Config::WriteInt(Config::TreeIndex, node) && ok;
        }
    }
    // 7. The properties window's tab.
    ok = Config::WriteInt(Config::Tabstrip, props ? props->TabStrip1.SelectedIndex() - 1 : 0) && ok;
    // 8. The balloon over the tip list.
    ReleaseRowTooltip();
    // 9. The other windows. Hidden first: a window goes at once when it is no
    // longer on the screen.
    for (Form* w : {static_cast<Form*>(shadow), static_cast<Form*>(props), static_cast<Form*>(Forms::Form1IfLoaded())})
        if (w && w->Exists()) w->Hide();
    frmShadow::SaveResult fileList;
    if (shadow) {
        // The category window's own save joins this one's report.
        shadow->ReportSaveFailures = false;
        shadow->Unload();
        shadow->ReportSaveFailures = true;
        fileList = shadow->LastSave();
    }
    if (props) props->Unload();
    if (::Form1* bar = Forms::Form1IfLoaded()) bar->Unload();
    Forms::UnloadForm4();
    ok = settings.Commit() && ok;
    if (!ok || !fileList.settingsWritten) ReportSettingsNotWritten();
    else frmShadow::ReportSave(fileList);
    Forms::UnloadForm5();  // the find window goes with the others
    // 10. Window procedures, outermost first.
    mdlApi::UnhookMainWindow(hwnd_);
    modMenu::UnhookMenuSelect();
    Resize::Uninstall(hwnd_);
    Hide();
}
