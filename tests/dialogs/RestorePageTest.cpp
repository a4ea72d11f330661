// The restore page of the multi-page dialog, driven through its modal window:
// listing the day files, writing a day back, deleting day files.
#include "fixtures/ApplyFixture.h"
#include "dialogs/PagesFixture.h"
#include "dialogs/Form4.h"
#include "platform/Modal.h"
#include "support/DialogDriver.h"
#include "support/RealInput.h"

#include <functional>
#include <vector>

using std::string;
using std::wstring;

namespace {
const wstring FM(1, L'\xF8F5');
string Dword(uint32_t v) { return string(reinterpret_cast<const char*>(&v), 4); }
}  // namespace

class RestorePageTest : public ApplyFixture {
protected:
    // Opens the page from the main window; `work` runs once the modal dialog is up.
    void OpenPage(std::function<void(Form4&)> work) {
        bool ran = false;
        Modal::SetHookForTests([&](HWND h) {
            ran = true;
            Form4& f = Forms::Form4();
            ASSERT_EQ(f.hwnd(), h);
            ASSERT_TRUE(IsWindowVisible(h));
            EXPECT_FALSE(IsWindowEnabled(Forms::Form2().hwnd()));  // modal
            work(f);
        });
        Forms::Form2().OpenRestorePage();
        Modal::SetHookForTests(nullptr);
        EXPECT_TRUE(ran);
        EXPECT_TRUE(IsWindowEnabled(Forms::Form2().hwnd()));
    }
    static std::vector<wstring> Rows(Form4& f) {
        std::vector<wstring> out;
        for (int i = 1; i <= f.ListView1.Count(); ++i) out.push_back(f.ListView1.Text(i));
        return out;
    }
    static void DoubleClickRow(Form4& f, int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(f.ListView1.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
        SendMessageW(f.ListView1.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                     MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    }
    static void PostKey(Form4& f, WPARAM vk) { PostMessageW(f.ListView1.hwnd(), WM_KEYDOWN, vk, 0); }
    void WriteDayFile(const wstring& day, const wstring& section, const wstring& tip, const wstring& record) {
        ASSERT_TRUE(Ini::Write(BakFile(day), section, tip, record));
    }
    static wstring Record(const wstring& keyPath, const wstring& name, const wstring& data, const wstring& type) {
        return keyPath + FM + name + FM + data + FM + type;
    }
};

TEST_F(RestorePageTest, ListsDayFilesByTextDescending) {
    for (const wchar_t* day : {L"01-05-2002", L"12-31-2001", L"05-06-2026"})
        ASSERT_TRUE(App::CreateEmptyFile(BakFile(day)));
    ASSERT_TRUE(CreateDirectoryW(Path(L"Bak\\07-07-2007.bak").c_str(), nullptr));  // a folder
    ASSERT_TRUE(App::CreateEmptyFile(Path(L"Bak\\.hidden.bak")));
    ASSERT_TRUE(App::CreateEmptyFile(Path(L"Bak\\notes.txt")));
    ASSERT_TRUE(App::CreateEmptyFile(Path(L"Bak\\08-08-2008.bakup")));
    SetFileAttributesW(BakFile(L"01-05-2002").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);

    OpenPage([&](Form4& f) {
        EXPECT_EQ(Ansi(L"恢复窗口"), Ansi(f.Caption()));
        EXPECT_EQ(Ansi(L"使用恢复文件进行还原"), Ansi(f.Label28.Caption()));
        EXPECT_EQ(Ansi(L"使用后将会把恢复文件日期的最后一次操作的数据还原"), Ansi(f.Label29.Caption()));
        EXPECT_EQ(Ansi(L"开始恢复(&S)"), Ansi(f.Command22.Caption()));
        EXPECT_EQ(Ansi(L"删除(&D)"), Ansi(f.Command23.Caption()));
        EXPECT_EQ(Ansi(L"退出"), Ansi(f.Command24.Caption()));
        std::vector<wstring> expected = {L"12-31-2001", L"05-06-2026", L"01-05-2002"};
        EXPECT_EQ(expected, Rows(f));
        EXPECT_TRUE(f.ListView1.Selected(1));
        EXPECT_EQ(1, f.ListView1.SelectedCount());
        EXPECT_EQ(static_cast<DWORD>(LV_VIEW_ICON), f.ListView1.View());
        EXPECT_EQ(6, f.ListView1.SubIcon(1, 0));
        EXPECT_TRUE(f.Command22.Enabled() && f.Command22.Visible());
        EXPECT_TRUE(f.Command23.Enabled());
        f.Command24.PerformClick();
        EXPECT_FALSE(f.Exists());
    });
    SetFileAttributesW(BakFile(L"01-05-2002").c_str(), FILE_ATTRIBUTE_NORMAL);

    // No Bak folder: an empty list, nothing to restore or delete; Esc leaves.
    for (const wstring& name : App::ListFiles(Path(L"Bak"), L"*")) ASSERT_TRUE(App::RemoveFile(Path(L"Bak\\" + name)));
    ASSERT_TRUE(RemoveDirectoryW(Path(L"Bak\\07-07-2007.bak").c_str()));
    ASSERT_TRUE(RemoveDirectoryW(Path(L"Bak").c_str()));
    ASSERT_FALSE(App::FolderExists(Path(L"Bak")));
    OpenPage([&](Form4& f) {
        EXPECT_EQ(0, f.ListView1.Count());
        EXPECT_FALSE(f.Command22.Enabled());
        EXPECT_FALSE(f.Command23.Enabled());
        PostKey(f, VK_ESCAPE);
    });
    EXPECT_EQ(nullptr, Forms::IfLoaded<::Form4>());  // Esc unloaded the dialog
}

// Tips applied from the main window and restored from the page opened there:
// the values return to their state, and the restore neither colours rows nor
// adds log entries.
TEST_F(RestorePageTest, RestoreThroughTheWindowsIsSilent) {
    TestReg::Set(Sub(), "old", REG_SZ, Sz("before"));
    Form2& form = Forms::Form2();
    AddRow({L"改", L"0", L"old", L"after"});
    AddRow({L"新", L"2", L"new", L"1a"});
    AddRow({L"坏", L"2", L"bad", L"zz"});
    form.StartWork();
    ASSERT_EQ(Sz("after"), Stored("old").second);

    for (int row = 1; row <= form.ListView1.Count(); ++row) form.ListView1.SetForeColor(row, RGB(1, 2, 3));
    const string logBefore = ReadBytes(LogFile());
    ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
    ExpectBox(IDOK, L"还原完成。");
    OpenPage([&](Form4& f) {
        ASSERT_EQ(1, f.ListView1.Count());
        PostKey(f, VK_RETURN);  // Enter: the default button
        PostKey(f, VK_ESCAPE);
    });
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes[1].style & MB_ICONMASK);

    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), Sz("before")), Stored("old"));
    EXPECT_EQ(kMissing, Stored("new").first);
    for (int row = 1; row <= form.ListView1.Count(); ++row) EXPECT_EQ(RGB(1, 2, 3), Colour(row));
    EXPECT_EQ(logBefore, ReadBytes(LogFile()));
    EXPECT_EQ(WriteModes::None, form.WriteMode);
}

// A double-click on a day runs the restore; records that cannot be written
// back are counted in a critical message (each type is the engine's test).
TEST_F(RestorePageTest, DoubleClickRestoresAndReportsRecordsNotRestored) {
    const wstring key = Key();
    WriteDayFile(kDay, L"系统设置", L"负一", Record(key, L"dwm1", L"-1", L"4"));
    WriteDayFile(kDay, L"系统设置", L"旧七", Record(key, L"untouched", L"", L"7"));
    WriteDayFile(kDay, L"系统设置\\开始菜单", L"缺标记", key + FM + L"untouched" + FM + L"1");

    ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
    ExpectBox(IDOK, L"还原未全部完成：有 2 项数据没有还原。");
    OpenPage([&](Form4& f) {
        ASSERT_EQ(1, f.ListView1.Count());
        DoubleClickRow(f, 1);
        f.Command24.PerformClick();
    });
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(0xFFFFFFFFu)), Stored("dwm1"));
    EXPECT_EQ(kMissing, Stored("untouched").first);
    EXPECT_EQ(WriteModes::None, Forms::Form2().WriteMode);
}

TEST_F(RestorePageTest, DeletesSelectedDayFiles) {
    for (const wchar_t* day : {L"01-01-2026", L"02-01-2026", L"03-01-2026", L"04-01-2026"})
        ASSERT_TRUE(App::CreateEmptyFile(BakFile(day)));
    // The second of three selected files is held open and cannot be deleted.
    HANDLE lock = CreateFileW(BakFile(L"03-01-2026").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    ExpectBox(IDNO, L"你确定要将选定的恢复文件删除吗？");
    ExpectBox(IDYES, L"你确定要将选定的恢复文件删除吗？");
    ExpectBox(IDOK, L"删除指定的恢复文件失败。");
    ExpectBox(IDYES, L"你确定要将选定的恢复文件删除吗？");
    OpenPage([&](Form4& f) {
        ASSERT_EQ((std::vector<wstring>{L"04-01-2026", L"03-01-2026", L"02-01-2026", L"01-01-2026"}), Rows(f));
        for (int row : {1, 2, 3}) f.ListView1.SetSelected(row, true);
        f.Command23.PerformClick();  // No: nothing happens
        EXPECT_EQ(4, f.ListView1.Count());
        EXPECT_TRUE(App::FileExists(BakFile(L"04-01-2026")));

        f.Command23.PerformClick();  // the first goes, the second fails, the third is not reached
        EXPECT_FALSE(App::FileExists(BakFile(L"04-01-2026")));
        EXPECT_TRUE(App::FileExists(BakFile(L"03-01-2026")));
        EXPECT_TRUE(App::FileExists(BakFile(L"02-01-2026")));
        EXPECT_EQ((std::vector<wstring>{L"03-01-2026", L"02-01-2026", L"01-01-2026"}), Rows(f));
        EXPECT_TRUE(f.Command22.Enabled());

        CloseHandle(lock);
        for (int row = 1; row <= f.ListView1.Count(); ++row) f.ListView1.SetSelected(row, true);
        f.Command23.PerformClick();
        EXPECT_EQ(0, f.ListView1.Count());
        EXPECT_FALSE(f.Command22.Enabled());
        EXPECT_FALSE(f.Command23.Enabled());
        f.Command24.PerformClick();
    });
    EXPECT_TRUE(App::ListFiles(Path(L"Bak"), L"*").empty());
}

// A day that vanished after the page listed it, or that holds no record, is not
// reported as restored: the message says that nothing was written back.
TEST_F(RestorePageTest, MissingOrEmptyDayIsNotReportedAsRestored) {
    struct Case {
        const wchar_t* day;
        std::string bytes;
        bool removeBeforeRestore;
        const wchar_t* message;
    } cases[] = {
        {L"01-01-2020", "", true, L"恢复文件“01-01-2020.bak”已不存在，没有还原任何数据。"},
        {L"02-02-2020", "", false, L"恢复文件“02-02-2020.bak”中没有任何数据，没有还原任何数据。"},
        {L"03-03-2020", "[cat]\r\n", false, L"恢复文件“03-03-2020.bak”中没有任何数据，没有还原任何数据。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Ansi(c.day));
        for (const std::wstring& name : App::ListFiles(Path(L"Bak"), L"*.bak")) App::RemoveFile(Path(L"Bak\\" + name));
        WriteBytes(BakFile(c.day), c.bytes);
        boxes.clear();
        ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
        ExpectBox(IDOK, c.message);
        OpenPage([&](Form4& f) {
            ASSERT_EQ(1, f.ListView1.Count());
            if (c.removeBeforeRestore) {
                ASSERT_TRUE(App::RemoveFile(BakFile(c.day)));
            }
            f.Command22_Click();
            f.Command24_Click();
        });
        ASSERT_EQ(2u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);
    }
}

// A day file another program holds without sharing: the restore says it
// cannot be read (not that it is empty), restores nothing and keeps the file;
// a restore of many records moves the main window's progress bar.
TEST_F(RestorePageTest, AHeldDayIsToldAsUnreadableAndALongRestoreShowsProgress) {
    const wstring key = Key();
    std::string bytes = "[cat]\r\n";
    for (int i = 0; i < 3000; ++i)
        bytes += Ansi(L"t" + std::to_wstring(i) + L"=" + Record(key, L"r" + std::to_wstring(i), L"x", L"1")) + "\r\n";
    WriteBytes(BakFile(), bytes);
    HANDLE held = CreateFileW(BakFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
    ExpectBox(IDOK, L"无法读取恢复文件“" + kDay + L".bak”：文件已被其它程序打开，或者没有读取权限。没有还原任何数据，恢复文件没有改变。");
    OpenPage([&](Form4& f) {
        f.Command22_Click();
        f.Command24_Click();
    });
    CloseHandle(held);
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);
    EXPECT_EQ(kMissing, Stored("r0").first);
    EXPECT_EQ(bytes, ReadBytes(BakFile()));

    // Released: every record comes back, and the bar follows the restore to its end.
    ProgressBar& bar = Forms::Form2().ProgressBar1;
    bar.SetValue(0);
    ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
    ExpectBox(IDOK, L"还原完成。");
    OpenPage([&](Form4& f) {
        f.Command22_Click();
        f.Command24_Click();
    });
    EXPECT_EQ(3000, bar.Max());
    EXPECT_EQ(3000, bar.Value());
    EXPECT_FALSE(bar.Visible());
    EXPECT_EQ(Sz("x"), Stored("r2999").second);
}

// The dialog opens at the centre of the screen, whatever page its opener shows.
TEST_F(RestorePageTest, DialogOpensAtTheCentreOfTheScreen) {
    OpenPage([&](Form4& f) {
        RECT r{};
        GetWindowRect(f.hwnd(), &r);
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        EXPECT_NEAR(cx / 2, (r.left + r.right) / 2, 1);
        EXPECT_NEAR(cy / 2, (r.top + r.bottom) / 2, 1);
        EXPECT_GT(r.left, 0);
        f.Command24_Click();
    });
}

// The page comes out on the screen whole: the list's container never paints
// over the header above the list.
TEST_F(RestorePageTest, EveryControlShowsOnScreen) {
    ASSERT_TRUE(App::CreateEmptyFile(BakFile(L"12-31-2001")));
    OpenPage([&](Form4& f) {
        EXPECT_EQ(std::vector<std::string>{},
                  PaintedOver(f.hwnd(), {{"Frame7", &f.Frame7}, {"Label28", &f.Label28}, {"Label29", &f.Label29},
                                         {"Frame6", &f.Frame6}, {"ListView1", &f.ListView1},
                                         {"Command22", &f.Command22}, {"Command24", &f.Command24}}));
        // The banner's picture: the clock.
        EXPECT_NE(0, SendMessageW(f.Image9.hwnd(), STM_GETICON, 0, 0));
        f.Command24_Click();
    });
}

// For docs/screenshots/restore.png (only with QUORIX_SHOT_MARK set).
TEST_F(RestorePageTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    for (const wchar_t* day : {L"12-31-2001", L"05-06-2026", L"01-05-2002"})
        ASSERT_TRUE(App::CreateEmptyFile(BakFile(day)));
    OpenPage([&](Form4& f) {
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command24_Click();
    });
}

// After the page's own boxes (the question answered 否, and "还原完成。"),
// the system's message boxes here, the list has the keyboard again: an arrow
// key moves to the next day.
TEST_F(RestorePageTest, TheListHasTheKeyboardAfterThePagesBoxes) {
    const wstring key = Key();
    WriteDayFile(kDay, L"系统设置", L"一", Record(key, L"v", L"1", L"4"));
    ASSERT_TRUE(App::CreateEmptyFile(BakFile(L"01-01-2020")));
    App::SetMsgBoxResponder(nullptr);
    OpenPage([&](Form4& f) {
        ASSERT_EQ(2, f.ListView1.Count());
        for (const bool restore : {false, true}) {
            SCOPED_TRACE(restore ? "restored" : "not restored");
            f.ListView1.SetSelected(2, false);
            f.ListView1.SetSelected(1, true);
            f.ListView1.SetSelectedItem(1);
            f.ListView1.SetFocus();
            std::vector<wstring> said;
            DialogDriver drive({[&](HWND box) {
                                    if (!box) return false;
                                    said.push_back(DialogDriver::BoxText(box));
                                    DialogDriver::Click(box, restore ? IDYES : IDNO);
                                    return true;
                                },
                                [&](HWND box) {
                                    if (!restore) return true;
                                    if (!box || DialogDriver::BoxText(box) == said.front()) return false;
                                    said.push_back(DialogDriver::BoxText(box));
                                    DialogDriver::Click(box, IDOK);
                                    return true;
                                }});
            RealInput::Key(VK_RETURN);  // the default button, 开始恢复
            for (int i = 0; i < 150 && !drive.Finished(); ++i) {
                Modal::DoEvents();
                Sleep(20);
            }
            ASSERT_TRUE(drive.Finished());
            ASSERT_EQ(restore ? 2u : 1u, said.size());
            if (restore) {
                EXPECT_EQ(Ansi(L"还原完成。"), Ansi(said[1]));
            }
            for (int i = 0; i < 10; ++i) {
                Modal::DoEvents();
                Sleep(10);
            }
            EXPECT_EQ(f.ListView1.hwnd(), GetFocus());
            RealInput::Key(VK_RIGHT);  // the days stand side by side, as icons
            for (int i = 0; i < 15; ++i) {
                Modal::DoEvents();
                Sleep(10);
            }
            EXPECT_TRUE(f.ListView1.Selected(2));
        }
        f.Command24.PerformClick();
    });
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(1)), Stored("v"));
}
