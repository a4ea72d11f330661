#include "platform/Subclass.h"
#include "library/frmShadow.h"

#include "common/Config.h"
#include "common/Ini.h"
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "library/Library.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/Icons.h"
#include "platform/Resize.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

using Library::CurrentCategoryPath;
using Library::CurrentDataFilePath;
using Library::Hooks;

namespace {
enum : int { IdTreeView1 = 201, IdPicture1, IdToolbar1, IdTreeView2 };
constexpr UINT WM_BARDOWN = WM_APP + 1;  // the bar tells its window of a left-button press

const wchar_t kSplitBarClass[] = L"Quorix.SplitBar";

LRESULT CALLBACK SplitBarProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
        return TRUE;
    case WM_LBUTTONDOWN:
        SendMessageW(GetParent(h), WM_BARDOWN, wp, lp);
        return 0;
    default:
        return DefWindowProcW(h, msg, wp, lp);
    }
}

bool EndsWithUpd(const std::wstring& path) {
    return path.size() >= 4 && Text::UpperCase(path.substr(path.size() - 4)) == L".UPD";
}

// A tip data file whose name (its own or a folder's on the way, also behind a
// short name) the code page cannot hold: it would be read and written as
// another name. `real` gets the file's long name for the message.
bool Unnameable(const std::wstring& path, std::wstring& real) {
    if (!EndsWithUpd(path) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    real.assign(32768, L'\0');
    DWORD n = GetLongPathNameW(path.c_str(), real.data(), static_cast<DWORD>(real.size()));
    real.resize(n > 0 && n < real.size() ? n : 0);
    if (real.empty()) real = path;
    return !Text::FitsAnsi(path) || !Text::FitsAnsi(real);
}

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        UINT len = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring p(len + 1, L'\0');
        DragQueryFileW(drop, i, p.data(), len + 1);
        p.resize(len);
        paths.push_back(p);
    }
    return paths;
}

void SetPropertiesButton(const wchar_t* key, bool on) {
    if (Hooks().SetPropertiesButton) Hooks().SetPropertiesButton(key, on);
}
void ShowItem() {
    if (Hooks().ShowItem) Hooks().ShowItem();
}
}  // namespace

// ---------------------------------------------------------------- the bar

bool SplitBar::Create(HWND parent, int id) {
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(Ui::Instance(), kSplitBarClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &SplitBarProc;
        wc.hInstance = Ui::Instance();
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kSplitBarClass;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateChild(parent, kSplitBarClass, WS_VISIBLE | WS_BORDER, 0, id);
}

// ---------------------------------------------------------------- load and unload

namespace {
bool MainWindowStarting() {
    const ::Form2* main = Forms::Form2IfLoaded();
    return main && main->Loading();
}
}  // namespace

frmShadow::~frmShadow() { Unload(); }

bool frmShadow::Load() {
    if (Exists()) return true;
    // A window loaded again starts as a new one.
    picture1Top_ = 2820;
    treeView1Height_ = 2790;
    toolbar1Top_ = 2850;
    treeView2Top_ = 3180;
    treeView2Height_ = 1035;
    unloading_ = false;
    FileListCollapsed = false;
    FileListSplitter = cSplitDDC{};
    const SIZE size = TakeCreationSize(SIZE{Twips::ToPixelsX(2070), Twips::ToPixelsY(4650)});
    if (!CreateForm(L"Quorix.frmShadow", L"技巧类别",
                    WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN | WS_SYSMENU, WS_EX_TOOLWINDOW,
                    nullptr, 0, 0, size.cx, size.cy))
        return false;
    Resize::InstallSideMinSize(hwnd_);
    // The controls are made where the layout puts them at this size (the
    // file list's bar where the settings keep it; the file list below the
    // toolbar, once the toolbar has its height).
    picture1Top_ = static_cast<long long>(Config::Number(Config::FileListHeight));
    PlanLayout();
    TreeView1.Create(hwnd_, IdTreeView1);
    Picture1.Create(hwnd_, IdPicture1);
    Toolbar1.Create(hwnd_, IdToolbar1);
    // The toolbar sits where the layout puts it, not at the window's top.
    SetWindowLongW(Toolbar1.hwnd(), GWL_STYLE,
                   GetWindowLongW(Toolbar1.hwnd(), GWL_STYLE) | CCS_NOPARENTALIGN | CCS_NORESIZE);
    Toolbar1.AddButtons({{L"new", Toolbar::Style::Plain, L"", L"新建技巧数据文件"},
                         {L"open", Toolbar::Style::Plain, L"", L"添加技巧数据文件到列表"},
                         {L"", Toolbar::Style::Separator},
                         {L"del", Toolbar::Style::Plain, L"", L"在文件列表中删除选定的文件"},
                         {L"", Toolbar::Style::Separator},
                         {L"info", Toolbar::Style::Plain, L"", L"文件信息"}});
    PlanLayout();
    TreeView2.Create(hwnd_, IdTreeView2);
    ImageList1.Create(16, 16);
    std::vector<std::vector<DWORD>> pictures;
    for (int i = 1; i <= Icons::kLastCategoryPicture; ++i) pictures.push_back(Icons::CategoryArgb(i));
    ImageList1.AddPictures(pictures);
    for (HWND child : {TreeView1.hwnd(), TreeView2.hwnd(), Toolbar1.hwnd(), Picture1.hwnd()})
        if (child) Subclass::Set(child, &frmShadow::ChildProc, 1, reinterpret_cast<DWORD_PTR>(this));
    DragAcceptFiles(hwnd_, TRUE);
    if (TreeView2.hwnd()) DragAcceptFiles(TreeView2.hwnd(), TRUE);
    TreeView1.NodeClick = [this](int node) { TreeView1_NodeClick(node); };
    TreeView1.RightClick = [this](POINT pt) { TreeView1_MouseUp(2, pt); };
    TreeView2.NodeClick = [this](int node) { TreeView2_NodeClick(node); };
    TreeView2.RightClick = [this](POINT pt) { TreeView2_MouseUp(2, pt); };
    Toolbar1.ButtonClick = [this](const std::wstring& key) { Toolbar1_ButtonClick(key); };
    InstallCategoryEditing();
    // The toolbar is a stop of its own for Tab, between the tree and the file list.
    SetWindowLongW(Toolbar1.hwnd(), GWL_STYLE, GetWindowLongW(Toolbar1.hwnd(), GWL_STYLE) | WS_TABSTOP);

    // The load step.
    TreeView1.SetImageList(ImageList1.handle());
    TreeView2.SetImageList(ImageList1.handle());
    Toolbar1.SetImageList(ImageList1.handle());
    Toolbar1.SetImage(L"new", 5);
    Toolbar1.SetImage(L"open", 6);
    Toolbar1.SetImage(L"del", 7);
    Toolbar1.SetImage(L"info", 8);

    FileFind();

    FileListSplitter.SetOrientation(2);  // no object yet: the margins stay as set below
    FileListSplitter.SetBorder(cSplitDDC::Bottom, 0);
    FileListSplitter.SetBorder(cSplitDDC::Top, 1);
    FileListSplitter.SetBorder(cSplitDDC::Left, 2);
    FileListSplitter.SetBorder(cSplitDDC::Right, 2);
    cSplitDDC::Target bar;
    bar.SetTop = [this](long long t) { picture1Top_ = t; };
    bar.SetLeft = [](long long) {};
    bar.RemoveBorder = [this] {
        HWND h = Picture1.hwnd();
        SetWindowLongW(h, GWL_STYLE, GetWindowLongW(h, GWL_STYLE) & ~WS_BORDER);
        SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    };
    FileListSplitter.SetSplitObject(bar);
    FileListCollapsed = false;
    picture1Top_ = static_cast<long long>(Config::Number(Config::FileListHeight));

    if (Config::On(Config::SaveFile)) {
        for (const auto& key : Config::KeysOf(Config::FilelistSection)) {
            std::wstring name = Text::Trim(key);
            if (name.empty() || FindEntry(name)) continue;  // a key the list holds already is passed over
            Ini::RemoveStrayCopyOf(name);  // left by a run that ended before it replaced the file
            int e = TreeView2.Add(0, name, name, 5, 5);
            if (e) TreeView2.Select(e);
        }
    }

    ::Form2& main = Forms::Form2();
    std::wstring command = Text::Trim(App::Command());
    if (!command.empty()) {
        const int opened = OpenCmdFiles(L" " + command + L" ");
        // The list is in data-file mode now. When the command line opened no file
        // but the saved list gave entries, the selected one is shown as a click
        // on it shows it (commands included): the rows then belong to the file
        // the list target names.
        if (!opened) ShowDataFileEntry(TreeView2.SelectedItem());
        for (const wchar_t* key : {ToolbarKey::open, ToolbarKey::del, ToolbarKey::find, ToolbarKey::scj}) main.Toolbar1.SetEnabled(key, false);
        ShowItem();
        if (TreeView2.Count() == 0) {
            EnterNoDataFileState();
        } else {
            CurrentDataFilePath = TreeView2.FullPath(TreeView2.SelectedItem());
        }
        CurrentCategoryPath.clear();
    }
    SetFileCommands();
    // Made during the start-up, the controls are laid out when the window
    // first shows, at its size then.
    if (!MainWindowStarting()) Form_Resize();
    return true;
}

void frmShadow::SetFileCommands() {
    bool any = TreeView2.Count() > 0;
    Toolbar1.SetEnabled(L"del", any);
    Toolbar1.SetEnabled(L"info", any);
}

frmShadow::SaveResult frmShadow::SaveUnload() {
    SaveResult r;
    // The list goes into config.ini in one replacement of the file (within the
    // main window's shut-down, in its one).
    Ini::FileTransaction tx(Config::Path());
    r.settingsWritten = Config::WriteInt(Config::FileListHeight, picture1Top_);
    if (Config::On(Config::SaveFile)) {
        // The old list goes first (an entry removed since must not come back);
        // then every entry is written that the file can hold.
        if (!Config::DeleteSection(Config::FilelistSection)) r.settingsWritten = false;
        for (int e = 1; e <= TreeView2.Count(); ++e) {
            const std::wstring path = TreeView2.Text(e);
            if (!Config::WriteEntry(Config::FilelistSection, path, L"Quorix")) r.unsaved.push_back(path);
        }
    }
    if (!tx.Commit()) r.settingsWritten = false;
    lastSave_ = r;
    return r;
}

void frmShadow::ReportSave(const SaveResult& r) {
    if (!r.settingsWritten) {
        App::MsgBox(L"无法把技巧类别窗口的设置写入 config.ini。", MB_OK | MB_ICONERROR);
        return;
    }
    if (r.unsaved.empty()) return;
    std::wstring text = L"下列技巧数据文件的路径无法保存到文件列表中，下次启动时不会列出：";
    for (const auto& path : r.unsaved) text += L"\r\n" + path;
    App::MsgBox(text, MB_OK | MB_ICONERROR);
}

// ---------------------------------------------------------------- the tip list

void frmShadow::Shownode(const std::wstring& file, const std::wstring& section) {
    HCURSOR old = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ::Form2& main = Forms::Form2();
    ListView& list = main.ListView1;
    // The list is filled with redrawing off, every row whole in one go, and
    // drawn once at the end.
    list.SetRedraw(false);
    list.Clear();
    bool categoryMode = main.CategoryMode();
    auto entries = TipFile::ReadSection(file, section);
    // The system reads a file it cannot open as an empty one.
    const bool unreadable = entries.empty() && !Ini::Readable(file);
    // The option lists, read once and only when a new-layout record needs them.
    std::unique_ptr<std::unordered_map<std::wstring, std::wstring>> options;
    std::vector<TipRow::Cells> rows;
    rows.reserve(entries.size());
    const std::wstring none;
    for (const auto& [name, record] : entries) {
        const std::wstring* mirror = &none;
        if (TipRow::IsNewLayout(record)) {
            if (!options)
                options = std::make_unique<std::unordered_map<std::wstring, std::wstring>>(
                    TipFile::ReadSectionByName(file, TipFile::MirrorOf(section)));
            auto it = options->find(Text::UpperCase(name));
            if (it != options->end()) mirror = &it->second;
        }
        rows.push_back(TipRow::Decode(name, record, *mirror));
    }
    // A sorted list takes the rows in its order at once.
    TipRow::AddRows(list, std::move(rows), categoryMode);
    list.SetRedraw(true);
    int n = list.Count();
    main.SetRowCommandsEnabled(n > 0);
    SetPropertiesButton(L"xiugai", n > 0);
    if (Hooks().SetValueBarEnabled) Hooks().SetValueBarEnabled(n > 0);
    if (n == 0) {
        if (Hooks().ClearLiveValues) Hooks().ClearLiveValues();
        if (Hooks().SetLiveKeyFlag) Hooks().SetLiveKeyFlag(L"no");
        SetPropertiesButton(L"edit", false);
    }
    main.StatusBar1.SetPanelText(1, L"共有 " + Text::FromInt(n) + L" 个技巧");
    main.StatusBar1.SetPanelText(3, L"准备使用技巧");
    SetCursor(old ? old : LoadCursorW(nullptr, IDC_ARROW));
    if (unreadable)
        App::MsgBox(L"无法读取技巧文件“" + file + L"”：文件已被其它程序打开，或者没有读取权限。列表中没有列出其中的技巧。",
                    MB_OK | MB_ICONERROR);
}

void frmShadow::FitColumnsWhenRows() {
    ::Form2& main = Forms::Form2();
    if (main.ListView1.Count() > 0 && Config::On(Config::AutoWidth) && Hooks().AutoSizeTipColumns)
        Hooks().AutoSizeTipColumns(main.ListView1, -1);
}

// ---------------------------------------------------------------- category tree

void frmShadow::EnterNothingLoadedState() {
    ::Form2& main = Forms::Form2();
    for (const wchar_t* key : {ToolbarKey::start, ToolbarKey::open, ToolbarKey::daochu, ToolbarKey::del, ToolbarKey::del2, ToolbarKey::scj, ToolbarKey::cut, ToolbarKey::copy, ToolbarKey::paste, ToolbarKey::xuan, ToolbarKey::xiao, ToolbarKey::find})
        main.Toolbar1.SetEnabled(key, false);
    main.StatusBar1.SetPanelText(1, L"没有找到任何技巧类别");
    for (const wchar_t* key : {L"xj", L"next", L"xiugai", L"edit"}) SetPropertiesButton(key, false);
    if (Hooks().SetValueBarEnabled) Hooks().SetValueBarEnabled(false);
    for (const wchar_t* key : {L"del", L"copy", L"cut", L"paste", L"all", L"no"}) main.file.SetEnabled(key, false);
    main.SetCaption(App::Title());
    if (Hooks().SetLiveKeyFlag) Hooks().SetLiveKeyFlag(L"no");
}

void frmShadow::EnterNoDataFileState() {
    ::Form2& main = Forms::Form2();
    for (const wchar_t* key : {ToolbarKey::start, ToolbarKey::open, ToolbarKey::daochu, ToolbarKey::del, ToolbarKey::del2, ToolbarKey::scj, ToolbarKey::cut, ToolbarKey::copy, ToolbarKey::paste, ToolbarKey::xuan, ToolbarKey::xiao, ToolbarKey::tjlb, ToolbarKey::find})
        main.Toolbar1.SetEnabled(key, false);
    main.ListView1.Clear();
    main.SetCaption(App::Title());
    for (const wchar_t* key : {L"xj", L"next", L"xiugai"}) SetPropertiesButton(key, false);
    if (Hooks().SetValueBarEnabled) Hooks().SetValueBarEnabled(false);
    for (const wchar_t* key : {L"del", L"copy", L"cut", L"paste", L"all", L"no"}) main.file.SetEnabled(key, false);
    main.StatusBar1.SetPanelText(1, L"没有找到任何技巧数据文件");
}

void frmShadow::FileFind() {
    const std::wstring dataDir = App::PathSlash() + L"DATA\\";
    std::vector<std::wstring> names = App::ListFiles(dataDir, L"*.qix");
    // Categories in the order the tree's sorting gives them (as after a new
    // category or a rename), whatever order the file system lists them in.
    std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return TreeView::CompareTexts(a.substr(0, a.size() - std::min<size_t>(a.size(), 4)),
                                      b.substr(0, b.size() - std::min<size_t>(b.size(), 4))) < 0;
    });
    for (const auto& name : names) {
        if (name.empty() || name[0] == L'.' || name.size() < 4) continue;
        int node = TreeView1.Add(0, name.substr(0, name.size() - 4), {}, 1, 2);
        if (!node) continue;
        TreeView1.SetNodeTag(node, dataDir + name);
        TreeView1.Select(node);
        ShowZML(Text::FromInt(node), dataDir + name);
        int fav = TreeView1.Add(node, TipFile::FavouritesSection, {}, 3, 4);
        TreeView1.SetNodeTag(fav, dataDir + name);
        TreeView1.SetBold(fav, true);
    }
    ::Form2& main = Forms::Form2();
    if (TreeView1.Count() == 0) {
        EnterNothingLoadedState();
    } else {
        long long remembered = static_cast<long long>(Config::Number(Config::TreeIndex));
        int node = remembered >= 1 && remembered <= TreeView1.Count() ? static_cast<int>(remembered) : 1;
        // An index that names a sub-category or favourites node selects its category,
        // so that the tips shown are those of the selected node.
        node = TreeView1.Root(node);
        TreeView1.Select(node);
        TreeView1.SetExpanded(node, true);
        CurrentCategoryPath = TreeView1.FullPath(node);
        CurrentDataFilePath.clear();
        Shownode(TreeView1.NodeTag(node), TipFile::DataSection);
        main.SetCaption(App::Title() + L" - " + TreeView1.Text(node));
    }
    FitColumnsWhenRows();
    ShowItem();
}

void frmShadow::ShowZML(const std::wstring& strSj, const std::wstring& strTag) {
    int parent = static_cast<int>(Text::LeadingNumber(strSj));
    for (const auto& name : Ini::Sections(strTag)) {
        if (name == TipFile::FavouritesSection || name == TipFile::DataSection ||
            name.find(Marks::FieldMarkChar) != std::wstring::npos)
            continue;
        int node = TreeView1.AddSorted(parent, name, {}, 1, 2);
        if (node) TreeView1.SetNodeTag(node, strTag);
    }
}

std::wstring frmShadow::NodeSection(int node) const {
    return TreeView1.Children(node) > 0 ? TipFile::DataSection : TreeView1.Text(node);
}

void frmShadow::TreeView1_NodeClick(int node) {
    if (!node || TreeView1.FullPath(node) == CurrentCategoryPath) return;
    ::Form2& main = Forms::Form2();
    main.Toolbar1.SetEnabled(ToolbarKey::tjlb, true);
    main.Toolbar1.SetEnabled(ToolbarKey::find, true);
    const std::wstring title = App::Title();
    if (TreeView1.Children(node) > 0) {
        Shownode(TreeView1.NodeTag(node), TipFile::DataSection);
        main.SetCaption(title + L" - " + TreeView1.Text(node));
        main.Toolbar1.SetEnabled(ToolbarKey::del, true);
        main.Toolbar1.SetEnabled(ToolbarKey::open, true);
    } else {
        main.SetCaption(title + L" - " + TreeView1.FullPath(node));
        if (TreeView1.Text(node) == TipFile::FavouritesSection) {
            Shownode(TreeView1.NodeTag(node), TipFile::FavouritesSection);
            main.Toolbar1.SetEnabled(ToolbarKey::del, false);
            main.Toolbar1.SetEnabled(ToolbarKey::scj, false);
            main.Toolbar1.SetEnabled(ToolbarKey::open, false);
            if (Config::On(Config::AutoCheck))
                for (int r = 1; r <= main.ListView1.Count(); ++r) main.ListView1.SetChecked(r, true);
        } else {
            Shownode(TreeView1.NodeTag(node), TreeView1.Text(node));
            main.Toolbar1.SetEnabled(ToolbarKey::del, true);
            main.Toolbar1.SetEnabled(ToolbarKey::open, true);
        }
    }
    ShowItem();
    SetPropertiesButton(L"xj", true);
    SetPropertiesButton(L"next", true);
    CurrentCategoryPath = TreeView1.FullPath(node);
    CurrentDataFilePath.clear();
    FitColumnsWhenRows();
}

void frmShadow::TreeView1_MouseUp(int button, POINT pt) {
    if (button != 2 || !TreeView1.HitTest(pt)) return;
    PopupMenu& menu = Forms::Form2().file;
    bool favourites = TreeView1.Bold(TreeView1.SelectedItem());
    menu.SetEnabled(L"cmm", !favourites);
    menu.SetEnabled(L"lbscj", !favourites);
    for (const wchar_t* key : {L"lbscj", L"lbscj2", L"cmm", L"cmm2"}) menu.SetVisible(key, true);
    for (const wchar_t* key : {L"cut", L"copy", L"del", L"d3", L"she1", L"shezhi"}) menu.SetVisible(key, false);
    POINT screen;
    GetCursorPos(&screen);
    menu.Popup(hwnd_, screen);
}

// ---------------------------------------------------------------- data-file list

int frmShadow::FindEntry(const std::wstring& path) const {
    std::wstring upper = Text::UpperCase(path);
    for (int e = 1; e <= TreeView2.Count(); ++e)
        if (Text::UpperCase(TreeView2.Text(e)) == upper) return e;
    return 0;
}

int frmShadow::AddOrSelectEntry(const std::wstring& path) {
    int e = FindEntry(path);
    if (!e) e = TreeView2.Add(0, path, path, 5, 5);
    if (e) TreeView2.Select(e);
    return e;
}

void frmShadow::TreeView2_NodeClick(int node) {
    if (!node || TreeView2.FullPath(node) == CurrentDataFilePath) return;
    ShowDataFileEntry(node);
}

void frmShadow::ShowDataFileEntry(int node) {
    if (!node) return;
    ::Form2& main = Forms::Form2();
    for (const wchar_t* key : {ToolbarKey::open, ToolbarKey::tjlb, ToolbarKey::del, ToolbarKey::find}) main.Toolbar1.SetEnabled(key, false);
    Shownode(TreeView2.Text(node), TipFile::DataSection);
    main.Toolbar1.SetEnabled(ToolbarKey::scj, false);
    ShowItem();
    main.SetCaption(App::Title() + L" - " + TreeView2.Text(node));
    CurrentCategoryPath.clear();
    CurrentDataFilePath = TreeView2.FullPath(node);
    FitColumnsWhenRows();
}

void frmShadow::TreeView2_MouseUp(int button, POINT pt) {
    if (button != 2 || !TreeView2.HitTest(pt)) return;
    PopupMenu& menu = Forms::Form2().file;
    for (const wchar_t* key : {L"lbscj", L"lbscj2", L"cmm", L"cmm2", L"cut", L"copy", L"del", L"d3", L"she1",
                               L"shezhi"})
        menu.SetVisible(key, false);
    POINT screen;
    GetCursorPos(&screen);
    menu.Popup(hwnd_, screen);
}

// ---------------------------------------------------------------- files from outside

void frmShadow::Form_OLEDragDrop(const std::vector<std::wstring>& paths) { Drop(paths, false); }
void frmShadow::TreeView2_OLEDragDrop(const std::vector<std::wstring>& paths) { Drop(paths, true); }

void frmShadow::Drop(const std::vector<std::wstring>& paths, bool ontoList) {
    ::Form2& main = Forms::Form2();
    std::vector<Refusal> refused;
    for (const auto& path : paths) {
        if (!EndsWithUpd(path)) continue;
        if (std::wstring real; Unnameable(path, real)) {
            refused.emplace_back(real, kNotInCodePage);
            continue;
        }
        int e = AddOrSelectEntry(path);
        CurrentCategoryPath.clear();
        if (e) CurrentDataFilePath = TreeView2.FullPath(e);
    }
    for (const wchar_t* key : {ToolbarKey::open, ToolbarKey::del, ToolbarKey::tjlb, ToolbarKey::find}) main.Toolbar1.SetEnabled(key, false);
    if (int e = TreeView2.SelectedItem()) {
        Shownode(TreeView2.Text(e), TipFile::DataSection);
        main.SetCaption(App::Title() + L" - " + TreeView2.Text(e));
    }
    if (ontoList) main.Toolbar1.SetEnabled(ToolbarKey::scj, false);
    ShowItem();
    if (TreeView2.Count() == 0) {
        EnterNoDataFileState();
        if (Hooks().ClearLiveValues) Hooks().ClearLiveValues();
        if (Hooks().SetLiveKeyFlag) Hooks().SetLiveKeyFlag(L"no");
    } else {
        CurrentDataFilePath = TreeView2.FullPath(TreeView2.SelectedItem());
        FitColumnsWhenRows();
    }
    CurrentCategoryPath.clear();
    SetFileCommands();
    bool any = TreeView2.Count() > 0;
    SetPropertiesButton(L"xj", any);
    SetPropertiesButton(L"next", any);
    ReportRefused(refused);
    TreeView2.SetFocus();
}

namespace {
// The words of a command line: blank-separated; a word that starts with a double
// quote runs to the next double quote and may hold blanks (the quotes are not part
// of it). Empty words between two blanks are dropped.
std::vector<std::wstring> CommandWords(const std::wstring& list) {
    std::vector<std::wstring> words;
    size_t i = 0;
    while (i < list.size()) {
        if (list[i] == L' ') {
            ++i;
            continue;
        }
        if (list[i] == L'"') {
            size_t close = list.find(L'"', i + 1);
            if (close == std::wstring::npos) close = list.size();
            words.push_back(list.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        size_t end = list.find(L' ', i);
        if (end == std::wstring::npos) end = list.size();
        words.push_back(list.substr(i, end - i));
        i = end;
    }
    return words;
}
}  // namespace

int frmShadow::OpenCmdFiles(const std::wstring& list) {
    ::Form2& main = Forms::Form2();
    main.Toolbar1.SetEnabled(ToolbarKey::tjlb, false);
    int opened = 0;
    std::vector<Refusal> refused;
    for (const auto& word : CommandWords(list)) {
        // A name the code page cannot hold (the file's or a folder's on the way,
        // also behind a short name) would be read and written as another name.
        if (std::wstring real; Unnameable(word, real)) {
            refused.emplace_back(real, kNotInCodePage);
            continue;
        }
        std::wstring candidate = App::LongPath(word);
        if (!EndsWithUpd(candidate)) continue;
        int e = AddOrSelectEntry(candidate);
        if (!e) break;
        Shownode(TreeView2.Text(e), TipFile::DataSection);
        main.SetCaption(App::Title() + L" - " + TreeView2.Text(e));
        ++opened;
    }
    ReportRefused(refused);
    return opened;
}


// ---------------------------------------------------------------- layout, keys, splitter

void frmShadow::PlanLayout() {
    planning_ = true;
    Form_Resize();
    planning_ = false;
    FileListCollapsed = false;  // the load decides it as before
}

void frmShadow::Form_Resize() {
    if (!hwnd_) return;
    if (!planning_) NoteLaidOutSize();
    long long width = Width(), height = Height();
    long long inner = width - 120;
    if (height - picture1Top_ < 830) FileListCollapsed = true;
    long long toolbarHeight = Twips::FromPixelsY(Toolbar1.PreferredHeight());
    if (FileListCollapsed) {
        picture1Top_ = std::llabs(375 - height);
        treeView1Height_ = picture1Top_;
        toolbar1Top_ = picture1Top_ + 70;
    } else {
        treeView1Height_ = picture1Top_;
        toolbar1Top_ = picture1Top_ + 70;
        treeView2Top_ = toolbar1Top_ + toolbarHeight + 20;
        treeView2Height_ = height - treeView2Top_ - 340;
    }
    auto px = [](long long t) { return Twips::ToPixelsX(t); };
    auto py = [](long long t) { return Twips::ToPixelsY(t); };
    TreeView1.Move(0, 0, px(inner), py(treeView1Height_));
    Picture1.Move(0, py(picture1Top_), px(inner), py(60));
    Toolbar1.Move(px(15), py(toolbar1Top_), px(1665), Toolbar1.PreferredHeight());
    TreeView2.Move(0, py(treeView2Top_), px(inner), py(treeView2Height_));
}

void frmShadow::SplitterDragEnded() {
    if (picture1Top_ >= 200) {
        TreeView1.SetVisible(true);
    } else {
        TreeView1.SetVisible(false);
        picture1Top_ = 0;
    }
    long long height = Height();
    if (height - picture1Top_ >= 830) {
        TreeView2.SetVisible(true);
        FileListCollapsed = false;
    } else {
        TreeView2.SetVisible(false);
        picture1Top_ = std::llabs(375 - height);
        FileListCollapsed = true;
    }
    Form_Resize();
    if (TreeView1.Visible()) TreeView1.SetFocus();
}

void frmShadow::Form_KeyDown(int keyCode, int shift) {
    ::Form2& main = Forms::Form2();
    ListView& list = main.ListView1;
    switch (keyCode) {
    case VK_F1:
        main.StartHelpViewer();
        return;
    case VK_F5:
        if (main.Toolbar1.Enabled(ToolbarKey::kStartPosition) && Hooks().StartWork) Hooks().StartWork();
        return;
    case 'V':
        if (shift == 2 && main.Toolbar1.Enabled(ToolbarKey::paste) && Hooks().Pasteok) Hooks().Pasteok();
        return;
    case VK_F3:
        // Ticks as the tip list's tick-all does (the same reading of [Data] Choice).
        if (main.Toolbar1.Enabled(ToolbarKey::xuan)) main.all_Click();
        return;
    case VK_F4:
        if (main.Toolbar1.Enabled(ToolbarKey::xuan))
            for (int r = 1; r <= list.Count(); ++r) list.SetChecked(r, false);
        return;
    case 'A':
        if (shift == 2)
            for (int r = 1; r <= list.Count(); ++r) list.SetSelected(r, true);
        return;
    case VK_F2:
        if (Hooks().Closejqsx) Hooks().Closejqsx();
        return;
    case 'F':
        if (shift == 2 && main.Toolbar1.Enabled(ToolbarKey::find)) Library::OpenFindWindow();
        return;
    default:
        return;
    }
}

LRESULT CALLBACK frmShadow::ChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<frmShadow*>(ref);
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Key preview: the window sees the key first; the control still gets it.
        self->Form_KeyDown(static_cast<int>(wp), App::ShiftState());
        break;
    case WM_DROPFILES:
        if (h == self->TreeView2.hwnd()) {
            auto drop = reinterpret_cast<HDROP>(wp);
            std::vector<std::wstring> paths = DroppedPaths(drop);
            DragFinish(drop);
            self->TreeView2_OLEDragDrop(paths);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        Subclass::Remove(h, &frmShadow::ChildProc, 1);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}

LRESULT frmShadow::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        // Made during the start-up, the window is laid out when it shows,
        // once, at the size it has then (the start-up sizes it more than once).
        if ((IsWindowVisible(hwnd_) || !MainWindowStarting()) && SizeChangedSinceLayout()) Form_Resize();
        return 0;
    case WM_SHOWWINDOW:
        if (wp && SizeChangedSinceLayout()) Form_Resize();
        return Default(msg, wp, lp);
    case WM_KEYDOWN:
        Form_KeyDown(static_cast<int>(wp), App::ShiftState());
        return 0;
    case WM_DROPFILES: {
        auto drop = reinterpret_cast<HDROP>(wp);
        std::vector<std::wstring> paths = DroppedPaths(drop);
        DragFinish(drop);
        Form_OLEDragDrop(paths);
        return 0;
    }
    case WM_BARDOWN:
        if (wp & MK_LBUTTON)
            FileListSplitter.SplitterMouseDown(hwnd_, static_cast<short>(LOWORD(lp)), 0, 1, 1, 0, 0, 0, 0);
        return 0;
    case WM_MOUSEMOVE:
        FileListSplitter.SplitterFormMouseMove(0, 0, 1, 1);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (FileListSplitter.SplitterFormMouseUp(0, 0)) SplitterDragEnded();
        return 0;
    case WM_CAPTURECHANGED:
        FileListSplitter.CaptureLost();
        return 0;
    case WM_CLOSE:
        return 0;  // the main window unloads this window
    case WM_DESTROY:
        if (!unloading_) {
            unloading_ = true;
            SaveResult saved = SaveUnload();
            if (ReportSaveFailures) ReportSave(saved);
        }
        return 0;
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

namespace Forms {
::frmShadow& frmShadow() { return Loaded<::frmShadow>(); }
::frmShadow* frmShadowIfLoaded() { return IfLoaded<::frmShadow>(); }
void UnloadFrmShadow() {
    if (::frmShadow* form = frmShadowIfLoaded()) form->Unload();
}
}  // namespace Forms
