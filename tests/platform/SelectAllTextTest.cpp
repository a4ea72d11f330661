// Selecting a box's whole text on focus, and the screen's twips per pixel.
#include "platform/ComboBox.h"
#include "platform/SelectAllText.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"
#include "platform/Resize.h"
#include "platform/Window.h"
#include "support/Fixture.h"

namespace {
class BoxForm : public Form {
public:
    ~BoxForm() override { Unload(); }
    bool Load() {
        if (!CreateForm(L"Quorix.SelectAllTextForm", L"t", WS_OVERLAPPEDWINDOW, 0, nullptr)) return false;
        return Text1.Create(hwnd_, 1) && Combo1.Create(hwnd_, 2, true);
    }
    TextBox Text1;
    ComboBox Combo1;
};

std::pair<DWORD, DWORD> EditSelection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}
std::pair<DWORD, DWORD> ComboSelection(HWND combo) {
    DWORD start = 0, end = 0;
    SendMessageW(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}
}  // namespace

class SelectAllTextTest : public QuorixTest {};

// The whole text is selected, so that typing replaces it; an empty box keeps
// the caret at the start.
TEST_F(SelectAllTextTest, TextBoxAndComboEditSelectTheirWholeText) {
    BoxForm f;
    ASSERT_TRUE(f.Load());
    f.Show();

    f.Text1.SetText(L"键值abc");
    SendMessageW(f.Text1.hwnd(), EM_SETSEL, 2, 2);
    General::SelectAllText(f.Text1);
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(5)), EditSelection(f.Text1.hwnd()));
    SendMessageW(f.Text1.hwnd(), WM_CHAR, L'x', 0);
    EXPECT_EQ(L"x", f.Text1.Text());

    f.Text1.SetText(L"");
    General::SelectAllText(f.Text1);
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(0)), EditSelection(f.Text1.hwnd()));

    f.Combo1.AddItem(L"one");
    f.Combo1.SetText(L"数据 12");
    SendMessageW(f.Combo1.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(1, 1));
    General::SelectAllText(f.Combo1);
    EXPECT_EQ(std::make_pair(DWORD(0), DWORD(5)), ComboSelection(f.Combo1.hwnd()));
    HWND edit = FindWindowExW(f.Combo1.hwnd(), nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    SendMessageW(edit, WM_CHAR, L'y', 0);
    EXPECT_EQ(L"y", f.Combo1.Text());
}

// 1440 / DPI to the nearest whole number, a half to the even one: a truncated
// value would make windows and the splitter's end position a pixel off at
// every such DPI.
TEST_F(SelectAllTextTest, TwipsPerPixelAreRoundedHalfToEven) {
    const std::pair<int, int> cases[] = {
        {96, 15}, {120, 12}, {144, 10}, {72, 20},
        {106, 14},  // 13.58
        {168, 9},   // 8.57
        {192, 8},   // 7.5: to the even 8
        {320, 4},   // 4.5: to the even 4
        {576, 2},   // 2.5: to the even 2
        {110, 13},  // 13.09
    };
    for (const auto& [dpi, twips] : cases) EXPECT_EQ(twips, Twips::PerPixelAt(dpi)) << dpi;
    // The screen's own value, and the minimum sizes made from it.
    HDC dc = GetDC(nullptr);
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(Twips::PerPixelAt(dpiY), Twips::PerPixelY());
    EXPECT_EQ(2895 / Twips::PerPixelY(), Resize::MinTrackPixels(4250, 2895).cy);
}
