// The favourites organiser page of the multi-page dialog: the category
// favourites (section Favorite of config.ini) as the main window's `viewscj`
// menu lists them, to delete some or all of them.
#include "common/Config.h"
#include "dialogs/Form4.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/Twips.h"

#include <commctrl.h>

namespace {
const wchar_t kFavouritesCaption[] = L"整理类别收藏夹";


int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }
}  // namespace

void Form4::OpenFavouritesPage() {
    if (!Load()) return;
    if (!Command15.Exists()) {
        Command15.Create(hwnd_, IdCommand15, L"删除(&D)", false);
        Command16.Create(hwnd_, IdCommand16, L"全部删除(&C)", false);
        Command17.Create(hwnd_, IdCommand17, L"关闭(&C)", false);
        Command15.Click = [this] { Command15_Click(); };
        Command16.Click = [this] { Command16_Click(); };
        Command17.Click = [this] { Command17_Click(); };
        for (Control* c : std::initializer_list<Control*>{&Command15, &Command16, &Command17})
            AddToPage(*c, FavouritesPage);
        // The container Picture6 stays hidden on this page: it holds nothing of its
        // own here, and shown it is drawn over the list and the buttons.
        JoinPages(FavouritesPage, {&Frame6, &ListView1});
    }
    ShowPage(FavouritesPage);

    // Geometry in twips; the list lies in the frame.
    Frame6.Move(X(105), Y(15), X(3165), Y(3480));
    ListView1.Move(X(105 + 90), Y(15 + 135), X(2985), Y(3255));
    Command15.Move(X(3405), Y(225), X(1200), Y(300));
    Command16.Move(X(3405), Y(690), X(1200), Y(300));
    Command17.Move(X(3405), Y(2925), X(1200), Y(300));
    SetWindowPos(ListView1.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWidth(4845);
    SetHeight(3960);

    // One column 名称, one row per favourite, several rows selectable.
    ListView1.Clear();
    ListView1.SetView(LV_VIEW_DETAILS);
    ListView1.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<wchar_t*>(L"名称");
    SendMessageW(ListView1.hwnd(), LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (const MenuItem& item : Forms::Form2().Toolbar1.ButtonMenus(ToolbarKey::viewscj).Items)
        ListView1.Add(item.text);
    const bool rows = ListView1.Count() > 0;
    Command15.SetEnabled(rows);
    Command16.SetEnabled(rows);
    SetCancelButton(&Command17);
    Form2::AutoSizeTipColumns(ListView1, -1);
    SetCaption(kFavouritesCaption);
    ListView1.SetFocus();
    ShowModal();
}

void Form4::Command15_Click() {
    // The entries that could not be deleted keep their rows (and stay in the file).
    int failed = 0;
    for (int r = ListView1.Count(); r >= 1; --r) {
        if (!ListView1.Selected(r)) continue;
        if (Config::DeleteEntry(Config::FavoriteSection, ListView1.Text(r))) ListView1.Remove(r);
        else ++failed;
    }
    const bool rows = ListView1.Count() > 0;
    Command15.SetEnabled(rows);
    Command16.SetEnabled(rows);
    if (failed > 0)
        App::MsgBox(L"有 " + std::to_wstring(failed) +
                        L" 个类别收藏未能删除，config.ini 可能是只读的，或已被其它程序打开。",
                    MB_OK | MB_ICONERROR);
}

void Form4::Command16_Click() {
    if (App::MsgBox(L"你确定要清空类别收藏夹的收藏内容吗？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    if (!Config::DeleteSection(Config::FavoriteSection)) {
        App::MsgBox(L"清空类别收藏夹失败，config.ini 可能是只读的，或已被其它程序打开。", MB_OK | MB_ICONERROR);
        return;
    }
    ListView1.Clear();
    Command15.SetEnabled(false);
    Command16.SetEnabled(false);
}

void Form4::Command17_Click() { Close(); }
