#pragma once
// Drags one control of a window the way a splitter bar is dragged: while the
// button is held an inverted bar follows the cursor on the display inside the
// window's client area; on release the bar is erased and the control's top (or
// left) is set to the bar's place. The window lays itself out afterwards.
// A drag also ends, without moving anything, when the window loses the mouse
// capture: the cursor is freed and no bar is left on the display.
#include <windows.h>

#include <functional>

class cSplitDDC {
public:
    enum Edge { Left = 1, Top = 2, Right = 3, Bottom = 4 };

    // The object moved: its position in twips is read and set through these.
    struct Target {
        std::function<void(long long twips)> SetTop;
        std::function<void(long long twips)> SetLeft;
        std::function<void()> RemoveBorder;
    };
    void SetSplitObject(Target t);
    bool HasSplitObject() const { return attached_; }

    // Margins in pixels, edges 1 to 4; false (and nothing changed) for another edge.
    bool SetBorder(int edge, long size);
    long Border(int edge) const;
    long Orientation() const { return orientation_; }
    // 1 vertical bar (sets Left), 2 horizontal bar (sets Top). With an object
    // attached the margins are reset to suit the orientation.
    void SetOrientation(long o);

    void SplitterMouseDown(HWND hwnd, long x, long y, long hw, long vw, long ht, long hb, long vl, long vr);
    void SplitterFormMouseMove(long x, long y, long hw, long vw);
    // True when a drag ended here.
    bool SplitterFormMouseUp(long x, long y);
    // The window lost the capture: ends a drag without moving the object.
    void CaptureLost();
    bool InDrag() const { return inDrag_; }
    RECT DragBounds() const { return bounds_; }

private:
    void DrawBar(const RECT& r);
    void EndDrag();
    long orientation_ = 1;
    long border_[4] = {64, 0, 64, 0};
    Target target_;
    bool attached_ = false;
    bool inDrag_ = false;
    bool ending_ = false;
    HWND parent_ = nullptr;
    RECT bounds_{};
    RECT lastBar_{};
};
