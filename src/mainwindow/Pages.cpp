// The toolbar's options, about, home-page and mail commands.
#include "common/Maker.h"
#include "dialogs/Form4.h"
#include "mainwindow/Form2.h"
#include "platform/Launch.h"

void Form2::OpenOptionsPage() { Forms::Form4().OpenOptionsPage(); }

void Form2::OpenAboutPage() { Forms::Form4().OpenAboutPage(); }

void Form2::OpenHomePage() { Launch::Open(hwnd_, L"open", Maker::web, {}, SW_SHOWNORMAL); }

void Form2::WriteToMakers() { Launch::Open(hwnd_, L"open", Maker::MailLink(), {}, SW_SHOWNORMAL); }
