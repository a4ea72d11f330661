// Showing the selected tip in the properties window and the value bar, the two
// decoders of a tip's option list, and the tip list's mouse routes that lead
// there: press, pointer move (hand over the 命令 column), double click (value
// bar) and the left-button release in the 命令 column (candidate popup).
#include "platform/Subclass.h"
#include "platform/App.h"
#include "common/Config.h"
#include "common/Marks.h"
#include "common/TipRow.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/ValueTexts.h"
#include "editor/modMenu.h"
#include "mainwindow/Form2.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {
constexpr int kDeleteOptionIcon = 8;

// The row the list reports as selected (VB's SelectedItem): the focused row
// when it is selected, else the first selected row; 0 for none.
int SelectedRow(const ListView& list) {
    int row = list.SelectedItem();
    if (row > 0 && list.Selected(row)) return row;
    return list.FirstSelected();
}

// The texts between FieldMarks: what follows each mark up to the next one.
std::vector<std::wstring> Items(const std::wstring& s) {
    std::vector<std::wstring> out;
    size_t p = s.find(Marks::FieldMarkChar);
    while (p != std::wstring::npos) {
        size_t q = s.find(Marks::FieldMarkChar, p + 1);
        if (q == std::wstring::npos) break;
        out.push_back(s.substr(p + 1, q - p - 1));
        p = q;
    }
    return out;
}

std::wstring TrimBlanks(const std::wstring& s) { return Text::TrimSpaces(s); }
}  // namespace

// ---------------------------------------------------------------- decoders

void Form2::ShowValueNames(const std::wstring& labels) {
    ::Form3& props = Forms::Form3();
    const int icon = 4 + props.Combo1.ListIndex();
    for (const std::wstring& label : Items(labels)) {
        int row = props.ListView1.Add(label, icon);
        if (row <= 0) return;
    }
}

void Form2::ShowValueData(const std::wstring& data) {
    ::Form3& props = Forms::Form3();
    ListView& options = props.ListView1;
    int k = 0;
    for (const std::wstring& stored : Items(data)) {
        ++k;
        if (k > options.Count()) return;
        options.SetSubTag(k, 0, stored);
        // The shown data follows the value icon of the tip row being shown.
        ::Form2& main = Forms::Form2();
        const int row = main.rowBeingShown_ ? main.rowBeingShown_ : SelectedRow(main.ListView1);
        const int valueIcon = row ? main.ListView1.SubIcon(row, 4) : 0;
        std::wstring shown;
        if (valueIcon == 2 || valueIcon == 4 || valueIcon == 5 || valueIcon == 6) shown = stored;
        else if (valueIcon == 3) shown = TrimBlanks(stored).empty() ? std::wstring(ValueTexts::ZeroLengthBinary) : stored;
        if (stored == Marks::DeleteMark) {
            shown = ValueTexts::DeleteChoice;
            options.SetSubIcon(k, 0, kDeleteOptionIcon);
        }
        options.SetSubText(k, 1, shown);
    }
}

// ---------------------------------------------------------------- showing a tip

void Form2::ShowItem() {
    // 1, 2. Nothing to show, or several rows selected: nothing changes.
    if (ListView1.Count() == 0) return;
    if (GetSelCount(ListView1.hwnd()) > 1) return;
    ShowRow(SelectedRow(ListView1));
}

void Form2::ListView1_CurrentRowChanged() {
    currentRowPending_ = false;
    if (!Exists() || ListView1.Count() == 0 || GetSelCount(ListView1.hwnd()) != 1) return;
    const int row = SelectedRow(ListView1);
    if (row > 0 && ListView1.IdOf(row) != ShownTip) ShowRow(row);
}

void Form2::ShowRow(int row) {
    ::Form3& props = Forms::Form3();
    ::Form1& bar = Forms::Form1();
    rowBeingShown_ = row;
    ListView& options = props.ListView1;
    // 4.
    props.Combo1.SetEnabled(false);
    // 5. WriteMode is not touched: each writing operation sets its own.
    // 6 to 8.
    if (row) {
        props.Text1.SetText(ListView1.Text(row));
        props.Text4.SetText(ListView1.SubTag(row, 1));
        props.Text2.SetText(ListView1.SubBold(row, 3) ? std::wstring() : ListView1.SubText(row, 3));
    }
    // 9.
    options.Clear();
    // 10.
    if (row) {
        std::optional<long> type = TipRow::TypeNumber(ListView1.SubTag(row, 2));
        if (type && *type >= 0 && *type <= 3) props.Combo1.SetListIndex(static_cast<int>(*type));
    }
    // 11.
    if (row) {
        const std::wstring list = ListView1.SubTag(row, 4);
        size_t j = list.find(Marks::JoinMarkChar);
        if (j != std::wstring::npos) {
            ShowValueNames(list.substr(0, j));
            ShowValueData(list.substr(j + 1));
        }
    }
    // 12.
    props.Toolbar2.SetEnabled(L"edit", options.Count() > 0);
    props.Command2.SetEnabled(options.Count() > 0);
    // 13.
    if (options.Count() > 0)
        for (int c = 1; c <= options.ColumnCount(); ++c) options.SetColumnWidth(c, LVSCW_AUTOSIZE);
    // 14.
    if (row) props.Text5.SetText(ListView1.SubTag(row, 3));
    // 15. The option whose label is the row's 命令 text; none when no label matches.
    int chosen = 0;
    if (row) {
        const std::wstring command = Text::UpperCase(ListView1.SubText(row, 1));
        for (int r = 1, n = options.Count(); r <= n; ++r)
            if (Text::UpperCase(options.Text(r)) == command) chosen = r;
    }
    for (int r = 1, n = options.Count(); r <= n; ++r) options.SetSelected(r, r == chosen);
    if (chosen) options.SetSelectedItem(chosen);
    // 16.
    if (chosen) props.Text3.SetText(options.Text(chosen));
    // 17. The row balloon, by [Data] Tip; with another value the old one goes.
    if (row) ShowRowTooltip(row);
    // 18.
    if (const MenuItem* shezhi = file.Item(L"shezhi"); shezhi && shezhi->checked) Showvaluesx();
    // 19.
    if (chosen) props.ImageCombo1.SetText(options.SubText(chosen, 1));
    // 20.
    if (row) {
        const int danger = ListView1.SubIcon(row, 2);
        if (danger == TipRow::IconHarmless || danger == TipRow::IconDangerous)
            props.ImageCombo2.SetListIndex(danger - 32);
    }
    // 21, 22.
    if (row) {
        const std::wstring type = ListView1.SubTag(row, 2), value = ListView1.SubText(row, 4);
        if (type == L"1" && value == ValueTexts::ZeroLengthBinary) {
            bar.ImageCombo1.SetText(L"");
            props.ImageCombo1.SetText(L"");
        } else {
            bar.ImageCombo1.SetText(value);
            if (chosen) props.ImageCombo1.SetText(options.SubText(chosen, 1));
        }
        if (ListView1.SubIcon(row, 4) == TipRow::IconDelete) {
            bar.ImageCombo1.SetListIndex(0);
            props.ImageCombo1.SetListIndex(0);
        }
        // A binary option whose data is empty shows an empty box.
        if (chosen && props.Combo1.ListIndex() == 1 && options.SubText(chosen, 1) == ValueTexts::ZeroLengthBinary)
            props.ImageCombo1.SetText(L"");
    }
    rowBeingShown_ = 0;
    ShownTip = row ? ListView1.IdOf(row) : 0;
}

// ---------------------------------------------------------------- the tip list's mouse

int Form2::RowAtTwips(int x, int y) const {
    LVHITTESTINFO hit{};
    hit.pt = {static_cast<LONG>(x / Twips::PerPixelX()), static_cast<LONG>(y / Twips::PerPixelY())};
    int i = static_cast<int>(SendMessageW(ListView1.hwnd(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return i >= 0 && (hit.flags & LVHT_ONITEM) ? i + 1 : 0;
}

bool Form2::CommandColumnTest(int x) {
    // The pointer plus the horizontal scroll offset against the 命令 column.
    RECT first{};
    first.left = LVIR_BOUNDS;
    int scroll = 0;
    if (ListView1.Count() > 0 && SendMessageW(ListView1.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)))
        scroll = -first.left;
    const int px = Twips::PerPixelX();
    const int xPrime = x + scroll * px;
    LastListMouseDown.x = xPrime;
    int left = ListView1.ColumnWidth(1);
    int width = ListView1.ColumnWidth(2);
    return left * px <= xPrime && xPrime <= (left + width) * px;
}

void Form2::ListView1_MouseDown(int, int, int x, int y) { LastListMouseDown = {x, y}; }

void Form2::ListView1_MouseMove(int, int, int x, int y) {
    // 1. The balloon goes when the pointer leaves the selected row's band.
    const int row = SelectedRow(ListView1);
    bool release = ListView1.Count() == 0 || row == 0;
    if (!release) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(ListView1.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
        const int top = r.top * Twips::PerPixelY(), height = (r.bottom - r.top) * Twips::PerPixelY();
        release = y - 15 < top || top + height < y + 90;
    }
    if (release) ReleaseRowTooltip();
    // 2 to 4. The hand over the 命令 column in report view.
    handPointer_ = View() == 3 && RowAtTwips(x, y) != 0 && CommandColumnTest(x);
}

void Form2::ListView1_DblClick() {
    if (RowAtTwips(LastListMouseDown.x, LastListMouseDown.y) == 0) return;
    ::Form1& bar = Forms::Form1();
    bar.ImageCombo1.SetFocus();
}

void Form2::ListView1_ItemClick() { ShowItem(); }

void Form2::ListView1_MouseUp(int button, int, int x, int) {
    if (button == 2) return;
    const int pressed = RowAtTwips(LastListMouseDown.x, LastListMouseDown.y);
    if (pressed == 0) return;
    if (View() != 3) return;
    if (!CommandColumnTest(x)) return;
    // The popup offers the options of the pressed row and writes into it alone:
    // when another tip is shown (a second row taken into the selection), the
    // pressed row is shown first.
    if (ListView1.IdOf(pressed) != ShownTip) ShowRow(pressed);
    modMenu::ValueMenuOpen = true;
    ShowValue();
    ::Form3& props = Forms::Form3();
    if (props.ListView1.Count() >= 1) {
        POINT pt;
        GetCursorPos(&pt);
        Valuemenu.Popup(hwnd_, pt);
    }
    // The bar again shows the shown row's value.
    const int row = ShownTipRow();
    if (row) {
        ::Form1& bar = Forms::Form1();
        if (ListView1.SubIcon(row, 4) == TipRow::IconDelete) bar.ImageCombo1.SetListIndex(0);
        else bar.ImageCombo1.SetText(ListView1.SubText(row, 4));
    }
    modMenu::ValueMenuOpen = false;
}

namespace {
LRESULT CALLBACK TipListMouseProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* main = reinterpret_cast<Form2*>(ref);
    // Every message to the list passes here, the program's own list messages
    // included: the point and the key states are asked for only when a mouse
    // message needs them (each key-state question is a round trip to the system).
    const auto x = [lp] { return GET_X_LPARAM(lp) * Twips::PerPixelX(); };
    const auto y = [lp] { return GET_Y_LPARAM(lp) * Twips::PerPixelY(); };
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        main->ListView1_MouseDown(msg == WM_LBUTTONDOWN ? 1 : msg == WM_RBUTTONDOWN ? 2 : 4, App::ShiftState(), x(), y());
        break;
    case WM_MOUSEMOVE:
        main->ListView1_MouseMove(0, App::ShiftState(), x(), y());
        break;
    case WM_MBUTTONUP:
        main->ListView1_MouseUp(4, App::ShiftState(), x(), y());
        break;
    case WM_LBUTTONDBLCLK: {
        main->ListView1_MouseDown(1, App::ShiftState(), x(), y());
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        main->ListView1_DblClick();
        return r;
    }
    case WM_SETCURSOR:
        if (main->HandPointer() && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_NCDESTROY:
        Subclass::Remove(h, TipListMouseProc, 1);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}
}  // namespace

void Form2::SetUpTipListMouse() {
    Subclass::Set(ListView1.hwnd(), TipListMouseProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // A left click (the list reports it once the button is up): the item click,
    // then the release.
    ListView1.ItemClick = [this](int row) {
        if (row > 0) ListView1_ItemClick();
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(ListView1.hwnd(), &pt);
        ListView1_MouseUp(1, 0, pt.x * Twips::PerPixelX(), pt.y * Twips::PerPixelY());
    };
    form3menu.Items.clear();
    form3menu.Add(L"form3del", L"删除(&D)");
    form3menu.Add(L"hh", L"-");
    form3menu.Add(L"form3sy", L"上移(&B)");
    form3menu.Add(L"form3xy", L"下移(&N)");
    form3menu.Click = [this](const std::wstring& key) {
        if (key == L"form3del") form3del_Click();
        else if (key == L"form3sy") form3sy_Click();
        else if (key == L"form3xy") form3xy_Click();
    };
    Valuemenu.Items.clear();
    Valuemenu.Add(L"0", L"Valueok").visible = false;
    Valuemenu.Notify = true;
    Valuemenu.Click = [this](const std::wstring& key) { Valueok_Click(static_cast<int>(Text::LeadingNumber(key))); };
}
