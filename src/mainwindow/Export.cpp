// The exports of the tip list's selected tips: a tip data file, a registry file
// in either header, a text file and an HTML page. Each asks for its file with a
// fresh save dialog, builds the whole file from the selected rows (transfer/)
// and puts it in place of the chosen file only once it is completely written.
#include "common/Config.h"
#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipRow.h"
#include "dialogs/Form4.h"
#include "dialogs/cCommonDialog.h"
#include "library/Library.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "transfer/DataFileExport.h"
#include "transfer/DocExport.h"
#include "transfer/ExportFile.h"
#include "transfer/RegExport.h"
#include "platform/WaitCursor.h"

#include <string>
#include <vector>

namespace {

struct SaveQuestion {
    const wchar_t* title;
    const wchar_t* filter;
    const wchar_t* defaultExt;  // without the dot
};

// Asks for the file to write with a fresh save dialog, which asks before an
// existing file is replaced; its default extension makes that question cover
// the name the export writes to. Empty when the user cancelled.
std::wstring AskSaveName(HWND owner, const SaveQuestion& q) {
    cCommonDialog dialog;
    dialog.DialogTitle = q.title;
    dialog.CancelError = true;
    dialog.hwnd = owner;
    dialog.flags = OFN_OVERWRITEPROMPT;  // 2
    dialog.InitDir = App::CurrentFolder();
    dialog.Filter = q.filter;
    dialog.FilterIndex = 1;
    dialog.DefaultExt = q.defaultExt;
    dialog.ShowSave();
    return dialog.filename;
}

// The file an export writes: the chosen name, with the extension put after it
// when the name holds none. The dialog's question covered only the chosen name,
// so when the extension was put after it and that file exists, the user is
// asked before it is replaced. Empty when the user keeps the existing file.
std::wstring TargetFor(const std::wstring& chosen, std::wstring_view extension) {
    std::wstring target = ExportFile::TargetName(chosen, extension);
    if (target != chosen && App::FileExists(target) &&
        App::MsgBox(target + L" 已存在。\r\n要替换它吗？", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return {};
    return target;
}

// The selected rows of the tip list, in list order.
std::vector<TipRow::Cells> SelectedRows(const ListView& list) {
    std::vector<TipRow::Cells> rows;
    for (int i : list.SelectedRows()) rows.push_back(TipRow::ReadRow(list, i));
    return rows;
}

void Fail(const wchar_t* what) {
    App::MsgBox(std::wstring(L"发生未知错误，导致“") + what + L"”过程中断。", MB_OK | MB_ICONERROR);
}

// Text a tip data file can keep: one line in the code page, no field mark.
bool Keepable(const std::wstring& text) {
    return Ini::SafeValue(text) && Text::FitsAnsi(text) && text.find(Marks::FieldMark) == std::wstring::npos;
}

}  // namespace

void Form2::OpenExportPage() { Forms::Form4().OpenExportPage(); }

void Form2::SaveZY() {
    const wchar_t* const what = L"导出为技巧数据文件";
    try {
        // The description; text the file cannot keep is asked for again.
        std::wstring use;
        std::wstring typed;
        for (;;) {
            typed = App::InputBox(L"请输入对技巧数据文件的简短说明：", L"导出技巧数据文件", typed);
            use = Text::Trim(typed);
            if (use.empty()) return;
            if (Keepable(use)) break;
            App::MsgBox(L"说明中含有不能保存的字符（换行符、分隔符或系统编码不支持的字符），请重新输入。",
                        MB_OK | MB_ICONERROR);
        }
        const std::wstring chosen =
            AskSaveName(hwnd_, {L"导出为技巧数据文件", L"技巧数据文件 (*.upd)|*.upd", L"upd"});
        if (chosen.empty()) return;
        const std::wstring target = TargetFor(chosen, L".upd");
        if (target.empty()) return;

        bool written = false;
        {
            WaitCursor wait;
            // Everything is read before the target is touched: the rows, their
            // option lists from the shown section's mirror (also when the target
            // is the shown file), the file-information defaults.
            const std::vector<TipRow::Cells> rows = SelectedRows(ListView1);
            std::vector<std::wstring> options(rows.size());
            std::wstring file, section;
            if (!rows.empty() && Library::ListTarget(file, section))
                options = DataFileExport::OptionLists(file, section, rows);
            DataFileExport::FileInfo info{use, Config::Read(Config::Author), Config::Read(Config::Web),
                                          Config::Read(Config::Email), Config::Read(Config::Other)};
            written = DataFileExport::Write(target, rows, options, info);
        }
        if (!written) Fail(what);
    } catch (...) {
        Fail(what);
    }
}

void Form2::SaveReg(const std::wstring& strSj) {
    const wchar_t* const what = L"导出为注册表文件";
    try {
        const std::wstring chosen = AskSaveName(hwnd_, {L"导出为注册表文件", L"注册表文件 (*.reg)|*.reg", L"reg"});
        if (chosen.empty()) return;
        const std::wstring target = TargetFor(chosen, L".reg");
        if (target.empty()) return;
        RegExport::Document document;
        bool written = false;
        {
            WaitCursor wait;
            document = RegExport::Build(SelectedRows(ListView1), RegExport::HeaderFor(strSj));
            written = ExportFile::WriteWhole(target, document.bytes);
        }
        if (!written) Fail(what);
        else if (document.leftOut > 0) App::MsgBox(RegExport::LeftOutMessage(document.leftOut), MB_OK | MB_ICONERROR);
    } catch (...) {
        Fail(what);
    }
}

void Form2::SaveTxt() {
    const wchar_t* const what = L"导出为文本文件";
    try {
        const std::wstring chosen = AskSaveName(hwnd_, {L"导出为文本文件", L"文本文件 (*.txx)|*.txt", L"txt"});
        if (chosen.empty()) return;
        const std::wstring target = TargetFor(chosen, L".txt");
        if (target.empty()) return;
        bool written = false;
        {
            WaitCursor wait;
            written = ExportFile::WriteWhole(target, DocExport::BuildText(SelectedRows(ListView1)));
        }
        if (!written) Fail(what);
    } catch (...) {
        Fail(what);
    }
}

void Form2::Savehtml() {
    const wchar_t* const what = L"导出超文本文件";
    try {
        const std::wstring chosen = AskSaveName(hwnd_, {L"保存为超文本文件", L"超文本文件 (*.htm)|*.htm", L"htm"});
        if (chosen.empty()) return;
        const std::wstring target = TargetFor(chosen, L".htm");
        if (target.empty()) return;
        bool written = false;
        {
            WaitCursor wait;
            written = ExportFile::WriteWhole(target, DocExport::BuildHtml(SelectedRows(ListView1)));
        }
        if (!written) Fail(what);
    } catch (...) {
        Fail(what);
    }
}
