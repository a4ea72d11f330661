// The registry file export: the bytes of both header variants, and what the
// system's registry editor makes of them.
#include "Rows.h"
#include "support/Fixture.h"
#include "transfer/ExportFile.h"
#include "transfer/RegExport.h"

#include <windows.h>

using Rows::Delete;
using Rows::Row;
using RegExport::Header;

namespace {
const std::wstring K = L"HKEY_CURRENT_USER\\Software\\QuorixTest";
const std::wstring K2 = L"HKEY_CURRENT_USER\\Software\\QuorixTest\\中文键";

std::string FileBytes(const std::wstring& text, Header h) {
    if (h == Header::Regedit4) return Text::ToAnsi(text);
    return "\xFF\xFE" + Rows::Utf16(text);
}

// The file as readable text, for failure output.
std::string Shown(const std::string& bytes, Header h) {
    if (h == Header::Regedit4) return bytes;
    std::wstring w;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return Text::ToAnsi(w);
}
}  // namespace

TEST(RegExport, GoldenFiles) {
    const std::wstring H4 = L"REGEDIT4\r\n\r\n", H5 = L"Windows Registry Editor Version 5.00\r\n\r\n";
    const Header R4 = Header::Regedit4, V5 = Header::Version5;
    struct Case {
        const char* what;
        Header header;
        std::vector<TipRow::Cells> rows;
        std::wstring text;  // after the header
        int leftOut = 0;
    } cases[] = {
        {"no rows, old header", R4, {}, L""},
        {"no rows, new header", V5, {}, L""},
        {"grouped by key, later entry replaces in place, any case",
         R4,
         {Row(K, L"a", L"0", L"x"), Row(K2, L"b", L"2", L"1"), Row(Text::UpperCase(K), L"A", L"0", L"y"),
          Row(K, L"", L"0", L"d")},
         L"[" + K + L"]\r\n\"a\"=\"y\"\r\n@=\"d\"\r\n\r\n[" + K2 + L"]\r\n\"b\"=dword:00000001\r\n\r\n"},
        {"the default value and a value named @ are two entries", V5,
         {Row(K, L"", L"0", L"d"), Row(K, L"@", L"0", L"n")}, L"[" + K + L"]\r\n@=\"d\"\r\n\"@\"=\"n\"\r\n\r\n"},
        {"deletions, whatever the type", V5,
         {Row(K, L"v", L"1", Delete), Row(K, L"", L"0", Delete), Row(K, L"w", L"2", Delete), Row(K, L"e", L"3", Delete)},
         L"[" + K + L"]\r\n\"v\"=-\r\n@=-\r\n\"w\"=-\r\n\"e\"=-\r\n\r\n"},
        {"binary: pairs as shown, zero length, loose blanks", R4,
         {Row(K, L"b1", L"1", L"01 ab FF"), Row(K, L"b0", L"1", L""), Row(K, L"b2", L"1", L" 0a  0B ")},
         L"[" + K + L"]\r\n\"b1\"=hex:01,ab,FF\r\n\"b0\"=hex:\r\n\"b2\"=hex:0a,0B\r\n\r\n"},
        {"DWORD in eight digits", V5,
         {Row(K, L"d1", L"2", L"1"), Row(K, L"d0", L"2", L"0"), Row(K, L"d7", L"2", L"7FFFFFFF"),
          Row(K, L"dF", L"2", L"ffffffff"), Row(K, L"d9", L"2", L"000000001")},
         L"[" + K + L"]\r\n\"d1\"=dword:00000001\r\n\"d0\"=dword:00000000\r\n\"d7\"=dword:7fffffff\r\n"
         L"\"dF\"=dword:ffffffff\r\n\"d9\"=dword:00000001\r\n\r\n"},
        {"backslashes and quotes in names and strings", R4,
         {Row(K, L"a\\b\"c", L"0", L"C:\\x \"q\"\\"), Row(K, L"k=v;c", L"0", L"")},
         L"[" + K + L"]\r\n\"a\\\\b\\\"c\"=\"C:\\\\x \\\"q\\\"\\\\\"\r\n\"k=v;c\"=\"\"\r\n\r\n"},
        {"expandable string in code-page bytes", R4,
         {Row(K, L"e", L"3", L"%a%\\中"), Row(K, L"e0", L"3", L"")},
         L"[" + K + L"]\r\n\"e\"=hex(2):25,61,25,5c,d6,d0,00\r\n\"e0\"=hex(2):00\r\n\r\n"},
        {"expandable string in UTF-16LE", V5,
         {Row(K, L"e", L"3", L"%a%\\中"), Row(K, L"e0", L"3", L"")},
         L"[" + K + L"]\r\n\"e\"=hex(2):25,00,61,00,25,00,5c,00,2d,4e,00,00\r\n\"e0\"=hex(2):00,00\r\n\r\n"},
        {"Chinese key, name and data", R4,
         {Row(K2, L"名称", L"0", L"数据")}, L"[" + K2 + L"]\r\n\"名称\"=\"数据\"\r\n\r\n"},
        {"rows the editor would refuse are left out, with their sections", R4,
         {Row(K, L"ok", L"0", L"x"), Row(K, L"t4", L"4", L"x"), Row(K2, L"big", L"2", L"100000000"),
          Row(K2, L"nohex", L"2", L"xyz"), Row(K2, L"odd", L"1", L"1 2"), Row(K2, L"bad", L"1", L"0g"),
          Row(L"HKEY_NOWHERE\\x", L"r", L"0", L"x"), Row(L"Software\\x", L"r", L"0", L"x"),
          Row(K2, L"emoji", L"0", L"\U0001F600"), Row(K2, L"del", L"7", Delete)},
         L"[" + K + L"]\r\n\"ok\"=\"x\"\r\n\r\n", 9},
        {"a character the code page lacks is kept in the new variant", V5,
         {Row(K2, L"emoji", L"0", L"\U0001F600")}, L"[" + K2 + L"]\r\n\"emoji\"=\"\U0001F600\"\r\n\r\n"},
        {"a left-out later row keeps the earlier data", V5,
         {Row(K, L"d", L"2", L"5"), Row(K, L"D", L"2", L"zz")}, L"[" + K + L"]\r\n\"d\"=dword:00000005\r\n\r\n", 1},
    };
    for (const auto& c : cases) {
        RegExport::Document doc = RegExport::Build(c.rows, c.header);
        std::string expected = FileBytes((c.header == R4 ? H4 : H5) + c.text, c.header);
        EXPECT_EQ(expected, doc.bytes) << c.what << "\n" << Shown(doc.bytes, c.header);
        EXPECT_EQ(c.leftOut, doc.leftOut) << c.what;
    }
}

TEST(RegExport, EncodingsOnDisk) {
    std::vector<TipRow::Cells> rows{Row(K2, L"v", L"0", L"x")};
    std::string old = RegExport::Build(rows, Header::Regedit4).bytes;
    std::string v5 = RegExport::Build(rows, Header::Version5).bytes;
    EXPECT_EQ(0u, old.find("REGEDIT4\r\n"));
    EXPECT_NE(std::string::npos, old.find("\xD6\xD0\xCE\xC4\xBC\xFC"));  // 中文键 in code page 936
    EXPECT_EQ(0u, v5.find(std::string("\xFF\xFE" "W\0i\0n\0", 8)));
    EXPECT_NE(std::string::npos, v5.find(std::string("\x2D\x4E\x87\x65\x2E\x95", 6)));  // UTF-16LE
    EXPECT_EQ(Header::Regedit4, RegExport::HeaderFor(L"98"));
    EXPECT_EQ(Header::Version5, RegExport::HeaderFor(L"xp"));
    EXPECT_EQ(Header::Version5, RegExport::HeaderFor(L"98 "));
}

// ---- What the system's registry editor imports ---------------------------------

namespace {
const std::wstring kSub = L"Software\\QuorixTest\\导出";
const std::wstring kKey = L"HKEY_CURRENT_USER\\" + kSub;
const std::wstring kSub2 = L"Software\\QuorixTest\\默认";
const std::wstring kKey2 = L"HKEY_CURRENT_USER\\" + kSub2;

struct Stored {
    bool present = false;
    DWORD type = 0;
    std::string bytes;
};
// A value as the registry holds it, through the W functions (no code page in between).
Stored Query(const std::wstring& subkey, const std::wstring& name) {
    Stored s;
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return s;
    DWORD size = 0;
    if (RegQueryValueExW(k, name.c_str(), nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
        s.bytes.assign(size, '\0');
        s.present = RegQueryValueExW(k, name.c_str(), nullptr, &s.type, reinterpret_cast<BYTE*>(s.bytes.data()),
                                     &size) == ERROR_SUCCESS;
        s.bytes.resize(size);
    }
    RegCloseKey(k);
    return s;
}
void SetString(const std::wstring& subkey, const std::wstring& name, const std::wstring& text) {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &k, nullptr));
    RegSetValueExW(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}
std::string Sz(const std::wstring& text) { return Rows::Utf16(text) + std::string(2, '\0'); }
std::string Dword(uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

// Runs the system's registry editor silently on a file and waits for it.
bool Import(const std::wstring& file) {
    std::wstring cmd = L"regedit.exe /s \"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    bool done = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return done;
}
}  // namespace

class RegeditRoundTrip : public QuorixTest {};

TEST_F(RegeditRoundTrip, BothVariantsImportToTheRowsValues) {
    struct Case {
        TipRow::Cells row;
        std::wstring subkey, name;
        DWORD type;
        std::string bytes;
        bool gone = false;
    } cases[] = {
        {Row(kKey, L"str", L"0", L"文本 text"), kSub, L"str", REG_SZ, Sz(L"文本 text")},
        {Row(kKey, L"exp1", L"3", L"%SystemRoot%\\system32"), kSub, L"exp1", REG_EXPAND_SZ, Sz(L"%SystemRoot%\\system32")},
        {Row(kKey, L"exp2", L"3", L"C:\\plain\\"), kSub, L"exp2", REG_EXPAND_SZ, Sz(L"C:\\plain\\")},
        {Row(kKey, L"exp3", L"3", L"%TEMP%\\中文"), kSub, L"exp3", REG_EXPAND_SZ, Sz(L"%TEMP%\\中文")},
        {Row(kKey, L"bin", L"1", L"01 ab FF"), kSub, L"bin", REG_BINARY, "\x01\xAB\xFF"},
        {Row(kKey, L"bin0", L"1", L""), kSub, L"bin0", REG_BINARY, ""},
        {Row(kKey, L"dw0", L"2", L"0"), kSub, L"dw0", REG_DWORD, Dword(0)},
        {Row(kKey, L"dw7", L"2", L"7fffffff"), kSub, L"dw7", REG_DWORD, Dword(0x7fffffff)},
        {Row(kKey, L"dwF", L"2", L"FFFFFFFF"), kSub, L"dwF", REG_DWORD, Dword(0xffffffff)},
        {Row(kKey, L"dw9", L"2", L"000000001"), kSub, L"dw9", REG_DWORD, Dword(1)},
        {Row(kKey, L"", L"0", L"默认数据"), kSub, L"", REG_SZ, Sz(L"默认数据")},
        {Row(kKey, L"名称", L"0", L"值"), kSub, L"名称", REG_SZ, Sz(L"值")},
        {Row(kKey, L"a\\b\"c", L"0", L"C:\\x \"q\"\\"), kSub, L"a\\b\"c", REG_SZ, Sz(L"C:\\x \"q\"\\")},
        {Row(kKey, L"k=v;c", L"0", L"eq;semi=colon"), kSub, L"k=v;c", REG_SZ, Sz(L"eq;semi=colon")},
        {Row(kKey, L"two lines", L"0", L"one\r\ntwo"), kSub, L"two lines", REG_SZ, Sz(L"one\r\ntwo")},
        {Row(kKey, L"gone", L"1", Delete), kSub, L"gone", 0, "", true},
        {Row(kKey2, L"", L"0", Delete), kSub2, L"", 0, "", true},
    };
    std::vector<TipRow::Cells> rows;
    for (const auto& c : cases) rows.push_back(c.row);

    for (Header header : {Header::Regedit4, Header::Version5}) {
        SCOPED_TRACE(header == Header::Regedit4 ? "REGEDIT4" : "Version 5.00");
        TestReg::DeleteTree(kTestSubkeyAnsi);
        SetString(kSub, L"gone", L"old");
        SetString(kSub2, L"", L"old default");
        SetString(kSub2, L"kept", L"k");
        ASSERT_TRUE(Query(kSub, L"gone").present);

        RegExport::Document doc = RegExport::Build(rows, header);
        EXPECT_EQ(0, doc.leftOut);
        std::wstring file = Path(L"export.reg");
        ASSERT_TRUE(ExportFile::WriteWhole(file, doc.bytes));
        ASSERT_TRUE(Import(file));

        for (const auto& c : cases) {
            Stored s = Query(c.subkey, c.name);
            if (c.gone) {
                EXPECT_FALSE(s.present) << Text::ToAnsi(c.subkey) << " " << Text::ToAnsi(c.name);
                continue;
            }
            EXPECT_TRUE(s.present) << Text::ToAnsi(c.name);
            EXPECT_EQ(c.type, s.type) << Text::ToAnsi(c.name);
            EXPECT_EQ(c.bytes, s.bytes) << Text::ToAnsi(c.name);
        }
        EXPECT_TRUE(Query(kSub2, L"kept").present);
    }
}
