// The status bar's reload against a click on the same node, the file list saved
// entry by entry, and a start-up whose command line opens no tip data file.
#include "common/Ini.h"
#include "fixtures/LibraryFixture.h"

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";
}

class ReloadAndFileListTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        WriteCategory(L"cat.qix", Section(Data) + Record("own", KP, "v", "l", "1", '2', "d", '1') + Mirror(Data) +
                                      Section("sub") + Record("s1", KP, "v", "l", "1", '2', "d", '1') + Mirror("sub") +
                                      Section(Favourites) + Record("fav", KP, "v", "l", "1", '2', "d", '2') +
                                      Record("fav2", KP, "v", "l", "1", '2', "d", '1') + Mirror(Favourites));
    }
    int Find(::frmShadow& s, const std::wstring& fullPath) {
        for (int n = 1; n <= s.TreeView1.Count(); ++n)
            if (s.TreeView1.FullPath(n) == fullPath) return n;
        return 0;
    }
    std::vector<bool> Ticks() {
        std::vector<bool> t;
        for (int r = 1; r <= list().Count(); ++r) t.push_back(list().Checked(r));
        return t;
    }
};

// A click on a node and a reload of it give the same rows, ticks and caption;
// a category's reload leaves the caption alone.
TEST_F(ReloadAndFileListTest, ReloadAgreesWithAClickOnTheSameNode) {
    struct Case {
        const wchar_t* path;
        const wchar_t* autoCheck;
        std::vector<bool> ticks;
    } cases[] = {
        {L"cat\\收藏夹", L"1", {true, true}},  // the dangerous one too
        {L"cat\\收藏夹", L"0", {false, false}},
        {L"cat\\sub", L"1", {false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Ansi(c.path) + " AutoCheck=" + Ansi(c.autoCheck));
        WriteConfig(L"Data", L"AutoCheck", c.autoCheck);
        ::frmShadow& s = shadow();
        int node = Find(s, c.path);
        ASSERT_NE(0, node);
        s.TreeView1.Select(node);
        s.TreeView1_NodeClick(node);
        EXPECT_EQ(c.ticks, Ticks());
        const std::wstring caption = main().Caption();
        EXPECT_EQ(std::wstring(L"Quorix 3.0 - ") + c.path, caption);

        for (int r = 1; r <= list().Count(); ++r) list().SetChecked(r, !c.ticks[static_cast<size_t>(r - 1)]);
        main().SetCaption(L"other");
        calls.clear();
        main().StatusBar1_PanelClick(2);
        EXPECT_EQ(c.ticks, Ticks());
        EXPECT_EQ(caption, main().Caption());
        EXPECT_TRUE(Called("ShowItem"));
        Forms::UnloadFrmShadow();
        Library::CurrentCategoryPath.clear();
    }
    // A category: its own tips again, the caption as it was.
    ::frmShadow& s = shadow();
    int cat = Find(s, L"cat");
    s.TreeView1.Select(cat);
    main().SetCaption(L"kept");
    main().StatusBar1_PanelClick(2);
    EXPECT_EQ(1, list().Count());
    EXPECT_EQ(L"kept", main().Caption());
}

// Every entry the file can hold is saved; the others are named in one message,
// and the list saved before is replaced (an entry removed since does not come back).
TEST_F(ReloadAndFileListTest, FileListIsSavedEntryByEntry) {
    WriteConfig(L"Data", L"SaveFile", L"1");
    WriteConfig(L"Filelist", L"c:\\gone.upd", L"Quorix");
    ::frmShadow& s = shadow();
    ASSERT_EQ(1, s.TreeView2.Count());
    s.TreeView2.Remove(1);
    for (const wchar_t* path : {L"c:\\tips\\one.upd", L"c:\\tips\\a=b.upd", L"c:\\tips\\two.upd"}) s.AddOrSelectEntry(path);
    ExpectBox(IDOK, L"下列技巧数据文件的路径无法保存到文件列表中，下次启动时不会列出：\r\nc:\\tips\\a=b.upd");
    Forms::UnloadFrmShadow();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_EQ((std::vector<std::wstring>{L"c:\\tips\\one.upd", L"c:\\tips\\two.upd"}),
              Ini::Keys(dir + L"config.ini", L"Filelist"));

    ::frmShadow& again = shadow();
    EXPECT_EQ(2, again.TreeView2.Count());
}

// A command line that names no tip data file puts the list into data-file mode;
// with entries restored from the saved list, the selected one is what it shows,
// and the main toolbar is as a click on that entry leaves it (no 收藏夹 for a
// tip data file's tips).
TEST_F(ReloadAndFileListTest, CommandLineWithoutTipDataFileShowsTheSelectedSavedEntry) {
    std::string bytes = Section(Data);
    for (const char* name : {"u1", "u2", "u3"}) bytes += Record(name, KP, "v", "l", "1", '2', "d", '1');
    WriteBytes(Path(L"saved.upd"), bytes);
    WriteConfig(L"Data", L"SaveFile", L"1");
    WriteConfig(L"Filelist", Path(L"saved.upd"), L"Quorix");
    App::SetCommandForTests(L"C:\\notes.txt");
    ::frmShadow& s = shadow();
    ASSERT_EQ(1, s.TreeView2.Count());
    EXPECT_FALSE(main().CategoryMode());
    EXPECT_EQ(Path(L"saved.upd"), Library::CurrentDataFilePath);
    ASSERT_EQ(3, list().Count()) << "the rows are those of the list target";
    EXPECT_EQ(L"u1", list().Text(1));
    EXPECT_EQ(L"Quorix 3.0 - " + Path(L"saved.upd"), main().Caption());
    const std::map<std::wstring, bool> atStart = Buttons();
    EXPECT_FALSE(atStart.at(L"scj"));

    // The category first (its tips may go into 收藏夹), then a click on the entry.
    Library::CurrentCategoryPath.clear();
    s.TreeView1.Select(1);
    s.TreeView1_NodeClick(1);
    ASSERT_TRUE(main().CategoryMode());
    ASSERT_TRUE(main().Toolbar1.Enabled(L"scj"));
    s.TreeView2.Select(1);
    s.TreeView2_NodeClick(1);
    ASSERT_EQ(3, list().Count());
    EXPECT_EQ(Buttons(), atStart);
}
