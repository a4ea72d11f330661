#pragma once
// Top-level windows ("forms") and the control base class. A Form owns one HWND
// of its own registered class; messages reach the virtual WndProc. Controls are
// registered on their HWND so that the form can hand each WM_NOTIFY / WM_COMMAND
// to the control it came from.
#include <windows.h>

#include <string>

class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND hwnd() const { return hwnd_; }
    // True while the control's window exists (it goes with its parent form).
    bool Exists() const;

    // What the window cannot hold itself: the free-form tag of the control.
    std::wstring Tag;

    bool Enabled() const;
    void SetEnabled(bool on);
    bool Visible() const;
    void SetVisible(bool on);
    // Position in pixels of the parent's client area. Before the control is
    // created, the place it is to be created at (a layout computed first).
    // A control already at the place asked is not moved again.
    void Move(int x, int y, int w, int h);
    RECT Bounds() const;  // in parent client coordinates (the planned place before creation)
    std::wstring CaptionText() const;
    void SetCaptionText(const std::wstring& s);
    void SetFocus();

    // Notification from this control (WM_NOTIFY); return true when handled.
    virtual bool OnNotify(NMHDR* nm, LRESULT& result);
    // WM_COMMAND with this control as source (`id` is the command or control id).
    virtual bool OnCommand(UINT id, UINT code);
    // WM_DRAWITEM for this owner-drawn control; return true when drawn.
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& item);

    static Control* FromHwnd(HWND h);

protected:
    // Creates the child window and registers this object on it.
    bool CreateChild(HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int id,
                     const std::wstring& text = {});
    void Attach(HWND h);
    // Routes the notifications of another window (a control's own tip window) here.
    void AttachAlias(HWND h);
    HWND hwnd_ = nullptr;

    // The window keeps a height of its own (a combo box: the height asked
    // for is its list's).
    bool ownHeight_ = false;

private:
    // The place last asked for (planned, or given to the window).
    RECT asked_{};
    bool planned_ = false;  // asked_ is where the control is to be created
    bool askedOnce_ = false;
};

class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND hwnd() const { return hwnd_; }
    bool Exists() const { return hwnd_ != nullptr; }

    std::wstring Caption() const;
    void SetCaption(const std::wstring& s);
    void Show();
    void Hide();
    bool Visible() const;
    // VB-style geometry of the outer window, in twips of the screen.
    long long Left() const;
    long long Top() const;
    long long Width() const;
    long long Height() const;
    void SetLeft(long long t);
    void SetTop(long long t);
    void SetWidth(long long t);
    void SetHeight(long long t);
    void MoveTwips(long long left, long long top, long long width, long long height);
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;
    void SetWindowState(int s);

    // Destroys the window; the object stays and can create it again.
    void Unload();
    // The window that was active just before this one was last activated
    // (nullptr when none, or another program's).
    HWND ActivatedFrom() const { return activatedFrom_; }

    static Form* FromHwnd(HWND h);

protected:
    // Registers the class once and creates the window. Not shown.
    bool CreateForm(const wchar_t* className, const std::wstring& caption, DWORD style, DWORD exStyle,
                    HWND owner, int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int w = 400, int h = 300);
    virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }
    // Called once the window is destroyed (WM_NCDESTROY).
    virtual void OnDestroyed() {}
    // The layout records the outer size it laid the controls out for; a
    // WM_SIZE at that size (the first show, a restore to the same size) has
    // nothing to move.
    void NoteLaidOutSize();
    bool SizeChangedSinceLayout() const;
    // The outer size the window is to be created at, when the start-up knows
    // the size it will give it (its controls are then laid out before they
    // are created, and created in place); else `fallback`. Taken once.
    SIZE TakeCreationSize(SIZE fallback);

public:
    void PlanCreationSize(SIZE outer) { creationSize_ = outer; }

protected:

    HWND hwnd_ = nullptr;

private:
    // The control that had the focus when the window was last deactivated, and
    // the window's child that holds it: the focus goes back there.
    HWND focusKept_ = nullptr;
    HWND controlKept_ = nullptr;
    HWND activatedFrom_ = nullptr;
    SIZE laidOutSize_{-1, -1};
    SIZE creationSize_{0, 0};
    static LRESULT CALLBACK StaticProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
};

namespace Ui {
// Pumps pending messages without waiting (VB's DoEvents).
void DoEvents();
HINSTANCE Instance();
// Creates the common controls once per process.
void InitCommonControlsOnce();
// Whether a window's outer rectangle is this one already (a width or height
// below 0 counts as 0); a minimised window never is.
bool IsAt(HWND window, int left, int top, int width, int height);
}  // namespace Ui

namespace Forms {
// The one object of a window class that lives as long as the program: its
// window is created and loaded on first use and again after an unload.
template <class T>
T& Instance() {
    static T form;
    return form;
}
template <class T>
T& Loaded() {
    T& form = Instance<T>();
    form.Load();
    return form;
}
// The window when it exists, else nothing (nothing is created).
template <class T>
T* IfLoaded() {
    T& form = Instance<T>();
    return form.Exists() ? &form : nullptr;
}
}  // namespace Forms
