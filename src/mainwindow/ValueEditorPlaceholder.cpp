// Entry points of the value editor page; they do nothing until the page is built.
#include "mainwindow/Form2.h"

void Form2::Regxgok() {}
void Form2::regzfc_Click() {}
void Form2::regkc_Click() {}
void Form2::regejz_Click() {}
void Form2::regdword_Click() {}
