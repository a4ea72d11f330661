#include "platform/Subclass.h"
#include "editor/Form3.h"

#include "editor/ValueTexts.h"
#include "mainwindow/Form2.h"
#include "platform/Icons.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "platform/App.h"
#include "platform/Resize.h"
#include "platform/SelectAllText.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>

namespace {
enum : int {
    IdTabStrip1 = 301, IdCombo1, IdText3, IdImageCombo1, IdListView1, IdListView2, IdText1, IdText4, IdText2,
    IdImageCombo2, IdText5, IdCommand3, IdToolbar2, IdCommand1, IdCommand2, IdToolbar1, IdLabelFirst = 340,
};
constexpr long long kPanelTop = 345;  // Picture1's top on the window
constexpr int kDeleteIcon = 8;

const wchar_t* const kTypes[] = {L"字符串值(REG_SZ)", L"二进制值(REG_BINARY)", L"DWORD值(REG_DWORD)",
                                 L"可扩充字符串值(REG_EXPAND_SZ)"};

void Box(const std::wstring& text) { App::MsgBox(text, MB_OK | MB_ICONERROR); }

// Text buttons on a toolbar: the platform toolbar shows images only.
void SetButtonText(Toolbar& bar, const std::wstring& key, const wchar_t* text) {
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_STYLE;
    info.pszText = const_cast<wchar_t*>(text);
    // Without an image the button is only as wide as its text: it must show it.
    info.fsStyle = BTNS_BUTTON | BTNS_SHOWTEXT | BTNS_AUTOSIZE;
    SendMessageW(bar.hwnd(), TB_SETBUTTONINFOW, 4000 + bar.IndexOf(key), reinterpret_cast<LPARAM>(&info));
}

// A toolbar the window places itself (not pinned to the top of its parent).
constexpr DWORD kFreeToolbar = CCS_NOPARENTALIGN | CCS_NORESIZE;
}  // namespace

namespace {
bool MainWindowStarting() {
    const ::Form2* main = Forms::Form2IfLoaded();
    return main && main->Loading();
}
}  // namespace

Form3::~Form3() { Unload(); }

bool Form3::Load() {
    if (Exists()) return true;
    const SIZE size = TakeCreationSize(SIZE{Twips::ToPixelsX(2300), Twips::ToPixelsY(3510)});
    if (!CreateForm(L"Quorix.Form3", L"技巧属性", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN,
                    WS_EX_TOOLWINDOW, nullptr, 0, 0, size.cx, size.cy))
        return false;
    // The controls are made where the layout puts them at this size.
    planning_ = true;
    Form_Resize();
    planning_ = false;
    ImageList1.Create(16, 16);
    const std::pair<int, int> images[] = {{4, 2}, {5, 3}, {6, 4}, {7, 5}, {8, 6}, {11, 32}, {12, 33},
                                            {21, 1}, {22, 6}, {23, 7}};
    // The pictures at their numbers (the numbers between are blank), added in one step.
    std::vector<std::vector<DWORD>> pictures(23);
    for (auto [n, picture] : images) pictures[static_cast<size_t>(n - 1)] = Icons::Argb(picture, 16);
    ImageList1.AddPictures(pictures);
    TabStrip1.Create(hwnd_, IdTabStrip1);
    TabStrip1.AddTab(L"常规");
    TabStrip1.AddTab(L"键值");
    TabStrip1.AddTab(L"查看");
    int labelId = IdLabelFirst;
    for (auto [label, caption] : {std::pair{&Label2, L"作用:"}, {&Label1, L"键位:"}, {&Label4, L"键名:"},
                                  {&Label9, L"危险:"}, {&Label6, L"说明:"}, {&Label8, L"类型:"},
                                  {&Label3, L"命令:"}, {&Label5, L"键值:"}, {&Label7, L"列表:"}})
        label->Create(hwnd_, labelId++, caption);
    Text1.Create(hwnd_, IdText1);
    // The key path and the description wrap at the box's width and scroll down.
    Text4.Create(hwnd_, IdText4, TextBox::Lines::Wrapped);
    Text2.Create(hwnd_, IdText2);
    ImageCombo2.Create(hwnd_, IdImageCombo2, false, ImageList1.handle());
    Text5.Create(hwnd_, IdText5, TextBox::Lines::Wrapped);
    Combo1.Create(hwnd_, IdCombo1, false);
    for (const wchar_t* t : kTypes) Combo1.AddItem(t);
    Text3.Create(hwnd_, IdText3);
    ImageCombo1.Create(hwnd_, IdImageCombo1, true, ImageList1.handle());
    Text1.GotFocus = [this] { Text1_GotFocus(); };
    Text2.GotFocus = [this] { Text2_GotFocus(); };
    Text3.GotFocus = [this] { Text3_GotFocus(); };
    Command3.Create(hwnd_, IdCommand3, L"+");
    Command3.Click = [this] { Command3_Click(); };
    Toolbar2.Create(hwnd_, IdToolbar2, kFreeToolbar);
    SendMessageW(Toolbar2.hwnd(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    Toolbar2.AddButtons({{L"add", Toolbar::Style::Plain, L"", L"添加新的键值到列表  (Alt+A)"},
                         {L"edit", Toolbar::Style::Plain, L"", L"编辑列表中的键值  (Alt+E)"}});
    SetButtonText(Toolbar2, L"add", L"添加");
    SetButtonText(Toolbar2, L"edit", L"编辑");
    SetWindowLongPtrW(Toolbar2.hwnd(), GWL_STYLE, GetWindowLongPtrW(Toolbar2.hwnd(), GWL_STYLE) | TBSTYLE_LIST);
    SendMessageW(Toolbar2.hwnd(), TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    Toolbar2.ButtonClick = [this](const std::wstring& key) { Toolbar2_ButtonClick(key); };
    // Command1 and Command2 only carry the access keys: they lie under the list.
    Command1.Create(hwnd_, IdCommand1, L"tj(&A)");
    Command2.Create(hwnd_, IdCommand2, L"edit(&E)");
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    // Under the list, never seen: the key preview presses them.
    Command1.SetVisible(false);
    Command2.SetVisible(false);
    ListView1.Create(hwnd_, IdListView1, LVS_SINGLESEL | LVS_SHOWSELALWAYS, ListView::CheckBoxes::None);
    ListView1.AddColumn(L"说明", 70);
    ListView1.AddColumn(L"键值", 70);
    ListView1.SetImageLists(ImageList1.handle(), ImageList1.handle());
    ListView1.ItemClick = [this](int row) { ListView1_ItemClick(row); };
    ListView2.Create(hwnd_, IdListView2, LVS_SHOWSELALWAYS, ListView::CheckBoxes::None);
    ListView2.AddColumn(L"名称", 70);
    ListView2.AddColumn(L"数据", 70);
    ListView2.SetImageLists(ImageList1.handle(), ImageList1.handle());
    ListView2.Tag = L"no";
    SetUpLiveList();
    Toolbar1.Create(hwnd_, IdToolbar1, kFreeToolbar);
    Toolbar1.SetImageList(ImageList1.handle());
    Toolbar1.AddButtons({{L"xj", Toolbar::Style::Plain, L"", L"保存成新的技巧  (Ctrl+N)", 21},
                         {L"next", Toolbar::Style::Plain, L"", L"清空全部", 22},
                         {L"", Toolbar::Style::Separator},
                         {L"xiugai", Toolbar::Style::Plain, L"", L"保存修改后的设置  (Ctrl+S)", 23}});
    Toolbar1.ButtonClick = [this](const std::wstring& key) { Toolbar1_ButtonClick(key); };

    // The load step.
    // 1. Minimum size 1800 x 3300 twips.
    Resize::InstallSideMinSize(hwnd_);
    // 2. The delete choice.
    ImageCombo1.AddItem(ValueTexts::DeleteChoice, kDeleteIcon);
    // 3. The danger choices, the first selected.
    ImageCombo2.AddItem(L"没有危险性", 11);
    ImageCombo2.SetListIndex(0);
    ImageCombo2.AddItem(L"具有危险性", 12);
    // 5. Flat column headers.
    Falt(ListView1);
    Falt(ListView2);
    SubclassChildren();
    // Made during the start-up, the controls are laid out when the window
    // first shows, at its size then.
    if (!MainWindowStarting()) Form_Resize();
    ShowTabControls(TabStrip1.SelectedIndex() > 0 ? TabStrip1.SelectedIndex() : 1);
    return true;
}

void Form3::Unload() {
    if (!Exists()) return;
    Resize::Uninstall(hwnd_);
    Form::Unload();
}

void Form3::Falt(ListView& lv) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(lv.hwnd(), LVM_GETHEADER, 0, 0));
    if (!header) return;
    LONG_PTR s = GetWindowLongPtrW(header, GWL_STYLE);
    SetWindowLongPtrW(header, GWL_STYLE, s ^ HDS_BUTTONS);
    SetWindowPos(lv.hwnd(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool Form3::DeleteChoiceSelected(const ComboBox& box) {
    return box.ListIndex() == 0 && box.Text() == ValueTexts::DeleteChoice;
}

int Form3::SelectedOption() const {
    for (int r = 1, n = ListView1.Count(); r <= n; ++r)
        if (ListView1.Selected(r)) return r;
    return 0;
}

// ---------------------------------------------------------------- layout

void Form3::PlaceTwips(Control& c, long long left, long long top, long long width, long long height) {
    if (width < 0 || height < 0) {
        // A size that cannot be applied: keep the old one, move only.
        RECT b = c.Bounds();
        c.Move(Twips::ToPixelsX(left), Twips::ToPixelsY(top), b.right - b.left, b.bottom - b.top);
        return;
    }
    c.Move(Twips::ToPixelsX(left), Twips::ToPixelsY(top), Twips::ToPixelsX(width), Twips::ToPixelsY(height));
}

void Form3::Form_Resize() {
    if (!Text1.Exists() && !planning_) return;
    if (!planning_) NoteLaidOutSize();
    const long long W = Width(), H = Height();
    const long long p = kPanelTop;  // Picture1's controls are relative to the panel
    layout.text1Width = W - 670;
    const long long t1 = layout.text1Width;
    layout.text5Height = H - 3040;
    layout.picture1Height = H - 1020;
    layout.picture1Width = W;
    layout.imageCombo1Width = t1 - 285;
    layout.listView1Width = t1 + 30;
    layout.listView1Height = H - 2365;
    layout.listView2Width = W - 125;
    layout.listView2Height = H - 690;

    // The tab strip spans the window, so its three tabs show at every width the
    // window can take (at a fixed 2055 the third tab fell behind the scroll arrows).
    RECT client{};
    GetClientRect(hwnd_, &client);
    layout.tabStrip1Width = Twips::FromPixelsX(client.right) - 2 * 30;
    PlaceTwips(TabStrip1, 30, 15, layout.tabStrip1Width, 300);
    TabStrip1.FitTabs();
    PlaceTwips(Label2, 60, 435, 480, 180);
    PlaceTwips(Text1, 540, 360, t1, 300);
    PlaceTwips(Label1, 60, 750, 480, 180);
    PlaceTwips(Text4, 540, 690, t1, 930);
    PlaceTwips(Label4, 60, 1710, 480, 180);
    PlaceTwips(Text2, 540, 1650, t1, 300);
    PlaceTwips(Label9, 60, 2055, 480, 180);
    PlaceTwips(ImageCombo2, 540, 1980, t1, 1500);
    PlaceTwips(Label6, 60, 2385, 480, 180);
    PlaceTwips(Text5, 540, 2325, t1, layout.text5Height);
    const long long tb1w = 1170, tb2w = 1560;
    PlaceTwips(Toolbar1, W / 2 - tb1w / 2 - 40, 2325 + layout.text5Height + 40, tb1w, 330);

    PlaceTwips(Label8, 60, p + 90, 480, 180);
    PlaceTwips(Combo1, 540, p + 15, t1, 1500);
    PlaceTwips(Label3, 60, p + 405, 480, 180);
    PlaceTwips(Text3, 540, p + 345, t1, 300);
    PlaceTwips(Label5, 60, p + 735, 480, 180);
    PlaceTwips(ImageCombo1, 540, p + 675, layout.imageCombo1Width, 1500);
    PlaceTwips(Command3, 540 + layout.imageCombo1Width + 30, p + 675, 255, 330);
    PlaceTwips(Toolbar2, W / 2 - tb2w / 2 - 60, p + 1005, tb2w, 330);
    PlaceTwips(Label7, 60, p + 1365, 450, 180);
    PlaceTwips(Command1, 600, p + 1425, 240, 315);
    PlaceTwips(Command2, 585, p + 1785, 210, 375);
    PlaceTwips(ListView1, 525, p + 1335, layout.listView1Width, layout.listView1Height);
    PlaceTwips(ListView2, 0, kPanelTop, layout.listView2Width, layout.listView2Height);
    // The list lies over the two access-key buttons.
    SetWindowPos(ListView1.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Typing into the name, value name and label boxes replaces their text; the
// key path and the description keep the caret where it lands.
void Form3::Text1_GotFocus() { General::SelectAllText(Text1); }
void Form3::Text2_GotFocus() { General::SelectAllText(Text2); }
void Form3::Text3_GotFocus() { General::SelectAllText(Text3); }

// ---------------------------------------------------------------- tabs

void Form3::ShowTabControls(int tab) {
    tab_ = tab;
    const bool general = tab == 1, values = tab == 2, live = tab == 3;
    for (Control* c : std::initializer_list<Control*>{&Label2, &Label1, &Label4, &Label6, &Text1, &Text2, &Text4,
                                                      &Text5, &Label9, &ImageCombo2})
        c->SetVisible(general);
    for (Control* c : std::initializer_list<Control*>{&Label8, &Combo1, &Label3, &Text3, &Label5, &ImageCombo1,
                                                      &Command3, &Toolbar2, &Label7, &ListView1})
        c->SetVisible(values);
    if (live) {
        PlaceTwips(ListView2, 0, kPanelTop, layout.listView2Width, layout.listView2Height);
        SetWindowPos(ListView2.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    ListView2.SetVisible(live);
    Toolbar1.SetVisible(!live);
}

void Form3::TabStrip1_Click() {
    int tab = TabStrip1.SelectedIndex();
    if (tab >= 1 && tab <= 3) ShowTabControls(tab);
}

bool Form3::SelectTab(int n) {
    if (!TabStrip1.Select(n)) return false;
    TabStrip1_Click();
    return true;
}

// ---------------------------------------------------------------- keys and toolbars

bool Form3::Form_KeyDown(int keyCode, int shift) {
    if (tab_ == 3) return false;
    if (keyCode == 'S' && shift == 2) {
        if (Toolbar1.Enabled(L"xiugai")) Xiugai();
        return true;
    }
    if (keyCode == 'N' && shift == 2) {
        if (Toolbar1.Enabled(L"xj")) Xjok();
        return true;
    }
    // The access keys of Command1 and Command2, which lie on the 键值 tab.
    if (tab_ == 2 && shift == 4 && (keyCode == 'A' || keyCode == 'E')) {
        if (keyCode == 'A') Command1.PerformClick();
        else Command2.PerformClick();
        return true;
    }
    return false;
}

void Form3::Toolbar1_ButtonClick(const std::wstring& key) {
    if (key == L"xiugai") Xiugai();
    else if (key == L"xj") Xjok();
    else if (key == L"next") ClearEditor();
}

void Form3::Toolbar2_ButtonClick(const std::wstring& key) {
    if (key == L"add") Command1_Click();
    else if (key == L"edit") Command2_Click();
}

void Form3::ClearEditor() {
    for (TextBox* t : {&Text1, &Text2}) t->SetText(L"");
    ImageCombo1.SetText(L"");
    for (TextBox* t : {&Text3, &Text4, &Text5}) t->SetText(L"");
    Combo1.SetListIndex(-1);
    ListView1.Clear();
    Combo1.SetEnabled(true);
    Toolbar2.SetEnabled(L"edit", false);
    Command2.SetEnabled(false);
    SelectTab(1);
    Text1.SetFocus();
}

LRESULT CALLBACK Form3::ChildKeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<Form3*>(ref);
    if ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && self->Exists()) {
        int shift = App::ShiftState();
        if (self->Form_KeyDown(static_cast<int>(wp), shift)) return 0;
    }
    if (msg == WM_SYSCHAR && self->tab_ == 2 && (wp == 'a' || wp == 'A' || wp == 'e' || wp == 'E')) return 0;
    if (msg == WM_NCDESTROY) Subclass::Remove(h, ChildKeyProc, 1);
    return Subclass::Def(h, msg, wp, lp);
}

void Form3::SubclassChildren() {
    EnumChildWindows(
        hwnd_,
        [](HWND child, LPARAM self) -> BOOL {
            Subclass::Set(child, ChildKeyProc, 1, static_cast<DWORD_PTR>(self));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(this));
}

LRESULT Form3::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        // Made during the start-up, the window is laid out when it shows,
        // once, at the size it has then (the start-up sizes it more than once).
        if ((IsWindowVisible(hwnd_) || !MainWindowStarting()) && SizeChangedSinceLayout()) Form_Resize();
        return 0;
    case WM_SHOWWINDOW:
        if (wp && SizeChangedSinceLayout()) Form_Resize();
        return Default(msg, wp, lp);
    case WM_CLOSE:
        // Closing the window (Alt+F4) does what its switch does: the main
        // window turns it off, saving its place. Without the switch on it only hides.
        if (::Form2* main = Forms::Form2IfLoaded(); main && main->PropertyWindowOn()) main->Closejqsx();
        else Hide();
        return 0;
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lp);
        // Typing into a value box leaves its delete choice.
        if (HIWORD(wp) == CBN_EDITCHANGE && from == ImageCombo1.hwnd()) {
            std::wstring t = ImageCombo1.Text();
            ImageCombo1.SetText(t);
            SendMessageW(ImageCombo1.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(t.size(), t.size()));
        }
        return Form::WndProc(msg, wp, lp);
    }
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->hwndFrom == TabStrip1.hwnd() && nm->code == TCN_SELCHANGE) TabStrip1_Click();
        if (nm->hwndFrom == ListView1.hwnd() && nm->code == LVN_ITEMCHANGED) {
            // However the selection moves (a click, the arrow keys, a letter),
            // the option selected is shown in the boxes.
            const auto* lv = reinterpret_cast<const NMLISTVIEW*>(lp);
            if (lv->iItem >= 0 && (lv->uChanged & LVIF_STATE) && (lv->uNewState & LVIS_SELECTED) &&
                !(lv->uOldState & LVIS_SELECTED))
                ShowValue();
        }
        if (nm->hwndFrom == ListView1.hwnd() && nm->code == NM_RCLICK) {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(ListView1.hwnd(), &pt);
            LRESULT r = Form::WndProc(msg, wp, lp);
            ListView1_MouseUp(2, pt);
            return r;
        }
        return Form::WndProc(msg, wp, lp);
    }
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

// ---------------------------------------------------------------- option list editor

namespace {
bool SameNoCase(const std::wstring& a, const std::wstring& b) { return Text::UpperCase(a) == Text::UpperCase(b); }
std::wstring TrimBlanks(const std::wstring& s) { return Text::TrimSpaces(s); }
}  // namespace

void Form3::SetOptionRow(int row, const std::wstring& label, bool deleteChoice, const std::wstring& boxText) {
    const int type = Combo1.ListIndex();
    ListView1.SetText(row, label);
    std::wstring shown = boxText, stored = boxText;
    if (deleteChoice) {
        stored = Marks::DeleteMark;
    } else if (type == 1 && boxText.empty()) {
        shown = ValueTexts::ZeroLengthBinary;
        stored.clear();
    } else if (type == 2 && boxText.empty()) {
        shown = stored = L"0";
    }
    ListView1.SetSubText(row, 1, shown);
    ListView1.SetSubTag(row, 0, stored);
    ListView1.SetSubIcon(row, 0, deleteChoice ? kDeleteIcon : 4 + type);
}

namespace {
// Text an option may not hold: what would break the tip file or be misread.
std::wstring BadOptionText(const std::wstring& label, const std::wstring& data, bool deleteChoice, Control*& where,
                           Control& labelBox, Control& dataBox) {
    if (!TipFile::SafeField(label) || !Text::FitsAnsi(label) || label.size() >= 32767) {
        where = &labelBox;
        return L"命令中含有不能保存的字符（换行符或特殊标记），请重新输入。";
    }
    if (label.find(Marks::JoinMarkChar) != std::wstring::npos) {
        where = &labelBox;
        return L"命令中不能含有字符“" + Marks::JoinMark + L"”，请重新输入。";
    }
    if (!TipFile::SafeField(data) || !Text::FitsAnsi(data) || data.size() >= 32767) {
        where = &dataBox;
        return L"键值中含有不能保存的字符（换行符或特殊标记），请重新输入。";
    }
    if (!deleteChoice && data == Marks::DeleteMark) {
        where = &dataBox;
        return L"键值不能单独为字符“" + Marks::DeleteMark + L"”，要删除该键名请选择“在注册表中删除该键名”。";
    }
    return {};
}
}  // namespace

void Form3::Command1_Click() {
    if (!Toolbar2.Enabled(L"add")) return;
    const int type = Combo1.ListIndex();
    if (type < 0) {
        Box(L"请选择键值类型。");
        Combo1.SetFocus();
        return;
    }
    std::wstring label = TrimBlanks(Text3.Text());
    if (label.empty()) {
        Box(L"命令不能为空");
        Text3.SetFocus();
        return;
    }
    const bool deleteChoice = DeleteChoiceSelected(ImageCombo1);
    if (type == 2 && !deleteChoice && TrimBlanks(ImageCombo1.Text()).empty()) ImageCombo1.SetText(L"0");
    std::wstring data = TrimBlanks(ImageCombo1.Text());
    const int n = ListView1.Count();
    for (int r = 1; r <= n; ++r) {
        if (SameNoCase(label, ListView1.Text(r))) {
            Box(L"该命令已经存在，请重新输入。");
            Text3.SetFocus();
            return;
        }
    }
    if (deleteChoice) {
        for (int r = 1; r <= n; ++r) {
            if (ListView1.SubIcon(r, 0) == kDeleteIcon) {
                Box(L"该键值已经存在，请重新输入。");
                ImageCombo1.SetFocus();
                return;
            }
        }
    }
    for (int r = 1; r <= n; ++r) {
        if (SameNoCase(data, ListView1.SubTag(r, 0))) {
            Box(L"该键值已经存在，请重新输入。");
            ImageCombo1.SetFocus();
            return;
        }
    }
    Control* where = nullptr;
    std::wstring bad = BadOptionText(label, data, deleteChoice, where, Text3, ImageCombo1);
    if (!bad.empty()) {
        Box(bad);
        where->SetFocus();
        return;
    }
    int row = ListView1.Add(label);
    if (row <= 0) return;
    SetOptionRow(row, label, deleteChoice, deleteChoice ? ImageCombo1.Text() : data);
    for (int r = 1; r <= ListView1.Count(); ++r) ListView1.SetSelected(r, r == row);
    ListView1.SetSelectedItem(row);
    Toolbar2.SetEnabled(L"edit", ListView1.Count() > 0);
    Command2.SetEnabled(Toolbar2.Enabled(L"edit"));
    Combo1.SetEnabled(false);
    Text3.SetFocus();
}

void Form3::Command2_Click() {
    if (!Toolbar2.Enabled(L"edit")) return;
    const int type = Combo1.ListIndex();
    std::wstring label = TrimBlanks(Text3.Text());
    if (label.empty()) {
        Box(L"命令不能为空");
        Text3.SetFocus();
        return;
    }
    const bool deleteChoice = DeleteChoiceSelected(ImageCombo1);
    if (type == 2 && !deleteChoice && TrimBlanks(ImageCombo1.Text()).empty()) ImageCombo1.SetText(L"0");
    std::wstring data = TrimBlanks(ImageCombo1.Text());
    const int sel = SelectedOption(), n = ListView1.Count();
    for (int r = 1; r <= n; ++r) {
        if (r != sel && SameNoCase(label, ListView1.Text(r))) {
            Box(L"该命令已经存在，请重新输入。");
            Text3.SetFocus();
            return;
        }
    }
    if (deleteChoice) {
        for (int r = 1; r <= n; ++r) {
            if (r != sel && ListView1.SubIcon(r, 0) == kDeleteIcon) {
                Box(L"该键值已经存在，请重新输入。");
                ImageCombo1.SetFocus();
                return;
            }
        }
    } else {
        for (int r = 1; r <= n; ++r) {
            if (r != sel && SameNoCase(data, TrimBlanks(ListView1.SubTag(r, 0)))) {
                Box(L"该键值已经存在，请重新输入。");
                ImageCombo1.SetFocus();
                return;
            }
        }
    }
    Control* where = nullptr;
    std::wstring bad = BadOptionText(label, data, deleteChoice, where, Text3, ImageCombo1);
    if (!bad.empty()) {
        Box(bad);
        where->SetFocus();
        return;
    }
    if (sel == 0) return;
    SetOptionRow(sel, label, deleteChoice, deleteChoice ? ImageCombo1.Text() : data);
    Text3.SetFocus();
}

void Form3::ShowValue() {
    const int row = SelectedOption();
    if (row == 0) return;
    Text3.SetText(ListView1.Text(row));
    std::wstring shown = ListView1.SubText(row, 1);
    ImageCombo1.SetText(shown);
    if (Combo1.ListIndex() == 1) ImageCombo1.SetText(shown == ValueTexts::ZeroLengthBinary ? L"" : shown);
    if (ListView1.SubIcon(row, 0) == kDeleteIcon) ImageCombo1.SetListIndex(0);
}

void Form3::ListView1_ItemClick(int) { ShowValue(); }

void Form3::ListView1_MouseUp(int button, POINT clientPt) {
    if (button != 2) return;
    if (ListView1.HitTest(clientPt) == 0) return;
    ::Form2& main = Forms::Form2();
    const int sel = SelectedOption(), n = ListView1.Count();
    main.form3menu.SetEnabled(L"form3sy", sel != 1);
    main.form3menu.SetEnabled(L"form3xy", sel != n);
    POINT screen = clientPt;
    ClientToScreen(ListView1.hwnd(), &screen);
    main.form3menu.Popup(main.hwnd(), screen);
}

void Form3::DeleteOption() {
    const int sel = SelectedOption();
    if (sel > 0) ListView1.Remove(sel);
    if (ListView1.Count() > 0) {
        for (int r = 1; r <= ListView1.Count(); ++r) ListView1.SetSelected(r, r == 1);
        ListView1.SetSelectedItem(1);
    }
    Toolbar2.SetEnabled(L"edit", ListView1.Count() > 0);
    Command2.SetEnabled(ListView1.Count() > 0);
    if (ListView1.Count() == 0) Combo1.SetEnabled(true);
}

void Form3::MoveOption(bool up) {
    const int sel = SelectedOption();
    const int other = up ? sel - 1 : sel + 1;
    if (sel == 0 || other < 1 || other > ListView1.Count()) return;
    const bool dword = Combo1.ListIndex() == 2;
    struct Row {
        std::wstring label, shown, stored;
        int icon;
    };
    auto take = [&](int r) {
        return Row{ListView1.Text(r), ListView1.SubText(r, 1), ListView1.SubTag(r, 0), ListView1.SubIcon(r, 0)};
    };
    auto put = [&](int r, Row row) {
        if (dword && TrimBlanks(row.stored).empty()) row.stored = L"0";
        ListView1.SetText(r, row.label);
        ListView1.SetSubText(r, 1, row.shown);
        ListView1.SetSubTag(r, 0, row.stored);
        ListView1.SetSubIcon(r, 0, row.icon);
    };
    Row kept = take(sel), neighbour = take(other);
    put(sel, neighbour);
    put(other, kept);
    ListView1.SetSelected(sel, false);
    ListView1.SetSelectedItem(other);
}

namespace Forms {
::Form3& Form3() { return Loaded<::Form3>(); }
::Form3* Form3IfLoaded() { return IfLoaded<::Form3>(); }
}  // namespace Forms
