#include "IconArt.h"

#include "platform/Icons.h"
#include "platform/Pixels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace IconArt {
namespace {
constexpr COLORREF kKey = RGB(255, 0, 255);  // background, made transparent

// Drawing on a 16-unit grid, scaled to the icon's size.
class Painter {
public:
    Painter(HDC dc, int size) : dc_(dc), s_(size / 16.0) {}
    int X(double v) const { return static_cast<int>(std::lround(v * s_)); }
    void Rect(double l, double t, double r, double b, COLORREF fill, COLORREF line = CLR_NONE) {
        Brush(fill, line);
        Rectangle(dc_, X(l), X(t), X(r), X(b));
        Done();
    }
    void Ellipse(double l, double t, double r, double b, COLORREF fill, COLORREF line = CLR_NONE) {
        Brush(fill, line);
        ::Ellipse(dc_, X(l), X(t), X(r), X(b));
        Done();
    }
    void Poly(std::initializer_list<double> xy, COLORREF fill, COLORREF line = CLR_NONE) {
        std::vector<POINT> pts;
        for (auto it = xy.begin(); it != xy.end(); it += 2) pts.push_back(POINT{X(*it), X(*(it + 1))});
        Brush(fill, line);
        Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
        Done();
    }
    void Line(std::initializer_list<double> xy, COLORREF color, double width = 1) {
        HPEN pen = CreatePen(PS_SOLID, std::max(1, X(width)), color);
        HGDIOBJ old = SelectObject(dc_, pen);
        auto it = xy.begin();
        MoveToEx(dc_, X(*it), X(*(it + 1)), nullptr);
        for (it += 2; it != xy.end(); it += 2) LineTo(dc_, X(*it), X(*(it + 1)));
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    void Text(const wchar_t* s, double l, double t, double r, double b, COLORREF color, double height,
              bool bold = true) {
        HFONT f = CreateFontW(-X(height), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                              NONANTIALIASED_QUALITY, 0, L"Tahoma");
        HGDIOBJ old = SelectObject(dc_, f);
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, color);
        RECT rc{X(l), X(t), X(r), X(b)};
        DrawTextW(dc_, s, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        SelectObject(dc_, old);
        DeleteObject(f);
    }

private:
    void Brush(COLORREF fill, COLORREF line) {
        brush_ = fill == CLR_NONE ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : CreateSolidBrush(fill);
        pen_ = line == CLR_NONE ? CreatePen(PS_NULL, 0, 0) : CreatePen(PS_SOLID, std::max(1, X(1)), line);
        oldBrush_ = SelectObject(dc_, brush_);
        oldPen_ = SelectObject(dc_, pen_);
        ownBrush_ = fill != CLR_NONE;
    }
    void Done() {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
        if (ownBrush_) DeleteObject(brush_);
        DeleteObject(pen_);
    }
    HDC dc_;
    double s_;
    HBRUSH brush_ = nullptr;
    HPEN pen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr, oldPen_ = nullptr;
    bool ownBrush_ = false;
};

const COLORREF kInk = RGB(40, 40, 40), kPaper = RGB(255, 255, 255), kRed = RGB(210, 30, 30),
               kGreen = RGB(30, 150, 50), kBlue = RGB(30, 90, 200), kTeal = RGB(0, 140, 140),
               kYellow = RGB(245, 200, 50), kFolder = RGB(235, 180, 60), kGrey = RGB(120, 120, 120),
               kCyan = RGB(0, 190, 220);

void Page(Painter& p) {
    p.Poly({3, 1, 10, 1, 13, 4, 13, 15, 3, 15}, kPaper, kInk);
    p.Line({10, 1, 10, 4, 13, 4}, kInk);
}
void Folder(Painter& p) {
    p.Poly({1, 4, 6, 4, 7, 5, 15, 5, 15, 14, 1, 14}, kFolder, RGB(150, 100, 20));
}
void Cubes(Painter& p, double dx, double dy) {
    p.Rect(dx + 0, dy + 4, dx + 5, dy + 9, kBlue, kInk);
    p.Rect(dx + 5, dy + 4, dx + 10, dy + 9, RGB(220, 60, 60), kInk);
    p.Rect(dx + 2.5, dy + 0, dx + 7.5, dy + 5, kGreen, kInk);
}
void Cross(Painter& p, double l, double t, double r, double b, double w = 2.5) {
    p.Line({l, t, r, b}, kRed, w);
    p.Line({r, t, l, b}, kRed, w);
}
void Star(Painter& p, COLORREF fill) {
    p.Poly({8, 1, 10, 6, 15, 6, 11, 9.5, 12.5, 15, 8, 11.5, 3.5, 15, 5, 9.5, 1, 6, 6, 6}, fill, RGB(160, 110, 0));
}
void CheckBox(Painter& p, bool ticked) {
    p.Rect(2, 2, 14, 14, kPaper, kInk);
    if (ticked) p.Line({4, 8, 7, 11, 12, 4}, kGreen, 2);
}
void Chain(Painter& p, bool linked) {
    COLORREF c = linked ? kBlue : kGrey;
    if (linked) {
        p.Ellipse(1, 4, 9, 12, CLR_NONE, c);
        p.Ellipse(7, 4, 15, 12, CLR_NONE, c);
        p.Line({5, 8, 11, 8}, c, 2);
    } else {
        p.Ellipse(0, 4, 7, 12, CLR_NONE, c);
        p.Ellipse(9, 4, 16, 12, CLR_NONE, c);
        p.Line({7.5, 2, 8.5, 14}, kRed, 1.5);
    }
}
void Circle(Painter& p, COLORREF fill, const wchar_t* glyph) {
    p.Ellipse(1, 1, 15, 15, fill, kInk);
    p.Text(glyph, 1, 1, 15, 15, kPaper, 11);
}

void Paint(Painter& p, int n) {
    switch (n) {
    case 1:  // registry page
        Page(p);
        Cubes(p, 4.5, 4.5);
        break;
    case 2: p.Text(L"ab", 0, 0, 16, 16, kRed, 11); break;               // string
    case 3: p.Text(L"01", 0, 0, 16, 16, kBlue, 10); break;              // binary
    case 4: p.Text(L"01", 0, 0, 16, 16, kTeal, 10); break;              // DWORD
    case 5: p.Text(L"ab", 0, 0, 16, 16, kBlue, 11); break;              // expandable string
    case 6: Cross(p, 3, 3, 13, 13, 3); break;                           // delete / delete tips
    case 7: CheckBox(p, true); break;                                   // tick all
    case 8: CheckBox(p, false); break;                                  // untick all
    case 9:  // exit: door with arrow
        p.Rect(2, 1, 10, 15, RGB(160, 110, 60), kInk);
        p.Poly({9, 6, 12, 6, 12, 4, 15, 8, 12, 12, 12, 10, 9, 10}, kRed, kInk);
        break;
    case 10: Circle(p, kBlue, L"i"); break;                             // about
    case 11:  // new category: folder with plus
        Folder(p);
        p.Line({8, 7, 8, 13}, kGreen, 2.5);
        p.Line({5, 10, 11, 10}, kGreen, 2.5);
        break;
    case 12:  // export: page with arrow out
        Page(p);
        p.Poly({5, 7, 9, 7, 9, 5, 14, 9, 9, 13, 9, 11, 5, 11}, kGreen, kInk);
        break;
    case 13: p.Poly({3, 1, 14, 8, 3, 15}, kGreen, RGB(0, 90, 20)); break;  // start
    case 14:  // import: folder with arrow in
        Folder(p);
        p.Poly({6, 6, 10, 6, 10, 9, 12, 9, 8, 13, 4, 9, 6, 9}, kBlue, kInk);
        break;
    case 15: Star(p, kYellow); break;                                   // into favourites
    case 16:  // delete category: folder with cross
        Folder(p);
        Cross(p, 5, 7, 12, 13, 2);
        break;
    case 17:  // view: list lines
        p.Rect(1, 2, 15, 14, kPaper, kInk);
        for (double y : {5.0, 8.0, 11.0}) {
            p.Rect(3, y - 1, 5, y + 1, kBlue);
            p.Line({6, y, 13, y}, kInk);
        }
        break;
    case 18:  // options: gear
        for (int k = 0; k < 8; ++k) {
            double a = k * 3.14159265 / 4, cx = 8 + 6 * std::cos(a), cy = 8 + 6 * std::sin(a);
            p.Ellipse(cx - 1.8, cy - 1.8, cx + 1.8, cy + 1.8, kGrey);
        }
        p.Ellipse(2.5, 2.5, 13.5, 13.5, kGrey, kInk);
        p.Ellipse(6, 6, 10, 10, kPaper, kInk);
        break;
    case 19: Circle(p, kGreen, L"?"); break;                            // help
    case 20: Chain(p, true); break;                                     // linked
    case 21: Chain(p, false); break;                                    // not linked
    case 22:  // home page: globe
        p.Ellipse(1, 1, 15, 15, RGB(120, 180, 240), kBlue);
        p.Ellipse(5, 1, 11, 15, CLR_NONE, kBlue);
        p.Line({1, 8, 15, 8}, kBlue);
        break;
    case 23:  // mail: envelope
        p.Rect(1, 3, 15, 13, kPaper, kInk);
        p.Line({1, 3, 8, 9, 15, 3}, kInk);
        break;
    case 25:  // copy: two pages
        p.Rect(1, 1, 10, 11, kPaper, kInk);
        p.Rect(6, 5, 15, 15, kPaper, kBlue);
        break;
    case 26:  // cut: scissors
        p.Line({4, 1, 11, 11}, kGrey, 1.5);
        p.Line({12, 1, 5, 11}, kGrey, 1.5);
        p.Ellipse(1, 10, 7, 16, CLR_NONE, kRed);
        p.Ellipse(9, 10, 15, 16, CLR_NONE, kRed);
        break;
    case 27:  // paste: clipboard
        p.Rect(2, 2, 14, 15, RGB(190, 140, 80), kInk);
        p.Rect(5, 1, 11, 4, kGrey, kInk);
        p.Rect(5, 6, 12, 13, kPaper, kInk);
        break;
    case 28:  // log: page with lines
        Page(p);
        for (double y : {6.0, 8.5, 11.0}) p.Line({5, y, 11, y}, kBlue);
        break;
    case 29: Cubes(p, 3, 3.5); break;                                   // registry cubes
    case 30:  // find: magnifier
        p.Line({9.5, 9.5, 14.5, 14.5}, kInk, 2.5);
        p.Ellipse(1, 1, 11, 11, RGB(200, 230, 255), kInk);
        break;
    case 31:  // category favourites: folder with star
        Folder(p);
        p.Poly({8, 6, 9.2, 8.8, 12, 9, 9.8, 10.8, 10.6, 13.5, 8, 12, 5.4, 13.5, 6.2, 10.8, 4, 9, 6.8, 8.8}, kYellow,
               RGB(160, 110, 0));
        break;
    case 32: p.Poly({8, 2, 14, 8, 8, 14, 2, 8}, kCyan, RGB(0, 110, 140)); break;  // harmless
    case 33: p.Poly({8, 2, 14, 8, 8, 14, 2, 8}, kRed, RGB(120, 0, 0)); break;     // dangerous
    case 34:  // restore files: clock with arrow back
        p.Ellipse(1, 1, 15, 15, kPaper, kInk);
        p.Line({8, 4, 8, 8, 11, 10}, kInk, 1.5);
        p.Poly({0, 5, 4, 5, 2, 8}, kGreen);
        break;
    case Icons::kRefresh:
        p.Ellipse(2, 2, 14, 14, CLR_NONE, kGreen);
        p.Rect(9, 0, 16, 7, kKey);
        p.Poly({9, 1, 15, 1, 15, 7}, kGreen);
        break;
    default: break;
    }
}

// The category window's pictures: 1 folder, 2 open folder, 3 and 4 the same
// with a star (favourites), 5 page, 6 page with a plus, 7 red cross, 8 the letter i.
std::vector<DWORD> CategoryPicture(int n) {
    const int S = 16;
    std::vector<DWORD> pixels(S * S, 0u);
    DWORD* px = pixels.data();
    auto rect = [&](int l, int t, int r, int b, DWORD argb) {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) px[y * S + x] = argb;
    };
    const DWORD yellow = 0xFFF0C040, dark = 0xFFB08020, white = 0xFFFFFFFF, grey = 0xFF606060, blue = 0xFF2060E0,
                red = 0xFFD02020;
    if (n <= 4) {
        rect(1, 3, 7, 5, dark);
        rect(1, 5, 15, 14, n % 2 ? yellow : dark);
        if (n % 2 == 0) rect(3, 7, 16, 14, yellow);
        if (n >= 3) {
            rect(10, 1, 13, 8, blue);
            rect(8, 3, 15, 6, blue);
        }
    } else if (n <= 6) {
        rect(3, 1, 13, 15, grey);
        rect(4, 2, 12, 14, white);
        for (int y = 4; y < 13; y += 2) rect(5, y, 11, y + 1, grey);
        if (n == 6) {
            rect(9, 8, 16, 11, blue);
            rect(11, 6, 14, 13, blue);
        }
    } else if (n == 7) {
        for (int i = 2; i < 14; ++i) {
            rect(i, i, i + 2, i + 1, red);
            rect(15 - i, i, 17 - i > 16 ? 16 : 17 - i, i + 1, red);
        }
    } else {
        rect(6, 2, 10, 5, blue);
        rect(6, 6, 10, 14, blue);
    }
    return pixels;
}
}  // namespace

std::vector<Kept> Pictures() {
    std::vector<Kept> all;
    // At 16: the image lists of the main and properties windows, the value bar,
    // the about page's links and the status bar.
    for (int n = 1; n <= Icons::kLastNumber; ++n)
        if (n != 24) all.push_back({false, n, 16});
    all.push_back({false, Icons::kRefresh, 16});
    // At 32: the tip list's large icons, the pages' banners and the about button.
    for (int n : {1, 10, 12, 29, 34}) all.push_back({false, n, 32});
    for (int n = 1; n <= 8; ++n) all.push_back({true, n, 16});
    return all;
}

std::vector<DWORD> Draw(int number, int size) {
    if (number != Icons::kRefresh && (number < 1 || number > Icons::kLastNumber || number == 24)) return {};
    void* bits = nullptr;
    HBITMAP color = Pixels::NewDib(size, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc || !color || !bits) {
        if (dc) DeleteDC(dc);
        if (color) DeleteObject(color);
        return {};
    }
    HGDIOBJ old = SelectObject(dc, color);
    RECT all{0, 0, size, size};
    HBRUSH key = CreateSolidBrush(kKey);
    FillRect(dc, &all, key);
    DeleteObject(key);
    Painter p(dc, size);
    Paint(p, number);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);

    // The key colour becomes transparent.
    auto* px = static_cast<DWORD*>(bits);
    std::vector<DWORD> argb(px, px + size * size);
    DeleteObject(color);
    for (DWORD& v : argb) v = (v & 0xFFFFFF) == 0xFF00FF ? 0 : (v | 0xFF000000);
    return argb;
}

std::vector<DWORD> DrawCategory(int number) {
    if (number < 1 || number > 8) return {};
    return CategoryPicture(number);
}

std::vector<DWORD> Draw(const Kept& kept) {
    return kept.category ? DrawCategory(kept.number) : Draw(kept.number, kept.size);
}
}  // namespace IconArt
