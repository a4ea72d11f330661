#pragma once
// Shared state of the tip library and the services it uses of the neighbouring
// windows. The neighbours (tip properties window, value bar, applying, paste,
// find window) hook themselves in here; until they do, a hook does nothing.
#include <functional>
#include <string>
#include <utility>
#include <vector>

class ListView;

namespace Library {

// Full path of the category-tree node whose tips the list shows; empty while the
// list shows a tip data file. Only used to ignore a click on the node shown.
extern std::wstring CurrentCategoryPath;
// Full path of the file-list entry whose tips the list shows; empty while the
// list shows a category.
extern std::wstring CurrentDataFilePath;

struct Services {
    std::function<void()> ShowItem;    // show the selected tip in the properties window and value bar
    std::function<void()> StartWork;   // apply the ticked tips
    std::function<void()> Pasteok;     // paste the tip clipboard into the list target
    std::function<void()> Closejqsx;   // show or hide the properties window
    // Open the find window with these scope rows added (text, tree-node index), first one selected.
    std::function<void(const std::vector<std::pair<std::wstring, int>>& scopeRows)> OpenFind;
    // Buttons of the properties window: "xj", "next", "xiugai" (bottom toolbar), "edit" (option toolbar).
    std::function<void(const std::wstring& key, bool on)> SetPropertiesButton;
    std::function<void(bool on)> SetValueBarEnabled;  // value box and its "+" button
    std::function<void()> ClearLiveValues;            // empty the live-value list
    std::function<void(const std::wstring& flag)> SetLiveKeyFlag;  // the live-value list's tag
    // Fits the tip list's columns (width code -1). Defaults to Form2::AutoSizeTipColumns.
    std::function<void(ListView& list, int width)> AutoSizeTipColumns;
};
Services& Hooks();

// The file and section whose tips the list shows: in category mode the selected
// category-tree node's file, section 数据 for a category and the node's text
// otherwise; in data-file mode the selected file-list entry, section 数据.
// False when nothing is selected.
bool ListTarget(std::wstring& file, std::wstring& section);

// Loads the list target afresh (the status bar's reload): the rows, the command
// states and status texts of a load, the properties window, and the columns
// when [Data] AutoWidth is on.
void ReloadShownTips();

// Opens the find window on the category of the category tree's selected node
// (the toolbar's find, Ctrl+F in the tip list and in the category window).
// Nothing opens while no node is selected.
void OpenFindWindow();

// ---- category favourites ([Favorite] of config.ini; Favourites.cpp) ----
// Adds the category tree's selected node: its full path as the key, the date
// and time as the value (a key already there keeps its place). A path the key
// cannot hold, and a write that fails, are told in a message; false then.
bool AddCategoryFavourite();
// Shows the node whose full path is `text` (blanks at both ends and letter case
// aside), as a click on it does, in category mode; the first such node in the
// tree's order. A message when no node has that path; false then.
bool ShowCategoryFavourite(const std::wstring& text);

}  // namespace Library
