// The program's own subclass chain on a real edit control: newest procedure
// first, each passing on to the next and at the end to the control's own
// procedure; removal from inside a procedure; the window's own procedure back
// once the chain is empty or the window is gone.
#include "platform/Subclass.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {
std::string g_trace;

LRESULT CALLBACK Tracer(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
    if (msg == WM_USER + 7) {
        g_trace += static_cast<char>(ref);
        if (id == 99) Subclass::Remove(h, &Tracer, id);  // takes itself off mid-message
        if (id == 50) return 4242;                        // swallows the message
    }
    return Subclass::Def(h, msg, wp, lp);
}

struct SubclassTest : ::testing::Test {
    HWND edit = nullptr;
    WNDPROC own = nullptr;
    void SetUp() override {
        edit = CreateWindowExW(0, L"EDIT", L"abc", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(edit);
        own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
        g_trace.clear();
    }
    void TearDown() override {
        if (IsWindow(edit)) DestroyWindow(edit);
    }
};

TEST_F(SubclassTest, NewestRunsFirstAndTheControlStillAnswers) {
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 1, 'a'));
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 2, 'b'));
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 1, 'c'));  // same procedure and id: only its data changes
    SendMessageW(edit, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_trace, "bc");
    // The control's own procedure is reached through the chain.
    wchar_t buf[16] = {};
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(buf)), 3);
    EXPECT_STREQ(buf, L"abc");
    // A procedure may end the message; the older ones never see it.
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 50, 'z'));
    g_trace.clear();
    EXPECT_EQ(SendMessageW(edit, WM_USER + 7, 0, 0), 4242);
    EXPECT_EQ(g_trace, "z");
}

TEST_F(SubclassTest, RemovalInsideAMessageAndTheOwnProcedureBack) {
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 1, 'a'));
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 99, 'x'));
    SendMessageW(edit, WM_USER + 7, 0, 0);  // x runs, takes itself off, passes on to a
    EXPECT_EQ(g_trace, "xa");
    g_trace.clear();
    SendMessageW(edit, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_trace, "a");
    EXPECT_FALSE(Subclass::Remove(edit, &Tracer, 99));
    EXPECT_TRUE(Subclass::Remove(edit, &Tracer, 1));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)), own);
    g_trace.clear();
    SendMessageW(edit, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_trace, "");
}

TEST_F(SubclassTest, ADestroyedWindowLeavesNoChainBehind) {
    ASSERT_TRUE(Subclass::Set(edit, &Tracer, 1, 'a'));
    DestroyWindow(edit);
    EXPECT_FALSE(Subclass::Remove(edit, &Tracer, 1));
    // A new window that happens to get the same handle starts clean.
    edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(edit, WM_USER + 7, 0, 0);
    EXPECT_EQ(g_trace, "");
}
}  // namespace
