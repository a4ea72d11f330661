// The main window's layout step and its satellites.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/mdlApi.h"
#include "common/Config.h"
#include "platform/Resize.h"
#include "platform/Twips.h"

#include <algorithm>

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

void Form2::PlanSatelliteSizes() {
    // As the load step sizes them: the main window to its saved size (not
    // below its least), linked satellites docked beside it as high as it and
    // the value bar together, unlinked ones to their own saved sizes (not
    // below their least); the bar as wide as the main window. A size the
    // load gives otherwise only costs the controls one move.
    auto px = [](const Config::Key& k) { return Twips::ToPixelsX(static_cast<long long>(Config::Number(k))); };
    auto py = [](const Config::Key& k) { return Twips::ToPixelsY(static_cast<long long>(Config::Number(k))); };
    const SIZE mainLeast = Resize::MinTrackPixels(Resize::kMainMinWidth, Resize::kMainMinHeight);
    const SIZE sideLeast = Resize::MinTrackPixels(Resize::kSideMinWidth, Resize::kSideMinHeight);
    const int mainW = std::max(px(Config::Width_1), static_cast<int>(mainLeast.cx));
    const int mainH = std::max(py(Config::Height_1), static_cast<int>(mainLeast.cy));
    const int barH = ::Form1::OuterHeight();
    const bool linked = WindowLink();
    auto side = [&](const Config::Key& w, const Config::Key& h, bool docked, int otherwiseH) {
        const int height = docked ? mainH + barH : linked ? otherwiseH : py(h);
        return SIZE{std::max(px(w), static_cast<int>(sideLeast.cx)), std::max(height, static_cast<int>(sideLeast.cy))};
    };
    if (!Forms::frmShadowIfLoaded())
        Forms::Instance<::frmShadow>().PlanCreationSize(side(Config::Width_2, Config::Height_2, linked, 0));
    if (!Forms::Form3IfLoaded())
        Forms::Instance<::Form3>().PlanCreationSize(
            side(Config::Width_3, Config::Height_3, linked && PropertyWindowOn(), Twips::ToPixelsY(3510)));
    if (!Forms::Form1IfLoaded()) Forms::Instance<::Form1>().PlanCreationSize(SIZE{mainW, barH});
}
