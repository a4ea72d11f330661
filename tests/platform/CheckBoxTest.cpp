// The three-state check box on a real window: what code may set, and what a
// user's click, Space and access key do to each state.
#include "platform/CheckBox.h"
#include "platform/Window.h"
#include "Drive.h"

#include <gtest/gtest.h>

namespace {
class BoxForm : public Form {
public:
    ~BoxForm() override { Unload(); }
    bool Load() {
        if (!CreateForm(L"Quorix.CheckBoxTestForm", L"t", WS_OVERLAPPEDWINDOW, 0, nullptr, 50, 50, 300, 200))
            return false;
        if (!Box.Create(hwnd_, 1, L"网格线(&G)")) return false;
        Box.Move(10, 10, 200, 24);
        Box.Click = [this] { ++clicks; };
        Show();
        return true;
    }
    CheckBox Box;
    int clicks = 0;
};

// Handles queued messages as a dialog's loop does (Space and access keys).
void PumpAsDialog(HWND dlg) {
    MSG m;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageW(dlg, &m)) continue;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(10);
    }
}
}  // namespace

TEST(CheckBoxTest, CodeSetsOnlyTheThreeStates) {
    BoxForm f;
    ASSERT_TRUE(f.Load());
    EXPECT_EQ(CheckBox::Clear, f.Box.Value());
    const struct {
        long long value;
        bool taken;
        int state;  // afterwards, starting from ticked
    } cases[] = {{0, true, 0}, {1, true, 1}, {2, true, 2}, {3, false, 1}, {5, false, 1}, {-1, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(f.Box.SetValue(1));
        EXPECT_EQ(c.taken, f.Box.SetValue(c.value));
        EXPECT_EQ(c.state, f.Box.Value());
    }
    // Grey is the system's indeterminate state, drawn dimmed.
    f.Box.SetValue(2);
    EXPECT_EQ(static_cast<LRESULT>(BST_INDETERMINATE), SendMessageW(f.Box.hwnd(), BM_GETCHECK, 0, 0));
    EXPECT_EQ(0, f.clicks);  // code raises no click
}

// A click ticks a clear box and clears a ticked or grey one; it never makes a
// box grey. The mouse, Space and the access key all count as clicks.
TEST(CheckBoxTest, UserClicksClearTickedAndGreyTickClear) {
    BoxForm f;
    ASSERT_TRUE(f.Load());
    const int from[] = {0, 1, 2};
    const int to[] = {1, 0, 0};
    enum Way { Mouse, Space, AccessKey };
    for (Way way : {Mouse, Space, AccessKey}) {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(testing::Message() << "way " << way << " from " << from[i]);
            ASSERT_TRUE(f.Box.SetValue(from[i]));
            const int before = f.clicks;
            switch (way) {
            case Mouse:
                SendMessageW(f.Box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                SendMessageW(f.Box.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
                break;
            case Space:
                f.Box.SetFocus();
                Drive::PostKey(f.Box.hwnd(), VK_SPACE);
                PumpAsDialog(f.hwnd());
                break;
            case AccessKey:
                f.Box.SetFocus();
                PostMessageW(f.Box.hwnd(), WM_SYSCHAR, L'g', 1 << 29);
                PumpAsDialog(f.hwnd());
                break;
            }
            EXPECT_EQ(to[i], f.Box.Value());
            EXPECT_EQ(before + 1, f.clicks);
        }
    }
}
