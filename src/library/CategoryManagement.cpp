// Creating, renaming and deleting categories and sub-categories: the category
// file (or its sections) on disk and the category tree's nodes change together,
// and no command loses tips the user did not ask to lose. A write that fails is
// reported and leaves the file as it was.
#include "library/frmShadow.h"

#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "library/Library.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>

using Library::CurrentCategoryPath;
using Library::Hooks;

namespace {
const std::wstring kDefaultName = L"新建技巧类别";
const wchar_t kSameName[] = L"无法重命名，源技巧类别名称与目标技巧类别名称相同。";
const wchar_t kDuplicateCategory[] = L"指定的技巧类别名称与现有的技巧类别名称重名，请指定另一类别名称。";
const wchar_t kDuplicateSubCategory[] = L"目标子类别与源子类别重名，请重新命名目标子类别。";
// The longest category or sub-category name: a file name's limit.
constexpr size_t kMaxName = 255;
const wchar_t kDeleteFailed[] = L"技巧数据文件可能已被打开或被其它程序使用，导致删除技巧类别失败。";

std::wstring DataFolder() { return App::PathSlash() + L"DATA\\"; }

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Critical(const std::wstring& text) { App::MsgBox(text, MB_OK | MB_ICONERROR); }

std::wstring UnknownError(DWORD err) {
    return L"不知名的错误，错误号为 " + Text::FromInt(static_cast<long long>(err)) + L" ，导致重命名失败。";
}

// The system's description of an error, on one line.
std::wstring SystemMessage(DWORD err) {
    wchar_t* buf = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, err, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
    std::wstring s = n && buf ? std::wstring(buf, n) : std::wstring();
    if (buf) LocalFree(buf);
    while (!s.empty() && (s.back() == L'\r' || s.back() == L'\n' || s.back() == L' ')) s.pop_back();
    return s.empty() ? L"错误 " + Text::FromInt(static_cast<long long>(err)) : s;
}

enum class Kind { Category, SubCategory };

// A device name of the file system (CON, NUL, COM1...), which it takes also
// with an extension after it.
bool DeviceName(const std::wstring& name) {
    std::wstring base = Text::UpperCase(name.substr(0, name.find(L'.')));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

// Why a name (trimmed) cannot be given to a category or sub-category; empty
// when it can. Category names become file names, sub-category names section
// names; both stand in category paths, so one rule serves both.
std::wstring NameProblem(const std::wstring& name, Kind kind) {
    const std::wstring noun = kind == Kind::Category ? L"技巧类别" : L"技巧子类别";
    if (name.empty()) return noun + L"名称不能为空。";
    // A category name is a file name, and every name a node's text.
    if (name.size() > kMaxName) return noun + L"名称太长，不能超过 255 个字符。";
    if (!Text::FitsAnsi(name)) return noun + L"名称中含有无法保存的字符。";
    for (wchar_t c : name)
        if (c < L' ' || c == Marks::FieldMarkChar || std::wstring_view(L"\\/:*?\"<>|]").find(c) != std::wstring_view::npos)
            return noun + L"名称中不能含有 \\ / : * ? \" < > | ] 等字符。";
    if (name[0] == L'[' || name[0] == L';') return noun + L"名称不能以“[”或“;”开头。";
    if (name.find_first_not_of(L'.') == std::wstring::npos) return noun + L"名称不能只由句点组成。";
    if (name[0] == L'.') return noun + L"名称不能以句点开头。";
    if (DeviceName(name)) return L"“" + name + L"”是系统保留的名称，不能用作" + noun + L"名称。";
    for (const std::wstring& reserved : {TipFile::DataSection, TipFile::FavouritesSection})
        if (Text::EqualNoCase(name, reserved)) return L"不能将" + noun + L"命名为“" + reserved + L"”。";
    if (kind == Kind::Category ? Text::ToAnsi(DataFolder() + name + L".qix").size() >= MAX_PATH
                               : !Ini::Holdable(TipFile::MirrorOf(name)))
        return noun + L"名称太长。";
    return {};
}

// ---- moving a sub-category's sections

// The lines that are keys ("name=value"): what a copy must carry.
std::string KeyLines(const std::string& lines) {
    std::string out;
    for (size_t start = 0; start < lines.size();) {
        size_t end = lines.find('\0', start);
        if (end == std::string::npos) end = lines.size();
        size_t eq = lines.find('=', start);
        if (eq != std::string::npos && eq > start && eq < end) out.append(lines, start, end - start + 1);
        start = end + 1;
    }
    return out;
}

bool HasSection(const std::vector<std::wstring>& sections, const std::wstring& name) {
    for (const auto& s : sections)
        if (Text::EqualNoCase(s, name)) return true;
    return false;
}

// Copies section `from` and its mirror section to `to` (which the file does not
// hold): every line as the system holds it, in file order; an empty or missing
// section gives an empty one. What was written is read back; when any of it is
// missing or a write failed, the copy is taken away again and false returned.
bool CopySections(const std::wstring& file, const std::wstring& from, const std::wstring& to, DWORD& err) {
    const std::vector<std::wstring> sections = Ini::Sections(file);
    const std::string lines = Ini::SectionBytes(file, from);
    const bool mirrored = HasSection(sections, TipFile::MirrorOf(from));
    const std::string options = mirrored ? Ini::SectionBytes(file, TipFile::MirrorOf(from)) : std::string();
    SetLastError(0);
    bool ok = Ini::WriteSectionBytes(file, to, lines) &&
              (!mirrored || Ini::WriteSectionBytes(file, TipFile::MirrorOf(to), options));
    if (ok) {
        ok = KeyLines(Ini::SectionBytes(file, to)) == KeyLines(lines) && Ini::HasSection(file, to) &&
             (!mirrored || KeyLines(Ini::SectionBytes(file, TipFile::MirrorOf(to))) == KeyLines(options));
    }
    if (!ok) {
        err = GetLastError();
        Ini::DeleteSection(file, to);
        Ini::DeleteSection(file, TipFile::MirrorOf(to));
    }
    return ok;
}

// Moves a section and its mirror to a name the file does not hold: the copy
// first, the old sections only once it is complete (the section before its mirror).
bool MoveSections(const std::wstring& file, const std::wstring& from, const std::wstring& to, DWORD& err) {
    if (!CopySections(file, from, to, err)) return false;
    if (!Ini::DeleteSection(file, from)) {
        err = GetLastError();
        Ini::DeleteSection(file, to);
        Ini::DeleteSection(file, TipFile::MirrorOf(to));
        return false;
    }
    // The tips have moved; an option-list section left behind is shown by nothing.
    Ini::DeleteSection(file, TipFile::MirrorOf(from));
    return true;
}

// Renames a sub-category's sections. Section names match without regard to
// case, so a change of letter case alone goes through a name of its own:
// copying onto the same section and deleting the old one would delete the tips.
bool RenameSectionsIn(const std::wstring& file, const std::wstring& from, const std::wstring& to, DWORD& err) {
    if (!Text::EqualNoCase(from, to)) return MoveSections(file, from, to, err);
    const std::vector<std::wstring> sections = Ini::Sections(file);
    std::wstring temp;
    for (int n = 1; temp.empty() || HasSection(sections, temp) || HasSection(sections, TipFile::MirrorOf(temp)); ++n)
        temp = L"Quorix重命名" + Text::FromInt(n);
    if (!MoveSections(file, from, temp, err)) return false;
    if (MoveSections(file, temp, to, err)) return true;
    DWORD ignored = 0;
    MoveSections(file, temp, from, ignored);  // back under the old name
    return false;
}

// The renaming goes to a copy of the file that takes its place once it is
// complete; a rename that fails leaves the file as it was.
bool RenameSections(const std::wstring& file, const std::wstring& from, const std::wstring& to, DWORD& err) {
    Ini::FileTransaction tx(file);
    if (!RenameSectionsIn(file, from, to, err)) {
        tx.Discard();
        return false;
    }
    if (tx.Commit()) return true;
    err = GetLastError();
    return false;
}

bool IsFavourites(const TreeView& tree, int node) { return node && tree.Parent(node) && tree.Bold(node); }

// The caption and the remembered path after the node shown, or the category
// of the sub-category shown, got a new name.
void Renamed(const std::wstring& oldPath, const std::wstring& newPath) {
    if (!Forms::Form2().CategoryMode()) return;
    std::wstring shown;
    if (CurrentCategoryPath == oldPath)
        shown = newPath;
    else if (CurrentCategoryPath.size() > oldPath.size() && CurrentCategoryPath.compare(0, oldPath.size(), oldPath) == 0 &&
             CurrentCategoryPath[oldPath.size()] == L'\\')
        shown = newPath + CurrentCategoryPath.substr(oldPath.size());
    else
        return;
    CurrentCategoryPath = shown;
    Forms::Form2().SetCaption(App::Title() + L" - " + shown);
}

void RenameCategory(frmShadow& shadow, TreeView::LabelEditEnd& e) {
    TreeView& tree = shadow.TreeView1;
    const int node = e.node;
    const std::wstring old = tree.Text(node), name = e.text;
    // Top-level sorting comes back on whatever the outcome (a new category was
    // added last with it off), so the categories keep one order.
    auto refuse = [&](const std::wstring& text) {
        e.cancel = true;
        tree.SetSorted(true);
        Critical(text);
    };
    // The old text as it was: nothing to rename, nothing to say.
    if (name == old) {
        e.cancel = true;
        tree.SetSorted(true);
        return;
    }
    if (Text::EqualNoCase(name, old)) return refuse(kSameName);
    if (std::wstring problem = NameProblem(name, Kind::Category); !problem.empty()) return refuse(problem);
    const std::wstring from = tree.NodeTag(node), to = DataFolder() + name + L".qix";
    bool taken = PathExists(to);
    for (int n = 1; n <= tree.Count(); ++n)
        if (n != node && !tree.Parent(n) && Text::EqualNoCase(tree.Text(n), name)) taken = true;
    if (taken) return refuse(kDuplicateCategory);
    // The file keeps its content; a file of the new name is never replaced.
    if (!MoveFileW(from.c_str(), to.c_str())) {
        DWORD err = GetLastError();
        return refuse(err == ERROR_ALREADY_EXISTS || err == ERROR_FILE_EXISTS ? std::wstring(kDuplicateCategory)
                                                                               : UnknownError(err));
    }
    tree.SetNodeTag(node, to);
    for (int c = tree.FirstChild(node); c; c = tree.NextSibling(c)) tree.SetNodeTag(c, to);
    Renamed(old, name);
    tree.SetSorted(true);
}

void RenameSubCategory(frmShadow& shadow, TreeView::LabelEditEnd& e) {
    TreeView& tree = shadow.TreeView1;
    const int node = e.node, parent = tree.Parent(node);
    const std::wstring old = tree.Text(node), name = e.text, file = tree.NodeTag(node);
    if (name == old) return;  // the old text as it was: nothing to move, nothing to say
    if (std::wstring problem = NameProblem(name, Kind::SubCategory); !problem.empty()) {
        e.cancel = true;
        Critical(problem);
        return;
    }
    // Another node or any section of the file (shown or not) of that name, in any
    // letter case, clashes; the node's own section in another case does not.
    bool taken = false;
    for (int c = tree.FirstChild(parent); c; c = tree.NextSibling(c))
        if (c != node && Text::EqualNoCase(tree.Text(c), name)) taken = true;
    for (const auto& s : Ini::Sections(file))
        if (Text::EqualNoCase(s, name) && !Text::EqualNoCase(s, old)) taken = true;
    if (taken) {
        e.cancel = true;
        App::MsgBox(kDuplicateSubCategory, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    DWORD err = 0;
    if (!RenameSections(file, old, name, err)) {
        e.cancel = true;
        Critical(UnknownError(err));
        return;
    }
    const std::wstring category = tree.Text(parent);
    Renamed(category + L"\\" + old, category + L"\\" + name);
}
}  // namespace

void frmShadow::InstallCategoryEditing() {
    // A click on the selected node's text starts an edit, as a command does;
    // the favourites node is never renamed.
    TreeView1.SetLabelEdit(TreeView::LabelEditMode::Automatic);
    TreeView1.BeforeLabelEdit = [this](int node) { return !IsFavourites(TreeView1, node); };
    TreeView1.AfterLabelEdit = [this](TreeView::LabelEditEnd& e) { TreeView1_AfterLabelEdit(e); };
    // A new category's edit given up (Esc) still leaves the categories in the tree's order.
    TreeView1.LabelEditCancelled = [this](int) {
        if (!TreeView1.Sorted()) TreeView1.SetSorted(true);
    };
}

void frmShadow::ShowSelectedNode() {
    int node = TreeView1.SelectedItem();
    if (!node) return;
    CurrentCategoryPath.clear();  // so that the click is not taken for one on the node shown
    TreeView1_NodeClick(node);
}

void frmShadow::StartRename() { TreeView1.StartLabelEdit(); }

void frmShadow::TreeView1_AfterLabelEdit(TreeView::LabelEditEnd& e) {
    if (!e.node || IsFavourites(TreeView1, e.node)) {
        e.cancel = true;
        return;
    }
    if (TreeView1.Children(e.node) > 0)
        RenameCategory(*this, e);
    else
        RenameSubCategory(*this, e);
}

void frmShadow::NewCategory() {
    const std::wstring folder = DataFolder();
    auto fail = [](DWORD err) { Critical(SystemMessage(err) + L"," + L"导致新建技巧类别失败。"); };
    if (!App::FolderExists(folder) && !CreateDirectoryW(folder.c_str(), nullptr)) return fail(GetLastError());
    TreeView1.SetSorted(false);  // the new node goes last; the rename sorts again
    // The first default name that no node bears and no file of the folder has;
    // the file is created only where none is.
    auto borne = [this](const std::wstring& name) {
        for (int n = 1; n <= TreeView1.Count(); ++n)
            if (Text::EqualNoCase(TreeView1.Text(n), name)) return true;
        return false;
    };
    std::wstring name, path;
    for (long long n = 0;; ++n) {
        if (n > 100000) return fail(ERROR_FILE_EXISTS);
        name = n == 0 ? kDefaultName : kDefaultName + L" (" + Text::FromInt(n) + L")";
        path = folder + name + L".qix";
        if (borne(name) || PathExists(path)) continue;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            break;
        }
        DWORD err = GetLastError();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return fail(err);
    }
    TreeView1.SetFocus();
    const int node = TreeView1.Add(0, name, {}, 1);
    if (!node) return fail(ERROR_NOT_ENOUGH_MEMORY);
    TreeView1.SetNodeTag(node, path);
    TreeView1.SetExpandedImage(node, 2);
    const int favourites = TreeView1.Add(node, TipFile::FavouritesSection, {}, 3);
    TreeView1.SetNodeTag(favourites, path);
    TreeView1.SetBold(favourites, true);
    TreeView1.Select(node);
    TreeView1.SetExpanded(node, true);
    ShowSelectedNode();
    TreeView1.StartLabelEdit(node);
}

void frmShadow::NewSubCategory() {
    const int category = TreeView1.SelectedItem();
    if (!category || TreeView1.Children(category) == 0) return;
    const std::wstring file = TreeView1.NodeTag(category);
    const std::wstring title = L"在 " + TreeView1.Text(category) + L" 中添加新的技巧子类别";
    for (;;) {
        const std::wstring name = Text::Trim(App::InputBox(L"请输入技巧子类别名称:", title));
        if (name.empty()) return;  // cancelled
        if (std::wstring problem = NameProblem(name, Kind::SubCategory); !problem.empty()) {
            Critical(problem);
            continue;
        }
        bool taken = false;
        for (int c = TreeView1.FirstChild(category); c; c = TreeView1.NextSibling(c))
            if (Text::EqualNoCase(TreeView1.Text(c), name)) taken = true;
        if (Ini::HasSection(file, name)) taken = true;
        if (taken) {
            App::MsgBox(kDuplicateSubCategory, MB_OK | MB_ICONEXCLAMATION);
            continue;
        }
        Ini::FileTransaction tx(file);
        if (!Ini::MakeEmptySection(file, name) || !tx.Commit()) {
            tx.Discard();  // nothing of a half-made section stays
            Critical(L"技巧数据文件可能已被打开或被其它程序使用，导致新建技巧子类别失败。");
            return;
        }
        const int node = TreeView1.Add(category, name, {}, 1, 2);
        TreeView1.SetNodeTag(node, file);
        TreeView1.Select(node);
        ShowSelectedNode();
        return;
    }
}

void frmShadow::DeleteCategory() {
    ::Form2& main = Forms::Form2();
    const int node = TreeView1.SelectedItem();
    if (!node || IsFavourites(TreeView1, node) || !main.CategoryMode()) return;
    const std::wstring text = TreeView1.Text(node), file = TreeView1.NodeTag(node);
    const bool category = TreeView1.Children(node) > 0;
    if (App::MsgBox(L"你确定要删除“" + text + (category ? L"”技巧类别吗？" : L"”技巧子类别吗？"),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    bool mirrorKept = false;
    if (category) {
        // A file that is gone already is what was asked for; one that is still
        // there was not deleted, whatever the system answered.
        DeleteFileW(file.c_str());
        if (PathExists(file)) return Critical(kDeleteFailed);
    } else {
        // The section and its mirror go in one replacement of the file: once
        // the section is gone, so is the sub-category.
        Ini::FileTransaction tx(file);
        if (!Ini::DeleteSection(file, text)) {
            tx.Discard();
            return Critical(kDeleteFailed);
        }
        mirrorKept = !Ini::DeleteSection(file, TipFile::MirrorOf(text));
        if (!tx.Commit()) return Critical(kDeleteFailed);
    }
    TreeView1.Remove(node);
    if (TreeView1.Count() == 0) {
        main.ListView1.Clear();
        EnterNothingLoadedState();
        if (Hooks().ClearLiveValues) Hooks().ClearLiveValues();
        CurrentCategoryPath.clear();
    } else {
        ShowSelectedNode();
        TreeView1.SetLabelEdit(IsFavourites(TreeView1, TreeView1.SelectedItem()) ? TreeView::LabelEditMode::Manual
                                                                                 : TreeView::LabelEditMode::Automatic);
    }
    if (mirrorKept) Critical(kDeleteFailed);
}
