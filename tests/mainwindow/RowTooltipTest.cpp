// The balloon over the tip list: its five lines, the [Data] Tip rule, and the
// moments it goes (the pointer leaving the selected row's band, an emptied
// list, shut-down).
#include "MainWindowFixture.h"

#include "fixtures/TipRows.h"
#include "platform/Twips.h"
#include "support/RealInput.h"

#include <cmath>
#include <cstdlib>

namespace {
const wchar_t kKey[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

std::wstring ToolText(HWND tip) {
    wchar_t buf[1024] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.lpszText = buf;
    if (!SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti))) return L"(no tool)";
    TOOLINFOW q{};
    q.cbSize = sizeof(q);
    q.hwnd = ti.hwnd;
    q.uId = ti.uId;
    q.lpszText = buf;
    SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&q));
    return buf;
}

void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
        Ui::DoEvents();
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

}  // namespace

class RowTooltipTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        MakeRunBefore();
        Set(L"Tip", L"1");
        Form2& f = Start();
        f.ListView1.Clear();
        using T = TestRows::Tip;
        TestRows::Add(f.ListView1, T{.name = L"禁用自动播放", .typeCode = L"2", .valueName = L"NoDriveTypeAutoRun",
                                     .data = L"ff", .keyPath = kKey});
        TestRows::Add(f.ListView1, T{.name = L"默认值", .typeCode = L"0", .valueName = L"", .data = L"文字",
                                     .keyPath = L"HKEY_CLASSES_ROOT\\.txt"});
        TestRows::Add(f.ListView1, T{.name = L"空二进制", .typeCode = L"1", .valueName = L"Bin", .data = L"",
                                     .keyPath = L"HKEY_CURRENT_USER\\Software\\QuorixTest"});
        Select(2);
    }
    Form2& Main() { return Forms::Form2(); }
    void Select(int row) {
        ListView& list = Main().ListView1;
        for (int r = 1; r <= list.Count(); ++r) list.SetSelected(r, false);
        list.SetSelectedItem(row);
    }
    HWND TipWindow() { return Main().RowTooltip ? Main().RowTooltip->hwnd() : nullptr; }
    // Row `row` selected (the program shows it itself), its balloon made, and the
    // real pointer resting on the row until the balloon shows (8 s at most).
    HWND RestPointerOnSelected(int row) {
        Select(row);
        Pump(100);
        Main().ShowRowTooltip(row);
        HWND tip = TipWindow();
        if (!tip) return nullptr;
        SetForegroundWindow(Main().hwnd());
        const RECT r = RowRect(row);
        POINT p{r.left + 60, (r.top + r.bottom) / 2};
        ClientToScreen(Main().ListView1.hwnd(), &p);
        RealInput::MoveTo(p);
        const DWORD end = GetTickCount() + 8000;
        while (!IsWindowVisible(tip) && static_cast<LONG>(end - GetTickCount()) > 0) Pump(50);
        return tip;
    }
    RECT RowRect(int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(Main().ListView1.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void MoveOverList(int x, int y) {
        SendMessageW(Main().ListView1.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
};

// The five lines of each kind of row, through a click on the row.
TEST_F(RowTooltipTest, FiveLinesOfTheClickedRow) {
    Form2& f = Main();
    const struct {
        int row;
        const wchar_t* title;
        const wchar_t* text;
    } cases[] = {
        {1, L"禁用自动播放",
         L"键位: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\r\n"
         L"类型：DWORD值(REG_DWORD)\r\n键名: NoDriveTypeAutoRun\r\n键值: ff\r\n命令: 启用"},
        {2, L"默认值", L"键位: HKEY_CLASSES_ROOT\\.txt\r\n类型：字符串值(REG_SZ)\r\n键名: (默认)\r\n键值: 文字\r\n命令: 启用"},
        {3, L"空二进制",
         L"键位: HKEY_CURRENT_USER\\Software\\QuorixTest\r\n类型：二进制值(REG_BINARY)\r\n键名: Bin\r\n"
         L"键值: (长度为零的二进制值)\r\n命令: 启用"},
    };
    HWND previous = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        Select(c.row);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = f.ListView1.hwnd();
        click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(f.ListView1.hwnd()));
        click.hdr.code = NM_CLICK;
        click.iItem = c.row - 1;
        SendMessageW(f.hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        ASSERT_NE(nullptr, f.RowTooltip);
        HWND tip = f.RowTooltip->hwnd();
        ASSERT_NE(nullptr, tip);
        EXPECT_EQ(Ansi(c.text), Ansi(f.RowTooltip->TipText()));
        EXPECT_EQ(Ansi(c.text), Ansi(ToolText(tip)));
        EXPECT_EQ(Ansi(c.title), Ansi(f.RowTooltip->Title()));
        EXPECT_EQ(Tooltip::IconInfo, f.RowTooltip->Icon());
        EXPECT_EQ(Tooltip::kBalloon, f.RowTooltip->Style());
        EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
        EXPECT_GT(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 0);  // the lines break
        EXPECT_EQ(f.ListView1.Text(c.row), f.ListView1.Text(f.ListView1.SelectedItem()));
        // The previous row's balloon went.
        if (previous) {
            EXPECT_FALSE(IsWindow(previous));
        }
        previous = tip;
    }
    // Two rows selected: a click shows nothing new.
    f.ListView1.SetSelected(1, true);
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = f.ListView1.hwnd();
    click.hdr.code = NM_CLICK;
    click.iItem = 0;
    SendMessageW(f.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(previous, TipWindow());
}

// [Data] Tip: empty or missing is written as 1 and shows the balloon, a
// number 1 shows it, anything else shows none and takes an earlier one away.
// The hidden label (the write mode) is never touched.
TEST_F(RowTooltipTest, TipSettingDecides) {
    Form2& f = Main();
    const struct {
        const wchar_t* stored;  // nullptr: no Tip key
        bool balloon;
        const char* after;  // the stored text afterwards
    } cases[] = {{nullptr, true, "1"}, {L"", true, "1"},    {L"1", true, "1"},  {L"1.0", true, "1.0"},
                 {L"1abc", true, "1abc"}, {L"0", false, "0"}, {L"2", false, "2"}, {L"-1", false, "-1"},
                 {L"abc", false, "abc"}, {L"0.5", false, "0.5"}};
    f.Label2.SetCaption(L"scratch");
    f.WriteMode = WriteModes::Apply;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? Ansi(c.stored) : "(missing)");
        Set(L"Tip", L"1");
        f.ShowRowTooltip(1);
        HWND earlier = TipWindow();
        ASSERT_NE(nullptr, earlier);
        if (c.stored) Set(L"Tip", c.stored);
        else ASSERT_TRUE(Ini::DeleteKey(Config::Path(), L"Data", L"Tip"));
        f.ShowRowTooltip(2);
        EXPECT_EQ(c.balloon, TipWindow() != nullptr);
        EXPECT_EQ(c.balloon, f.RowTooltip != nullptr);
        EXPECT_FALSE(IsWindow(earlier));  // the first row's balloon is gone either way
        if (c.balloon) {
            EXPECT_EQ(Ansi(L"默认值"), Ansi(f.RowTooltip->Title()));
        }
        EXPECT_EQ(c.after, Ansi(Setting(L"Tip")));
    }
    EXPECT_EQ("scratch", Ansi(f.Label2.Caption()));
    EXPECT_EQ(WriteModes::Apply, f.WriteMode);
    f.WriteMode = WriteModes::None;
    EXPECT_TRUE(boxes.empty());
}

// Tip missing and config.ini held by another program: the failed write is
// told, and the balloon shows as the setting reads (on).
TEST_F(RowTooltipTest, TipWriteThatFailsIsTold) {
    ASSERT_TRUE(Ini::DeleteKey(Config::Path(), L"Data", L"Tip"));
    const std::string before = ReadBytes(Config::Path());
    // Held by another program that lets it be read, not written.
    HANDLE held = CreateFileW(Config::Path().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ExpectBox(IDOK, L"无法把“显示提示”的设置写入 config.ini（该文件可能是只读的或正被其它程序使用）。");
    Main().ShowRowTooltip(2);
    CloseHandle(held);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_NE(nullptr, TipWindow());
    EXPECT_EQ(before, ReadBytes(Config::Path()));
}

// The balloon stays while the pointer is within the selected row from 15
// twips below its top to 90 twips above its bottom, and goes beyond either
// edge, whatever the X; with no row selected it goes at the next move.
TEST_F(RowTooltipTest, ReleasedWhenThePointerLeavesTheSelectedRowsBand) {
    Form2& f = Main();
    const RECT r = RowRect(2);
    const int p = Twips::PerPixelY();
    const int firstIn = r.top + static_cast<int>(std::ceil(15.0 / p));
    const int lastIn = r.bottom - static_cast<int>(std::ceil(90.0 / p));
    ASSERT_LE(firstIn, lastIn);
    const struct {
        int y;
        bool kept;
    } cases[] = {{firstIn, true}, {lastIn, true}, {firstIn - 1, false}, {lastIn + 1, false},
                 {(firstIn + lastIn) / 2, true}, {RowRect(1).top + 5, false}, {RowRect(3).top + 5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y - r.top);
        f.ShowRowTooltip(2);
        HWND tip = TipWindow();
        ASSERT_NE(nullptr, tip);
        for (int x : {3, 200}) MoveOverList(x, c.y);
        EXPECT_EQ(c.kept, f.RowTooltip != nullptr);
        EXPECT_EQ(c.kept, IsWindow(tip) != FALSE);
    }
    f.ShowRowTooltip(2);
    f.ListView1.SetSelected(2, false);
    MoveOverList(3, (firstIn + lastIn) / 2);
    EXPECT_EQ(nullptr, f.RowTooltip);
}

// An emptied list takes the balloon with it: cleared at once, or its last row
// removed; a move over an empty list finds none.
TEST_F(RowTooltipTest, ReleasedWhenTheListEmpties) {
    Form2& f = Main();
    f.ShowRowTooltip(2);
    HWND tip = TipWindow();
    ASSERT_NE(nullptr, tip);
    f.ListView1.Remove(3);
    f.ListView1.Remove(1);
    EXPECT_EQ(tip, TipWindow());  // a row remains
    f.ListView1.Remove(1);
    EXPECT_EQ(nullptr, f.RowTooltip);
    EXPECT_FALSE(IsWindow(tip));

    TestRows::Add(f.ListView1, TestRows::Tip{.name = L"新", .typeCode = L"0", .valueName = L"v", .data = L"d"});
    Select(1);
    f.ShowRowTooltip(1);
    tip = TipWindow();
    ASSERT_NE(nullptr, tip);
    f.ListView1.Clear();
    EXPECT_EQ(nullptr, f.RowTooltip);
    EXPECT_FALSE(IsWindow(tip));
    MoveOverList(5, 5);
    EXPECT_EQ(nullptr, f.RowTooltip);
}

// Closing the main window removes the balloon with the rest.
TEST_F(RowTooltipTest, ReleasedAtShutDown) {
    Form2& f = Main();
    f.ShowRowTooltip(2);
    HWND tip = TipWindow();
    ASSERT_NE(nullptr, tip);
    Stop();
    EXPECT_FALSE(f.Exists());
    EXPECT_EQ(nullptr, f.RowTooltip);
    EXPECT_FALSE(IsWindow(tip));
}

// For docs/screenshots/balloon.png: the balloon of the selected row, shown by
// the pointer resting in its band, held until the mark file goes.
TEST_F(RowTooltipTest, HoldBalloonForScreenCapture) {
    const char* mark = std::getenv("QUORIX_SHOT_MARK");
    if (!mark || !*mark) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the balloon for a capture";
    Form2& f = Main();
    HWND tip = RestPointerOnSelected(1);
    ASSERT_NE(nullptr, tip);
    ASSERT_TRUE(IsWindowVisible(tip));
    Pump(300);
    HANDLE h = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    DWORD end = GetTickCount() + 20000;
    while (GetFileAttributesA(mark) != INVALID_FILE_ATTRIBUTES && static_cast<LONG>(end - GetTickCount()) > 0) Pump(20);
    EXPECT_NE(nullptr, f.RowTooltip);
}

// The balloon comes up when the pointer rests on the selected row, and goes
// when it leaves the list, with the list's mouse messages handed on by the
// program: the tooltip control's own hook on the list is not installed (it
// made every message to the list, and so every row loaded or applied, slow).
TEST_F(RowTooltipTest, ShownByThePointerRestingOnTheRow) {
    Form2& f = Main();
    HWND tip = RestPointerOnSelected(1);
    ASSERT_NE(nullptr, tip);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(tip, TipWindow());  // still the selected row's balloon
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(0u, ti.uFlags & TTF_SUBCLASS);
    EXPECT_EQ(f.ListView1.hwnd(), ti.hwnd);

    // The pointer off the list, beside the main window: the balloon hides.
    RECT w{};
    GetWindowRect(f.hwnd(), &w);
    RealInput::MoveTo({w.right + 40, w.bottom + 40});
    DWORD end = GetTickCount() + 8000;
    while (IsWindow(tip) && IsWindowVisible(tip) && static_cast<LONG>(end - GetTickCount()) > 0) Pump(50);
    EXPECT_FALSE(IsWindow(tip) && IsWindowVisible(tip));
}
