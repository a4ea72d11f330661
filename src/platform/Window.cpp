#include "platform/Window.h"

#include "platform/DialogKeys.h"
#include "platform/Twips.h"

#include <commctrl.h>

namespace {
const wchar_t kControlProp[] = L"Quorix.Control";
// The control last looked up: a list that is filled sends its parent a
// notification for every row, and asking the window for its property each
// time is a round trip to the window system.
struct LastControl {
    HWND hwnd = nullptr;
    Control* control = nullptr;
};
thread_local LastControl g_last;
}

// ---------------------------------------------------------------- Control

Control::~Control() {
    if (g_last.control == this) g_last = {};
    if (hwnd_) {
        RemovePropW(hwnd_, kControlProp);
        hwnd_ = nullptr;
    }
}

bool Control::Exists() const { return hwnd_ && GetPropW(hwnd_, kControlProp) == this; }

Control* Control::FromHwnd(HWND h) {
    if (!h) return nullptr;
    // A control's own window (not an alias) that is still the same window.
    if (h == g_last.hwnd && g_last.control->hwnd_ == h && IsWindow(h)) return g_last.control;
    auto* c = static_cast<Control*>(GetPropW(h, kControlProp));
    g_last = c && c->hwnd_ == h ? LastControl{h, c} : LastControl{};
    return c;
}

bool Control::CreateChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int id,
                          const std::wstring& text) {
    Ui::InitCommonControlsOnce();
    // At the place the layout gave it, when it was laid out before it was made.
    const RECT at = planned_ ? asked_ : RECT{0, 0, 10, 10};
    askedOnce_ = planned_;
    planned_ = false;
    HWND h = CreateWindowExW(exStyle, cls, text.c_str(), style | WS_CHILD, at.left, at.top, at.right - at.left,
                             at.bottom - at.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             Ui::Instance(), nullptr);
    if (!h) return false;
    Attach(h);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

void Control::Attach(HWND h) {
    if (g_last.control == this || g_last.hwnd == h) g_last = {};
    hwnd_ = h;
    SetPropW(h, kControlProp, this);
}

void Control::AttachAlias(HWND h) {
    if (g_last.hwnd == h) g_last = {};
    SetPropW(h, kControlProp, this);
}

bool Control::Enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Control::SetEnabled(bool on) {
    if (hwnd_) EnableWindow(hwnd_, on);
}
bool Control::Visible() const { return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE); }
void Control::SetVisible(bool on) {
    if (hwnd_) ShowWindow(hwnd_, on ? SW_SHOWNA : SW_HIDE);
}
void Control::Move(int x, int y, int w, int h) {
    const RECT want{x, y, x + (w < 0 ? 0 : w), y + (h < 0 ? 0 : h)};
    auto same = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    if (!hwnd_) {
        asked_ = want;
        planned_ = askedOnce_ = true;
        return;
    }
    // Where it is already (a combo box asked for the same place again, where
    // it is but for the height it keeps): nothing to move.
    const RECT now = Bounds();
    if (same(now, want)) return;
    if (ownHeight_ && askedOnce_ && same(asked_, want) && now.left == want.left && now.top == want.top &&
        now.right == want.right)
        return;
    MoveWindow(hwnd_, x, y, want.right - want.left, want.bottom - want.top, TRUE);
    asked_ = want;
    askedOnce_ = true;
}
RECT Control::Bounds() const {
    RECT r{};
    if (!hwnd_) return planned_ ? asked_ : r;
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
std::wstring Control::CaptionText() const {
    if (!hwnd_) return {};
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}
void Control::SetCaptionText(const std::wstring& s) {
    if (hwnd_) SetWindowTextW(hwnd_, s.c_str());
}
void Control::SetFocus() {
    if (hwnd_) ::SetFocus(hwnd_);
}
bool Control::OnNotify(NMHDR*, LRESULT&) { return false; }
bool Control::OnCommand(UINT, UINT) { return false; }
bool Control::OnDrawItem(const DRAWITEMSTRUCT&) { return false; }

// ---------------------------------------------------------------- Form

Form::~Form() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

Form* Form::FromHwnd(HWND h) {
    if (!h) return nullptr;
    wchar_t cls[64];
    if (!GetClassNameW(h, cls, 64) || wcsncmp(cls, L"Quorix.", 7) != 0) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(h, GWLP_USERDATA));
}

bool Form::CreateForm(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle,
                      HWND owner, int x, int y, int w, int h) {
    Ui::InitCommonControlsOnce();
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(Ui::Instance(), className, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Form::StaticProc;
        wc.hInstance = Ui::Instance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.hIcon = LoadIconW(Ui::Instance(), MAKEINTRESOURCEW(1));
        wc.lpszClassName = className;
        if (!RegisterClassExW(&wc)) return false;
    }
    HWND hwnd = CreateWindowExW(exStyle, className, caption.c_str(), style, x, y, w, h, owner, nullptr,
                                Ui::Instance(), this);
    return hwnd != nullptr;
}

LRESULT CALLBACK Form::StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    Form* self;
    if (msg == WM_NCCREATE) {
        self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = h;
    } else {
        self = reinterpret_cast<Form*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        LRESULT r = self->WndProc(msg, wp, lp);
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
        return r;
    }
    return self->WndProc(msg, wp, lp);
}

LRESULT Form::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (Control* c = Control::FromHwnd(nm->hwndFrom)) {
            LRESULT r = 0;
            if (c->OnNotify(nm, r)) return r;
        }
        break;
    }
    case WM_COMMAND:
        if (lp) {
            if (Control* c = Control::FromHwnd(reinterpret_cast<HWND>(lp)))
                if (c->OnCommand(LOWORD(wp), HIWORD(wp))) return 0;
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (Control* c = Control::FromHwnd(item->hwndItem))
            if (c->OnDrawItem(*item)) return TRUE;
        break;
    }
    case WM_ACTIVATE:
        // The keyboard stays with the control that had it: after a message box,
        // a page or a system dialog, and when the window is activated from
        // outside (the system would give it to the window itself, where no
        // key does anything).
        if (LOWORD(wp) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) {
                focusKept_ = focus;
                controlKept_ = Ui::ChildOf(hwnd_, focus);
            }
            break;
        }
        activatedFrom_ = reinterpret_cast<HWND>(lp);
        if (!HIWORD(wp)) {
            auto usable = [this](HWND h) {
                return h && IsWindow(h) && IsChild(hwnd_, h) && IsWindowVisible(h) && IsWindowEnabled(h);
            };
            HWND back = usable(focusKept_) ? focusKept_ : usable(controlKept_) ? controlKept_ : nullptr;
            if (!back) {
                // Nothing kept: a control the window already gave the focus to keeps it, else the first one.
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd_, focus)) return 0;
                back = Ui::NextTabStop(hwnd_, nullptr, false);
            }
            if (back) {
                Ui::FocusControl(back);
                return 0;
            }
        }
        break;
    case WM_NCDESTROY:
        focusKept_ = controlKept_ = activatedFrom_ = nullptr;
        break;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

std::wstring Form::Caption() const {
    if (!hwnd_) return {};
    int n = GetWindowTextLengthW(hwnd_);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd_, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return s;
}
void Form::SetCaption(const std::wstring& s) {
    if (hwnd_) SetWindowTextW(hwnd_, s.c_str());
}
void Form::Show() {
    if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}
void Form::Hide() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}
bool Form::Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

namespace {
RECT OuterRect(HWND h) {
    RECT r{};
    if (!h) return r;
    // A minimised or maximised window keeps its normal place in the placement record.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (IsIconic(h) && GetWindowPlacement(h, &wp)) return wp.rcNormalPosition;
    GetWindowRect(h, &r);
    return r;
}
}  // namespace

long long Form::Left() const { return Twips::FromPixelsX(OuterRect(hwnd_).left); }
long long Form::Top() const { return Twips::FromPixelsY(OuterRect(hwnd_).top); }
long long Form::Width() const {
    RECT r = OuterRect(hwnd_);
    return Twips::FromPixelsX(r.right - r.left);
}
long long Form::Height() const {
    RECT r = OuterRect(hwnd_);
    return Twips::FromPixelsY(r.bottom - r.top);
}
void Form::MoveTwips(long long left, long long top, long long width, long long height) {
    if (!hwnd_) return;
    const int x = Twips::ToPixelsX(left), y = Twips::ToPixelsY(top);
    const int w = Twips::ToPixelsX(width), h = Twips::ToPixelsY(height);
    // A window asked for the place it has already is left alone (the
    // start-up gives the satellites the sizes they were made at).
    if (Ui::IsAt(hwnd_, x, y, w, h)) return;
    SetWindowPos(hwnd_, nullptr, x, y, w < 0 ? 0 : w, h < 0 ? 0 : h, SWP_NOZORDER | SWP_NOACTIVATE);
}
void Form::SetLeft(long long t) { MoveTwips(t, Top(), Width(), Height()); }
void Form::SetTop(long long t) { MoveTwips(Left(), t, Width(), Height()); }
void Form::SetWidth(long long t) { MoveTwips(Left(), Top(), t, Height()); }
void Form::SetHeight(long long t) { MoveTwips(Left(), Top(), Width(), t); }

void Form::NoteLaidOutSize() {
    RECT r{};
    if (hwnd_ && GetWindowRect(hwnd_, &r)) laidOutSize_ = SIZE{r.right - r.left, r.bottom - r.top};
}
SIZE Form::TakeCreationSize(SIZE fallback) {
    const SIZE s = creationSize_.cx > 0 && creationSize_.cy > 0 ? creationSize_ : fallback;
    creationSize_ = SIZE{0, 0};
    return s;
}
bool Form::SizeChangedSinceLayout() const {
    RECT r{};
    if (!hwnd_ || !GetWindowRect(hwnd_, &r)) return true;
    return laidOutSize_.cx != r.right - r.left || laidOutSize_.cy != r.bottom - r.top;
}

int Form::WindowState() const {
    if (!hwnd_) return 0;
    if (IsIconic(hwnd_)) return 1;
    if (IsZoomed(hwnd_)) return 2;
    return 0;
}
void Form::SetWindowState(int s) {
    if (!hwnd_) return;
    ShowWindow(hwnd_, s == 1 ? SW_MINIMIZE : s == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

void Form::Unload() {
    if (hwnd_) DestroyWindow(hwnd_);
}

// ---------------------------------------------------------------- Ui

namespace Ui {
void DoEvents() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        Dispatch(m);
    }
}
HINSTANCE Instance() { return GetModuleHandleW(nullptr); }
void InitCommonControlsOnce() {
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                              ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES |
                                              ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    done = true;
}

bool IsAt(HWND window, int left, int top, int width, int height) {
    RECT now{};
    if (!window || IsIconic(window) || !GetWindowRect(window, &now)) return false;
    return now.left == left && now.top == top && now.right - now.left == (width < 0 ? 0 : width) &&
           now.bottom - now.top == (height < 0 ? 0 : height);
}
}  // namespace Ui
