#include "platform/Toolbar.h"

bool Toolbar::Create(HWND parent, int id, DWORD place) {
    buttons_.clear();  // a toolbar made again starts with no buttons
    if (!CreateChild(parent, TOOLBARCLASSNAMEW, WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_WRAPABLE | place | CCS_NODIVIDER,
                     0, id))
        return false;
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(hwnd_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    // The tool tips come with the first buttons: a tip window made now would
    // have its tools' rectangles moved at every button added.
    return true;
}

void Toolbar::MakeToolTips() {
    if (!hwnd_ || SendMessageW(hwnd_, TB_GETTOOLTIPS, 0, 0)) return;
    HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, Ui::Instance(), nullptr);
    if (!tips) return;
    // One tool per button, its text asked for when it shows (TTN_GETDISPINFO).
    for (int i = 1; i <= Count(); ++i) {
        if (ButtonStyle(i) == Style::Separator) continue;
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = hwnd_;
        ti.uId = static_cast<UINT_PTR>(CommandId(i));
        SendMessageW(hwnd_, TB_GETITEMRECT, i - 1, reinterpret_cast<LPARAM>(&ti.rect));
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    // The toolbar keeps the tools' places and passes the pointer on to them
    // from here; the style says so to the toolbar (its own window is not made
    // once it has one).
    SendMessageW(hwnd_, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips), 0);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | TBSTYLE_TOOLTIPS);
    // Tool-tip requests come from the tip window: route them here too.
    AttachAlias(tips);
}

void Toolbar::SetImageList(HIMAGELIST list) {
    SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    AutoSize();
}

void Toolbar::AddButtons(const std::vector<ButtonSpec>& specs) {
    std::vector<TBBUTTON> tbs;
    tbs.reserve(specs.size());
    for (const ButtonSpec& spec : specs) {
        Button b;
        b.key = spec.key;
        b.style = spec.style;
        b.description = spec.description;
        b.toolTip = spec.toolTip;
        b.image = spec.image;
        buttons_.push_back(std::move(b));
        const int index = Count();
        TBBUTTON tb{};
        tb.iBitmap = spec.style == Style::Separator ? 6 : (spec.image > 0 ? spec.image - 1 : I_IMAGENONE);
        tb.idCommand = spec.style == Style::Separator ? 0 : CommandId(index);
        tb.fsState = TBSTATE_ENABLED;
        tb.fsStyle = spec.style == Style::Separator ? BTNS_SEP
                     : spec.style == Style::Check   ? BTNS_CHECK
                     : spec.style == Style::DropDown ? BTNS_DROPDOWN
                                                     : BTNS_BUTTON;
        tb.iString = -1;
        tbs.push_back(tb);
    }
    if (tbs.empty()) return;
    SendMessageW(hwnd_, TB_ADDBUTTONSW, tbs.size(), reinterpret_cast<LPARAM>(tbs.data()));
    // Buttons added once the tips exist get their tools from the toolbar itself.
    MakeToolTips();
}

int Toolbar::AddButton(const std::wstring& key, Style style, const std::wstring& description,
                       const std::wstring& toolTip, int image) {
    AddButtons({ButtonSpec{key, style, description, toolTip, image}});
    return Count();
}

int Toolbar::IndexOf(const std::wstring& key) const {
    if (key.empty()) return 0;
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i].key == key) return static_cast<int>(i) + 1;
    return 0;
}

std::wstring Toolbar::Key(int i) const { return i >= 1 && i <= Count() ? buttons_[static_cast<size_t>(i - 1)].key : L""; }
std::wstring Toolbar::Description(int i) const {
    return i >= 1 && i <= Count() ? buttons_[static_cast<size_t>(i - 1)].description : L"";
}
std::wstring Toolbar::ToolTip(int i) const {
    return i >= 1 && i <= Count() ? buttons_[static_cast<size_t>(i - 1)].toolTip : L"";
}
Toolbar::Style Toolbar::ButtonStyle(int i) const {
    return i >= 1 && i <= Count() ? buttons_[static_cast<size_t>(i - 1)].style : Style::Separator;
}

bool Toolbar::Enabled(int i) const {
    if (i < 1 || i > Count() || ButtonStyle(i) == Style::Separator) return false;
    return SendMessageW(hwnd_, TB_ISBUTTONENABLED, CommandId(i), 0) != 0;
}

void Toolbar::SetEnabled(int i, bool on) {
    if (i < 1 || i > Count() || ButtonStyle(i) == Style::Separator) return;
    SendMessageW(hwnd_, TB_ENABLEBUTTON, CommandId(i), MAKELPARAM(on ? TRUE : FALSE, 0));
}

bool Toolbar::Pressed(const std::wstring& key) const {
    int i = IndexOf(key);
    return i && SendMessageW(hwnd_, TB_ISBUTTONCHECKED, CommandId(i), 0) != 0;
}

void Toolbar::SetPressed(const std::wstring& key, bool on) {
    if (int i = IndexOf(key)) SendMessageW(hwnd_, TB_CHECKBUTTON, CommandId(i), MAKELPARAM(on ? TRUE : FALSE, 0));
}

int Toolbar::Image(const std::wstring& key) const {
    int i = IndexOf(key);
    return i ? buttons_[static_cast<size_t>(i - 1)].image : 0;
}

void Toolbar::SetImage(const std::wstring& key, int image) {
    int i = IndexOf(key);
    if (!i) return;
    buttons_[static_cast<size_t>(i - 1)].image = image;
    SendMessageW(hwnd_, TB_CHANGEBITMAP, CommandId(i), image > 0 ? image - 1 : I_IMAGENONE);
}

RECT Toolbar::ButtonRect(int index) const {
    RECT r{};
    SendMessageW(hwnd_, TB_GETITEMRECT, index - 1, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(hwnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Toolbar::PreferredHeight() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

void Toolbar::AutoSize() { SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0); }

void Toolbar::FitToRows() {
    if (!hwnd_) return;
    // Sized to the parent's width by the toolbar itself, which lays out its rows.
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~static_cast<LONG_PTR>(CCS_NORESIZE);
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    AutoSize();
    // The lowest button's bottom; a separator at a wrap takes no row of its own.
    int bottom = 0;
    for (int i = 0, n = static_cast<int>(SendMessageW(hwnd_, TB_BUTTONCOUNT, 0, 0)); i < n; ++i) {
        TBBUTTON b{};
        if (!SendMessageW(hwnd_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b))) continue;
        if ((b.fsState & TBSTATE_HIDDEN) || (b.fsStyle & BTNS_SEP)) continue;
        RECT r{};
        if (SendMessageW(hwnd_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) && r.bottom > bottom) bottom = r.bottom;
    }
    // From here on the toolbar keeps the height given, also when a change of
    // its buttons would have it size itself again.
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style | CCS_NORESIZE);
    if (bottom <= 0) return;
    RECT window{}, client{};
    GetWindowRect(hwnd_, &window);
    GetClientRect(hwnd_, &client);
    const int height = bottom + (window.bottom - window.top) - client.bottom;  // plus any border
    if (height < window.bottom - window.top)
        SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

PopupMenu& Toolbar::ButtonMenus(const std::wstring& key) {
    static PopupMenu none;
    int i = IndexOf(key);
    if (!i) {
        none.Items.clear();
        return none;
    }
    return buttons_[static_cast<size_t>(i - 1)].menu;
}

void Toolbar::Click(const std::wstring& key) {
    int i = IndexOf(key);
    if (!i || ButtonStyle(i) == Style::Separator || !Enabled(i)) return;
    // A user's click toggles a check button before the click is raised.
    if (ButtonStyle(i) == Style::Check) SetPressed(key, !Pressed(key));
    if (ButtonClick) ButtonClick(key);
}

void Toolbar::DropDown(const std::wstring& key) {
    int i = IndexOf(key);
    if (!i || ButtonStyle(i) != Style::DropDown || !Enabled(i)) return;
    if (ButtonDropDown) ButtonDropDown(key);
    RECT r = ButtonRect(i);
    PopupMenu& menu = buttons_[static_cast<size_t>(i - 1)].menu;
    std::wstring item = menu.Popup(GetParent(hwnd_), POINT{r.left, r.bottom});
    if (!item.empty() && ButtonMenuClick) ButtonMenuClick(key, item);
}

bool Toolbar::OnCommand(UINT id, UINT) {
    int i = static_cast<int>(id) - kFirstId;
    if (i < 1 || i > Count()) return false;
    if (ButtonClick && Enabled(i)) ButtonClick(Key(i));
    return true;
}

bool Toolbar::OnNotify(NMHDR* nm, LRESULT& result) {
    switch (nm->code) {
    case TBN_DROPDOWN: {
        auto* tb = reinterpret_cast<NMTOOLBARW*>(nm);
        DropDown(Key(tb->iItem - kFirstId));
        result = TBDDRET_DEFAULT;
        return true;
    }
    case TTN_GETDISPINFOW: {
        auto* di = reinterpret_cast<NMTTDISPINFOW*>(nm);
        int i = static_cast<int>(di->hdr.idFrom) - kFirstId;
        static std::wstring text;
        text = ToolTip(i);
        di->lpszText = text.data();
        di->hinst = nullptr;
        return true;
    }
    default:
        return false;
    }
}
