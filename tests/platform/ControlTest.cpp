#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/Window.h"
#include "support/Fixture.h"

namespace {
class TestForm : public Form {
public:
    ~TestForm() override { Unload(); }
    bool Load() {
        if (!CreateForm(L"Quorix.TestForm", L"t", WS_OVERLAPPEDWINDOW, 0, nullptr)) return false;
        return Label1.Create(hwnd_, 1, L"x") && ListView1.Create(hwnd_, 2);
    }
    Label Label1;
    ListView ListView1;
};
}  // namespace

// A control goes with its form's window: after an unload it no longer exists,
// and the next load gives it a window again.
TEST(ControlTest, ControlsExistOnlyWhileTheirWindowDoes) {
    TestForm f;
    ASSERT_TRUE(f.Load());
    EXPECT_TRUE(f.Label1.Exists());
    EXPECT_TRUE(f.ListView1.Exists());
    f.ListView1.Add(L"row");
    f.ListView1.SetSubTag(1, 1, L"tag");
    f.Unload();
    EXPECT_FALSE(f.Exists());
    EXPECT_FALSE(f.Label1.Exists());
    EXPECT_FALSE(f.ListView1.Exists());
    EXPECT_EQ(0, f.ListView1.Count());
    ASSERT_TRUE(f.Load());
    EXPECT_TRUE(f.ListView1.Exists());
    EXPECT_EQ(0, f.ListView1.Count());
    EXPECT_EQ(L"", f.ListView1.SubTag(1, 1));
}
