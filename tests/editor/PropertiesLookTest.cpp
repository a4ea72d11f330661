// The properties window as a user sees it at its default size: the three tabs
// in view, the key path and the description wrapping and scrolling, an option
// list without tick boxes, the value and danger boxes with their pictures; the
// boxes that select their whole text when the keys bring the focus to them (and
// the export page's boxes through the same routine); screenshots of each tab.
#include "editor/EditorFixture.h"
#include "editor/Form1.h"
#include "dialogs/Form4.h"
#include "platform/Modal.h"
#include "platform/Twips.h"
#include "support/PostedKey.h"

#include <commctrl.h>

#include <set>

using namespace Bytes;

namespace {
const std::wstring kLongKey =
    L"HKEY_CURRENT_USER\\Software\\QuorixTest\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\示例键位";
const std::wstring kLongDesc =
    L"打开或关闭示例功能。这段说明比较长，用来查看说明框是否按框的宽度自动换行，"
    L"并在文字超出框的高度时出现垂直滚动条，让用户可以向下滚动读完全部内容。"
    L"第二句继续说明这个技巧的作用、它改动的注册表键位，以及改动后需要注销或重新启动资源管理器才能生效。"
    L"第三句：如果不确定，请先备份，再使用这个技巧。";

// Pixels of a window's area as the screen shows it, one COLORREF each.
std::vector<COLORREF> ScreenPixels(HWND h, RECT area) {
    MapWindowPoints(h, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    std::vector<COLORREF> out;
    HDC screen = GetDC(nullptr);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) out.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return out;
}
size_t Colours(const std::vector<COLORREF>& pixels) { return std::set<COLORREF>(pixels.begin(), pixels.end()).size(); }

void Repaint(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Ui::DoEvents();
}

// The picture area of an image combo's box: left of the text of the edit part,
// or the start of a drop-down list's selection field.
RECT PictureArea(const ComboBox& box, HWND& in) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box.hwnd(), &info);
    RECT r{};
    if (info.hwndItem && info.hwndItem != box.hwnd()) {
        in = info.hwndItem;
        GetClientRect(in, &r);
    } else {
        in = box.hwnd();
        r = info.rcItem;
    }
    r.right = r.left + 20;
    return r;
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD s = 0, e = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return {s, e};
}
}  // namespace

class PropertiesLookTest : public EditorTest {
protected:
    // Three tips: a dangerous DWORD switch with a delete option, a harmless string
    // tip, and a tip that deletes its value.
    static std::string Library() {
        return Section(Data) +
               Line(L"开关", Rec(kLongKey, L"v", L"关", "0", '2', kLongDesc, '2')) +
               Line(L"文字", Rec(kLongKey, L"s", L"甲", "a", '0', L"短说明", '1')) +
               Line(L"删去", Rec(kLongKey, L"d", L"删除", DM, '0', L"删除该值", '1')) +
               Mirror(Data) + Line(L"开关", Opts({L"开", L"关", L"删除"}, {"1", "0", DM})) +
               Line(L"文字", Opts({L"甲", L"乙"}, {"a", "b"})) +
               Line(L"删去", Opts({L"删除", L"留"}, {DM, "x"}));
    }

    // The program's first-run geometry: the main window 5595 x 4600 twips, the
    // properties window 2300 wide, docked at the main window's right.
    Form3& DefaultSize() {
        Form2& f = main();
        f.MoveTwips(f.Left(), f.Top(), 5595, 4600);
        props().SetWidth(2300);
        f.Form_Resize();
        Ui::DoEvents();
        return props();
    }
    // Every tab lies inside the strip and the strip inside the window: no tab
    // waits behind the strip's scroll arrows.
    static void ExpectAllTabsShown(Form3& p) {
        HWND strip = p.TabStrip1.hwnd();
        RECT inside, window;
        GetClientRect(strip, &inside);
        GetClientRect(p.hwnd(), &window);
        EXPECT_LE(p.TabStrip1.Bounds().right, window.right);
        ASSERT_EQ(3, TabCtrl_GetItemCount(strip));
        EXPECT_EQ(1, TabCtrl_GetRowCount(strip));
        for (int i = 0; i < 3; ++i) {
            RECT tab{};
            TabCtrl_GetItemRect(strip, i, &tab);
            EXPECT_GE(tab.left, 0) << "tab " << i + 1;
            EXPECT_LE(tab.right, inside.right) << "tab " << i + 1;
        }
        HWND arrows = FindWindowExW(strip, nullptr, UPDOWN_CLASSW, nullptr);
        EXPECT_FALSE(arrows && IsWindowVisible(arrows)) << "the scroll arrows show";
    }
};

// All three tabs show at the default size, at the narrowest size and at a wide
// one; the strip follows the window's width.
TEST_F(PropertiesLookTest, AllThreeTabsShowAtEveryWidth) {
    Start(Library());
    Click(1);
    Form3& p = DefaultSize();
    ASSERT_TRUE(IsWindowVisible(p.hwnd()));
    ExpectAllTabsShown(p);
    const int atDefault = p.TabStrip1.Bounds().right - p.TabStrip1.Bounds().left;
    for (long long width : {1800LL, 4200LL}) {
        SCOPED_TRACE(width);
        p.MoveTwips(p.Left(), p.Top(), width, 4000);
        Ui::DoEvents();
        ExpectAllTabsShown(p);
    }
    EXPECT_GT(p.TabStrip1.Bounds().right - p.TabStrip1.Bounds().left, atDefault) << "the strip keeps one width";
    // A click on the third tab, where the user sees it, opens 查看.
    DefaultSize();
    RECT third{};
    TabCtrl_GetItemRect(p.TabStrip1.hwnd(), 2, &third);
    const LPARAM at = MAKELPARAM((third.left + third.right) / 2, (third.top + third.bottom) / 2);
    SendMessageW(p.TabStrip1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(p.TabStrip1.hwnd(), WM_LBUTTONUP, 0, at);
    Ui::DoEvents();
    EXPECT_EQ(3, p.TabStrip1.SelectedIndex());
    EXPECT_TRUE(p.ListView2.Visible());
    EXPECT_FALSE(p.Text1.Visible());
}

// The key path and the description break their lines at the box's width and
// scroll down; the keys move through the wrapped lines.
TEST_F(PropertiesLookTest, KeyPathAndDescriptionWrapAndScroll) {
    Start(Library());
    Click(1);
    Form3& p = DefaultSize();
    ASSERT_EQ(Ansi(kLongKey), Ansi(p.Text4.Text()));
    ASSERT_EQ(Ansi(kLongDesc), Ansi(p.Text5.Text()));
    for (TextBox* box : {&p.Text4, &p.Text5}) {
        const LONG style = GetWindowLongW(box->hwnd(), GWL_STYLE);
        EXPECT_TRUE(style & ES_MULTILINE);
        EXPECT_FALSE(style & ES_AUTOHSCROLL) << "lines would run past the right edge";
        EXPECT_TRUE(style & WS_VSCROLL);
        // Every character of the text lies within the box's width.
        RECT client;
        GetClientRect(box->hwnd(), &client);
        const int n = GetWindowTextLengthW(box->hwnd());
        EXPECT_GT(SendMessageW(box->hwnd(), EM_GETLINECOUNT, 0, 0), 1);
        LRESULT last = SendMessageW(box->hwnd(), EM_POSFROMCHAR, static_cast<WPARAM>(n - 1), 0);
        if (last != -1) {
            EXPECT_LT(static_cast<short>(LOWORD(last)), client.right);
        }
        EXPECT_EQ(0, SendMessageW(box->hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0));
    }
    // The description is longer than its box: Down arrows scroll it.
    p.Text5.SetFocus();
    SendMessageW(p.Text5.hwnd(), EM_SETSEL, 0, 0);
    const int lines = static_cast<int>(SendMessageW(p.Text5.hwnd(), EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < lines; ++i) PostedKey::Press(p.Text5.hwnd(), VK_DOWN);
    EXPECT_GT(SendMessageW(p.Text5.hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(p.Text5.hwnd(), SB_VERT, &bar));
    EXPECT_GT(bar.nMax - bar.nMin + 1, static_cast<int>(bar.nPage)) << "the scroll bar has somewhere to go";
}

// The option list and the live list carry no tick boxes (nor room for them);
// the option rows keep their own pictures.
TEST_F(PropertiesLookTest, ListsHaveNoTickBoxes) {
    Start(Library());
    Click(1);
    Form3& p = DefaultSize();
    for (ListView* list : {&p.ListView1, &p.ListView2}) {
        EXPECT_FALSE(list->ExtendedStyle() & LVS_EX_CHECKBOXES);
        EXPECT_EQ(nullptr, reinterpret_cast<HIMAGELIST>(SendMessageW(list->hwnd(), LVM_GETIMAGELIST, LVSIL_STATE, 0)));
    }
    ASSERT_EQ(3, p.ListView1.Count());
    EXPECT_EQ(6, p.ListView1.SubIcon(1, 0));
    EXPECT_EQ(8, p.ListView1.SubIcon(3, 0));
    // The row's picture sits at the row's left edge, where a tick box stood.
    RECT icon{}, bounds{};
    icon.left = LVIR_ICON;
    bounds.left = LVIR_BOUNDS;
    SendMessageW(p.ListView1.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon));
    SendMessageW(p.ListView1.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bounds));
    EXPECT_LE(icon.left - bounds.left, 4);
}

// The value box and the danger box are image combos: the delete choice carries
// picture 8, the danger choices 11 and 12, and the box shows the chosen item's
// picture beside its text (none for a typed value).
TEST_F(PropertiesLookTest, ValueAndDangerBoxesShowTheirPictures) {
    Start(Library());
    Form3& p = props();
    ASSERT_EQ(1, p.ImageCombo1.Count());
    EXPECT_EQ(8, p.ImageCombo1.ItemImage(1));
    ASSERT_EQ(2, p.ImageCombo2.Count());
    EXPECT_EQ(11, p.ImageCombo2.ItemImage(1));
    EXPECT_EQ(12, p.ImageCombo2.ItemImage(2));
    DefaultSize();

    // The dangerous tip, then the harmless one: the danger box shows 12, then 11.
    Click(RowNamed(L"开关"));
    p.SelectTab(1);
    EXPECT_EQ(12, p.ImageCombo2.ShownImage());
    Repaint(p.hwnd());
    HWND in = nullptr;
    RECT area = PictureArea(p.ImageCombo2, in);
    const auto dangerous = ScreenPixels(in, area);
    EXPECT_GT(Colours(dangerous), 1u) << "no picture in the danger box";
    Click(RowNamed(L"文字"));
    EXPECT_EQ(11, p.ImageCombo2.ShownImage());
    Repaint(p.hwnd());
    EXPECT_NE(dangerous, ScreenPixels(in, area)) << "both danger choices show the same picture";

    // A typed value shows no picture; the delete choice shows picture 8.
    p.SelectTab(2);
    EXPECT_EQ(0, p.ImageCombo1.ShownImage());
    Repaint(p.hwnd());
    area = PictureArea(p.ImageCombo1, in);
    EXPECT_EQ(1u, Colours(ScreenPixels(in, area))) << "a picture beside a typed value";
    Click(RowNamed(L"删去"));
    ASSERT_TRUE(Form3::DeleteChoiceSelected(p.ImageCombo1));
    EXPECT_EQ(8, p.ImageCombo1.ShownImage());
    Repaint(p.hwnd());
    EXPECT_GT(Colours(ScreenPixels(in, area)), 1u) << "no picture beside the delete choice";
    // The text starts right of the picture.
    LRESULT margins = SendMessageW(in, EM_GETMARGINS, 0, 0);
    EXPECT_GE(LOWORD(margins), 18);

    // The value bar's box shows the same picture for the delete choice, none for a value.
    ::Form1& bar = Forms::Form1();
    ASSERT_EQ(1, bar.ImageCombo1.Count());
    EXPECT_EQ(1, bar.ImageCombo1.ItemImage(1));
    EXPECT_EQ(1, bar.ImageCombo1.ShownImage());
    Repaint(bar.hwnd());
    HWND barEdit = nullptr;
    RECT barArea = PictureArea(bar.ImageCombo1, barEdit);
    EXPECT_GT(Colours(ScreenPixels(barEdit, barArea)), 1u) << "no picture beside the value bar's delete choice";
    Click(RowNamed(L"文字"));
    EXPECT_EQ(0, bar.ImageCombo1.ShownImage());
    Repaint(bar.hwnd());
    EXPECT_EQ(1u, Colours(ScreenPixels(barEdit, barArea))) << "a picture beside the value bar's typed value";
}

// 作用, 键名 and 命令 select their whole text when the program's keys bring the
// focus to them (a refused save, a refused option), so typing replaces it; the
// export page's boxes go through the same routine.
TEST_F(PropertiesLookTest, BoxesSelectTheirWholeTextWhenTheFocusComes) {
    Start(Library());
    Click(RowNamed(L"文字"));
    Form3& p = DefaultSize();
    p.Show();
    SetForegroundWindow(p.hwnd());

    // Ctrl+S with a name the file cannot hold: refused, the focus in 作用 with all of it selected.
    p.Text1.SetText(L"a=b");
    p.Text4.SetFocus();
    ExpectBox(IDOK);
    PostedKey::Press(p.Text4.hwnd(), 'S', VK_CONTROL);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(p.Text1.hwnd(), GetFocus());
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(3)), Selection(p.Text1.hwnd()));
    SendMessageW(p.Text1.hwnd(), WM_CHAR, L'新', 0);
    EXPECT_EQ(Ansi(L"新"), Ansi(p.Text1.Text()));

    // A value name the code page cannot hold: the focus in 键名, all selected.
    p.Text2.SetText(L"名\u0E01");
    p.Text4.SetFocus();
    ExpectBox(IDOK);
    PostedKey::Press(p.Text4.hwnd(), 'S', VK_CONTROL);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(p.Text2.hwnd(), GetFocus());
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(2)), Selection(p.Text2.hwnd()));

    // Alt+A with a label the list holds: refused, the focus in 命令, all selected.
    p.SelectTab(2);
    p.Text3.SetText(L"乙");
    HWND valueEdit = nullptr;
    PictureArea(p.ImageCombo1, valueEdit);
    SetFocus(valueEdit);
    ExpectBox(IDOK, L"该命令已经存在，请重新输入。");
    PostedKey::Press(valueEdit, 'A', VK_MENU);
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ(p.Text3.hwnd(), GetFocus());
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(1)), Selection(p.Text3.hwnd()));

    // The export page: a box given the focus has its whole text selected.
    bool ran = false;
    Modal::SetHookForTests([&](HWND) {
        ran = true;
        Form4& f = Forms::Form4();
        for (TextBox* box : {&f.Text1, &f.Text4, &f.Text5, &f.Text6}) {
            box->SetText(L"作者 abc");
            SendMessageW(box->hwnd(), EM_SETSEL, 1, 1);
            SetFocus(nullptr);
            box->SetFocus();
            EXPECT_EQ(std::make_pair(DWORD(0), DWORD(6)), Selection(box->hwnd()));
        }
        f.Command19.PerformClick();
    });
    main().Toolbar1.Click(L"daochu");
    Modal::SetHookForTests(nullptr);
    EXPECT_TRUE(ran);
}

// Screenshots of the window at its default size showing the long tip: each
// tab, and the danger box's list dropped down. Kept in the test's folder, and
// in the folder QUORIX_SCREENSHOTS names when it is set.
TEST_F(PropertiesLookTest, ScreenshotsAtTheDefaultSize) {
    Start(Library());
    Click(RowNamed(L"开关"));
    Form3& p = DefaultSize();
    p.ListView1.SetSelected(3, true);  // the delete option: its picture in the value box
    p.ListView1.SetSelectedItem(3);
    p.ShowValue();
    auto shoot = [&](const std::wstring& name, RECT r) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        SelectObject(mem, old);
        BITMAPINFOHEADER bi{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        std::string pixels(static_cast<size_t>(((w * 3 + 3) & ~3) * h), '\0');
        GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
        DeleteObject(bmp);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi + pixels.size()), 0, 0,
                            static_cast<DWORD>(sizeof fh + sizeof bi)};
        std::string out(reinterpret_cast<const char*>(&fh), sizeof fh);
        out.append(reinterpret_cast<const char*>(&bi), sizeof bi);
        out += pixels;
        WriteBytes(dir + name + L".bmp", out);
        if (const char* keep = getenv("QUORIX_SCREENSHOTS"))
            WriteBytes(Text::FromAnsi(keep) + L"\\" + name + L".bmp", out);
        EXPECT_GT(w, 0);
    };
    const wchar_t* names[] = {L"properties-general", L"properties-values", L"properties-live"};
    for (int tab = 1; tab <= 3; ++tab) {
        p.SelectTab(tab);
        Repaint(p.hwnd());
        RECT r;
        GetWindowRect(p.hwnd(), &r);
        shoot(names[tab - 1], r);
    }
    // The danger box's list open below it.
    p.SelectTab(1);
    Repaint(p.hwnd());
    SendMessageW(p.ImageCombo2.hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    Ui::DoEvents();
    RECT r;
    GetWindowRect(p.hwnd(), &r);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(p.ImageCombo2.hwnd(), &info);
    RECT list{};
    if (info.hwndList) GetWindowRect(info.hwndList, &list);
    if (list.bottom > r.bottom) r.bottom = list.bottom;
    shoot(L"properties-danger-list", r);
    SendMessageW(p.ImageCombo2.hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
}
