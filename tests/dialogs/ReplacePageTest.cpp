// The replace confirmation page with key paths longer than its lines: each
// line is cut with a visible ellipsis and never at a word boundary (where it
// would read as another, complete path); the tool tip keeps the whole line.
#include "dialogs/PagesFixture.h"
#include "fixtures/TipRows.h"
#include "support/RealInput.h"

namespace {
const std::wstring kLongPath =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden";

// The rightmost column of the label's area on the page that holds ink (a
// colour darker than the face), -1 when none; counted from the label's left.
int RightmostInk(HWND page, const Control& label) {
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(label.hwnd(), &r);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    HDC dc = GetDC(page);
    int right = -1;
    for (LONG x = r.left; x < r.right; ++x)
        for (LONG y = r.top; y < r.bottom; ++y) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 300) {
                right = x - r.left;
                break;
            }
        }
    ReleaseDC(page, dc);
    return right;
}
}  // namespace

class ReplacePageTest : public PagesTest {
protected:
    void OpenOnLongPaths(const std::function<void(Form4&)>& work) {
        Form2& main = Forms::Form2();
        main.ListView1.Clear();
        const int row = TestRows::Add(main.ListView1, TestRows::Tip{.name = L"隐藏文件", .typeCode = L"2",
                                                                   .valueName = L"Hidden", .data = L"1",
                                                                   .keyPath = kLongPath});
        Transfer::PendingTip tip;
        tip.name = L"隐藏文件";
        tip.record = kLongPath + L"\\Incoming\xF8F5Hidden\xF8F5";
        Open([&] { Forms::Form4().OpenReplacePage(tip, main.ListView1, row); }, work);
        main.ListView1.Clear();
    }
};

TEST_F(ReplacePageTest, LongKeyPathsAreCutWithAnEllipsisAndWholeInTheirTips) {
    OpenOnLongPaths([&](Form4& f) {
        const std::pair<Label*, std::wstring> lines[] = {{&f.Label12, L"键位：" + kLongPath},
                                                         {&f.Label13, L"键位：" + kLongPath + L"\\Incoming"}};
        for (const auto& [label, whole] : lines) {
            SCOPED_TRACE(Ansi(whole));
            EXPECT_EQ(whole, label->Caption());
            EXPECT_EQ(whole, f.ToolTipText(*label));
            // The line fills its label to the right end (the ellipsis and the
            // path's last key), not a short first line of a wrapped text.
            RECT r = label->Bounds();
            const int width = r.right - r.left;
            EXPECT_GE(RightmostInk(f.hwnd(), *label), width - 24) << "of " << width;
        }
        f.Command10.PerformClick();
    });
}

// For docs/screenshots/replace.png (only with QUORIX_SHOT_MARK set).
TEST_F(ReplacePageTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    OpenOnLongPaths([&](Form4& f) {
        RealInput::MoveTo(POINT{2, 2});  // the pointer off the page: no tool tip over it
        for (int i = 0; i < 10; ++i) {
            Modal::DoEvents();
            Sleep(10);
        }
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command10.PerformClick();
    });
}
