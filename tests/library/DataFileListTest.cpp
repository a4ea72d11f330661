// The list of tip data files: restored from and saved to config.ini, clicks,
// files dropped onto the window or the list, and files named on the command line.
#include "common/Ini.h"
#include "fixtures/LibraryFixture.h"

#include <shlobj.h>

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";

// Sends the shell's file-drop message with `paths` to a window.
void DropOnto(HWND target, const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
    for (const auto& p : paths) {
        std::copy(p.begin(), p.end(), out);
        out += p.size();
        *out++ = L'\0';
    }
    *out = L'\0';
    GlobalUnlock(mem);
    SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);  // the receiver frees it
}
}  // namespace

class DataFileListTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        WriteCategory(L"cat.qix", Section(Data) + Record("own", KP, "v", "l", "1", '2', "d", '1'));
    }
    std::wstring Upd(const std::wstring& name, int tips) {
        std::string bytes = Section(Data);
        for (int i = 0; i < tips; ++i) bytes += Record("tip" + std::to_string(i), KP, "v", "l", "1", '2', "d", '1');
        WriteBytes(Path(name), bytes);
        return Path(name);
    }
    std::vector<std::wstring> Entries(::frmShadow& s) {
        std::vector<std::wstring> e;
        for (int n = 1; n <= s.TreeView2.Count(); ++n) e.push_back(s.TreeView2.Text(n));
        return e;
    }
    std::wstring Selected(::frmShadow& s) { return s.TreeView2.Text(s.TreeView2.SelectedItem()); }
};

TEST_F(DataFileListTest, ListIsRestoredAndSavedWhileSaveFileIsOn) {
    WriteConfig(L"Data", L"SaveFile", L"1");
    WriteConfig(L"Data", L"FileListHeight", L"1500");
    for (const wchar_t* k : {L"c:\\x\\one.upd", L"  c:\\x\\two.txt ", L"C:\\X\\ONE.UPD", L"d:\\missing\\three.upd"})
        WriteConfig(L"Filelist", k, L"Quorix");
    ::frmShadow& s = shadow();
    EXPECT_EQ((std::vector<std::wstring>{L"c:\\x\\one.upd", L"c:\\x\\two.txt", L"d:\\missing\\three.upd"}), Entries(s));
    EXPECT_EQ(L"d:\\missing\\three.upd", Selected(s));
    EXPECT_TRUE(s.Toolbar1.Enabled(L"del"));
    EXPECT_TRUE(s.Toolbar1.Enabled(L"info"));
    EXPECT_EQ(L"cat", Library::CurrentCategoryPath);  // the category is still shown
    EXPECT_EQ(1500, s.Picture1Top());
    s.AddOrSelectEntry(L"e:\\new.upd");
    s.SetPicture1Top(1700);
    Forms::UnloadFrmShadow();
    EXPECT_EQ((std::vector<std::wstring>{L"c:\\x\\one.upd", L"c:\\x\\two.txt", L"d:\\missing\\three.upd",
                                         L"e:\\new.upd"}),
              Ini::Keys(dir + L"config.ini", L"Filelist"));
    EXPECT_EQ(L"Quorix", Ini::Read(dir + L"config.ini", L"Filelist", L"e:\\new.upd"));
    EXPECT_EQ(L"1700", Ini::Read(dir + L"config.ini", L"Data", L"FileListHeight"));
}

// A copy a run left beside a listed tip data file when it ended before
// replacing the file goes when the list is restored; the file stays.
TEST_F(DataFileListTest, AStrayCopyBesideAListedFileGoesWhenTheListIsRestored) {
    const std::wstring upd = Upd(L"a.upd", 2), copy = upd + Ini::CopySuffix, other = Path(L"b.upd") + Ini::CopySuffix;
    const std::string bytes = ReadBytes(upd);
    WriteBytes(copy, "half");
    WriteBytes(other, "not listed");
    WriteConfig(L"Data", L"SaveFile", L"1");
    WriteConfig(L"Filelist", upd, L"Quorix");
    ::frmShadow& s = shadow();
    EXPECT_EQ(std::vector<std::wstring>{upd}, Entries(s));
    EXPECT_FALSE(App::FileExists(copy));
    EXPECT_TRUE(App::FileExists(other)) << "only the copy of a listed file";
    EXPECT_EQ(bytes, ReadBytes(upd));
}

TEST_F(DataFileListTest, ListIsNeitherRestoredNorSavedWhileSaveFileIsOff) {
    WriteConfig(L"Filelist", L"c:\\keep.upd", L"Quorix");
    ::frmShadow& s = shadow();
    EXPECT_EQ(0, s.TreeView2.Count());
    EXPECT_FALSE(s.Toolbar1.Enabled(L"del"));
    EXPECT_FALSE(s.Toolbar1.Enabled(L"info"));
    EXPECT_EQ(0, s.Picture1Top());  // no FileListHeight: the bar at 0
    s.AddOrSelectEntry(L"c:\\other.upd");
    Forms::UnloadFrmShadow();
    EXPECT_EQ((std::vector<std::wstring>{L"c:\\keep.upd"}), Ini::Keys(dir + L"config.ini", L"Filelist"));
    EXPECT_EQ(L"0", Ini::Read(dir + L"config.ini", L"Data", L"FileListHeight"));
}

TEST_F(DataFileListTest, ClickingAnEntryShowsItInDataFileMode) {
    std::wstring a = Upd(L"a.upd", 2);
    ::frmShadow& s = shadow();
    int e = s.AddOrSelectEntry(a);
    int gone = s.AddOrSelectEntry(Path(L"gone.upd"));
    calls.clear();
    s.TreeView2_NodeClick(e);
    EXPECT_EQ(2, list().Count());
    EXPECT_EQ(29, list().SubIcon(1, 0));
    auto b = Buttons();
    for (const wchar_t* k : {L"open", L"tjlb", L"del", L"find", L"scj"}) EXPECT_FALSE(b[k]) << Ansi(k);
    EXPECT_TRUE(b[L"del2"]);
    EXPECT_EQ(L"Quorix 3.0 - " + a, main().Caption());
    EXPECT_EQ(L"", Library::CurrentCategoryPath);
    EXPECT_EQ(a, Library::CurrentDataFilePath);
    EXPECT_TRUE(Called("ShowItem"));
    // The same entry again: nothing happens.
    calls.clear();
    s.TreeView2_NodeClick(e);
    EXPECT_TRUE(calls.empty());
    // A missing file: an empty list, the entry stays.
    s.TreeView2_NodeClick(gone);
    EXPECT_EQ(0, list().Count());
    EXPECT_EQ(L"共有 0 个技巧", Panel(1));
    EXPECT_EQ(2, s.TreeView2.Count());
    // Back to the category: it loads again, in category mode.
    s.TreeView1_NodeClick(1);
    EXPECT_EQ(1, list().Count());
    EXPECT_TRUE(main().CategoryMode());
    EXPECT_EQ(L"", Library::CurrentDataFilePath);
    // And the entry shown before loads again too.
    s.TreeView2_NodeClick(e);
    EXPECT_EQ(2, list().Count());
}

TEST_F(DataFileListTest, DroppedTipDataFilesJoinTheListAndTheLastIsShown) {
    std::wstring a = Upd(L"a.upd", 1), c = Upd(L"c.UPD", 3), txt = Upd(L"b.txt", 2);
    ::frmShadow& s = shadow();
    struct Case {
        bool ontoList;
        std::vector<std::wstring> dropped;
        std::vector<std::wstring> entries;
        std::wstring shown;
        int rows;
    } cases[] = {
        {false, {a, txt, c}, {a, c}, c, 3},
        {true, {Path(L"A.UPD")}, {a, c}, a, 1},  // already listed: selected, not added
        {false, {txt}, {a, c}, a, 1},            // nothing accepted: the selected entry is loaded
    };
    for (const auto& k : cases) {
        main().Toolbar1.SetEnabled(L"tjlb", true);
        calls.clear();
        DropOnto(k.ontoList ? s.TreeView2.hwnd() : s.hwnd(), k.dropped);
        EXPECT_EQ(k.entries, Entries(s));
        EXPECT_EQ(k.shown, Selected(s));
        EXPECT_EQ(k.rows, list().Count());
        EXPECT_EQ(L"Quorix 3.0 - " + k.shown, main().Caption());
        EXPECT_FALSE(main().CategoryMode());
        EXPECT_EQ(!k.ontoList, main().Toolbar1.Enabled(L"scj"));
        EXPECT_EQ(k.shown, Library::CurrentDataFilePath);
        EXPECT_EQ(L"", Library::CurrentCategoryPath);
        EXPECT_TRUE(s.Toolbar1.Enabled(L"del") && s.Toolbar1.Enabled(L"info"));
        EXPECT_TRUE(Called("xj=1") && Called("next=1") && Called("ShowItem"));
        EXPECT_EQ(s.TreeView2.hwnd(), GetFocus());
    }
}

TEST_F(DataFileListTest, DropWithNothingAcceptedOnAnEmptyListGivesTheNoDataFileState) {
    ::frmShadow& s = shadow();
    ASSERT_EQ(1, list().Count());  // the category's tips
    calls.clear();
    DropOnto(s.hwnd(), {Path(L"notes.txt")});
    EXPECT_EQ(0, s.TreeView2.Count());
    EXPECT_EQ(0, list().Count());
    EXPECT_EQ(L"没有找到任何技巧数据文件", Panel(1));
    EXPECT_EQ(L"Quorix 3.0", main().Caption());
    auto b = Buttons();
    for (const wchar_t* k : {L"start", L"open", L"daochu", L"del", L"del2", L"scj", L"cut", L"copy", L"paste",
                             L"xuan", L"xiao", L"tjlb", L"find"})
        EXPECT_FALSE(b[k]) << Ansi(k);
    for (const char* c : {"xj=0", "next=0", "xiugai=0", "valuebar=0", "ClearLiveValues", "LiveKeyFlag=no"})
        EXPECT_TRUE(Called(c)) << c;
    EXPECT_FALSE(s.Toolbar1.Enabled(L"del"));
}

TEST_F(DataFileListTest, CommandLineFilesAreOpenedAtStartUp) {
    CreateDirectoryW(Path(L"my tips").c_str(), nullptr);
    std::wstring spaced = Upd(L"my tips\\spaced.upd", 4);
    std::wstring a = Upd(L"a.upd", 1), b = Upd(L"B.Upd", 2);
    struct Case {
        std::wstring command;
        std::vector<std::wstring> entries;
        int rows;
    } cases[] = {
        // Quoted paths may hold blanks; a missing file and empty words are passed over.
        {L"\"" + spaced + L"\"  " + Path(L"missing.upd") + L"   " + a, {spaced, a}, 1},
        // The same file twice (any case) gives one entry; the stored name is listed.
        {a + L" " + Path(L"A.UPD") + L" " + b, {a, b}, 2},
        // An unquoted path with a blank names nothing.
        {spaced, {}, 0},
    };
    for (const auto& c : cases) {
        Forms::UnloadFrmShadow();
        main().Toolbar1.SetEnabled(L"tjlb", true);
        for (const wchar_t* k : {L"open", L"del", L"find", L"scj"}) main().Toolbar1.SetEnabled(k, true);
        App::SetCommandForTests(c.command);
        ::frmShadow& s = shadow();
        SCOPED_TRACE(Ansi(c.command));
        EXPECT_EQ(c.entries, Entries(s));
        EXPECT_FALSE(main().CategoryMode());
        EXPECT_EQ(L"", Library::CurrentCategoryPath);
        for (const wchar_t* k : {L"open", L"del", L"find", L"scj"}) EXPECT_FALSE(main().Toolbar1.Enabled(k)) << Ansi(k);
        EXPECT_EQ(c.rows, list().Count());
        if (c.entries.empty()) {
            EXPECT_EQ(L"没有找到任何技巧数据文件", Panel(1));
            EXPECT_EQ(L"Quorix 3.0", main().Caption());
            EXPECT_FALSE(s.Toolbar1.Enabled(L"del"));
        } else {
            EXPECT_EQ(c.entries.back(), Library::CurrentDataFilePath);
            EXPECT_EQ(L"Quorix 3.0 - " + c.entries.back(), main().Caption());
            EXPECT_TRUE(s.Toolbar1.Enabled(L"del"));
        }
    }
    // A blank command line opens nothing and leaves the category shown.
    Forms::UnloadFrmShadow();
    main().Toolbar1.SetEnabled(L"tjlb", true);
    App::SetCommandForTests(L"   ");
    ::frmShadow& s = shadow();
    EXPECT_EQ(0, s.TreeView2.Count());
    EXPECT_TRUE(main().CategoryMode());
    EXPECT_EQ(L"cat", Library::CurrentCategoryPath);
}

TEST_F(DataFileListTest, LongPathGivesTheStoredNames) {
    std::wstring a = Upd(L"Stored.Upd", 0);
    std::wstring typed = Text::UpperCase(a.substr(0, 3)) + a.substr(3, a.size() - 13) + L"stored.upd";
    EXPECT_EQ(typed.substr(0, 2) + a.substr(2), App::LongPath(typed));
    EXPECT_EQ(L"", App::LongPath(Path(L"nothing\\here.upd")));
    EXPECT_EQ(L"\\", App::LongPath(L""));
}

TEST_F(DataFileListTest, PopupMenuOfTheListHidesTheCategoryAndRowItems) {
    ::frmShadow& s = shadow();
    s.AddOrSelectEntry(L"c:\\a.upd");
    std::vector<std::wstring> shown;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
        for (const auto& i : m.Items)
            if (i.visible) shown.push_back(i.key);
        return std::wstring();
    });
    RECT r{};
    TreeView_GetItemRect(s.TreeView2.hwnd(), s.TreeView2.Handle(1), &r, TRUE);
    s.TreeView2_MouseUp(1, POINT{r.left + 2, r.top + 2});
    EXPECT_TRUE(shown.empty());
    s.TreeView2_MouseUp(2, POINT{r.left + 2, r.top + 2});
    EXPECT_EQ((std::vector<std::wstring>{L"paste", L"d1", L"all", L"no"}), shown);
    PopupMenu::SetChooserForTests(nullptr);
}

// A dropped tip data file whose name the code page cannot hold is named in one
// message with its cause and not listed; the other dropped files still join.
TEST_F(DataFileListTest, DroppedFileTheCodePageCannotNameIsRefusedAndTold) {
    const std::wstring a = Upd(L"a.upd", 2);
    const std::wstring thai = Path(L"\u0e01.upd");
    {
        const std::string bytes = Section(Data) + Record("t", KP, "v", "l", "1", '2', "d", '1');
        HANDLE h = CreateFileW(thai.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    ::frmShadow& s = shadow();
    ExpectBox(IDOK);
    DropOnto(s.hwnd(), {thai, a});
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(thai)) << Ansi(boxes[0].text);
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(frmShadow::kNotInCodePage));
    EXPECT_EQ((std::vector<std::wstring>{a}), Entries(s));
    EXPECT_EQ(a, Selected(s));
    EXPECT_EQ(2, list().Count());
}
