// Applying the ticked tips of the tip list: the question, the writes by type,
// row colours, the log, the day's backup records.
#include "ApplyFixture.h"

#include "platform/Modal.h"

#include <vector>

using std::string;
using std::wstring;

namespace {
const string FM = "\xFF";          // FieldMark in code page 936
const string DM = "\xAD\x95";      // DeleteMark in code page 936
string Dword(uint32_t v) { return string(reinterpret_cast<const char*>(&v), 4); }
}  // namespace

class ApplyTest : public ApplyFixture {
protected:
    string BakBytes() const { return ReadBytes(BakFile()); }
    // The stored line of a backup record, as bytes.
    static string RecordLine(const wstring& tip, const string& keyPath, const string& valueName, const string& data,
                             const string& type) {
        return Ansi(tip) + "=" + keyPath + FM + valueName + FM + data + FM + type + "\r\n";
    }
    static string TestKeyAnsi(const string& sub = {}) { return "HKEY_CURRENT_USER\\" + Sub(sub); }
};

TEST_F(ApplyTest, NothingTickedRefusesAndChangesNothing) {
    Form2& form = Forms::Form2();
    for (bool withRows : {false, true}) {
        form.ListView1.Clear();
        if (withRows) AddRow({L"未勾选", L"0", L"v", L"x", false, Key(), false});
        ExpectBox(IDOK, L"请勾选要使用的技巧，然后再使用本命令。");
        form.StartWork();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
        boxes.clear();
        EXPECT_EQ(kMissing, Stored("v").first);
        EXPECT_EQ(WriteModes::None, form.WriteMode);
        EXPECT_EQ(Ansi(L"准备使用技巧"), Ansi(form.StatusBar1.PanelText(3)));
        EXPECT_FALSE(form.ProgressBar1.Visible());
        EXPECT_FALSE(App::FileExists(BakFile()));
    }
}

TEST_F(ApplyTest, StartSettingAsksFirst) {
    Form2& form = Forms::Form2();
    int row = AddRow({L"问一下", L"0", L"v", L"新值"});
    Setting(L"Start", L"1");
    ExpectBox(IDNO, L"是否现在开始使用技巧？");
    form.StartWork();
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.back().style & MB_TYPEMASK);
    EXPECT_EQ(kMissing, Stored("v").first);
    EXPECT_EQ(ListView::kDefaultColor, Colour(row));
    EXPECT_EQ(WriteModes::None, form.WriteMode);
    EXPECT_EQ(Ansi(L"准备使用技巧"), Ansi(form.StatusBar1.PanelText(3)));
    EXPECT_FALSE(App::FileExists(BakFile()));
    EXPECT_FALSE(App::FileExists(LogFile()));

    ExpectBox(IDYES, L"是否现在开始使用技巧？");
    form.StartWork();
    EXPECT_EQ(Sz(Ansi(L"新值")), Stored("v").second);

    // Start 0: no question at all (an unexpected box fails the test).
    Setting(L"Start", L"0");
    form.ListView1.SetSubText(row, 4, L"再来");
    form.StartWork();
    EXPECT_EQ(Sz(Ansi(L"再来")), Stored("v").second);
}

// Every kind of row in one run: each row writes its own value only, failing
// rows turn red and are logged, and the run still completes.
TEST_F(ApplyTest, WritesEachRowByItsType) {
    struct Case {
        Tip tip;
        DWORD type;         // kMissing: no value afterwards
        string bytes;
        COLORREF colour;
    };
    TestReg::Set(Sub(), "del_existing", REG_SZ, Sz("gone"));
    TestReg::Set(Sub(), "expand_plain", REG_DWORD, Dword(5));
    const std::vector<Case> cases = {
        {{L"字符串", L"0", L"sz", L"你好 world "}, REG_SZ, Sz(Ansi(L"你好 world ")), kBlue},
        {{L"默认值", L"0", L"", L"默认"}, REG_SZ, Sz(Ansi(L"默认")), kBlue},
        {{L"可扩展", L"3", L"expand", L"%SystemRoot%\\x"}, REG_EXPAND_SZ, Sz("%SystemRoot%\\x"), kBlue},
        {{L"可扩展无变量", L"3", L"expand_plain", L"plain"}, REG_SZ, Sz("plain"), kBlue},
        {{L"二进制两字节", L"1", L"bin2", L"01 02"}, REG_BINARY, "\x01\x02", kBlue},
        {{L"二进制三字节", L"1", L"bin3", L"01 ab FF"}, REG_BINARY, "\x01\xAB\xFF", kBlue},
        {{L"二进制零长", L"1", L"bin0", L"(长度为零的二进制值)"}, REG_BINARY, "", kBlue},
        {{L"二进制空", L"1", L"binempty", L""}, REG_BINARY, "", kBlue},
        {{L"二进制无空格", L"1", L"binbad1", L"0102"}, kMissing, "", kRed},
        {{L"二进制非十六进制", L"1", L"binbad2", L"01 0G"}, kMissing, "", kRed},
        {{L"双字最大正数", L"2", L"dw_max", L"7fffffff"}, REG_DWORD, Dword(0x7FFFFFFF), kBlue},
        {{L"双字前导零", L"2", L"dw_1a", L"0000001a"}, REG_DWORD, Dword(26), kBlue},
        {{L"双字高位", L"2", L"dw_hi", L"80000000"}, REG_DWORD, Dword(0x80000000u), kBlue},
        {{L"双字全一", L"2", L"dw_ff", L"ffffffff"}, REG_DWORD, Dword(0xFFFFFFFFu), kBlue},
        {{L"双字过大", L"2", L"dw_big", L"100000000"}, kMissing, "", kRed},
        {{L"双字非数字", L"2", L"dw_bad", L"xyz"}, kMissing, "", kRed},
        {{L"删除已有", L"0", L"del_existing", L"", true}, kMissing, "", kBlue},
        {{L"删除不存在", L"1", L"del_missing", L"", true}, kMissing, "", kRed},
        {{L"类型非数字", L"x", L"badtype", L"1"}, kMissing, "", kRed},
        {{L"根键小写", L"0", L"lower", L"1", false, L"hkey_current_user\\Software\\QuorixTest"}, kMissing, "", kRed},
    };
    Form2& form = Forms::Form2();
    // An unticked row between them stays untouched.
    int skipped = AddRow({L"不勾选", L"0", L"skipped", L"no", false, Key(), false});
    std::vector<int> rows;
    for (const Case& c : cases) rows.push_back(AddRow(c.tip));

    form.StartWork();

    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(Ansi(c.tip.name));
        auto [type, bytes] = Stored(Ansi(c.tip.valueName));
        EXPECT_EQ(c.type, type);
        if (c.type != kMissing) {
            EXPECT_EQ(c.bytes, bytes);
        }
        EXPECT_EQ(c.colour, Colour(rows[i]));
        const wstring key = c.colour == kBlue ? L"【使用成功】【" + c.tip.name + L"】" : L"〖使用失败〗〖" + c.tip.name + L"〗";
        bool found = false;
        EXPECT_EQ(Ansi(kSection), Ansi(Ini::Read(LogFile(), kDay, key, &found)));
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(kMissing, Stored("skipped").first);
    EXPECT_EQ(ListView::kDefaultColor, Colour(skipped));
    EXPECT_EQ(Ansi(L"技巧使用完成"), Ansi(form.StatusBar1.PanelText(3)));
    EXPECT_FALSE(form.ProgressBar1.Visible());
    EXPECT_EQ(Text::FromInt(rows.back()), form.Label1.Tag);
    EXPECT_EQ(WriteModes::None, form.WriteMode);
}

TEST_F(ApplyTest, UnknownTypeCodeCreatesKeyOnlyAndKeepsColour) {
    Form2& form = Forms::Form2();
    int row = AddRow({L"类型四", L"4", L"v", L"1", false, Key(L"newkey")});
    form.ListView1.SetForeColor(row, kRed);  // from an earlier run
    form.StartWork();
    EXPECT_TRUE(KeyThere("newkey"));
    EXPECT_EQ(kMissing, Stored("v", "newkey").first);
    EXPECT_EQ(kRed, Colour(row));
    EXPECT_FALSE(App::FileExists(BakFile()));
    EXPECT_TRUE(Ini::Keys(LogFile(), kDay).empty());
}

// The record of the value each tip replaced, byte for byte.
TEST_F(ApplyTest, BackupRecordsHoldThePreviousValueExactly) {
    TestReg::Set(Sub(), "sz", REG_SZ, Sz(Ansi(L" 旧值 a ")));
    TestReg::Set(Sub(), "exp", REG_EXPAND_SZ, Sz("%PATH%;x"));
    TestReg::Set(Sub(), "bin", REG_BINARY, string("\x00\x0A\xFF", 3));
    TestReg::Set(Sub(), "bin0", REG_BINARY, "");
    TestReg::Set(Sub(), "dw", REG_DWORD, Dword(0xFFFFFFFFu));
    TestReg::Set(Sub(), "multi", REG_MULTI_SZ, string("a\0bc\0\0", 6));
    TestReg::Set(Sub(), "none", REG_NONE, string("\x01\x02", 2));
    TestReg::Set(Sub(), "", REG_SZ, Sz("def"));
    struct Case {
        Tip tip;
        string line;
    };
    const string key = TestKeyAnsi();
    const std::vector<Case> cases = {
        {{L"不存在的值", L"0", L"absent", L"n"}, RecordLine(L"不存在的值", key, "absent", DM, "0")},
        {{L"字符串", L"0", L"sz", L"n"}, RecordLine(L"字符串", key, "sz", Ansi(L" 旧值 a "), "1")},
        {{L"可扩展", L"3", L"exp", L"n"}, RecordLine(L"可扩展", key, "exp", "%PATH%;x", "2")},
        {{L"二进制", L"1", L"bin", L"01"}, RecordLine(L"二进制", key, "bin", "00 0A FF", "3")},
        {{L"零长二进制", L"1", L"bin0", L"01"}, RecordLine(L"零长二进制", key, "bin0", "", "3")},
        {{L"双字", L"2", L"dw", L"1"}, RecordLine(L"双字", key, "dw", "-1", "4")},
        {{L"多字符串", L"0", L"multi", L"n"}, RecordLine(L"多字符串", key, "multi", "61 00 62 63 00 00", "7")},
        {{L"空类型", L"0", L"none", L"n"}, RecordLine(L"空类型", key, "none", "01 02", "0")},
        {{L"默认值", L"0", L"", L"n"}, RecordLine(L"默认值", key, "", "def", "1")},
        {{L"新键", L"2", L"v", L"1", false, Key(L"made")}, RecordLine(L"新键", TestKeyAnsi("made"), "v", DM, "0")},
    };
    for (const Case& c : cases) AddRow(c.tip);
    int red = AddRow({L"失败不备份", L"2", L"dw", L"zz"});
    Forms::Form2().StartWork();

    const string file = BakBytes();
    string header = Ansi(kSection);
    header.insert(header.begin(), '[');
    header.append("]\r\n");
    EXPECT_EQ(0u, file.find(header)) << file;
    for (const Case& c : cases) {
        SCOPED_TRACE(Ansi(c.tip.name));
        EXPECT_NE(string::npos, file.find(c.line)) << file;
    }
    EXPECT_EQ(kRed, Colour(red));
    EXPECT_EQ(string::npos, file.find(Ansi(L"失败不备份")));
}

// The first backup of a day wins: applying again keeps the value found before
// the first application.
TEST_F(ApplyTest, FirstBackupOfTheDayWins) {
    TestReg::Set(Sub(), "v", REG_SZ, Sz("original"));
    Form2& form = Forms::Form2();
    int row = AddRow({L"两次", L"0", L"v", L"first"});
    form.StartWork();
    form.ListView1.SetSubText(row, 4, L"second");
    form.StartWork();
    EXPECT_EQ(Sz("second"), Stored("v").second);
    const string file = BakBytes();
    EXPECT_NE(string::npos, file.find(RecordLine(L"两次", TestKeyAnsi(), "v", "original", "1"))) << file;
    EXPECT_EQ(string::npos, file.find("first")) << file;

    // The next day starts a file of its own.
    SetDate(2026, 5, 7);
    form.StartWork();
    EXPECT_NE(string::npos, ReadBytes(BakFile(L"05-07-2026")).find(RecordLine(L"两次", TestKeyAnsi(), "v", "second", "1")));
}

TEST_F(ApplyTest, BackupSettingsAndBakFolder) {
    Form2& form = Forms::Form2();
    int row = AddRow({L"备份开关", L"0", L"v", L"x"});
    // Backups off: nothing recorded.
    Setting(L"SaveHistory", L"0");
    form.StartWork();
    EXPECT_EQ(kBlue, Colour(row));
    EXPECT_FALSE(App::FileExists(BakFile()));
    // Backups on, but no Bak folder: none either, and the row is still blue.
    Setting(L"SaveHistory", L"1");
    ASSERT_TRUE(RemoveDirectoryW(Path(L"Bak").c_str()));
    form.StartWork();
    EXPECT_EQ(kBlue, Colour(row));
    EXPECT_FALSE(App::FolderExists(Path(L"Bak")));
    // Log off: the row is coloured but nothing is logged.
    ASSERT_TRUE(App::RemoveFile(LogFile()));
    Setting(L"SaveLog", L"0");
    form.ListView1.SetSubText(row, 4, L"no way");
    form.ListView1.SetSubTag(row, 2, L"2");
    form.StartWork();
    EXPECT_EQ(kRed, Colour(row));
    EXPECT_FALSE(App::FileExists(LogFile()));
}

// A value whose previous text cannot be held by the backup file (a line break)
// is still applied, but the user is told that it cannot be restored.
TEST_F(ApplyTest, LostBackupIsReported) {
    TestReg::Set(Sub(), "v", REG_SZ, Sz("two\r\nlines"));
    Form2& form = Forms::Form2();
    int row = AddRow({L"无法备份", L"0", L"v", L"x"});
    int ok = AddRow({L"可以备份", L"0", L"w", L"y"});
    ExpectBox(IDOK);
    form.StartWork();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(Ansi(L"有 1 个技巧已经使用，但原来的数据没能写入恢复文件，无法用恢复文件还原。"), Ansi(boxes[0].text));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_EQ(kBlue, Colour(row));
    EXPECT_EQ(kBlue, Colour(ok));
    EXPECT_EQ(Sz("x"), Stored("v").second);
    EXPECT_NE(string::npos, BakBytes().find(RecordLine(L"可以备份", TestKeyAnsi(), "w", DM, "0")));
    EXPECT_EQ(Ansi(L"技巧使用完成"), Ansi(form.StatusBar1.PanelText(3)));
}
