// The 查看 tab of the properties window: the values under the selected tip's
// key, read from the real Wine registry, listed, renamed and deleted through
// the windows the program creates.
#include "editor/EditorFixture.h"
#include "dialogs/Form4.h"
#include "platform/Drive.h"
#include "platform/Modal.h"

#include <aclapi.h>

#include <cstring>

using namespace Bytes;

namespace {

const wchar_t* const kSub = L"Software\\QuorixTest\\Live";
const std::wstring kLiveKey = L"HKEY_CURRENT_USER\\Software\\QuorixTest\\Live";

std::vector<BYTE> Str(const std::wstring& s, bool terminated = true) {
    std::vector<BYTE> b((s.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
    if (!s.empty()) std::memcpy(b.data(), s.c_str(), s.size() * sizeof(wchar_t));
    return b;
}
std::vector<BYTE> Filled(size_t n) {
    std::vector<BYTE> b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<BYTE>(i * 7 + 1);
    return b;
}
std::vector<BYTE> Le(unsigned long long v, size_t width) {
    std::vector<BYTE> b(width);
    for (size_t i = 0; i < width; ++i) b[i] = static_cast<BYTE>(v >> (8 * i));
    return b;
}
std::wstring Pairs(const std::vector<BYTE>& b, size_t n) {
    std::wstring s;
    wchar_t buf[4];
    for (size_t i = 0; i < n; ++i) {
        swprintf(buf, 4, L"%02x", b[i]);
        if (i) s += L' ';
        s += buf;
    }
    return s;
}

// Raw access below the code under test, with the W functions.
void SetW(const std::wstring& sub, const std::wstring& name, DWORD type, const std::vector<BYTE>& data) {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &k, nullptr));
    static const BYTE none = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(k, name.c_str(), 0, type, data.empty() ? &none : data.data(),
                                            static_cast<DWORD>(data.size())));
    RegCloseKey(k);
}
bool GetW(const std::wstring& sub, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    HKEY k;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG r = RegQueryValueExW(k, name.c_str(), nullptr, &type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
        data.assign(size, 0);
        r = RegQueryValueExW(k, name.c_str(), nullptr, &type, data.data(), &size);
        data.resize(size);
    }
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}
bool HasW(const std::wstring& sub, const std::wstring& name) {
    DWORD t;
    std::vector<BYTE> d;
    return GetW(sub, name, t, d);
}

// Lets only `allowed` (for everyone) on the key; `allowed` 0 puts back the
// default rights (a null list).
void RestrictKey(const std::wstring& sub, DWORD allowed) {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, sub.c_str(), 0, WRITE_DAC, &k));
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    alignas(8) BYTE aclBuf[256];
    PSID everyone = nullptr;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    if (allowed) {
        auto* acl = reinterpret_cast<PACL>(aclBuf);
        InitializeAcl(acl, sizeof aclBuf, ACL_REVISION);
        AddAccessAllowedAce(acl, ACL_REVISION, allowed, everyone);
        SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    } else {
        SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    }
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, &sd));
    FreeSid(everyone);
    RegCloseKey(k);
}

// `reg add` run as a separate process, as a user would make a value.
void RegAdd(const std::wstring& args) {
    std::wstring cmd = L"reg.exe add " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                               &pi));
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(0u, code);
}

std::string Tip(const std::wstring& name, const std::wstring& keyPath, const std::wstring& valueName) {
    return A(name) + "=" + (A(keyPath) + FM + A(valueName) + FM + "a" + JM + "1" + FM + "0" + FM + "d" + FM + "1") + "\r\n";
}

struct Shown {
    std::wstring name, data, kind;
    int icon;
};

class LiveValuesTest : public EditorTest {
protected:
    void TearDown() override {
        HKEY k;
        // Keys a test locked get their rights back so the scratch key can go.
        for (const wchar_t* sub : {L"Software\\QuorixTest\\Denied", L"Software\\QuorixTest\\Live"})
            if (RegOpenKeyExW(HKEY_CURRENT_USER, sub, 0, WRITE_DAC, &k) == ERROR_SUCCESS) {
                RegCloseKey(k);
                RestrictKey(sub, 0);
            }
        EditorTest::TearDown();
    }
    // The program on a category holding tips for the live key and the odd key paths.
    void StartOnTips() {
        std::string file = Section(Data) + Tip(L"值v", kLiveKey, L"v") + Tip(L"默认值", kLiveKey, L"") +
                           Tip(L"缺少", kTestKey + std::wstring(L"\\Missing"), L"v") +
                           Tip(L"拒绝", kTestKey + std::wstring(L"\\Denied"), L"v") +
                           Tip(L"根", L"HKEY_CURRENT_USER", L"v") +
                           Tip(L"小写", L"hkey_current_user\\Software\\QuorixTest\\Live", L"v") +
                           Tip(L"性能", L"HKEY_PERFORMANCE_DATA\\x", L"v") + Tip(L"末尾", kLiveKey + L"\\", L"v") +
                           Mirror(Data);
        Start(file);
        props().SelectTab(3);
        ASSERT_EQ(8, tips().Count());
    }
    // Shows a tip; the listing runs as the program runs it (the switch on).
    void ShowTip(const std::wstring& name) {
        if (!main().file.Item(L"shezhi")->checked) main().shezhi_Click();
        Click(RowNamed(name));
    }
    ListView& live() { return props().ListView2; }
    int LiveRow(const std::wstring& name) {
        for (int r = 1; r <= live().Count(); ++r)
            if (live().Text(r) == name) return r;
        return 0;
    }
    void SelectOnly(std::initializer_list<int> rows) {
        for (int r = 1; r <= live().Count(); ++r) live().SetSelected(r, false);
        for (int r : rows) live().SetSelected(r, true);
        if (rows.size()) live().SetSelectedItem(*rows.begin());
        for (int r : rows) live().SetSelected(r, true);
    }
    POINT RowPoint(int row) {
        RECT rc{};
        rc.left = LVIR_LABEL;
        SendMessageW(live().hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&rc));
        return POINT{rc.left + 2, (rc.top + rc.bottom) / 2};
    }
    POINT EmptyPoint() {
        RECT rc;
        GetClientRect(live().hwnd(), &rc);
        return POINT{rc.right / 2, rc.bottom - 2};
    }
    // A right click at `pt`; the menu as it would open (nothing chosen), or
    // no menu at all (`opened` false).
    PopupMenu RightClick(POINT pt, bool& opened, const std::wstring& choose = L"") {
        PopupMenu seen;
        opened = false;
        PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
            opened = true;
            seen = m;
            return choose;
        });
        props().ListView2_MouseUp(2, 0, pt.x, pt.y);
        PopupMenu::SetChooserForTests(nullptr);
        return seen;
    }
    // 重命名 on the row, the name typed into the box, Enter.
    void Rename(int row, const std::wstring& typed) {
        SelectOnly({row});
        main().regcmm_Click();
        HWND edit = reinterpret_cast<HWND>(SendMessageW(live().hwnd(), LVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(nullptr, edit);
        Drive::Type(edit, typed);
        Drive::PostKey(edit, VK_RETURN);
        Drive::Pump();
        ASSERT_FALSE(live().Editing());
    }
};

}  // namespace

// Every kind of value as the list shows it, the default value first, the
// tip's own value in blue, one value made by `reg add` in another process.
TEST_F(LiveValuesTest, ListingShowsEachTypeWithItsKindIconAndData) {
    const std::wstring longText(10000, L'长');
    SetW(kSub, L"空白", REG_SZ, Str(L"  a b  "));
    SetW(kSub, L"空", REG_SZ, Str(L""));
    SetW(kSub, L"无字节", REG_SZ, {});
    SetW(kSub, L"长", REG_SZ, Str(longText));
    SetW(kSub, L"中文名", REG_SZ, Str(L"中文数据"));
    SetW(kSub, L"扩充", REG_EXPAND_SZ, Str(L"%TEMP%\\q"));
    SetW(kSub, L"b0", REG_BINARY, {});
    SetW(kSub, L"b255", REG_BINARY, Filled(255));
    SetW(kSub, L"b256", REG_BINARY, Filled(256));
    SetW(kSub, L"b10000", REG_BINARY, Filled(10000));
    SetW(kSub, L"d26", REG_DWORD, Le(26, 4));
    SetW(kSub, L"dmax", REG_DWORD, Le(0xFFFFFFFFu, 4));
    SetW(kSub, L"be", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1});
    SetW(kSub, L"q", REG_QWORD, Le(0x0123456789abcdefull, 8));
    SetW(kSub, L"multi", REG_MULTI_SZ, Str(std::wstring(L"a\0b c\0", 6)));
    SetW(kSub, L"none", REG_NONE, {1, 0xAB});
    SetW(kSub, L"V", REG_SZ, Str(L"tip"));
    SetW(kSub, L"", REG_SZ, Str(L" def "));
    RegAdd(L"HKCU\\Software\\QuorixTest\\Live /v 外部 /t REG_SZ /d outside /f");
    StartOnTips();
    ShowTip(L"值v");
    EXPECT_EQ(L"yes", live().Tag);

    wchar_t temp[MAX_PATH];
    ExpandEnvironmentStringsW(L"%TEMP%\\q", temp, MAX_PATH);
    const Shown expected[] = {
        {L"(默认)", L"\"def\"", L"默认", 4},
        {L"空白", L"\"a b\"", L"字符串值", 4},
        {L"空", L"\"\"", L"字符串值", 4},
        {L"无字节", L"\"\"", L"字符串值", 4},
        {L"长", L"\"" + longText + L"\"", L"字符串值", 4},
        {L"中文名", L"\"中文数据\"", L"字符串值", 4},
        {L"扩充", L"\"" + std::wstring(temp) + L"\"", L"可扩充字符串值", 7},
        {L"b0", L"(长度为零的二进制值)", L"二进制值", 5},
        {L"b255", Pairs(Filled(255), 255), L"二进制值", 5},
        {L"b256", Pairs(Filled(256), 255), L"二进制值", 5},
        {L"b10000", Pairs(Filled(10000), 255), L"二进制值", 5},
        {L"d26", L"0x0000001a (26)", L"DWORD值", 6},
        {L"dmax", L"0xffffffff (4294967295)", L"DWORD值", 6},
        {L"be", L"0x00000001 (1)", L"DWORD值", 6},
        {L"q", L"0x0123456789abcdef (81985529216486895)", L"QWORD值", 6},
        {L"multi", L"\"a\" \"b c\"", L"多字符串值", 4},
        {L"none", L"01 ab", L"其它类型", 5},
        {L"V", L"\"tip\"", L"字符串值", 4},
        {L"外部", L"\"outside\"", L"字符串值", 4},
    };
    // The default value leads; the others follow in the registry's own order.
    ASSERT_EQ(static_cast<int>(std::size(expected)), live().Count());
    EXPECT_EQ(L"(默认)", live().Text(1));
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kSub, 0, KEY_READ, &k));
    int row = 2;
    for (DWORD i = 0;; ++i) {
        wchar_t name[64];
        DWORD len = 64;
        if (RegEnumValueW(k, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (len) {
            EXPECT_EQ(Ansi(name), Ansi(live().Text(row++)));
        }
    }
    RegCloseKey(k);
    for (const Shown& e : expected) {
        SCOPED_TRACE(Ansi(e.name));
        const int r = LiveRow(e.name);
        ASSERT_GT(r, 0);
        const std::wstring data = live().SubText(r, 1);
        EXPECT_TRUE(e.data == data) << Ansi(data.substr(0, 80));
        EXPECT_EQ(Ansi(e.kind), Ansi(live().SubTag(r, 0)));
        EXPECT_EQ(e.icon, live().SubIcon(r, 0));
        // Only the tip's own value (its name in another case) is blue.
        EXPECT_EQ(e.name == L"V" ? RGB(0, 0, 255) : ListView::kDefaultColor, live().ForeColor(r));
        // The row keeps the value whole beside its display.
        const LiveValue* v = props().LiveValueAt(r);
        ASSERT_NE(nullptr, v);
        DWORD type;
        std::vector<BYTE> bytes;
        ASSERT_TRUE(GetW(kSub, v->name, type, bytes));
        EXPECT_EQ(type, v->type);
        EXPECT_TRUE(bytes == v->data);
    }
    // The tip for the default value: the default row is blue, V is not.
    ShowTip(L"默认值");
    EXPECT_EQ(RGB(0, 0, 255), live().ForeColor(1));
    EXPECT_EQ(ListView::kDefaultColor, live().ForeColor(LiveRow(L"V")));

    // The default unset: the unset-default row leads; with no values it stands alone.
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyValueW(HKEY_CURRENT_USER, kSub, nullptr));
    ShowTip(L"值v");
    EXPECT_EQ(L"(默认)", live().Text(1));
    EXPECT_EQ(L"(未设置键值)", live().SubText(1, 1));
    EXPECT_EQ(L"默 认", live().SubTag(1, 0));
    EXPECT_EQ(4, live().SubIcon(1, 0));
    EXPECT_GT(LiveRow(L"空白"), 1);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSub);
    TestReg::CreateKey("Software\\QuorixTest\\Live");
    ShowTip(L"默认值");
    ASSERT_EQ(1, live().Count());
    EXPECT_EQ(L"默 认", live().SubTag(1, 0));

    // The switch off empties the list and keeps the flag; on lists again.
    main().shezhi_Click();
    EXPECT_FALSE(main().file.Item(L"shezhi")->checked);
    EXPECT_EQ(0, live().Count());
    EXPECT_EQ(L"yes", live().Tag);
    EXPECT_EQ("0", Ansi(Config::Read(Config::ViewCheck)));
    main().shezhi_Click();
    EXPECT_EQ(1, live().Count());
    EXPECT_EQ("1", Ansi(Config::Read(Config::ViewCheck)));
}

// Key paths that give nothing to list: the list is emptied, the flag is "no"
// and a right click opens no popup. A root alone lists the root's own values.
TEST_F(LiveValuesTest, KeysThatCannotBeListedEmptyTheListAndOpenNoPopup) {
    SetW(kSub, L"x", REG_SZ, Str(L"1"));
    SetW(L"Software\\QuorixTest\\Denied", L"x", REG_SZ, Str(L"1"));
    RestrictKey(L"Software\\QuorixTest\\Denied", WRITE_DAC | DELETE);
    StartOnTips();
    for (const wchar_t* tip : {L"缺少", L"拒绝", L"小写", L"性能"}) {
        SCOPED_TRACE(Ansi(tip));
        ShowTip(L"值v");
        ASSERT_EQ(2, live().Count());
        ASSERT_EQ(L"yes", live().Tag);
        ShowTip(tip);
        EXPECT_EQ(0, live().Count());
        EXPECT_EQ(L"no", live().Tag);
        bool opened = true;
        RightClick(EmptyPoint(), opened);
        EXPECT_FALSE(opened);
    }
    ShowTip(L"根");
    EXPECT_EQ(L"yes", live().Tag);
    ASSERT_GE(live().Count(), 1);
    EXPECT_EQ(L"(默认)", live().Text(1));
    // A key path ending in a backslash names the same key.
    ShowTip(L"末尾");
    EXPECT_EQ(L"yes", live().Tag);
    EXPECT_EQ(2, live().Count());
}

// What the popup offers: 新建 alone over empty space; over rows 修改, 删除 and
// 重命名, with 修改 and 重命名 off for two rows, 重命名 off on a default row and
// 修改 off for the kinds the editor does not edit. A double click hands an
// editable row to the editor.
TEST_F(LiveValuesTest, PopupAndDoubleClickFollowTheRowsUnderThePointer) {
    SetW(kSub, L"", REG_SZ, Str(L"d"));
    SetW(kSub, L"s", REG_SZ, Str(L"1"));
    SetW(kSub, L"q", REG_QWORD, Le(5, 8));
    StartOnTips();
    ShowTip(L"值v");
    ASSERT_EQ(3, live().Count());
    const int str = LiveRow(L"s"), qw = LiveRow(L"q");
    struct Case {
        const char* name;
        std::vector<int> selected;
        int under;  // 0: empty space
        bool xj, xg, xgOn, sc, cmmOn;
    };
    const Case cases[] = {
        {"empty space", {}, 0, true, false, false, false, false},
        {"one string", {str}, str, false, true, true, true, true},
        {"two rows", {str, qw}, str, false, true, false, true, false},
        {"default", {1}, 1, false, true, true, true, false},
        {"QWORD", {qw}, qw, false, true, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int r = 1; r <= live().Count(); ++r) live().SetSelected(r, false);
        for (int r : c.selected) live().SetSelected(r, true);
        if (!c.selected.empty()) live().SetSelectedItem(c.selected.front());
        for (int r : c.selected) live().SetSelected(r, true);
        bool opened = false;
        PopupMenu m = RightClick(c.under ? RowPoint(c.under) : EmptyPoint(), opened);
        ASSERT_TRUE(opened);
        EXPECT_EQ(c.xj, m.Item(L"regxj")->visible);
        EXPECT_EQ(c.xg, m.Item(L"regxg")->visible);
        EXPECT_EQ(c.sc, m.Item(L"regsc")->visible && m.Item(L"regsc")->enabled);
        EXPECT_EQ(c.sc, m.Item(L"regcmm")->visible);
        if (c.xg) {
            EXPECT_EQ(c.xgOn, m.Item(L"regxg")->enabled);
        }
        if (c.sc) {
            EXPECT_EQ(c.cmmOn, m.Item(L"regcmm")->enabled);
        }
        if (c.xj) {
            EXPECT_EQ(4u, m.Item(L"regxj")->Sub.size());
        }
    }
    // 新建's items are chosen through its submenu.
    for (int r = 1; r <= live().Count(); ++r) live().SetSelected(r, false);
    bool opened = false;
    // The value editor comes up for the new value, empty and with its name box
    // open; 取消 closes it.
    std::wstring pageName = L"-";
    bool nameLocked = true;
    Modal::SetHookForTests([&](HWND) {
        ::Form4& f = Forms::Form4();
        pageName = f.Text12.Text();
        nameLocked = f.Text12.Locked();
        f.Command14.PerformClick();
    });
    RightClick(EmptyPoint(), opened, L"regdword");
    Modal::SetHookForTests(nullptr);
    EXPECT_TRUE(opened);
    EXPECT_EQ(L"", pageName);
    EXPECT_FALSE(nameLocked);

    // A real double click on a row keeps its point; the row goes to the editor
    // unless its kind is one the editor does not edit, or no row is there.
    const POINT s = RowPoint(str);
    SendMessageW(live().hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(s.x, s.y));
    SendMessageW(live().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(s.x, s.y));
    EXPECT_EQ(s.x, props().LiveMouseDown.x);
    EXPECT_EQ(s.y, props().LiveMouseDown.y);
    // The first click of a real double click has selected the row.
    for (int r = 1; r <= live().Count(); ++r) live().SetSelected(r, r == str);
    live().SetSelectedItem(str);
    pageName = L"-";
    Modal::SetHookForTests([&](HWND) {
        ::Form4& f = Forms::Form4();
        pageName = f.Text12.Text();
        f.Command14.PerformClick();
    });
    EXPECT_TRUE(props().ListView2_DblClick());
    Modal::SetHookForTests(nullptr);
    EXPECT_EQ(props().LiveValueAt(str)->name, pageName);  // the row under the point, in edit mode
    const POINT q = RowPoint(qw);
    props().ListView2_MouseDown(1, 0, q.x, q.y);
    EXPECT_FALSE(props().ListView2_DblClick());
    const POINT e = EmptyPoint();
    props().ListView2_MouseDown(1, 0, e.x, e.y);
    EXPECT_FALSE(props().ListView2_DblClick());
}

// Renaming copies the value whole, type and bytes, for every type, and the old
// name goes only once the copy is there.
TEST_F(LiveValuesTest, RenameKeepsTypeAndBytesOfEveryKind) {
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Value> values = {
        {L"blanks", REG_SZ, Str(L"  a  ")},
        {L"nobytes", REG_SZ, {}},
        {L"long", REG_SZ, Str(std::wstring(10000, L'z'))},
        {L"中文", REG_SZ, Str(L"中文数据")},
        {L"exp", REG_EXPAND_SZ, Str(L"%TEMP%\\x")},
        {L"b0", REG_BINARY, {}},
        {L"b10000", REG_BINARY, Filled(10000)},
        {L"dmax", REG_DWORD, Le(0xFFFFFFFFu, 4)},
        {L"be", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}},
        {L"q", REG_QWORD, Le(0x8000000000000001ull, 8)},
        {L"multi", REG_MULTI_SZ, Str(std::wstring(L"a\0b\0", 4))},
        {L"none", REG_NONE, {9, 8}},
        {L"odd", 0x1234, {1, 2, 3}},
    };
    for (const Value& v : values) SetW(kSub, v.name, v.type, v.data);
    StartOnTips();
    ShowTip(L"值v");
    for (const Value& v : values) {
        SCOPED_TRACE(Ansi(v.name));
        const int row = LiveRow(v.name);
        ASSERT_GT(row, 0);
        const std::wstring shown = live().SubText(row, 1);
        const std::wstring newName = v.name + L"新";
        Rename(row, L"  " + newName + L" ");
        EXPECT_EQ(Ansi(newName), Ansi(live().Text(row)));
        EXPECT_EQ(Ansi(shown), Ansi(live().SubText(row, 1)));
        EXPECT_FALSE(HasW(kSub, v.name));
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_TRUE(GetW(kSub, newName, type, data));
        EXPECT_EQ(v.type, type);
        EXPECT_TRUE(v.data == data);
        EXPECT_EQ(Ansi(newName), Ansi(props().LiveValueAt(row)->name));
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(WriteModes::None, main().WriteMode);
}

// Names that are taken, blanks, a name outside code page 936, and a key that
// refuses writes.
TEST_F(LiveValuesTest, RenameRefusesTakenNamesAndKeepsTheValueWhenTheKeyRefuses) {
    SetW(kSub, L"", REG_SZ, Str(L"d"));
    SetW(kSub, L"one", REG_SZ, Str(L"1"));
    SetW(kSub, L"Two", REG_DWORD, Le(2, 4));
    StartOnTips();
    ShowTip(L"值v");
    const int one = LiveRow(L"one");
    for (const wchar_t* taken : {L"one", L"ONE", L"two", L"(默认)"}) {
        SCOPED_TRACE(Ansi(taken));
        ExpectBox(IDOK, L"指定的名称已存在，请键入别的名称。");
        Rename(one, taken);
        EXPECT_EQ(L"one", live().Text(one));
        EXPECT_TRUE(HasW(kSub, L"one"));
    }
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
    // Blanks only, or the box emptied: cancelled, no box, nothing changed.
    for (const wchar_t* typed : {L"   ", L""}) {
        Rename(one, typed);
        EXPECT_EQ(L"one", live().Text(one));
        EXPECT_TRUE(HasW(kSub, L"one"));
    }
    // A name with no code-page form is written as it is, never as '?'.
    const std::wstring wide = L"名\u00e9\u20ac\U0001F600";
    Rename(one, wide);
    EXPECT_EQ(Ansi(wide), Ansi(live().Text(one)));
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetW(kSub, wide, type, data));
    EXPECT_TRUE(Str(L"1") == data);
    EXPECT_FALSE(HasW(kSub, L"one"));
    // and renamed back through its real name.
    Rename(one, L"one");
    EXPECT_TRUE(HasW(kSub, L"one"));
    EXPECT_FALSE(HasW(kSub, wide));

    // A key that lets values be read but not written: the box, the old name kept.
    RestrictKey(kSub, KEY_READ | WRITE_DAC | DELETE);
    ExpectBox(IDOK, L"不存在这个名称的键值，导致修改失败");
    Rename(one, L"three");
    EXPECT_EQ(L"one", live().Text(one));
    EXPECT_EQ(L"one", props().LiveValueAt(one)->name);
    RestrictKey(kSub, 0);
    EXPECT_TRUE(HasW(kSub, L"one"));
    EXPECT_FALSE(HasW(kSub, L"three"));
    EXPECT_EQ(WriteModes::None, main().WriteMode);
}

// Deleting: No keeps everything; deleted rows go, a row whose value could not
// be deleted stays and is reported, the unset-default row is skipped and put
// back at the top; no tip row is coloured and nothing is logged.
TEST_F(LiveValuesTest, DeleteRemovesOnlyWhatWasDeleted) {
    SetW(kSub, L"", REG_SZ, Str(L"d"));
    SetW(kSub, L"a", REG_SZ, Str(L"1"));
    SetW(kSub, L"b", REG_BINARY, {1});
    SetW(kSub, L"c", REG_QWORD, Le(3, 8));
    StartOnTips();
    // An apply run first: it colours its row and logs; the deletes after it do neither.
    Ini::Write(Config::Path(), Config::DataSection, L"SaveLog", L"1");
    tips().SetChecked(RowNamed(L"值v"), true);
    main().StartWork();
    std::vector<COLORREF> colours;
    for (int r = 1; r <= tips().Count(); ++r) colours.push_back(tips().ForeColor(r));
    EXPECT_EQ(RGB(0, 0, 255), colours[static_cast<size_t>(RowNamed(L"值v")) - 1]);
    const std::string log = ReadBytes(Path(L"logfile.txt"));
    ASSERT_FALSE(log.empty());
    ShowTip(L"值v");
    ASSERT_EQ(5, live().Count());  // (默认), a, b, c and the applied v
    SelectOnly({2, 3});
    ExpectBox(IDNO, L"你确定要删除选定的键值吗？");
    main().regsc_Click();
    EXPECT_EQ(5, live().Count());
    EXPECT_TRUE(HasW(kSub, L"a"));
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION | MB_YESNO), boxes.back().style & (MB_ICONMASK | MB_TYPEMASK));

    // The default and "a" go; "b" vanished behind the list's back and cannot
    // be deleted: its row stays and the failure is reported.
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyValueW(HKEY_CURRENT_USER, kSub, L"b"));
    SelectOnly({1, 2, 3});
    ExpectBox(IDYES, L"你确定要删除选定的键值吗？");
    ExpectBox(IDOK, L"不存在这个名称的键值，导致修改失败");
    main().regsc_Click();
    EXPECT_FALSE(HasW(kSub, L""));
    EXPECT_FALSE(HasW(kSub, L"a"));
    ASSERT_EQ(4, live().Count());
    EXPECT_EQ(L"默 认", live().SubTag(1, 0));
    EXPECT_EQ(L"b", live().Text(2));
    EXPECT_EQ(L"c", live().Text(3));
    EXPECT_EQ(L"b", props().LiveValueAt(2)->name);

    // The unset-default row selected with "c": only "c" is deleted.
    SelectOnly({1, 3});
    ExpectBox(IDYES);
    main().regsc_Click();
    EXPECT_FALSE(HasW(kSub, L"c"));
    ASSERT_EQ(3, live().Count());
    EXPECT_EQ(L"默 认", live().SubTag(1, 0));

    for (int r = 1; r <= tips().Count(); ++r) EXPECT_EQ(colours[static_cast<size_t>(r) - 1], tips().ForeColor(r));
    EXPECT_EQ(log, ReadBytes(Path(L"logfile.txt")));
    EXPECT_EQ(WriteModes::None, main().WriteMode);
}
