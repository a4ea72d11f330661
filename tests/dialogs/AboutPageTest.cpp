// The about page from the toolbar's 关于, its links, and the toolbar's web,
// mail, options and help buttons, with every address caught by the recorder.
#include "PagesFixture.h"

#include "common/Maker.h"

#include <set>
#include <string>

using std::wstring;

namespace {
void ClickStatic(const Control& c) {
    SendMessageW(c.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(c.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
// The text colour the page gives a static.
COLORREF TextColour(Form4& f, const Control& c) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(f.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c.hwnd()));
    COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}
}  // namespace

class AboutPageTest : public PagesTest {};

// Caption, size and place, and nothing on the page but its own controls.
TEST_F(AboutPageTest, ShowsOnlyItsOwnControls) {
    OpenAbout([&](Form4& f) {
        EXPECT_EQ(Ansi(L"关于窗口"), Ansi(f.Caption()));
        EXPECT_EQ(Twips::ToPixelsX(4530), Twips::ToPixelsX(f.Width()));
        EXPECT_EQ(Twips::ToPixelsY(3315), Twips::ToPixelsY(f.Height()));
        ExpectCentred(f.hwnd());
        const std::set<HWND> own = {f.Picture1.hwnd(), f.Label6.hwnd(),  f.Label1.hwnd(), f.Label26.hwnd(),
                                    f.Label4.hwnd(),   f.Label27.hwnd(), f.Label5.hwnd(), f.Image1.hwnd(),
                                    f.Image2.hwnd(),   f.Image3.hwnd(),  f.Line1.hwnd(),  f.Line2.hwnd(),
                                    f.Line3.hwnd(),    f.Line4.hwnd(),   f.Line5.hwnd(),  f.Command3.hwnd()};
        const std::vector<HWND> visible = VisibleChildren(f.hwnd());
        EXPECT_EQ(own, std::set<HWND>(visible.begin(), visible.end()));
        EXPECT_EQ(own.size(), visible.size());
        // The about button's picture and the two links' pictures.
        for (const Control* image : std::initializer_list<const Control*>{&f.Image1, &f.Image2, &f.Image3})
            EXPECT_NE(0, SendMessageW(image->hwnd(), STM_GETICON, 0, 0));

        EXPECT_EQ("Quorix 3.0", Ansi(f.Label6.Caption()));
        EXPECT_EQ("Quorix 3.0", Ansi(f.Label1.Caption()));
        EXPECT_EQ("(0813)", Ansi(f.Label26.Caption()));
        EXPECT_EQ(Ansi(L"关闭(&C)"), Ansi(f.Command3.Caption()));
        EXPECT_EQ(Ansi(Maker::web), Ansi(f.Label4.Caption()));
        EXPECT_EQ(Ansi(Maker::web2), Ansi(f.Label27.Caption()));
        EXPECT_EQ(Ansi(Maker::email), Ansi(f.Label5.Caption()));
        // The light title lies 30 twips right of its shadow.
        EXPECT_EQ(Twips::ToPixelsX(1215) - Twips::ToPixelsX(1185), f.Label1.Bounds().left - f.Label6.Bounds().left);
        EXPECT_EQ(f.Label1.Bounds().top, f.Label6.Bounds().top);
        EXPECT_EQ(static_cast<COLORREF>(0x00800000), TextColour(f, f.Label26));
        EXPECT_EQ(static_cast<COLORREF>(0x00FF0000), TextColour(f, f.Label4));
        EXPECT_EQ(static_cast<COLORREF>(0x00C00000), TextColour(f, f.Label27));
        EXPECT_EQ(static_cast<COLORREF>(0x00FF0000), TextColour(f, f.Label5));
        // The hand over each link, the arrow elsewhere.
        for (const Control* link : std::initializer_list<const Control*>{&f.Label4, &f.Label27, &f.Label5}) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            SendMessageW(link->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link->hwnd()),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
        }
        PostKey(f.Command3.hwnd(), VK_ESCAPE);
    });
    // 关闭 too; the page opens afresh each time.
    OpenAbout([](Form4& f) {
        EXPECT_TRUE(f.Label4.Visible());
        f.Command3.PerformClick();
        EXPECT_FALSE(f.Exists());
    });
    EXPECT_TRUE(launches.empty());
}

// Each link opens its address through the shell, owned by the page, in a
// normal window; the mail link carries the subject and an empty body.
TEST_F(AboutPageTest, LinksOpenTheirAddresses) {
    HWND page = nullptr;
    OpenAbout([&](Form4& f) {
        page = f.hwnd();
        ClickStatic(f.Label4);
        ClickStatic(f.Label27);
        ClickStatic(f.Label5);
        EXPECT_TRUE(f.Exists());  // the page stays
        f.Command3.PerformClick();
    });
    ASSERT_EQ(3u, launches.size());
    const wstring targets[] = {L"https://example.com/quorix", L"https://www.example.com/bbs",
                               L"mailto:quorix@example.com?subject=你好，我是Quorix用户&body="};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(L"open", launches[i].verb);
        EXPECT_EQ(Ansi(targets[i]), Ansi(launches[i].target));
        EXPECT_EQ(L"", launches[i].parameters);
        EXPECT_EQ(SW_SHOWNORMAL, launches[i].show);
        EXPECT_EQ(page, launches[i].owner);
    }
}

// The toolbar's web and mail buttons open the same addresses, owned by the
// main window, and show them as their tool tips; help opens help.chm.
TEST_F(AboutPageTest, ToolbarWebMailAndHelpButtons) {
    Form2& main = Forms::Form2();
    main.Toolbar1.Click(L"web");
    main.Toolbar1.Click(L"email");
    main.Toolbar1.Click(L"help");
    ASSERT_EQ(3u, launches.size());
    EXPECT_EQ(L"open", launches[0].verb);
    EXPECT_EQ(Ansi(Maker::web), Ansi(launches[0].target));
    EXPECT_EQ(Ansi(L"mailto:quorix@example.com?subject=你好，我是Quorix用户&body="), Ansi(launches[1].target));
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(L"open", launches[i].verb);
        EXPECT_EQ(L"", launches[i].parameters);
        EXPECT_EQ(SW_SHOWNORMAL, launches[i].show);
        EXPECT_EQ(main.hwnd(), launches[i].owner);
    }
    EXPECT_EQ(Ansi(App::PathSlash() + L"help.chm"), Ansi(launches[2].target));
    EXPECT_EQ(SW_SHOWNORMAL, launches[2].show);
    EXPECT_EQ(GetDesktopWindow(), launches[2].owner);
    EXPECT_EQ(Ansi(Maker::web), Ansi(main.Toolbar1.ToolTip(main.Toolbar1.IndexOf(L"web"))));
    EXPECT_EQ(Ansi(Maker::email), Ansi(main.Toolbar1.ToolTip(main.Toolbar1.IndexOf(L"email"))));
}

// For docs/screenshots/about.png (only with QUORIX_SHOT_MARK set).
TEST_F(AboutPageTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    OpenAbout([](Form4& f) {
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command3.PerformClick();
    });
}
