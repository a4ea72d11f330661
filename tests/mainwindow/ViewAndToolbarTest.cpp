// The tip list switched between its views by the 查看方式 button and its menu:
// in icons and small icons every row has a place of its own at once; and the
// toolbar that wraps to two rows at the first-run width leaves no empty band
// between its rows and the list.
#include "MainWindowFixture.h"

#include "common/TipFile.h"

#include <commctrl.h>

#include <set>

namespace {
// A category file of `count` tips, in code page 936.
std::string Category(int count) {
    const std::string fm = "\xFF", jm = "\x81\x88";
    std::string s = "[";  // built by appending: "[" + a temporary trips a false -Wrestrict in GCC 12
    s += Text::ToAnsi(L"数据") + "]\r\n";
    for (int i = 1; i <= count; ++i)
        s += Text::ToAnsi(L"技巧" + std::to_wstring(i)) + "=HKEY_CURRENT_USER\\Software\\QuorixTest" + fm + "v" +
             fm + "a" + jm + "1" + fm + "0" + fm + "d" + fm + "1\r\n";
    return s;
}

// Rows whose rectangles overlap another row's, as the list lays them out.
int Overlapping(HWND list) {
    const int n = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<RECT> rects(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        rects[static_cast<size_t>(i)].left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rects[static_cast<size_t>(i)]));
    }
    int overlapping = 0;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            RECT both;
            if (IntersectRect(&both, &rects[static_cast<size_t>(i)], &rects[static_cast<size_t>(j)])) ++overlapping;
        }
    return overlapping;
}
}  // namespace

// Loaded in report view, then switched by the button (icons), by the menu
// (small icons, list, icons again): no two rows lie on each other.
TEST_F(MainWindowTest, IconViewsGiveEveryRowItsOwnPlace) {
    MakeRunBefore();
    WriteBytes(Path(L"Data\\示例.qix"), Category(12));
    Form2& f = Start();
    // The category window's loader fills the list, in report view.
    f.Toolbar1_ButtonMenuClick(L"viewok", L"v4");
    Forms::frmShadow().Shownode(Path(L"Data\\示例.qix"), TipFile::DataSection);
    HWND list = f.ListView1.hwnd();
    ASSERT_EQ(12, f.ListView1.Count());
    ASSERT_EQ(3, f.View());
    f.Toolbar1.Click(L"viewok");  // report -> large icons
    Ui::DoEvents();
    ASSERT_EQ(0, f.View());
    EXPECT_EQ(0, Overlapping(list)) << "large icons";
    const std::pair<const wchar_t*, int> items[] = {{L"v2", 1}, {L"v3", 2}, {L"v4", 3}, {L"v1", 0}, {L"v2", 1}};
    for (const auto& [item, mode] : items) {
        SCOPED_TRACE(Text::ToAnsi(item));
        f.Toolbar1_ButtonMenuClick(L"viewok", item);
        Ui::DoEvents();
        ASSERT_EQ(mode, f.View());
        EXPECT_EQ(0, Overlapping(list));
    }
}

// At the first-run width the toolbar takes two rows; the list starts right
// under the second, and the toolbar is no taller than its rows.
TEST_F(MainWindowTest, ToolbarBandIsAsTallAsItsRows) {
    MakeRunBefore();
    Set(L"Width_1", L"5595");
    Set(L"Height_1", L"4600");
    Form2& f = Start();
    HWND bar = f.Toolbar1.hwnd();
    // The rows the buttons stand in (separators take no row of their own).
    int rowsBottom = 0;
    std::set<LONG> rowTops;
    for (int i = 0, n = static_cast<int>(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0)); i < n; ++i) {
        TBBUTTON b{};
        SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b));
        if ((b.fsState & TBSTATE_HIDDEN) || (b.fsStyle & BTNS_SEP)) continue;
        RECT r{};
        SendMessageW(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        rowTops.insert(r.top);
        if (r.bottom > rowsBottom) rowsBottom = r.bottom;
    }
    ASSERT_EQ(2u, rowTops.size());
    RECT barRect = f.Toolbar1.Bounds(), listRect = f.ListView1.Bounds();
    EXPECT_LE(barRect.bottom - barRect.top, rowsBottom + 4) << "an empty band under the rows";
    EXPECT_EQ(barRect.bottom, listRect.top);
    // The same after a resize that keeps two rows.
    f.MoveTwips(f.Left(), f.Top(), 5800, 4600);
    Ui::DoEvents();
    barRect = f.Toolbar1.Bounds();
    listRect = f.ListView1.Bounds();
    EXPECT_LE(barRect.bottom - barRect.top, rowsBottom + 4);
    EXPECT_EQ(barRect.bottom, listRect.top);
}

// The toolbars are filled in one step and get their tool tips after: every
// button but the separators has its tip, where the button is, and the tip
// asks the window for its text by the route the tip window takes.
TEST_F(MainWindowTest, EveryToolbarButtonHasItsTipWhereItIs) {
    MakeRunBefore();
    Form2& f = Start();
    Toolbar* bars[] = {&f.Toolbar1, &Forms::frmShadow().Toolbar1, &Forms::Form3().Toolbar1, &Forms::Form3().Toolbar2};
    for (Toolbar* bar : bars) {
        HWND tips = reinterpret_cast<HWND>(SendMessageW(bar->hwnd(), TB_GETTOOLTIPS, 0, 0));
        ASSERT_NE(nullptr, tips);
        int buttons = 0;
        for (int i = 1; i <= bar->Count(); ++i) {
            if (bar->ButtonStyle(i) == Toolbar::Style::Separator) continue;
            ++buttons;
            SCOPED_TRACE(Text::ToAnsi(bar->Key(i)));
            wchar_t text[256] = {};
            TTTOOLINFOW ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = bar->hwnd();
            ti.uId = static_cast<UINT_PTR>(4000 + i);
            ti.lpszText = text;
            ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
            RECT button{};
            SendMessageW(bar->hwnd(), TB_GETITEMRECT, i - 1, reinterpret_cast<LPARAM>(&button));
            EXPECT_TRUE(EqualRect(&button, &ti.rect)) << "the tip is not where its button is";
            NMTTDISPINFOW di{};
            di.hdr.hwndFrom = tips;
            di.hdr.idFrom = ti.uId;
            di.hdr.code = TTN_GETDISPINFOW;
            SendMessageW(bar->hwnd(), WM_NOTIFY, ti.uId, reinterpret_cast<LPARAM>(&di));  // as the tip window asks
            EXPECT_EQ(bar->ToolTip(i), std::wstring(di.lpszText ? di.lpszText : L""));
        }
        EXPECT_EQ(buttons, static_cast<int>(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0)));
    }
}
