// The category window's toolbar: new, open and del of tip data files, through
// the real windows, the real files and the dialogs' and input box's responders.
#include "dialogs/GCommonDialog.h"
#include "fixtures/LibraryFixture.h"

#include <cstring>
#include <functional>

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";
const wchar_t kPrompt[] = L"请输入对文件的简短说明：";
const wchar_t kCannot[] = L"不能新建技巧数据文件。";

// What a file dialog was given.
struct Given {
    bool open = false;
    HWND owner = nullptr;
    std::string title, filter, defExt, initDir;
    DWORD flags = 0;
};
}  // namespace

class DataFileCommandsTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        WriteCategory(L"cat.qix", Section(Data) + Record("own", KP, "v", "l", "1", '2', "d", '1'));
        // The next dialog answers with these bytes (empty: cancelled).
        GCommonDialog::SetResponderForTests([this](GCommonDialog::SystemCall& c) -> BOOL {
            if (!c.ofn) return FALSE;
            Given g;
            g.open = c.kind == GCommonDialog::SystemCall::Open;
            g.owner = c.ofn->hwndOwner;
            if (c.ofn->lpstrTitle) g.title = c.ofn->lpstrTitle;
            if (c.ofn->lpstrFilter) g.filter = c.ofn->lpstrFilter;
            if (c.ofn->lpstrDefExt) g.defExt = c.ofn->lpstrDefExt;
            if (c.ofn->lpstrInitialDir) g.initDir = c.ofn->lpstrInitialDir;
            g.flags = c.ofn->Flags;
            given.push_back(g);
            if (answer.empty()) return FALSE;
            std::memcpy(c.ofn->lpstrFile, answer.data(), answer.size());
            c.ofn->lpstrFile[answer.size()] = '\0';
            return TRUE;
        });
    }
    void TearDown() override {
        GCommonDialog::SetResponderForTests(nullptr);
        LibraryTest::TearDown();
    }
    void Answer(const std::wstring& path) { answer = Ansi(path); }
    // A multi-selection: the folder, then each name, NUL-separated, a second NUL at the end.
    void AnswerMany(const std::wstring& folder, const std::vector<std::wstring>& names) {
        answer = Ansi(folder) + '\0';
        for (const auto& n : names) answer += Ansi(n) + '\0';
    }
    std::wstring Upd(const std::wstring& name, int tips) {
        std::string bytes = Section(Data);
        for (int i = 0; i < tips; ++i) bytes += Record("tip" + std::to_string(i), KP, "v", "l", "1", '2', "d", '1');
        WriteBytes(Path(name), bytes);
        return Path(name);
    }
    std::vector<std::wstring> Entries() {
        std::vector<std::wstring> e;
        for (int n = 1; n <= shadow().TreeView2.Count(); ++n) e.push_back(shadow().TreeView2.Text(n));
        return e;
    }
    std::wstring Selected() { return shadow().TreeView2.Text(shadow().TreeView2.SelectedItem()); }
    // The state every command that shows a file leaves.
    void ExpectShowing(const std::wstring& file, int rows) {
        EXPECT_EQ(file, Selected());
        EXPECT_EQ(rows, list().Count());
        auto b = Buttons();
        // (scj follows the rows: the load after the command's own settings decides it.)
        for (const wchar_t* k : {L"open", L"tjlb", L"del", L"find"}) EXPECT_FALSE(b[k]) << Ansi(k);
        EXPECT_EQ(rows > 0, b[L"scj"]);
        EXPECT_EQ(L"Quorix 3.0 - " + file, main().Caption());
        EXPECT_EQ(L"", Library::CurrentCategoryPath);
        EXPECT_EQ(file, Library::CurrentDataFilePath);
        EXPECT_TRUE(shadow().Toolbar1.Enabled(L"del"));
        EXPECT_TRUE(shadow().Toolbar1.Enabled(L"info"));
    }
    std::string answer;
    std::vector<Given> given;
};

TEST_F(DataFileCommandsTest, NewFileBytesAndState) {
    WriteConfig(L"Fileinfo", L"author", L"  张三  ");
    WriteConfig(L"Fileinfo", L"Web", L"www.example.com");
    WriteConfig(L"Fileinfo", L"email", L"a@b.c");
    ::frmShadow& s = shadow();
    ExpectInput(L"我的 技巧", kPrompt);
    Answer(Path(L"tips"));
    s.Toolbar1.Click(L"new");
    ASSERT_EQ(1u, inputs.size());
    EXPECT_EQ(L"新建技巧数据文件", inputs[0].title);
    ASSERT_EQ(1u, given.size());
    EXPECT_FALSE(given[0].open);
    EXPECT_EQ("upd", given[0].defExt);  // the dialog's overwrite question covers the final name
    EXPECT_TRUE(given[0].flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(Ansi(L"新建专用数据文件"), given[0].title);
    EXPECT_EQ(Ansi(L"专用数据文件 (*.upd)"), given[0].filter);
    EXPECT_EQ(s.hwnd(), given[0].owner);
    const std::wstring file = Path(L"tips.upd");
    EXPECT_EQ("[Fileinfo]\r\nUse=" + Ansi(L"我的 技巧") + "\r\nauthor=" + Ansi(L"张三") +
                  "\r\nWeb=www.example.com\r\nemail=a@b.c\r\nother=\r\n",
              ReadBytes(file));
    EXPECT_EQ((std::vector<std::wstring>{file}), Entries());
    ExpectShowing(file, 0);
    EXPECT_TRUE(Called("xj=1"));
    EXPECT_TRUE(Called("next=1"));
    EXPECT_TRUE(Called("LiveKeyFlag=no"));
}

TEST_F(DataFileCommandsTest, NewFileCases) {
    const std::wstring listed = Upd(L"Listed.upd", 3);
    const std::string listedBytes = ReadBytes(listed);
    WriteBytes(Path(L"a.txt.upd"), "keep");
    WriteBytes(Path(L"ro.upd"), "read-only");
    SetFileAttributesW(Path(L"ro.upd").c_str(), FILE_ATTRIBUTE_READONLY);
    struct Case {
        const char* name;
        std::wstring description;  // empty: the input box cancelled
        std::wstring chosen;       // empty: the dialog cancelled
        std::vector<int> boxes;    // answers to the message boxes expected
        std::vector<std::wstring> boxTexts;
        bool created;              // a new file shows
        std::wstring file;         // the file then shown
    } cases[] = {
        {"cancelled box", L"", L"x", {}, {}, false, {}},
        {"blanks only", L"   ", L"x", {}, {}, false, {}},
        {"cancelled dialog", L"d", L"", {}, {}, false, {}},
        {"asked, No keeps it", L"d", Path(L"a.txt"), {IDNO}, {L"文件“ " + Path(L"a.txt.upd") + L" ”已经存在，是否要替换它？"}, false, {}},
        {"read-only file", L"d", Path(L"ro.upd"), {IDOK}, {kCannot}, false, {}},
        {"listed in other case", L"d", Path(L"LISTED.UPD"), {}, {}, true, listed},
        {"asked, Yes replaces", L"d", Path(L"a.txt"), {IDYES}, {}, true, Path(L"a.txt.upd")},
        {"name holds .UPD", L"d", Path(L"b.upd.txt"), {}, {}, true, Path(L"b.upd.txt")},
    };
    ::frmShadow& s = shadow();
    s.AddOrSelectEntry(listed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = Entries();
        given.clear();
        ExpectInput(c.description);
        Answer(c.chosen);
        for (size_t i = 0; i < c.boxes.size(); ++i) ExpectBox(c.boxes[i], i < c.boxTexts.size() ? c.boxTexts[i] : L"");
        size_t shown = boxes.size();
        s.Toolbar1.Click(L"new");
        EXPECT_EQ(c.description.empty() || c.description == L"   " ? 0u : 1u, given.size());
        EXPECT_EQ(c.boxes.size(), boxes.size() - shown);
        if (!c.created) {
            EXPECT_EQ(before, Entries());
            continue;
        }
        ExpectShowing(c.file, 0);
        EXPECT_EQ("[Fileinfo]\r\nUse=d\r\nauthor=\r\nWeb=\r\nemail=\r\nother=\r\n", ReadBytes(c.file));
    }
    // What was refused stays as it was.
    EXPECT_EQ("read-only", ReadBytes(Path(L"ro.upd")));
    EXPECT_EQ((std::vector<std::wstring>{listed, Path(L"a.txt.upd"), Path(L"b.upd.txt")}), Entries());
    EXPECT_NE(listedBytes, ReadBytes(listed));  // replaced when chosen again
    EXPECT_EQ(kCannot, boxes[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);
    SetFileAttributesW(Path(L"ro.upd").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DataFileCommandsTest, OpenListsFilesAndShowsTheLast) {
    const std::wstring a = Upd(L"a.upd", 2), b = Upd(L"b.upd", 1), c = Upd(L"c.upd", 3), t = Upd(L"t.txt", 4);
    ::frmShadow& s = shadow();
    // One file.
    Answer(a);
    s.Toolbar1.Click(L"open");
    ASSERT_EQ(1u, given.size());
    EXPECT_TRUE(given[0].open);
    EXPECT_EQ(static_cast<DWORD>(0x81A00), given[0].flags & 0x81A00);
    EXPECT_EQ(Ansi(L"选择技巧数据文件"), given[0].title);
    EXPECT_EQ((std::vector<std::wstring>{a}), Entries());
    ExpectShowing(a, 2);
    EXPECT_TRUE(Called("ShowItem"));
    // Three files, one of them listed already (other case): the last one shows.
    AnswerMany(dir.substr(0, dir.size() - 1), {L"B.upd", L"A.UPD", L"c.upd"});
    s.Toolbar1.Click(L"open");
    EXPECT_EQ((std::vector<std::wstring>{a, Path(L"B.upd"), c}), Entries());
    ExpectShowing(c, 3);
    // A listed file alone: selected and shown, nothing added.
    Answer(Path(L"b.UPD"));
    s.Toolbar1.Click(L"open");
    EXPECT_EQ(3u, Entries().size());
    ExpectShowing(Path(L"B.upd"), 1);
    // Any extension is listed.
    Answer(t);
    s.Toolbar1.Click(L"open");
    ExpectShowing(t, 4);
    // Cancelled: nothing changes.
    answer.clear();
    s.Toolbar1.Click(L"open");
    EXPECT_EQ(4u, Entries().size());
    (void)b;
}

TEST_F(DataFileCommandsTest, DelRemovesEntriesNeverFiles) {
    const std::wstring a = Upd(L"a.upd", 2), empty = Upd(L"empty.upd", 0);
    ::frmShadow& s = shadow();
    s.AddOrSelectEntry(a);
    s.AddOrSelectEntry(empty);
    s.TreeView2.Select(1);
    s.TreeView2_NodeClick(1);
    s.Toolbar1.SetEnabled(L"del", true);  // as the commands that list a file leave it
    // No keeps everything.
    ExpectBox(IDNO, L"你是否要将“ " + a + L" ”这个文件从列表中删除吗？");
    s.Toolbar1.Click(L"del");
    EXPECT_EQ(2u, Entries().size());
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes.back().style);
    // Yes: the next file shows; it has no tips, so saving over a tip is off.
    calls.clear();
    ExpectBox(IDYES);
    s.Toolbar1.Click(L"del");
    EXPECT_EQ((std::vector<std::wstring>{empty}), Entries());
    ExpectShowing(empty, 0);
    EXPECT_TRUE(Called("xiugai=0"));
    EXPECT_FALSE(Called("xiugai=1"));
    EXPECT_TRUE(App::FileExists(a));
    // The only entry: nothing left to show, data-file mode kept.
    list().Add(L"stale");
    main().StatusBar1.SetPanelText(3, L"准备使用技巧");
    calls.clear();
    ExpectBox(IDYES);
    s.Toolbar1.Click(L"del");
    EXPECT_EQ(0, s.TreeView2.Count());
    EXPECT_EQ(0, list().Count());
    auto b = Buttons();
    for (const wchar_t* k : {L"start", L"open", L"daochu", L"del", L"del2", L"scj", L"cut", L"copy", L"paste",
                             L"xuan", L"xiao", L"tjlb", L"find"})
        EXPECT_FALSE(b[k]) << Ansi(k);
    EXPECT_TRUE(b[L"viewhf"]);
    EXPECT_EQ(L"没有找到任何技巧数据文件", Panel(1));
    EXPECT_EQ(L"", Panel(3));
    EXPECT_EQ(L"Quorix 3.0", main().Caption());
    for (const char* c : {"xj=0", "next=0", "xiugai=0", "valuebar=0", "ClearLiveValues", "LiveKeyFlag=no"})
        EXPECT_TRUE(Called(c)) << c;
    EXPECT_FALSE(Called("edit=0"));
    EXPECT_FALSE(s.Toolbar1.Enabled(L"del"));
    EXPECT_FALSE(s.Toolbar1.Enabled(L"info"));
    EXPECT_EQ(L"", Library::CurrentCategoryPath);
    EXPECT_EQ(empty, Library::CurrentDataFilePath);
    EXPECT_TRUE(App::FileExists(empty));
    // A click on the category shows it again.
    s.TreeView1_NodeClick(1);
    EXPECT_EQ(1, list().Count());
    EXPECT_TRUE(main().CategoryMode());
}

namespace {
// A file whose name only the W functions can give.
void WriteW(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}
}  // namespace

// Files the program cannot name in code page 936 (the dialog gives them back
// with "?"), and a selection the dialog's buffer cut: one message names each
// file (by its real name) and the cause; nothing joins the list, and the list
// keeps showing what it showed.
TEST_F(DataFileCommandsTest, OpenRefusesNamesTheCodePageCannotHoldAndCutSelections) {
    const std::string bytes = Section(Data) + Record("t", KP, "v", "l", "1", '2', "d", '1');
    const std::wstring thai = Path(L"\u0e01\u0e02.upd");
    WriteW(thai, bytes);
    const std::wstring folder = Path(L"\u0e01\u76ee\u5f55");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    WriteW(folder + L"\\a.upd", bytes);
    const std::wstring a = Upd(L"a.upd", 2);
    ::frmShadow& s = shadow();
    Answer(a);
    s.Toolbar1.Click(L"open");
    ASSERT_EQ((std::vector<std::wstring>{a}), Entries());

    struct Case {
        const char* name;
        std::function<void()> answer;
        std::wstring named;
        const wchar_t* cause;
    } cases[] = {
        {"file name", [&] { Answer(thai); }, thai, frmShadow::kNotInCodePage},
        {"folder name", [&] { Answer(folder + L"\\a.upd"); }, folder + L"\\a.upd", frmShadow::kNotInCodePage},
        {"one of several", [&] { AnswerMany(dir.substr(0, dir.size() - 1), {L"a.upd", L"\u0e01\u0e02.upd"}); }, thai,
         frmShadow::kNotInCodePage},
        // The folder alone came back: the names did not fit.
        {"folder only", [&] { answer = Ansi(dir.substr(0, dir.size() - 1)) + std::string(2, '\0'); },
         dir.substr(0, dir.size() - 1), frmShadow::kSelectionTooLong},
        // The last name cut at the buffer's end.
        {"last name cut",
         [&] {
             AnswerMany(dir.substr(0, dir.size() - 1), {L"a.upd"});
             answer += "b.upd";
             answer.resize(8192, 'x');
         },
         dir.substr(0, dir.size() - 1), frmShadow::kSelectionTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.answer();
        ExpectBox(IDOK);
        s.Toolbar1.Click(L"open");
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(c.named)) << Ansi(boxes[0].text);
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(c.cause));
        EXPECT_EQ((std::vector<std::wstring>{a}), Entries());
        ExpectShowing(a, 2);
        boxes.clear();
    }
}

// The same on the command line: the file is named (by its real name) and not
// listed; the other words are still opened.
TEST_F(DataFileCommandsTest, CommandLineRefusesNamesTheCodePageCannotHold) {
    const std::string bytes = Section(Data) + Record("t", KP, "v", "l", "1", '2', "d", '1');
    const std::wstring thai = Path(L"\u0e01.upd");
    WriteW(thai, bytes);
    const std::wstring a = Upd(L"a.upd", 2);
    Forms::UnloadFrmShadow();
    App::SetCommandForTests(L"\"" + thai + L"\" " + a);
    ExpectBox(IDOK);
    ::frmShadow& s = shadow();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(thai));
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(frmShadow::kNotInCodePage));
    EXPECT_EQ((std::vector<std::wstring>{a}), Entries());
    EXPECT_EQ(2, list().Count());
    (void)s;
}
