// The restore page of the multi-page dialog, driven through its modal window:
// listing the day files, writing a day back, deleting day files.
#include "ApplyFixture.h"

#include "engine/General.h"
#include "mainwindow/Form4.h"
#include "platform/Modal.h"

#include <functional>
#include <random>
#include <vector>

using std::string;
using std::wstring;

namespace {
const wstring FM(1, L'\xF8F5');
const wstring DM(1, L'\x74E1');
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
    EXPECT_FALSE(Forms::Form4().Exists() && IsWindowVisible(Forms::Form4().hwnd()));
}

// Values in every previous state, applied (some twice) and then restored from
// the day's file through the page: each returns to its exact type and bytes,
// absent values are absent again, and the restore neither colours nor logs.
TEST_F(RestorePageTest, RoundTripReturnsEveryValueToItsState) {
    enum Kind { Absent, NoKey, Sz, ExpandSz, Binary, ZeroBinary, Dw, Multi, KindCount };
    struct State {
        string name, sub;
        DWORD type = kMissing;
        string bytes;
    };
    std::mt19937 rng(20260506);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::vector<wstring> pieces = {L"a", L"Z", L"9", L" ", L"%", L"汉", L"字", L";", L"=", L"\\", L"值"};
    auto text = [&] {
        wstring t;
        for (int n = pick(8); n > 0; --n) t += pieces[static_cast<size_t>(pick(static_cast<int>(pieces.size())))];
        return t;
    };
    auto bytes = [&](int n) {
        string b;
        for (int i = 0; i < n; ++i) b.push_back(static_cast<char>(rng() & 0xFF));
        return b;
    };

    std::vector<State> states;
    Form2& form = Forms::Form2();
    for (int i = 0; i < 32; ++i) {
        State s;
        s.name = string("v").append(std::to_string(i));
        Kind kind = static_cast<Kind>(i < KindCount ? i : pick(KindCount));  // every kind at least once
        switch (kind) {
        case Absent: break;
        case NoKey: s.sub = string("k").append(std::to_string(i)); break;
        case Sz: s.type = REG_SZ; s.bytes = Ansi(text()) + '\0'; break;
        case ExpandSz: s.type = REG_EXPAND_SZ; s.bytes = string("%TEMP%").append(Ansi(text())).append(1, '\0'); break;
        case Binary: s.type = REG_BINARY; s.bytes = bytes(1 + pick(12)); break;
        case ZeroBinary: s.type = REG_BINARY; break;
        case Dw: s.type = REG_DWORD; s.bytes = Dword(i == Dw ? 0xFFFFFFFFu : static_cast<uint32_t>(rng())); break;
        case Multi: s.type = REG_MULTI_SZ; s.bytes = Ansi(text()) + '\0' + "x" + '\0' + '\0'; break;
        default: break;
        }
        if (s.type != kMissing) TestReg::Set(Sub(), s.name, s.type, s.bytes);
        states.push_back(s);

        Tip t{L"技巧" + Text::FromInt(i), Text::FromInt(pick(4)), Text::FromAnsi(s.name), L""};
        t.keyPath = Key(Text::FromAnsi(s.sub));
        if (t.typeTag == L"0" || t.typeTag == L"3") t.data = text();
        if (t.typeTag == L"1") t.data = General::BytesToHex(bytes(pick(6)));
        if (t.typeTag == L"2") t.data = General::BytesToHex(bytes(4)).substr(0, 2) + L"ab12";
        t.deleteChoice = s.type != kMissing && pick(4) == 0;
        AddRow(t);
    }
    form.StartWork();
    for (size_t i = 0; i < states.size(); ++i) ASSERT_EQ(kBlue, Colour(static_cast<int>(i) + 1)) << i;
    // A second application the same day, with other data.
    for (int row = 1; row <= form.ListView1.Count(); row += 2)
        if (form.ListView1.SubIcon(row, 4) == 2 || form.ListView1.SubIcon(row, 4) == 5)
            form.ListView1.SetSubText(row, 4, L"再次");
    form.StartWork();

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

    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        auto [type, stored] = Stored(s.name, s.sub);
        EXPECT_EQ(s.type, type);
        if (s.type != kMissing) {
            EXPECT_EQ(s.bytes, stored);
        }
        if (!s.sub.empty()) {
            EXPECT_TRUE(KeyThere(s.sub));
        }
    }
    for (int row = 1; row <= form.ListView1.Count(); ++row) EXPECT_EQ(RGB(1, 2, 3), Colour(row));
    EXPECT_EQ(logBefore, ReadBytes(LogFile()));
    EXPECT_EQ(WriteModes::None, form.WriteMode);
}

// Records written by hand: every type, records that cannot be written back,
// two sections; a double-click runs the restore and the report is honest.
TEST_F(RestorePageTest, RecordsAreWrittenBackByTypeAndFailuresCounted) {
    const wstring key = Key();
    TestReg::Set(Sub(), "del", REG_SZ, Sz("x"));
    TestReg::Set(Sub(), "untouched", REG_SZ, Sz("keep"));
    const wstring s1 = L"系统设置", s2 = L"系统设置\\开始菜单";
    WriteDayFile(kDay, s1, L"删除", Record(Key(L"made"), L"del", DM, L"0"));
    WriteDayFile(kDay, s1, L"删除已有", Record(key, L"del", DM, L"0"));
    WriteDayFile(kDay, s1, L"负一", Record(key, L"dwm1", L"-1", L"4"));
    WriteDayFile(kDay, s1, L"四百", Record(key, L"dw400", L"400", L"4"));
    WriteDayFile(kDay, s1, L"零长", Record(key, L"bin0", L"", L"3"));
    WriteDayFile(kDay, s1, L"三字节", Record(key, L"bin3", L"00 0A FF", L"3"));
    WriteDayFile(kDay, s1, L"可扩展", Record(key, L"exp", L"no percent", L"2"));
    WriteDayFile(kDay, s1, L"多字符串", Record(key, L"multi", L"61 00 00", L"7"));
    WriteDayFile(kDay, s1, L"字符串", Record(key, L"both", L"first", L"1"));
    // Records that write nothing: old records of other types, unreadable data,
    // too few marks, a malformed number.
    WriteDayFile(kDay, s1, L"旧七", Record(key, L"untouched", L"", L"7"));
    WriteDayFile(kDay, s1, L"旧十一", Record(key, L"untouched", L"", L"11"));
    WriteDayFile(kDay, s1, L"错误", Record(key, L"untouched", L"Error$$" + wstring(4, L'\xF8F5'), L"1"));
    WriteDayFile(kDay, s1, L"缺标记", key + FM + L"untouched" + FM + L"1");
    WriteDayFile(kDay, s1, L"坏数字", Record(key, L"untouched", L"4294967296", L"4"));
    WriteDayFile(kDay, s2, L"字符串", Record(key, L"both", L"later", L"1"));
    WriteDayFile(kDay, s2, L"带标记", Record(key, L"fm", L"a" + FM + L"b", L"1"));

    ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
    ExpectBox(IDOK, L"还原未全部完成：有 5 项数据没有还原。");
    OpenPage([&](Form4& f) {
        ASSERT_EQ(1, f.ListView1.Count());
        DoubleClickRow(f, 1);
        f.Command24.PerformClick();
    });
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[1].style & MB_ICONMASK);

    EXPECT_TRUE(KeyThere("made"));
    EXPECT_EQ(kMissing, Stored("del", "made").first);
    EXPECT_EQ(kMissing, Stored("del").first);
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(0xFFFFFFFFu)), Stored("dwm1"));
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(400)), Stored("dw400"));
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), string()), Stored("bin0"));
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), string("\x00\x0A\xFF", 3)), Stored("bin3"));
    EXPECT_EQ(std::make_pair(DWORD(REG_EXPAND_SZ), Sz("no percent")), Stored("exp"));
    EXPECT_EQ(std::make_pair(DWORD(REG_MULTI_SZ), string("a\0\0", 3)), Stored("multi"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), Sz("later")), Stored("both"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), Sz("a\xFF" "b")), Stored("fm"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), Sz("keep")), Stored("untouched"));
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
