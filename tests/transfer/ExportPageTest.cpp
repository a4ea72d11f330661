// The export page of the multi-page dialog, opened from the main toolbar and
// driven inside its modal loop: the format list, the tabs, the file-information
// defaults, 确定 / Enter / Esc and the shared double-click handler.
#include "ExportFixture.h"
#include "dialogs/PagesFixture.h"
#include "common/Config.h"
#include "common/Ini.h"
#include "engine/Backup.h"

#include "support/DialogDriver.h"
#include "support/RealInput.h"

#include <algorithm>
#include <set>

using std::wstring;

namespace {
// Answers a file save dialog: saves to `target`, or cancels.
void AnswerSaveDialog(HWND d, bool save, const wstring& target) {
    if (save) {
        SetWindowTextW(DialogDriver::FileNameBox(d), target.c_str());
        DialogDriver::Click(d, IDOK);
    } else {
        DialogDriver::Click(d, IDCANCEL);
    }
}

// Pumps until the driver has done its steps (3 s at most), then until no
// dialog is left up (0.5 s at most); whether the steps were done.
bool WaitTillAnswered(const DialogDriver& drive) {
    for (int i = 0; i < 300 && !drive.Finished(); ++i) {
        Modal::DoEvents();
        Sleep(10);
    }
    for (int i = 0; i < 50 && drive.Finished() && DialogDriver::TopDialog(); ++i) {
        Modal::DoEvents();
        Sleep(10);
    }
    return drive.Finished();
}

const std::vector<wstring> kFormats = {L"技巧数据文件", L"注册表文件(Win9x/Me)", L"注册表文件(Win2000/XP)",
                                       L"文本文件", L"超文本文件"};

std::vector<wstring> Rows(Form4& f) {
    std::vector<wstring> out;
    for (int i = 1; i <= f.ListView1.Count(); ++i) out.push_back(f.ListView1.Text(i));
    return out;
}
int SelectedRow(Form4& f) {
    for (int i = 1; i <= f.ListView1.Count(); ++i)
        if (f.ListView1.Selected(i)) return i;
    return 0;
}
// Clicks a tab as the user does; the tab strip tells the dialog itself.
void ClickTab(Form4& f, int tab) {
    RECT r{};
    SendMessageW(f.TabStrip1.hwnd(), TCM_GETITEMRECT, tab - 1, reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(f.TabStrip1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(f.TabStrip1.hwnd(), WM_LBUTTONUP, 0, at);
}
bool OnFormatTab(Form4& f) {
    return f.Frame6.Visible() && f.ListView1.Visible() && !f.Frame8.Visible() && !f.Text1.Visible() &&
           !f.Command20.Visible();
}
// The format rows whose text does not show whole while the row is not the
// focused one: the list draws the focused row's text whole, and any other
// row's text in at most two lines with a word too wide for its room cut with
// "...", so a label smaller than the same row's focused label is cut.
std::vector<std::string> CutFormatTexts(Form4& f) {
    std::vector<std::string> out;
    HWND list = f.ListView1.hwnd();
    f.ListView1.SetFocus();
    auto label = [list](int row) {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
        return r;
    };
    auto focus = [list](int row) {
        LVITEMW it{};
        it.stateMask = LVIS_FOCUSED;
        it.state = LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&it));
    };
    const int count = f.ListView1.Count();
    for (int row = 1; row <= count; ++row) {
        focus(row);
        const RECT whole = label(row);
        focus(row == 1 ? 2 : 1);
        const RECT shown = label(row);
        if (shown.right - shown.left < whole.right - whole.left || shown.bottom - shown.top < whole.bottom - whole.top)
            out.push_back(Ansi(f.ListView1.Text(row)) + " shows " + std::to_string(shown.right - shown.left) + "x" +
                          std::to_string(shown.bottom - shown.top) + " of " +
                          std::to_string(whole.right - whole.left) + "x" + std::to_string(whole.bottom - whole.top) +
                          " spacing " + std::to_string(LOWORD(SendMessageW(list, LVM_GETITEMSPACING, FALSE, 0))));
    }
    return out;
}
bool OnInfoTab(Form4& f) {
    return !f.Frame6.Visible() && !f.ListView1.Visible() && f.Frame8.Visible() && f.Text1.Visible() &&
           f.Text6.Visible() && f.Command20.Visible();
}
}  // namespace

class ExportPageTest : public ExportFixture {};

// Every opening starts afresh: five rows with their own icons, tab 1, the boxes
// filled from [Fileinfo] trimmed; the restore page's buttons stay hidden.
TEST_F(ExportPageTest, OpensWithFiveFormatsAndTheTrimmedDefaults) {
    ASSERT_TRUE(Ini::Write(Config::Path(), L"Fileinfo", L"author", L"  作者甲  "));
    ASSERT_TRUE(Ini::Write(Config::Path(), L"Fileinfo", L"Web", L"https://example.com/ "));
    for (int opening = 0; opening < 2; ++opening) {
        OpenPage([&](Form4& f) {
            EXPECT_EQ(Ansi(L"导出技巧"), Ansi(f.Caption()));
            EXPECT_EQ(kFormats, Rows(f));
            for (int i = 1; i <= 5; ++i) EXPECT_EQ(i, f.ListView1.SubIcon(i, 0));
            EXPECT_GE(ImageList_GetImageCount(f.ImageList1.handle()), 5);
            EXPECT_EQ(static_cast<DWORD>(LV_VIEW_ICON), f.ListView1.View());
            EXPECT_TRUE(GetWindowLongPtrW(f.ListView1.hwnd(), GWL_STYLE) & LVS_SINGLESEL);
            EXPECT_EQ(0, SelectedRow(f));
            EXPECT_EQ(1, f.TabStrip1.SelectedIndex());
            EXPECT_TRUE(OnFormatTab(f));
            EXPECT_TRUE(f.Command18.Visible() && f.Command19.Visible() && f.Frame7.Visible());
            EXPECT_FALSE(f.Command22.Visible() || f.Command23.Visible() || f.Command24.Visible());
            EXPECT_EQ(Ansi(L"作者甲"), Ansi(f.Text1.Text()));
            EXPECT_EQ("https://example.com/", Ansi(f.Text4.Text()));
            EXPECT_EQ("", Ansi(f.Text5.Text()));
            EXPECT_EQ(5505, f.Width());
            EXPECT_EQ(4005, f.Height());
            PostMessageW(f.ListView1.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);  // Esc: 取消
        });
    }
    EXPECT_TRUE(saves.empty());
}

// 保存 writes the four boxes trimmed (an empty box as an empty value) while the
// boxes keep what was typed; text config.ini cannot keep is refused whole.
TEST_F(ExportPageTest, SaveWritesTheBoxesTrimmedAndKeepsThePageOpen) {
    OpenPage([&](Form4& f) {
        ClickTab(f, 2);
        ASSERT_TRUE(OnInfoTab(f));
        f.Text1.SetText(L"  新作者  ");
        f.Text4.SetText(L" https://example.org/");
        f.Text5.SetText(L"me@example.org ");
        f.Text6.SetText(L"");
        f.Command20.PerformClick();
        EXPECT_EQ(Ansi(L"  新作者  "), Ansi(f.Text1.Text()));
        EXPECT_TRUE(f.Exists() && OnInfoTab(f));

        ExpectBox(IDOK);
        f.Text6.SetText(L"a" + FM + L"b");
        f.Command20.PerformClick();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_EQ(Ansi(L"  新作者  "), Ansi(f.Text1.Text()));
        f.Command19.PerformClick();
    });
    EXPECT_EQ(Ansi(L"新作者"), Ansi(Ini::Read(Config::Path(), L"Fileinfo", L"author")));
    EXPECT_EQ("https://example.org/", Ansi(Ini::Read(Config::Path(), L"Fileinfo", L"Web")));
    EXPECT_EQ("me@example.org", Ansi(Ini::Read(Config::Path(), L"Fileinfo", L"email")));
    const std::vector<wstring> keys = Ini::Keys(Config::Path(), L"Fileinfo");
    EXPECT_NE(keys.end(), std::find(keys.begin(), keys.end(), L"other"));  // written, empty
    EXPECT_EQ("", Ansi(Ini::Read(Config::Path(), L"Fileinfo", L"other")));

    // A config.ini that cannot be written (a folder of that name): a critical
    // message that counts the keys not written; the page stays open.
    ASSERT_TRUE(DeleteFileW(Config::Path().c_str()));
    ASSERT_TRUE(CreateDirectoryW(Config::Path().c_str(), nullptr));
    ExpectBox(IDOK, L"保存文件信息设置失败：有 4 项没有写入 config.ini。");
    OpenPage([&](Form4& f) {
        f.Text1.SetText(L"另一个");
        f.Command20.PerformClick();
        EXPECT_TRUE(f.Exists());
        f.Command19.PerformClick();
    });
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);
    ASSERT_TRUE(RemoveDirectoryW(Config::Path().c_str()));
}

// The tabs switch the frames and keep the format chosen; 确定 on tab 2 and
// Enter export in that format, each through a new save dialog, and the page
// stays open on the same tab with the same selection.
TEST_F(ExportPageTest, TabsKeepTheSelectionAndOkExportsFromEitherTab) {
    Select({L"双字"});
    const wstring txt = Path(L"a.txt"), again = Path(L"b.txt");
    answers = {txt, again, L""};
    OpenPage([&](Form4& f) {
        f.ListView1.SetSelectedItem(4);
        ClickTab(f, 2);
        EXPECT_TRUE(OnInfoTab(f));
        EXPECT_EQ(2, f.TabStrip1.SelectedIndex());
        f.Command18.PerformClick();  // 确定 on tab 2
        EXPECT_EQ(2, f.TabStrip1.SelectedIndex());
        ClickTab(f, 1);
        EXPECT_TRUE(OnFormatTab(f));
        EXPECT_EQ(4, SelectedRow(f));
        EXPECT_EQ(1, f.ListView1.SelectedCount());
        EXPECT_EQ(1u, saves.size());
        // Enter: 确定 again (then once more, cancelled), then Esc; the keys go
        // through the dialog's own loop once this returns.
        f.ListView1.SetFocus();
        for (WPARAM key : {VK_RETURN, VK_RETURN, VK_ESCAPE}) PostMessageW(f.ListView1.hwnd(), WM_KEYDOWN, key, 0);
    });
    ASSERT_EQ(3u, saves.size());
    for (const SaveCall& s : saves) EXPECT_EQ(Ansi(L"导出为文本文件"), Ansi(s.title));
    const std::string expected = ReadBytes(txt);
    EXPECT_NE(std::string::npos, expected.find(Ansi(L"【双字】")));
    EXPECT_EQ(expected, ReadBytes(again));
}

// With no format selected 确定 does nothing; a double-click on a row runs its
// export at once, one on empty space nothing.
TEST_F(ExportPageTest, DoubleClickRunsTheRowsExportAndNothingElse) {
    Select({L"字符串"});
    answers = {Path(L"page")};
    OpenPage([&](Form4& f) {
        f.Command18.PerformClick();
        EXPECT_TRUE(saves.empty());
        const int row = FormatRow(f, L"超文本文件");
        f.ListView1.SetSelectedItem(row);  // the first click of the double-click
        DoubleClickAt(f, RowCentre(f, row));
        EXPECT_EQ(1u, saves.size());
        RECT client{};
        GetClientRect(f.ListView1.hwnd(), &client);
        POINT empty{client.right - 3, client.bottom - 3};
        EXPECT_EQ(0, f.ListView1.HitTest(empty));
        DoubleClickAt(f, empty);
        EXPECT_EQ(1u, saves.size());
        EXPECT_TRUE(f.Exists());
        f.Command19.PerformClick();
    });
    ASSERT_EQ(1u, saves.size());
    EXPECT_EQ(Ansi(L"保存为超文本文件"), Ansi(saves[0].title));
    EXPECT_NE(std::string::npos, ReadBytes(Path(L"page.htm")).find(Ansi(L"【字符串】")));
}

// The same handler under the restore page's caption restores the day under the
// pointer and never exports.
TEST_F(ExportPageTest, DoubleClickUnderTheRestoreCaptionRestores) {
    ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
    ASSERT_TRUE(App::CreateEmptyFile(Backup::DayFile(L"05-06-2026")));
    ExpectBox(IDNO, L"您确定要使用选定的恢复文件进行还原吗？");
    bool ran = false;
    Modal::SetHookForTests([&](HWND) {
        ran = true;
        Form4& f = Forms::Form4();
        ASSERT_EQ(1, f.ListView1.Count());
        DoubleClickAt(f, RowCentre(f, 1));
        f.Command24.PerformClick();
    });
    main().OpenRestorePage();
    EXPECT_TRUE(ran);
    EXPECT_EQ(1u, boxes.size());
    EXPECT_TRUE(saves.empty());
}

// Both tabs come out on the screen whole: the page's container never paints
// over the header, the tab strip, the list or the boxes.
TEST_F(ExportPageTest, EveryControlOfBothTabsShowsOnScreen) {
    OpenPage([&](Form4& f) {
        EXPECT_EQ(std::vector<std::string>{},
                  PaintedOver(f.hwnd(), {{"Label28", &f.Label28}, {"Label29", &f.Label29}, {"Frame7", &f.Frame7},
                                         {"TabStrip1", &f.TabStrip1}, {"Frame6", &f.Frame6},
                                         {"ListView1", &f.ListView1}, {"Command18", &f.Command18},
                                         {"Command19", &f.Command19}}));
        EXPECT_EQ(std::vector<std::string>{}, CutFormatTexts(f));
        // All five rows inside the list, with no scrolling.
        RECT client{};
        GetClientRect(f.ListView1.hwnd(), &client);
        for (int row = 1; row <= f.ListView1.Count(); ++row) {
            RECT r{};
            r.left = LVIR_BOUNDS;
            SendMessageW(f.ListView1.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                << row << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }
        EXPECT_FALSE(GetWindowLongW(f.ListView1.hwnd(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
        EXPECT_TRUE(f.Image8.Visible() && f.Image9.Visible());
        // The banner's two pictures, the registry cubes and the export page.
        EXPECT_NE(0, SendMessageW(f.Image8.hwnd(), STM_GETICON, 0, 0));
        EXPECT_NE(0, SendMessageW(f.Image9.hwnd(), STM_GETICON, 0, 0));
        ClickTab(f, 2);
        EXPECT_EQ(std::vector<std::string>{},
                  PaintedOver(f.hwnd(), {{"Frame8", &f.Frame8}, {"Label16", &f.Label16}, {"Label19", &f.Label19},
                                         {"Text1", &f.Text1}, {"Text6", &f.Text6}, {"Command20", &f.Command20}}));
        f.Command19.PerformClick();
    });
}

namespace {
void Settle() {
    for (int i = 0; i < 15; ++i) {
        Modal::DoEvents();
        Sleep(10);
    }
}
// A point of the main window's 关于 button that the page does not cover, in
// screen coordinates; false when the page covers all of it.
bool AboutButtonOutside(HWND page, POINT& at) {
    Toolbar& bar = Forms::Form2().Toolbar1;
    RECT b = bar.ButtonRect(bar.IndexOf(L"about"));
    MapWindowPoints(bar.hwnd(), nullptr, reinterpret_cast<POINT*>(&b), 2);
    RECT p{};
    GetWindowRect(page, &p);
    for (LONG y = b.top + 2; y < b.bottom - 2; y += 2)
        for (LONG x = b.left + 2; x < b.right - 2; x += 2)
            if (!PtInRect(&p, POINT{x, y})) {
                at = POINT{x, y};
                return true;
            }
    return false;
}
// Whether a tab's header shows: its rectangle holds the text's ink, not one
// colour alone.
bool TabHeaderDrawn(Form4& f, int tab) {
    RedrawWindow(f.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    SendMessageW(f.TabStrip1.hwnd(), TCM_GETITEMRECT, tab - 1, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(f.TabStrip1.hwnd(), f.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    HDC dc = GetDC(f.hwnd());
    std::set<COLORREF> colours;
    for (LONG y = r.top + 1; y < r.bottom - 1; ++y)
        for (LONG x = r.left + 1; x < r.right - 1; ++x) colours.insert(GetPixel(dc, x, y));
    ReleaseDC(f.hwnd(), dc);
    bool dark = false;
    for (COLORREF c : colours) dark = dark || (GetRValue(c) + GetGValue(c) + GetBValue(c)) < 200;
    return colours.size() >= 3 && dark;
}
}  // namespace

// The page stays modal before, during and after each of its save dialogs (the
// system's own, saved and cancelled): the dialog is owned by the page, the
// page takes no input while the dialog is up (a click on its 确定 opens no
// second dialog), and the main window stays disabled throughout: a click on
// its 关于 button changes nothing.
TEST_F(ExportPageTest, StaysModalBeforeDuringAndAfterEachSaveDialog) {
    GCommonDialog::SetResponderForTests(nullptr);  // Wine's own save dialog
    Select({L"双字"});
    const wstring target = Path(L"模态.txt");
    OpenPage([&](Form4& f) {
        f.ListView1.SetSelectedItem(FormatRow(f, L"文本文件"));
        POINT about{};
        ASSERT_TRUE(AboutButtonOutside(f.hwnd(), about));
        for (const bool save : {true, false}) {
            SCOPED_TRACE(save ? "saved" : "cancelled");
            HWND first = nullptr;
            bool pageEnabled = true, mainEnabled = true;
            HWND owner = nullptr;
            DialogDriver drive({
                [&](HWND d) {
                    if (!d) return false;
                    first = d;
                    owner = GetWindow(d, GW_OWNER);
                    pageEnabled = IsWindowEnabled(f.hwnd()) != FALSE;
                    mainEnabled = IsWindowEnabled(main().hwnd()) != FALSE;
                    // Aside, so that the click lands on the page's own 确定.
                    SetWindowPos(d, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                    POINT ok = RealInput::CentreOf(f.Command18.hwnd());
                    RECT dr{};
                    GetWindowRect(d, &dr);
                    EXPECT_FALSE(PtInRect(&dr, ok));
                    RealInput::Click(ok);
                    return true;
                },
                [&](HWND d) {
                    Sleep(100);
                    if (d && d != first) {  // a second dialog over the first: away with it
                        ADD_FAILURE() << "a second save dialog";
                        DialogDriver::Click(d, IDCANCEL);
                        return false;
                    }
                    if (!d) return false;
                    AnswerSaveDialog(d, save, target);
                    return true;
                },
            });
            RealInput::Click(RealInput::CentreOf(f.Command18.hwnd()));
            ASSERT_TRUE(WaitTillAnswered(drive));
            EXPECT_EQ(nullptr, DialogDriver::TopDialog());
            EXPECT_EQ(f.hwnd(), owner);
            EXPECT_FALSE(pageEnabled);
            EXPECT_FALSE(mainEnabled);
            // After the dialog: the page is the one window that takes input.
            Settle();
            EXPECT_TRUE(IsWindowEnabled(f.hwnd()));
            EXPECT_FALSE(IsWindowEnabled(main().hwnd()));
            RealInput::Click(about);
            Settle();
            EXPECT_EQ(Ansi(L"导出技巧"), Ansi(f.Caption()));
            EXPECT_TRUE(f.Command18.Visible());
        }
        f.Command19.PerformClick();
    });
    EXPECT_NE(std::string::npos, ReadBytes(target).find(Ansi(L"【双字】")));
}

// After the save dialog (cancelled, or saved) the format list has the
// keyboard again: an arrow key moves on from 文本文件 to 超文本文件.
TEST_F(ExportPageTest, TheListHasTheKeyboardAfterTheSaveDialog) {
    GCommonDialog::SetResponderForTests(nullptr);  // Wine's own save dialog
    Select({L"双字"});
    const wstring target = Path(L"焦点.txt");
    OpenPage([&](Form4& f) {
        for (const bool save : {false, true}) {
            SCOPED_TRACE(save ? "saved" : "cancelled");
            const int text = FormatRow(f, L"文本文件");
            f.ListView1.SetSelectedItem(text);
            f.ListView1.SetFocus();
            DialogDriver drive({[&](HWND d) {
                if (!d) return false;
                AnswerSaveDialog(d, save, target);
                return true;
            }});
            RealInput::Key(VK_RETURN);  // the default button, 确定
            ASSERT_TRUE(WaitTillAnswered(drive));
            Settle();
            EXPECT_EQ(f.ListView1.hwnd(), GetFocus());
            RealInput::Key(VK_RIGHT);
            Settle();
            EXPECT_TRUE(f.ListView1.Selected(FormatRow(f, L"超文本文件")));
        }
        f.Command19.PerformClick();
    });
    EXPECT_NE(std::string::npos, ReadBytes(target).find(Ansi(L"【双字】")));
}

// The restore page sorts the shared list; once the dialog is unloaded the
// export page lists its formats in their own order again.
TEST_F(ExportPageTest, FormatOrderAfterTheRestorePageWasOpened) {
    ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
    ASSERT_TRUE(App::CreateEmptyFile(Backup::DayFile(L"05-06-2026")));
    Modal::SetHookForTests([&](HWND) { Forms::Form4().Command24.PerformClick(); });
    main().Toolbar1_ButtonClick(L"viewhf");
    Modal::SetHookForTests(nullptr);
    OpenPage([&](Form4& f) {
        EXPECT_EQ(kFormats, Rows(f));
        f.Command19.PerformClick();
    });
}

// Both tab headers are drawn; Tab on the second tab walks its boxes from the
// top down, then 保存, 确定 and 取消.
TEST_F(ExportPageTest, TabHeadersShowAndTabWalksTheSecondTabTopDown) {
    OpenPage([&](Form4& f) {
        EXPECT_TRUE(TabHeaderDrawn(f, 1));
        EXPECT_TRUE(TabHeaderDrawn(f, 2));
        ClickTab(f, 2);
        ASSERT_TRUE(OnInfoTab(f));
        EXPECT_TRUE(TabHeaderDrawn(f, 1));
        f.Text1.SetFocus();
        const HWND order[] = {f.Text4.hwnd(), f.Text5.hwnd(), f.Text6.hwnd(), f.Command20.hwnd(),
                              f.Command18.hwnd(), f.Command19.hwnd()};
        for (HWND next : order) {
            RealInput::Key(VK_TAB);
            Settle();
            EXPECT_EQ(next, GetFocus());
        }
        f.Command19.PerformClick();
    });
}

// For docs/screenshots/export.png (only with QUORIX_SHOT_MARK set).
TEST_F(ExportPageTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    OpenPage([&](Form4& f) {
        f.ListView1.SetSelected(1, true);
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command19.PerformClick();
    });
}

// For docs/screenshots/export-info.png: the second tab (only with QUORIX_SHOT_MARK set).
TEST_F(ExportPageTest, HoldSecondTabForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    OpenPage([&](Form4& f) {
        ClickTab(f, 2);
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command19.PerformClick();
    });
}
