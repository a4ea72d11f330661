#include "platform/App.h"

#include "platform/Modal.h"
#include "platform/Text.h"

#include <cstdio>

namespace App {
namespace {
std::optional<std::wstring> g_pathOverride;
std::optional<SYSTEMTIME> g_nowOverride;
std::optional<std::wstring> g_commandOverride;
MsgBoxResponder g_responder;
HANDLE g_instanceMutex = nullptr;
std::optional<bool> g_prevInstanceOverride;
}  // namespace

std::wstring Path() {
    if (g_pathOverride) return *g_pathOverride;
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    std::wstring p(buf, n);
    size_t slash = p.find_last_of(L"\\/");
    p = slash == std::wstring::npos ? std::wstring() : p.substr(0, slash);
    // The runtime gives a drive's root with its backslash ("C:\"), any other folder without.
    if (p.size() == 2 && p[1] == L':') p += L'\\';
    return p;
}

std::wstring PathSlash() {
    std::wstring p = Path();
    if (p.empty() || p.back() != L'\\') p += L'\\';
    return p;
}

std::wstring ExeName() {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    std::wstring p(buf, n);
    size_t slash = p.find_last_of(L"\\/");
    if (slash != std::wstring::npos) p.erase(0, slash + 1);
    size_t dot = p.find_last_of(L'.');
    if (dot != std::wstring::npos) p.erase(dot);
    return p;
}

std::wstring CurrentFolder() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0) return {};
    std::wstring s(n, L'\0');
    n = GetCurrentDirectoryW(n, s.data());
    s.resize(n);
    return s;
}

std::wstring Title() { return L"Quorix 3.0"; }

bool PrevInstance() {
    if (g_prevInstanceOverride) return *g_prevInstanceOverride;
    if (g_pathOverride) return false;
    if (g_instanceMutex) return false;
    HANDLE h = CreateMutexW(nullptr, TRUE, L"Local\\Quorix.SingleInstance");
    if (h && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return true;
    }
    g_instanceMutex = h;
    return false;
}

std::wstring Command() {
    if (g_commandOverride) return *g_commandOverride;
    const wchar_t* p = GetCommandLineW();
    // Skip the program's own name, quoted or not.
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p == L'"') ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

int MsgBox(const std::wstring& text, UINT style, const std::wstring& title) {
    MsgBoxCall call{text, title.empty() ? Title() : title, style};
    // While the box is up no window of the program takes input (the system
    // would hold only the owner); afterwards each is as it was, and the window
    // that was active is again, with the focus where it was.
    if (g_responder) {
        Modal::SystemDialog hold(nullptr);
        return g_responder(call);
    }
    Modal::SystemDialog hold(GetActiveWindow());
    return MessageBoxW(hold.Owner(), call.text.c_str(), call.title.c_str(), style | MB_TASKMODAL);
}

SYSTEMTIME Now() {
    if (g_nowOverride) return *g_nowOverride;
    SYSTEMTIME t;
    GetLocalTime(&t);
    return t;
}

std::wstring DateText(const SYSTEMTIME& t) {
    wchar_t buf[16];
    swprintf(buf, 16, L"%02u-%02u-%04u", t.wMonth, t.wDay, t.wYear);
    return buf;
}

std::wstring DateText() { return DateText(Now()); }

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesA(Text::ToAnsi(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    DWORD a = GetFileAttributesA(Text::ToAnsi(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::wstring& path) { return CreateDirectoryA(Text::ToAnsi(path).c_str(), nullptr) != 0; }

bool RemoveFile(const std::wstring& path) { return DeleteFileA(Text::ToAnsi(path).c_str()) != 0; }

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    std::wstring dir = folder;
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(Text::ToAnsi(dir + pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Text::FromAnsi(fd.cFileName));
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

bool CreateEmptyFile(const std::wstring& path) {
    HANDLE h = CreateFileA(Text::ToAnsi(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

void SetMsgBoxResponder(MsgBoxResponder responder) { g_responder = std::move(responder); }
void SetPathForTests(std::optional<std::wstring> folder) { g_pathOverride = std::move(folder); }
void SetNowForTests(std::optional<SYSTEMTIME> now) { g_nowOverride = now; }
void SetCommandForTests(std::optional<std::wstring> command) { g_commandOverride = std::move(command); }
void SetPrevInstanceForTests(std::optional<bool> running) { g_prevInstanceOverride = running; }

std::wstring LongPath(const std::wstring& path) {
    std::wstring work = path + L"\\";
    std::wstring result;
    size_t pos = work.size() > 3 ? work.find(L'\\', 3) : std::wstring::npos;
    while (pos != std::wstring::npos) {
        std::string item = Text::ToAnsi(work.substr(0, pos));
        WIN32_FIND_DATAA fd;
        // A name with wildcards would match other files: it names nothing.
        if (item.find_first_of("*?") != std::string::npos) return {};
        HANDLE h = FindFirstFileA(item.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return {};
        FindClose(h);
        result += L"\\" + Text::FromAnsi(fd.cFileName);
        pos = work.find(L'\\', pos + 1);
    }
    return work.substr(0, 2) + result;
}

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace App
