#include "MainWindowFixture.h"

#include "platform/Resize.h"
#include "platform/Twips.h"

namespace {
// The docking rule: category window left of the main window, properties window
// right of it, both as tall as the main window and the value bar; value bar below.
void ExpectDocked(HWND main, bool propertiesDocked) {
    RECT m, s, p, b;
    GetWindowRect(main, &m);
    GetWindowRect(Forms::frmShadow().hwnd(), &s);
    GetWindowRect(Forms::Form3().hwnd(), &p);
    GetWindowRect(Forms::Form1().hwnd(), &b);
    const int barHeight = b.bottom - b.top;
    EXPECT_GT(barHeight, 0);
    EXPECT_EQ(b.left, m.left);
    EXPECT_EQ(b.top, m.bottom);
    EXPECT_EQ(b.right, m.right);
    EXPECT_EQ(s.right, m.left);
    EXPECT_EQ(s.top, m.top);
    EXPECT_EQ(s.bottom - s.top, m.bottom - m.top + barHeight);
    EXPECT_TRUE(IsWindowVisible(Forms::frmShadow().hwnd()));
    EXPECT_TRUE(IsWindowVisible(Forms::Form1().hwnd()));
    if (propertiesDocked) {
        EXPECT_EQ(p.left, m.right);
        EXPECT_EQ(p.top, m.top);
        EXPECT_EQ(p.bottom - p.top, m.bottom - m.top + barHeight);
        EXPECT_TRUE(IsWindowVisible(Forms::Form3().hwnd()));
    }
}
// Nothing shown stands above the main window but its own satellites.
void ExpectAtFront(HWND main) {
    int above = 0;
    for (HWND h = GetWindow(main, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV)) {
        if (!IsWindowVisible(h) || (GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST)) continue;
        EXPECT_EQ(GetWindow(h, GW_OWNER), main) << "a window of another owner above the main window";
        ++above;
    }
    EXPECT_EQ(3, above) << "the three satellites above the main window";
}
}  // namespace

TEST_F(MainWindowTest, LinkedSatellitesAreDockedAndRedockedAtTheEndOfAMove) {
    MakeRunBefore();
    Form2& f = Start();
    ASSERT_TRUE(f.WindowLink());
    ASSERT_TRUE(f.PropertyWindowOn());
    ExpectDocked(f.hwnd(), true);
    EXPECT_EQ(GetWindow(Forms::frmShadow().hwnd(), GW_OWNER), f.hwnd());
    EXPECT_EQ(GetWindow(Forms::Form1().hwnd(), GW_OWNER), f.hwnd());
    ExpectAtFront(f.hwnd());

    // A move by the user: the satellites follow when it ends.
    RECT before = Outer(Forms::frmShadow().hwnd());
    SetWindowPos(f.hwnd(), nullptr, 400, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Outer(Forms::frmShadow().hwnd()).left, before.left) << "nothing moves during the drag";
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    ExpectDocked(f.hwnd(), true);
    ExpectAtFront(f.hwnd());

    // Another program's window shown above it: docking brings the main window
    // and its satellites back over it.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 50, 50, 200, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(other);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(f.hwnd(), nullptr, 420, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    ExpectDocked(f.hwnd(), true);
    ExpectAtFront(f.hwnd());
    DestroyWindow(other);

    // Far beyond 16-bit twips (a screen on the right): still docked.
    SetWindowPos(f.hwnd(), nullptr, 3000, 2500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    ExpectDocked(f.hwnd(), true);
}

TEST_F(MainWindowTest, UnlinkedOnlyTheValueBarFollows) {
    MakeRunBefore();
    Set(L"FormLink", L"0");
    Set(L"Left_2", L"150");
    Set(L"Top_2", L"300");
    Form2& f = Start();
    RECT s = Outer(Forms::frmShadow().hwnd());
    EXPECT_EQ(s.left, Twips::ToPixelsX(150));
    EXPECT_TRUE(IsWindowVisible(Forms::frmShadow().hwnd()));
    SetWindowPos(f.hwnd(), nullptr, 500, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Outer(Forms::frmShadow().hwnd()).left, s.left);
    RECT m = Outer(f.hwnd()), b = Outer(Forms::Form1().hwnd());
    EXPECT_EQ(b.top, m.bottom);
    EXPECT_EQ(b.left, m.left);
}

TEST_F(MainWindowTest, SwitchedOffPropertiesWindowStaysHidden) {
    MakeRunBefore();
    Set(L"Form2Visible", L"0");
    Form2& f = Start();
    EXPECT_FALSE(IsWindowVisible(Forms::Form3().hwnd()));
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(Forms::Form3().hwnd()));
    ExpectDocked(f.hwnd(), false);
}

TEST_F(MainWindowTest, MinimisingHidesTheSatellitesAndRestoringBringsThemBack) {
    MakeRunBefore();
    Form2& f = Start();
    f.SetWindowState(1);
    Ui::DoEvents();
    for (HWND h : {Forms::frmShadow().hwnd(), Forms::Form3().hwnd(), Forms::Form1().hwnd()})
        EXPECT_FALSE(IsWindowVisible(h));
    f.SetWindowState(0);
    Ui::DoEvents();
    ExpectDocked(f.hwnd(), true);
}

TEST_F(MainWindowTest, WindowsCannotBeSizedBelowTheirMinimum) {
    MakeRunBefore();
    Form2& f = Start();
    const int tx = Twips::PerPixelX(), ty = Twips::PerPixelY();
    struct Case {
        HWND window;
        int width, height;  // twips
    } cases[] = {{f.hwnd(), 4250, 2895}, {Forms::Form3().hwnd(), 1800, 3300}, {Forms::frmShadow().hwnd(), 1800, 3300}};
    for (const auto& c : cases) {
        ASSERT_TRUE(c.window);
        // The procedure in place is the one the window's own load installed.
        EXPECT_TRUE(Resize::Installed(c.window));
        EXPECT_FALSE(c.window == f.hwnd() ? Resize::InstallMainMinSize(c.window) : Resize::InstallSideMinSize(c.window))
            << "installed once";
        MINMAXINFO mmi{};
        mmi.ptMaxTrackSize = POINT{5000, 4000};
        SendMessageW(c.window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        EXPECT_EQ(mmi.ptMinTrackSize.x, c.width / tx);
        EXPECT_EQ(mmi.ptMinTrackSize.y, c.height / ty);
        EXPECT_EQ(mmi.ptMaxTrackSize.x, 5000) << "other fields stay as given";
    }
    // A real resize cannot go below it either.
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
    RECT m = Outer(f.hwnd());
    EXPECT_GE(m.right - m.left, 4250 / tx);
}

TEST_F(MainWindowTest, LinkKeyAndButtonSwitchLinkingWithTheirImages) {
    MakeRunBefore();
    Form2& f = Start();
    // F8 with any modifiers: off, then on again with the satellites docked.
    f.ListView1_KeyDown(VK_F8, 1);
    EXPECT_FALSE(f.WindowLink());
    EXPECT_EQ(f.Toolbar1.Image(L"cklj"), 21);
    Forms::frmShadow().MoveTwips(0, 0, 2400, 4000);
    f.ListView1_KeyDown(VK_F8, 2);
    EXPECT_TRUE(f.WindowLink());
    EXPECT_EQ(f.Toolbar1.Image(L"cklj"), 20);
    ExpectDocked(f.hwnd(), true);

    // The button: a click flips the value first; switching off moves nothing.
    f.Toolbar1.Click(L"cklj");
    EXPECT_FALSE(f.WindowLink());
    EXPECT_EQ(f.Toolbar1.Image(L"cklj"), 21);
    Forms::frmShadow().MoveTwips(0, 0, 2400, 4000);
    RECT moved = Outer(Forms::frmShadow().hwnd());
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(Outer(Forms::frmShadow().hwnd()).left, moved.left);
    f.Toolbar1.Click(L"cklj");
    EXPECT_TRUE(f.WindowLink());
    EXPECT_EQ(f.Toolbar1.Image(L"cklj"), 20);
    RECT m = Outer(f.hwnd());
    EXPECT_EQ(Outer(Forms::frmShadow().hwnd()).right, m.left);
    EXPECT_EQ(Outer(Forms::Form3().hwnd()).left, m.right);
}
