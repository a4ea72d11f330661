// The properties window, the value bar and the candidate popup as the program
// wires them: showing a tip, the option editor, Enter in the bar, the popup and
// its hover preview, F2, the layout and the hooks.
#include "editor/EditorFixture.h"
#include "platform/Twips.h"

using namespace Bytes;

namespace {
const wchar_t* const kKey = L"HKEY_CURRENT_USER\\Software\\QuorixTest";
std::string Line(const std::wstring& name, const std::string& value) { return A(name) + "=" + value + "\r\n"; }
std::string Tip(const std::wstring& name, const std::wstring& label, const std::string& data, char type,
                char danger = '1') {
    return Line(name, A(kKey) + FM + "v" + FM + A(label) + JM + data + FM + std::string(1, type) + FM + "d" + FM +
                          std::string(1, danger));
}
}  // namespace

TEST_F(EditorTest, ShowItemFillsTheEditorsFromTheRow) {
    const std::string file = Section(Data) + Tip(L"开关", L"关", "0", '2', '2') + Tip(L"大小写", L"ON", "1", '0') +
                             Tip(L"三二", L"c", "", '0') + Tip(L"无标记", L"q", "q", '0') +
                             Tip(L"空二进制", L"z", "", '1') + Tip(L"删除", L"del", DM, '0') + Mirror(Data) +
                             Line(L"开关", Opts({L"开", L"关"}, {"1", "0"})) +
                             Line(L"大小写", Opts({L"on", L"off"}, {"1", "0"})) +
                             Line(L"三二", Opts({L"a", L"b", L"c"}, {"1", "2"})) + Line(L"无标记", FM + "q" + FM) +
                             Line(L"空二进制", Opts({L"z", L"y"}, {"", "01"})) +
                             Line(L"删除", Opts({L"del", L"w"}, {DM, "x"}));
    Start(file);
    Form3& p = props();
    Form1& bar = Forms::Form1();
    // The 开/关 example on a DWORD tip.
    Click(RowNamed(L"开关"));
    ASSERT_EQ(2, p.ListView1.Count());
    EXPECT_EQ(6, p.ListView1.SubIcon(1, 0));
    EXPECT_EQ(6, p.ListView1.SubIcon(2, 0));
    EXPECT_TRUE(p.ListView1.Selected(2));
    EXPECT_EQ(Ansi(L"关"), Ansi(p.Text3.Text()));
    EXPECT_EQ("0", Ansi(p.ImageCombo1.Text()));
    EXPECT_EQ(1, p.ImageCombo2.ListIndex());
    EXPECT_FALSE(p.Combo1.Enabled());
    EXPECT_EQ(2, p.Combo1.ListIndex());
    // The balloon's type line follows the tip shown.
    ASSERT_TRUE(main().RowTooltip);
    EXPECT_NE(std::wstring::npos, main().RowTooltip->TipText().find(L"类型：DWORD值(REG_DWORD)"));
    // Labels match without regard to case.
    Click(RowNamed(L"大小写"));
    EXPECT_TRUE(p.ListView1.Selected(1));
    EXPECT_NE(std::wstring::npos, main().RowTooltip->TipText().find(L"类型：字符串值(REG_SZ)"));
    // Three labels, two data items.
    Click(RowNamed(L"三二"));
    ASSERT_EQ(3, p.ListView1.Count());
    EXPECT_EQ("", Ansi(p.ListView1.SubText(3, 1)));
    // No JoinMark: no options, edit disabled, the boxes keep their texts.
    p.Text3.SetText(L"留下");
    Click(RowNamed(L"无标记"));
    EXPECT_EQ(0, p.ListView1.Count());
    EXPECT_FALSE(p.Toolbar2.Enabled(L"edit"));
    EXPECT_EQ(Ansi(L"留下"), Ansi(p.Text3.Text()));
    // A zero-length binary value: both value boxes empty, the option shows the text.
    Click(RowNamed(L"空二进制"));
    EXPECT_EQ("", Ansi(bar.ImageCombo1.Text()));
    EXPECT_EQ("", Ansi(p.ImageCombo1.Text()));
    EXPECT_EQ(Ansi(TipRow::ZeroLengthBinaryText), Ansi(p.ListView1.SubText(1, 1)));
    // The delete choice in both boxes and on the option.
    Click(RowNamed(L"删除"));
    EXPECT_TRUE(Form3::DeleteChoiceSelected(bar.ImageCombo1));
    EXPECT_TRUE(Form3::DeleteChoiceSelected(p.ImageCombo1));
    EXPECT_EQ(8, p.ListView1.SubIcon(1, 0));
    // Two rows selected: nothing changes.
    tips().SetSelected(RowNamed(L"开关"), true);
    main().ShowItem();
    EXPECT_EQ(Ansi(L"删除"), Ansi(p.Text1.Text()));
    // With [Data] Tip 0 the balloon goes (no stale balloon).
    Ini::Write(Config::Path(), Config::DataSection, L"Tip", L"0");
    Click(RowNamed(L"开关"));
    EXPECT_FALSE(main().RowTooltip);
}

TEST_F(EditorTest, EmptyLoadDisablesTheValueBarThroughTheProgramsOwnHooks) {
    Start(Section(Data) + Mirror(Data));
    EXPECT_EQ(0, tips().Count());
    EXPECT_FALSE(Forms::Form1().ImageCombo1.Enabled());
    EXPECT_FALSE(Forms::Form1().Command1.Enabled());
    EXPECT_EQ("no", Ansi(props().ListView2.Tag));
    EXPECT_FALSE(props().Toolbar1.Enabled(L"xiugai"));
    // Saving the first tip enables them again.
    Fill(L"新", kKey, L"v", 0, {{L"x", L"y"}}, 1, L"", 0);
    props().Xjok();
    EXPECT_TRUE(Forms::Form1().ImageCombo1.Enabled());
    EXPECT_TRUE(props().Toolbar1.Enabled(L"xiugai"));
    // The menu-hover procedure is installed once and goes with the main window.
    EXPECT_TRUE(modMenu::Hooked());
    Stop();
    EXPECT_FALSE(modMenu::Hooked());
}

TEST_F(EditorTest, EnterInTheValueBarWritesTheSelectedRow) {
    Start(Section(Data) + Tip(L"S", L"a", "x", '0') + Tip(L"B", L"a", "01", '1') + Tip(L"D", L"a", "1", '2') +
          Tip(L"E", L"a", "x", '3'));
    Form1& bar = Forms::Form1();
    struct Case {
        const wchar_t* row;
        const wchar_t* typed;
        bool deleteChoice;
        const wchar_t* cell;
        int icon;
    };
    const Case cases[] = {
        {L"D", L"", false, L"0", 4},
        {L"B", L"   ", false, TipRow::ZeroLengthBinaryText, 3},
        {L"E", L"  %X%  ", false, L"%X%", 5},
        {L"S", L" t ", false, L"t", 2},
        {L"S", L"", true, TipRow::DeleteText, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Ansi(c.row));
        Click(RowNamed(c.row));
        if (c.deleteChoice) bar.ImageCombo1.SetListIndex(0);
        else bar.ImageCombo1.SetText(c.typed);
        HWND edit = GetWindow(bar.ImageCombo1.hwnd(), GW_CHILD);
        SendMessageW(edit, WM_CHAR, 13, 0);
        int row = RowNamed(c.row);
        EXPECT_EQ(Ansi(c.cell), Ansi(tips().SubText(row, 4)));
        EXPECT_EQ(c.icon, tips().SubIcon(row, 4));
        EXPECT_EQ("a", Ansi(tips().SubText(row, 1)));
    }
    // No selected row: nothing.
    for (int r = 1; r <= tips().Count(); ++r) tips().SetSelected(r, false);
    bar.ImageCombo1.SetText(L"zz");
    bar.ImageCombo1_KeyPress(13);
    for (int r = 1; r <= tips().Count(); ++r) EXPECT_NE("zz", Ansi(tips().SubText(r, 4)));
}

TEST_F(EditorTest, CandidatePopupPreviewsByIndexAndChoiceWritesTheRow) {
    Start(Section(Data) + Tip(L"T", L"B", "x", '0') + Mirror(Data) +
          Line(L"T", Opts({L"A", L"B", L"删"}, {"B", "x", DM})));
    Click(1);
    Form1& bar = Forms::Form1();
    std::vector<std::wstring> previews;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) -> std::wstring {
        // The real menu as the program builds it; hover item by item.
        HMENU menu = CreatePopupMenu();
        for (size_t n = 0; n < m.Items.size(); ++n)
            if (m.Items[n].visible) AppendMenuW(menu, MF_STRING, n + 1, m.Items[n].text.c_str());
        for (UINT id : {2u, 3u, 4u}) {
            SendMessageW(main().hwnd(), WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE), reinterpret_cast<LPARAM>(menu));
            previews.push_back(Form3::DeleteChoiceSelected(bar.ImageCombo1) ? L"<delete>" : bar.ImageCombo1.Text());
        }
        DestroyMenu(menu);
        return L"3";
    });
    // A release in the 命令 column of the row.
    RECT cell{};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageW(tips().hwnd(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    const int x = (cell.left + 5) * Twips::PerPixelX(), y = (cell.top + 3) * Twips::PerPixelY();
    main().ListView1_MouseDown(1, 0, x, y);
    main().ListView1_MouseUp(1, 0, x, y);
    ASSERT_EQ(3u, previews.size());
    EXPECT_EQ("B", Ansi(previews[0]));  // row A holds data B: by index, not by text
    EXPECT_EQ("x", Ansi(previews[1]));
    EXPECT_EQ("<delete>", Ansi(previews[2]));
    EXPECT_FALSE(modMenu::ValueMenuOpen);
    // The third candidate was chosen: the delete choice.
    EXPECT_EQ(Ansi(L"删"), Ansi(tips().SubText(1, 1)));
    EXPECT_EQ(TipRow::IconDelete, tips().SubIcon(1, 4));
    EXPECT_TRUE(Form3::DeleteChoiceSelected(bar.ImageCombo1));
    EXPECT_TRUE(props().ListView1.Selected(3));
    // Outside the popup the hover changes nothing.
    bar.ImageCombo1.SetText(L"keep");
    HMENU other = CreatePopupMenu();
    AppendMenuW(other, MF_STRING, 2, L"A");
    SendMessageW(main().hwnd(), WM_MENUSELECT, MAKEWPARAM(2, MF_HILITE), reinterpret_cast<LPARAM>(other));
    DestroyMenu(other);
    EXPECT_EQ("keep", Ansi(bar.ImageCombo1.Text()));
}

TEST_F(EditorTest, OptionEditorRules) {
    Start(Section(Data) + Tip(L"T", L"on", "1", '2') + Mirror(Data) + Line(L"T", Opts({L"on"}, {"1"})));
    Click(1);
    Form3& p = props();
    struct Case {
        const wchar_t* label;
        const wchar_t* data;
        const wchar_t* message;
    };
    const Case refused[] = {
        {L"", L"5", L"命令不能为空"},
        {L"ON", L"5", L"该命令已经存在，请重新输入。"},
        {L"x", L"1", L"该键值已经存在，请重新输入。"},
        {L"a亪b", L"7", nullptr},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(Ansi(c.label));
        p.Text3.SetText(c.label);
        p.ImageCombo1.SetText(c.data);
        ExpectBox(IDOK, c.message ? c.message : L"");
        p.Command1_Click();
        EXPECT_EQ(1u, boxes.size());
        EXPECT_EQ(1, p.ListView1.Count());
        boxes.clear();
    }
    // DWORD with an empty data box: "0".
    p.Text3.SetText(L"off");
    p.ImageCombo1.SetText(L"");
    p.Command1_Click();
    ASSERT_EQ(2, p.ListView1.Count());
    EXPECT_EQ("0", Ansi(p.ListView1.SubTag(2, 0)));
    EXPECT_TRUE(p.ListView1.Selected(2));
    EXPECT_FALSE(p.Combo1.Enabled());
    // Moves through form3menu at the ends.
    std::vector<bool> upDown;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) -> std::wstring {
        upDown = {m.Item(L"form3sy")->enabled, m.Item(L"form3xy")->enabled};
        return L"form3sy";
    });
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageW(p.ListView1.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    p.ListView1_MouseUp(2, {r.left + 3, r.top + 3});
    EXPECT_EQ((std::vector<bool>{true, false}), upDown);
    EXPECT_EQ("off", Ansi(p.ListView1.Text(1)));
    EXPECT_TRUE(p.ListView1.Selected(1));
    // Deleting down to the last row unlocks the type.
    main().form3del_Click();
    main().form3del_Click();
    EXPECT_EQ(0, p.ListView1.Count());
    EXPECT_TRUE(p.Combo1.Enabled());
    EXPECT_FALSE(p.Toolbar2.Enabled(L"edit"));
    // After the clear-all the type message comes first.
    p.ClearEditor();
    ExpectBox(IDOK, L"请选择键值类型。");
    p.Command1_Click();
}

TEST_F(EditorTest, F2TwiceKeepsTheGeometryAndTheKeysFollowTheTabs) {
    Start(Section(Data) + Tip(L"T", L"a", "1", '2') + Mirror(Data) + Line(L"T", Opts({L"a"}, {"1"})));
    Form2& f = main();
    EXPECT_TRUE(f.PropertyWindowOn());
    Click(1);
    // Linking off: the window stays where it is put.
    f.ToggleLink();
    props().MoveTwips(6000, 1200, 2700, 5100);
    const long long w = props().Width(), h = props().Height(), l = props().Left(), t = props().Top();
    f.ListView1_KeyDown(VK_F2, 0);
    EXPECT_EQ(nullptr, Forms::Form3IfLoaded());
    EXPECT_EQ(Ansi(Form2::kJqsxOff), Ansi(f.Toolbar1.ButtonMenus(ToolbarKey::viewok).Item(L"jqsx")->text));
    EXPECT_EQ("0", Ansi(Ini::Read(Config::Path(), Config::DataSection, L"Form2Visible")));
    f.Toolbar1_ButtonMenuClick(ToolbarKey::viewok, L"jqsx");
    ASSERT_NE(nullptr, Forms::Form3IfLoaded());
    EXPECT_EQ(Ansi(Form2::kJqsxOn), Ansi(f.Toolbar1.ButtonMenus(ToolbarKey::viewok).Item(L"jqsx")->text));
    EXPECT_NEAR(static_cast<double>(w), static_cast<double>(props().Width()), 16);
    EXPECT_NEAR(static_cast<double>(h), static_cast<double>(props().Height()), 16);
    EXPECT_NEAR(static_cast<double>(l), static_cast<double>(props().Left()), 16);
    EXPECT_NEAR(static_cast<double>(t), static_cast<double>(props().Top()), 16);
    EXPECT_EQ("T", Ansi(props().Text1.Text()));  // refilled from the row
    // Keys: Ctrl+S on 查看 and Ctrl+Shift+S do nothing; Ctrl+S with xiugai disabled does nothing.
    Form3& p = props();
    p.Text5.SetText(L"改了");
    const std::string bytes = ReadBytes(CategoryFile());
    p.SelectTab(3);
    EXPECT_FALSE(p.Form_KeyDown('S', 2));
    EXPECT_FALSE(p.Toolbar1.Visible());
    p.SelectTab(1);
    EXPECT_FALSE(p.Form_KeyDown('S', 3));
    p.Toolbar1.SetEnabled(L"xiugai", false);
    p.Form_KeyDown('S', 2);
    EXPECT_EQ(bytes, ReadBytes(CategoryFile()));
    p.Toolbar1.SetEnabled(L"xiugai", true);
    p.Form_KeyDown('S', 2);
    EXPECT_NE(bytes, ReadBytes(CategoryFile()));
    // next clears the editor but keeps the danger choice.
    p.ImageCombo2.SetListIndex(1);
    p.SelectTab(2);
    p.Toolbar1_ButtonClick(L"next");
    EXPECT_EQ("", Ansi(p.Text1.Text()));
    EXPECT_EQ(-1, p.Combo1.ListIndex());
    EXPECT_TRUE(p.Combo1.Enabled());
    EXPECT_EQ(0, p.ListView1.Count());
    EXPECT_EQ(1, p.ImageCombo2.ListIndex());
    EXPECT_EQ(1, p.TabStrip1.SelectedIndex());
}

TEST_F(EditorTest, LayoutAtTheMinimumSize) {
    Start(Section(Data) + Tip(L"T", L"a", "1", '2'));
    Form3& p = props();
    p.MoveTwips(p.Left(), p.Top(), 1800, 3300);
    p.Form_Resize();
    EXPECT_EQ(1130, p.layout.text1Width);
    EXPECT_EQ(845, p.layout.imageCombo1Width);
    EXPECT_EQ(260, p.layout.text5Height);
    EXPECT_EQ(935, p.layout.listView1Height);
    EXPECT_EQ(2610, p.layout.listView2Height);
    RECT b = p.Text1.Bounds();
    EXPECT_EQ(Twips::ToPixelsX(1130), b.right - b.left);
}
