#pragma once
// A key pressed on a window through the program's own message loop (key
// preview, dialog keys and translation as the running program gives them),
// with a modifier held in the thread's key state that GetKeyState reads (with
// VK_MENU, Alt, the key comes as the system-key messages Alt gives).
#include "platform/Window.h"

#include <windows.h>

namespace PostedKey {

inline void Settle() {
    for (int i = 0; i < 5; ++i) {
        Ui::DoEvents();
        Sleep(10);
    }
}

inline void Press(HWND h, UINT vk, WORD modifier = 0) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
    const bool alt = modifier == VK_MENU;
    const UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN, up = alt ? WM_SYSKEYUP : WM_KEYUP;
    const LPARAM context = alt ? 1LL << 29 : 0;
    BYTE state[256] = {};
    if (modifier) {
        GetKeyboardState(state);
        state[modifier] = 0x80;
        SetKeyboardState(state);
    }
    PostMessageW(h, down, vk, 1 | scan | context);
    PostMessageW(h, up, vk, 1 | scan | context | (3LL << 30));
    Settle();
    if (modifier) {
        GetKeyboardState(state);
        state[modifier] = 0;
        SetKeyboardState(state);
    }
}

}  // namespace PostedKey
