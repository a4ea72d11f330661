// The main window's start-up: Form_Load and what it calls.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/modMenu.h"
#include "library/frmShadow.h"
#include "platform/Columns.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/Icons.h"
#include "platform/OnScreen.h"
#include "platform/Resize.h"
#include "common/Config.h"
#include "common/Ini.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <shellapi.h>

namespace {
// Toolbar images by button key (the other keys have none).
struct ButtonImage {
    const wchar_t* key;
    int image;
};
const ButtonImage kButtonImages[] = {
    {ToolbarKey::start, 13},  {ToolbarKey::open, 14},    {ToolbarKey::daochu, 12}, {ToolbarKey::tjlb, 11},
    {ToolbarKey::del, 16},    {ToolbarKey::del2, 6},     {ToolbarKey::scj, 15},    {ToolbarKey::cut, 26},
    {ToolbarKey::copy, 25},   {ToolbarKey::paste, 27},   {ToolbarKey::find, 30},   {ToolbarKey::xuan, 7},
    {ToolbarKey::xiao, 8},    {ToolbarKey::viewok, 17},  {ToolbarKey::viewscj, 31}, {ToolbarKey::viewhf, 34},
    {ToolbarKey::cklj, 20},   {ToolbarKey::set, 18},     {ToolbarKey::log, 28},    {ToolbarKey::help, 19},
    {ToolbarKey::about, 10},  {ToolbarKey::web, 22},     {ToolbarKey::email, 23},  {ToolbarKey::exit, 9},
};

// The list holds the pictures 1 to `count` at their numbers (a number without
// a picture is a blank image), added in one step.
void FillImageList(ImageList& list, int size, int count) {
    list.Create(size, size);
    std::vector<std::vector<DWORD>> pictures;
    pictures.reserve(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n) pictures.push_back(Icons::Argb(n, size));
    list.AddPictures(pictures);
}
}  // namespace

void Form2::SetImages() {
    FillImageList(ImageList1, 16, Icons::kLastNumber);
    ImageList2.Create(32, 32);
    // Large icons: 1 the registry page, 2 the registry cubes. A row holds one
    // image number for both sizes, and a data-file row's number is 29 (its small
    // icon): the cubes stand there too. The numbers between are blank.
    std::vector<std::vector<DWORD>> large(29);
    large[0] = Icons::Argb(1, 32);
    large[1] = Icons::Argb(29, 32);
    large[28] = large[1];
    ImageList2.AddPictures(large);
    Toolbar1.SetImageList(ImageList1.handle());
    for (const auto& b : kButtonImages) Toolbar1.SetImage(b.key, b.image);
    ListView1.SetImageLists(ImageList2.handle(), ImageList1.handle());
    if (HICON refresh = Icons::Create(Icons::kRefresh, 16)) {
        // The status bar shows the icon but does not own it: it goes with the window.
        SendMessageW(StatusBar1.hwnd(), SB_SETICON, 1, reinterpret_cast<LPARAM>(refresh));
        if (refreshIcon_) DestroyIcon(refreshIcon_);
        refreshIcon_ = refresh;
    }
    // The buttons' size changed with their pictures.
    layoutStale_ = true;
    LayoutControls();
}

void Form2::Form_Load() {
    // 1. The command line, read once by the category window's load step.
    ListView1.Tag = App::Command();
    // 2. A second instance ends at once: nothing read, written or shown.
    if (App::PrevInstance()) {
        endedAsSecond_ = true;
        return;
    }
    activatedOnce_ = false;
    Transfer::Clipboard().cut = false;
    // 6. Minimum size of the main window.
    Resize::InstallMainMinSize(hwnd_);
    // 7, 8. The menu-hover procedure, and the library's hooks into the real windows.
    modMenu::HookMenuSelect(hwnd_);
    modMenu::ValueMenuOpen = false;
    InstallLibraryHooks();
    // 9. The title.
    SetCaption(App::Title());
    // 10. The data folder.
    dataFreshlyInitialised_ = false;
    Updata();
    // Copies left by a run that ended before it replaced their files.
    Ini::RemoveStrayCopies(App::PathSlash());
    Ini::RemoveStrayCopies(App::PathSlash() + L"DATA");
    // 11. Default settings for a new settings file. The writes of steps 11, 12
    // and 15 that fail are reported once, after step 15.
    bool settingsWritten = true;
    const Config::FileState settings = Config::State();
    if (settings != Config::FileState::Good && settings != Config::FileState::Missing) ReportSettingsUnreadable(settings);
    if (settings == Config::FileState::Missing || settings == Config::FileState::Damaged) settingsWritten = Saveini();
    // 12. The upgrade notice, once, on a start that found the data folder present.
    const bool settingsRead = settings == Config::FileState::Good || settings == Config::FileState::Missing;
    if (!dataFreshlyInitialised_ && settingsRead && Config::IsEmpty(Config::OldUpdate)) {
        const std::wstring gap = L"\r\n\r\n";
        App::MsgBox(L"亲爱的用户，在您的支持下Quorix升级到了3.0版本！" + gap +
                        L"新的版本具有更强大的功能和稳定性，希望您使用愉快！" + gap +
                        L"同时，我们新增了大量的技巧，请老用户们打开“" + App::PathSlash() + L"Updfile" +
                        L"”目录下的技巧数据文件进行升级。" + gap + L"再次感谢您的支持！",
                    MB_OK);
        settingsWritten = Config::Write(Config::OldUpdate, L"1") && settingsWritten;
    }
    // 13. The properties-window switch.
    if (MenuItem* jqsx = Toolbar1.ButtonMenus(ToolbarKey::viewok).Item(L"jqsx"))
        jqsx->text = Config::On(Config::Form2Visible) ? kJqsxOn : kJqsxOff;
    // 14. The live-values switch.
    if (MenuItem* shezhi = file.Item(L"shezhi")) shezhi->checked = Config::On(Config::ViewCheck);
    // 15. The late defaults.
    for (const Config::Key* key : Config::All())
        if (key->when == Config::Default::WhenEmpty && Config::IsEmpty(*key))
            settingsWritten = Config::Write(*key, key->value) && settingsWritten;
    if (!settingsWritten) ReportSettingsNotWritten();
    // 16, 17. Images of the toolbar and the tip list.
    SetImages();
    // 18. Window linking and the satellites' geometry. Touching the category
    // window loads it.
    long long link = Config::Whole(Config::FormLink);
    if (link == 0 || link == 1) Toolbar1.SetPressed(ToolbarKey::cklj, link == 1);
    // The rows the category window's load gives the list go in at once in the
    // order of the saved sort column (the click on that column below finds no
    // header icon yet and keeps the direction the list starts with): no sort
    // runs over the filled list.
    const int savedSortColumn = SavedSortColumn();
    if (savedSortColumn) ListView1.Sort(savedSortColumn, sortOrder_ == 0);
    PlanSatelliteSizes();
    ::frmShadow& shadow = Forms::frmShadow();
    ::Form3& props = Forms::Form3();
    if (!WindowLink()) {
        Toolbar1.SetImage(ToolbarKey::cklj, 21);
        // Each window's width, height, top and left, set in one step.
        shadow.MoveTwips(static_cast<long long>(Config::Number(Config::Left_2)),
                         static_cast<long long>(Config::Number(Config::Top_2)),
                         static_cast<long long>(Config::Number(Config::Width_2)),
                         static_cast<long long>(Config::Number(Config::Height_2)));
        props.MoveTwips(static_cast<long long>(Config::Number(Config::Left_3)),
                        static_cast<long long>(Config::Number(Config::Top_3)),
                        static_cast<long long>(Config::Number(Config::Width_3)),
                        static_cast<long long>(Config::Number(Config::Height_3)));
        OnScreen::Keep(shadow.hwnd());
        OnScreen::Keep(props.hwnd());
    } else {
        shadow.SetWidth(static_cast<long long>(Config::Number(Config::Width_2)));
        props.SetWidth(static_cast<long long>(Config::Number(Config::Width_3)));
    }
    Forms::Form1();
    // 19. The main window's own geometry.
    // Left, top, height and width, set in one step.
    MoveTwips(static_cast<long long>(Config::Number(Config::Left_1)),
              static_cast<long long>(Config::Number(Config::Top_1)),
              static_cast<long long>(Config::Number(Config::Width_1)),
              static_cast<long long>(Config::Number(Config::Height_1)));
    OnScreen::Keep(hwnd_);
    // 20. List style, in one step.
    ListView1.SetExtendedStyle(LVS_EX_TRACKSELECT | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
                               (Config::On(Config::Listview_2) ? LVS_EX_TRACKSELECT : 0) |
                                   (Config::On(Config::Listview_1) ? LVS_EX_GRIDLINES : 0) |
                                   (Config::On(Config::Listview_3) ? LVS_EX_FULLROWSELECT : 0));
    // 21. The properties window's tab (a tab that does not exist is refused).
    long long tab = static_cast<long long>(Config::Number(Config::Tabstrip));
    if (tab >= 0 && tab < 100) props.SelectTab(static_cast<int>(tab) + 1);
    // 22. View mode and its mark.
    long long view = Config::Whole(Config::View);
    if (view >= 0 && view <= 3) SetView(static_cast<int>(view));
    MarkView(View());
    // 23. Column widths, only while automatic widths are off.
    if (Config::Number(Config::AutoWidth) == 0) {
        for (int c = 1; c <= 5; ++c) {
            double w = Config::Number(Config::ColumnHeader(c));
            Columns::SetHeaderWidth(ListView1, c, w > 0 ? Twips::ToPixelsX(static_cast<long long>(w)) : 0);
        }
    }
    // 24. Sort column. The load put the rows in in the order of the column
    // read before it (step 18): when the click keeps that order, it only marks
    // the header.
    if (const int sortColumn = SavedSortColumn()) ComClick(sortColumn, sortColumn == savedSortColumn);
    // 25. The category-favourites menu.
    ViewFavorite();
}

int Form2::SavedSortColumn() {
    const double sortColumn = Config::Number(Config::Compositor);
    if (sortColumn == 1 || sortColumn == 2 || sortColumn == 3 || sortColumn == 4 || sortColumn == 5)
        return static_cast<int>(sortColumn);
    return 0;
}

void Form2::Updata() {
    const std::wstring data = App::PathSlash() + L"Data";
    if (GetFileAttributesA(Text::ToAnsi(data).c_str()) != INVALID_FILE_ATTRIBUTES) return;
    const wchar_t* failure = L"技巧数据库初始化失败！这将导致软件在使用中发生严重错误。";
    dataFreshlyInitialised_ = true;
    if (!App::MakeFolder(data)) {
        App::MsgBox(failure, MB_OK | MB_ICONERROR);
        return;
    }
    // Only the files of Databak; sub-folders are not copied.
    std::vector<std::wstring> names = App::ListFiles(App::PathSlash() + L"Databak", L"*.*");
    bool ok = !names.empty();
    if (ok) {
        std::string from = Text::ToAnsi(App::PathSlash() + L"Databak\\*.*");
        from.append(2, '\0');
        std::string to = Text::ToAnsi(data);
        to.append(2, '\0');
        SHFILEOPSTRUCTA op{};
        op.hwnd = hwnd_;
        op.wFunc = FO_COPY;
        op.pFrom = from.c_str();
        op.pTo = to.c_str();
        // Files only, a simple progress box; the system's own questions and
        // error boxes stay (the user may need to answer them).
        op.fFlags = FOF_FILESONLY | FOF_SIMPLEPROGRESS;
        ok = SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
        // The shell's answer is not the last word: every file must be there.
        for (const auto& name : names)
            if (ok && !App::FileExists(data + L"\\" + name)) ok = false;
    }
    if (!ok) App::MsgBox(failure, MB_OK | MB_ICONERROR);
}

void Form2::ReportSettingsUnreadable(Config::FileState state) {
    const std::wstring file = L"“" + Config::Path() + L"”";
    std::wstring cause;
    if (state == Config::FileState::Folder) cause = L"无法读取设置文件" + file + L"：这是一个文件夹，不是设置文件。";
    else if (state == Config::FileState::Damaged) cause = L"设置文件" + file + L"已损坏，其中没有可以读取的设置。";
    else cause = L"无法读取设置文件" + file + L"：文件已被其它程序打开，或者没有读取权限。";
    App::MsgBox(cause + L"\r\n\r\nQuorix 将使用新设置文件的默认设置：应用技巧前询问、备份和日志都保持开启。",
                MB_OK | MB_ICONERROR);
    if (state != Config::FileState::Damaged) Config::MarkUnreadableTold();  // its writes fail for the same cause
}

void Form2::ReportSettingsNotWritten() {
    if (Config::UnreadableTold()) return;  // the start-up told the cause already
    App::MsgBox(L"无法把设置写入“" + Config::Path() +
                    L"”：文件可能是只读的，或正被其它程序使用。这些设置没有保存。",
                MB_OK | MB_ICONERROR);
}

bool Form2::Saveini() {
    const long long screenW = static_cast<long long>(GetSystemMetrics(SM_CXSCREEN)) * Twips::PerPixelX();
    const long long screenH = static_cast<long long>(GetSystemMetrics(SM_CYSCREEN)) * Twips::PerPixelY();
    // One write each, in table order; a write that fails does not stop the others.
    // They go to a copy that becomes config.ini when all are made.
    Ini::FileTransaction fresh(Config::Path());
    bool all = true;
    for (const Config::Key* key : Config::All()) {
        if (key->when != Config::Default::NewFile) continue;
        bool ok;
        if (key == &Config::Top_1)
            ok = Config::WriteMeasure(*key, static_cast<double>(screenH - Height()) / 2);
        else if (key == &Config::Left_1)
            ok = Config::WriteMeasure(*key, static_cast<double>(screenW - Width()) / 2);
        else
            ok = Config::Write(*key, key->value);
        all = ok && all;
    }
    return fresh.Commit() && all;
}

void Form2::Form_Activate() {
    if (activatedOnce_) return;
    // The satellites become owned by the main window: above it, hidden and destroyed with it.
    for (HWND h : {Forms::Form3().hwnd(), Forms::frmShadow().hwnd(), Forms::Form1().hwnd()})
        if (h) SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd_));
    activatedOnce_ = true;
}

void Form2::ViewFavorite() {
    PopupMenu& menu = Toolbar1.ButtonMenus(ToolbarKey::viewscj);
    menu.Items.clear();
    for (const auto& key : Config::KeysOf(Config::FavoriteSection)) menu.Add(L"scj" + key, key);
}
