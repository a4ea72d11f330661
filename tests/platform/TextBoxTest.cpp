// A wrapped text box takes a long text in pieces (the system's box is slow with
// one long paragraph at once): text in words must break into the lines one
// WM_SETTEXT gives, no line may be cut short where a piece ended, and a long paste must paste, undo and undo again as
// the box's own paste does.
#include "platform/TextBox.h"
#include "platform/Window.h"
#include "support/Clipboard.h"
#include "support/Fixture.h"

#include <algorithm>
#include <vector>

namespace {
class TestForm : public Form {
public:
    ~TestForm() override { Unload(); }
    bool Load() {
        if (!CreateForm(L"Quorix.TestForm", L"t", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, nullptr, 0, 0, 400, 300))
            return false;
        if (!Box.Create(hwnd_, 1, TextBox::Lines::Wrapped)) return false;
        Box.Move(10, 10, 130, 150);
        // The same box as the system makes it, given its text at once (made as
        // small and sized after its font, as the control is: the margins follow).
        Bare = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 10, 10,
                               hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(Bare, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        SendMessageW(Bare, EM_LIMITTEXT, 0, 0);
        MoveWindow(Bare, 150, 10, 130, 150, TRUE);
        return Bare != nullptr;
    }
    TextBox Box;
    HWND Bare = nullptr;
};

std::vector<int> LineStarts(HWND box) {
    std::vector<int> starts;
    const int n = static_cast<int>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
    for (int i = 0; i < n; ++i) starts.push_back(static_cast<int>(SendMessageW(box, EM_LINEINDEX, i, 0)));
    return starts;
}

// The narrowest wrapped line of the box, in pixels: the lines ended by a line
// break of their own and the last are left out.
int NarrowestLine(HWND box, const std::wstring& text) {
    RECT r{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    const std::vector<int> starts = LineStarts(box);
    int narrowest = r.right - r.left;
    for (size_t i = 0; i + 1 < starts.size(); ++i) {
        const int a = starts[i], b = starts[i + 1];
        if (b >= 2 && text.compare(static_cast<size_t>(b - 2), 2, L"\r\n") == 0) continue;
        SIZE line{};
        GetTextExtentPoint32W(dc, text.c_str() + a, b - a, &line);
        narrowest = std::min<int>(narrowest, line.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    return narrowest;
}

// No line of the box is narrower than the narrowest the system's box makes of
// the same text (a line cut short where a piece ended would be).
void ExpectFullLines(HWND box, HWND bare, const std::wstring& text) {
    SetWindowTextW(bare, text.c_str());
    const int mine = NarrowestLine(box, text), system = NarrowestLine(bare, text);
    EXPECT_GE(mine, system);

    EXPECT_GT(system, 0);
}

std::pair<DWORD, DWORD> Selection(HWND box) {
    DWORD a = 0, b = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {a, b};
}

std::wstring Repeat(const std::wstring& s, size_t length) {
    std::wstring out;
    while (out.size() < length) out += s;
    out.resize(length);
    return out;
}

// What the lines are held to. The system's box breaks a long run of Chinese a
// character sooner or later by how much text follows (and measures characters
// outside the font with the fonts it falls back on): there only the width of
// the narrowest line is compared, or the text alone.
enum class LineCheck { SameAsBare, NoNarrower, TextOnly };
struct Sample {
    const char* what;
    std::wstring text;
    LineCheck lines;
};
void ExpectLines(const Sample& s, HWND box, HWND bare, const std::wstring& text) {
    if (s.lines == LineCheck::SameAsBare) {
        SetWindowTextW(bare, text.c_str());
        EXPECT_EQ(LineStarts(bare), LineStarts(box));
    } else if (s.lines == LineCheck::NoNarrower) {
        ExpectFullLines(box, bare, text);
    }
}
std::vector<Sample> Samples() {
    // Surrogate pairs and line breaks fall on every position around the pieces' edges.
    std::wstring pairs, breaks;
    for (int i = 0; pairs.size() < 3000; ++i) pairs += std::wstring(static_cast<size_t>(i % 7), L'字') + L"\xD840\xDC0B";
    for (int i = 0; breaks.size() < 3000; ++i) breaks += std::wstring(static_cast<size_t>(i % 5), L'a') + L"行\r\n";
    return {
        {"Chinese, no break", Repeat(L"这是一段很长的说明文字，没有换行。", 3000), LineCheck::NoNarrower},
        {"words and spaces", Repeat(L"a description in words of some length ", 3000), LineCheck::SameAsBare},
        {"one long word", std::wstring(2500, L'x'), LineCheck::SameAsBare},
        {"surrogate pairs", pairs, LineCheck::TextOnly},
        {"line breaks", breaks, LineCheck::SameAsBare},
    };
}
}  // namespace

TEST(TextBoxTest, ALongTextGoesInWholeAndWrapsAsTheBoxWrapsIt) {
    TestForm f;
    ASSERT_TRUE(f.Load());
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.what);
        ASSERT_GE(s.text.size(), TextBox::LongText);
        f.Box.SetText(L"short");
        f.Box.SetText(s.text);
        EXPECT_EQ(s.text, f.Box.Text());
        ExpectLines(s, f.Box.hwnd(), f.Bare, s.text);
        // As WM_SETTEXT leaves a box: the caret first, the top line shown, nothing to undo.
        EXPECT_EQ((std::pair<DWORD, DWORD>{0, 0}), Selection(f.Box.hwnd()));
        EXPECT_EQ(0, SendMessageW(f.Box.hwnd(), EM_GETFIRSTVISIBLELINE, 0, 0));
        EXPECT_FALSE(SendMessageW(f.Box.hwnd(), EM_CANUNDO, 0, 0));
        EXPECT_TRUE(IsWindowVisible(f.Box.hwnd()));
    }
}

TEST(TextBoxTest, ALongPastePastesUndoesAndUndoesAgain) {
    TestForm f;
    ASSERT_TRUE(f.Load());
    const std::wstring start = L"开头和结尾";
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.what);
        f.Box.SetText(start);
        SetFocus(f.Box.hwnd());
        SendMessageW(f.Box.hwnd(), EM_SETSEL, 2, 3);  // "和" replaced
        ASSERT_TRUE(PutTextOnClipboard(f.hwnd(), s.text));
        SendMessageW(f.Box.hwnd(), WM_PASTE, 0, 0);
        const std::wstring pasted = L"开头" + s.text + L"结尾";
        const DWORD end = static_cast<DWORD>(2 + s.text.size());
        ASSERT_EQ(pasted, f.Box.Text());
        EXPECT_EQ((std::pair<DWORD, DWORD>{end, end}), Selection(f.Box.hwnd()));
        EXPECT_EQ(f.Box.hwnd(), GetFocus());
        ExpectLines(s, f.Box.hwnd(), f.Bare, pasted);
        EXPECT_TRUE(SendMessageW(f.Box.hwnd(), EM_GETMODIFY, 0, 0));
        // Undo: the text before, what the paste replaced selected; undo again: the paste, selected.
        EXPECT_TRUE(SendMessageW(f.Box.hwnd(), EM_CANUNDO, 0, 0));
        SendMessageW(f.Box.hwnd(), WM_UNDO, 0, 0);
        EXPECT_EQ(start, f.Box.Text());
        EXPECT_EQ((std::pair<DWORD, DWORD>{2, 3}), Selection(f.Box.hwnd()));
        SendMessageW(f.Box.hwnd(), WM_UNDO, 0, 0);
        EXPECT_EQ(pasted, f.Box.Text());
        EXPECT_EQ((std::pair<DWORD, DWORD>{2, end}), Selection(f.Box.hwnd()));
    }
    // A short paste is the box's own.
    f.Box.SetText(start);
    SendMessageW(f.Box.hwnd(), EM_SETSEL, 5, 5);
    ASSERT_TRUE(PutTextOnClipboard(f.hwnd(), L"！"));
    SendMessageW(f.Box.hwnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(start + L"！", f.Box.Text());
    SendMessageW(f.Box.hwnd(), WM_UNDO, 0, 0);
    EXPECT_EQ(start, f.Box.Text());
}
