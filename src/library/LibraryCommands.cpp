// The main window's commands that the tip library carries out.
#include "library/Library.h"
#include "mainwindow/Form2.h"

void Form2::ReloadShownTips() { Library::ReloadShownTips(); }
