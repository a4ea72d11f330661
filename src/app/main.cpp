// Quorix: entry point. The main window is the start-up window; its load step
// does everything else (a second instance ends there, before anything is read).
#include "mainwindow/Form2.h"
#include "platform/DialogKeys.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Form2& main = Forms::Form2();
    if (!main.Exists()) return 0;
    main.QuitOnDestroy = true;
    main.Show();
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) Ui::Dispatch(m);
    return 0;
}
