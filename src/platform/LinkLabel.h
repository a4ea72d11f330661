#pragma once
// A text that opens something when clicked: a static that reports clicks and
// shows the hand pointer while the mouse is over it. Its colour is the parent
// form's to give (WM_CTLCOLORSTATIC), as for every static.
#include "platform/Label.h"

#include <functional>

class LinkLabel : public Label {
public:
    ~LinkLabel() override;
    bool Create(HWND parent, int id, const std::wstring& caption = {}, bool visible = true);
    std::function<void()> Click;
    bool OnCommand(UINT id, UINT code) override;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
};
