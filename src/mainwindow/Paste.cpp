// Copy, cut and paste of tips through the program's tip clipboard, and the
// import of a tip data file (toolbar `open`). The copying itself is the one
// transfer loop (transfer/Transfer); clashes are asked on the replace page.
#include "common/Config.h"
#include "common/TipFile.h"
#include "dialogs/Form4.h"
#include "dialogs/cCommonDialog.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "platform/WaitCursor.h"

#include <windows.h>

namespace {

void Critical(const std::wstring& text) { App::MsgBox(text, MB_OK | MB_ICONERROR); }

// Tells the user of the tips a transfer could not write, and of cut tips that
// stayed in their source.
void ReportUnwritten(const Transfer::Counts& c, const std::wstring& what) {
    std::wstring text;
    if (c.Unwritten() > 0) {
        text = what + L"未完成：有 " + Text::FromInt(c.Unwritten()) + L" 个技巧未能写入。";
        if (c.refused > 0) text += L"\r\n其中 " + Text::FromInt(c.refused) + L" 个技巧的名称或内容无法保存在技巧文件中。";
        if (c.unreadSource > 0)
            text += L"\r\n其中 " + Text::FromInt(c.unreadSource) + L" 个技巧的原文件无法读取，文件可能已被打开或被其它程序使用。";
        if (c.missing > 0) text += L"\r\n其中 " + Text::FromInt(c.missing) + L" 个技巧在原位置已不存在或为空。";
        if (c.unreadable > 0) text += L"\r\n其中 " + Text::FromInt(c.unreadable) + L" 个同名技巧的数据已损坏。";
        if (c.failed > 0) text += L"\r\n其中 " + Text::FromInt(c.failed) + L" 个技巧写入文件失败，文件可能已被打开或被其它程序使用。";
    }
    if (c.sourceKept > 0) {
        if (!text.empty()) text += L"\r\n";
        text += L"有 " + Text::FromInt(c.sourceKept) + L" 个剪切的技巧已经粘贴，但未能从原位置删除。";
    }
    if (!text.empty()) Critical(text);
}

std::vector<std::wstring> RowNames(const ListView& list) {
    std::vector<std::wstring> names;
    for (int r = 1, n = list.Count(); r <= n; ++r) names.push_back(list.Text(r));
    return names;
}

void ShowItemWhenHooked() {
    if (Library::Hooks().ShowItem) Library::Hooks().ShowItem();
}
}  // namespace

// ---------------------------------------------------------------- copy and cut

void Form2::copy_Click() { CopyOrCut(false); }
void Form2::cut_Click() { CopyOrCut(true); }
void Form2::paste_Click() { Pasteok(); }

void Form2::CopyOrCut(bool cut) {
    Transfer::TipClipboard& clip = Transfer::Clipboard();
    clip.names.clear();
    for (int r = 1, n = ListView1.Count(); r <= n; ++r) {
        const bool selected = ListView1.Selected(r);
        if (selected) clip.names.push_back(ListView1.Text(r));
        ListView1.SetGhosted(r, cut && selected);
    }
    Toolbar1.SetEnabled(ToolbarKey::paste, clip.HasNames());
    file.SetEnabled(L"paste", clip.HasNames());
    ::frmShadow& shadow = Forms::frmShadow();
    if (CategoryMode()) {
        const int node = shadow.TreeView1.SelectedItem();
        clip.sourceSection = node ? shadow.NodeSection(node) : std::wstring();
        clip.sourcePath = node ? shadow.TreeView1.FullPath(node) : std::wstring();
        clip.sourceFile = node ? shadow.TreeView1.NodeTag(node) : std::wstring();
    } else {
        const int entry = shadow.TreeView2.SelectedItem();
        clip.sourceSection = TipFile::DataSection;
        clip.sourcePath = entry ? shadow.TreeView2.FullPath(entry) : std::wstring();
        clip.sourceFile = entry ? shadow.TreeView2.Text(entry) : std::wstring();
    }
    clip.cut = cut;
}

// ---------------------------------------------------------------- paste

void Form2::Pasteok() {
    const Transfer::TipClipboard& clip = Transfer::Clipboard();
    ::frmShadow& shadow = Forms::frmShadow();
    const bool category = CategoryMode();
    const int node = category ? shadow.TreeView1.SelectedItem() : shadow.TreeView2.SelectedItem();
    if (!node) return;
    std::wstring targetFile, section;
    if (!Library::ListTarget(targetFile, section)) return;
    const std::wstring here = category ? shadow.TreeView1.FullPath(node) : shadow.TreeView2.FullPath(node);
    // Not into the node the tips came from; and a cut never onto its own
    // section, however that section was reached (each tip would be written
    // onto itself and then deleted).
    const bool sameNode = Text::EqualNoCase(clip.sourcePath, here);
    const bool ontoItself =
        clip.cut && Transfer::SameFile(clip.sourceFile, targetFile) && Text::EqualNoCase(clip.sourceSection, section);
    if (sameNode || ontoItself) {
        Critical(category ? L"不能在此类别执行粘贴操作。" : L"不能在此文件中执行粘贴操作。");
        return;
    }
    ReplaceAnswer = Transfer::ReplaceAnswer::Ask;
    TransferWrittenFlag = false;
    const std::vector<std::wstring> names = clip.names;
    const Transfer::Counts counts = category ? GetDword(names, clip.sourceSection, clip.sourceFile)
                                             : GetDwordTree(names, clip.sourceSection, clip.sourceFile);
    if (TransferWrittenFlag) {
        if (clip.cut) {
            Toolbar1.SetEnabled(ToolbarKey::paste, false);
            file.SetEnabled(L"paste", false);
        }
        shadow.Shownode(targetFile, section);
        if (category) ShowItemWhenHooked();
    }
    ReportUnwritten(counts, L"粘贴");
}

Transfer::Counts Form2::GetDword(const std::vector<std::wstring>& names, const std::wstring& sourceSection,
                                 const std::wstring& sourceFile) {
    return PasteInto(names, sourceSection, sourceFile, true);
}

Transfer::Counts Form2::GetDwordTree(const std::vector<std::wstring>& names, const std::wstring& sourceSection,
                                     const std::wstring& sourceFile) {
    return PasteInto(names, sourceSection, sourceFile, false);
}

Transfer::Counts Form2::PasteInto(const std::vector<std::wstring>& names, const std::wstring& sourceSection,
                                  const std::wstring& sourceFile, bool categoryTarget) {
    Transfer::Counts counts;
    ::frmShadow& shadow = Forms::frmShadow();
    Transfer::Target target;
    if (categoryTarget) {
        const int node = shadow.TreeView1.SelectedItem();
        if (!node) return counts;
        target.file = shadow.TreeView1.NodeTag(node);
        target.section = shadow.NodeSection(node);
    } else {
        const int entry = shadow.TreeView2.SelectedItem();
        if (!entry) return counts;
        target.file = shadow.TreeView2.Text(entry);
        target.section = TipFile::DataSection;
    }
    target.shownNames = RowNames(ListView1);
    Transfer::Source source;
    source.file = sourceFile;
    source.section = sourceSection;
    source.names = names;
    source.deleteAfterWrite = Transfer::Clipboard().cut;
    WaitCursor wait;
    counts = Transfer::Run(source, target, ReplaceAnswer, [this](Transfer::PendingTip& tip, int row) {
        Forms::Form4().OpenReplacePage(tip, ListView1, row);
    });
    if (counts.written > 0) TransferWrittenFlag = true;
    return counts;
}

// ---------------------------------------------------------------- import

Transfer::Counts Form2::Shownode(const std::wstring& Pathname, const std::wstring& strSj2, int node) {
    (void)strSj2;  // the target is the node the user confirmed, which names the same section
    Transfer::Counts counts;
    ::frmShadow& shadow = Forms::frmShadow();
    if (!node) return counts;
    Transfer::Target target;
    target.file = shadow.TreeView1.NodeTag(node);
    target.section = shadow.NodeSection(node);
    target.shownNames = RowNames(ListView1);
    Transfer::Source source;
    source.file = Pathname;
    source.section = TipFile::DataSection;
    source.allKeys = true;
    source.deleteAfterWrite = false;  // an import never deletes anything
    WaitCursor wait;
    counts = Transfer::Run(source, target, ReplaceAnswer, [this](Transfer::PendingTip& tip, int row) {
        Forms::Form4().OpenReplacePage(tip, ListView1, row);
    });
    if (counts.written > 0) TransferWrittenFlag = true;
    return counts;
}

void Form2::open_Click() {
    ::frmShadow& shadow = Forms::frmShadow();
    std::wstring path;
    {
        cCommonDialog dialog;
        dialog.DialogTitle = L"请选择要导入的文件";
        dialog.CancelError = true;
        dialog.hwnd = hwnd_;
        dialog.flags = 0x1800;  // the path and the file must exist
        dialog.InitDir = App::CurrentFolder();
        dialog.Filter = L"技巧数据文件 (*.upd)|*.upd";
        dialog.FilterIndex = 1;
        dialog.ShowOpen();
        path = dialog.filename;
    }
    if (path.empty()) return;
    ReplaceAnswer = Transfer::ReplaceAnswer::Ask;
    TransferWrittenFlag = false;
    const int node = shadow.TreeView1.SelectedItem();
    if (!node) return;
    const bool category = shadow.TreeView1.Children(node) > 0;
    const std::wstring question =
        category ? L"你确定要将文件中的数据导入“" + shadow.TreeView1.Text(node) + L"”技巧类别中吗？"
                 : L"你确定要将文件中的数据导入“" + shadow.TreeView1.FullPath(node) + L"”子技巧类别中吗？";
    if (App::MsgBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    // A file gone or held by another program since the dialog: say so rather
    // than import nothing in silence.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        Critical(L"无法读取技巧数据文件“" + path + L"”，文件可能已被删除、打开或被其它程序使用。");
        return;
    }
    CloseHandle(h);
    const std::wstring section = shadow.NodeSection(node);
    const Transfer::Counts counts = Shownode(path, section, node);
    if (TransferWrittenFlag) {
        shadow.Shownode(shadow.TreeView1.NodeTag(node), section);
        ShowItemWhenHooked();
        if (Config::On(Config::AutoWidth)) AutoSizeTipColumns(ListView1, -1);
    }
    if (counts.Unwritten() > 0) ReportUnwritten(counts, L"数据导入");
    else if (TransferWrittenFlag) App::MsgBox(L"数据导入成功。", MB_OK | MB_ICONEXCLAMATION);
}
