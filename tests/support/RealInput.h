#pragma once
// Real input as a user gives it: key presses and mouse clicks through the
// system's input queue (SendInput), so they reach whatever window has the
// focus or lies under the pointer, by the same route a keyboard or mouse takes.
#include <windows.h>

#include <initializer_list>
#include <vector>

namespace RealInput {

// Presses `vk` with the modifier keys held (VK_MENU for Alt, VK_SHIFT, VK_CONTROL).
inline void Key(WORD vk, std::initializer_list<WORD> held = {}) {
    std::vector<INPUT> in;
    auto add = [&in](WORD key, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = key;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    for (WORD h : held) add(h, false);
    add(vk, false);
    add(vk, true);
    for (auto it = std::rbegin(held); it != std::rend(held); ++it) add(*it, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

// A left click at a point of the screen.
inline void Click(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in[3]{};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / (w - 1));
        i.mi.dy = static_cast<LONG>((screen.y * 65535LL + h / 2) / (h - 1));
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    in[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    in[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
}

// Moves the pointer to a point of the screen.
inline void MoveTo(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT i{};
    i.type = INPUT_MOUSE;
    i.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / (w - 1));
    i.mi.dy = static_cast<LONG>((screen.y * 65535LL + h / 2) / (h - 1));
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &i, sizeof(INPUT));
}

// The centre of a window, in screen coordinates.
inline POINT CentreOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace RealInput
