#include "platform/Label.h"

bool Label::Create(HWND parent, int id, const std::wstring& caption, bool visible) {
    return CreateChild(parent, L"STATIC", SS_LEFT | (visible ? WS_VISIBLE : 0), 0, id, caption);
}
