// Applying the ticked tips of the tip list, and how the results of registry
// writes are shown (WriteMode).
#include "common/Config.h"
#include "common/Ini.h"
#include "common/TipRow.h"
#include "engine/Apply.h"
#include "engine/General.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"


namespace {
// Milliseconds between two looks of the screen at a running apply.
constexpr ULONGLONG kLookInterval = 250;
}  // namespace

void Form2::StartWork() {
    const int count = ListView1.Count();
    bool anyTicked = false;
    for (int i = 1; i <= count && !anyTicked; ++i) anyTicked = ListView1.Checked(i);
    if (!anyTicked) {
        App::MsgBox(L"请勾选要使用的技巧，然后再使用本命令。", MB_OK | MB_ICONERROR);
        return;
    }
    if (Config::On(Config::Start) && App::MsgBox(L"是否现在开始使用技巧？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    WriteMode = WriteModes::Apply;
    applying_ = true;
    runCategory_.reset();
    // The settings of the run, read once: a change made meanwhile counts from the next run.
    const bool saveHistory = Config::On(Config::SaveHistory);
    runSaveLog_ = Config::On(Config::SaveLog);
    HCURSOR oldCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ProgressBar1.SetRange(0, count);
    ProgressBar1.SetVisible(true);
    ProgressBar1.SetFocus();

    int lostBackups = 0;
    {
        // Backup records and log entries of the run are appended to their files
        // where the files allow it; each is on disk before the next row. The
        // day's backup file is read once for the run.
        Ini::AppendSession appendSession;
        std::optional<std::wstring> backupSection;
        if (saveHistory) backupSection = ReportCategoryPath();
        // The screen follows the run a few times a second: the progress bar and
        // the rows recoloured since the last look are drawn, nothing else. Each
        // look paints the list (tens of milliseconds under some systems), so
        // the looks are a quarter of a second apart.
        ULONGLONG lastDrawn = GetTickCount64();
        ListView1.NoteRecolouredRows(true);
        int lastApplied = 0;
        for (int i = 1; i <= count; ++i) {
            if (!ListView1.Checked(i)) continue;
            Label1.Tag = Text::FromInt(i);
            lastApplied = i;

            const Apply::Outcome outcome = Apply::ApplyTip(Apply::FromRow(TipRow::ReadRow(ListView1, i)), backupSection);
            // A row of an unknown TypeCode wrote nothing and keeps its colour.
            if (outcome.write != Apply::WriteResult::Nothing) ReportWrite(outcome.write == Apply::WriteResult::Done);
            if (outcome.backup == Apply::BackupResult::Lost) ++lostBackups;
            if (ULONGLONG now = GetTickCount64(); now - lastDrawn >= kLookInterval) {
                ProgressBar1.SetValue(i);
                ListView1.DrawNoted();
                UpdateWindow(ProgressBar1.hwnd());
                UpdateWindow(ListView1.hwnd());
                lastDrawn = now;
            }
        }
        ListView1.NoteRecolouredRows(false);
        // The bar ends at the last row applied.
        ProgressBar1.SetValue(lastApplied);
    }

    StatusBar1.SetPanelText(3, L"技巧使用完成");
    ProgressBar1.SetVisible(false);
    // The progress bar held the keyboard focus: the tip list takes it back.
    ListView1.SetFocus();
    SetCursor(oldCursor ? oldCursor : LoadCursorW(nullptr, IDC_ARROW));
    WriteMode = WriteModes::None;
    applying_ = false;
    runCategory_.reset();
    if (lostBackups > 0)
        App::MsgBox(L"有 " + Text::FromInt(lostBackups) + L" 个技巧已经使用，但原来的数据没能写入恢复文件，无法用恢复文件还原。",
                    MB_OK | MB_ICONERROR);
    TellLostLogEntries();
}

std::wstring Form2::ReportCategoryPath() {
    if (!applying_) return Forms::frmShadow().SelectedCategoryPath();
    if (!runCategory_) runCategory_ = Forms::frmShadow().SelectedCategoryPath();
    return *runCategory_;
}

void Form2::ReportApplied(bool success) {
    long long row = Text::LeadingNumber(Label1.Tag);
    if (row < 1 || row > ListView1.Count()) return;  // no row to colour or name
    const int index = static_cast<int>(row);
    ListView1.SetForeColor(index, success ? kAppliedColor : kFailedColor);
    if (!(applying_ ? runSaveLog_ : Config::On(Config::SaveLog))) return;
    const std::wstring name = ListView1.Text(index);
    const std::wstring key = success ? L"【使用成功】【" + name + L"】" : L"〖使用失败〗〖" + name + L"〗";
    // A log entry that cannot be written is lost; the loss is told once in a
    // run of the program (at the end of an apply run, for the whole run).
    if (Ini::Write(App::PathSlash() + L"logfile.txt", App::DateText(), key, ReportCategoryPath())) return;
    ++logLost_;
    if (!applying_) TellLostLogEntries();
}

void Form2::TellLostLogEntries() {
    const int lost = logLost_;
    logLost_ = 0;
    if (lost == 0 || logFailureTold_) return;
    logFailureTold_ = true;
    App::MsgBox(L"有 " + Text::FromInt(lost) + L" 条使用记录未能写入日志文件“" + App::PathSlash() +
                    L"logfile.txt”：文件可能是只读的，或已被其它程序打开。本次运行中不再提示。",
                MB_OK | MB_ICONERROR);
}

void Form2::ReportWrite(bool success) {
    switch (WriteMode) {
    case WriteModes::Apply:
        ReportApplied(success);
        break;
    case WriteModes::Reg:
        if (!success) App::MsgBox(L"不存在这个名称的键值，导致修改失败", MB_OK | MB_ICONERROR);
        break;
    case WriteModes::Bak:
    case WriteModes::None:
        break;
    }
}
