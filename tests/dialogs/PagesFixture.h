#pragma once
// The options and about pages opened from the real main window: the page runs
// modally, `work` runs inside its loop once it is up.
#include "common/Config.h"
#include "dialogs/Form4.h"
#include "mainwindow/Form2.h"
#include "platform/Modal.h"
#include "platform/Twips.h"
#include "support/Fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

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
    SetCursorPos(0, 0);  // no tool tip over the page
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD end = GetTickCount() + 500;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        Ui::DoEvents();
        Sleep(20);
    }
    // A tool tip the pointer called up while the page opened is taken down.
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM) -> BOOL {
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) SendMessageW(w, TTM_POP, 0, 0);
            return TRUE;
        },
        0);
    Ui::DoEvents();
    HANDLE h = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    end = GetTickCount() + 20000;
    while (GetFileAttributesA(mark) != INVALID_FILE_ATTRIBUTES && static_cast<LONG>(end - GetTickCount()) > 0) {
        Ui::DoEvents();
        Sleep(20);
    }
    return true;
}

// The named controls of a page that do not show on the screen after the page
// is painted afresh as the modal loop paints it: a control whose area on the
// window holds a single colour has been painted over (every control named
// draws a border, a text or a picture of its own).
inline std::vector<std::string> PaintedOver(HWND page,
                                            std::initializer_list<std::pair<const char*, const Control*>> controls) {
    RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    for (int i = 0; i < 5; ++i) {
        Ui::DoEvents();
        Sleep(10);
    }
    RECT client{};
    GetClientRect(page, &client);
    const int w = client.right, h = client.bottom;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP shot = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, shot);
    // The window's own surface, its children's areas included.
    HDC dc = GetDCEx(page, nullptr, DCX_CACHE);
    BitBlt(mem, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    ReleaseDC(page, dc);
    GdiFlush();
    std::vector<std::string> out;
    const auto* px = static_cast<const DWORD*>(bits);
    for (const auto& [name, c] : controls) {
        RECT r{};
        GetWindowRect(c->hwnd(), &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        std::set<DWORD> colours;
        for (int y = std::max(0L, r.top); y < std::min<LONG>(h, r.bottom); ++y)
            for (int x = std::max(0L, r.left); x < std::min<LONG>(w, r.right); ++x) colours.insert(px[y * w + x] & 0xFFFFFF);
        if (!c->Visible() || colours.size() < 2) out.push_back(name);
    }
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(shot);
    return out;
}
