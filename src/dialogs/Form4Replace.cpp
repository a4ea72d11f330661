// The replace confirmation page of the multi-page dialog: asks whether a tip
// about to be written may replace the shown tip of the same name. 是 and 全部
// write the incoming tip themselves (through the transfer loop's Commit); every
// answer is handed back in the PendingTip.
#include "common/Marks.h"
#include "dialogs/Form4.h"
#include "platform/ListView.h"
#include "platform/Pixels.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>

namespace {

const wchar_t kReplaceCaption[] = L"确认技巧替换";

int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

// The page's pictures, drawn here: 1 two overlapping documents (black and blue),
// 2 a document outlined in black, 3 one outlined in blue.
HICON PageIcon(int n) {
    const int S = 32;
    std::vector<DWORD> px(S * S, 0u);
    const DWORD black = 0xFF202020, blue = 0xFF2050D0, white = 0xFFFFFFFF, grey = 0xFF909090;
    auto page = [&](int l, int t, int w, int h, DWORD edge) {
        for (int y = t; y < t + h; ++y)
            for (int x = l; x < l + w; ++x) {
                bool border = y == t || y == t + h - 1 || x == l || x == l + w - 1;
                px[y * S + x] = border ? edge : white;
            }
        for (int y = t + 5; y < t + h - 3; y += 4)
            for (int x = l + 3; x < l + w - 3; ++x) px[y * S + x] = grey;
    };
    if (n == 1) {
        page(2, 2, 18, 24, black);
        page(12, 6, 18, 24, blue);
    } else {
        page(6, 3, 20, 26, n == 2 ? black : blue);
    }
    return Pixels::IconFromArgb(px, S);
}

HFONT BoldPageFont() {
    static HFONT font = [] {
        LOGFONTW lf{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
        lf.lfWeight = FW_BOLD;
        return CreateFontIndirectW(&lf);
    }();
    return font;
}

// The value name field of a record: the text between its first and second FieldMark.
std::wstring Field(const std::wstring& record, int index) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t p = record.find(Marks::FieldMarkChar, start);
        if (p == std::wstring::npos) return {};
        start = p + 1;
    }
    size_t end = record.find(Marks::FieldMarkChar, start);
    return record.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}
}  // namespace

void Form4::LoadReplacePage() {
    pending_ = nullptr;
    tips_ = nullptr;
    Picture3.CreateOwnerDrawn(hwnd_, IdPicture3, L"", false);
    struct {
        Label& label;
        int id;
        const wchar_t* text;
        long long left, top, width;
    } labels[] = {
        {Label11, IdLabel11, L"此类别已包含  技巧", 1020, 330, 4400},
        {Label49, IdLabel49, L"是否将已存在的技巧", 1020, 750, 4400},
        {Label12, IdLabel12, L"键位：", 1680, 1005, 3800},
        {Label14, IdLabel14, L"键名：", 1680, 1215, 3800},
        {Label52, IdLabel52, L"替换为", 1020, 1515, 4400},
        {Label13, IdLabel13, L"键位：", 1680, 1770, 3800},
        {Label15, IdLabel15, L"键名：", 1680, 1980, 3800},
    };
    struct {
        Label& image;
        int id, icon;
        long long left, top;
    } images[] = {{Image4, IdImage4, 1, 315, 135}, {Image5, IdImage5, 2, 1125, 975}, {Image6, IdImage6, 3, 1125, 1725}};
    for (auto& im : images) {
        im.image.Create(hwnd_, im.id, L"", false);
        HWND h = im.image.hwnd();
        SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | SS_ICON);
        if (HICON icon = PageIcon(im.icon)) SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        im.image.Move(X(im.left), Y(im.top), X(480), Y(480));
        AddToPage(im.image, ReplacePage);
    }
    for (auto& l : labels) {
        l.label.Create(hwnd_, l.id, l.text, false);
        HWND h = l.label.hwnd();
        // Notify style: the label takes the mouse, so its tool tip can show.
        // A line too long for its label is cut with a visible ellipsis (a key
        // path in its middle, so that its root and its last key show), never
        // at a word boundary where it would read as another, complete text;
        // the tool tip holds the whole line.
        const LONG_PTR ellipsis = (&l.label == &Label12 || &l.label == &Label13) ? SS_PATHELLIPSIS : SS_ENDELLIPSIS;
        SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | SS_NOTIFY | SS_NOPREFIX | ellipsis);
        l.label.Move(X(l.left), Y(l.top), X(l.width), Y(195));
        AddToPage(l.label, ReplacePage);
    }
    // The key path lines are drawn by the page: their caption always shows,
    // the path is cut in its middle (a last key longer than the line would
    // push the caption and the root out of a path ellipsis of the system's).
    for (Label* l : {&Label12, &Label13}) {
        const HWND h = l->hwnd();
        SetWindowLongPtrW(h, GWL_STYLE,
                          (GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK | SS_ELLIPSISMASK)) |
                              SS_OWNERDRAW);
    }
    struct {
        CommandButton& button;
        int id;
        const wchar_t* text;
        long long left;
    } buttons[] = {{Command7, IdCommand7, L"是(Y)", 255},
                   {Command9, IdCommand9, L"全部(&A)", 1590},
                   {Command8, IdCommand8, L"否(&N)", 2925},
                   {Command10, IdCommand10, L"取消", 4260}};
    for (auto& b : buttons) {
        b.button.Create(hwnd_, b.id, b.text, false);
        b.button.Move(X(b.left), Y(2460), X(1215), Y(300));
        AddToPage(b.button, ReplacePage);
    }
    Command7.Click = [this] { Command7_Click(); };
    Command9.Click = [this] { Command9_Click(); };
    Command8.Click = [this] { Command8_Click(); };
    Command10.Click = [this] { Command10_Click(); };
    Picture3.Move(0, 0, X(5535), Y(3285));
    AddToPage(Picture3, ReplacePage);
}

namespace {
const std::wstring kKeyPathCaption = L"键位：";

// `caption` and then `path`, the path cut in its middle with an ellipsis
// where the whole line is wider than `width` in the DC's font.
std::wstring FitKeyPathLine(HDC dc, const std::wstring& caption, const std::wstring& path, int width) {
    auto fits = [dc, width](const std::wstring& s) {
        SIZE size{};
        GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return size.cx <= width;
    };
    if (path.empty() || fits(caption + path)) return caption + path;
    // The most characters kept, half from the path's start and half from its end.
    auto cut = [&](size_t kept) {
        return caption + path.substr(0, (kept + 1) / 2) + L"\u2026" + path.substr(path.size() - kept / 2);
    };
    size_t low = 0, high = path.size() - 1;
    while (low < high) {
        const size_t mid = (low + high + 1) / 2;
        if (fits(cut(mid))) low = mid;
        else high = mid - 1;
    }
    return cut(low);
}
}  // namespace

std::wstring Form4::KeyPathLineShown(const Label& label) const {
    if (!label.Exists()) return {};
    const std::wstring whole = label.Caption();
    if (whole.rfind(kKeyPathCaption, 0) != 0) return whole;
    RECT r{};
    GetClientRect(label.hwnd(), &r);
    HDC dc = GetDC(label.hwnd());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label.hwnd(), WM_GETFONT, 0, 0)));
    std::wstring shown = FitKeyPathLine(dc, kKeyPathCaption, whole.substr(kKeyPathCaption.size()), r.right);
    SelectObject(dc, old);
    ReleaseDC(label.hwnd(), dc);
    return shown;
}

bool Form4::DrawKeyPathLine(const DRAWITEMSTRUCT& item) {
    const Label* label = item.hwndItem == Label12.hwnd() ? &Label12 : item.hwndItem == Label13.hwnd() ? &Label13 : nullptr;
    if (!label) return false;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    // The page's colours for its labels.
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(item.hwndItem)));
    FillRect(dc, &r, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring shown = KeyPathLineShown(*label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_TOP);
    SelectObject(dc, old);
    return true;
}

void Form4::SetToolTip(Label& label, const std::wstring& text) {
    if (!tips_ || !IsWindow(tips_)) {
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                                0, 0, 0, hwnd_, nullptr, Ui::Instance(), nullptr);
        if (!tips_) return;
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, 600);
    }
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(label.hwnd());
    ti.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(tips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::wstring Form4::ToolTipText(const Label& label) const {
    if (!tips_ || !IsWindow(tips_)) return {};
    std::wstring buf(4096, L'\0');
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(label.hwnd());
    ti.lpszText = buf.data();
    if (!SendMessageW(tips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return {};
    buf.assign(4096, L'\0');
    ti.lpszText = buf.data();
    SendMessageW(tips_, TTM_GETTEXTW, buf.size(), reinterpret_cast<LPARAM>(&ti));
    return buf.c_str();
}

void Form4::SetBold(Label& label, bool on) {
    HGDIOBJ font = on ? static_cast<HGDIOBJ>(BoldPageFont()) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(label.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

bool Form4::LabelBold(const Label& label) const {
    return label.Exists() &&
           reinterpret_cast<HFONT>(SendMessageW(label.hwnd(), WM_GETFONT, 0, 0)) == BoldPageFont();
}

void Form4::OpenReplacePage(Transfer::PendingTip& tip, const ListView& list, int row) {
    if (!Load()) return;
    const std::wstring existing = list.Text(row);
    auto line = [this](Label& label, const std::wstring& text) {
        label.SetCaption(text);
        SetToolTip(label, text);
    };
    line(Label11, L"此类别已包含 " + existing + L" 技巧");
    line(Label12, L"键位：" + list.SubTag(row, 1));
    if (list.SubBold(row, 3)) {
        SetBold(Label14, true);
        Label14.SetCaption(L"键名：(默认)");
    } else {
        line(Label14, L"键名：" + list.SubText(row, 3));
    }
    line(Label13, L"键位：" + Field(tip.record, 0));
    const std::wstring valueName = Field(tip.record, 1);
    if (Text::Trim(valueName).empty()) {
        SetBold(Label15, true);
        Label15.SetCaption(L"键名：(默认)");
    } else {
        line(Label15, L"键名：" + valueName);
    }
    SetCaption(kReplaceCaption);
    ShowPage(ReplacePage);
    SetDefaultButton(&Command7);
    SetCancelButton(&Command10);
    SetWidth(5790);
    SetHeight(3315);
    tip.answer = Transfer::ReplaceAnswer::Ask;  // also the close box's answer
    pending_ = &tip;
    ShowModal();
    pending_ = nullptr;
}

void Form4::ReplaceAnswered(Transfer::ReplaceAnswer answer, bool write) {
    if (Transfer::PendingTip* tip = pending_) {
        if (write && tip->Commit) tip->Commit();
        tip->answer = answer;
    }
    Close();
}

void Form4::Command7_Click() { ReplaceAnswered(Transfer::ReplaceAnswer::Ask, true); }
void Form4::Command9_Click() { ReplaceAnswered(Transfer::ReplaceAnswer::All, true); }
void Form4::Command8_Click() { ReplaceAnswered(Transfer::ReplaceAnswer::Ask, false); }
void Form4::Command10_Click() { ReplaceAnswered(Transfer::ReplaceAnswer::Stop, false); }

bool Form4::Form_KeyDown(int keyCode, int shift) {
    (void)shift;  // Y, N and A answer with any of Shift, Ctrl and Alt
    if (Caption() != kReplaceCaption) return false;
    switch (keyCode) {
    case 'Y':
        Command7_Click();
        return true;
    case 'N':
        Command8_Click();
        return true;
    case 'A':
        Command9_Click();
        return true;
    default:
        return false;
    }
}
