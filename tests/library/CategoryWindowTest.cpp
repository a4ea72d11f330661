// The category window's layout, its bar (splitter) and its keys.
#include "common/Config.h"
#include "fixtures/LibraryFixture.h"

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";
}

class CategoryWindowTest : public LibraryTest {
protected:
    ::frmShadow& Sized(long long heightTwips) {
        ::frmShadow& s = shadow();
        s.MoveTwips(0, 0, 2400, heightTwips);
        return s;
    }
};

TEST_F(CategoryWindowTest, LayoutFoldsTheFileListAwayWhenTheBarIsLow) {
    WriteConfig(L"Data", L"FileListHeight", L"1500");
    ::frmShadow& s = Sized(4005);
    ASSERT_EQ(4005, s.Height());  // whole pixels: 267 at 15 twips a pixel
    EXPECT_FALSE(s.FileListCollapsed);
    EXPECT_EQ(1500, s.TreeView1Height());
    EXPECT_EQ(1570, s.Toolbar1Top());
    long long fileListTop = s.TreeView2Top(), fileListHeight = s.TreeView2Height();
    EXPECT_EQ(4005 - fileListTop - 340, fileListHeight);
    // The bar at 3300 leaves 705 < 830 twips: folded away, the file list keeps its place.
    s.SetPicture1Top(3300);
    s.Form_Resize();
    EXPECT_TRUE(s.FileListCollapsed);
    EXPECT_EQ(3630, s.Picture1Top());
    EXPECT_EQ(3630, s.TreeView1Height());
    EXPECT_EQ(3700, s.Toolbar1Top());
    EXPECT_EQ(fileListTop, s.TreeView2Top());
    EXPECT_EQ(fileListHeight, s.TreeView2Height());
}

TEST_F(CategoryWindowTest, EndOfADragShowsOrHidesTheTwoLists) {
    struct Case {
        long long barTop;
        bool tree, fileList;
        long long finalTop;
    } cases[] = {
        {1500, true, true, 1500},
        {195, false, true, 0},
        {-15, false, true, 0},
        {3300, true, false, 3630},
        {1500, true, true, 1500},  // a later drag brings the file list back
    };
    ::frmShadow& s = Sized(4005);
    for (const auto& c : cases) {
        s.SetPicture1Top(c.barTop);
        s.SplitterDragEnded();
        SCOPED_TRACE(c.barTop);
        EXPECT_EQ(c.tree, s.TreeView1.Visible());
        EXPECT_EQ(c.fileList, s.TreeView2.Visible());
        EXPECT_EQ(!c.fileList, s.FileListCollapsed);
        EXPECT_EQ(c.finalTop, s.Picture1Top());
        EXPECT_EQ(c.finalTop + 70, s.Toolbar1Top());
    }
}

TEST_F(CategoryWindowTest, SplitterMarginsAndLostCapture) {
    cSplitDDC before, after;
    before.SetOrientation(2);
    after.SetSplitObject({});
    after.SetOrientation(2);
    EXPECT_EQ((std::vector<long>{64, 0, 64, 0}),
              (std::vector<long>{before.Border(1), before.Border(2), before.Border(3), before.Border(4)}));
    EXPECT_EQ((std::vector<long>{0, 64, 0, 64}),
              (std::vector<long>{after.Border(1), after.Border(2), after.Border(3), after.Border(4)}));
    EXPECT_FALSE(after.SetBorder(5, 1));
    EXPECT_FALSE(after.SetBorder(0, 1));

    ::frmShadow& s = Sized(4005);
    s.Show();
    EXPECT_FALSE(s.FileListSplitter.SplitterFormMouseUp(0, 0));  // no drag: nothing
    long long top = s.Picture1Top();
    // A press on the bar starts a drag; losing the capture ends it without moving the bar.
    SendMessageW(s.Picture1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 1));
    EXPECT_TRUE(s.FileListSplitter.InDrag());
    EXPECT_EQ(s.hwnd(), GetCapture());
    ReleaseCapture();
    EXPECT_FALSE(s.FileListSplitter.InDrag());
    RECT clip{};
    GetClipCursor(&clip);
    EXPECT_GE(clip.right - clip.left, GetSystemMetrics(SM_CXSCREEN));  // the cursor is free again
    SendMessageW(s.hwnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(top, s.Picture1Top());
    // The right button starts nothing.
    SendMessageW(s.Picture1.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 1));
    EXPECT_FALSE(s.FileListSplitter.InDrag());
    s.Hide();
}

TEST_F(CategoryWindowTest, KeysActOnTheTipListWhileTheirCommandIsEnabled) {
    WriteCategory(L"cat.qix", Section(Data) + Record("safe", KP, "v", "l", "1", '2', "d", '1') +
                                  Record("risky", KP, "v", "l", "1", '2', "d", '2') + Section("sub") +
                                  Record("x", KP, "v", "l", "1", '2', "d", '1'));
    ::frmShadow& s = shadow();
    ASSERT_EQ(2, list().Count());
    // F3 ticks as the list's tick-all does: a dangerous row only while Choice reads 0.
    for (const wchar_t* choice : {L"1", L"0", L"0.5", L"-0.5", L"abc"}) {
        SCOPED_TRACE(Text::ToAnsi(choice));
        WriteConfig(L"Data", L"Choice", choice);
        s.Form_KeyDown(VK_F4, 0);
        s.Form_KeyDown(VK_F3, 0);
        EXPECT_TRUE(list().Checked(1));
        const bool dangerousTicked = list().Checked(2);
        EXPECT_EQ(Config::NumberOf(choice) == 0, dangerousTicked);
        s.Form_KeyDown(VK_F4, 0);
        main().ListView1_KeyDown(VK_F3, 0);
        EXPECT_EQ(dangerousTicked, list().Checked(2)) << "both F3 keys read Choice alike";
    }
    // Key preview: a key pressed in the tree reaches the window first.
    SendMessageW(s.TreeView1.hwnd(), WM_KEYDOWN, VK_F4, 0);
    EXPECT_FALSE(list().Checked(1));
    s.Form_KeyDown('A', 2);
    EXPECT_EQ(2, list().SelectedCount());
    // Commands guarded by buttons.
    struct Case {
        int key, shift;
        const wchar_t* button;
        const char* call;
    } cases[] = {{VK_F5, 0, L"start", "StartWork"}, {VK_F5, 3, L"start", "StartWork"},
                 {'V', 2, L"paste", "Pasteok"},     {'F', 2, L"find", "OpenFind"}};
    for (const auto& c : cases) {
        for (bool on : {false, true}) {
            main().Toolbar1.SetEnabled(c.button, on);
            calls.clear();
            s.Form_KeyDown(c.key, c.shift);
            EXPECT_EQ(on, Called(c.call)) << c.call << " " << on;
        }
    }
    calls.clear();
    for (int shift : {0, 3}) {
        s.Form_KeyDown('V', shift);
        s.Form_KeyDown('F', shift);
    }
    EXPECT_TRUE(calls.empty());
    s.Form_KeyDown(VK_F2, 0);
    EXPECT_TRUE(Called("Closejqsx"));
    // Ctrl+F from a sub-category: the scope is its category's rows.
    int sub = s.TreeView1.FirstChild(1);
    s.TreeView1.Select(sub);
    s.Form_KeyDown('F', 2);
    EXPECT_EQ((std::vector<std::pair<std::wstring, int>>{{L"数据", 1}, {L"sub", 2}, {L"收藏夹", 3}}), findRows);
}
