#pragma once
// Popup menus built from their items each time they open, so that an item's
// visibility is a plain flag. Items are addressed by key; the text "-" makes a
// separator line.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct MenuItem {
    std::wstring key;
    std::wstring text;  // "-" for a separator
    bool visible = true;
    bool enabled = true;
    bool checked = false;
    // Items of a submenu: an item that has any opens them and is not chosen itself.
    std::vector<MenuItem> Sub = {};
};

class PopupMenu {
public:
    std::vector<MenuItem> Items;

    // An item by key, its submenus' items included.
    MenuItem* Item(const std::wstring& key);
    const MenuItem* Item(const std::wstring& key) const;
    MenuItem& Add(const std::wstring& key, const std::wstring& text);
    void SetVisible(const std::wstring& key, bool on);
    void SetEnabled(const std::wstring& key, bool on);

    // Builds the menu from the visible items and tracks it at a screen point.
    // Returns the key of the chosen item (empty when none) and calls Click with it.
    std::wstring Popup(HWND owner, POINT screenPt);
    // Called with the chosen item's key.
    std::function<void(const std::wstring& key)> Click;
    // When set, the owner is sent the menu loop's notifications (WM_MENUSELECT
    // while an item is highlighted); item n of Items has the command id n + 1
    // (submenu items come after them).
    bool Notify = false;

    // Test seam: while set, Popup does not show the menu but asks this function
    // which key to choose (it sees the menu's visible items).
    static void SetChooserForTests(std::function<std::wstring(const PopupMenu&)> chooser);

private:
    // The item and whether it can be chosen: it and every item above it are
    // visible and enabled, it is no separator and opens no submenu.
    const MenuItem* Choosable(const std::wstring& key) const;
};
