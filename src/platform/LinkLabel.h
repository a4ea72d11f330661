#pragma once
// A label drawn as a link: blue underlined text in 9-point 宋体 (GB2312 character
// set), the hand pointer over it, and a Click event.
#include "platform/Window.h"

#include <functional>

class LinkLabel : public Control {
public:
    ~LinkLabel() override;
    bool Create(HWND parent, int id, const std::wstring& caption);
    std::wstring Caption() const { return CaptionText(); }
    std::function<void()> Click;
    bool OnCommand(UINT id, UINT code) override;
    static constexpr COLORREF kColor = RGB(0, 0, 255);

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    HFONT font_ = nullptr;
};
