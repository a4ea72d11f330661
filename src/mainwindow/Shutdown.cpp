// The main window's shut-down: the interface state saved, every window closed,
// the window procedures taken off in the reverse order of their installation.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/ColumnHelpers.h"
#include "mainwindow/Form2.h"
#include "mainwindow/Resize.h"
#include "mainwindow/Settings.h"
#include "mainwindow/mdlApi.h"
#include "platform/Twips.h"

namespace {
void WriteGeometry(const Form& f, const wchar_t* suffix) {
    const std::wstring s = suffix;
    Settings::WriteMeasure(L"Width" + s, static_cast<double>(f.Width()));
    Settings::WriteMeasure(L"Height" + s, static_cast<double>(f.Height()));
    Settings::WriteMeasure(L"Top" + s, static_cast<double>(f.Top()));
    Settings::WriteMeasure(L"Left" + s, static_cast<double>(f.Left()));
}
}  // namespace

void Form2::Form_Unload() {
    ::Form3* props = Forms::Form3IfLoaded();
    ::frmShadow* shadow = Forms::frmShadowIfLoaded();
    // 2. Geometry, unless minimised.
    if (!IsIconic(hwnd_)) {
        WriteGeometry(*this, L"_1");
        if (shadow) WriteGeometry(*shadow, L"_2");
        if (PropertyWindowOn() && props) WriteGeometry(*props, L"_3");
    }
    // 3 to 5. View, link state, column widths.
    Settings::WriteInt(L"View", View());
    Settings::WriteInt(L"FormLink", WindowLink() ? 1 : 0);
    for (int c = 1; c <= 5; ++c)
        Settings::WriteMeasure(L"ColumnHeader(" + std::to_wstring(c) + L")",
                               static_cast<double>(Twips::FromPixelsX(General::HeaderWidth(ListView1, c))));
    // 6. The selected category: a sub-category or favourites node gives its category node.
    if (shadow && shadow->TreeView1.Count() > 0) {
        int node = shadow->TreeView1.SelectedItem();
        if (node > 0) {
            if (shadow->TreeView1.Children(node) == 0 && shadow->TreeView1.Parent(node) > 0)
                node = shadow->TreeView1.Parent(node);
            Settings::WriteInt(L"TreeIndex", node);
        }
    }
    // 7. The properties window's tab.
    Settings::WriteInt(L"Tabstrip", props ? props->TabStrip1.SelectedIndex() - 1 : 0);
    // 9. The other windows. Hidden first: a window goes at once when it is no
    // longer on the screen.
    for (Form* w : {static_cast<Form*>(shadow), static_cast<Form*>(props), static_cast<Form*>(Forms::Form1IfLoaded())})
        if (w && w->Exists()) w->Hide();
    if (shadow) shadow->Unload();
    if (props) props->Unload();
    if (::Form1* bar = Forms::Form1IfLoaded()) bar->Unload();
    // 10. Window procedures, outermost first.
    mdlApi::UnhookMainWindow(hwnd_);
    Resize::Uninstall(hwnd_);
    Hide();
}
