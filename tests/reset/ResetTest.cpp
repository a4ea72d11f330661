// The reset of the tip database from the options page, through the real
// program: the shipped category files come back byte for byte, the user's own
// stay, sub-folders are not copied, a missing data folder is made, the list
// returns to category mode on the rebuilt tree; a No, or any file that cannot
// be copied or replaced, leaves every byte of the data folder as it was.
#include "common/Config.h"
#include "common/Ini.h"
#include "dialogs/Form4.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Modal.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>

namespace {
const std::string FM = "\xFF";
const std::string JM = "\x81\x88";
const std::string Data = "\xCA\xFD\xBE\xDD";              // 数据
const std::string Favourites = "\xCA\xD5\xB2\xD8\xBC\xD0";  // 收藏夹

std::string Tip(const std::wstring& name) {
    return Ansi(name) + "=HKEY_CURRENT_USER\\Software\\QuorixTest" + FM + "v" + FM + "a" + JM + "1" + FM + "0" + FM +
           "d" + FM + "1\r\n";
}
std::string Sections(const std::string& name, const std::string& tips) {
    return "[" + name + "]\r\n" + tips + "[" + FM + name + FM + "]\r\n";
}
// A category file with its own tips, one sub-category and favourites.
std::string Category(const std::wstring& tip, const std::wstring& sub) {
    return Sections(Data, Tip(tip)) + Sections(Ansi(sub), Tip(tip + L"2")) + Sections(Favourites, Tip(tip + L"3"));
}

const wchar_t kQuestion[] = L"你确定要恢复原始技巧数据库吗？";
const wchar_t kFailed[] = L"恢复原始技巧数据库失败！";
const wchar_t kDone[] = L"原始数据库恢复成功。";

class ResetTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        PrepareRunBefore();
        CreateDirectoryW(Path(L"Databak").c_str(), nullptr);
        CreateDirectoryW(Path(L"Databak\\旧").c_str(), nullptr);
        shippedA = Category(L"甲一", L"甲子");
        shippedB = Category(L"乙一", L"乙子");
        WriteBytes(Path(L"Databak\\甲.qix"), shippedA);
        WriteBytes(Path(L"Databak\\乙.qix"), shippedB);
        WriteBytes(Path(L"Databak\\旧\\丙.qix"), Category(L"丙一", L"丙子"));
        // The user's library: a changed shipped category and one of their own.
        WriteBytes(Path(L"Data\\甲.qix"), Sections(Data, Tip(L"改过的")));
        userOwn = Category(L"我的", L"我的子");
        WriteBytes(Path(L"Data\\用户.qix"), userOwn);
    }
    void TearDown() override {
        if (Form2* f = Forms::Form2IfLoaded()) {
            SendMessageW(f->hwnd(), WM_CLOSE, 0, 0);
            Ui::DoEvents();
        }
        QuorixTest::TearDown();
    }
    Form2& Start() {
        Form2& f = Forms::Form2();
        EXPECT_TRUE(f.Exists());
        f.Show();
        Ui::DoEvents();
        return f;
    }
    frmShadow& shadow() { return Forms::frmShadow(); }

    // Opens the options page from the toolbar, presses 开始恢复(&R) and closes the page.
    void Reset() {
        bool ran = false;
        Modal::SetHookForTests([&](HWND) {
            ran = true;
            Form4& page = Forms::Form4();
            page.Command21.PerformClick();
            EXPECT_TRUE(page.Exists()) << "the page stays open";
            page.Command2_Click();
        });
        Forms::Form2().Toolbar1.Click(L"set");
        Modal::SetHookForTests(nullptr);
        EXPECT_TRUE(ran);
    }

    // Every entry of the data folder: name -> bytes ("<dir>" for a folder).
    std::map<std::wstring, std::string> DataFolder() {
        std::map<std::wstring, std::string> out;
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW(Path(L"Data\\*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return out;
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            out[name] = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "<dir>" : ReadBytes(Path(L"Data\\" + name));
        } while (FindNextFileW(h, &fd));
        FindClose(h);
        return out;
    }
    std::vector<std::wstring> Tree() {
        std::vector<std::wstring> out;
        TreeView& t = shadow().TreeView1;
        for (int n = 1; n <= t.Count(); ++n) out.push_back(t.FullPath(n));
        return out;
    }

    std::string shippedA, shippedB, userOwn;
};
}  // namespace

TEST_F(ResetTest, ShippedFilesComeBackTheUsersStayAndTheListReturnsToCategoryMode) {
    Form2& main = Start();
    // The list shows a tip data file: data-file mode.
    const std::wstring upd = Path(L"数据.upd");
    WriteBytes(upd, Sections(Data, Tip(L"文件里的")));
    frmShadow& s = shadow();
    s.TreeView2_NodeClick(s.AddOrSelectEntry(upd));
    ASSERT_FALSE(main.CategoryMode());
    ASSERT_EQ(Ansi(L"文件里的"), Ansi(main.ListView1.Text(1)));

    ExpectBox(IDYES, kQuestion);
    ExpectBox(IDOK, kDone);
    Reset();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), boxes[0].style);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes[1].style & MB_ICONMASK);

    // Shipped files as shipped (sub-categories and favourites included), the
    // user's category untouched, no sub-folder and no temporary left.
    const std::map<std::wstring, std::string> expected = {
        {L"甲.qix", shippedA}, {L"乙.qix", shippedB}, {L"用户.qix", userOwn}};
    EXPECT_TRUE(expected == DataFolder());

    // The tree rebuilt from the data folder, the categories in the order the
    // tree's sorting gives; the first category shown, in category mode.
    std::vector<std::wstring> categories = {L"乙", L"用户", L"甲"};
    std::stable_sort(categories.begin(), categories.end(),
                     [](const std::wstring& a, const std::wstring& b) { return TreeView::CompareTexts(a, b) < 0; });
    const std::map<std::wstring, std::wstring> sub = {{L"乙", L"乙子"}, {L"用户", L"我的子"}, {L"甲", L"甲子"}};
    std::vector<std::wstring> tree;
    for (const std::wstring& c : categories)
        for (const std::wstring& n : {c, c + L"\\" + sub.at(c), c + L"\\收藏夹"}) tree.push_back(n);
    EXPECT_TRUE(tree == Tree());
    const std::wstring first = categories.front();
    const std::map<std::wstring, std::wstring> firstTip = {{L"乙", L"乙一"}, {L"甲", L"甲一"}, {L"用户", L"我的"}};
    EXPECT_TRUE(main.CategoryMode());
    EXPECT_TRUE(main.Toolbar1.Enabled(ToolbarKey::find));
    EXPECT_TRUE(main.Toolbar1.Enabled(ToolbarKey::open));
    EXPECT_TRUE(main.Toolbar1.Enabled(ToolbarKey::del));
    EXPECT_TRUE(Forms::Form3().Toolbar1.Enabled(L"xj"));
    EXPECT_TRUE(Forms::Form3().Toolbar1.Enabled(L"next"));
    ASSERT_EQ(1, main.ListView1.Count());
    EXPECT_EQ(Ansi(firstTip.at(first)), Ansi(main.ListView1.Text(1)));
    EXPECT_EQ(Ansi(L"Quorix 3.0 - " + first), Ansi(main.Caption()));
    // The file list still holds the data file, and a click loads it again.
    s.TreeView2_NodeClick(s.FindEntry(upd));
    EXPECT_FALSE(main.CategoryMode());
    EXPECT_EQ(Ansi(L"文件里的"), Ansi(main.ListView1.Text(1)));
}

TEST_F(ResetTest, AMissingDataFolderIsMadeAndFilled) {
    Start();
    DeleteFileW(Path(L"Data\\甲.qix").c_str());
    DeleteFileW(Path(L"Data\\用户.qix").c_str());
    ASSERT_TRUE(RemoveDirectoryW(Path(L"Data").c_str()));
    ExpectBox(IDYES, kQuestion);
    ExpectBox(IDOK, kDone);
    Reset();
    const std::map<std::wstring, std::string> expected = {{L"甲.qix", shippedA}, {L"乙.qix", shippedB}};
    EXPECT_TRUE(expected == DataFolder());
    EXPECT_EQ(6u, Tree().size());
}

TEST_F(ResetTest, NoCategoryAfterTheCopyLeavesNothingLoaded) {
    DeleteFileW(Path(L"Data\\甲.qix").c_str());
    DeleteFileW(Path(L"Data\\用户.qix").c_str());
    DeleteFileW(Path(L"Databak\\甲.qix").c_str());
    DeleteFileW(Path(L"Databak\\乙.qix").c_str());
    WriteBytes(Path(L"Databak\\说明.txt"), "readme");
    Form2& main = Start();
    ExpectBox(IDYES, kQuestion);
    ExpectBox(IDOK, kDone);
    Reset();
    EXPECT_EQ(1u, DataFolder().count(L"说明.txt"));
    EXPECT_EQ(0, shadow().TreeView1.Count());
    EXPECT_FALSE(main.Toolbar1.Enabled(ToolbarKey::open));
    EXPECT_FALSE(main.Toolbar1.Enabled(ToolbarKey::del));
    EXPECT_FALSE(Forms::Form3().Toolbar1.Enabled(L"xj"));
    EXPECT_FALSE(Forms::Form3().Toolbar1.Enabled(L"next"));
}

TEST_F(ResetTest, ANoOrAFileThatCannotBeCopiedOrReplacedChangesNoByte) {
    struct Case {
        const char* what;
        std::function<HANDLE(const std::wstring& dir)> before;  // may hold a file open for the reset
        bool yes;
    } cases[] = {
        {"No to the question", [](const std::wstring&) { return INVALID_HANDLE_VALUE; }, false},
        {"a target held open without write sharing",
         [](const std::wstring& d) {
             HANDLE h = CreateFileW((d + L"Data\\甲.qix").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
             EXPECT_NE(INVALID_HANDLE_VALUE, h);
             return h;
         },
         true},
        {"a shipped file that cannot be read",
         [](const std::wstring& d) {
             HANDLE h = CreateFileW((d + L"Databak\\乙.qix").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    0, nullptr);
             EXPECT_NE(INVALID_HANDLE_VALUE, h);
             return h;
         },
         true},
        {"a read-only target",
         [](const std::wstring& d) {
             SetFileAttributesW((d + L"Data\\甲.qix").c_str(), FILE_ATTRIBUTE_READONLY);
             return INVALID_HANDLE_VALUE;
         },
         true},
        {"no Databak",
         [](const std::wstring& d) {
             DeleteFileW((d + L"Databak\\甲.qix").c_str());
             DeleteFileW((d + L"Databak\\乙.qix").c_str());
             DeleteFileW((d + L"Databak\\旧\\丙.qix").c_str());
             RemoveDirectoryW((d + L"Databak\\旧").c_str());
             RemoveDirectoryW((d + L"Databak").c_str());
             return INVALID_HANDLE_VALUE;
         },
         true},
    };
    Form2& main = Start();
    const std::map<std::wstring, std::string> before = DataFolder();
    const std::vector<std::wstring> tree = Tree();
    ASSERT_EQ(5u, tree.size());  // 甲 and 收藏夹, 用户 with its sub-category and 收藏夹
    const int rows = main.ListView1.Count();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        HANDLE held = k.before(dir);
        boxes.clear();
        ExpectBox(k.yes ? IDYES : IDNO, kQuestion);
        if (k.yes) ExpectBox(IDOK, kFailed);
        Reset();
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        SetFileAttributesW(Path(L"Data\\甲.qix").c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_EQ(k.yes ? 2u : 1u, boxes.size());
        if (k.yes) {
            EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);
        }
        EXPECT_TRUE(before == DataFolder());
        EXPECT_TRUE(tree == Tree());
        EXPECT_EQ(rows, main.ListView1.Count());
    }
}
