#pragma once
// The program folder a benchmark runs the windows in: a fresh folder under the
// temporary folder, with a data folder and a config.ini of a program that has
// run there before (the one-time notice seen).
#include "platform/App.h"

#include <windows.h>

#include <string>

inline std::wstring BenchFolder(const wchar_t* name) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring folder = std::wstring(tmp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    App::SetPathForTests(folder);
    CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
    WritePrivateProfileStringW(L"Data", L"OldUpdate", L"1", (folder + L"\\config.ini").c_str());
    return folder;
}
