// The main window's layout step and its satellites.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/mdlApi.h"

void Form2::Form_Resize() {
    if (!Exists()) return;
    LayoutControls();
    // While the main window is still hidden (the start-up sizing it) the satellites wait.
    if (!IsWindowVisible(hwnd_)) return;
    if (IsIconic(hwnd_)) {
        if (::Form3* props = Forms::Form3IfLoaded()) props->Hide();
        if (::frmShadow* shadow = Forms::frmShadowIfLoaded()) shadow->Hide();
        if (::Form1* bar = Forms::Form1IfLoaded()) bar->Hide();
        return;
    }
    const bool linked = WindowLink(), propertiesOn = PropertyWindowOn();
    if (!linked) {
        ShowWindow(Forms::frmShadow().hwnd(), SW_SHOWNA);
        if (propertiesOn) ShowWindow(Forms::Form3().hwnd(), SW_SHOWNA);
    }
    Forms::Form1();
    mdlApi::DockSatellites(hwnd_, linked, propertiesOn);
    mdlApi::HookMainWindow(hwnd_);
}
