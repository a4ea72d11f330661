// The openers of the value editor page: the four items under 新建 of the
// live-value popup, and 修改 (also a double click on a live row).
#include "dialogs/Form4.h"
#include "editor/Form3.h"
#include "mainwindow/Form2.h"

void Form2::regzfc_Click() { Forms::Form4().OpenValueEditorNew(Form4::NewValueKind::String); }

void Form2::regkc_Click() { Forms::Form4().OpenValueEditorNew(Form4::NewValueKind::ExpandString); }

void Form2::regejz_Click() { Forms::Form4().OpenValueEditorNew(Form4::NewValueKind::Binary); }

void Form2::regdword_Click() { Forms::Form4().OpenValueEditorNew(Form4::NewValueKind::Dword); }

void Form2::Regxgok() {
    ListView& list = Forms::Form3().ListView2;
    const int row = list.SelectedItem();
    if (row == 0 || !list.Selected(row)) return;
    // Multi-strings, QWORDs and other types are listed but not edited here.
    const LiveValue* v = Forms::Form3().LiveValueAt(row);
    if (!v || !Form3::LiveKindEditable(*v)) return;
    Forms::Form4().OpenValueEditorEdit(row);
}
