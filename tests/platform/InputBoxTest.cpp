// App::InputBox: through the fixture's responder, and as the real window.
#include "Drive.h"
#include "platform/App.h"
#include "platform/Modal.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <gtest/gtest-spi.h>

#include <cstdlib>

// The responder sees prompt, title (the program's when none is given) and
// default text, and its answer is the box's; an empty answer is a cancel.
TEST_F(QuorixTest, InputBoxThroughTheResponder) {
    ExpectInput(L"新建技巧类别(1)", L"请输入新的名称：");
    ExpectInput(L"");
    EXPECT_EQ(L"新建技巧类别(1)", App::InputBox(L"请输入新的名称：", L"", L"新建技巧类别"));
    EXPECT_EQ(L"", App::InputBox(L"再来", L"重命名"));
    ASSERT_EQ(2u, inputs.size());
    EXPECT_EQ(Ansi(L"请输入新的名称："), Ansi(inputs[0].prompt));
    EXPECT_EQ(Ansi(App::Title()), Ansi(inputs[0].title));
    EXPECT_EQ(Ansi(L"新建技巧类别"), Ansi(inputs[0].defaultText));
    EXPECT_EQ(Ansi(L"重命名"), Ansi(inputs[1].title));
    EXPECT_EQ(L"", inputs[1].defaultText);
}

TEST_F(QuorixTest, UnexpectedInputBoxFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(App::InputBox(L"没有预料的"), "unexpected input box");
}

namespace {
struct Seen {
    std::wstring title, prompt, text;
    bool centred = false;
    bool ownerDisabled = false;
};

// Shows the real box over an owner window; the modal hook reads it, types
// `typed` and closes it the way `close` does.
std::wstring RunRealBox(const std::wstring& typed, void (*close)(HWND box, HWND edit), Seen& seen) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(owner);
    Modal::SetHookForTests([&](HWND box) {
        HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr);
        HWND prompt = FindWindowExW(box, nullptr, L"Static", nullptr);
        seen.title = Drive::WindowText(box);
        seen.prompt = Drive::WindowText(prompt);
        seen.text = Drive::WindowText(edit);
        RECT r, work;
        GetWindowRect(box, &r);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        seen.centred = std::abs((r.left + r.right) - (work.left + work.right)) <= 2 &&
                       std::abs((r.top + r.bottom) - (work.top + work.bottom)) <= 2;
        seen.ownerDisabled = !IsWindowEnabled(owner);
        EXPECT_EQ(edit, GetFocus());
        Drive::Type(edit, typed);
        close(box, edit);
    });
    std::wstring answer = App::InputBox(L"请输入名称：", L"新建", L"默认名");
    Modal::SetHookForTests(nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
    return answer;
}
}  // namespace

// The real window: prompt, title, selected default, centred, its owner
// disabled while up; 确定 or Enter gives the typed text, 取消, Esc and the
// close box give the empty text.
TEST_F(QuorixTest, InputBoxRealWindow) {
    App::SetInputBoxResponder(nullptr);
    struct Case {
        const char* name;
        void (*close)(HWND box, HWND edit);
        bool taken;
    };
    const Case cases[] = {
        {"确定", [](HWND box, HWND) { PostMessageW(FindWindowExW(box, nullptr, L"Button", L"确定"), BM_CLICK, 0, 0); },
         true},
        {"Enter", [](HWND, HWND edit) { Drive::PostKey(edit, VK_RETURN); }, true},
        {"取消", [](HWND box, HWND) { PostMessageW(FindWindowExW(box, nullptr, L"Button", L"取消"), BM_CLICK, 0, 0); },
         false},
        {"Esc", [](HWND, HWND edit) { Drive::PostKey(edit, VK_ESCAPE); }, false},
        {"close box", [](HWND box, HWND) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Seen seen;
        std::wstring answer = RunRealBox(L" 我的类别 ", c.close, seen);
        EXPECT_EQ(Ansi(c.taken ? L" 我的类别 " : L""), Ansi(answer));
        EXPECT_EQ(Ansi(L"新建"), Ansi(seen.title));
        EXPECT_EQ(Ansi(L"请输入名称："), Ansi(seen.prompt));
        EXPECT_EQ(Ansi(L"默认名"), Ansi(seen.text));
        EXPECT_TRUE(seen.centred);
        EXPECT_TRUE(seen.ownerDisabled);
    }
}
