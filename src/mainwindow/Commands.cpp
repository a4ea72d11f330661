// The toolbar's commands, its button menus, the view mode and window linking.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "mainwindow/mdlApi.h"
#include "platform/App.h"
#include "platform/Launch.h"

namespace {
struct ViewItem {
    const wchar_t* key;
    const wchar_t* label;
};
const ViewItem kViewItems[] = {{L"v1", L"大图标(&G)"}, {L"v2", L"小图标(&M)"}, {L"v3", L"列表(&L)"}, {L"v4", L"详细资料(&D)"}};
const DWORD kListViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};

// Opens a file of the program folder with its associated program, in a normal window.
void ShellOpen(const std::wstring& name) {
    Launch::Open(GetDesktopWindow(), L"open", App::PathSlash() + name, {}, SW_SHOWNORMAL);
}
}  // namespace

// ---------------------------------------------------------------- view mode

int Form2::View() const {
    DWORD v = ListView1.View();
    for (int m = 0; m < 4; ++m)
        if (kListViews[m] == v) return m;
    return 3;
}

bool Form2::SetView(int mode) {
    if (mode < 0 || mode > 3) return false;
    ListView1.SetView(kListViews[mode]);
    return true;
}

void Form2::MarkView(int mode) {
    PopupMenu& menu = Toolbar1.ButtonMenus(ToolbarKey::viewok);
    for (int m = 0; m < 4; ++m)
        if (MenuItem* it = menu.Item(kViewItems[m].key))
            it->text = std::wstring(m == mode ? L"\u00B7 " : L"   ") + kViewItems[m].label;
}

void Form2::NextView() {
    // Only the current mode's item loses its mark; the next one gains it.
    int mode = View(), next = (mode + 1) % 4;
    PopupMenu& menu = Toolbar1.ButtonMenus(ToolbarKey::viewok);
    if (MenuItem* it = menu.Item(kViewItems[mode].key)) it->text = std::wstring(L"   ") + kViewItems[mode].label;
    if (MenuItem* it = menu.Item(kViewItems[next].key)) it->text = std::wstring(L"\u00B7 ") + kViewItems[next].label;
    SetView(next);
}

// ---------------------------------------------------------------- window linking

void Form2::cklj_Click() {
    if (WindowLink()) {
        Toolbar1.SetImage(ToolbarKey::cklj, 20);
        const bool propertiesOn = PropertyWindowOn();
        // The satellites only: the value bar is not moved by this command.
        RECT m;
        GetWindowRect(hwnd_, &m);
        HWND shadow = Forms::frmShadow().hwnd();
        RECT s;
        GetWindowRect(shadow, &s);
        int height = m.bottom - m.top;
        if (::Form1* bar = Forms::Form1IfLoaded(); bar && bar->Exists()) {
            RECT b;
            GetWindowRect(bar->hwnd(), &b);
            height += b.bottom - b.top;
        }
        mdlApi::PlaceWindow(shadow, hwnd_, m.left - (s.right - s.left), m.top, s.right - s.left, height);
        if (propertiesOn) {
            HWND props = Forms::Form3().hwnd();
            RECT p;
            GetWindowRect(props, &p);
            mdlApi::PlaceWindow(props, hwnd_, m.right, m.top, p.right - p.left, height);
        }
    } else {
        Toolbar1.SetImage(ToolbarKey::cklj, 21);
    }
}

void Form2::ToggleLink() {
    if (!WindowLink()) {
        Toolbar1.SetImage(ToolbarKey::cklj, 20);
        Toolbar1.SetPressed(ToolbarKey::cklj, true);
    } else {
        Toolbar1.SetPressed(ToolbarKey::cklj, false);
        Toolbar1.SetImage(ToolbarKey::cklj, 21);
    }
    Form_Resize();
}

// ---------------------------------------------------------------- dispatch

void Form2::OpenHelp() { ShellOpen(L"help.chm"); }
void Form2::OpenLog() { ShellOpen(L"logfile.txt"); }

void Form2::Toolbar1_ButtonClick(const std::wstring& key) {
    // The category commands are the category window's.
    if (key == ToolbarKey::tjlb) return Forms::frmShadow().NewCategory();
    if (key == ToolbarKey::del) return Forms::frmShadow().DeleteCategory();
    if (TipToolbarCommand(key)) return;
    if (key == ToolbarKey::start) StartWork();
    else if (key == ToolbarKey::cklj) cklj_Click();
    else if (key == ToolbarKey::xuan) all_Click();
    else if (key == ToolbarKey::xiao) no_Click();
    else if (key == ToolbarKey::viewok) NextView();
    else if (key == ToolbarKey::set) OpenOptionsPage();
    else if (key == ToolbarKey::web) OpenHomePage();
    else if (key == ToolbarKey::email) WriteToMakers();
    else if (key == ToolbarKey::about) OpenAboutPage();
    else if (key == ToolbarKey::help) OpenHelp();
    else if (key == ToolbarKey::log) OpenLog();
    else if (key == ToolbarKey::viewhf) OpenRestorePage();
    else if (key == ToolbarKey::daochu) OpenExportPage();
    // The close is posted: the window goes once the toolbar has finished its click.
    else if (key == ToolbarKey::exit) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    else if (key == ToolbarKey::open) open_Click();
    else if (key == ToolbarKey::copy) copy_Click();
    else if (key == ToolbarKey::cut) cut_Click();
    else if (key == ToolbarKey::paste) paste_Click();
    else if (key == ToolbarKey::find) Library::OpenFindWindow();
}

void Form2::Toolbar1_ButtonDropDown(const std::wstring& key) {
    if (key != ToolbarKey::tjlb) return;
    MenuItem* item = Toolbar1.ButtonMenus(ToolbarKey::tjlb).Item(L"new");
    if (!item) return;
    ::frmShadow& shadow = Forms::frmShadow();
    if (shadow.TreeView1.Count() == 0) {
        item->enabled = false;
        return;
    }
    if (int node = shadow.TreeView1.SelectedItem()) item->enabled = shadow.TreeView1.Children(node) > 0;
}

void Form2::Toolbar1_ButtonMenuClick(const std::wstring& buttonKey, const std::wstring& itemKey) {
    if (buttonKey == ToolbarKey::tjlb && itemKey == L"new") return Forms::frmShadow().NewSubCategory();
    (void)buttonKey;
    if (FavouriteMenuClick(itemKey)) return;
    if (itemKey == L"jqsx") Closejqsx();
    for (int m = 0; m < 4; ++m) {
        if (itemKey == kViewItems[m].key) {
            MarkView(m);
            SetView(m);
        }
    }
}

// ---------------------------------------------------------------- popup 重命名

void Form2::cmm_Click() { Forms::frmShadow().StartRename(); }
