// Saved window positions that lie on no screen: the windows open on the
// primary screen, whole, and the settings written at the shut-down put them
// there the next time.
#include "MainWindowFixture.h"

#include "editor/Form3.h"
#include "library/frmShadow.h"

class OffScreenTest : public MainWindowTest {};

TEST_F(OffScreenTest, WindowsSavedOffEveryScreenOpenOnThePrimaryOne) {
    struct Case {
        const char* what;
        const wchar_t *left, *top;
    } cases[] = {
        {"right of and below the screen", L"30000", L"20000"},
        {"the largest top", L"1500", L"2147483647"},
        {"far to the left and above", L"-2000000", L"-2000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Stop();
        MakeRunBefore();
        Set(L"FormLink", L"0");
        Set(L"Form2Visible", L"1");
        for (const wchar_t* n : {L"1", L"2", L"3"}) {
            Set(std::wstring(L"Left_") + n, c.left);
            Set(std::wstring(L"Top_") + n, c.top);
        }
        Form2& f = Start();
        for (HWND h : {f.hwnd(), Forms::frmShadow().hwnd(), Forms::Form3().hwnd()}) {
            RECT r = Outer(h);
            EXPECT_NE(nullptr, MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) << r.left << "," << r.top;
            RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, inside{};
            EXPECT_TRUE(IntersectRect(&inside, &r, &screen));
            EXPECT_TRUE(EqualRect(&inside, &r)) << "whole on the screen";
        }
        Stop();
        // The shut-down saved where they are now: on the screen.
        EXPECT_LT(_wtof(Setting(L"Top_1").c_str()), 800.0 * 15);
        EXPECT_GE(_wtof(Setting(L"Left_1").c_str()), 0.0);
    }
    EXPECT_TRUE(boxes.empty());
}
