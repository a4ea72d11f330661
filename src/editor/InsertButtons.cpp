// The "+" beside each value box: names the box as the insert target and pops
// up the main window's insert menu 插入 just under the button.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "mainwindow/Form2.h"
#include "platform/Twips.h"

namespace {
// The button's left edge, `below` twips under its top, on the screen.
POINT UnderButton(HWND form, const CommandButton& button, long long below) {
    const RECT b = button.Bounds();
    POINT pt{b.left, b.top + Twips::ToPixelsY(below)};
    ClientToScreen(form, &pt);
    return pt;
}
}  // namespace

void Form1::Command1_Click() {
    // The properties window holds the target; when it is not loaded it holds
    // no "ok", which already names the value bar.
    if (::Form3* props = Forms::Form3IfLoaded()) props->Command3.Tag = L"no";
    ::Form2& main = Forms::Form2();
    main.cha.Popup(hwnd_, UnderButton(hwnd_, Command1, 315));
}

void Form3::Command3_Click() {
    Command3.Tag = L"ok";
    // The button's top is measured on the window; 315 twips bring the menu under it.
    ::Form2& main = Forms::Form2();
    main.cha.Popup(hwnd_, UnderButton(hwnd_, Command3, 315));
}
