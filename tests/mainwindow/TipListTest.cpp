#include "MainWindowFixture.h"

#include "editor/ValueTexts.h"
#include "mainwindow/Form2.h"
#include "platform/Icons.h"
#include "platform/Columns.h"

#include <set>
#include "platform/Twips.h"

namespace {
// A tip row as the loader makes it: name, command, danger icon, value name, value and its icon.
int AddTip(ListView& list, const std::wstring& name, const std::wstring& command, bool dangerous,
           const std::wstring& valueName, const std::wstring& value, int valueIcon) {
    int r = list.Add(name, 1);
    list.SetSubText(r, 1, command);
    list.SetSubIcon(r, 2, dangerous ? 33 : 32);
    list.SetSubText(r, 2, dangerous ? L"" : L" ");
    list.SetSubText(r, 3, valueName);
    list.SetSubText(r, 4, value);
    list.SetSubIcon(r, 4, valueIcon);
    return r;
}

std::vector<std::wstring> ViewMarks(Form2& f) {
    std::vector<std::wstring> out;
    for (const wchar_t* k : {L"v1", L"v2", L"v3", L"v4"}) out.push_back(f.Toolbar1.ButtonMenus(L"viewok").Item(k)->text);
    return out;
}
}  // namespace

TEST_F(MainWindowTest, ToolbarCarriesEveryButtonWithItsImageAndTip) {
    MakeRunBefore();
    Form2& f = Start();
    ASSERT_EQ(f.Toolbar1.Count(), 33);
    // Every button but the separators shows a picture of its own from ImageList1.
    std::set<int> images;
    for (int b = 1; b <= f.Toolbar1.Count(); ++b) {
        const std::wstring key = f.Toolbar1.Key(b);
        SCOPED_TRACE(Text::ToAnsi(key));
        if (f.Toolbar1.ButtonStyle(b) == Toolbar::Style::Separator) {
            EXPECT_TRUE(key.empty());
            continue;
        }
        int image = f.Toolbar1.Image(key);
        EXPECT_TRUE(image >= 1 && image <= f.ImageList1.Count());
        EXPECT_TRUE(images.insert(image).second) << "shared with another button";
        HICON drawn = Icons::Create(image, 16);
        EXPECT_NE(nullptr, drawn) << "no picture for image " << image;
        if (drawn) DestroyIcon(drawn);
    }
    EXPECT_EQ(24u, images.size());
    EXPECT_EQ(f.Toolbar1.Key(1), L"start");
    EXPECT_EQ(f.Toolbar1.Key(9), L"scj");
    EXPECT_EQ(f.Toolbar1.ToolTip(f.Toolbar1.IndexOf(L"cklj")), L"窗口连接状态  (F8)");
    EXPECT_FALSE(f.Toolbar1.Enabled(L"paste"));
    EXPECT_GE(f.ImageList1.Count(), 34);
    // A row's icon number (1 category mode, 29 data-file mode) must name an
    // image in the large list as well, or large-icon view shows no icon.
    EXPECT_GE(f.ImageList2.Count(), 29);
    EXPECT_EQ(f.ListView1.ColumnCount(), 5);
}

// The pictures belong to the windows' image lists, not to the lists that show
// them: closing the windows leaves every image list whole (a list that took
// its pictures with it left a dangling handle, and the next start destroyed
// whatever list the system had put at that address since: a start-up without
// its large icons), and a second start has them all again.
TEST_F(MainWindowTest, ImageListsOutliveTheWindowsThatShowThemAndComeBackWhole) {
    MakeRunBefore();
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE(start);
        Form2& f = Start();
        Form3& p = Forms::Form3();
        ASSERT_GE(f.ImageList1.Count(), 34);
        ASSERT_GE(f.ImageList2.Count(), 29);
        ASSERT_GE(p.ImageList1.Count(), 23);
        const HIMAGELIST small = f.ImageList1.handle(), large = f.ImageList2.handle(), props = p.ImageList1.handle();
        EXPECT_EQ(small, reinterpret_cast<HIMAGELIST>(SendMessageW(f.ListView1.hwnd(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)));
        EXPECT_EQ(large, reinterpret_cast<HIMAGELIST>(SendMessageW(f.ListView1.hwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0)));
        Stop();
        ASSERT_FALSE(f.Exists());
        EXPECT_GE(ImageList_GetImageCount(small), 34);
        EXPECT_GE(ImageList_GetImageCount(large), 29);
        EXPECT_GE(ImageList_GetImageCount(props), 23);
    }
}

TEST_F(MainWindowTest, ViewButtonCyclesTheModesAndKeepsOneMark) {
    MakeRunBefore();
    Form2& f = Start();
    ASSERT_EQ(f.View(), 3);
    const int expected[] = {0, 1, 2, 3};
    for (int mode : expected) {
        f.Toolbar1.Click(L"viewok");
        EXPECT_EQ(f.View(), mode);
        auto marks = ViewMarks(f);
        for (int m = 0; m < 4; ++m) EXPECT_EQ(marks[m].substr(0, 2), m == mode ? L"· " : L"  ");
    }
    // Marks out of step with the mode: only the current mode's item is unmarked.
    f.Toolbar1.ButtonMenus(L"viewok").Item(L"v2")->text = L"· 小图标(&M)";
    f.Toolbar1.Click(L"viewok");
    EXPECT_EQ(ViewMarks(f), (std::vector<std::wstring>{L"· 大图标(&G)", L"· 小图标(&M)", L"   列表(&L)", L"   详细资料(&D)"}));
    // Choosing from the menu marks exactly the chosen item.
    PopupMenu::SetChooserForTests([](const PopupMenu&) { return std::wstring(L"v3"); });
    f.Toolbar1.DropDown(L"viewok");
    EXPECT_EQ(f.View(), 2);
    EXPECT_EQ(ViewMarks(f), (std::vector<std::wstring>{L"   大图标(&G)", L"   小图标(&M)", L"· 列表(&L)", L"   详细资料(&D)"}));
}

TEST_F(MainWindowTest, ColumnClicksSortBothWaysAndRememberTheColumn) {
    MakeRunBefore();
    Set(L"Compositor", L"0");
    Form2& f = Start();
    AddTip(f.ListView1, L"b", L"", false, L"Beta", L"1", 4);
    AddTip(f.ListView1, L"c", L"", false, L"alpha", L"2", 4);
    AddTip(f.ListView1, L"a", L"", false, L"Gamma", L"3", 4);
    auto column = [&](int sub) {
        std::wstring s;
        for (int r = 1; r <= f.ListView1.Count(); ++r) s += f.ListView1.SubText(r, sub) + L",";
        return s;
    };
    f.ListView1_ColumnClick(4);
    EXPECT_EQ(column(3), L"alpha,Beta,Gamma,");
    EXPECT_EQ(f.HeaderIcon(4), 1);
    EXPECT_EQ(Setting(L"Compositor"), L"4");
    f.ListView1_ColumnClick(4);
    EXPECT_EQ(column(3), L"Gamma,Beta,alpha,");
    EXPECT_EQ(f.HeaderIcon(4), 2);
    // Another column keeps the direction in force.
    f.ListView1_ColumnClick(1);
    EXPECT_EQ(column(0), L"c,b,a,");
    EXPECT_EQ(f.HeaderIcon(1), 2);
    EXPECT_EQ(f.HeaderIcon(4), 0);
    EXPECT_EQ(Setting(L"Compositor"), L"1");
    // A real header click goes the same way.
    NMLISTVIEW nm{};
    nm.hdr.hwndFrom = f.ListView1.hwnd();
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(f.ListView1.hwnd()));
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = 1;
    SendMessageW(f.hwnd(), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(Setting(L"Compositor"), L"2");
    HWND header = reinterpret_cast<HWND>(SendMessageW(f.ListView1.hwnd(), LVM_GETHEADER, 0, 0));
    const wchar_t* captions[] = {L"作用", L"命令", L"危险", L"键名", L"键值"};
    for (int c = 0; c < 5; ++c) {
        wchar_t buf[32]{};
        HDITEMW it{};
        it.mask = HDI_TEXT;
        it.pszText = buf;
        it.cchTextMax = 32;
        SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&it));
        EXPECT_STREQ(buf, captions[c]);
    }
}

TEST_F(MainWindowTest, TickAllFollowsChoiceAndTheTickAllButton) {
    MakeRunBefore();
    struct Case {
        const wchar_t* choice;
        bool dangerousTicked;
    } cases[] = {{L"1", false},  {L"0", true},    {L"", true},     {L"abc", true}, {L"2", false},
                 {L"1x", false}, {L"-1", false}, {L"0.5", false}, {L"-0.5", false}};
    Form2& f = Start();
    for (const auto& c : cases) {
        Set(L"Choice", c.choice);
        f.ListView1.Clear();
        AddTip(f.ListView1, L"h1", L"", false, L"", L"", 2);
        AddTip(f.ListView1, L"h2", L"", false, L"", L"", 2);
        AddTip(f.ListView1, L"d1", L"", true, L"", L"", 2);
        int ticked = AddTip(f.ListView1, L"d2", L"", true, L"", L"", 2);
        f.ListView1.SetChecked(ticked, true);
        f.ListView1.SetSubText(1, 2, L"");  // only the icon decides
        f.SetRowCommandsEnabled(true);      // as a load that found rows leaves it
        f.ListView1_KeyDown(VK_F3, 0);
        EXPECT_TRUE(f.ListView1.Checked(1)) << Text::ToAnsi(c.choice);
        EXPECT_TRUE(f.ListView1.Checked(2));
        EXPECT_EQ(f.ListView1.Checked(3), c.dangerousTicked) << Text::ToAnsi(c.choice);
        EXPECT_TRUE(f.ListView1.Checked(4));
        f.ListView1_KeyDown(VK_F4, 0);
        for (int r = 1; r <= 4; ++r) EXPECT_FALSE(f.ListView1.Checked(r));
    }
    // Both keys act only while the tick-all button is enabled, whatever `xiao` says.
    f.Toolbar1.SetEnabled(L"xuan", false);
    f.ListView1_KeyDown(VK_F3, 0);
    EXPECT_FALSE(f.ListView1.Checked(1));
    f.ListView1.SetChecked(1, true);
    f.ListView1_KeyDown(VK_F4, 0);
    EXPECT_TRUE(f.ListView1.Checked(1));
    // Ctrl+A selects every row; Ctrl+Shift+A nothing.
    f.ListView1_KeyDown('A', 3);
    EXPECT_EQ(Form2::GetSelCount(f.ListView1.hwnd()), 0);
    f.ListView1_KeyDown('A', 2);
    EXPECT_EQ(Form2::GetSelCount(f.ListView1.hwnd()), 4);
}

TEST_F(MainWindowTest, MinusAndEqualsStepThroughTheAlternativesWithoutWrapping) {
    MakeRunBefore();
    Form2& f = Start();
    Form3& p = Forms::Form3();
    Form1& bar = Forms::Form1();
    int row = AddTip(f.ListView1, L"tip", L"B", false, L"v", L"b", 2);
    f.ListView1.SetSelectedItem(row);
    f.ShowItem();  // the keys step through the options of the tip shown
    auto options = [&](int type, std::initializer_list<std::tuple<const wchar_t*, const wchar_t*, int>> rows, int chosen) {
        p.Combo1.SetListIndex(type);
        p.ListView1.Clear();
        for (const auto& [label, data, icon] : rows) {
            int r = p.ListView1.Add(label, icon);
            p.ListView1.SetSubText(r, 1, data);
        }
        if (chosen) p.ListView1.SetSelectedItem(chosen);
    };
    auto chosen = [&] {
        for (int r = 1; r <= p.ListView1.Count(); ++r)
            if (p.ListView1.Selected(r)) return r;
        return 0;
    };
    // A string tip with A, B, C: B chosen.
    options(0, {{L"A", L"a", 4}, {L"B", L"b", 4}, {L"C", L"c", 4}}, 2);
    f.ListView1_KeyDown(VK_OEM_MINUS, 0);
    EXPECT_EQ(chosen(), 1);
    EXPECT_EQ(f.ListView1.SubText(row, 1), L"A");
    EXPECT_EQ(f.ListView1.SubText(row, 4), L"a");
    EXPECT_EQ(f.ListView1.SubIcon(row, 4), 2);
    EXPECT_EQ(p.Text3.Text(), L"A");
    EXPECT_EQ(bar.ImageCombo1.Text(), L"a");
    f.ListView1_KeyDown(VK_OEM_MINUS, 0);
    EXPECT_EQ(chosen(), 1) << "no wrap-around";
    f.ListView1_KeyDown(VK_OEM_PLUS, 1);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(chosen(), 3);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(chosen(), 3);
    EXPECT_EQ(f.ListView1.SubText(row, 1), L"C");

    // Onto the delete choice, then back to an ordinary value.
    options(0, {{L"del", ValueTexts::DeleteChoice, 8}, {L"on", L"yes", 4}}, 2);
    f.ListView1_KeyDown(VK_OEM_MINUS, 0);
    EXPECT_EQ(bar.ImageCombo1.ListIndex(), 0);
    EXPECT_EQ(p.ImageCombo1.ListIndex(), 0);
    EXPECT_EQ(f.ListView1.SubText(row, 4), ValueTexts::DeleteChoice);
    EXPECT_EQ(f.ListView1.SubIcon(row, 4), 6);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(bar.ImageCombo1.ListIndex(), -1);
    EXPECT_EQ(f.ListView1.SubText(row, 4), L"yes");
    EXPECT_EQ(f.ListView1.SubIcon(row, 4), 2);

    // Binary: a zero-length value empties the boxes; blanks count as empty.
    options(1, {{L"one", L"01", 5}, {L"none", ValueTexts::ZeroLengthBinary, 5}, {L"blank", L"  ", 5}}, 1);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(bar.ImageCombo1.Text(), L"");
    EXPECT_EQ(p.ImageCombo1.Text(), L"");
    EXPECT_EQ(f.ListView1.SubText(row, 4), ValueTexts::ZeroLengthBinary);
    EXPECT_EQ(f.ListView1.SubIcon(row, 4), 3);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(f.ListView1.SubText(row, 4), ValueTexts::ZeroLengthBinary);

    // DWORD.
    options(2, {{L"off", L"0", 6}, {L"on", L"1", 6}}, 1);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(f.ListView1.SubText(row, 4), L"1");
    EXPECT_EQ(f.ListView1.SubIcon(row, 4), 4);
    EXPECT_EQ(f.ListView1.SubText(row, 1), L"on");

    // No alternatives: nothing changes anywhere.
    options(0, {}, 0);
    f.ListView1_KeyDown(VK_OEM_MINUS, 0);
    f.ListView1_KeyDown(VK_OEM_PLUS, 0);
    EXPECT_EQ(f.ListView1.SubText(row, 4), L"1");
    EXPECT_EQ(f.ListView1.SubText(row, 1), L"on");
}

TEST_F(MainWindowTest, TipColumnFittingSetsTheDangerColumnInEveryView) {
    MakeRunBefore();
    Form2& f = Start();
    AddTip(f.ListView1, L"a rather long tip name to fit", L"cmd", false, L"v", L"1", 4);
    f.SetView(0);
    Columns::SetHeaderWidth(f.ListView1, 1, 10);
    EXPECT_TRUE(Form2::AutoSizeTipColumns(f.ListView1, -1));
    EXPECT_EQ(Columns::HeaderWidth(f.ListView1, 3), Twips::ToPixelsX(240));
    EXPECT_EQ(Columns::HeaderWidth(f.ListView1, 1), 10) << "icon view: no fitting";
    f.SetView(3);
    EXPECT_TRUE(Form2::AutoSizeTipColumns(f.ListView1, -1));
    EXPECT_GT(Columns::HeaderWidth(f.ListView1, 1), 10);
    Columns::SetWidth(f.ListView1, 0, 77);
    Columns::SetWidth(f.ListView1, 6, 77);
    for (int c = 1; c <= 5; ++c) EXPECT_NE(Columns::HeaderWidth(f.ListView1, c), 77);
}

TEST_F(MainWindowTest, RightClickShowsTheTipListItemsOfTheSharedMenu) {
    MakeRunBefore();
    Form2& f = Start();
    std::vector<std::wstring> shown;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
        for (const auto& it : m.Items)
            if (it.visible) shown.push_back(it.key);
        return std::wstring();
    });
    f.ListView1_RightClick(POINT{10, 10});
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"cut", L"copy", L"paste", L"d1", L"del", L"d3", L"all", L"no", L"she1",
                                                 L"shezhi"}));
}
