#include "editor/Form1.h"

#include "editor/ValueTexts.h"
#include "platform/Twips.h"

namespace {
enum : int { IdImageCombo1 = 401, IdCommand1 };
}

Form1::~Form1() { Unload(); }

bool Form1::Load() {
    if (Exists()) return true;
    if (!CreateForm(L"Quorix.Form1", L"", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, nullptr, 0, 0,
                    Twips::ToPixelsX(5595), Twips::ToPixelsY(450)))
        return false;
    ImageCombo1.Create(hwnd_, IdImageCombo1, true);
    ImageCombo1.AddItem(ValueTexts::DeleteChoice);
    Command1 = CreateWindowExW(0, L"BUTTON", L"+", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 10, 10, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdCommand1)), Ui::Instance(), nullptr);
    if (Command1) SendMessageW(Command1, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    LayoutControls();
    return true;
}

void Form1::LayoutControls() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    int h = rc.bottom - 4;
    ImageCombo1.Move(2, 2, rc.right - h - 8, 200);
    if (Command1) MoveWindow(Command1, rc.right - h - 3, 2, h, h, TRUE);
}

LRESULT Form1::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) {
        LayoutControls();
        return 0;
    }
    return Form::WndProc(msg, wp, lp);
}

namespace Forms {
::Form1& Form1() { return Loaded<::Form1>(); }
::Form1* Form1IfLoaded() { return IfLoaded<::Form1>(); }
}  // namespace Forms
