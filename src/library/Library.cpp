#include "library/Library.h"

#include "common/Config.h"
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
        d.Pasteok = [] { Forms::Form2().Pasteok(); };
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
    ::frmShadow& shadow = Forms::frmShadow();
    ::Form2& main = Forms::Form2();
    const std::wstring title = App::Title();
    if (main.CategoryMode()) {
        const int node = shadow.TreeView1.SelectedItem();
        if (!node) return;
        if (shadow.TreeView1.Children(node) == 0) {
            // A sub-category or the favourites: the caption names the node's path,
            // and favourites come ticked as a click on the node gives them.
            main.SetCaption(title + L" - " + shadow.TreeView1.FullPath(node));
            shadow.Shownode(shadow.TreeView1.NodeTag(node), shadow.TreeView1.Text(node));
            if (shadow.TreeView1.Text(node) == TipFile::FavouritesSection && Config::On(Config::AutoCheck))
                for (int r = 1; r <= main.ListView1.Count(); ++r) main.ListView1.SetChecked(r, true);
            if (Hooks().ShowItem) Hooks().ShowItem();
        } else {
            shadow.Shownode(shadow.TreeView1.NodeTag(node), TipFile::DataSection);
            if (Hooks().ShowItem) Hooks().ShowItem();
        }
    } else {
        const int entry = shadow.TreeView2.SelectedItem();
        if (!entry) return;
        const std::wstring path = shadow.TreeView2.Text(entry);
        shadow.Shownode(path, TipFile::DataSection);
        if (Hooks().ShowItem) Hooks().ShowItem();
        main.SetCaption(title + L" - " + path);
    }
    shadow.FitColumnsWhenRows();
}

}  // namespace Library
