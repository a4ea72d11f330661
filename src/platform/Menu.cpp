#include "platform/Menu.h"

namespace {
std::function<std::wstring(const PopupMenu&)> g_chooser;
}

void PopupMenu::SetChooserForTests(std::function<std::wstring(const PopupMenu&)> chooser) {
    g_chooser = std::move(chooser);
}

MenuItem* PopupMenu::Item(const std::wstring& key) {
    for (auto& i : Items)
        if (i.key == key) return &i;
    return nullptr;
}
const MenuItem* PopupMenu::Item(const std::wstring& key) const {
    for (const auto& i : Items)
        if (i.key == key) return &i;
    return nullptr;
}
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
        for (size_t n = 0; n < Items.size(); ++n) {
            const MenuItem& it = Items[n];
            if (!it.visible) continue;
            if (it.text == L"-") {
                AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            UINT flags = MF_STRING | (it.enabled ? 0 : MF_GRAYED) | (it.checked ? MF_CHECKED : 0);
            AppendMenuW(menu, flags, n + 1, it.text.c_str());
        }
        SetForegroundWindow(owner);
        UINT cmd = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | (Notify ? 0u : TPM_NONOTIFY), pt.x, pt.y, 0, owner, nullptr);
        DestroyMenu(menu);
        if (cmd >= 1 && cmd <= Items.size()) chosen = Items[cmd - 1].key;
    }
    if (!chosen.empty()) {
        const MenuItem* it = Item(chosen);
        if (!it || !it->visible || !it->enabled || it->text == L"-") return {};
        if (Click) Click(chosen);
    }
    return chosen;
}
