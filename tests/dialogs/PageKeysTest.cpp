// The pages' keys pressed as a user presses them: Enter on the button that has
// the focus when a page opens, an access key two buttons share, and the focus
// back on the page's control after the page's own message box.
#include "dialogs/PagesFixture.h"
#include "common/Ini.h"
#include "mainwindow/ToolbarKeys.h"
#include "support/DialogDriver.h"
#include "support/HeldFile.h"
#include "support/RealInput.h"

namespace {
void Press(WORD vk, std::initializer_list<WORD> held = {}) {
    RealInput::Key(vk, held);
    for (int i = 0; i < 15; ++i) {
        Modal::DoEvents();
        Sleep(10);
    }
}
}  // namespace

class PageKeysTest : public PagesTest {
protected:
    // The organiser with two favourites listed.
    void OpenFavourites(const std::function<void(Form4&)>& work) {
        PopupMenu& menu = Forms::Form2().Toolbar1.ButtonMenus(ToolbarKey::viewscj);
        menu.Items.clear();
        menu.Add(L"f1", L"甲类");
        menu.Add(L"f2", L"乙类");
        Open([] { Forms::Form2().OpenFavouritesPage(); }, work);
    }
};

// The about page opens with the focus on 关闭(&C): Enter closes it. The file-
// information page opens on 修改(&W): Enter unlocks the boxes.
TEST_F(PageKeysTest, EnterPressesTheButtonThatHasTheFocusWhenAPageOpens) {
    OpenAbout([](Form4& f) {
        ASSERT_EQ(f.Command3.hwnd(), GetFocus());
        Press(VK_RETURN);
        EXPECT_FALSE(f.Exists());
    });
    WriteBytes(Path(L"信息.upd"), "[Fileinfo]\r\nUse=u\r\n");
    Open([&] { Forms::Form4().OpenFileInfoPage(Path(L"信息.upd")); },
         [](Form4& f) {
             ASSERT_EQ(f.Command12.hwnd(), GetFocus());
             EXPECT_TRUE(f.Text8.Locked());
             Press(VK_RETURN);
             EXPECT_EQ(L"保存(&S)", f.Command12.Caption());
             EXPECT_FALSE(f.Text8.Locked());
             f.Close();
         });
}

// 全部删除(&C) and 关闭(&C): Alt+C, and C alone on a button, move the focus
// between them; neither is pressed (no question, the page stays, nothing
// emptied). Enter then presses the one that has the focus.
TEST_F(PageKeysTest, AKeySharedByTwoButtonsMovesTheFocusAndPressesNeither) {
    OpenFavourites([](Form4& f) {
        ASSERT_TRUE(f.Command16.Enabled());
        ASSERT_EQ(f.ListView1.hwnd(), GetFocus());
        Press('C', {VK_MENU});
        EXPECT_EQ(f.Command16.hwnd(), GetFocus());
        Press('C', {VK_MENU});
        EXPECT_EQ(f.Command17.hwnd(), GetFocus());
        Press('C');
        EXPECT_EQ(f.Command16.hwnd(), GetFocus());
        Press('C');
        EXPECT_EQ(f.Command17.hwnd(), GetFocus());
        EXPECT_TRUE(f.Exists());
        EXPECT_EQ(2, f.ListView1.Count());
        Press(VK_RETURN);
        EXPECT_FALSE(f.Exists());
    });
    EXPECT_TRUE(boxes.empty());
}

// The organiser's failure message (config.ini held by another program) is
// the system's box; once it is closed the list has the keyboard: Down moves.
TEST_F(PageKeysTest, TheListHasTheKeyboardAfterTheOrganisersMessage) {
    ASSERT_TRUE(Ini::Write(Config::Path(), Config::FavoriteSection, L"甲类", L"x"));
    OpenFavourites([&](Form4& f) {
        f.ListView1.SetSelected(1, true);
        f.ListView1.SetSelectedItem(1);
        ASSERT_EQ(f.ListView1.hwnd(), GetFocus());
        App::SetMsgBoxResponder(nullptr);
        std::wstring said;
        DialogDriver drive({[&](HWND box) {
            if (!box) return false;
            said = DialogDriver::BoxText(box);
            DialogDriver::Click(box, IDOK);
            return true;
        }});
        {
            HeldFile held(Config::Path());
            ASSERT_TRUE(held.Held());
            f.Command15.PerformClick();
        }
        EXPECT_TRUE(drive.Finished());
        EXPECT_NE(std::wstring::npos, said.find(L"未能删除")) << Ansi(said);
        EXPECT_EQ(f.ListView1.hwnd(), GetFocus());
        Press(VK_DOWN);
        EXPECT_TRUE(f.ListView1.Selected(2));
        f.Close();
    });
}
