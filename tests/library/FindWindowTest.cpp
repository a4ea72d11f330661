// The find window: its opening from the three routes, the matching, the walk
// over a category's sections, the current-list scope, and its end.
#include "common/Ini.h"
#include "dialogs/PagesFixture.h"
#include "fixtures/LibraryFixture.h"
#include "library/Form5.h"
#include "support/DialogDriver.h"
#include "support/RealInput.h"

#include <algorithm>
#include <functional>

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";
const wchar_t kNothing[] = L"已经搜索完指定区域，但未发现要搜索的技巧。";

void Settle() {
    for (int i = 0; i < 15; ++i) {
        Ui::DoEvents();
        Sleep(20);
    }
}
}  // namespace

class FindWindowTest : public LibraryTest {
protected:
    static std::string Tips(const std::vector<std::string>& names) {
        std::string s;
        for (const auto& n : names) s += Record(n, KP, "v", "l", "1", '2', "d", '1');
        return s;
    }
    void SetUp() override {
        LibraryTest::SetUp();
        // The program's own opening, not the fixture's recorder.
        Library::Hooks().OpenFind = [](const std::vector<std::pair<std::wstring, int>>& rows) {
            Forms::Form5().Open(rows);
        };
        WriteCategory(L"cat.qix", Section(Data) + Tips({"Alpha one", "beta"}) + Section("S1") + Tips({"gamma"}) +
                                      Section("S2") + Tips({"delta ALPHA", "eps"}) + Section(Favourites) +
                                      Tips({"zeta"}));
        WriteCategory(L"other.qix", Section(Data) + Tips({"x"}));
        App::SetCommandForTests(L"");  // no files named on the command line
        Forms::UnloadFrmShadow();       // loaded afresh over these files
    }
    void TearDown() override {
        Forms::UnloadForm5();
        LibraryTest::TearDown();
    }
    ::Form5& find() { return Forms::Form5(); }
    // The find window opened on category "cat" by the toolbar, in front, with the keyboard.
    ::Form5& FindInFront() {
        shadow().TreeView1.Select(Node(L"cat"));
        main().Show();
        main().Toolbar1.Click(L"find");
        ::Form5& f = find();
        EXPECT_TRUE(IsWindowVisible(f.hwnd()));
        SetForegroundWindow(f.hwnd());
        Settle();
        return f;
    }
    std::vector<std::pair<std::wstring, std::wstring>> ScopeRows() {
        std::vector<std::pair<std::wstring, std::wstring>> r;
        for (int i = 1; i <= find().ListView1.Count(); ++i)
            r.emplace_back(find().ListView1.Text(i), shadow().TreeView1.FullPath(find().ScopeNode(i)));
        return r;
    }
    std::vector<std::wstring> BoldRows() {
        std::vector<std::wstring> b;
        for (int r = 1; r <= list().Count(); ++r)
            if (list().SubBold(r, 0)) b.push_back(list().Text(r));
        return b;
    }
    void Search(const std::wstring& text, bool wholeCategory = true) {
        find().Text12.SetText(text);
        (wholeCategory ? find().Option1 : find().Option2).SetValue(true);
        find().Command13.PerformClick();
    }
    int Node(const std::wstring& path) {
        for (int n = 1; n <= shadow().TreeView1.Count(); ++n)
            if (shadow().TreeView1.FullPath(n) == path) return n;
        return 0;
    }
};

TEST_F(FindWindowTest, ThreeRoutesGiveTheSameScopeRows) {
    ::frmShadow& s = shadow();
    const std::vector<std::pair<std::wstring, std::wstring>> expected{
        {L"数据", L"cat"}, {L"S1", L"cat\\S1"}, {L"S2", L"cat\\S2"}, {L"收藏夹", L"cat\\收藏夹"}};
    const std::function<void()> routes[] = {
        [&] { main().Toolbar1.Click(L"find"); },
        [&] { main().ListView1_KeyDown('F', 2); },
        [&] { s.Form_KeyDown('F', 2); },
    };
    for (const wchar_t* selected : {L"cat", L"cat\\S2", L"cat\\收藏夹"}) {
        for (size_t route = 0; route < 3; ++route) {
            SCOPED_TRACE(Ansi(selected) + " route " + std::to_string(route));
            Forms::UnloadForm5();
            s.TreeView1.Select(Node(selected));
            routes[route]();
            ASSERT_NE(nullptr, Forms::Form5IfLoaded());
            EXPECT_EQ(expected, ScopeRows());
            EXPECT_EQ(1, find().ListView1.SelectedItem());
            EXPECT_TRUE(find().Visible());
            EXPECT_EQ(L"查找技巧", find().Caption());
            EXPECT_EQ(main().hwnd(), GetWindow(find().hwnd(), GW_OWNER));
            EXPECT_EQ(Form5::kFind, find().Command13.Caption());
            EXPECT_FALSE(find().Command13.Enabled());
            EXPECT_TRUE(find().Option1.Value());
        }
    }
    // The window comes out on the screen whole: its container never paints over its controls.
    ::Form5& f = find();
    EXPECT_EQ(std::vector<std::string>{},
              PaintedOver(f.hwnd(), {{"Label27", &f.Label27}, {"Text12", &f.Text12}, {"Frame5", &f.Frame5},
                                     {"Option1", &f.Option1}, {"Command13", &f.Command13}, {"Command14", &f.Command14}}));
    // Reopening empties the list and the walk first.
    Search(L"gamma");
    EXPECT_EQ(Form5::kFindNext, find().Command13.Caption());
    s.TreeView1.Select(Node(L"other"));
    s.Form_KeyDown('F', 2);
    EXPECT_EQ((std::vector<std::pair<std::wstring, std::wstring>>{{L"数据", L"other"}, {L"收藏夹", L"other\\收藏夹"}}),
              ScopeRows());
    EXPECT_EQ(Form5::kFind, find().Command13.Caption());
    EXPECT_EQ(L"gamma", find().Text12.Text());
}

TEST_F(FindWindowTest, NothingOpensWithoutARoute) {
    ::frmShadow& s = shadow();
    struct Case {
        const char* name;
        std::function<void()> act;
    } cases[] = {
        {"Ctrl+Shift+F in the tip list", [&] { main().ListView1_KeyDown('F', 3); }},
        {"Ctrl+Alt+F in the category window", [&] { s.Form_KeyDown('F', 6); }},
        {"F alone", [&] { main().ListView1_KeyDown('F', 0); }},
        {"data-file mode", [&] {
             main().Toolbar1.SetEnabled(L"find", false);
             main().ListView1_KeyDown('F', 2);
             s.Form_KeyDown('F', 2);
             main().Toolbar1.SetEnabled(L"find", true);
         }},
        {"no selected node", [&] {
             TreeView_SelectItem(s.TreeView1.hwnd(), nullptr);
             main().Toolbar1.Click(L"find");
             main().ListView1_KeyDown('F', 2);
         }},
    };
    for (const auto& c : cases) {
        c.act();
        EXPECT_EQ(nullptr, Forms::Form5IfLoaded()) << c.name;
    }
}

TEST_F(FindWindowTest, MatchingIsContainmentWithoutLatinCase) {
    const std::string names = Tips({"Alpha Beta", "alpha  beta", Ansi(L"中文技巧名"), Ansi(L"其它"), "xALPHAx"});
    WriteCategory(L"cat.qix", Section(Data) + names);
    ::frmShadow& s = shadow();
    s.TreeView1.Select(1);
    main().Toolbar1.Click(L"find");
    struct Case {
        std::wstring text;
        std::vector<std::wstring> bold;
    } cases[] = {
        {L"alpha", {L"Alpha Beta", L"alpha  beta", L"xALPHAx"}},
        {L"ALPHA B", {L"Alpha Beta"}},            // the inner blank counts
        {L"  alpha  beta ", {L"alpha  beta"}},    // outer blanks ignored
        {L"技巧", {L"中文技巧名"}},
    };
    for (const auto& c : cases) {
        s.Shownode(s.TreeView1.NodeTag(1), L"数据");  // fresh rows, no marks
        Search(c.text, false);
        std::vector<std::wstring> want = c.bold;
        std::sort(want.begin(), want.end());
        auto got = BoldRows();
        std::sort(got.begin(), got.end());
        EXPECT_EQ(want, got) << Ansi(c.text);
    }
    // Blanks only keep 查找 disabled.
    find().Text12.SetText(L"   ");
    EXPECT_FALSE(find().Command13.Enabled());
}

TEST_F(FindWindowTest, WalkOverTheSections) {
    ::frmShadow& s = shadow();
    s.TreeView1.Select(Node(L"cat\\S1"));
    main().Toolbar1.Click(L"find");
    main().SetCaption(L"caption");
    // A match in the own section: shown there, in bold.
    Search(L"alpha");
    EXPECT_EQ(L"cat", shadow().TreeView1.FullPath(s.TreeView1.SelectedItem()));
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha one"}), BoldRows());
    EXPECT_EQ(Form5::kFindNext, find().Command13.Caption());
    EXPECT_EQ(L"cat", Library::CurrentCategoryPath);
    // The next press goes on with S1 (no match), then S2 in the same press.
    find().Command13.PerformClick();
    EXPECT_EQ(L"cat\\S2", s.TreeView1.FullPath(s.TreeView1.SelectedItem()));
    EXPECT_EQ((std::vector<std::wstring>{L"delta ALPHA"}), BoldRows());
    EXPECT_EQ(3, find().ListView1.SelectedItem());
    EXPECT_EQ(L"caption", main().Caption());  // the search leaves the caption
    // Nothing further: the message, the caption back, the list as it was.
    ExpectBox(IDOK, kNothing);
    find().Command13.PerformClick();
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.back().style & MB_ICONMASK);
    EXPECT_EQ(Form5::kFind, find().Command13.Caption());
    EXPECT_EQ((std::vector<std::wstring>{L"delta ALPHA"}), BoldRows());
    // A section shown by the search: no automatic ticks.
    WriteConfig(L"Data", L"AutoCheck", L"1");
    Search(L"zeta");
    EXPECT_EQ(L"cat\\收藏夹", s.TreeView1.FullPath(s.TreeView1.SelectedItem()));
    EXPECT_FALSE(list().Checked(1));
}

TEST_F(FindWindowTest, CurrentListScopeAddsMarks) {
    ::frmShadow& s = shadow();
    s.TreeView1.Select(1);
    main().Toolbar1.Click(L"find");
    Search(L"alpha", false);
    Search(L"beta", false);
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha one", L"beta"}), BoldRows());  // marks accumulate
    EXPECT_EQ(Form5::kFind, find().Command13.Caption());                        // the walk untouched
    ExpectBox(IDOK, kNothing);
    Search(L"nothing such", false);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.back().style & MB_ICONMASK);
}

TEST_F(FindWindowTest, WholeCategoryFromADataFileSwitchesToCategoryMode) {
    const std::wstring upd = Path(L"f.upd");
    WriteBytes(upd, Section(Data) + Tips({"alpha in file"}));
    ::frmShadow& s = shadow();
    s.TreeView1.Select(1);
    main().Toolbar1.Click(L"find");
    int e = s.AddOrSelectEntry(upd);
    s.TreeView2_NodeClick(e);
    ASSERT_FALSE(main().CategoryMode());
    Search(L"alpha");
    EXPECT_TRUE(main().CategoryMode());
    EXPECT_EQ(L"", Library::CurrentDataFilePath);
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha one"}), BoldRows());
    EXPECT_TRUE(main().Toolbar1.Enabled(L"find"));
}

TEST_F(FindWindowTest, WholeKeyListOfALargeSectionAndRemovedNodes) {
    std::string big = Section("Big");
    for (int i = 0; i < 3000; ++i) big += Record("tip number " + std::to_string(i), KP, "v", "l", "1", '2', "d", '1');
    big += Record("needle", KP, "v", "l", "1", '2', "d", '1');
    WriteCategory(L"cat.qix", Section(Data) + Tips({"a"}) + Section("Aone") + Tips({"needle too"}) + big +
                                  Section(Favourites));
    ::frmShadow& s = shadow();
    s.TreeView1.Select(1);
    main().Toolbar1.Click(L"find");
    // The node of a row goes while the window is open: its row is skipped.
    s.TreeView1.Remove(Node(L"cat\\Aone"));
    Search(L"needle");
    EXPECT_EQ(L"cat\\Big", s.TreeView1.FullPath(s.TreeView1.SelectedItem()));
    EXPECT_EQ((std::vector<std::wstring>{L"needle"}), BoldRows());
    EXPECT_EQ(3001, list().Count());
}

TEST_F(FindWindowTest, ClosingTheMainWindowClosesIt) {
    shadow().TreeView1.Select(1);
    main().Toolbar1.Click(L"find");
    ASSERT_NE(nullptr, Forms::Form5IfLoaded());
    find().Command14.PerformClick();
    EXPECT_EQ(nullptr, Forms::Form5IfLoaded());
    main().Toolbar1.Click(L"find");
    main().Unload();
    EXPECT_EQ(nullptr, Forms::Form5IfLoaded());
    Forms::Form2();  // the main window again for the tests after this one
}

// The find window keeps the keyboard: after its end-of-search message (a real
// box, closed by Enter) and after a click on its caption, the control that had
// the focus has it again, so typing, Enter and Esc work; its access keys work
// when pressed as keys (Alt and the letter, and the letter alone outside the
// search box).
TEST_F(FindWindowTest, KeepsTheKeyboardAndItsAccessKeysWork) {
    ::frmShadow& s = shadow();
    ::Form5& f = FindInFront();
    ASSERT_TRUE(IsWindowVisible(f.hwnd()));
    ASSERT_EQ(f.Text12.hwnd(), GetFocus());

    // Typed and searched by keys: Alt+Y (current list), then Enter.
    for (WORD k : {'Z', 'Z', 'Z'}) RealInput::Key(k);
    Settle();
    EXPECT_EQ(L"zzz", f.Text12.Text());
    RealInput::Key('Y', {VK_MENU});
    Settle();
    EXPECT_TRUE(f.Option2.Value());
    EXPECT_EQ(f.Option2.hwnd(), GetFocus());
    // The message box is the system's; Enter closes it.
    App::SetMsgBoxResponder([this](const App::MsgBoxCall& call) {
        boxes.push_back(call);
        return MessageBoxW(GetActiveWindow(), call.text.c_str(), call.title.c_str(), call.style | MB_TASKMODAL);
    });
    std::wstring boxText;
    {
        DialogDriver driver({[&](HWND box) {
            if (!box) return false;
            boxText = DialogDriver::BoxText(box);
            RealInput::Key(VK_RETURN);
            return true;
        }});
        RealInput::Key('F', {VK_MENU});  // 查找(&F)
        for (int i = 0; i < 100 && !driver.Finished(); ++i) Settle();
        EXPECT_TRUE(driver.Finished());
    }
    Settle();
    EXPECT_EQ(kNothing, boxText);
    EXPECT_EQ(f.Option2.hwnd(), GetFocus()) << "the focus is back where it was";

    // Alt+A: the whole category; the letter F alone (focus on an option) searches.
    RealInput::Key('A', {VK_MENU});
    Settle();
    EXPECT_TRUE(f.Option1.Value());
    f.Text12.SetText(L"alpha");
    RealInput::Key('F');
    Settle();
    EXPECT_EQ(Form5::kFindNext, f.Command13.Caption());
    EXPECT_EQ((std::vector<std::wstring>{L"Alpha one"}), BoldRows());
    RealInput::Key('N', {VK_MENU});  // 查找下一个(&N): on to S2
    Settle();
    EXPECT_EQ(L"cat\\S2", s.TreeView1.FullPath(s.TreeView1.SelectedItem()));

    // Another window active, then a click on the find window's caption.
    f.Text12.SetFocus();
    SetForegroundWindow(main().hwnd());
    Settle();
    ASSERT_NE(f.hwnd(), GetActiveWindow());
    RECT r;
    GetWindowRect(f.hwnd(), &r);
    SetCursorPos(r.left + 20, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    Settle();
    EXPECT_EQ(f.hwnd(), GetActiveWindow());
    EXPECT_EQ(f.Text12.hwnd(), GetFocus());
    RealInput::Key('Q');
    Settle();
    EXPECT_EQ(L"q", f.Text12.Text());
    RealInput::Key(VK_ESCAPE);
    Settle();
    EXPECT_EQ(nullptr, Forms::Form5IfLoaded() ? Forms::Form5IfLoaded()->hwnd() : nullptr);
}

// The two scope buttons are one group: the arrow keys move between them and
// choose the one they reach; Tab leaves the group.
TEST_F(FindWindowTest, ArrowKeysMoveBetweenTheScopeButtons) {
    ::Form5& f = FindInFront();
    ASSERT_TRUE(IsWindowVisible(f.hwnd()));
    f.Option1.SetFocus();
    ASSERT_TRUE(f.Option1.Value());
    const std::pair<WORD, const OptionButton*> steps[] = {
        {VK_DOWN, &f.Option2}, {VK_DOWN, &f.Option1}, {VK_RIGHT, &f.Option2}, {VK_UP, &f.Option1}, {VK_LEFT, &f.Option2}};
    for (const auto& [key, reached] : steps) {
        RealInput::Key(key);
        Settle();
        EXPECT_EQ(reached->hwnd(), GetFocus());
        EXPECT_TRUE(reached->Value());
        EXPECT_FALSE((reached == &f.Option1 ? f.Option2 : f.Option1).Value());
    }
    RealInput::Key(VK_TAB);
    Settle();
    EXPECT_EQ(f.Command13.Enabled() ? f.Command13.hwnd() : f.Command14.hwnd(), GetFocus());
    RealInput::Key(VK_ESCAPE);
    Settle();
}
