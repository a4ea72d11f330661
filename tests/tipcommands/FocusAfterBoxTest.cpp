// After a box shown from the tip list (the delete question answered 是 or 否,
// the 收藏夹 notice), the keyboard works on the tip list again: the real
// message box, answered by a click on its button.
#include "tipcommands/TipCommandsFixture.h"

#include "support/DialogDriver.h"

using namespace Gbk;

class FocusAfterBoxTest : public TipCommandsTest {
protected:
    // `key` on the list shows a real box, answered by a click on `button`.
    void KeyAnsweredBy(UINT key, int button) {
        App::SetMsgBoxResponder(nullptr);
        DialogDriver driver({[button](HWND box) {
            if (!box) return false;
            DialogDriver::Click(box, button);
            return true;
        }});
        SendMessageW(list().hwnd(), WM_KEYDOWN, key, 0);
        SendMessageW(list().hwnd(), WM_KEYUP, key, 0);
        EXPECT_TRUE(driver.Finished());
        Ui::DoEvents();
    }
};

TEST_F(FocusAfterBoxTest, TheTipListHasTheKeysAgainAfterEachBox) {
    WriteBytes(CatFile(Cat), Section(Data, {Simple(Jia), Simple(Yi), Simple(Bing)}));
    main().Show();
    SetForegroundWindow(main().hwnd());
    Show(Text::FromAnsi(Cat));
    ASSERT_EQ(3, list().Count());
    const struct {
        const char* what;
        UINT key;
        int button;
        int rowsLeft;
    } cases[] = {
        {"delete, 否", VK_DELETE, IDNO, 3},
        {"delete, 是", VK_DELETE, IDYES, 2},
        {"收藏夹", VK_F9, IDOK, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Select({1});
        list().SetFocus();
        ASSERT_EQ(list().hwnd(), GetFocus());
        KeyAnsweredBy(c.key, c.button);
        EXPECT_EQ(c.rowsLeft, list().Count());
        EXPECT_EQ(list().hwnd(), GetFocus());
        // F4 then F3 on whatever has the focus: the list's rows are ticked.
        SendMessageW(GetFocus(), WM_KEYDOWN, VK_F3, 0);
        SendMessageW(GetFocus(), WM_KEYUP, VK_F3, 0);
        EXPECT_TRUE(list().Checked(list().Count()));
        main().no_Click();
    }
    EXPECT_NE(std::string::npos, ReadBytes(CatFile(Cat)).find("[" + Fav + "]"));
}
