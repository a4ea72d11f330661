#include "transfer/ExportFile.h"

#include "platform/Text.h"

#include <windows.h>

#include <functional>

namespace ExportFile {
namespace {

// The folder of `path` as the system resolves it (no trailing backslash), or
// nothing when the path cannot be resolved.
bool FolderOf(const std::string& path, std::string& folder) {
    char full[MAX_PATH * 2];
    char* name = nullptr;
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(sizeof full), full, &name);
    if (n == 0 || n >= sizeof full || !name || !*name) return false;  // no file name part
    folder.assign(full, name - full);
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    return true;
}

bool WriteAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

}  // namespace

std::wstring TargetName(const std::wstring& chosen, std::wstring_view extension) {
    if (Text::UpperCase(chosen).find(Text::UpperCase(extension)) != std::wstring::npos) return chosen;
    std::wstring lower(extension);
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return chosen + lower;
}

namespace {
// Gives `fill` the path of a new, empty temporary file beside `target`; when it
// returns true, the temporary file takes the target's name in one rename.
// Otherwise, or when the rename fails, the temporary file is deleted.
bool WriteThroughTemp(const std::wstring& target, const std::function<bool(const std::wstring& temp)>& fill) {
    bool lossless = true;
    const std::string ansiTarget = Text::ToAnsi(target, &lossless);
    std::string folder;
    if (!lossless || ansiTarget.empty() || !FolderOf(ansiTarget, folder)) return false;
    // A target that is a folder or a read-only file is never replaced (a
    // rename over a read-only file may succeed: the attribute is asked first).
    DWORD attributes = GetFileAttributesA(ansiTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)))
        return false;

    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), "qx", 0, temp)) return false;  // also: the folder is missing
    bool ok = false;
    try {
        ok = fill(Text::FromAnsi(temp));
    } catch (...) {
        ok = false;
    }
    if (ok) ok = MoveFileExA(temp, ansiTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) DeleteFileA(temp);
    return ok;
}
}  // namespace

bool WriteWhole(const std::wstring& target, std::string_view bytes) {
    return WriteThroughTemp(target, [&](const std::wstring& temp) {
        HANDLE h = CreateFileA(Text::ToAnsi(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        bool ok = WriteAll(h, bytes) && FlushFileBuffers(h);
        return CloseHandle(h) && ok;
    });
}

}  // namespace ExportFile
