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
    void OpenOnLongPaths(const std::function<void(Form4&)>& work, const std::wstring& path = kLongPath,
                         const std::wstring& incoming = kLongPath + L"\\Incoming") {
        Form2& main = Forms::Form2();
        main.ListView1.Clear();
        const int row = TestRows::Add(main.ListView1, TestRows::Tip{.name = L"隐藏文件", .typeCode = L"2",
                                                                   .valueName = L"Hidden", .data = L"1",
                                                                   .keyPath = path});
        Transfer::PendingTip tip;
        tip.name = L"隐藏文件";
        tip.record = incoming + L"\xF8F5Hidden\xF8F5";
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

// A last key longer than the line (123 characters): the line still shows its
// caption and the path's root, the path cut in its middle with an ellipsis,
// and what is drawn fits the label.
TEST_F(ReplacePageTest, ALongLastKeyKeepsTheCaptionAndTheRoot) {
    std::wstring lastKey = L"LastKeyComponentThatIsVeryLong";
    while (lastKey.size() < 116) lastKey += L"Segment";
    lastKey = lastKey.substr(0, 116) + L"LastKey";
    ASSERT_EQ(123u, lastKey.size());
    const std::wstring path = L"HKEY_CURRENT_USER\\Software\\QuorixV2\\" + lastKey;
    OpenOnLongPaths(
        [&](Form4& f) {
            for (Label* label : {&f.Label12, &f.Label13}) {
                EXPECT_EQ(L"键位：" + path, label->Caption());
                EXPECT_EQ(L"键位：" + path, f.ToolTipText(*label));
                const std::wstring shown = f.KeyPathLineShown(*label);
                SCOPED_TRACE(Ansi(shown));
                EXPECT_TRUE(shown.starts_with(L"键位：HKEY_CURRENT_"));
                EXPECT_TRUE(shown.ends_with(L"LastKey"));
                EXPECT_NE(std::wstring::npos, shown.find(L"\u2026"));
                RECT client{};
                GetClientRect(label->hwnd(), &client);
                HDC dc = GetDC(label->hwnd());
                HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label->hwnd(), WM_GETFONT, 0, 0)));
                SIZE size{};
                GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
                SelectObject(dc, old);
                ReleaseDC(label->hwnd(), dc);
                EXPECT_LE(size.cx, client.right);
                EXPECT_GE(size.cx, client.right - 24);  // the line is used, not cut short
                EXPECT_GE(RightmostInk(f.hwnd(), *label), client.right - 24);
            }
            f.Command10.PerformClick();
        },
        path, path);
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
