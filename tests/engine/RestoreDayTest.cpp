// Writing a day's backup file back into the registry, without windows.
#include "EngineTest.h"

#include "common/Ini.h"
#include "engine/Apply.h"
#include "engine/Backup.h"
#include "engine/General.h"
#include "fixtures/TipRows.h"
#include "platform/Text.h"

#include <random>
#include <vector>

using std::string;
using std::wstring;

namespace {
const wstring FM(1, L'\xF8F5');
const wstring DM(1, L'\x74E1');
string Dword(uint32_t v) { return string(reinterpret_cast<const char*>(&v), 4); }
string Sz(const string& text) { return text + string(1, '\0'); }
}  // namespace

class RestoreDayTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetDate(2026, 5, 6);
        ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
        MakeKey();
    }
    wstring DayFile() const { return Path(L"Bak\\05-06-2026.bak"); }
    void Write(const wstring& section, const wstring& tip, const wstring& record) {
        ASSERT_TRUE(Ini::Write(DayFile(), section, tip, record));
    }
    static wstring Record(const wstring& keyPath, const wstring& name, const wstring& data, const wstring& type) {
        return keyPath + FM + name + FM + data + FM + type;
    }
};

// Records written by hand: every type, records that cannot be written back,
// two sections in file order; the counts are honest.
TEST_F(RestoreDayTest, RecordsAreWrittenBackByTypeAndFailuresCounted) {
    const wstring key = Key();
    TestReg::Set(Sub(), "del", REG_SZ, Sz("x"));
    TestReg::Set(Sub(), "untouched", REG_SZ, Sz("keep"));
    const wstring s1 = L"系统设置", s2 = L"系统设置\\开始菜单";
    Write(s1, L"删除", Record(Key(L"made"), L"del", DM, L"0"));
    Write(s1, L"删除已有", Record(key, L"del", DM, L"0"));
    Write(s1, L"负一", Record(key, L"dwm1", L"-1", L"4"));
    Write(s1, L"四百", Record(key, L"dw400", L"400", L"4"));
    Write(s1, L"零长", Record(key, L"bin0", L"", L"3"));
    Write(s1, L"三字节", Record(key, L"bin3", L"00 0A FF", L"3"));
    Write(s1, L"可扩展", Record(key, L"exp", L"no percent", L"2"));
    Write(s1, L"多字符串", Record(key, L"multi", L"61 00 00", L"7"));
    Write(s1, L"字符串", Record(key, L"both", L"first", L"1"));
    // Records that write nothing: old records of other types, unreadable data,
    // too few marks, a malformed number.
    Write(s1, L"旧七", Record(key, L"untouched", L"", L"7"));
    Write(s1, L"旧十一", Record(key, L"untouched", L"", L"11"));
    Write(s1, L"错误", Record(key, L"untouched", L"Error$$" + wstring(4, L'\xF8F5'), L"1"));
    Write(s1, L"缺标记", key + FM + L"untouched" + FM + L"1");
    Write(s1, L"坏数字", Record(key, L"untouched", L"4294967296", L"4"));
    Write(s2, L"字符串", Record(key, L"both", L"later", L"1"));
    Write(s2, L"带标记", Record(key, L"fm", L"a" + FM + L"b", L"1"));

    Backup::DayCounts counts = Backup::RestoreDay(DayFile());
    EXPECT_EQ(11, counts.restored);
    EXPECT_EQ(5, counts.notRestored);

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

    // A day file that is missing restores nothing.
    counts = Backup::RestoreDay(Path(L"Bak\\01-01-2000.bak"));
    EXPECT_EQ(0, counts.restored);
    EXPECT_EQ(0, counts.notRestored);
}

// Values in every previous state, applied (some twice) and then restored from
// the day's file: each returns to its exact type and bytes, absent values are
// absent again, created keys stay.
TEST_F(RestoreDayTest, RoundTripReturnsEveryValueToItsState) {
    enum Kind { Absent, NoKey, SzKind, ExpandSz, Binary, ZeroBinary, Dw, Multi, KindCount };
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
    std::vector<TestRows::Tip> tips;
    for (int i = 0; i < 32; ++i) {
        State s;
        s.name = string("v").append(std::to_string(i));
        Kind kind = static_cast<Kind>(i < KindCount ? i : pick(KindCount));  // every kind at least once
        switch (kind) {
        case Absent: break;
        case NoKey: s.sub = string("k").append(std::to_string(i)); break;
        case SzKind: s.type = REG_SZ; s.bytes = Ansi(text()) + '\0'; break;
        case ExpandSz: s.type = REG_EXPAND_SZ; s.bytes = string("%TEMP%").append(Ansi(text())).append(1, '\0'); break;
        case Binary: s.type = REG_BINARY; s.bytes = bytes(1 + pick(12)); break;
        case ZeroBinary: s.type = REG_BINARY; break;
        case Dw: s.type = REG_DWORD; s.bytes = Dword(i == Dw ? 0xFFFFFFFFu : static_cast<uint32_t>(rng())); break;
        case Multi: s.type = REG_MULTI_SZ; s.bytes = Ansi(text()) + '\0' + "x" + '\0' + '\0'; break;
        default: break;
        }
        if (s.type != kMissing) TestReg::Set(Sub(), s.name, s.type, s.bytes);
        states.push_back(s);

        TestRows::Tip t{L"技巧" + Text::FromInt(i), Text::FromInt(pick(4)), Text::FromAnsi(s.name), L""};
        t.keyPath = Key(Text::FromAnsi(s.sub));
        if (t.typeCode == L"0" || t.typeCode == L"3") t.data = text();
        if (t.typeCode == L"1") t.data = General::BytesToHex(bytes(pick(6)));
        if (t.typeCode == L"2") t.data = General::BytesToHex(bytes(4)).substr(0, 2) + L"ab12";
        t.deleteChoice = s.type != kMissing && pick(4) == 0;
        tips.push_back(t);
    }
    const wstring section = L"系统设置";
    for (const TestRows::Tip& t : tips)
        ASSERT_EQ(Apply::WriteResult::Done, Apply::ApplyTip(Apply::FromRow(TestRows::Cells(t)), section).write)
            << Ansi(t.name);
    // A second application the same day, with other data.
    for (size_t i = 0; i < tips.size(); i += 2) {
        TestRows::Tip t = tips[i];
        if (t.deleteChoice || (t.typeCode != L"0" && t.typeCode != L"3")) continue;
        t.data = L"再次";
        ASSERT_EQ(Apply::WriteResult::Done, Apply::ApplyTip(Apply::FromRow(TestRows::Cells(t)), section).write);
    }

    Backup::DayCounts counts = Backup::RestoreDay(DayFile());
    EXPECT_EQ(32, counts.restored);
    EXPECT_EQ(0, counts.notRestored);
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
}
