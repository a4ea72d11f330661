#include "platform/Subclass.h"
#include "editor/Form1.h"

#include "common/TipRow.h"
#include "editor/Form3.h"
#include "editor/ValueTexts.h"
#include "mainwindow/Form2.h"
#include "platform/Icons.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>

namespace {
enum : int { IdImageCombo1 = 401, IdCommand1, IdLabel1 };
constexpr long long kClientHeight = 315;  // twips
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME, kExStyle = WS_EX_TOOLWINDOW;

std::wstring TrimBlanks(const std::wstring& s) { return Text::TrimSpaces(s); }
}  // namespace

Form1::~Form1() { Unload(); }

int Form1::OuterHeight() {
    RECT r{0, 0, 0, Twips::ToPixelsY(kClientHeight)};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    return r.bottom - r.top;
}

bool Form1::Load() {
    if (Exists()) return true;
    // No caption, a fixed dialog frame; the client area 315 twips high.
    RECT r{0, 0, Twips::ToPixelsX(4995), Twips::ToPixelsY(kClientHeight)};
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
    const SIZE size = TakeCreationSize(SIZE{r.right - r.left, r.bottom - r.top});
    if (!CreateForm(L"Quorix.Form1", L"", WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, nullptr, 0, 0,
                    size.cx, size.cy))
        return false;
    // The controls are made where the layout puts them at this size.
    planning_ = true;
    Form_Resize();
    planning_ = false;
    ImageList1.Create(16, 16);
    ImageList1.AddPictures({Icons::Argb(6, 16)});
    Label1.Create(hwnd_, IdLabel1, L"键值:");
    ImageCombo1.Create(hwnd_, IdImageCombo1, true, ImageList1.handle());
    Command1.Create(hwnd_, IdCommand1, L"+");
    Command1.Click = [this] { Command1_Click(); };
    // 1. The delete choice.
    ImageCombo1.AddItem(ValueTexts::DeleteChoice, 1);
    if (HWND edit = GetWindow(ImageCombo1.hwnd(), GW_CHILD))
        Subclass::Set(edit, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    Form_Resize();
    return true;
}

void Form1::Form_Resize() {
    if (!ImageCombo1.Exists() && !planning_) return;
    if (!planning_) NoteLaidOutSize();
    const long long width = Width() - 980;
    Label1.Move(Twips::ToPixelsX(75), Twips::ToPixelsY(60), Twips::ToPixelsX(450), Twips::ToPixelsY(180));
    if (width > 0) ImageCombo1.Move(Twips::ToPixelsX(540), 0, Twips::ToPixelsX(width), Twips::ToPixelsY(1500));
    RECT b = ImageCombo1.Bounds();
    const long long comboTwips = Twips::FromPixelsX(b.right - b.left);
    Command1.Move(Twips::ToPixelsX(comboTwips + 550), 0, Twips::ToPixelsX(345), Twips::ToPixelsY(kClientHeight));
}

void Form1::ImageCombo1_KeyPress(int keyAscii) {
    if (keyAscii != 13) return;
    ::Form2* main = Forms::Form2IfLoaded();
    if (!main) return;
    ListView& tips = main->ListView1;
    // The bar shows the tip the properties window shows: its row takes the
    // value, while it is selected; no other row ever does.
    const int row = main->ShownTipRow();
    if (row == 0 || !tips.Selected(row)) return;
    if (Form3::DeleteChoiceSelected(ImageCombo1)) {
        tips.SetSubIcon(row, 4, TipRow::IconDelete);
        tips.SetSubText(row, 4, ImageCombo1.Text());
        ImageCombo1.SetListIndex(0);
        return;
    }
    std::optional<long> type = TipRow::TypeNumber(tips.SubTag(row, 2));
    if (!type) return;
    const std::wstring text = TrimBlanks(ImageCombo1.Text());
    switch (*type) {
    case 0:
        tips.SetSubText(row, 4, text);
        tips.SetSubIcon(row, 4, 2);
        break;
    case 3:
        tips.SetSubText(row, 4, text);
        tips.SetSubIcon(row, 4, 5);
        break;
    case 1:
        tips.SetSubText(row, 4, text.empty() ? std::wstring(ValueTexts::ZeroLengthBinary) : text);
        tips.SetSubIcon(row, 4, 3);
        break;
    case 2:
        if (text.empty()) ImageCombo1.SetText(L"0");
        tips.SetSubText(row, 4, text.empty() ? std::wstring(L"0") : text);
        tips.SetSubIcon(row, 4, 4);
        break;
    default:
        break;
    }
}

LRESULT CALLBACK Form1::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<Form1*>(ref);
    if (msg == WM_CHAR && self->Exists()) self->ImageCombo1_KeyPress(static_cast<int>(wp));
    if (msg == WM_NCDESTROY) Subclass::Remove(h, EditProc, 1);
    return Subclass::Def(h, msg, wp, lp);
}

LRESULT Form1::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        if (SizeChangedSinceLayout()) Form_Resize();
        return 0;
    case WM_CLOSE:
        // The bar goes with its switch (F8) only, as the category window does.
        return 0;
    case WM_COMMAND:
        // Typing into the box leaves its delete choice.
        if (HIWORD(wp) == CBN_EDITCHANGE && reinterpret_cast<HWND>(lp) == ImageCombo1.hwnd()) {
            std::wstring t = ImageCombo1.Text();
            ImageCombo1.SetText(t);
            SendMessageW(ImageCombo1.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(t.size(), t.size()));
        }
        return Form::WndProc(msg, wp, lp);
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

namespace Forms {
::Form1& Form1() { return Loaded<::Form1>(); }
::Form1* Form1IfLoaded() { return IfLoaded<::Form1>(); }
}  // namespace Forms
