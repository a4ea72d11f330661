// Sorting the tip list by its column headers, clicked with the mouse as a user
// clicks them, on a category whose file order is no column's order; and the
// list a start with a saved sort column shows.
#include "MainWindowFixture.h"

#include "common/TipFile.h"
#include "common/TipRow.h"
#include "support/RealInput.h"

#include <algorithm>
#include <numeric>

namespace {
struct SortTip {
    const wchar_t* name;
    const wchar_t* command;  // the first option's label
    const wchar_t* valueName;
    const wchar_t* data;
    bool dangerous;
};
// File order: no column is in order, texts differ in case only, and several
// cells are equal (the ties must keep their order before the sort).
const SortTip kTips[] = {
    {L"Alpha", L"启用", L"Zeta", L"9", false},      {L"Bravo", L"关闭", L"alpha", L"10", true},
    {L"Golf", L"启用", L"Beta", L"1", false},       {L"Del", L"默认", L"beta", L"x", false},
    {L"Dw", L"启用", L"Gamma", L"1", true},         {L"Long", L"关闭", L"delta", L"2", false},
    {L"Foxtrot", L"启用", L"Alpha", L"y", false},   {L"Hotel", L"关闭", L"epsilon", L"1", true},
    {L"Charlie", L"默认", L"Zeta", L"3", false},    {L"Delta", L"启用", L"eta", L"Y", false},
    {L"Echo", L"关闭", L"Theta", L"0", true},        {L"india", L"启用", L"iota", L"22", false},
    {L"juliet", L"默认", L"Kappa", L"2", false},    {L"Kilo", L"启用", L"lambda", L"b", false},
    {L"lima", L"关闭", L"Mu", L"A", true},          {L"Mike", L"启用", L"beta", L"10", false},
};
constexpr int kCount = static_cast<int>(std::size(kTips));

int Compare(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
}
}  // namespace

class HeaderSortTest : public MainWindowTest {
protected:
    // The category file with the tips, in the order of kTips.
    static TipFile::TipRecord Record(const SortTip& t) {
        return {kTestKey, t.valueName, t.command, t.data, L"0", L"说明", t.dangerous ? L"2" : L"1"};
    }
    static std::wstring Options(const SortTip& t) { return TipFile::EncodeOptions({{t.command, L"其它"}, {t.data, L"z"}}); }
    void WriteCategory() {
        CreateDirectoryW(Path(L"Data").c_str(), nullptr);
        const std::wstring file = Path(L"Data\\排序.qix");
        for (const SortTip& t : kTips) {
            ASSERT_TRUE(TipFile::WriteTip(file, TipFile::DataSection, t.name, TipFile::EncodeRecord(Record(t)), Options(t)));
        }
    }
    // The names of the rows, top to bottom.
    static std::vector<std::wstring> Names(Form2& f) {
        std::vector<std::wstring> out;
        for (int r = 1; r <= f.ListView1.Count(); ++r) out.push_back(f.ListView1.Text(r));
        return out;
    }
    // The rows as they are now, sorted by a column's text (stable: equal texts keep their order).
    static std::vector<std::wstring> Expected(Form2& f, int column, bool ascending) {
        const int n = f.ListView1.Count();
        std::vector<int> rows(static_cast<size_t>(n));
        std::iota(rows.begin(), rows.end(), 1);
        std::vector<std::wstring> key(static_cast<size_t>(n) + 1);
        for (int r = 1; r <= n; ++r) key[static_cast<size_t>(r)] = f.ListView1.SubText(r, column - 1);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            const int c = Compare(key[static_cast<size_t>(a)], key[static_cast<size_t>(b)]);
            return ascending ? c < 0 : c > 0;
        });
        std::vector<std::wstring> out;
        for (int r : rows) out.push_back(f.ListView1.Text(r));
        return out;
    }
    // A left click on the header of a column (1-based), through the input queue.
    static void ClickHeader(Form2& f, int column) {
        HWND header = reinterpret_cast<HWND>(SendMessageW(f.ListView1.hwnd(), LVM_GETHEADER, 0, 0));
        RECT r{};
        ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, column - 1, reinterpret_cast<LPARAM>(&r)));
        // Two clicks on one spot in quick succession are a double click, which
        // sorts nothing: each click lands a little aside from the last (and
        // clear of the dividers at the header's edges).
        static int side = 1;
        side = -side;
        POINT pt{(r.left + r.right) / 2 + 2 * side, (r.top + r.bottom) / 2};
        // A header beyond the list's right edge is scrolled into view first, as a user scrolls to it.
        RECT visible{};
        GetClientRect(f.ListView1.hwnd(), &visible);
        POINT inList = pt;
        MapWindowPoints(header, f.ListView1.hwnd(), &inList, 1);
        if (inList.x < 10 || inList.x > visible.right - 10) {
            SendMessageW(f.ListView1.hwnd(), LVM_SCROLL, inList.x - visible.right / 2, 0);
            Ui::DoEvents();
        }
        ClientToScreen(header, &pt);
        SetForegroundWindow(f.hwnd());
        const std::wstring before = Ini::Read(Config::Path(), Config::DataSection, L"Compositor");
        Ini::Write(Config::Path(), Config::DataSection, L"Compositor", L"");
        RealInput::Click(pt);
        for (int i = 0; i < 200 && Ini::Read(Config::Path(), Config::DataSection, L"Compositor").empty(); ++i) {
            Ui::DoEvents();
            Sleep(5);
        }
        Ui::DoEvents();
        ASSERT_EQ(Text::FromInt(column), Ini::Read(Config::Path(), Config::DataSection, L"Compositor"))
            << "the click did not reach the header (Compositor was " << Ansi(before) << ")";
    }
};

TEST_F(HeaderSortTest, EveryHeaderSortsTheWholeListBothWays) {
    MakeRunBefore();
    Set(L"Compositor", L"0");
    WriteCategory();
    Form2& f = Start();
    ASSERT_EQ(kCount, f.ListView1.Count());
    std::vector<std::wstring> fileOrder;
    for (const SortTip& t : kTips) fileOrder.push_back(t.name);
    ASSERT_EQ(fileOrder, Names(f)) << "unsorted: the rows come in file order";
    // Each column: a first click sorts it in the direction in force, a second
    // reverses it. The ties of each sort keep the order the list had before it.
    bool ascending = true;
    for (int column : {4, 1, 2, 5, 3, 4, 5, 1}) {
        for (int click = 0; click < 2; ++click) {
            SCOPED_TRACE("column " + std::to_string(column) + ", click " + std::to_string(click + 1));
            const bool sortedBefore = f.HeaderIcon(column) > 0;
            if (sortedBefore) ascending = !ascending;
            const std::vector<std::wstring> expected = Expected(f, column, ascending);
            ClickHeader(f, column);
            EXPECT_EQ(expected, Names(f));
            EXPECT_EQ(ascending ? 1 : 2, f.HeaderIcon(column));
        }
    }
    // The selection and the shown tip stay with their rows through a sort.
    ASSERT_TRUE(f.ListView1.Count() > 5);
    f.ListView1.SetSelectedItem(5);
    const std::wstring selected = f.ListView1.Text(5);
    ClickHeader(f, 4);
    const int now = f.ListView1.SelectedItem();
    ASSERT_GT(now, 0);
    EXPECT_EQ(selected, f.ListView1.Text(now));
}

TEST_F(HeaderSortTest, AStartWithASavedColumnShowsTheRowsInItsOrder) {
    for (int column = 1; column <= 5; ++column) {
        SCOPED_TRACE("Compositor=" + std::to_string(column));
        MakeRunBefore();
        Set(L"Compositor", Text::FromInt(column));
        WriteCategory();
        Form2& f = Start();
        ASSERT_EQ(kCount, f.ListView1.Count());
        // Ascending, with the arrow on that header; equal texts in file order.
        std::vector<int> order(kCount);
        std::iota(order.begin(), order.end(), 0);
        // The cells as the loader decodes them from the file.
        auto cell = [column](const SortTip& t) -> std::wstring {
            const TipRow::Cells c = TipRow::Decode(t.name, TipFile::EncodeRecord(Record(t)), Options(t));
            const std::wstring texts[] = {c.name, c.label, c.dangerText, c.valueName, c.dataText};
            return texts[column - 1];
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return Compare(cell(kTips[a]), cell(kTips[b])) < 0; });
        std::vector<std::wstring> expected;
        for (int i : order) expected.push_back(kTips[i].name);
        EXPECT_EQ(expected, Names(f));
        EXPECT_EQ(1, f.HeaderIcon(column));
        // A click on the same header reverses the whole order.
        std::vector<std::wstring> reversed = Expected(f, column, false);
        ClickHeader(f, column);
        EXPECT_EQ(reversed, Names(f));
        Stop();
    }
}
