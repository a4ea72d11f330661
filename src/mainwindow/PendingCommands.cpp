// Commands of the main window that other parts of the program build. These
// empty bodies only let this branch link; the real ones replace this file.
#include "mainwindow/Form2.h"

void Form2::StartWork() {}
void Form2::OpenRestorePage() {}
