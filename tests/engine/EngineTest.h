#pragma once
// Shared set-up of the engine tests: the scratch key and raw byte helpers. The
// engine works without windows: a test that opens one fails.
#include "engine/RegValue.h"
#include "support/Fixture.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class EngineTest : public QuorixTest {
protected:
    void TearDown() override {
        EXPECT_EQ(0, WindowsOfThisThread()) << "the engine opened a window";
        QuorixTest::TearDown();
    }
    static int WindowsOfThisThread() {
        int n = 0;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND, LPARAM p) { return ++*reinterpret_cast<int*>(p), TRUE; },
                          reinterpret_cast<LPARAM>(&n));
        return n;
    }
    // Creates HKEY_CURRENT_USER\Software\QuorixTest (or a subkey of it).
    static void MakeKey(const std::string& sub = {}) {
        HKEY k;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                            nullptr) == ERROR_SUCCESS)
            RegCloseKey(k);
    }
    static bool KeyThere(const std::string& sub) {
        HKEY k;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, Sub(sub).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
        RegCloseKey(k);
        return true;
    }
    static std::wstring Key(const std::wstring& sub = {}) {
        return sub.empty() ? std::wstring(kTestKey) : std::wstring(kTestKey) + L"\\" + sub;
    }
    static std::string Sub(const std::string& sub = {}) {
        return sub.empty() ? std::string(kTestSubkeyAnsi) : std::string(kTestSubkeyAnsi) + "\\" + sub;
    }
    // The type and bytes stored under the test key; type kMissing when there is no such value.
    static constexpr DWORD kMissing = 0xFFFF;
    static std::pair<DWORD, std::string> Stored(const std::string& value, const std::string& sub = {}) {
        DWORD type = 0;
        std::string bytes;
        if (!TestReg::Get(Sub(sub), value, type, bytes)) return {kMissing, {}};
        return {type, bytes};
    }
    static std::vector<uint8_t> V(std::initializer_list<int> bytes) {
        std::vector<uint8_t> out;
        for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
        return out;
    }
};

// Readable failure output for RegValue comparisons.
void PrintTo(const RegValue& v, std::ostream* os);
