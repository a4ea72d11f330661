#include "platform/Tooltip.h"

Tooltip::Tooltip() : tool_{} { tool_.lpszText = text_.data(); }

Tooltip::~Tooltip() { Release(); }

HWND Tooltip::hwnd() const {
    // The tip window goes with its owner's top-level window; a handle kept
    // after that is no window of ours.
    return tip_ && IsWindow(tip_) ? tip_ : nullptr;
}

void Tooltip::SendTitle() const {
    SendMessageW(tip_, TTM_SETTITLEW, static_cast<WPARAM>(icon_), reinterpret_cast<LPARAM>(title_.c_str()));
}

void Tooltip::SetIcon(int icon) {
    icon_ = icon;
    if (hwnd() && !title_.empty() && icon_ != 0) SendTitle();
}

void Tooltip::SetTitle(const std::wstring& title) {
    title_ = title;
    if (hwnd() && !title_.empty() && icon_ != 0) SendTitle();
}

void Tooltip::SetForeColor(COLORREF c) {
    foreColor_ = c;
    if (hwnd()) SendMessageW(tip_, TTM_SETTIPTEXTCOLOR, c, 0);
}

void Tooltip::SetBackColor(COLORREF c) {
    backColor_ = c;
    if (hwnd()) SendMessageW(tip_, TTM_SETTIPBKCOLOR, c, 0);
}

void Tooltip::SetTipText(const std::wstring& text) {
    text_ = text;
    tool_.lpszText = text_.data();
    if (hwnd()) SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool_));
}

void Tooltip::SetMaxTipWidth(int px) {
    maxWidth_ = px;
    if (hwnd()) SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, px);
}

bool Tooltip::Create() {
    Release();

    DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX;
    if (style_ == kBalloon) style |= TTS_BALLOON;

    if (!parent_) return false;
    HWND owner = parent_->hwnd();
    if (!owner || !IsWindow(owner)) return false;

    Ui::InitCommonControlsOnce();
    tip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, owner, nullptr, Ui::Instance(), nullptr);
    if (!tip_) return false;
    SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    tool_ = TOOLINFOW{};
    tool_.cbSize = sizeof(tool_);
    tool_.uFlags = (relayed_ ? 0 : TTF_SUBCLASS) | (centered_ ? TTF_CENTERTIP : 0);
    tool_.hwnd = owner;
    tool_.uId = 0;
    GetClientRect(owner, &tool_.rect);
    tool_.hinst = Ui::Instance();
    tool_.lpszText = text_.data();
    if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_))) {
        // A tip window without its tool would show nothing: do not keep it.
        DestroyWindow(tip_);
        tip_ = nullptr;
        return false;
    }

    if (!title_.empty() || icon_ != 0) SendTitle();
    if (foreColor_ != 0) SendMessageW(tip_, TTM_SETTIPTEXTCOLOR, foreColor_, 0);
    if (backColor_ != 0) SendMessageW(tip_, TTM_SETTIPBKCOLOR, backColor_, 0);
    if (maxWidth_ != kNoMaxWidth) SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, maxWidth_);
    return true;
}

void Tooltip::Relay(HWND control, UINT msg, WPARAM wp, LPARAM lp) const {
    if (!relayed_ || !hwnd()) return;
    MSG m{};
    m.hwnd = control;
    m.message = msg;
    m.wParam = wp;
    m.lParam = lp;
    m.time = static_cast<DWORD>(GetMessageTime());
    const DWORD pos = GetMessagePos();
    m.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
}

void Tooltip::Release() {
    if (hwnd()) {
        // Removing the tool first takes the control's hook off the tool window
        // even where the system would leave it to the tip window's end.
        SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
        DestroyWindow(tip_);
    }
    tip_ = nullptr;
}
