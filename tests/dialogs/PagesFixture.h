#pragma once
// The options and about pages opened from the real main window: the page runs
// modally, `work` runs inside its loop once it is up.
#include "common/Config.h"
#include "dialogs/Form4.h"
#include "mainwindow/Form2.h"
#include "platform/Modal.h"
#include "platform/Twips.h"
#include "support/Fixture.h"

#include <cstdlib>
#include <functional>

class PagesTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        PrepareRunBefore();
        ASSERT_NE(nullptr, Forms::Form2().hwnd());
        Launch::SetRecorderForTests([this](const Launch::Call& c) { launches.push_back(c); });
    }
    // Runs `open` (which shows a page modally) with `work` inside the page's loop.
    void Open(const std::function<void()>& open, const std::function<void(Form4&)>& work) {
        bool ran = false;
        Modal::SetHookForTests([&](HWND h) {
            ran = true;
            Form4& f = Forms::Form4();
            ASSERT_EQ(f.hwnd(), h);
            ASSERT_TRUE(IsWindowVisible(h));
            work(f);
        });
        open();
        Modal::SetHookForTests(nullptr);
        EXPECT_TRUE(ran);
        EXPECT_EQ(nullptr, Forms::IfLoaded<::Form4>()) << "the page is still loaded";
    }
    // The toolbar buttons as a user clicks them.
    void OpenOptions(const std::function<void(Form4&)>& work) {
        Open([] { Forms::Form2().Toolbar1.Click(L"set"); }, work);
    }
    void OpenAbout(const std::function<void(Form4&)>& work) {
        Open([] { Forms::Form2().Toolbar1.Click(L"about"); }, work);
    }
    // A key pressed in the page, handled by its modal loop after the hook.
    static void PostKey(HWND focus, UINT vk) {
        PostMessageW(focus, WM_KEYDOWN, vk, 1);
        PostMessageW(focus, WM_KEYUP, vk, 1 | (3LL << 30));
    }
    // The page's child windows that are visible.
    static std::vector<HWND> VisibleChildren(HWND parent) {
        std::vector<HWND> out;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE) out.push_back(c);
        return out;
    }
    // The window's centre lies at the screen's centre (within a pixel of rounding).
    static void ExpectCentred(HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (r.left + r.right) / 2, 1);
        EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (r.top + r.bottom) / 2, 1);
    }
};

// For the screenshots: while QUORIX_SHOT_MARK names a file, the page is held
// up (the mark file is made once it is drawn) until the file goes.
inline bool HoldForCapture(HWND page) {
    const char* mark = std::getenv("QUORIX_SHOT_MARK");
    if (!mark || !*mark) return false;
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD end = GetTickCount() + 500;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        Ui::DoEvents();
        Sleep(20);
    }
    HANDLE h = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    end = GetTickCount() + 20000;
    while (GetFileAttributesA(mark) != INVALID_FILE_ATTRIBUTES && static_cast<LONG>(end - GetTickCount()) > 0) {
        Ui::DoEvents();
        Sleep(20);
    }
    return true;
}
