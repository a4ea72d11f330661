#include "library/Library.h"

#include "common/Ini.h"
#include "common/TipFile.h"
#include "library/Form5.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/ListView.h"
#include "platform/Text.h"
#include "platform/Twips.h"

namespace Library {

std::wstring CurrentCategoryPath;
std::wstring CurrentDataFilePath;

Services& Hooks() {
    static Services s = [] {
        Services d;
        d.AutoSizeTipColumns = [](ListView& list, int width) { Form2::AutoSizeTipColumns(list, width); };
        d.StartWork = [] { Forms::Form2().StartWork(); };
        d.OpenFind = [](const std::vector<std::pair<std::wstring, int>>& rows) { Forms::Form5().Open(rows); };
        return d;
    }();
    return s;
}

bool ListTarget(std::wstring& file, std::wstring& section) {
    ::frmShadow& shadow = Forms::frmShadow();
    if (Forms::Form2().CategoryMode()) {
        int node = shadow.TreeView1.SelectedItem();
        if (!node) return false;
        file = shadow.TreeView1.NodeTag(node);
        section = shadow.NodeSection(node);
        return true;
    }
    int entry = shadow.TreeView2.SelectedItem();
    if (!entry) return false;
    file = shadow.TreeView2.Text(entry);
    section = TipFile::DataSection;
    return true;
}

void ReloadShownTips() {
    std::wstring file, section;
    if (!ListTarget(file, section)) return;
    Forms::frmShadow().Shownode(file, section);
    if (Hooks().ShowItem) Hooks().ShowItem();
    Forms::frmShadow().FitColumnsWhenRows();
}

}  // namespace Library
