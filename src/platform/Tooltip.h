#pragma once
// One tip of the system's tooltip control ("tooltips_class32") over the whole
// client area of one control: rectangular or balloon-shaped, with an optional
// title and title icon, optional text and background colours.
//
// Properties only store their value until Create() has made the tip window;
// with a window, Icon/Title, ForeColor, BackColor, TipText and MaxTipWidth
// update the tip at once, while Style, Centered and ParentControl wait for the
// next Create(), which replaces the window. Release() (and the destructor)
// removes the tool and destroys the tip window; it is safe to call any number
// of times, also when no window was ever made or the window already went with
// its owner.
//
// The object is neither copied nor moved (the tool record points at its own
// text); hold it in a std::unique_ptr where it is replaced by a new one.
#include "platform/Window.h"

#include <commctrl.h>

#include <string>

class Tooltip {
public:
    // Title icons handed to the tooltip control (TTI_*).
    enum IconKind { IconNone = 0, IconInfo = 1, IconWarning = 2, IconError = 3 };
    // Style 1 is a balloon; any other value a rectangular tip.
    static constexpr int kBalloon = 1;
    // MaxTipWidth while none is set: the control's own line breaking.
    static constexpr int kNoMaxWidth = -1;

    Tooltip();
    ~Tooltip();
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;

    int Style() const { return style_; }
    void SetStyle(int style) { style_ = style; }

    bool Centered() const { return centered_; }
    void SetCentered(bool on) { centered_ = on; }

    // The control whose client area is the tool (not owned; none = nullptr).
    const Control* ParentControl() const { return parent_; }
    void SetParentControl(const Control* control) { parent_ = control; }

    int Icon() const { return icon_; }
    void SetIcon(int icon);

    COLORREF ForeColor() const { return foreColor_; }
    void SetForeColor(COLORREF c);

    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& title);

    COLORREF BackColor() const { return backColor_; }
    void SetBackColor(COLORREF c);

    const std::wstring& TipText() const { return text_; }
    void SetTipText(const std::wstring& text);

    // Width in pixels at which the tip's lines wrap; with a width set, CR LF
    // in TipText starts a new line on every system. kNoMaxWidth: not set.
    int MaxTipWidth() const { return maxWidth_; }
    void SetMaxTipWidth(int px);

    // Relayed: the tool is not watched by the tooltip control's own hook on
    // the control (which the system runs for every message the control gets);
    // the owner hands the control's mouse messages to Relay() instead, and the
    // tip shows and hides as it would with the hook. Takes effect at the next
    // Create(). Off at creation.
    bool Relayed() const { return relayed_; }
    void SetRelayed(bool on) { relayed_ = on; }
    // Passes one mouse message of the control to the tip window (while relayed).
    void Relay(HWND control, UINT msg, WPARAM wp, LPARAM lp) const;

    // Destroys any previous tip window, then makes a new one from the current
    // properties over ParentControl's client area as it is now. Returns true
    // when a tip window exists afterwards; false without ParentControl, when
    // its window is gone, or when the system made no tip window.
    bool Create();

    // Removes the tool and destroys the tip window; the properties stay.
    void Release();

    // The tip window (nullptr while there is none).
    HWND hwnd() const;

private:
    void SendTitle() const;

    int style_ = 0;
    bool centered_ = false;
    bool relayed_ = false;
    const Control* parent_ = nullptr;
    int icon_ = IconNone;
    COLORREF foreColor_ = 0;
    COLORREF backColor_ = 0;
    std::wstring title_;
    std::wstring text_;
    int maxWidth_ = kNoMaxWidth;
    HWND tip_ = nullptr;
    TOOLINFOW tool_;
};
