#pragma once
// Driving controls as a user would, through the message queue: keys are posted
// to the window with the focus's part in them and handled by the same loop
// steps (translation, dispatch) that the program's loop gives them.
#include <windows.h>

#include <string>

namespace Drive {

inline void Pump() {
    MSG m;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(10);
    }
}

// A key pressed and released on `h` (posted; Pump or a modal loop handles it).
inline void PostKey(HWND h, UINT vk) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    PostMessageW(h, WM_KEYDOWN, vk, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(h, WM_KEYUP, vk, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

// Replaces the text of an edit box by typing: everything selected, then one
// character message per character.
inline void Type(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
}

inline std::wstring WindowText(HWND h) {
    int n = GetWindowTextLengthW(h);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(h, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}

}  // namespace Drive
