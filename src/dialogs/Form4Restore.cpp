// The restore page of the multi-page dialog: lists the day files of the Bak
// folder, writes a day's records back into the registry, deletes day files.
#include "dialogs/Form4.h"
#include "engine/Backup.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "platform/Twips.h"
#include "platform/WaitCursor.h"

#include <vector>

namespace {
const wchar_t kRestoreCaption[] = L"恢复窗口";

int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

bool EndsWithBak(const std::wstring& name) {
    return name.size() > 4 && Text::EqualNoCase(std::wstring_view(name).substr(name.size() - 4), L".bak");
}
}  // namespace

void Form4::OpenRestorePage() {
    if (!Load()) return;
    ShowPage(RestorePage);
    Picture6.Move(0, 0, X(5505), Y(4005));
    Frame6.Move(X(75), Y(810), X(5280), Y(2295));
    ListView1.Move(X(75 + 90), Y(810 + 120), X(3570), Y(2085));
    Command22.Move(X(75 + 3780), Y(810 + 240), X(1335), Y(375));
    Command23.Move(X(75 + 3780), Y(810 + 720), X(1335), Y(375));
    Command24.Move(X(75 + 3780), Y(810 + 1200), X(1335), Y(375));
    SetWidth(5505);
    SetHeight(3540);
    ListView1.SetView(LV_VIEW_ICON);

    // The day files, sub-folders and names starting with "." left out; a name
    // must really end in ".bak" (the short-name match lets "x.bakup" through).
    ListView1.Clear();
    for (const std::wstring& name : App::ListFiles(Backup::Folder(), L"*.bak")) {
        if (name.empty() || name[0] == L'.' || !EndsWithBak(name)) continue;
        ListView1.Add(name.substr(0, name.size() - 4), 6);
    }
    ListView1.Sort(1, false);

    // The header text in one line before the picture, at the title's left.
    Label29.Move(X(240), Y(450), X(4380), Y(255));
    Image8.SetVisible(false);
    SetBannerPictures(0, 34);
    SetCaption(kRestoreCaption);
    Label28.SetCaption(L"使用恢复文件进行还原");
    Label29.SetCaption(L"使用后将会把恢复文件日期的最后一次操作的数据还原");

    SetDefaultButton(&Command22);
    SetCancelButton(&Command24);
    const bool rows = ListView1.Count() > 0;
    Command22.SetEnabled(rows);
    Command23.SetEnabled(rows);
    if (rows) ListView1.SetSelectedItem(1);
    ListView1.SetFocus();
    ShowModal();
}

void Form4::Command22_Click() {
    // No selected row: nothing is restored and nothing is asked.
    int row = 0;
    for (int i = 1; i <= ListView1.Count() && !row; ++i)
        if (ListView1.Selected(i)) row = i;
    if (!row) return;
    if (App::MsgBox(L"您确定要使用选定的恢复文件进行还原吗？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    Backup::DayCounts counts;
    {
        WaitCursor wait;
        // The registry writes of a restore show nothing.
        ::Form2& main = Forms::Form2();
        main.WriteMode = WriteModes::Bak;
        // The main window's progress bar follows the restore as it follows an
        // apply run, a few times a second.
        ProgressBar& bar = main.ProgressBar1;
        bool shown = false;
        ULONGLONG lastDrawn = 0;
        counts = Backup::RestoreDay(Backup::DayFile(ListView1.Text(row)), [&](int done, int total) {
            const ULONGLONG now = GetTickCount64();
            if (shown && now - lastDrawn < 250 && done < total) return;
            if (!shown) {
                bar.SetRange(0, total);
                bar.SetVisible(true);
                shown = true;
            }
            bar.SetValue(done);
            UpdateWindow(bar.hwnd());
            lastDrawn = now;
        });
        if (shown) bar.SetVisible(false);
        main.WriteMode = WriteModes::None;
    }
    if (counts.missing) {
        App::MsgBox(L"恢复文件“" + ListView1.Text(row) + L".bak”已不存在，没有还原任何数据。",
                    MB_OK | MB_ICONERROR);
    } else if (counts.unreadable) {
        App::MsgBox(L"无法读取恢复文件“" + ListView1.Text(row) +
                        L".bak”：文件已被其它程序打开，或者没有读取权限。没有还原任何数据，恢复文件没有改变。",
                    MB_OK | MB_ICONERROR);
    } else if (counts.restored == 0 && counts.notRestored == 0) {
        App::MsgBox(L"恢复文件“" + ListView1.Text(row) + L".bak”中没有任何数据，没有还原任何数据。",
                    MB_OK | MB_ICONERROR);
    } else if (counts.notRestored == 0) {
        App::MsgBox(L"还原完成。", MB_OK | MB_ICONEXCLAMATION);
    } else {
        App::MsgBox(L"还原未全部完成：有 " + Text::FromInt(counts.notRestored) + L" 项数据没有还原。",
                    MB_OK | MB_ICONERROR);
    }
}

void Form4::Command23_Click() {
    if (App::MsgBox(L"你确定要将选定的恢复文件删除吗？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    std::vector<int> selected;
    for (int i = 1; i <= ListView1.Count(); ++i)
        if (ListView1.Selected(i)) selected.push_back(i);
    // The first file that cannot be deleted ends the command; the rows of the
    // files deleted before it leave the list, the others stay.
    size_t done = 0;
    for (; done < selected.size(); ++done) {
        const std::wstring path = Backup::DayFile(ListView1.Text(selected[done]));
        if (!App::RemoveFile(path) && App::FileExists(path)) break;
    }
    const bool failed = done < selected.size();
    for (size_t k = done; k < selected.size(); ++k) ListView1.SetSelected(selected[k], false);
    DelItmx(ListView1);
    const bool rows = ListView1.Count() > 0;
    Command22.SetEnabled(rows);
    Command23.SetEnabled(rows);
    if (failed) App::MsgBox(L"删除指定的恢复文件失败。", MB_OK | MB_ICONERROR);
}

void Form4::Command24_Click() { Close(); }
