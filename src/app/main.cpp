// Quorix: entry point. The main window is the start-up window; its load step
// does everything else.
#include "mainwindow/Form2.h"
#include "platform/App.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (App::PrevInstance()) return 0;
    Form2& main = Forms::Form2();
    if (!main.Exists()) return 1;
    main.Show();
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
