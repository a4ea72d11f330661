#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"

#include "common/Config.h"
#include "common/Ini.h"
#include "common/Maker.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "platform/Resize.h"
#include "mainwindow/mdlApi.h"
#include "platform/App.h"
#include "platform/Twips.h"

namespace {
constexpr UINT kCurrentRowChanged = WM_APP + 2;  // posted: the tip list's current row changed

enum : int { IdLabel1 = 101, IdLabel2, IdListView1, IdToolbar1, IdStatusBar1, IdProgressBar1 };

struct ButtonDef {
    const wchar_t* key;
    Toolbar::Style style;
    const wchar_t* description;
    const wchar_t* toolTip;
};
using S = Toolbar::Style;
// Positions 1 to 33, in this order.
const ButtonDef kButtons[] = {
    {ToolbarKey::start, S::Plain, L"开始修改注册表", L"开始使用技巧  (F5)"},
    {L"", S::Separator, L"分隔符", L""},
    {ToolbarKey::open, S::Plain, L"导入专用数据文件", L"导入技巧数据文件"},
    {ToolbarKey::daochu, S::Plain, L"将选定的技巧导出成专用数据文件", L"导出为技巧数据文件"},
    {L"", S::Separator, L"分隔符", L""},
    {ToolbarKey::tjlb, S::DropDown, L"添加新的技巧类别", L"添加新的技巧类别"},
    {ToolbarKey::del, S::Plain, L"删除技巧类别", L"删除技巧类别"},
    {ToolbarKey::del2, S::Plain, L"删除选定的技巧", L"删除选定的技巧  (Del)"},
    {ToolbarKey::scj, S::Plain, L"将选定的技巧放入收藏夹", L"放入收藏夹  (F9)"},
    {L"", S::Separator, L"", L""},
    {ToolbarKey::cut, S::Plain, L"", L"剪切  (Ctrl+X)"},
    {ToolbarKey::copy, S::Plain, L"", L"复制  (Ctrl+C)"},
    {ToolbarKey::paste, S::Plain, L"", L"粘贴  (Ctrl+V)"},
    {L"", S::Separator, L"", L""},
    {ToolbarKey::viewhf, S::Plain, L"", L"查看恢复文件"},
    {ToolbarKey::find, S::Plain, L"", L"查找技巧  (Ctrl+F)"},
    {ToolbarKey::viewscj, S::DropDown, L"", L"整理类别收藏夹"},
    {L"", S::Separator, L"", L""},
    {ToolbarKey::xuan, S::Plain, L"全部勾选", L"全部勾选  (F3)"},
    {ToolbarKey::xiao, S::Plain, L"全部未选", L"全部未选  (F4)"},
    {L"", S::Separator, L"", L""},
    {ToolbarKey::viewok, S::DropDown, L"查看方式", L"查看方式"},
    {L"", S::Separator, L"分隔符", L""},
    {ToolbarKey::cklj, S::Check, L"窗口连接状态", L"窗口连接状态  (F8)"},
    {L"", S::Separator, L"分隔符", L""},
    {ToolbarKey::set, S::Plain, L"选项", L"选项"},
    {ToolbarKey::log, S::Plain, L"", L"日志"},
    {ToolbarKey::help, S::Plain, L"帮助", L"帮助  (F1)"},
    {L"", S::Separator, L"", L""},
    {ToolbarKey::about, S::Plain, L"关于", L"关于"},
    {ToolbarKey::web, S::Plain, L"", Maker::web},
    {ToolbarKey::email, S::Plain, L"", Maker::email},
    {ToolbarKey::exit, S::Plain, L"退出", L"退出"},
};
}  // namespace

const wchar_t* const Form2::kJqsxOn = L"   关闭技巧属性窗口(&R)  F2";
const wchar_t* const Form2::kJqsxOff = L"   显示技巧属性窗口(&R)  F2";

Form2::~Form2() { Unload(); }

bool Form2::Load() {
    if (Exists()) return true;
    endedAsSecond_ = false;
    Config::ForgetToldFailures();  // a new run tells every failing setting again
    logFailureTold_ = false;
    logLost_ = 0;
    // Nothing of an earlier window's life: a change posted to it went with it.
    currentRowPending_ = false;
    ShownTip = 0;
    focusBeforeInactive_ = nullptr;
    // The start-up reads many settings: config.ini is read whole once for them
    // (again when it changes, and after a box), not once for each key.
    Ini::ReadSnapshot settings;
    if (!CreateWindowAndControls()) return false;
    loading_ = true;
    layoutStale_ = true;
    Form_Load();
    if (!endedAsSecond_ && Exists()) {
        // The satellites take the places the first layout pass gives them
        // (still hidden), so that each is laid out once, there, before it shows.
        mdlApi::DockSatellites(hwnd_, WindowLink(), PropertyWindowOn(), false);
    }
    loading_ = false;
    if (endedAsSecond_) {
        Form::Unload();
        return false;
    }
    if (::frmShadow* shadow = Forms::frmShadowIfLoaded()) shadow->Form_Resize();
    if (::Form3* props = Forms::Form3IfLoaded()) props->Form_Resize();
    // Laid out once, at the size the load gave the window, before it shows.
    LayoutControls();
    return Exists();
}

void Form2::Unload() {
    if (!Exists()) return;
    Form_Unload();
    Form::Unload();
}

bool Form2::CreateWindowAndControls() {
    if (!CreateForm(L"Quorix.Form2", App::Title(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr, CW_USEDEFAULT,
                    CW_USEDEFAULT, 640, 480))
        return false;
    loading_ = true;  // no layout pass before the controls exist
    Label1.Create(hwnd_, IdLabel1, L"", false);
    Label2.Create(hwnd_, IdLabel2, L"", false);
    Toolbar1.Create(hwnd_, IdToolbar1);
    std::vector<Toolbar::ButtonSpec> buttons;
    for (const auto& b : kButtons) buttons.push_back({b.key, b.style, b.description, b.toolTip});
    Toolbar1.AddButtons(buttons);
    Toolbar1.SetEnabled(ToolbarKey::paste, false);
    Toolbar1.ButtonMenus(ToolbarKey::tjlb).Add(L"new", L"添加新的子技巧类别(&N)");
    PopupMenu& view = Toolbar1.ButtonMenus(ToolbarKey::viewok);
    view.Add(L"jqsx", kJqsxOn);
    view.Add(L"oo", L"-");
    view.Add(L"v1", L"   大图标(&G)");
    view.Add(L"v2", L"   小图标(&M)");
    view.Add(L"v3", L"   列表(&L)");
    view.Add(L"v4", L"   详细资料(&D)");
    Toolbar1.ButtonClick = [this](const std::wstring& key) { Toolbar1_ButtonClick(key); };
    Toolbar1.ButtonDropDown = [this](const std::wstring& key) { Toolbar1_ButtonDropDown(key); };
    Toolbar1.ButtonMenuClick = [this](const std::wstring& button, const std::wstring& item) {
        Toolbar1_ButtonMenuClick(button, item);
    };

    ListView1.Create(hwnd_, IdListView1);
    const wchar_t* headers[] = {L"作用", L"命令", L"危险", L"键名", L"键值"};
    for (const wchar_t* h : headers) ListView1.AddColumn(h, 100);
    ListView1.ColumnClick = [this](int column) { ListView1_ColumnClick(column); };
    StatusBar1.Create(hwnd_, IdStatusBar1, {220, 24, -1});
    StatusBar1.PanelClick = [this](int panel) { StatusBar1_PanelClick(panel); };
    ProgressBar1.Create(hwnd_, IdProgressBar1);
    for (auto& h : headerIcon_) h = 0;
    sortKey_ = 0;
    sortOrder_ = 0;

    file.Items.clear();
    file.Add(L"cmm", L"重命名(&M)");
    file.Add(L"cmm2", L"-");
    file.Add(L"cut", L"剪切(&X)\tCtrl+X");
    file.Add(L"copy", L"复制(&C)\tCtrl+C");
    file.Add(L"paste", L"粘贴(&P)\tCtrl+V").enabled = false;
    file.Add(L"d1", L"-");
    file.Add(L"del", L"删除(&D)\tDel");
    file.Add(L"d3", L"-");
    file.Add(L"all", L"全部勾选(&A)\tF3");
    file.Add(L"no", L"全部未选(&N)\tF4");
    file.Add(L"lbscj2", L"-");
    file.Add(L"lbscj", L"添加入类别收藏夹(&F)");
    file.Add(L"she1", L"-");
    file.Add(L"shezhi", L"允许查看键位的内容(&R)").checked = true;
    file.Click = [this](const std::wstring& key) {
        if (TipMenuCommand(key)) return;
        if (key == L"cmm") cmm_Click();
        else if (key == L"all") all_Click();
        else if (key == L"no") no_Click();
        else if (key == L"cut") cut_Click();
        else if (key == L"copy") copy_Click();
        else if (key == L"paste") paste_Click();
        else if (key == L"shezhi") shezhi_Click();
    };
    SetUpTipListMouse();  // the properties window's routes and menus
    BuildInsertMenu();
    SetUpLiveValueMenu();
    loading_ = false;
    return true;
}

bool Form2::PropertyWindowOn() const {
    auto& self = const_cast<Form2&>(*this);
    const MenuItem* it = self.Toolbar1.ButtonMenus(ToolbarKey::viewok).Item(L"jqsx");
    return it && it->text == kJqsxOn;
}

void Form2::SetRowCommandsEnabled(bool rowsPresent) {
    for (const wchar_t* key : {ToolbarKey::del2, ToolbarKey::scj, ToolbarKey::xuan, ToolbarKey::xiao, ToolbarKey::start, ToolbarKey::daochu, ToolbarKey::cut, ToolbarKey::copy})
        Toolbar1.SetEnabled(key, rowsPresent);
    for (const wchar_t* key : {L"copy", L"cut", L"all", L"no", L"del"}) file.SetEnabled(key, rowsPresent);
}

void Form2::LayoutControls() {
    if (!Exists() || !ListView1.Exists()) return;
    // While the window is made and loaded (hidden), its size changes several
    // times: the controls wait for the last one (Load lays them out then).
    if (loading_) return;
    RECT rc;
    GetClientRect(hwnd_, &rc);
    // Laid out for this size already: nothing moves (a show, a resize pass
    // after WM_SIZE, a move without a change of size).
    if (!layoutStale_ && laidOut_.cx == rc.right && laidOut_.cy == rc.bottom) return;
    layoutStale_ = false;
    laidOut_ = SIZE{rc.right, rc.bottom};
    Toolbar1.FitToRows();
    StatusBar1.Relayout();
    int top = Toolbar1.PreferredHeight();
    int bottom = rc.bottom - StatusBar1.Height();
    // The list is drawn afresh wherever it goes: its old pixels are not moved
    // with it. They may hold the toolbar's rows, which grow over the list's
    // old top before the list moves down (and the rows it showed there would
    // stay blank).
    const RECT was = ListView1.Bounds();
    if (was.left != 0 || was.top != top || was.right != rc.right || was.bottom != bottom)
        SetWindowPos(ListView1.hwnd(), nullptr, 0, top, rc.right, bottom - top > 0 ? bottom - top : 0,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    // The progress bar sits over the right end of the status bar while tips are applied.
    int barH = StatusBar1.Height() - 6;
    int barW = Twips::ToPixelsX(2415) - 20;
    ProgressBar1.Move(rc.right - barW - 20, bottom + 4, barW, barH > 4 ? barH : 4);
}

LRESULT Form2::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE: {
        // A WM_SIZE at the size the window is laid out for already (the one
        // the first show sends) changes nothing: no layout pass.
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        const bool changed = layoutStale_ || laidOut_.cx != rc.right || laidOut_.cy != rc.bottom;
        LayoutControls();
        if (!loading_ && changed) Form_Resize();
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        LRESULT r = Default(msg, wp, lp);
        if ((reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) && !loading_) Form_Resize();
        return r;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            // Kept so that the keys work where they did once the window is
            // active again (after a message box, a page, another window).
            HWND focus = GetFocus();
            focusBeforeInactive_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
            return Default(msg, wp, lp);
        }
        if (!loading_) Form_Activate();
        if (!HIWORD(wp) && ListView1.Exists()) {
            HWND back = focusBeforeInactive_;
            if (!back || !IsWindow(back) || !IsChild(hwnd_, back) || !IsWindowVisible(back) || !IsWindowEnabled(back))
                back = ListView1.hwnd();
            SetFocus(back);
            return 0;
        }
        return Default(msg, wp, lp);
    case kCurrentRowChanged:
        ListView1_CurrentRowChanged();
        return 0;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->hwndFrom == ListView1.hwnd()) {
            if (nm->code == LVN_KEYDOWN) {
                int shift = App::ShiftState();
                ListView1_KeyDown(reinterpret_cast<NMLVKEYDOWN*>(lp)->wVKey, shift);
            } else if (nm->code == LVN_ITEMCHANGED) {
                // The current row moves by many routes (keys, clicks, a letter,
                // Ctrl+A, code); it is shown once the change is complete.
                const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
                if ((lv->uChanged & LVIF_STATE) && ((lv->uNewState ^ lv->uOldState) & (LVIS_SELECTED | LVIS_FOCUSED)) &&
                    !currentRowPending_ && PostMessageW(hwnd_, kCurrentRowChanged, 0, 0))
                    currentRowPending_ = true;
            } else if (nm->code == NM_RCLICK) {
                POINT pt;
                GetCursorPos(&pt);
                ListView1_RightClick(pt);
            }
        }
        return Form::WndProc(msg, wp, lp);
    }
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_DESTROY:
        if (QuitOnDestroy) PostQuitMessage(0);
        return 0;
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

void Form2::OnDestroyed() {
    // The status bar has gone with the window: its icon is no longer shown.
    if (refreshIcon_) DestroyIcon(refreshIcon_);
    refreshIcon_ = nullptr;
}

namespace Forms {
::Form2& Form2() { return Loaded<::Form2>(); }
::Form2* Form2IfLoaded() { return IfLoaded<::Form2>(); }
}  // namespace Forms
