// Listing the live values under the selected tip's key: for now the list is
// emptied and LiveKeyFlag tells whether the key opens.
#include "editor/Form3.h"
#include "engine/Registry.h"
#include "engine/cRegistry.h"
#include "mainwindow/Form2.h"

void Form2::Showvaluesx() {
    if (ListView1.Count() == 0) return;
    int row = ListView1.SelectedItem();
    if (row == 0 || !ListView1.Selected(row)) return;
    ::Form3& props = Forms::Form3();
    const std::wstring keyPath = ListView1.SubTag(row, 1);
    const size_t slash = keyPath.find(L'\\');
    HKEY root = Registry::RootKeyFromName(keyPath.substr(0, slash));
    if (!root) {
        props.ListView2.Clear();
        return;
    }
    cRegistry reg;
    reg.ClassKey = root;
    reg.SectionKey = slash == std::wstring::npos ? std::wstring() : keyPath.substr(slash + 1);
    std::vector<std::wstring> names;
    props.ListView2.Tag = reg.EnumerateValues(names) ? L"yes" : L"no";
    props.ListView2.Clear();
}
