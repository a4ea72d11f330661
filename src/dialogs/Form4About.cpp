// The about page of the multi-page dialog: the program's shadowed title, its
// build mark and three links (two home pages and a mail to the makers).
#include "common/Maker.h"
#include "dialogs/Form4.h"
#include "platform/Icons.h"
#include "platform/Launch.h"
#include "platform/Twips.h"

namespace {

const wchar_t kAboutCaption[] = L"关于窗口";
const wchar_t kTitle[] = L"Quorix 3.0";
// Colours of the page, as COLORREF (0x00BBGGRR).
constexpr COLORREF kTitleColor = 0x00C0FFFF;  // light yellow, over the shadow
constexpr COLORREF kNavy = 0x00800000;
constexpr COLORREF kBlue = 0x00FF0000;
constexpr COLORREF kDarkBlue = 0x00C00000;
// The container's place in the dialog; the page's controls are given in twips
// of the container.
constexpr long long kPictureLeft = 45, kPictureTop = 0;

int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

void Place(Control& c, long long left, long long top, long long width, long long height) {
    c.Move(X(kPictureLeft + left), Y(kPictureTop + top), X(width), Y(height));
}

// The title font: 宋体 21.75 points.
HFONT TitleFont() {
    HDC dc = GetDC(nullptr);
    const int px = MulDiv(2175, GetDeviceCaps(dc, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, dc);
    return CreateFontW(-px, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}
}  // namespace

void Form4::AboutArt::Free() {
    if (titleFont) DeleteObject(titleFont);
    titleFont = nullptr;
    for (HICON& i : icons) {
        if (i) DestroyIcon(i);
        i = nullptr;
    }
}

void Form4::LoadAboutControls() {
    // The pictures are made anew with the controls; those of an earlier load
    // went with its window (WM_NCDESTROY below).
    aboutArt.Free();
    aboutArt.titleFont = TitleFont();
    aboutArt.icons[0] = Icons::Create(10, 32);  // the about button's picture
    aboutArt.icons[1] = Icons::Create(22, 16);  // home page
    aboutArt.icons[2] = Icons::Create(23, 16);  // mail

    Label6.CreateOwnerDrawn(hwnd_, IdLabel6, kTitle, false);
    Label1.CreateOwnerDrawn(hwnd_, IdLabel1, kTitle, false);
    Label26.Create(hwnd_, IdLabel26, L"(0813)", false);
    Image1.CreateIcon(hwnd_, IdImage1, aboutArt.icons[0], false);
    Image2.CreateIcon(hwnd_, IdImage2, aboutArt.icons[1], false);
    Image3.CreateIcon(hwnd_, IdImage3, aboutArt.icons[2], false);
    Label4.Create(hwnd_, IdLabel4, Maker::web, false);
    Label27.Create(hwnd_, IdLabel27, Maker::web2, false);
    Label5.Create(hwnd_, IdLabel5, Maker::email, false);
    Line1.CreateLine(hwnd_, IdLine1, true, false);
    Line2.CreateLine(hwnd_, IdLine2, true, false);
    Line3.CreateLine(hwnd_, IdLine3, false, false);
    Line4.CreateLine(hwnd_, IdLine4, false, false);
    Line5.CreateLine(hwnd_, IdLine5, true, false);
    Command3.Create(hwnd_, IdCommand3, L"关闭(&C)", false);
    // Last, so that it lies below everything it holds; it draws nothing.
    Picture1.CreateOwnerDrawn(hwnd_, IdPicture1, {}, false);

    Place(Picture1, 0, 0, 4785, 3045);
    Place(Label6, 1185, 165, 2250, 435);
    Place(Label1, 1215, 165, 2250, 435);
    Place(Label26, 3630, 375, 540, 210);
    Place(Image1, 450, 105, 480, 480);
    Place(Line5, 300, 750, 3900, 30);
    Place(Line1, 300, 1200, 3900, 30);
    Place(Image2, 480, 1380, 240, 240);
    // The addresses' labels are wide enough for the whole address and as high
    // as a line of the dialog's font.
    Place(Label4, 810, 1410, 2610, 210);
    Place(Label27, 810, 1620, 3150, 210);
    Place(Image3, 480, 1890, 240, 240);
    Place(Label5, 810, 1920, 2610, 210);
    Place(Line2, 300, 2280, 3900, 30);
    Place(Line3, 300, 1200, 30, 1110);
    Place(Line4, 4170, 1200, 30, 1110);
    Place(Command3, 1515, 2505, 1215, 300);

    for (Control* c : std::initializer_list<Control*>{&Picture1, &Label6, &Label1, &Label26, &Label4, &Label27,
                                                      &Label5, &Image1, &Image2, &Image3, &Line1, &Line2, &Line3,
                                                      &Line4, &Line5, &Command3})
        AddToPage(*c, AboutPage);
    Label4.Click = [this] { Label4_Click(); };
    Label27.Click = [this] { Label27_Click(); };
    Label5.Click = [this] { Label5_Click(); };
    Command3.Click = [this] { Command3_Click(); };
}

bool Form4::OptionsAndAboutMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_CTLCOLORSTATIC: {
        const HWND h = reinterpret_cast<HWND>(lp);
        COLORREF colour;
        if (h == Label26.hwnd()) colour = kNavy;
        else if (h == Label4.hwnd() || h == Label5.hwnd() || h == Label24.hwnd() || h == Label25.hwnd()) colour = kBlue;
        else if (h == Label27.hwnd()) colour = kDarkBlue;
        else return false;
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, colour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (di->hwndItem == Picture1.hwnd()) {
            result = TRUE;  // the container shows nothing of its own
            return true;
        }
        if (di->hwndItem != Label6.hwnd() && di->hwndItem != Label1.hwnd()) return false;
        // Both copies of the title are drawn by whichever is painted, the
        // shadow first: the light copy stays on top in every order of painting.
        const RECT self = di->hwndItem == Label6.hwnd() ? Label6.Bounds() : Label1.Bounds();
        FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        HGDIOBJ old = SelectObject(di->hDC, aboutArt.titleFont ? aboutArt.titleFont : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(di->hDC, TRANSPARENT);
        const std::pair<const Picture*, COLORREF> copies[] = {{&Label6, GetSysColor(COLOR_BTNTEXT)},
                                                              {&Label1, kTitleColor}};
        for (const auto& [copy, colour] : copies) {
            RECT r = copy->Bounds();
            OffsetRect(&r, -self.left, -self.top);
            SetTextColor(di->hDC, colour);
            const std::wstring text = copy->Caption();
            DrawTextW(di->hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
        SelectObject(di->hDC, old);
        result = TRUE;
        return true;
    }
    case WM_NCDESTROY:
        // The controls are gone by now: their pictures can go too.
        aboutArt.Free();
        return false;
    default:
        return false;
    }
}

void Form4::OpenAboutPage() {
    if (!Load()) return;
    ShowPage(AboutPage);
    Place(Picture1, 0, 0, 4785, 3045);
    SetWidth(4530);
    SetHeight(3315);
    SetDefaultButton(nullptr);
    SetCancelButton(&Command3);
    SetCaption(kAboutCaption);
    Command3.SetFocus();
    ShowModal();
}

void Form4::Command3_Click() { Close(); }

void Form4::Label4_Click() { Launch::Open(hwnd_, L"open", Maker::web, {}, SW_SHOWNORMAL); }
void Form4::Label27_Click() { Launch::Open(hwnd_, L"open", Maker::web2, {}, SW_SHOWNORMAL); }
void Form4::Label5_Click() { Launch::Open(hwnd_, L"open", Maker::MailLink(), {}, SW_SHOWNORMAL); }
