// The main window's commands that other windows carry out.
#include "dialogs/Form4.h"
#include "library/Library.h"
#include "mainwindow/Form2.h"

void Form2::OpenRestorePage() { Forms::Form4().OpenRestorePage(); }

void Form2::ReloadShownTips() { Library::ReloadShownTips(); }
