// The main window's start-up: Form_Load and what it calls.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/ColumnHelpers.h"
#include "mainwindow/Form2.h"
#include "mainwindow/Icons.h"
#include "mainwindow/Resize.h"
#include "mainwindow/Settings.h"
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
    {L"start", 13}, {L"open", 14}, {L"daochu", 12}, {L"tjlb", 11}, {L"del", 16},  {L"del2", 6},
    {L"scj", 15},   {L"cut", 26},  {L"copy", 25},   {L"paste", 27}, {L"find", 30}, {L"xuan", 7},
    {L"xiao", 8},   {L"viewok", 17}, {L"viewscj", 31}, {L"viewhf", 34}, {L"cklj", 20}, {L"set", 18},
    {L"log", 28},   {L"help", 19}, {L"about", 10},  {L"web", 22},  {L"email", 23}, {L"exit", 9},
};

void FillImageList(ImageList& list, int size, int count) {
    list.Create(size, size);
    for (int n = 1; n <= count; ++n) {
        HICON icon = Icons::Create(n, size);
        if (icon) {
            list.SetIcon(n, icon);
            DestroyIcon(icon);
        } else {
            list.SetIcon(n, nullptr);
        }
    }
}
}  // namespace

void Form2::SetImages() {
    FillImageList(ImageList1, 16, Icons::kLastNumber);
    ImageList2.Create(32, 32);
    // Large icons: 1 the registry page, 2 the registry cubes. A row holds one
    // image number for both sizes, and a data-file row's number is 29 (its small
    // icon): the cubes stand there too.
    for (int n : {1, 2, 29}) {
        HICON icon = Icons::Create(n == 1 ? 1 : 29, 32);
        ImageList2.SetIcon(n, icon);
        if (icon) DestroyIcon(icon);
    }
    Toolbar1.SetImageList(ImageList1.handle());
    for (const auto& b : kButtonImages) Toolbar1.SetImage(b.key, b.image);
    ListView1.SetImageLists(ImageList2.handle(), ImageList1.handle());
    if (HICON refresh = Icons::Create(Icons::kRefresh, 16)) {
        // The status bar shows the icon but does not own it: it goes with the window.
        SendMessageW(StatusBar1.hwnd(), SB_SETICON, 1, reinterpret_cast<LPARAM>(refresh));
        if (refreshIcon_) DestroyIcon(refreshIcon_);
        refreshIcon_ = refresh;
    }
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
    // 6. Minimum size of the main window.
    Resize::InstallMainMinSize(hwnd_);
    // 9. The title.
    SetCaption(App::Title());
    // 10. The data folder.
    dataFreshlyInitialised_ = false;
    Updata();
    // 11. Default settings for a new settings file.
    if (!Settings::FileExists()) Saveini();
    // 12. The upgrade notice, once, on a start that found the data folder present.
    if (!dataFreshlyInitialised_ && Settings::IsEmpty(L"OldUpdate")) {
        const std::wstring gap = L"\r\n\r\n";
        App::MsgBox(L"亲爱的用户，在您的支持下Quorix升级到了3.0版本！" + gap +
                        L"新的版本具有更强大的功能和稳定性，希望您使用愉快！" + gap +
                        L"同时，我们新增了大量的技巧，请老用户们打开“" + App::PathSlash() + L"Updfile" +
                        L"”目录下的技巧数据文件进行升级。" + gap + L"再次感谢您的支持！",
                    MB_OK);
        Settings::Write(L"OldUpdate", L"1");
    }
    // 13. The properties-window switch.
    if (MenuItem* jqsx = Toolbar1.ButtonMenus(L"viewok").Item(L"jqsx"))
        jqsx->text = Settings::OnWhenOneOrEmpty(L"Form2Visible") ? kJqsxOn : kJqsxOff;
    // 14. The live-values switch.
    if (MenuItem* shezhi = file.Item(L"shezhi")) shezhi->checked = Settings::OnWhenOneOrEmpty(L"ViewCheck");
    // 15. The late defaults.
    if (Settings::IsEmpty(L"FileListHeight")) Settings::Write(L"FileListHeight", L"2600");
    if (Settings::IsEmpty(L"SaveHistory")) Settings::Write(L"SaveHistory", L"1");
    if (Settings::IsEmpty(L"Choice")) Settings::Write(L"Choice", L"1");
    // 16, 17. Images of the toolbar and the tip list.
    SetImages();
    // 18. Window linking and the satellites' geometry. Touching the category
    // window loads it.
    long long link = Settings::Whole(L"FormLink");
    if (link == 0 || link == 1) Toolbar1.SetPressed(L"cklj", link == 1);
    ::frmShadow& shadow = Forms::frmShadow();
    ::Form3& props = Forms::Form3();
    if (!WindowLink()) {
        Toolbar1.SetImage(L"cklj", 21);
        shadow.SetWidth(static_cast<long long>(Settings::Number(L"Width_2")));
        shadow.SetHeight(static_cast<long long>(Settings::Number(L"Height_2")));
        shadow.SetTop(static_cast<long long>(Settings::Number(L"Top_2")));
        shadow.SetLeft(static_cast<long long>(Settings::Number(L"Left_2")));
        props.SetWidth(static_cast<long long>(Settings::Number(L"Width_3")));
        props.SetHeight(static_cast<long long>(Settings::Number(L"Height_3")));
        props.SetTop(static_cast<long long>(Settings::Number(L"Top_3")));
        props.SetLeft(static_cast<long long>(Settings::Number(L"Left_3")));
    } else {
        shadow.SetWidth(static_cast<long long>(Settings::Number(L"Width_2")));
        props.SetWidth(static_cast<long long>(Settings::Number(L"Width_3")));
    }
    Forms::Form1();
    // 19. The main window's own geometry.
    SetLeft(static_cast<long long>(Settings::Number(L"Left_1")));
    SetTop(static_cast<long long>(Settings::Number(L"Top_1")));
    SetHeight(static_cast<long long>(Settings::Number(L"Height_1")));
    SetWidth(static_cast<long long>(Settings::Number(L"Width_1")));
    // 20. List style.
    ListView1.SetExtendedStyle(LVS_EX_TRACKSELECT, Settings::OnWhenNonzero(L"Listview_2") ? LVS_EX_TRACKSELECT : 0);
    ListView1.SetExtendedStyle(LVS_EX_GRIDLINES, Settings::OnWhenNonzero(L"Listview_1") ? LVS_EX_GRIDLINES : 0);
    ListView1.SetExtendedStyle(LVS_EX_FULLROWSELECT,
                               Settings::OnWhenNonzero(L"Listview_3") ? LVS_EX_FULLROWSELECT : 0);
    // 21. The properties window's tab (a tab that does not exist is refused).
    long long tab = static_cast<long long>(Settings::Number(L"Tabstrip"));
    if (tab >= 0 && tab < 100) props.TabStrip1.Select(static_cast<int>(tab) + 1);
    // 22. View mode and its mark.
    long long view = Settings::Whole(L"View");
    if (view >= 0 && view <= 3) SetView(static_cast<int>(view));
    MarkView(View());
    // 23. Column widths, only while automatic widths are off.
    if (Settings::Number(L"AutoWidth") == 0) {
        for (int c = 1; c <= 5; ++c) {
            double w = Settings::Number(L"ColumnHeader(" + std::to_wstring(c) + L")");
            General::SetHeaderWidth(ListView1, c, w > 0 ? Twips::ToPixelsX(static_cast<long long>(w)) : 0);
        }
    }
    // 24. Sort column.
    double sortColumn = Settings::Number(L"Compositor");
    if (sortColumn == 1 || sortColumn == 2 || sortColumn == 3 || sortColumn == 4 || sortColumn == 5)
        ComClick(static_cast<int>(sortColumn));
    // 25. The category-favourites menu.
    ViewFavorite();
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
        op.fFlags = FOF_FILESONLY | FOF_SIMPLEPROGRESS | FOF_NOERRORUI | FOF_NOCONFIRMMKDIR;
        ok = SHFileOperationA(&op) == 0 && !op.fAnyOperationsAborted;
        // The shell's answer is not the last word: every file must be there.
        for (const auto& name : names)
            if (ok && !App::FileExists(data + L"\\" + name)) ok = false;
    }
    if (!ok) App::MsgBox(failure, MB_OK | MB_ICONERROR);
}

void Form2::Saveini() {
    const long long screenW = static_cast<long long>(GetSystemMetrics(SM_CXSCREEN)) * Twips::PerPixelX();
    const long long screenH = static_cast<long long>(GetSystemMetrics(SM_CYSCREEN)) * Twips::PerPixelY();
    Settings::Write(L"Width_1", L"5595");
    Settings::Write(L"Height_1", L"4600");
    Settings::WriteMeasure(L"Top_1", static_cast<double>(screenH - Height()) / 2);
    Settings::WriteMeasure(L"Left_1", static_cast<double>(screenW - Width()) / 2);
    const std::pair<const wchar_t*, const wchar_t*> rest[] = {
        {L"Width_2", L"2300"},  {L"Height_2", L"3510"}, {L"Width_3", L"2300"}, {L"Height_3", L"3510"},
        {L"View", L"3"},        {L"Compositor", L"1"},  {L"FormLink", L"1"},   {L"AutoCheck", L"1"},
        {L"AutoWidth", L"1"},   {L"Listview_1", L"1"},  {L"Listview_2", L"0"}, {L"Listview_3", L"1"},
        {L"SaveLog", L"1"},     {L"SaveFile", L"1"},    {L"Tip", L"1"},        {L"Start", L"1"},
    };
    for (const auto& [key, value] : rest) Settings::Write(key, value);
}

void Form2::Form_Activate() {
    if (activatedOnce_) return;
    // The satellites become owned by the main window: above it, hidden and destroyed with it.
    for (HWND h : {Forms::Form3().hwnd(), Forms::frmShadow().hwnd(), Forms::Form1().hwnd()})
        if (h) SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd_));
    activatedOnce_ = true;
}

void Form2::ViewFavorite() {
    PopupMenu& menu = Toolbar1.ButtonMenus(L"viewscj");
    menu.Items.clear();
    for (const auto& key : Ini::Keys(Settings::Path(), L"Favorite")) menu.Add(L"scj" + key, key);
}
