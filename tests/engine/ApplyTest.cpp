// Applying one tip through the engine, without windows: the write by type, the
// outcome, and the day's backup records byte for byte.
#include "EngineTest.h"

#include "common/Ini.h"
#include "common/Marks.h"
#include "engine/Apply.h"
#include "fixtures/TipRows.h"
#include "platform/Text.h"

#include <optional>
#include <vector>

using std::string;
using std::wstring;
using Apply::BackupResult;
using Apply::WriteResult;

namespace {
const string FM = "\xFF";          // FieldMark in code page 936
const string DM = "\xAD\x95";      // DeleteMark in code page 936
string Dword(uint32_t v) { return string(reinterpret_cast<const char*>(&v), 4); }
string Sz(const string& text) { return text + string(1, '\0'); }
const wstring kSection = L"系统设置\\开始菜单";
}  // namespace

class ApplyTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetDate(2026, 5, 6);
        ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
        MakeKey();
    }
    using Tip = TestRows::Tip;
    // Applies the tip as a row of the tip list holds it (under the test key
    // unless it names another key).
    static Apply::Outcome Run(Tip t, const std::optional<wstring>& section = kSection) {
        if (t.keyPath.empty()) t.keyPath = Key();
        return Apply::ApplyTip(Apply::FromRow(TestRows::Cells(t)), section);
    }
    wstring BakFile(const wstring& day = L"05-06-2026") const { return Path(L"Bak\\" + day + L".bak"); }
    string BakBytes() const { return ReadBytes(BakFile()); }
    // The stored line of a backup record, as bytes.
    static string RecordLine(const wstring& tip, const string& keyPath, const string& valueName, const string& data,
                             const string& type) {
        return Ansi(tip) + "=" + keyPath + FM + valueName + FM + data + FM + type + "\r\n";
    }
    static string TestKeyAnsi(const string& sub = {}) { return "HKEY_CURRENT_USER\\" + Sub(sub); }
};

// Every kind of tip: each writes its own value only and says whether it did.
TEST_F(ApplyTest, WritesEachTipByItsType) {
    struct Case {
        Tip tip;
        WriteResult result;
        DWORD type;  // kMissing: no value afterwards
        string bytes;
    };
    TestReg::Set(Sub(), "del_existing", REG_SZ, Sz("gone"));
    TestReg::Set(Sub(), "expand_plain", REG_DWORD, Dword(5));
    const std::vector<Case> cases = {
        {{L"字符串", L"0", L"sz", L"你好 world "}, WriteResult::Done, REG_SZ, Sz(Ansi(L"你好 world "))},
        {{L"默认值", L"0", L"", L"默认"}, WriteResult::Done, REG_SZ, Sz(Ansi(L"默认"))},
        {{L"可扩展", L"3", L"expand", L"%SystemRoot%\\x"}, WriteResult::Done, REG_EXPAND_SZ, Sz("%SystemRoot%\\x")},
        {{L"可扩展无变量", L"3", L"expand_plain", L"plain"}, WriteResult::Done, REG_SZ, Sz("plain")},
        {{L"二进制两字节", L"1", L"bin2", L"01 02"}, WriteResult::Done, REG_BINARY, "\x01\x02"},
        {{L"二进制三字节", L"1", L"bin3", L"01 ab FF"}, WriteResult::Done, REG_BINARY, "\x01\xAB\xFF"},
        {{L"二进制零长", L"1", L"bin0", L"(长度为零的二进制值)"}, WriteResult::Done, REG_BINARY, ""},
        {{L"二进制空", L"1", L"binempty", L""}, WriteResult::Done, REG_BINARY, ""},
        {{L"二进制无空格", L"1", L"binbad1", L"0102"}, WriteResult::Failed, kMissing, ""},
        {{L"二进制非十六进制", L"1", L"binbad2", L"01 0G"}, WriteResult::Failed, kMissing, ""},
        {{L"双字最大正数", L"2", L"dw_max", L"7fffffff"}, WriteResult::Done, REG_DWORD, Dword(0x7FFFFFFF)},
        {{L"双字前导零", L"2", L"dw_1a", L"0000001a"}, WriteResult::Done, REG_DWORD, Dword(26)},
        {{L"双字高位", L"2", L"dw_hi", L"80000000"}, WriteResult::Done, REG_DWORD, Dword(0x80000000u)},
        {{L"双字全一", L"2", L"dw_ff", L"ffffffff"}, WriteResult::Done, REG_DWORD, Dword(0xFFFFFFFFu)},
        {{L"双字过大", L"2", L"dw_big", L"100000000"}, WriteResult::Failed, kMissing, ""},
        {{L"双字非数字", L"2", L"dw_bad", L"xyz"}, WriteResult::Failed, kMissing, ""},
        {{L"删除已有", L"0", L"del_existing", L"", true}, WriteResult::Done, kMissing, ""},
        {{L"删除不存在", L"1", L"del_missing", L"", true}, WriteResult::Failed, kMissing, ""},
        {{L"类型带空格", L" 0 ", L"spaced", L"ok"}, WriteResult::Done, REG_SZ, Sz("ok")},
        {{L"类型非数字", L"x", L"badtype", L"1"}, WriteResult::Failed, kMissing, ""},
        {{L"类型数字后有字", L"0x", L"badtype2", L"1"}, WriteResult::Failed, kMissing, ""},
        {{L"类型四", L"4", L"type4", L"1"}, WriteResult::Nothing, kMissing, ""},
        {{L"删除类型四", L"4", L"del_existing2", L"", true}, WriteResult::Nothing, REG_SZ, Sz("stays")},
        {{L"根键小写", L"0", L"lower", L"1", false, L"hkey_current_user\\Software\\QuorixTest"}, WriteResult::Failed,
         kMissing, ""},
    };
    TestReg::Set(Sub(), "del_existing2", REG_SZ, Sz("stays"));
    for (const Case& c : cases) {
        SCOPED_TRACE(Ansi(c.tip.name));
        EXPECT_EQ(c.result, Run(c.tip, std::nullopt).write);
        auto [type, bytes] = Stored(Ansi(c.tip.valueName));
        EXPECT_EQ(c.type, type);
        if (c.type != kMissing) {
            EXPECT_EQ(c.bytes, bytes);
        }
    }
    EXPECT_FALSE(App::FileExists(BakFile()));  // backups off

    // A TypeCode outside 0..3 still creates the key, and writes nothing.
    EXPECT_EQ(WriteResult::Nothing, Run({L"新键类型四", L"4", L"v", L"1", false, Key(L"newkey")}).write);
    EXPECT_TRUE(KeyThere("newkey"));
    EXPECT_EQ(kMissing, Stored("v", "newkey").first);
    EXPECT_FALSE(App::FileExists(BakFile()));
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
    for (const Case& c : cases) {
        SCOPED_TRACE(Ansi(c.tip.name));
        Apply::Outcome o = Run(c.tip);
        EXPECT_EQ(WriteResult::Done, o.write);
        EXPECT_EQ(BackupResult::Written, o.backup);
    }
    Apply::Outcome failed = Run({L"失败不备份", L"2", L"dw", L"zz"});
    EXPECT_EQ(WriteResult::Failed, failed.write);
    EXPECT_EQ(BackupResult::None, failed.backup);

    const string file = BakBytes();
    string header = Ansi(kSection);
    header.insert(header.begin(), '[');
    header.append("]\r\n");
    EXPECT_EQ(0u, file.find(header)) << file;
    string expected = header;
    for (const Case& c : cases) expected += c.line;
    EXPECT_EQ(expected, file);  // in order, and nothing of the failed tip
}

// The first backup of a day wins: applying again keeps the value found before
// the first application; the next day starts a file of its own.
TEST_F(ApplyTest, FirstBackupOfTheDayWins) {
    TestReg::Set(Sub(), "v", REG_SZ, Sz("original"));
    EXPECT_EQ(BackupResult::Written, Run({L"两次", L"0", L"v", L"first"}).backup);
    Apply::Outcome again = Run({L"两次", L"0", L"v", L"second"});
    EXPECT_EQ(WriteResult::Done, again.write);
    EXPECT_EQ(BackupResult::Kept, again.backup);
    EXPECT_EQ(Sz("second"), Stored("v").second);
    const string file = BakBytes();
    EXPECT_NE(string::npos, file.find(RecordLine(L"两次", TestKeyAnsi(), "v", "original", "1"))) << file;
    EXPECT_EQ(string::npos, file.find("first")) << file;

    SetDate(2026, 5, 7);
    EXPECT_EQ(BackupResult::Written, Run({L"两次", L"0", L"v", L"third"}).backup);
    EXPECT_NE(string::npos, ReadBytes(BakFile(L"05-07-2026")).find(RecordLine(L"两次", TestKeyAnsi(), "v", "second", "1")));
}

// Where backups go: nowhere when off or without a Bak folder; an empty
// category path under a section of its own; a value whose text the file
// cannot hold (a line break) is lost, and the write still counts.
TEST_F(ApplyTest, BackupPlaces) {
    Apply::Outcome off = Run({L"关", L"0", L"a", L"x"}, std::nullopt);
    EXPECT_EQ(WriteResult::Done, off.write);
    EXPECT_EQ(BackupResult::None, off.backup);
    EXPECT_FALSE(App::FileExists(BakFile()));

    EXPECT_EQ(BackupResult::Written, Run({L"无类别", L"0", L"b", L"x"}, L"").backup);
    bool found = false;
    EXPECT_EQ(Ansi(Key() + Marks::FieldMark + L"b" + Marks::FieldMark + Marks::DeleteMark + Marks::FieldMark + L"0"),
              Ansi(Ini::Read(BakFile(), L"(未选定类别)", L"无类别", &found)));
    EXPECT_TRUE(found);

    TestReg::Set(Sub(), "c", REG_SZ, Sz("two\r\nlines"));
    Apply::Outcome lost = Run({L"无法备份", L"0", L"c", L"x"});
    EXPECT_EQ(WriteResult::Done, lost.write);
    EXPECT_EQ(BackupResult::Lost, lost.backup);
    EXPECT_EQ(Sz("x"), Stored("c").second);

    ASSERT_TRUE(App::RemoveFile(BakFile()));
    ASSERT_TRUE(RemoveDirectoryW(Path(L"Bak").c_str()));
    Apply::Outcome noFolder = Run({L"没有文件夹", L"0", L"d", L"x"});
    EXPECT_EQ(WriteResult::Done, noFolder.write);
    EXPECT_EQ(BackupResult::None, noFolder.backup);
    EXPECT_FALSE(App::FolderExists(Path(L"Bak")));
}
