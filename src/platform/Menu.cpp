#include "platform/Menu.h"

namespace {
std::function<std::wstring(const PopupMenu&)> g_chooser;
}

void PopupMenu::SetChooserForTests(std::function<std::wstring(const PopupMenu&)> chooser) {
    g_chooser = std::move(chooser);
}

namespace {
const MenuItem* FindIn(const std::vector<MenuItem>& items, const std::wstring& key) {
    for (const auto& i : items)
        if (i.key == key) return &i;
    for (const auto& i : items)
        if (const MenuItem* found = FindIn(i.Sub, key)) return found;
    return nullptr;
}
bool Usable(const MenuItem& i) { return i.visible && i.enabled && i.text != L"-"; }
const MenuItem* ChoosableIn(const std::vector<MenuItem>& items, const std::wstring& key) {
    for (const auto& i : items) {
        if (!Usable(i)) continue;
        if (i.Sub.empty()) {
            if (i.key == key) return &i;
        } else if (const MenuItem* found = ChoosableIn(i.Sub, key)) {
            return found;
        }
    }
    return nullptr;
}
// Appends the visible items to `menu`; `ids` gets each chosen item's command
// id (its index + 1) for the items of a submenu.
void Build(HMENU menu, const std::vector<MenuItem>& items, std::vector<const MenuItem*>& ids, bool top) {
    for (size_t n = 0; n < items.size(); ++n) {
        const MenuItem& it = items[n];
        if (!it.visible) continue;
        if (it.text == L"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING | (it.enabled ? 0 : MF_GRAYED) | (it.checked ? MF_CHECKED : 0);
        if (!it.Sub.empty()) {
            HMENU sub = CreatePopupMenu();
            if (!sub) continue;
            Build(sub, it.Sub, ids, false);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), it.text.c_str());
            continue;
        }
        UINT_PTR id = top ? n + 1 : 0;
        if (!top) {
            ids.push_back(&it);
            id = ids.size();
        }
        AppendMenuW(menu, flags, id, it.text.c_str());
    }
}
}  // namespace

MenuItem* PopupMenu::Item(const std::wstring& key) { return const_cast<MenuItem*>(FindIn(Items, key)); }
const MenuItem* PopupMenu::Item(const std::wstring& key) const { return FindIn(Items, key); }
const MenuItem* PopupMenu::Choosable(const std::wstring& key) const { return ChoosableIn(Items, key); }
MenuItem& PopupMenu::Add(const std::wstring& key, const std::wstring& text) {
    Items.push_back(MenuItem{key, text});
    return Items.back();
}
void PopupMenu::SetVisible(const std::wstring& key, bool on) {
    if (MenuItem* i = Item(key)) i->visible = on;
}
void PopupMenu::SetEnabled(const std::wstring& key, bool on) {
    if (MenuItem* i = Item(key)) i->enabled = on;
}

std::wstring PopupMenu::Popup(HWND owner, POINT pt) {
    std::wstring chosen;
    if (g_chooser) {
        chosen = g_chooser(*this);
    } else {
        HMENU menu = CreatePopupMenu();
        if (!menu) return {};
        // Submenu items take the ids after the top items'.
        std::vector<const MenuItem*> subIds(Items.size(), nullptr);
        Build(menu, Items, subIds, true);
        SetForegroundWindow(owner);
        UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | (Notify ? 0u : TPM_NONOTIFY), pt.x, pt.y, 0, owner, nullptr);
        DestroyMenu(menu);  // and its submenus
        if (cmd >= 1 && cmd <= Items.size()) chosen = Items[cmd - 1].key;
        else if (cmd > Items.size() && cmd <= subIds.size() && subIds[cmd - 1]) chosen = subIds[cmd - 1]->key;
    }
    if (!chosen.empty()) {
        if (!Choosable(chosen)) return {};
        if (Click) Click(chosen);
    }
    return chosen;
}
