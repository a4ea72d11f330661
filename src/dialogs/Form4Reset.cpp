// The options page's reset of the tip database: the shipped category files in
// Databak replace their namesakes in the data folder, and the category tree is
// built again from it. Files of the data folder that Databak does not hold
// (categories the user made) are left alone; sub-folders of Databak are not
// copied.
//
// The copy is all or nothing. Every target that exists must be free to be
// replaced (not held open by another program, not read-only); every shipped
// file is copied to a temporary file beside its target; only then are the live
// files swapped in, one rename each, the old file first renamed aside. A step
// that fails puts back what was swapped and removes the temporaries, so a
// failed reset leaves the data folder's files byte for byte as they were.
#include "dialogs/Form4.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <string>
#include <vector>

namespace {
const wchar_t kFailed[] = L"恢复原始技巧数据库失败！";

DWORD Attributes(const std::wstring& path) { return GetFileAttributesA(Text::ToAnsi(path).c_str()); }
bool Exists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }
bool Move(const std::wstring& from, const std::wstring& to, DWORD flags) {
    return MoveFileExA(Text::ToAnsi(from).c_str(), Text::ToAnsi(to).c_str(), flags) != 0;
}

// True when the file can be opened for writing and deleting with no other
// handle on it: a rename will then replace it.
bool FreeToReplace(const std::wstring& path) {
    HANDLE h = CreateFileA(Text::ToAnsi(path).c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

// A new empty file with a unique name in `folder` (not a category file's
// extension, so a reset cut short never shows up as a category). Empty when
// none can be made.
std::wstring TemporaryIn(const std::wstring& folder) {
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(Text::ToAnsi(folder).c_str(), "qrx", 0, name)) return {};
    return Text::FromAnsi(name);
}

struct Swap {
    std::wstring source, target;
    std::wstring fresh;  // the shipped copy, until it is renamed to the target
    std::wstring old;    // the live file renamed aside (empty: there was none)
    bool movedAside = false, placed = false;
};

// Puts the data folder back as it was and removes every temporary file.
void Undo(std::vector<Swap>& swaps) {
    for (auto it = swaps.rbegin(); it != swaps.rend(); ++it) {
        if (it->movedAside) Move(it->old, it->target, MOVEFILE_REPLACE_EXISTING);
        else if (it->placed) DeleteFileA(Text::ToAnsi(it->target).c_str());
    }
    for (const Swap& s : swaps) {
        if (!s.fresh.empty() && !s.placed) DeleteFileA(Text::ToAnsi(s.fresh).c_str());
        if (!s.old.empty() && !s.movedAside) DeleteFileA(Text::ToAnsi(s.old).c_str());
    }
}

// Replaces the namesakes in `data` by the files of `shipped`; false (and
// nothing changed) when any file cannot be copied or replaced, or when
// `shipped` holds no file.
bool ReplaceWithShipped(const std::wstring& shipped, const std::wstring& data) {
    const std::vector<std::wstring> names = App::ListFiles(shipped, L"*.*");
    if (names.empty()) return false;
    std::vector<Swap> swaps;
    for (const std::wstring& name : names) {
        Swap s;
        s.source = shipped + L"\\" + name;
        s.target = data + L"\\" + name;
        const DWORD attrs = Attributes(s.target);
        if (attrs != INVALID_FILE_ATTRIBUTES &&
            ((attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) || !FreeToReplace(s.target)))
            return false;
        swaps.push_back(std::move(s));
    }
    // The copies, each to a temporary beside its target.
    for (Swap& s : swaps) {
        s.fresh = TemporaryIn(data);
        if (s.fresh.empty() || !CopyFileA(Text::ToAnsi(s.source).c_str(), Text::ToAnsi(s.fresh).c_str(), FALSE)) {
            Undo(swaps);
            return false;
        }
        // The library's files are written by the program: a read-only shipped
        // file stays writable once in place.
        const DWORD attrs = Attributes(s.fresh);
        if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
            SetFileAttributesA(Text::ToAnsi(s.fresh).c_str(), attrs & ~FILE_ATTRIBUTE_READONLY);
    }
    // The swaps.
    for (Swap& s : swaps) {
        if (Exists(s.target)) {
            s.old = TemporaryIn(data);
            if (s.old.empty() || !Move(s.target, s.old, MOVEFILE_REPLACE_EXISTING)) {
                Undo(swaps);
                return false;
            }
            s.movedAside = true;
        }
        if (!Move(s.fresh, s.target, 0)) {
            Undo(swaps);
            return false;
        }
        s.placed = true;
    }
    for (const Swap& s : swaps)
        if (s.movedAside) DeleteFileA(Text::ToAnsi(s.old).c_str());
    return true;
}
}  // namespace

void Form4::ResetButton_Click() {
    if (App::MsgBox(L"你确定要恢复原始技巧数据库吗？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const std::wstring data = App::PathSlash() + L"Data";
    const std::wstring shipped = App::PathSlash() + L"Databak";
    const DWORD attrs = Attributes(data);
    bool ok = attrs == INVALID_FILE_ATTRIBUTES ? App::MakeFolder(data) : (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (ok) ok = ReplaceWithShipped(shipped, data);
    if (!ok) {
        App::MsgBox(kFailed, MB_OK | MB_ICONERROR);
        return;
    }
    // Back to the restored library, in category mode.
    ::Form2& main = Forms::Form2();
    main.Toolbar1.SetEnabled(ToolbarKey::tjlb, true);
    main.Toolbar1.SetEnabled(ToolbarKey::find, true);
    ::frmShadow& shadow = Forms::frmShadow();
    shadow.TreeView1.Clear();
    shadow.FileFind();
    const bool categories = shadow.TreeView1.Count() > 0;
    main.Toolbar1.SetEnabled(ToolbarKey::open, categories);
    main.Toolbar1.SetEnabled(ToolbarKey::del, categories);
    if (auto& set = Library::Hooks().SetPropertiesButton) {
        set(L"xj", categories);
        set(L"next", categories);
    }
    App::MsgBox(L"原始数据库恢复成功。", MB_OK | MB_ICONEXCLAMATION);
}
