#pragma once
// Puts a text on the clipboard as a user's copy would, for the paste routes.
#include <windows.h>

#include <cstring>
#include <string>

inline bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool put = false;
    if (void* p = mem ? GlobalLock(mem) : nullptr) {
        memcpy(p, text.c_str(), bytes);
        GlobalUnlock(mem);
        put = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    }
    if (!put && mem) GlobalFree(mem);
    CloseClipboard();
    return put;
}
