// The tip list's column, mouse and key events, ticking, and stepping through a
// tip's alternative values.
#include "common/TipRow.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/ValueTexts.h"
#include "library/Library.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "common/Config.h"
#include "platform/App.h"
#include "platform/Columns.h"
#include "platform/Launch.h"
#include "platform/Text.h"
#include "platform/Twips.h"

namespace {
const wchar_t* const kCaptions[] = {L"作用", L"命令", L"危险", L"键名", L"键值"};
constexpr int kDeleteOptionIcon = 8;  // the option list's icon of the delete choice

}  // namespace

// ---------------------------------------------------------------- sorting

int Form2::HeaderIcon(int column) const { return column >= 1 && column <= 5 ? headerIcon_[column - 1] : 0; }

void Form2::ListView1_ColumnClick(int column) {
    ComClick(column);
    if (!Config::WriteInt(Config::Compositor, column) && Config::FirstFailure(Config::Compositor))
        ReportSettingsNotWritten();
}

void Form2::ComClick(int column, bool rowsInOrder) {
    if (column < 1 || column > 5) return;
    Ui::DoEvents();
    if (!Exists()) return;
    sortKey_ = column - 1;
    sortOrder_ = sortOrder_ != 1 ? 1 : 0;
    ComSort(column);
    const bool ascending = sortOrder_ == 0;
    // Rows that went in in this very order need no sort.
    if (rowsInOrder && ListView1.SortColumn() == column && ListView1.SortAscending() == ascending) return;
    ListView1.Sort(column, ascending);
}

void Form2::ComSort(int column) {
    const bool hadIcon = HeaderIcon(column) > 0;
    HWND header = reinterpret_cast<HWND>(SendMessageW(ListView1.hwnd(), LVM_GETHEADER, 0, 0));
    for (int c = 1; c <= 5; ++c) headerIcon_[c - 1] = 0;
    if (!hadIcon) sortOrder_ = sortOrder_ == 1 ? 0 : 1;
    headerIcon_[column - 1] = sortOrder_ == 1 ? 2 : 1;
    for (int c = 1; c <= 5 && header; ++c) {
        HDITEMW it{};
        it.mask = HDI_FORMAT;
        SendMessageW(header, HDM_GETITEMW, c - 1, reinterpret_cast<LPARAM>(&it));
        it.mask = HDI_FORMAT | HDI_TEXT;
        it.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (headerIcon_[c - 1] == 1) it.fmt |= HDF_SORTUP;
        if (headerIcon_[c - 1] == 2) it.fmt |= HDF_SORTDOWN;
        it.pszText = const_cast<wchar_t*>(kCaptions[c - 1]);
        SendMessageW(header, HDM_SETITEMW, c - 1, reinterpret_cast<LPARAM>(&it));
    }
}

// ---------------------------------------------------------------- keys

void Form2::StartHelpViewer() {
    // The help viewer, with the file's path quoted (the folder may hold blanks).
    Launch::Start(L"hh.exe", Launch::Quoted(App::PathSlash() + L"help.chm"), SW_SHOWNORMAL);
}

void Form2::ListView1_KeyDown(int keyCode, int shift) {
    const bool ctrlOnly = shift == 2;
    switch (keyCode) {
    case VK_F1:
        StartHelpViewer();
        break;
    case VK_F5:
        if (Toolbar1.Enabled(ToolbarKey::kStartPosition)) StartWork();
        break;
    case VK_F8:
        ToggleLink();
        break;
    case VK_F3:
        if (Toolbar1.Enabled(ToolbarKey::xuan)) all_Click();
        break;
    case VK_F4:
        if (Toolbar1.Enabled(ToolbarKey::xuan)) no_Click();
        break;
    case 'A':
        if (ctrlOnly)
            for (int r = 1, n = ListView1.Count(); r <= n; ++r) ListView1.SetSelected(r, true);
        break;
    case 'X':
        if (ctrlOnly && Toolbar1.Enabled(ToolbarKey::cut)) cut_Click();
        break;
    case 'C':
        if (ctrlOnly && Toolbar1.Enabled(ToolbarKey::copy)) copy_Click();
        break;
    case 'V':
        if (ctrlOnly && Toolbar1.Enabled(ToolbarKey::paste)) paste_Click();
        break;
    case 'F':
        if (ctrlOnly && Toolbar1.Enabled(ToolbarKey::find)) Library::OpenFindWindow();
        break;
    case VK_OEM_MINUS:
        StepOption(false);
        break;
    case VK_OEM_PLUS:
        StepOption(true);
        break;
    case VK_F2:
        Closejqsx();
        break;
    case VK_F9:
        if (Toolbar1.Enabled(ToolbarKey::scj) && GetSelCount(ListView1.hwnd()) != 0) scj_Click();
        break;
    case VK_DELETE:
        if (Toolbar1.Enabled(ToolbarKey::del2)) del_Click();
        break;
    default:
        // No other key does anything.
        break;
    }
}

int Form2::GetSelCount(HWND listView) {
    return listView ? static_cast<int>(SendMessageW(listView, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

// ---------------------------------------------------------------- popup menu

void Form2::PrepareFileMenuForTipList() {
    for (const wchar_t* key : {L"cmm", L"cmm2", L"lbscj2", L"lbscj"}) file.SetVisible(key, false);
    for (const wchar_t* key : {L"cut", L"copy", L"del", L"d3", L"she1", L"shezhi"}) file.SetVisible(key, true);
}

bool Form2::AutoSizeTipColumns(ListView& list, int width) {
    int n = list.ColumnCount();
    for (int c = 1; c <= n; ++c)
        if (c != 3) Columns::SetWidth(list, c, width);
    if (n < 3) return false;
    Columns::SetHeaderWidth(list, 3, Twips::ToPixelsX(240));
    return true;
}

void Form2::ListView1_RightClick(POINT screenPt) {
    PrepareFileMenuForTipList();
    file.Popup(hwnd_, screenPt);
}

// ---------------------------------------------------------------- ticking

void Form2::all_Click() {
    for (int r = 1, n = ListView1.Count(); r <= n; ++r) {
        if (ListView1.SubIcon(r, 2) == TipRow::IconDangerous) {
            // Read for each dangerous row: the setting is not cached.
            if (!Config::On(Config::Choice)) ListView1.SetChecked(r, true);
        } else {
            ListView1.SetChecked(r, true);
        }
    }
}

void Form2::no_Click() {
    for (int r = 1, n = ListView1.Count(); r <= n; ++r) ListView1.SetChecked(r, false);
}

// ---------------------------------------------------------------- alternative values

void Form2::StepOption(bool forward) {
    ::Form3* props = Forms::Form3IfLoaded();
    if (!props) return;
    ListView& options = props->ListView1;
    const int k = options.FirstSelected(), n = options.Count();
    if (k == 0 || (forward ? k == n : k == 1)) return;
    const int chosen = forward ? k + 1 : k - 1;
    options.SetSelected(k, false);
    options.SetSelectedItem(chosen);

    // The options are those of the shown tip: only its row changes.
    int row = ShownTipRow();
    if (row && !ListView1.Selected(row)) row = 0;
    const std::wstring label = options.Text(chosen);
    if (row) ListView1.SetSubText(row, 1, label);
    props->Text3.SetText(label);

    const bool binary = props->Combo1.ListIndex() == 1;
    std::wstring data = options.SubText(chosen, 1);
    if (binary && data == ValueTexts::ZeroLengthBinary) data.clear();
    ::Form1& bar = Forms::Form1();
    props->ImageCombo1.SetText(data);
    bar.ImageCombo1.SetText(data);
    if (options.SubIcon(chosen, 0) == kDeleteOptionIcon) {
        props->ImageCombo1.SetListIndex(0);
        bar.ImageCombo1.SetListIndex(0);
    }

    if (!row) return;
    if (bar.ImageCombo1.ListIndex() == 0) {
        ListView1.SetSubText(row, 4, bar.ImageCombo1.Text());
        ListView1.SetSubIcon(row, 4, TipRow::IconDelete);
    } else if (binary && Text::Trim(bar.ImageCombo1.Text()).empty()) {
        ListView1.SetSubText(row, 4, ValueTexts::ZeroLengthBinary);
        ListView1.SetSubIcon(row, 4, 3);
    } else {
        ListView1.SetSubText(row, 4, bar.ImageCombo1.Text());
        ListView1.SetSubIcon(row, 4, props->Combo1.ListIndex() + 2);
    }
}

// ---------------------------------------------------------------- status bar

void Form2::StatusBar1_PanelClick(int panel) {
    if (panel != 2) return;
    const std::wstring summary = StatusBar1.PanelText(1);
    if (summary == L"没有找到任何技巧类别" || summary == L"没有找到任何技巧数据文件") return;
    ReloadShownTips();
}
