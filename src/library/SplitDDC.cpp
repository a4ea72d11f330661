#include "library/SplitDDC.h"

#include "platform/Twips.h"

#include <string>

void cSplitDDC::SetSplitObject(Target t) {
    target_ = std::move(t);
    attached_ = true;
    if (target_.RemoveBorder) target_.RemoveBorder();
}

bool cSplitDDC::SetBorder(int edge, long size) {
    if (edge < 1 || edge > 4) return false;
    border_[edge - 1] = size;
    return true;
}

long cSplitDDC::Border(int edge) const { return edge >= 1 && edge <= 4 ? border_[edge - 1] : 0; }

void cSplitDDC::SetOrientation(long o) {
    orientation_ = o;
    if (!attached_) return;
    if (o == 2) {
        border_[Top - 1] = border_[Bottom - 1] = 64;
        border_[Left - 1] = border_[Right - 1] = 0;
    } else {
        border_[Left - 1] = border_[Right - 1] = 64;
        border_[Top - 1] = border_[Bottom - 1] = 0;
    }
}

namespace {
std::wstring WindowClassName(HWND h) {
    wchar_t buf[260];
    int n = GetClassNameW(h, buf, 260);
    return n > 0 ? std::wstring(buf, static_cast<size_t>(n)) : std::wstring();
}
}  // namespace

void cSplitDDC::SplitterMouseDown(HWND hwnd, long, long, long hw, long vw, long ht, long hb, long vl, long vr) {
    parent_ = hwnd;
    SetCapture(hwnd);
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    bounds_ = wr;
    ClipCursor(&wr);
    if (WindowClassName(hwnd) == L"ThunderMDIForm") {
        bounds_.left += GetSystemMetrics(SM_CXBORDER);
        bounds_.right -= GetSystemMetrics(SM_CXBORDER);
        bounds_.bottom -= GetSystemMetrics(SM_CYBORDER);
        bounds_.top += 3 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU);
    } else {
        RECT cr{};
        GetClientRect(hwnd, &cr);
        POINT tl{cr.left + vl, cr.top + ht}, br{cr.right + vr, cr.bottom + hb};
        ClientToScreen(hwnd, &tl);
        ClientToScreen(hwnd, &br);
        bounds_ = RECT{tl.x, tl.y, br.x, br.y};
    }
    inDrag_ = true;
    lastBar_ = RECT{};
    SplitterFormMouseMove(0, 0, hw, vw);
}

void cSplitDDC::DrawBar(const RECT& r) {
    HDC dc = GetDC(nullptr);
    if (!dc) return;
    int old = SetROP2(dc, R2_NOTXORPEN);
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SetROP2(dc, old);
    ReleaseDC(nullptr, dc);
}

void cSplitDDC::SplitterFormMouseMove(long, long, long hw, long vw) {
    if (!inDrag_) return;
    DrawBar(lastBar_);
    POINT p{};
    GetCursorPos(&p);
    RECT bar{};
    if (orientation_ == 2) {
        bar.left = bounds_.left + border_[Left - 1];
        bar.right = bounds_.right - border_[Right - 1];
        long top = bounds_.top + border_[Top - 1], bottom = bounds_.bottom - border_[Bottom - 1];
        if (p.y < top) bar.top = top - 2, bar.bottom = top;
        else if (p.y >= bottom) bar.top = bottom - 2, bar.bottom = bottom;
        else bar.top = p.y - vw, bar.bottom = p.y + vw;
    } else {
        bar.top = bounds_.top + border_[Top - 1];
        bar.bottom = bounds_.bottom - border_[Bottom - 1];
        long left = bounds_.left + border_[Left - 1], right = bounds_.right - border_[Right - 1];
        if (p.x < left) bar.left = left - 2, bar.right = left;
        else if (p.x > right) bar.left = right - 2, bar.right = right;
        else bar.left = p.x - hw, bar.right = p.x + hw;
    }
    DrawBar(bar);
    lastBar_ = bar;
}

void cSplitDDC::EndDrag() {
    inDrag_ = false;
    ending_ = true;
    if (GetCapture() == parent_) ReleaseCapture();
    ending_ = false;
    ClipCursor(nullptr);
    DrawBar(lastBar_);
    lastBar_ = RECT{};
}

bool cSplitDDC::SplitterFormMouseUp(long, long) {
    if (!inDrag_) return false;
    EndDrag();
    POINT p{};
    GetCursorPos(&p);
    long minX = bounds_.left + border_[Left - 1], maxX = bounds_.right - border_[Right - 1];
    long minY = bounds_.top + border_[Top - 1], maxY = bounds_.bottom - border_[Bottom - 1];
    if (p.x < minX) p.x = minX;
    if (p.x > maxX) p.x = maxX;
    if (p.y < minY) p.y = minY;
    if (p.y > maxY) p.y = maxY;
    ScreenToClient(parent_, &p);
    if (orientation_ == 2) {
        if (target_.SetTop) target_.SetTop(static_cast<long long>(p.y - 2) * Twips::PerPixelY());
    } else {
        if (target_.SetLeft) target_.SetLeft(static_cast<long long>(p.x - 2) * Twips::PerPixelX());
    }
    return true;
}

void cSplitDDC::CaptureLost() {
    if (inDrag_ && !ending_) EndDrag();
}
