#pragma once
// A file's last-write time, read and set by the tests (a file changed behind
// the program's back that keeps its size and time, or takes another time).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

inline FILETIME LastWrite(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &d);
    return d.ftLastWriteTime;
}

// Sets it through a handle of its own that shares everything a session handle may hold.
inline void SetLastWrite(const std::wstring& file, const FILETIME& t) {
    HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &t));
    CloseHandle(h);
}
