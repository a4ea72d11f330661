// The export page of the multi-page dialog: a list of five export formats, run
// by 确定 (or a double-click) on the main window's selected tips, and a second
// tab with the defaults of a new tip data file's information ([Fileinfo] of
// config.ini). The page stays open after an export and after 保存.
#include "common/Config.h"
#include "common/Ini.h"
#include "dialogs/Form4.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Pixels.h"
#include "platform/SelectAllText.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {
const wchar_t kExportCaption[] = L"导出技巧";


int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

// The format list's rows, in order: the text 确定 selects the export by.
const wchar_t* const kFormats[] = {L"技巧数据文件", L"注册表文件(Win9x/Me)", L"注册表文件(Win2000/XP)", L"文本文件",
                                   L"超文本文件"};

// The pictures of the five formats: a page with a coloured band naming the
// format, drawn here at the list's icon size.
HICON FormatIcon(int number, int size) {
    struct Look {
        const wchar_t* band;
        const wchar_t* corner;
        COLORREF color;
    };
    static const Look looks[] = {
        {L"UPD", L"", RGB(30, 150, 50)},    {L"REG", L"4", RGB(30, 90, 200)}, {L"REG", L"5", RGB(0, 140, 140)},
        {L"TXT", L"", RGB(110, 110, 110)}, {L"HTM", L"", RGB(210, 110, 20)},
    };
    if (number < 1 || number > 5) return nullptr;
    const Look& look = looks[number - 1];
    void* bits = nullptr;
    HBITMAP bitmap = Pixels::NewDib(size, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc || !bitmap || !bits) {
        if (dc) DeleteDC(dc);
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    const COLORREF key = RGB(255, 0, 255), ink = RGB(40, 40, 40);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    auto at = [size](double v) { return static_cast<int>(v * size / 32.0 + 0.5); };
    RECT all{0, 0, size, size};
    HBRUSH keyBrush = CreateSolidBrush(key);
    FillRect(dc, &all, keyBrush);
    DeleteObject(keyBrush);

    // The page with its folded corner.
    HPEN pen = CreatePen(PS_SOLID, 1, ink);
    HBRUSH paper = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, paper);
    POINT page[] = {{at(5), at(1)}, {at(21), at(1)}, {at(27), at(7)}, {at(27), at(31)}, {at(5), at(31)}};
    Polygon(dc, page, 5);
    MoveToEx(dc, at(21), at(1), nullptr);
    LineTo(dc, at(21), at(7));
    LineTo(dc, at(27), at(7));
    // Lines of text on the page.
    for (int y : {10, 13}) {
        MoveToEx(dc, at(8), at(y), nullptr);
        LineTo(dc, at(19), at(y));
    }
    // The coloured band with the format's name.
    HBRUSH band = CreateSolidBrush(look.color);
    SelectObject(dc, band);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, at(1), at(17), at(31) + 1, at(28) + 1);
    SetBkMode(dc, TRANSPARENT);
    HFONT font = CreateFontW(-at(10), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                             L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT text{at(1), at(17), at(31), at(28)};
    DrawTextW(dc, look.band, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    if (*look.corner) {
        SetTextColor(dc, look.color);
        RECT corner{at(19), at(8), at(27), at(17)};
        DrawTextW(dc, look.corner, -1, &corner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(font);
    DeleteObject(band);
    DeleteObject(paper);
    DeleteObject(pen);
    GdiFlush();
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);

    auto* px = static_cast<DWORD*>(bits);
    std::vector<DWORD> argb(px, px + size * size);
    DeleteObject(bitmap);
    for (DWORD& v : argb) v = (v & 0xFFFFFF) == 0xFF00FF ? 0 : (v | 0xFF000000);
    return Pixels::IconFromArgb(argb, size);
}

// The text of row `row` (0-based) of a list view.
std::wstring RowText(HWND list, int row) {
    wchar_t text[128] = {};
    LVITEMW it{};
    it.pszText = text;
    it.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
    return text;
}

// Widens the rows of the format list (arranged three to a line, `third`
// pixels apart) until every label shows whole while its row is not selected:
// in at most two lines, and no word wider than the label's room (the list
// cuts such a word with "..."). Then places them again at equal steps across
// the list, three to a line: a row's box may reach into its neighbour's where
// the two texts leave room.
void FitFormatLabels(HWND list, int third) {
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    if (count < 1) return;
    RECT client{};
    GetClientRect(list, &client);
    HDC dc = GetDC(list);
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    // What the list adds around a label's text: the first row's label against
    // its text, with room enough for one line.
    const DWORD old = static_cast<DWORD>(SendMessageW(list, LVM_GETITEMSPACING, FALSE, 0));
    SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(client.right, HIWORD(old)));
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
    SendMessageW(list, LVM_SETICONSPACING, 0, old);
    const std::wstring first = RowText(list, 0);
    SIZE extent{};
    GetTextExtentPoint32W(dc, first.c_str(), static_cast<int>(first.size()), &extent);
    const int padding = std::max(0, static_cast<int>(label.right - label.left - extent.cx)) + 1;
    int width = third - padding;
    for (int row = 0; row < count; ++row) {
        const std::wstring text = RowText(list, row);
        for (; width + padding < client.right; ++width) {
            RECT need{0, 0, width, 0};
            DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
            if (need.right - need.left <= width && need.bottom <= 2 * tm.tmHeight) break;
        }
    }
    SelectObject(dc, oldFont);
    ReleaseDC(list, dc);
    const int spacing = width + padding;
    if (spacing <= third) return;
    // The first line's top as the arrangement gave it; the lines one
    // vertical spacing apart.
    POINT top{};
    SendMessageW(list, LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(&top));
    SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(spacing, HIWORD(old)));
    // A row's position is that of its icon, centred in its box.
    int iconWidth = 32, iconHeight = 32;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)),
                          &iconWidth, &iconHeight);
    const int step = std::max(0, static_cast<int>(client.right) - spacing) / 2;
    for (int row = 0; row < count; ++row) {
        const int x = (row % 3) * step + (spacing - iconWidth) / 2;
        const int y = top.y + (row / 3) * HIWORD(old);
        SendMessageW(list, LVM_SETITEMPOSITION, row, MAKELPARAM(x, y));
    }
}

// Text the file-information defaults can keep: what config.ini holds on one
// line in the code page, without the tip files' field mark.
bool Keepable(const std::wstring& text) {
    return Ini::SafeValue(text) && Text::FitsAnsi(text) && text.find(L'\xF8F5') == std::wstring::npos;
}
}  // namespace

void Form4::JoinPages(unsigned pages, std::initializer_list<Control*> controls) {
    for (auto& [c, p] : pageControls_)
        for (Control* joined : controls)
            if (c == joined) p |= pages;
}

void Form4::OpenExportPage() {
    if (!Load()) return;
    if (!Command18.Exists()) {
        TabStrip1.Create(hwnd_, IdTabStrip1);
        TabStrip1.AddTab(L"导出格式");
        TabStrip1.AddTab(L"文件信息设置");
        TabStrip1.Click = [this] { TabStrip1_Click(); };
        Frame8.Create(hwnd_, IdFrame8, L"", false);
        const std::tuple<Label*, int, const wchar_t*> labels[] = {{&Label16, IdLabel16, L"作者:"},
                                                                  {&Label17, IdLabel17, L"网页:"},
                                                                  {&Label18, IdLabel18, L"邮箱:"},
                                                                  {&Label19, IdLabel19, L"其它:"}};
        for (const auto& [label, labelId, caption] : labels) label->Create(hwnd_, labelId, caption, false);
        const int boxIds[] = {IdText1, IdText4, IdText5, IdText6};
        const int* id = boxIds;
        for (TextBox* box : {&Text1, &Text4, &Text5, &Text6}) {
            box->Create(hwnd_, *id++);
            box->SetVisible(false);
            box->GotFocus = [box] { General::SelectAllText(*box); };
        }
        Command20.Create(hwnd_, IdCommand20, L"保存(&S)", false);
        Command18.Create(hwnd_, IdCommand18, L"确定(&O)", false);
        Command19.Create(hwnd_, IdCommand19, L"取消(&C)", false);
        Command20.Click = [this] { Command20_Click(); };
        Command18.Click = [this] { Command18_Click(); };
        Command19.Click = [this] { Command19_Click(); };
        for (Control* c : std::initializer_list<Control*>{&TabStrip1, &Image8, &Command18, &Command19})
            AddToPage(*c, ExportPage);
        // The container Picture6 stays hidden: it holds nothing of its own
        // here, and shown it would lie over the tab strip and hide its tabs.
        JoinPages(ExportPage, {&Frame7, &Label28, &Label29, &Image8, &Image9, &Frame6, &ListView1});
    }
    // The second tab's controls are off the page until that tab is chosen.
    ShowPage(ExportPage);

    // Geometry in twips, the boxes of the second tab inside Frame8.
    Picture6.Move(0, 0, X(5505), Y(4005));
    Frame7.Move(X(-15), Y(-90), X(5445), Y(870));
    TabStrip1.Move(X(90), Y(855), X(3945), Y(2700));
    const long long frameLeft = 180, frameTop = 1170;
    Frame6.Move(X(frameLeft), Y(frameTop), X(3750), Y(2295));
    // A little wider than the frame's other pages give it, so that the three
    // labels of a line show whole side by side (FitFormatLabels).
    ListView1.Move(X(frameLeft + 90), Y(frameTop + 120), X(3630), Y(2085));
    Frame8.Move(X(frameLeft), Y(frameTop), X(3750), Y(2295));
    const long long tops[] = {300, 690, 1080, 1470}, labelTops[] = {345, 750, 1140, 1515};
    Label* labels[] = {&Label16, &Label17, &Label18, &Label19};
    TextBox* boxes[] = {&Text1, &Text4, &Text5, &Text6};
    for (int i = 0; i < 4; ++i) {
        labels[i]->Move(X(frameLeft + 165), Y(frameTop + labelTops[i]), X(450), Y(210));
        boxes[i]->Move(X(frameLeft + 690), Y(frameTop + tops[i]), X(2955), Y(285));
    }
    Command20.Move(X(frameLeft + 2355), Y(frameTop + 1875), X(1200), Y(300));
    Command19.Move(X(4125), Y(1650), X(1200), Y(300));
    Command18.Move(X(4125), Y(1215), X(1200), Y(300));
    // The banner: its two pictures at its right end, the texts before them.
    SetBannerPictures(29, 12);
    Image8.Move(X(4080), Y(180), X(480), Y(480));
    Image9.Move(X(4680), Y(180), X(480), Y(480));
    Label28.Move(X(240), Y(180), X(3780), Y(255));
    Label29.Move(X(480), Y(450), X(3540), Y(255));
    // The tab strip lies under the frames and the controls placed over them.
    SetWindowPos(TabStrip1.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // The format list: large icons, one row selectable, the row under the pointer underlined.
    ListView1.Clear();
    LONG_PTR style = GetWindowLongPtrW(ListView1.hwnd(), GWL_STYLE);
    SetWindowLongPtrW(ListView1.hwnd(), GWL_STYLE, style | LVS_SINGLESEL);
    ListView1.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_TWOCLICKACTIVATE | LVS_EX_UNDERLINEHOT,
                               LVS_EX_TWOCLICKACTIVATE | LVS_EX_UNDERLINEHOT);
    for (int n = 1; n <= 5; ++n) {
        HICON icon = FormatIcon(n, 32);
        ImageList1.SetIcon(n, icon);
        if (icon) DestroyIcon(icon);
    }
    // In icon view before the rows come, so that they are laid out as icons,
    // three to a line, so that all five show without scrolling.
    ListView1.SetView(LV_VIEW_ICON);
    RECT client{};
    GetClientRect(ListView1.hwnd(), &client);
    SendMessageW(ListView1.hwnd(), LVM_SETICONSPACING, 0, MAKELPARAM((client.right - 2) / 3, Y(990)));
    int icon = 0;
    for (const wchar_t* format : kFormats) ListView1.Add(format, ++icon);
    SendMessageW(ListView1.hwnd(), LVM_ARRANGE, LVA_DEFAULT, 0);

    SetWidth(5505);
    SetHeight(4005);
    SetCancelButton(&Command19);
    SetDefaultButton(&Command18);
    Text1.SetText(Config::Read(Config::Author));
    Text4.SetText(Config::Read(Config::Web));
    Text5.SetText(Config::Read(Config::Email));
    Text6.SetText(Config::Read(Config::Other));
    SetCaption(kExportCaption);
    Label28.SetCaption(L"将技巧导出为其它格式文件");
    Label29.SetCaption(L"选择要导出的文件格式，然后点击“确定”");
    TabStrip1.Select(1);
    TabStrip1_Click();
    ListView1.SetFocus();
    // The list lays its rows out again when it is first painted: the rows
    // are fitted once it shows.
    CentreOnScreen();
    ShowWindow(hwnd_, SW_SHOWNA);
    RedrawWindow(ListView1.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    FitFormatLabels(ListView1.hwnd(), (client.right - 2) / 3);
    ShowModal();
}

void Form4::Command18_Click() {
    int row = 0;
    for (int i = 1; i <= ListView1.Count() && !row; ++i)
        if (ListView1.Selected(i)) row = i;
    if (!row) return;  // no format chosen: nothing to do
    const std::wstring format = ListView1.Text(row);
    ::Form2& main = Forms::Form2();
    if (format == kFormats[0]) main.SaveZY();
    else if (format == kFormats[1]) main.SaveReg(L"98");
    else if (format == kFormats[2]) main.SaveReg(L"xp");
    else if (format == kFormats[3]) main.SaveTxt();
    else if (format == kFormats[4]) main.Savehtml();
}

void Form4::Command19_Click() { Close(); }

void Form4::Command20_Click() {
    const std::pair<const Config::Key*, const TextBox*> fields[] = {
        {&Config::Author, &Text1}, {&Config::Web, &Text4}, {&Config::Email, &Text5}, {&Config::Other, &Text6}};
    // Text config.ini cannot keep is refused before anything is written; the
    // boxes keep what was typed, so it can be corrected.
    for (const auto& [key, box] : fields) {
        if (!Keepable(Text::Trim(box->Text()))) {
            App::MsgBox(L"文件信息中含有不能保存的字符（换行符或系统编码不支持的字符），请修改后再保存。",
                        MB_OK | MB_ICONERROR);
            return;
        }
    }
    int failed = 0;
    for (const auto& [key, box] : fields)
        if (!Config::Write(*key, Text::Trim(box->Text()))) ++failed;
    if (failed)
        App::MsgBox(L"保存文件信息设置失败：有 " + Text::FromInt(failed) + L" 项没有写入 config.ini。",
                    MB_OK | MB_ICONERROR);
}

void Form4::TabStrip1_Click() {
    const bool formats = TabStrip1.SelectedIndex() != 2;
    Frame6.SetVisible(formats);
    ListView1.SetVisible(formats);
    for (Control* c : std::initializer_list<Control*>{&Frame8, &Label16, &Label17, &Label18, &Label19, &Text1, &Text4,
                                                       &Text5, &Text6, &Command20})
        c->SetVisible(!formats);
    // The tab's controls come to the front, in their Tab order from the top
    // (each label before its box, the boxes from the top down), the frame
    // under the controls placed over it.
    std::vector<Control*> front;
    if (formats) front = {&ListView1, &Frame6};
    else
        front = {&Label16, &Text1, &Label17, &Text4, &Label18, &Text5, &Label19, &Text6, &Command20, &Frame8};
    for (auto c = front.rbegin(); c != front.rend(); ++c)
        SetWindowPos((*c)->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
