// The file-information page: opened by the category window's info for the
// selected tip data file, read-only until 修改, saved by 保存, and its links.
#include "dialogs/Form4.h"
#include "dialogs/PagesFixture.h"
#include "fixtures/LibraryFixture.h"
#include "library/FileInfo.h"
#include "platform/Modal.h"

#include <functional>

using namespace Bytes;

class FileInfoPageTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        WriteCategory(L"cat.qix", Section(Data));
    }
    void TearDown() override {
        Modal::SetHookForTests(nullptr);
        LibraryTest::TearDown();
    }
    // Opens the page on `file` and runs `work` while it is up.
    void WithPage(const std::wstring& file, const std::function<void(::Form4&)>& work) {
        ::frmShadow& s = shadow();
        s.AddOrSelectEntry(file);
        s.Toolbar1.SetEnabled(L"info", true);  // as the commands that list a file leave it
        bool ran = false;
        Modal::SetHookForTests([&](HWND) {
            ran = true;
            work(Forms::Form4());
        });
        s.Toolbar1.Click(L"info");
        EXPECT_TRUE(ran);
    }
    static std::vector<std::wstring> Boxes(::Form4& f) {
        return {f.Text7.Text(), f.Text8.Text(), f.Text9.Text(), f.Text10.Text(), f.Text11.Text()};
    }
    static bool AllLocked(::Form4& f, bool locked) {
        for (EditBox* b : {&f.Text7, &f.Text8, &f.Text9, &f.Text10, &f.Text11})
            if (b->Locked() != locked) return false;
        return true;
    }
};

TEST_F(FileInfoPageTest, MissingSectionThenSaveWritesItByteForByte) {
    const std::wstring file = Path(L"a.upd");
    WriteBytes(file, Section(Data));
    WithPage(file, [&](::Form4& f) {
        EXPECT_EQ(L"文件信息", f.Caption());
        EXPECT_TRUE(f.Picture4.Visible());
        EXPECT_EQ(5295, f.Width());
        EXPECT_EQ(std::vector<std::wstring>(5, L""), Boxes(f));
        EXPECT_TRUE(AllLocked(f, true));
        EXPECT_EQ(L"修改(&W)", f.Command12.Caption());
        f.Command12.PerformClick();
        EXPECT_EQ(L"保存(&S)", f.Command12.Caption());
        EXPECT_TRUE(AllLocked(f, false));
        f.Text7.SetText(L"  说明 ");
        f.Text8.SetText(L" 李四");
        f.Text10.SetText(L"x@y.z ");
        f.Command12.PerformClick();
        EXPECT_TRUE(AllLocked(f, true));
        EXPECT_EQ(L"修改(&W)", f.Command12.Caption());
    });
    EXPECT_EQ(Section(Data) + "[Fileinfo]\r\nUse=" + Ansi(L"说明") + "\r\nauthor=" + Ansi(L"李四") +
                  "\r\nWeb=\r\nemail=x@y.z\r\nother=\r\n",
              ReadBytes(file));
}

TEST_F(FileInfoPageTest, ClosingWhileEditingWritesNothing) {
    const std::wstring file = Path(L"b.upd");
    const std::string bytes = "[Fileinfo]\r\nUse=u\r\nauthor=  a  \r\nWeb=w\r\nemail=e\r\nother=o\r\n";
    WriteBytes(file, bytes);
    for (bool esc : {false, true}) {
        SCOPED_TRACE(esc ? "Esc" : "关闭");
        WithPage(file, [&](::Form4& f) {
            EXPECT_EQ((std::vector<std::wstring>{L"u", L"a", L"w", L"e", L"o"}), Boxes(f));
            f.Command12.PerformClick();
            f.Text8.SetText(L"changed");
            if (esc) SendMessageW(f.hwnd(), WM_COMMAND, IDCANCEL, 0);
            else f.Command11.PerformClick();
            EXPECT_FALSE(f.Exists());
        });
        EXPECT_EQ(bytes, ReadBytes(file));
    }
}

TEST_F(FileInfoPageTest, RefusedOrFailedSaveKeepsTheTextEditable) {
    const std::wstring file = Path(L"c.upd");
    const std::string bytes = "[Fileinfo]\r\nUse=u\r\n";
    WriteBytes(file, bytes);
    WithPage(file, [&](::Form4& f) {
        f.Command12.PerformClick();
        // Text the file cannot hold: refused before anything is written.
        for (const std::wstring& bad : {std::wstring(L"a\r\nb"), L"x" + Marks::FieldMark, std::wstring(L"\u00e9\u0e01")}) {
            f.Text11.SetText(bad);
            ExpectBox(IDOK);
            f.Command12.PerformClick();
            EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
            EXPECT_EQ(bad, f.Text11.Text());
            EXPECT_TRUE(AllLocked(f, false));
        }
        EXPECT_EQ(bytes, ReadBytes(file));
        // The file held open without sharing: the write fails and is reported.
        f.Text11.SetText(L"kept");
        HANDLE held = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        ExpectBox(IDOK);
        f.Command12.PerformClick();
        CloseHandle(held);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
        EXPECT_EQ(L"kept", f.Text11.Text());
        EXPECT_EQ(L"保存(&S)", f.Command12.Caption());
        EXPECT_TRUE(AllLocked(f, false));
    });
    EXPECT_EQ(bytes, ReadBytes(file));
}

TEST_F(FileInfoPageTest, LinksOpenOnlySafeAddresses) {
    struct Case {
        std::wstring web, expected;  // expected empty: nothing opened
    } web[] = {
        {L" http://a.example/x ", L"http://a.example/x"},
        {L"https://b.example", L"https://b.example"},
        {L"www.c.example", L"http://www.c.example"},
        {L"javascript:alert(1)", L""},
        {L"file:///C:/x.exe", L""},
        {L"C:\\x.exe", L""},
        {L"   ", L""},
    };
    struct Mail {
        std::wstring mail, expected;
    } mail[] = {
        {L" me@d.example ", L"mailto:me@d.example"},
        {L"me@d.example?subject=x", L""},
        {L"a@b&c", L""},
        {L"a@b\r\nBcc:c", L""},
        {L"  ", L""},
    };
    const std::wstring file = Path(L"d.upd");
    WriteBytes(file, "");
    WithPage(file, [&](::Form4& f) {
        for (const auto& c : web) {
            launches.clear();
            f.Text9.SetText(c.web);
            SendMessageW(f.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f.Label24.hwnd()), STN_CLICKED),
                         reinterpret_cast<LPARAM>(f.Label24.hwnd()));
            if (c.expected.empty()) {
                EXPECT_TRUE(launches.empty()) << Ansi(c.web);
                continue;
            }
            ASSERT_EQ(1u, launches.size()) << Ansi(c.web);
            EXPECT_EQ(c.expected, launches[0].target);
            EXPECT_EQ(L"open", launches[0].verb);
            EXPECT_EQ(SW_SHOWNORMAL, launches[0].show);
        }
        for (const auto& c : mail) {
            launches.clear();
            f.Text10.SetText(c.mail);
            f.Label25_Click();
            if (c.expected.empty()) {
                EXPECT_TRUE(launches.empty()) << Ansi(c.mail);
                continue;
            }
            ASSERT_EQ(1u, launches.size());
            EXPECT_EQ(c.expected, launches[0].target);
            EXPECT_EQ(SW_SHOWNORMAL, launches[0].show);
        }
    });
}

// The page comes out on the screen whole: its container never paints over
// the boxes, the links, the lines or the buttons.
TEST_F(FileInfoPageTest, EveryControlShowsOnScreen) {
    const std::wstring file = Path(L"a.upd");
    WriteBytes(file, Section(Data));
    WithPage(file, [&](::Form4& f) {
        EXPECT_EQ(std::vector<std::string>{},
                  PaintedOver(f.hwnd(), {{"Image7", &f.Image7}, {"Text7", &f.Text7}, {"Label20", &f.Label20},
                                         {"Text8", &f.Text8}, {"Label24", &f.Label24}, {"Label25", &f.Label25},
                                         {"Text11", &f.Text11}, {"Text9", &f.Text9}, {"Command12", &f.Command12},
                                         {"Command11", &f.Command11}}));
        f.Command11.PerformClick();
    });
}

// For docs/screenshots/fileinfo.png (only with QUORIX_SHOT_MARK set).
TEST_F(FileInfoPageTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    const std::wstring file = Path(L"info.upd");
    WriteBytes(file, Section(Data));
    ASSERT_TRUE(FileInfo::Write(file, {L"开始菜单与任务栏的技巧", L"张三", L"https://example.com/", L"zhang@example.com",
                                       L"第二版"}));
    WithPage(file, [&](::Form4& f) {
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command11.PerformClick();
    });
}
