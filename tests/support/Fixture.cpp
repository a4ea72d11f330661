#include "support/Fixture.h"

#include "platform/Text.h"

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>

const wchar_t* const QuorixTest::kTestKey = L"HKEY_CURRENT_USER\\Software\\QuorixTest";
const char* const QuorixTest::kTestSubkeyAnsi = "Software\\QuorixTest";

namespace {
void RemoveTree(const std::wstring& folder) {
    std::string from = Text::ToAnsi(folder);
    if (!from.empty() && from.back() == '\\') from.pop_back();
    from.push_back('\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationA(&op);
}
}  // namespace

std::string Ansi(const std::wstring& w) { return Text::ToAnsi(w); }

void QuorixTest::SetUp() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    static int counter = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir = std::wstring(tmp) + L"quorix_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++counter) +
          L"_" + Text::FromAnsi(info ? info->name() : "t");
    for (auto& c : dir)
        if (c == L'/') c = L'_';
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    dir += L'\\';
    App::SetPathForTests(dir.substr(0, dir.size() - 1));
    // The test program's own arguments (a test filter) name no file for the program to open.
    App::SetCommandForTests(L"");
    App::SetMsgBoxResponder([this](const App::MsgBoxCall& call) {
        boxes.push_back(call);
        if (expected_.empty()) {
            ADD_FAILURE() << "unexpected message box: " << Text::ToAnsi(call.text);
            return IDCANCEL;
        }
        Expected e = expected_.front();
        expected_.pop_front();
        if (!e.text.empty()) {
            EXPECT_EQ(Text::ToAnsi(e.text), Text::ToAnsi(call.text));
        }
        return e.answer;
    });
    App::SetInputBoxResponder([this](const App::InputBoxCall& call) {
        inputs.push_back(call);
        if (expectedInputs_.empty()) {
            ADD_FAILURE() << "unexpected input box: " << Text::ToAnsi(call.prompt);
            return std::wstring();
        }
        ExpectedInput e = expectedInputs_.front();
        expectedInputs_.pop_front();
        if (!e.prompt.empty()) {
            EXPECT_EQ(Text::ToAnsi(e.prompt), Text::ToAnsi(call.prompt));
        }
        return e.answer;
    });
    Launch::SetRecorderForTests([this](const Launch::Call& call) { launches.push_back(call); });
    TestReg::DeleteTree(kTestSubkeyAnsi);
}

void QuorixTest::TearDown() {
    EXPECT_TRUE(expected_.empty()) << expected_.size() << " expected message box(es) never shown";
    EXPECT_TRUE(expectedInputs_.empty()) << expectedInputs_.size() << " expected input box(es) never shown";
    App::SetMsgBoxResponder(nullptr);
    App::SetInputBoxResponder(nullptr);
    Launch::SetRecorderForTests(nullptr);
    App::SetNowForTests(std::nullopt);
    App::SetCommandForTests(std::nullopt);
    App::SetPathForTests(std::nullopt);
    TestReg::DeleteTree(kTestSubkeyAnsi);
    RemoveTree(dir);
}

void QuorixTest::ExpectBox(int answer, const std::wstring& expectedText) { expected_.push_back({answer, expectedText}); }

void QuorixTest::ExpectInput(const std::wstring& answer, const std::wstring& expectedPrompt) {
    expectedInputs_.push_back({answer, expectedPrompt});
}

void QuorixTest::PrepareRunBefore() {
    CreateDirectoryW(Path(L"Data").c_str(), nullptr);
    WritePrivateProfileStringA("Data", "OldUpdate", "1", Ansi(Path(L"config.ini")).c_str());
}

void QuorixTest::SetDate(int year, int month, int day) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = 10;
    App::SetNowForTests(t);
}

std::string QuorixTest::ReadBytes(const std::wstring& path) {
    std::ifstream f(Text::ToAnsi(path), std::ios::binary);
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void QuorixTest::WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream f(Text::ToAnsi(path), std::ios::binary | std::ios::trunc);
    f << bytes;
}

namespace TestReg {
bool Exists(const std::string& subkey, const std::string& value) {
    DWORD type, size = 0;
    return RegGetValueA(HKEY_CURRENT_USER, subkey.c_str(), value.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                        &size) == ERROR_SUCCESS;
}
bool Get(const std::string& subkey, const std::string& value, DWORD& type, std::string& bytes) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG r = RegQueryValueExA(k, value.c_str(), nullptr, &type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        r = RegQueryValueExA(k, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(size);
    }
    RegCloseKey(k);
    return r == ERROR_SUCCESS;
}
void Set(const std::string& subkey, const std::string& value, DWORD type, const std::string& bytes) {
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(k, value.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(k);
}
void DeleteTree(const std::string& subkey) { RegDeleteTreeA(HKEY_CURRENT_USER, subkey.c_str()); }
void CreateKey(const std::string& subkey) {
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(k);
}
bool KeyExists(const std::string& subkey) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}
}  // namespace TestReg
