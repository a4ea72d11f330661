// The keyboard in the program's own windows, with real key presses: Tab and
// Shift+Tab between the controls of the properties window, the category
// window and the value bar; the focus back where it was after a message box,
// a page, and when a window is activated from outside; Alt+F4 on the
// properties window and the value bar; the option list by the arrow keys.
#include "dialogs/Form4.h"
#include "editor/EditorFixture.h"
#include "platform/DialogKeys.h"
#include "platform/Modal.h"
#include "support/DialogDriver.h"
#include "support/RealInput.h"

using namespace Bytes;

namespace {
const wchar_t* const kKey = L"HKEY_CURRENT_USER\\Software\\QuorixTest";

// Lets the program's loop handle what real input has queued.
void Pump(int ms = 150) {
    for (DWORD end = GetTickCount() + ms; static_cast<LONG>(end - GetTickCount()) > 0;) {
        Ui::DoEvents();
        Sleep(5);
    }
}
void Press(WORD vk, std::initializer_list<WORD> held = {}) {
    RealInput::Key(vk, held);
    Pump();
}
// The window brought to the front as a click on it from another program does.
void Activate(HWND h) {
    SetForegroundWindow(h);
    Pump(80);
}
}  // namespace

class KeysTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        App::SetCommandForTests(L"");
    }
    void TearDown() override {
        Modal::SetHookForTests(nullptr);
        EditorTest::TearDown();
    }
    // The program on one string tip with two options, that tip shown.
    void Begin() {
        Start(Section(Data) + Line(L"开关", Rec(kKey, L"v", L"开", "1", '2', L"说明", '1')) + Mirror(Data) +
              Line(L"开关", Opts({L"开", L"关"}, {"1", "0"})));
        ASSERT_EQ(1, tips().Count());
        Click(1);
    }
    // The control of `window` that holds the focus (the window itself when it holds it).
    static HWND Focused(HWND window) {
        const HWND f = GetFocus();
        return f == window ? window : Ui::ChildOf(window, f);
    }
};

// Tab and Shift+Tab walk the 常规 tab's boxes top down and the 键值 tab's
// controls; in the multi-line 键位 and 说明 boxes Tab moves on and types
// nothing, so a save right after it writes no TAB into the file.
TEST_F(KeysTest, TabWalksThePropertiesWindowAndTypesNoTab) {
    Begin();
    Form3& p = props();
    Activate(p.hwnd());
    p.Text1.SetFocus();
    const std::wstring keyPath = p.Text4.Text(), desc = p.Text5.Text();
    for (const Control* next : std::initializer_list<const Control*>{&p.Text4, &p.Text2, &p.ImageCombo2, &p.Text5,
                                                                      &p.TabStrip1, &p.Text1}) {
        Press(VK_TAB);
        EXPECT_EQ(next->hwnd(), Focused(p.hwnd()));
    }
    for (const Control* back : std::initializer_list<const Control*>{&p.TabStrip1, &p.Text5, &p.ImageCombo2}) {
        Press(VK_TAB, {VK_SHIFT});
        EXPECT_EQ(back->hwnd(), Focused(p.hwnd()));
    }
    EXPECT_EQ(keyPath, p.Text4.Text());
    EXPECT_EQ(desc, p.Text5.Text());
    // Tab in 键位 with the caret after the root, then Ctrl+S.
    p.Text4.SetFocus();
    SendMessageW(p.Text4.hwnd(), EM_SETSEL, 17, 17);
    Press(VK_TAB);
    EXPECT_EQ(p.Text2.hwnd(), Focused(p.hwnd()));
    EXPECT_EQ(keyPath, p.Text4.Text());
    Press('S', {VK_CONTROL});
    const std::string saved = ReadBytes(CategoryFile());
    EXPECT_NE(std::string::npos, saved.find(A(kKey)));
    EXPECT_EQ(std::string::npos, saved.find('\t'));

    ASSERT_TRUE(p.SelectTab(2));
    p.Text3.SetFocus();
    std::vector<const Control*> values{&p.ImageCombo1, &p.Command3, &p.ListView1, &p.TabStrip1};
    if (p.Combo1.Enabled()) values.push_back(&p.Combo1);
    values.push_back(&p.Text3);
    for (const Control* next : values) {
        Press(VK_TAB);
        EXPECT_EQ(next->hwnd(), Focused(p.hwnd()));
    }
}

// Every change of the option list's selection shows the option in 命令 and
// 键值: the arrow keys too, so Alt+E then edits the row the boxes show.
TEST_F(KeysTest, ArrowKeysInTheOptionListShowTheOption) {
    Begin();
    Form3& p = props();
    Activate(p.hwnd());
    ASSERT_TRUE(p.SelectTab(2));
    ASSERT_EQ(2, p.ListView1.Count());
    p.ListView1.SetFocus();
    p.ListView1.SetSelected(2, false);
    p.ListView1.SetSelected(1, true);
    p.ListView1.SetSelectedItem(1);
    EXPECT_EQ(L"开", p.Text3.Text());
    Press(VK_DOWN);
    EXPECT_TRUE(p.ListView1.Selected(2));
    EXPECT_EQ(L"关", p.Text3.Text());
    EXPECT_EQ(L"0", p.ImageCombo1.Text());
    // Alt+E edits row 2 with what the boxes hold: no "already there" refusal.
    p.ImageCombo1.SetText(L"7");
    Press('E', {VK_MENU});
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(L"7", p.ListView1.SubText(2, 1));
    p.ListView1.SetFocus();
    Press(VK_UP);
    EXPECT_EQ(L"开", p.Text3.Text());
    EXPECT_EQ(L"1", p.ImageCombo1.Text());
}

// Alt+F4 on the properties window does what F2 does (switch off, size saved,
// the next F2 shows it); on the value bar it does nothing.
TEST_F(KeysTest, AltF4TurnsThePropertiesWindowOffAndLeavesTheValueBar) {
    Begin();
    ASSERT_TRUE(main().PropertyWindowOn());
    Activate(props().hwnd());
    props().Text1.SetFocus();
    Press(VK_F4, {VK_MENU});
    EXPECT_FALSE(main().PropertyWindowOn());
    EXPECT_EQ(nullptr, Forms::IfLoaded<Form3>());
    EXPECT_EQ(L"0", Ini::Read(Config::Path(), Config::DataSection, L"Form2Visible"));
    Activate(main().hwnd());
    main().ListView1.SetFocus();
    Press(VK_F2);
    EXPECT_TRUE(main().PropertyWindowOn());
    ASSERT_NE(nullptr, Forms::IfLoaded<Form3>());
    EXPECT_TRUE(props().Visible());

    Form1& bar = Forms::Form1();
    ASSERT_TRUE(bar.Visible());
    Activate(bar.hwnd());
    bar.ImageCombo1.SetFocus();
    Press(VK_F4, {VK_MENU});
    EXPECT_TRUE(bar.Exists());
    EXPECT_TRUE(bar.Visible());
}

// Tab and Shift+Tab in the category window (tree, toolbar, file list) and in
// the value bar (value box, "+"); each window, activated from outside, gives
// the keyboard back to the control that had it, and a key acts there.
TEST_F(KeysTest, TabInTheSatellitesAndTheFocusBackOnActivation) {
    Begin();
    ::frmShadow& s = Forms::frmShadow();
    if (!s.TreeView2.Visible()) s.TreeView2.SetVisible(true);
    Activate(s.hwnd());
    s.TreeView1.SetFocus();
    for (const Control* next : std::initializer_list<const Control*>{&s.Toolbar1, &s.TreeView2, &s.TreeView1}) {
        Press(VK_TAB);
        EXPECT_EQ(next->hwnd(), Focused(s.hwnd()));
    }
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(s.TreeView2.hwnd(), Focused(s.hwnd()));

    Form1& bar = Forms::Form1();
    Activate(bar.hwnd());
    bar.ImageCombo1.SetFocus();
    Press(VK_TAB);
    EXPECT_EQ(bar.Command1.hwnd(), Focused(bar.hwnd()));
    Press(VK_TAB);
    EXPECT_EQ(bar.ImageCombo1.hwnd(), Focused(bar.hwnd()));
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(bar.Command1.hwnd(), Focused(bar.hwnd()));

    // Each window activated again from outside (after the main window).
    Form3& p = props();
    Activate(p.hwnd());
    p.Text2.SetFocus();
    const std::pair<HWND, HWND> kept[] = {
        {s.hwnd(), s.TreeView2.hwnd()}, {bar.hwnd(), bar.Command1.hwnd()}, {p.hwnd(), p.Text2.hwnd()}};
    for (const auto& [window, control] : kept) {
        Activate(main().hwnd());
        ASSERT_EQ(main().hwnd(), GetActiveWindow());
        Activate(window);
        EXPECT_EQ(control, GetFocus());
    }
    // A key acts there: Tab from 键名 to 危险.
    Press(VK_TAB);
    EXPECT_EQ(p.ImageCombo2.hwnd(), Focused(p.hwnd()));
    Activate(s.hwnd());
    Press(VK_TAB);
    EXPECT_EQ(s.TreeView1.hwnd(), Focused(s.hwnd()));
}

// After a real message box of the category window (a refused rename) the
// tree has the keyboard again: Down moves its selection.
TEST_F(KeysTest, TheTreeKeepsTheKeyboardAfterARefusedRename) {
    Begin();
    ::frmShadow& s = Forms::frmShadow();
    TreeView& tree = s.TreeView1;
    ASSERT_GE(tree.Count(), 2);
    const int node = 1;
    tree.SetExpanded(node, true);
    tree.Select(node);
    Activate(s.hwnd());
    tree.SetFocus();
    App::SetMsgBoxResponder(nullptr);
    std::wstring said;
    bool othersHeld = false;
    DialogDriver drive({[&](HWND box) {
        if (!box) return false;
        said = DialogDriver::BoxText(box);
        othersHeld = !IsWindowEnabled(s.hwnd()) && !IsWindowEnabled(main().hwnd()) && !IsWindowEnabled(props().hwnd());
        DialogDriver::Click(box, IDOK);
        return true;
    }});
    ASSERT_TRUE(tree.StartLabelEdit(node));
    HWND edit = reinterpret_cast<HWND>(SendMessageW(tree.hwnd(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(nullptr, edit);
    SetWindowTextW(edit, std::wstring(300, L'长').c_str());
    Press(VK_RETURN);
    for (int i = 0; i < 100 && !drive.Finished(); ++i) Pump(20);
    ASSERT_TRUE(drive.Finished());
    Pump();
    EXPECT_NE(std::wstring::npos, said.find(L"太长")) << Ansi(said);
    EXPECT_TRUE(othersHeld);
    EXPECT_EQ(tree.hwnd(), GetFocus());
    const int before = tree.SelectedItem();
    Press(VK_DOWN);
    EXPECT_NE(before, tree.SelectedItem());
}

// After the value editor page opened from the live list the live list has
// the keyboard again: Del there deletes no tip of the category.
TEST_F(KeysTest, TheLiveListKeepsTheKeyboardAfterTheValueEditorPage) {
    TestReg::CreateKey(kTestSubkeyAnsi);
    Begin();
    Form3& p = props();
    ASSERT_TRUE(p.SelectTab(3));
    main().Showvaluesx();
    Activate(p.hwnd());
    p.ListView2.SetFocus();
    bool up = false;
    Modal::SetHookForTests([&](HWND) {
        up = true;
        ::Form4& f = Forms::Form4();
        f.Text12.SetText(L"新值");
        f.Text13.SetText(L"数据");
        f.Command13.PerformClick();
    });
    main().regzfc_Click();
    Modal::SetHookForTests(nullptr);
    ASSERT_TRUE(up);
    Pump();
    EXPECT_EQ(p.hwnd(), GetActiveWindow());
    EXPECT_EQ(p.ListView2.hwnd(), GetFocus());
    Press(VK_DELETE);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(1, tips().Count());
}
