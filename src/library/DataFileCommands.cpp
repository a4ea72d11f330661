// The category window's toolbar: new, open, del and info act on the list of
// tip data files below the category tree.
#include "common/TipFile.h"

#include <windows.h>
#include "dialogs/Form4.h"
#include "dialogs/cCommonDialog.h"
#include "library/FileInfo.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "platform/WaitCursor.h"

using Library::CurrentCategoryPath;
using Library::CurrentDataFilePath;
using Library::Hooks;

namespace {
const wchar_t kCannotCreate[] = L"不能新建技巧数据文件。";

void SetPropertiesButton(const wchar_t* key, bool on) {
    if (Hooks().SetPropertiesButton) Hooks().SetPropertiesButton(key, on);
}
void ShowItem() {
    if (Hooks().ShowItem) Hooks().ShowItem();
}

// The commands of the main toolbar that make no sense while a tip data file is shown.
void DisableCategoryCommands(std::initializer_list<const wchar_t*> keys) {
    ::Form2& main = Forms::Form2();
    for (const wchar_t* key : keys) main.Toolbar1.SetEnabled(key, false);
}
}  // namespace

const wchar_t* const frmShadow::kNotInCodePage =
    L"文件名或其所在文件夹的名称中含有代码页 936（简体中文）无法表示的字符，程序无法读写这个文件。请将它改名或移到别的文件夹后再添加。";
const wchar_t* const frmShadow::kSelectionTooLong =
    L"选定的文件太多，文件名的总长度超出了对话框所能容纳的长度。请分几次添加。";

std::wstring frmShadow::RealName(const std::wstring& path) {
    std::wstring out;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring part = path.substr(start, end - start);
        if (start > 0 && part.find(L'?') != std::wstring::npos) {
            // The code page's "?" stands for characters it has no form for; as a
            // wildcard it finds the name the file system stores, when only one fits.
            WIN32_FIND_DATAW fd;
            HANDLE h = FindFirstFileW((out + L"\\" + part).c_str(), &fd);
            if (h != INVALID_HANDLE_VALUE) {
                std::wstring found = fd.cFileName;
                if (!FindNextFileW(h, &fd)) part = found;
                FindClose(h);
            }
        }
        out += (start > 0 ? L"\\" : L"") + part;
        if (end == path.size()) break;
        start = end + 1;
    }
    return out;
}

void frmShadow::ReportRefused(const std::vector<Refusal>& refused) {
    if (refused.empty()) return;
    std::wstring text = L"下列文件没有添加到文件列表中：";
    for (const auto& [path, cause] : refused) text += L"\r\n\r\n" + path + L"\r\n" + cause;
    App::MsgBox(text, MB_OK | MB_ICONERROR);
}

void frmShadow::Toolbar1_ButtonClick(const std::wstring& key) {
    if (key == L"new") NewDataFile();
    else if (key == L"open") OpenDataFiles();
    else if (key == L"del") RemoveDataFile();
    else if (key == L"info") ShowFileInfo();
}

// ---------------------------------------------------------------- new

void frmShadow::NewDataFile() {
    // 1. The short description; blanks only or a cancel end the command.
    const std::wstring use = App::InputBox(L"请输入对文件的简短说明：", L"新建技巧数据文件");
    if (Text::Trim(use).empty()) return;
    if (FileInfo::Refusal r = FileInfo::Check(use); r != FileInfo::Refusal::None) {
        App::MsgBox(FileInfo::RefusalText(r), MB_OK | MB_ICONERROR);
        return;
    }

    // 2. The save dialog; its default extension lets its overwrite question cover the final name.
    std::wstring chosen;
    {
        cCommonDialog dlg;
        dlg.DialogTitle = L"新建专用数据文件";
        dlg.Filter = L"专用数据文件 (*.upd)|*.upd";
        dlg.FilterIndex = 1;
        dlg.flags = OFN_OVERWRITEPROMPT;
        dlg.DefaultExt = L"upd";
        dlg.InitDir = App::CurrentFolder();
        dlg.hwnd = hwnd_;
        dlg.CancelError = true;
        dlg.ShowSave();
        chosen = dlg.filename;
    }
    if (chosen.empty()) return;

    // 3. ".upd" is added unless ".UPD" stands anywhere in the name.
    std::wstring path = chosen;
    if (Text::UpperCase(chosen).find(L".UPD") == std::wstring::npos) {
        path = chosen + L".upd";
        // The dialog asked about the name as chosen; a file under the final name is asked about here.
        if (App::FileExists(path) &&
            App::MsgBox(L"文件“ " + path + L" ”已经存在，是否要替换它？", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }

    // 4 to 13, with the wait pointer; any failure ends the command with its message.
    WaitCursor wait;
    auto fail = [] { App::MsgBox(kCannotCreate, MB_OK | MB_ICONERROR); };
    // 5. The file anew, empty. A file that cannot be deleted (read-only, in use) stays as it was.
    if (App::FileExists(path) && !App::RemoveFile(path)) return fail();
    if (!App::CreateEmptyFile(path)) return fail();
    // 6. Its entry: found (any letter case, outer blanks ignored) or appended.
    int e = FindEntry(Text::Trim(path));
    if (!e) e = TreeView2.Add(0, path, path, 5, 5);
    if (!e) return fail();
    TreeView2.Select(e);
    // 7. Shown (empty).
    TreeView2.SetFocus();
    Shownode(TreeView2.Text(e), TipFile::DataSection);
    // 8, 9. Command states.
    DisableCategoryCommands({ToolbarKey::open, ToolbarKey::tjlb, ToolbarKey::del, ToolbarKey::scj, ToolbarKey::find});
    SetFileCommands();
    const bool any = TreeView2.Count() > 0;
    SetPropertiesButton(L"xj", any);
    SetPropertiesButton(L"next", any);
    // 10. Caption and the current paths.
    Forms::Form2().SetCaption(App::Title() + L" - " + TreeView2.Text(e));
    CurrentCategoryPath.clear();
    CurrentDataFilePath = TreeView2.FullPath(e);
    // 11. The file information: Use as typed, the rest from config.ini.
    FileInfo::Info info = FileInfo::Defaults();
    info.use = use;
    if (!FileInfo::Write(TreeView2.Text(e), info)) return fail();
    // 12. No live values.
    if (Hooks().ClearLiveValues) Hooks().ClearLiveValues();
    if (Hooks().SetLiveKeyFlag) Hooks().SetLiveKeyFlag(L"no");
}

// ---------------------------------------------------------------- open

void frmShadow::OpenDataFiles() {
    std::wstring result;
    std::wstring folder;
    std::vector<std::wstring> names;
    int32_t count = 0;
    {
        cCommonDialog dlg;
        dlg.DialogTitle = L"选择技巧数据文件";
        dlg.Filter = L"技巧数据文件 (*.upd)|*.upd";
        dlg.FilterIndex = 1;
        dlg.flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
        dlg.InitDir = App::CurrentFolder();
        dlg.hwnd = hwnd_;
        dlg.CancelError = true;
        dlg.ShowOpen();
        result = dlg.filename;
        if (!result.empty()) dlg.ParseMultiFileName(folder, names, count);
    }
    if (result.empty() || count <= 0) return;

    std::vector<std::wstring> paths;
    if (count == 1) {
        // The one full path the dialog returned (the buffer's NULs cut off).
        paths.push_back(result.substr(0, result.find(L'\0')));
    } else {
        if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
        for (const auto& name : names) paths.push_back(folder + name);
    }
    // The dialog hands its names over through the code page and a buffer of
    // fixed size: a name the code page cannot hold comes back with "?" in it,
    // and a selection longer than the buffer comes back cut (the folder alone,
    // or a last name cut short). Nothing is listed then; the user is told.
    std::vector<Refusal> refused;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::wstring& path = paths[i];
        const DWORD attrs = GetFileAttributesW(path.c_str());
        if (path.find_first_of(L"?*") != std::wstring::npos)
            refused.emplace_back(RealName(path), kNotInCodePage);
        else if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
            refused.emplace_back(path, kSelectionTooLong);
        else if (attrs == INVALID_FILE_ATTRIBUTES && i + 1 == paths.size() && paths.size() > 1)
            refused.emplace_back(folder + L"…", kSelectionTooLong);
    }
    if (!refused.empty()) return ReportRefused(refused);
    for (const std::wstring& path : paths) {
        int e = FindEntry(Text::Trim(path));
        if (!e) e = TreeView2.Add(0, path, path, 5, 5);
        if (e) TreeView2.Select(e);
    }

    DisableCategoryCommands({ToolbarKey::open, ToolbarKey::tjlb, ToolbarKey::del, ToolbarKey::scj, ToolbarKey::find});
    TreeView2.SetFocus();
    const int e = TreeView2.SelectedItem();
    if (e) Shownode(TreeView2.Text(e), TipFile::DataSection);
    ShowItem();
    if (e) CurrentDataFilePath = TreeView2.FullPath(e);
    CurrentCategoryPath.clear();
    SetFileCommands();
    const bool any = TreeView2.Count() > 0;
    SetPropertiesButton(L"xj", any);
    SetPropertiesButton(L"next", any);
    if (e) Forms::Form2().SetCaption(App::Title() + L" - " + TreeView2.Text(e));
    FitColumnsWhenRows();
}

// ---------------------------------------------------------------- del

void frmShadow::RemoveDataFile() {
    const int e = TreeView2.SelectedItem();
    if (!e) return;
    if (App::MsgBox(L"你是否要将“ " + TreeView2.Text(e) + L" ”这个文件从列表中删除吗？", MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
        return;
    // 2. The entry only; the file stays as it is.
    TreeView2.Remove(e);

    ::Form2& main = Forms::Form2();
    if (TreeView2.Count() == 0) {
        // 3. Nothing left to show; the list stays in data-file mode.
        main.ListView1.Clear();
        DisableCategoryCommands({ToolbarKey::start, ToolbarKey::open, ToolbarKey::daochu, ToolbarKey::del,
                                 ToolbarKey::del2, ToolbarKey::scj, ToolbarKey::cut, ToolbarKey::copy,
                                 ToolbarKey::paste, ToolbarKey::xuan, ToolbarKey::xiao, ToolbarKey::tjlb,
                                 ToolbarKey::find});
        main.StatusBar1.SetPanelText(1, L"没有找到任何技巧数据文件");
        for (const wchar_t* key : {L"xj", L"next", L"xiugai"}) SetPropertiesButton(key, false);
        if (Hooks().SetValueBarEnabled) Hooks().SetValueBarEnabled(false);
        for (const wchar_t* key : {L"del", L"copy", L"cut", L"paste", L"all", L"no"}) main.file.SetEnabled(key, false);
        main.SetCaption(App::Title());
        if (Hooks().ClearLiveValues) Hooks().ClearLiveValues();
        if (Hooks().SetLiveKeyFlag) Hooks().SetLiveKeyFlag(L"no");
        main.StatusBar1.SetPanelText(3, L"");
        CurrentCategoryPath.clear();
    } else if (const int shown = TreeView2.SelectedItem()) {
        // 4. The entry the list selected now.
        DisableCategoryCommands({ToolbarKey::open, ToolbarKey::tjlb, ToolbarKey::del, ToolbarKey::find});
        Shownode(TreeView2.Text(shown), TipFile::DataSection);
        ShowItem();
        main.Toolbar1.SetEnabled(ToolbarKey::scj, false);
        main.SetCaption(App::Title() + L" - " + TreeView2.Text(shown));
        CurrentDataFilePath = TreeView2.FullPath(shown);
        CurrentCategoryPath.clear();
    }
    // 5. Commands by the entries left; saving over a tip needs a tip shown.
    SetFileCommands();
    const bool any = TreeView2.Count() > 0;
    SetPropertiesButton(L"xj", any);
    SetPropertiesButton(L"next", any);
    SetPropertiesButton(L"xiugai", any && main.ListView1.Count() > 0);
    TreeView2.SetFocus();
}

// ---------------------------------------------------------------- info

void frmShadow::ShowFileInfo() {
    const int e = TreeView2.SelectedItem();
    if (!e) return;
    Forms::Form4().OpenFileInfoPage(TreeView2.Text(e));
}
