// Category favourites: bookmarks of category-tree nodes, one key per node's
// full path in section Favorite of config.ini, shown as the drop-down menu of
// the main toolbar's `viewscj` and chosen there to show the node again.
#include "common/Config.h"
#include "common/Ini.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <cstdio>

namespace Library {
namespace {

// "MM-DD-YYYY HH:MM:SS", 24-hour clock.
std::wstring Stamp() {
    const SYSTEMTIME t = App::Now();
    wchar_t time[16];
    std::swprintf(time, std::size(time), L" %02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return App::DateText(t) + time;
}

}  // namespace

bool AddCategoryFavourite() {
    ::frmShadow& shadow = Forms::frmShadow();
    const int node = shadow.TreeView1.SelectedItem();
    if (!node) return false;
    const std::wstring path = shadow.TreeView1.FullPath(node);
    // The key must come back as the path itself: a name with "=", one starting
    // with ";" or "[", or with blanks at its ends would be cut or lost by the
    // settings file (a category file can be named so outside the program).
    if (!Ini::SafeKey(path) || Text::Trim(path) != path) {
        App::MsgBox(L"无法将“" + path +
                        L"”添加入类别收藏夹：类别收藏夹不能保存含有“=”、以“;”或“[”开头或首尾有空格的类别名称。",
                    MB_OK | MB_ICONERROR);
        return false;
    }
    if (!Config::WriteEntry(Config::FavoriteSection, path, Stamp())) {
        App::MsgBox(L"添加类别收藏夹失败，config.ini 可能是只读的，或已被其它程序打开。", MB_OK | MB_ICONERROR);
        return false;
    }
    return true;
}

bool ShowCategoryFavourite(const std::wstring& text) {
    ::frmShadow& shadow = Forms::frmShadow();
    const std::wstring wanted = Text::UpperCase(Text::Trim(text));
    int target = 0;
    for (int n = 1, count = shadow.TreeView1.Count(); n <= count && !target; ++n)
        if (Text::UpperCase(shadow.TreeView1.FullPath(n)) == wanted) target = n;
    if (!target) {
        App::MsgBox(L"已经搜遍所有类别，没有找到指定的类别。", MB_OK | MB_ICONERROR);
        return false;
    }
    shadow.TreeView1.Select(target);
    if (HTREEITEM h = shadow.TreeView1.Handle(target))
        SendMessageW(shadow.TreeView1.hwnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(h));
    // Shown afresh as a click shows a node, also when it is the node shown:
    // category mode, the node's tips, its commands, the caption (the full path
    // for a sub-category, as a click gives it).
    shadow.ShowSelectedNode();
    return true;
}

}  // namespace Library
