// The value editor page, opened as the program opens it (the 新建 items and
// 修改 of the live-value popup) on the key of the selected tip, with the real
// registry under HKEY_CURRENT_USER\Software\QuorixTest: what is stored, what
// the system's reg.exe reads back, what the live-value list shows, and what is
// refused.
#include "dialogs/Form4.h"
#include "dialogs/PagesFixture.h"
#include "editor/EditorFixture.h"
#include "engine/LiveValues.h"
#include "engine/ValueText.h"
#include "platform/Modal.h"
#include "platform/Drive.h"
#include "support/RealInput.h"

#include <aclapi.h>

#include <functional>
#include <map>
#include <optional>

namespace {
const wchar_t kSubKey[] = L"Software\\QuorixTest";

struct Raw {
    Raw() = default;
    Raw(DWORD t, std::vector<BYTE> b) : type(t), bytes(std::move(b)) {}
    DWORD type = 0;
    std::vector<BYTE> bytes;
    friend bool operator==(const Raw&, const Raw&) = default;
};

std::optional<Raw> Stored(const std::wstring& name) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSubKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    Raw r;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(k, name.c_str(), nullptr, &r.type, nullptr, &size);
    if (rc == ERROR_SUCCESS) {
        r.bytes.resize(size);
        rc = RegQueryValueExW(k, name.c_str(), nullptr, &r.type, r.bytes.data(), &size);
        r.bytes.resize(size);
    }
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    return r;
}

void Store(const std::wstring& name, DWORD type, const std::vector<BYTE>& bytes) {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kSubKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                                             nullptr));
    RegSetValueExW(k, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(k);
}

std::vector<BYTE> Utf16(const std::wstring& s) {
    std::vector<BYTE> b((s.size() + 1) * 2, 0);
    memcpy(b.data(), s.data(), s.size() * 2);
    return b;
}

// What the system's reg.exe lists under the test key: name -> (type, data),
// as it prints them ("(默认)" style names as reg prints the default).
std::map<std::wstring, std::pair<std::wstring, std::wstring>> RegQuery() {
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> out;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return out;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"reg.exe query HKCU\\Software\\QuorixTest";
    const BOOL started =
        CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    std::string bytes;
    if (started) {
        char buf[4096];
        DWORD got;
        while (ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got) bytes.append(buf, got);
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    // Lines "    <name>    <type>    <data>", in the console's code page (936).
    const std::wstring text = Text::FromAnsi(bytes);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (!line.starts_with(L"    ")) continue;
        line = line.substr(4);
        const size_t t = line.find(L"    REG_");
        if (t == std::wstring::npos) continue;
        const std::wstring name = line.substr(0, t);
        std::wstring rest = line.substr(t + 4);
        const size_t d = rest.find(L"    ");
        const std::wstring type = rest.substr(0, d);
        const std::wstring data = d == std::wstring::npos ? L"" : rest.substr(d + 4);
        out[name] = {type, data};
    }
    return out;
}
}  // namespace

class ValueEditorTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        App::SetCommandForTests(L"");  // no files named on the command line (a test filter is none)
        TestReg::CreateKey(kTestSubkeyAnsi);
    }
    void TearDown() override {
        Modal::SetHookForTests(nullptr);
        EditorTest::TearDown();
    }
    // The program on a category with one tip for the test key, that tip
    // selected and the key's values listed.
    void Begin() {
        using namespace Bytes;
        Start(Section(Data) + Line(L"测试技巧", Rec(kTestKey, L"v", L"一", "1", '0', L"说明", '1')) +
              Mirror(Data) + Line(L"测试技巧", Opts({L"一"}, {"1"})));
        ASSERT_EQ(1, tips().Count());
        Click(1);
        Relist();
    }
    void Relist() { main().Showvaluesx(); }
    ListView& live() { return props().ListView2; }
    // The row of the value named `name` ("" the default value), 0 when none.
    int LiveRow(const std::wstring& name) {
        for (int r = 1; r <= live().Count(); ++r)
            if (const LiveValue* v = props().LiveValueAt(r); v && !v->unsetDefault && v->name == name) return r;
        return 0;
    }
    // Runs `work` on the page while it is up; false when the page never came up.
    bool WithPage(const std::function<void()>& open, const std::function<void(::Form4&)>& work) {
        bool ran = false;
        Modal::SetHookForTests([&](HWND) {
            ran = true;
            work(Forms::Form4());
        });
        open();
        Modal::SetHookForTests(nullptr);
        return ran;
    }
    // Opens the page for the live row `row` as 修改 does.
    bool EditRow(int row, const std::function<void(::Form4&)>& work) {
        for (int r = 1; r <= live().Count(); ++r) live().SetSelected(r, r == row);
        live().SetSelectedItem(row);
        return WithPage([&] { main().Regxgok(); }, work);
    }
    enum class New { String, Expand, Binary, Dword };
    bool NewValue(New kind, const std::function<void(::Form4&)>& work) {
        return WithPage(
            [&] {
                switch (kind) {
                case New::String: main().regzfc_Click(); break;
                case New::Expand: main().regkc_Click(); break;
                case New::Binary: main().regejz_Click(); break;
                case New::Dword: main().regdword_Click(); break;
                }
            },
            work);
    }
};

// Typed text against the stored type and bytes, what reg.exe reads back and
// the row the list gains: every new kind, empty data included.
TEST_F(ValueEditorTest, NewValuesAreStoredAsTypedAndListedWithoutRereading) {
    Begin();
    struct Case {
        New kind;
        const wchar_t* caption;
        const wchar_t* hint;
        std::wstring name, typed;
        Raw stored;
        std::wstring regType, regData;
        std::wstring kindText, shown;
    };
    const std::vector<Case> cases = {
        {New::String, L"新建字符串", L"键值(&V):", L"  串值 ", L" 中文 ", {REG_SZ, Utf16(L"中文")}, L"REG_SZ", L"中文",
         L"字符串值", L"\"中文\""},
        {New::Binary, L"新建二进制值", L"键值(&V):[00 01 02 ab bc]", L"bin", L"01 02,ab", {REG_BINARY, {1, 2, 0xAB}},
         L"REG_BINARY", L"0102AB", L"二进制值", L"01 02 ab"},
        {New::Dword, L"新建 DWORD 值", L"键值(&V):[十六进制值]", L"dw", L"ffffffff", {REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}},
         L"REG_DWORD", L"0xffffffff", L"DWORD值", L"0xffffffff (4294967295)"},
        {New::Expand, L"新建可扩充字符串", L"键值(&V):", L"exp", L"%TEMP%\\x", {REG_EXPAND_SZ, Utf16(L"%TEMP%\\x")},
         L"REG_EXPAND_SZ", L"%TEMP%\\x", L"可扩充字符串值", L""},
        {New::Expand, L"新建可扩充字符串", L"键值(&V):", L"plain", L"no refs", {REG_EXPAND_SZ, Utf16(L"no refs")},
         L"REG_EXPAND_SZ", L"no refs", L"可扩充字符串值", L"\"no refs\""},
        {New::Binary, L"新建二进制值", L"键值(&V):[00 01 02 ab bc]", L"nobytes", L"", {REG_BINARY, {}}, L"REG_BINARY",
         L"", L"二进制值", L"(长度为零的二进制值)"},
        {New::Dword, L"新建 DWORD 值", L"键值(&V):[十六进制值]", L"zero", L"", {REG_DWORD, {0, 0, 0, 0}}, L"REG_DWORD",
         L"0x0", L"DWORD值", L"0x00000000 (0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text::ToAnsi(c.caption + (L" " + c.typed)));
        const int rowsBefore = live().Count();
        EXPECT_TRUE(NewValue(c.kind, [&](::Form4& f) {
            EXPECT_EQ(c.caption, f.Caption());
            EXPECT_EQ(c.hint, f.Label32.Caption());
            EXPECT_TRUE(f.Picture5.Visible());
            EXPECT_FALSE(f.Frame1.Visible());
            EXPECT_FALSE(f.Text12.Locked());
            EXPECT_EQ(L"", f.Text12.Text());
            EXPECT_EQ(L"", f.Text13.Text());
            f.Text12.SetText(c.name);
            f.Text13.SetText(c.typed);
            f.Command13.PerformClick();
            EXPECT_FALSE(f.Exists());
        }));
        const std::wstring name = Text::TrimSpaces(c.name);
        EXPECT_EQ(c.stored, Stored(name));
        ASSERT_EQ(rowsBefore + 1, live().Count());
        const int row = LiveRow(name);
        ASSERT_EQ(live().Count(), row);
        EXPECT_EQ(name, live().Text(row));
        EXPECT_EQ(c.kindText, LiveValues::Kind(*props().LiveValueAt(row)));
        if (!c.shown.empty()) {
            EXPECT_EQ(c.shown, live().SubText(row, 1));
        }
        EXPECT_EQ(1, live().SelectedCount());
        EXPECT_TRUE(live().Selected(row));
    }
    EXPECT_EQ(WriteModes::None, main().WriteMode);
    const auto reg = RegQuery();
    for (const Case& c : cases) {
        const std::wstring name = Text::TrimSpaces(c.name);
        SCOPED_TRACE(Text::ToAnsi(name));
        ASSERT_TRUE(reg.count(name));
        EXPECT_EQ(c.regType, reg.at(name).first);
        EXPECT_EQ(c.regData, reg.at(name).second);
    }
}

// What 确定 refuses: the message, the page still up with the focus where the
// fault is, nothing written and the list as it was.
TEST_F(ValueEditorTest, RefusedEntriesKeepThePageOpenAndWriteNothing) {
    Store(L"Existing", REG_SZ, Utf16(L"x"));
    Begin();
    // Stored after the listing: the list does not show it, the key holds it.
    Store(L"Hidden", REG_DWORD, {7, 0, 0, 0});
    const int rows = live().Count();
    ASSERT_NE(0, LiveRow(L"Existing"));
    ASSERT_EQ(0, LiveRow(L"Hidden"));
    struct Case {
        New kind;
        std::wstring name, typed, message;
        bool focusOnName;
    };
    const std::vector<Case> cases = {
        {New::String, L"   ", L"a", L"键名不能为空", true},
        {New::String, L"eXISTING", L"a", L"指定的名称已存在，请键入别的名称。", true},
        {New::Dword, L" (默认) ", L"1", L"指定的名称已存在，请键入别的名称。", true},
        {New::Binary, L"hidden", L"01", L"指定的名称已存在，请键入别的名称。", true},
        {New::Binary, L"b", L"0102", L"输入的数据格式不符合要求", false},
        {New::Binary, L"b", L"01 2", L"输入的数据格式不符合要求", false},
        {New::Binary, L"b", L"zz", L"输入的数据格式不符合要求", false},
        {New::Binary, L"b", L"01  02", L"输入的数据格式不符合要求", false},
        {New::Binary, L"b", L"01,", L"输入的数据格式不符合要求", false},
        {New::Dword, L"d", L"zz", L"输入的数据格式不符合要求", false},
        {New::Dword, L"d", L"123456789", L"输入的数据格式不符合要求", false},
        {New::Dword, L"d", L"0x1f", L"输入的数据格式不符合要求", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text::ToAnsi(c.name + L" / " + c.typed));
        ExpectBox(IDOK, c.message);
        EXPECT_TRUE(NewValue(c.kind, [&](::Form4& f) {
            f.Text12.SetText(c.name);
            f.Text13.SetText(c.typed);
            f.Command13.PerformClick();
            EXPECT_TRUE(f.Exists());
            EXPECT_EQ(c.focusOnName ? f.Text12.hwnd() : f.Text13.hwnd(), GetFocus());
            f.Command14.PerformClick();
        }));
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
        EXPECT_EQ(rows, live().Count());
    }
    for (const wchar_t* name : {L"b", L"d", L"(默认)"}) EXPECT_FALSE(Stored(name)) << Text::ToAnsi(name);
    EXPECT_EQ(Raw({REG_SZ, Utf16(L"x")}), Stored(L"Existing"));
    EXPECT_EQ(Raw({REG_DWORD, {7, 0, 0, 0}}), Stored(L"Hidden"));
}

// A key that refuses writes: the failure is shown, the page stays up, and
// neither the registry nor the list changes; 取消 then leaves it.
TEST_F(ValueEditorTest, AKeyDenyingWritesKeepsThePageAndTheList) {
    Store(L"dw", REG_DWORD, {5, 0, 0, 0});
    Begin();
    const int row = LiveRow(L"dw");
    ASSERT_NE(0, row);
    const std::wstring shown = live().SubText(row, 1);
    const int rows = live().Count();

    // Everyone may read the key, no one may write it.
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kSubKey, 0, READ_CONTROL | WRITE_DAC, &k));
    BYTE sdBuf[SECURITY_DESCRIPTOR_MIN_LENGTH];
    auto* sd = reinterpret_cast<PSECURITY_DESCRIPTOR>(sdBuf);
    InitializeSecurityDescriptor(sd, SECURITY_DESCRIPTOR_REVISION);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    BYTE aclBuf[256];
    auto* acl = reinterpret_cast<PACL>(aclBuf);
    InitializeAcl(acl, sizeof aclBuf, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    SetSecurityDescriptorDacl(sd, TRUE, acl, FALSE);
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, sd));
    HKEY probe;
    const bool denied = RegOpenKeyExW(HKEY_CURRENT_USER, kSubKey, 0, KEY_SET_VALUE, &probe) != ERROR_SUCCESS;
    if (!denied) RegCloseKey(probe);

    if (denied) {
        for (bool edit : {true, false}) {
            SCOPED_TRACE(edit ? "edit" : "new");
            ExpectBox(IDOK, L"不存在这个名称的键值，导致修改失败");
            auto work = [&](::Form4& f) {
                if (!edit) f.Text12.SetText(L"fresh");
                f.Text13.SetText(L"1f");
                f.Command13.PerformClick();
                EXPECT_TRUE(f.Exists());
                EXPECT_EQ(L"1f", f.Text13.Text());
                f.Command14.PerformClick();
            };
            EXPECT_TRUE(edit ? EditRow(row, work) : NewValue(New::Dword, work));
            EXPECT_EQ(rows, live().Count());
            EXPECT_EQ(shown, live().SubText(row, 1));
            EXPECT_EQ(WriteModes::None, main().WriteMode);
        }
        EXPECT_EQ(Raw({REG_DWORD, {5, 0, 0, 0}}), Stored(L"dw"));
        EXPECT_FALSE(Stored(L"fresh"));
    }

    // Full access again, so the key can go.
    InitializeAcl(acl, sizeof aclBuf, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
    SetSecurityDescriptorDacl(sd, TRUE, acl, FALSE);
    RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, sd);
    RegCloseKey(k);
    FreeSid(everyone);
    ASSERT_TRUE(denied) << "the registry did not refuse the write";
}

// 确定 with the data box as it opened keeps the value's type and bytes, for
// every type and for the default value in each type; the page opens in the
// kind of the value's own type.
TEST_F(ValueEditorTest, UnchangedDataKeepsEveryTypeAndItsBytes) {
    // Longer than what the list shows (255 bytes).
    std::vector<BYTE> longBinary(12000);
    for (size_t i = 0; i < longBinary.size(); ++i) longBinary[i] = static_cast<BYTE>(i * 7);
    const std::wstring longText(40000, L'长');
    std::vector<BYTE> afterNull = Utf16(L" 两端 ");
    afterNull.insert(afterNull.end(), {'z', 0, 0, 0});
    struct Case {
        const char* what;
        Raw raw;
        const wchar_t* caption;
        std::wstring box;
    };
    const std::vector<Case> cases = {
        {"string, blanks and bytes after its null", {REG_SZ, afterNull}, L"编辑字符串", L" 两端 "},
        {"expandable, unexpanded", {REG_EXPAND_SZ, Utf16(L"%TEMP%\\x")}, L"编辑可扩充字符串", L"%TEMP%\\x"},
        {"binary of 12000 bytes", {REG_BINARY, longBinary}, L"编辑二进制值", ValueText::BinaryText(longBinary)},
        {"string of 40000 characters", {REG_SZ, Utf16(longText)}, L"编辑字符串", longText},
        {"binary, empty", {REG_BINARY, {}}, L"编辑二进制值", L""},
        {"DWORD", {REG_DWORD, {0xcd, 0xab, 0, 0}}, L"编辑 DWORD 值", L"abcd"},
        {"DWORD zero", {REG_DWORD, {0, 0, 0, 0}}, L"编辑 DWORD 值", L""},
        {"big-endian DWORD", {REG_DWORD_BIG_ENDIAN, {0, 0, 0x01, 0x1f}}, L"编辑 DWORD 值", L"11f"},
    };
    Begin();
    for (const Case& c : cases) {
        for (const std::wstring name : {L"named", L""}) {
            SCOPED_TRACE(std::string(c.what) + (name.empty() ? " (default)" : ""));
            Store(name, c.raw.type, c.raw.bytes);
            Relist();
            const int row = LiveRow(name);
            ASSERT_NE(0, row);
            const std::wstring shown = live().SubText(row, 1);
            EXPECT_TRUE(EditRow(row, [&](::Form4& f) {
                EXPECT_EQ(c.caption, f.Caption());
                EXPECT_EQ(name.empty() ? L"(默认)" : name, f.Text12.Text());
                EXPECT_TRUE(f.Text12.Locked());
                EXPECT_EQ(0, GetWindowLongW(f.Text12.hwnd(), GWL_STYLE) & WS_TABSTOP);
                EXPECT_EQ(c.box, f.Text13.Text());
                // The data box has the focus, its whole text selected.
                EXPECT_EQ(f.Text13.hwnd(), GetFocus());
                EXPECT_EQ(static_cast<int>(c.box.size()), f.Text13.SelLength());
                Drive::PostKey(f.Text13.hwnd(), VK_RETURN);  // Enter is 确定
            }));
            EXPECT_EQ(c.raw, Stored(name));
            EXPECT_EQ(shown, live().SubText(row, 1));
        }
    }
}

// Changed data in edit mode: the value keeps its real name and type, string
// data is written as the box holds it, and the unset default becomes a string;
// Esc leaves without writing.
TEST_F(ValueEditorTest, EditsKeepNameAndTypeAndEscWritesNothing) {
    Store(L" padded ", REG_SZ, Utf16(L"old"));
    Store(L"be", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1});
    Store(L"exp", REG_EXPAND_SZ, Utf16(L"%TEMP%"));
    Begin();
    ASSERT_NE(0, LiveRow(L" padded "));
    ASSERT_FALSE(Stored(L""));

    struct Case {
        std::wstring name;  // "" and unset: the unset-default row
        std::wstring typed;
        Raw stored;
    };
    const std::vector<Case> cases = {
        {L" padded ", L"  new  ", {REG_SZ, Utf16(L"  new  ")}},
        {L"be", L"1F", {REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0x1f}}},
        {L"exp", L"%TEMP%\\y", {REG_EXPAND_SZ, Utf16(L"%TEMP%\\y")}},
        {L"", L"默认串", {REG_SZ, Utf16(L"默认串")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text::ToAnsi(c.name));
        int row = c.name.empty() ? 1 : LiveRow(c.name);
        ASSERT_NE(0, row);
        EXPECT_TRUE(EditRow(row, [&](::Form4& f) {
            f.Text13.SetText(c.typed);
            f.Command13.PerformClick();
            EXPECT_FALSE(f.Exists());
        }));
        EXPECT_EQ(c.stored, Stored(c.name));
        const LiveValue* v = props().LiveValueAt(row);
        ASSERT_TRUE(v);
        EXPECT_FALSE(v->unsetDefault);
        EXPECT_EQ(c.name, v->name);
        EXPECT_EQ(c.stored.type, v->type);
    }
    EXPECT_EQ(L"0x0000001f (31)", live().SubText(LiveRow(L"be"), 1));

    // A QWORD is listed but not edited here: 修改 opens nothing.
    Store(L"q", REG_QWORD, {1, 2, 3, 4, 5, 6, 7, 8});
    Relist();
    EXPECT_FALSE(EditRow(LiveRow(L"q"), [](::Form4&) {}));
    EXPECT_FALSE(Forms::Form4IfLoaded());

    // Esc closes the page like 取消.
    const int row = LiveRow(L"be");
    EXPECT_TRUE(EditRow(row, [&](::Form4& f) {
        f.Text13.SetText(L"2");
        Drive::PostKey(f.Text13.hwnd(), VK_ESCAPE);
    }));
    EXPECT_FALSE(Forms::Form4IfLoaded());
    EXPECT_EQ(Raw({REG_DWORD_BIG_ENDIAN, {0, 0, 0, 0x1f}}), Stored(L"be"));
}

// With no tip selected there is no key to write under: nothing is written.
TEST_F(ValueEditorTest, NoSelectedTipWritesNothing) {
    Begin();
    tips().SetSelected(1, false);
    ExpectBox(IDOK);
    EXPECT_TRUE(NewValue(New::String, [&](::Form4& f) {
        f.Text12.SetText(L"orphan");
        f.Text13.SetText(L"x");
        f.Command13.PerformClick();
        EXPECT_TRUE(f.Exists());
        f.Command14.PerformClick();
    }));
    EXPECT_FALSE(Stored(L"orphan"));
}

// The routes a user takes: the live list's popup (新建 under an empty spot)
// and a double click on a row open the page as the program wires them.
TEST_F(ValueEditorTest, PopupItemsAndDoubleClickOpenThePage) {
    Store(L"dw", REG_DWORD, {5, 0, 0, 0});
    Begin();
    const int row = LiveRow(L"dw");
    ASSERT_NE(0, row);

    std::vector<std::wstring> offered;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) -> std::wstring {
        for (const wchar_t* key : {L"regxj", L"regxg"})
            if (m.Item(key) && m.Item(key)->visible) offered.push_back(key);
        return L"regkc";
    });
    std::wstring caption;
    Modal::SetHookForTests([&](HWND) {
        ::Form4& f = Forms::Form4();
        caption = f.Caption();
        f.Text12.SetText(L"path");
        f.Text13.SetText(L"%TEMP%");
        f.Command13.PerformClick();
    });
    props().ListView2_MouseUp(2, 0, 5, 2000);  // below every row
    EXPECT_EQ(std::vector<std::wstring>{L"regxj"}, offered);
    EXPECT_EQ(L"新建可扩充字符串", caption);
    EXPECT_EQ(Raw({REG_EXPAND_SZ, Utf16(L"%TEMP%")}), Stored(L"path"));

    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(live().hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
    for (int i = 1; i <= live().Count(); ++i) live().SetSelected(i, i == row);
    live().SetSelectedItem(row);
    props().LiveMouseDown = POINT{r.left + 2, (r.top + r.bottom) / 2};
    EXPECT_TRUE(WithPage([&] { props().ListView2_DblClick(); }, [&](::Form4& f) {
        EXPECT_EQ(L"编辑 DWORD 值", f.Caption());
        EXPECT_EQ(std::vector<std::string>{},
                  PaintedOver(f.hwnd(), {{"Label31", &f.Label31}, {"Text12", &f.Text12}, {"Label32", &f.Label32},
                                         {"Text13", &f.Text13}, {"Command13", &f.Command13}, {"Command14", &f.Command14}}));
        EXPECT_EQ(L"dw", f.Text12.Text());
        EXPECT_EQ(L"5", f.Text13.Text());
        f.Text13.SetText(L"7fffffff");
        f.Command13.PerformClick();
    }));
    EXPECT_EQ(Raw({REG_DWORD, {0xFF, 0xFF, 0xFF, 0x7F}}), Stored(L"dw"));
    EXPECT_EQ(L"0x7fffffff (2147483647)", live().SubText(row, 1));
}

// Enter in the data box presses the page's default button, 确定: the value is
// stored and nothing else is opened (no other control of the window answers
// to the default button's id).
TEST_F(ValueEditorTest, EnterSavesTheValueAndOpensNothing) {
    Begin();
    EXPECT_TRUE(NewValue(New::String, [&](::Form4& f) {
        Drive::Type(f.Text12.hwnd(), L"回车");
        Drive::Type(f.Text13.hwnd(), L"按下 Enter");
        f.Text13.SetFocus();
        RealInput::Key(VK_RETURN);
        for (int i = 0; i < 20 && f.Exists(); ++i) {
            Modal::DoEvents();
            Sleep(10);
        }
        EXPECT_FALSE(f.Exists());
    }));
    EXPECT_EQ(Raw({REG_SZ, Utf16(L"按下 Enter")}), Stored(L"回车"));
    EXPECT_TRUE(launches.empty()) << (launches.empty() ? "" : Text::ToAnsi(launches.front().target));
    EXPECT_NE(0, LiveRow(L"回车"));
}

// The labels' access keys: Alt+N puts the focus in the name box, Alt+V in the
// data box, from wherever it is; in edit mode the locked name box is out of
// the Tab order and Alt+N goes on to the data box. Tab walks name, data, 确定,
// 取消.
TEST_F(ValueEditorTest, AccessKeysAndTabOrderReachTheBoxes) {
    Begin();
    auto settle = [] {
        for (int i = 0; i < 10; ++i) {
            Modal::DoEvents();
            Sleep(10);
        }
    };
    EXPECT_TRUE(NewValue(New::Dword, [&](::Form4& f) {
        f.Command14.SetFocus();
        RealInput::Key('N', {VK_MENU});
        settle();
        EXPECT_EQ(f.Text12.hwnd(), GetFocus());
        RealInput::Key('V', {VK_MENU});
        settle();
        EXPECT_EQ(f.Text13.hwnd(), GetFocus());
        const HWND order[] = {f.Command13.hwnd(), f.Command14.hwnd(), f.Text12.hwnd(), f.Text13.hwnd()};
        for (HWND next : order) {
            RealInput::Key(VK_TAB);
            settle();
            EXPECT_EQ(next, GetFocus());
        }
        f.Command14.PerformClick();
    }));
    Store(L"dw", REG_DWORD, {5, 0, 0, 0});
    Relist();
    EXPECT_TRUE(EditRow(LiveRow(L"dw"), [&](::Form4& f) {
        f.Command13.SetFocus();
        RealInput::Key('N', {VK_MENU});
        settle();
        EXPECT_EQ(f.Text13.hwnd(), GetFocus());
        f.Command14.PerformClick();
    }));
    EXPECT_EQ(Raw({REG_DWORD, {5, 0, 0, 0}}), Stored(L"dw"));
}

// For docs/screenshots/value-editor.png (only with QUORIX_SHOT_MARK set).
TEST_F(ValueEditorTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    Begin();
    EXPECT_TRUE(NewValue(New::Binary, [&](::Form4& f) {
        f.Text12.SetText(L"新值");
        f.Text13.SetText(L"01 02 ab");
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command14.PerformClick();
    }));
}
