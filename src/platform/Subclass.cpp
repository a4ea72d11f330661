#include "platform/Subclass.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace Subclass {
namespace {
struct Entry {
    SUBCLASSPROC proc;
    UINT_PTR id;
    DWORD_PTR ref;
    bool removed = false;
};
struct Chain {
    WNDPROC original = nullptr;
    std::vector<Entry> entries;  // in the order installed; the last runs first
    std::vector<size_t> at;      // per message being handled: the entry running
};
// Windows live on the one thread that made them.
std::unordered_map<HWND, std::unique_ptr<Chain>> g_chains;
// The chain found last: a message runs through every procedure of one chain,
// each asking for it again.
HWND g_lastWindow = nullptr;
Chain* g_lastChain = nullptr;

Chain* Find(HWND h) {
    if (h == g_lastWindow && g_lastChain) return g_lastChain;
    auto it = g_chains.find(h);
    if (it == g_chains.end()) return nullptr;
    g_lastWindow = h;
    g_lastChain = it->second.get();
    return g_lastChain;
}

void Erase(HWND h) {
    if (h == g_lastWindow) g_lastWindow = nullptr, g_lastChain = nullptr;
    g_chains.erase(h);
}

LRESULT CALLBACK Master(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// Drops removed entries once no message is in the chain; gives the window its
// own procedure back when nothing is left (unless another has replaced ours).
void Tidy(HWND h, Chain* c) {
    if (!c->at.empty()) return;
    std::erase_if(c->entries, [](const Entry& e) { return e.removed; });
    if (!c->entries.empty()) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)) != &Master) return;
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(c->original));
    Erase(h);
}

LRESULT CALLBACK Master(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* c = Find(h);
    if (!c) return DefWindowProcW(h, msg, wp, lp);
    const WNDPROC original = c->original;
    c->at.push_back(c->entries.size());
    LRESULT r = Def(h, msg, wp, lp);
    c = Find(h);
    if (!c) return r;
    c->at.pop_back();
    if (msg == WM_NCDESTROY) {
        if (c->at.empty()) {
            SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
            Erase(h);
        }
    } else {
        Tidy(h, c);
    }
    return r;
}
}  // namespace

bool Set(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR ref) {
    if (!h || !proc || !IsWindow(h)) return false;
    Chain* c = Find(h);
    if (!c) {
        auto chain = std::make_unique<Chain>();
        chain->original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
        if (!chain->original) return false;
        c = chain.get();
        g_chains[h] = std::move(chain);
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Master));
    }
    for (Entry& e : c->entries)
        if (!e.removed && e.proc == proc && e.id == id) {
            e.ref = ref;
            return true;
        }
    c->entries.push_back({proc, id, ref});
    return true;
}

bool Remove(HWND h, SUBCLASSPROC proc, UINT_PTR id) {
    Chain* c = Find(h);
    if (!c) return false;
    bool found = false;
    for (Entry& e : c->entries)
        if (!e.removed && e.proc == proc && e.id == id) {
            e.removed = true;
            found = true;
        }
    if (found) Tidy(h, c);
    return found;
}

LRESULT Def(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* c = Find(h);
    if (!c) return DefWindowProcW(h, msg, wp, lp);
    if (c->at.empty()) return CallWindowProcW(c->original, h, msg, wp, lp);
    const size_t here = c->at.back();
    for (size_t i = here; i-- > 0;) {
        if (c->entries[i].removed) continue;
        const Entry e = c->entries[i];
        c->at.back() = i;
        LRESULT r = e.proc(h, msg, wp, lp, e.id, e.ref);
        if (Chain* still = Find(h); still && !still->at.empty()) still->at.back() = here;
        return r;
    }
    return CallWindowProcW(c->original, h, msg, wp, lp);
}
}  // namespace Subclass
