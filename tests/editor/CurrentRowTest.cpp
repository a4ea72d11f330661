// The tip shown is always the tip selected: every route that moves the tip
// list's current row (keys, a letter, a header-click sort) leaves the
// properties window, the value bar and the balloon on the selected row; the
// value bar, a save and the candidate popup write only the row they show.
#include "editor/EditorFixture.h"
#include "platform/Twips.h"
#include "support/Clipboard.h"
#include "support/PostedKey.h"

using namespace Bytes;

namespace {
const wchar_t* const kKey = L"HKEY_CURRENT_USER\\Software\\QuorixTest";
const wchar_t* const kNames[] = {L"Alpha", L"Bravo", L"Charlie", L"Delta", L"Echo"};

void Pump() {
    for (int i = 0; i < 5; ++i) {
        Ui::DoEvents();
        Sleep(10);
    }
}

void TypeChar(HWND h, wchar_t c) {
    PostMessageW(h, WM_CHAR, c, 1);
    Pump();
}
}  // namespace

class CurrentRowTest : public EditorTest {
protected:
    // A string tip whose value name is "v" + name and whose data is "x" + name.
    static std::string Tip(const std::wstring& name, char type = '0', const std::wstring& label = L"l",
                    const std::string& data = {}) {
        return Line(name, A(kKey) + FM + "v" + A(name) + FM + A(label) + JM + (data.empty() ? std::string("x").append(A(name)) : data) +
                              FM + std::string(1, type) + FM + "d" + FM + "1");
    }
    static std::string FiveTips() {
        std::string s = Section(Data);
        for (const wchar_t* n : kNames) s += Tip(n);
        s += Mirror(Data);
        for (const wchar_t* n : kNames) s += Line(n, Opts({L"l"}, {std::string("x").append(A(n))}));
        return s;
    }
    int Selected() {
        int found = 0;
        for (int r = 1; r <= tips().Count(); ++r)
            if (tips().Selected(r)) {
                EXPECT_EQ(0, found) << "more than one row selected";
                found = r;
            }
        return found;
    }
    // The properties window, the value bar and the balloon show `name`, the selected row.
    void ExpectShown(const std::wstring& name) {
        ASSERT_EQ(Ansi(name), Ansi(tips().Text(Selected())));
        EXPECT_EQ(Ansi(name), Ansi(props().Text1.Text()));
        EXPECT_EQ(Ansi(L"v" + name), Ansi(props().Text2.Text()));
        EXPECT_EQ(Ansi(L"x" + name), Ansi(Forms::Form1().ImageCombo1.Text()));
        ASSERT_TRUE(main().RowTooltip);
        EXPECT_EQ(Ansi(name), Ansi(main().RowTooltip->Title()));
    }
    HWND BarEdit() { return GetWindow(Forms::Form1().ImageCombo1.hwnd(), GW_CHILD); }
};

TEST_F(CurrentRowTest, EveryKeyRouteShowsTheNewRow) {
    Start(FiveTips());
    ASSERT_EQ(5, tips().Count());
    const struct {
        const char* what;
        const wchar_t* from;
        UINT key;  // a virtual key, or 0 for the letter below
        wchar_t letter;
        const wchar_t* to;
    } cases[] = {
        {"Down", L"Alpha", VK_DOWN, 0, L"Bravo"},   {"Up", L"Charlie", VK_UP, 0, L"Bravo"},
        {"End", L"Alpha", VK_END, 0, L"Echo"},      {"Home", L"Delta", VK_HOME, 0, L"Alpha"},
        {"Page Down", L"Alpha", VK_NEXT, 0, L"Echo"}, {"a letter", L"Alpha", 0, L'd', L"Delta"},
    };
    tips().SetFocus();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Click(RowNamed(c.from));
        Pump();
        ExpectShown(c.from);
        if (c.key) PostedKey::Press(tips().hwnd(), c.key);
        else TypeChar(tips().hwnd(), c.letter);
        ExpectShown(c.to);
    }
    EXPECT_TRUE(boxes.empty());
}

// Click, Down, Enter in the value bar: the newly selected row keeps its own
// value and the first one is untouched; F5 writes the selected row's own data.
TEST_F(CurrentRowTest, EnterInTheBarAfterDownWritesOnlyTheSelectedRow) {
    Start(FiveTips());
    Click(RowNamed(L"Alpha"));
    Pump();
    tips().SetFocus();
    PostedKey::Press(tips().hwnd(), VK_DOWN);
    ExpectShown(L"Bravo");
    Forms::Form1().ImageCombo1.SetFocus();
    PostedKey::Press(BarEdit(), VK_RETURN);
    EXPECT_EQ("xAlpha", Ansi(tips().SubText(RowNamed(L"Alpha"), 4)));
    EXPECT_EQ("xBravo", Ansi(tips().SubText(RowNamed(L"Bravo"), 4)));
    // Ctrl+A selects every row: the bar still writes only the tip it shows.
    tips().SetFocus();
    PostedKey::Press(tips().hwnd(), 'A', VK_CONTROL);
    ASSERT_EQ(5, Form2::GetSelCount(tips().hwnd()));
    Forms::Form1().ImageCombo1.SetText(L"new");
    PostedKey::Press(BarEdit(), VK_RETURN);
    for (const wchar_t* n : kNames)
        EXPECT_EQ(Ansi(std::wstring(n) == L"Bravo" ? L"new" : L"x" + std::wstring(n)), Ansi(tips().SubText(RowNamed(n), 4)));
    // Applied: the registry gets Bravo's value from its own row.
    tips().SetChecked(RowNamed(L"Bravo"), true);
    PostedKey::Press(tips().hwnd(), VK_F5);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(TestReg::Get(kTestSubkeyAnsi, "vBravo", type, bytes));
    EXPECT_EQ(std::string("new\0", 4), bytes);
    EXPECT_FALSE(TestReg::Exists(kTestSubkeyAnsi, "vAlpha"));
    EXPECT_TRUE(boxes.empty());
}

// A header click sorts the rows: the shown tip stays on the selected row, and
// Ctrl+S saves it (found by the row, not by its old position).
TEST_F(CurrentRowTest, SaveAfterAHeaderClickSortWritesTheShownTip) {
    Start(FiveTips());
    Click(RowNamed(L"Bravo"));
    Pump();
    const int before = RowNamed(L"Bravo");
    props().Text5.SetText(L"新的说明");
    // Two clicks on the 作用 header, as the mouse gives them: ascending (the
    // file's order), then descending.
    HWND header = reinterpret_cast<HWND>(SendMessageW(tips().hwnd(), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    for (int click = 0; click < 2; ++click) {
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(header, WM_LBUTTONUP, 0, at);
        Pump();
    }
    ASSERT_NE(before, RowNamed(L"Bravo")) << "the rows were not sorted again";
    ASSERT_EQ(Ansi(L"新的说明"), Ansi(props().Text5.Text())) << "the edit was lost";
    ASSERT_EQ("Bravo", Ansi(props().Text1.Text()));
    ASSERT_TRUE(main().RowTooltip);
    EXPECT_EQ("Bravo", Ansi(main().RowTooltip->Title()));
    EXPECT_EQ("xBravo", Ansi(Forms::Form1().ImageCombo1.Text()));

    const std::string file = ReadBytes(CategoryFile());
    PostedKey::Press(props().Text5.hwnd(), 'S', VK_CONTROL);
    EXPECT_TRUE(boxes.empty());
    auto data = Entries(Section(Data));
    ASSERT_EQ(5u, data.size());
    EXPECT_EQ(A(kKey) + FM + "vBravo" + FM + "l" + JM + "xBravo" + FM + "0" + FM + A(L"新的说明") + FM + "1",
              data["Bravo"]);
    for (const wchar_t* n : {L"Alpha", L"Charlie", L"Delta", L"Echo"})
        EXPECT_NE(std::string::npos, file.find(Tip(n))) << Ansi(n);
    EXPECT_EQ(Ansi(L"新的说明"), Ansi(tips().SubTag(RowNamed(L"Bravo"), 3)));
    EXPECT_EQ(Ansi(L"d"), Ansi(tips().SubTag(RowNamed(L"Alpha"), 3)));
}

// One tip shown, a second row taken into the selection and its 命令 cell
// pressed: the popup offers the pressed tip's own options and writes only it.
TEST_F(CurrentRowTest, CandidatePopupWithTwoRowsSelectedBelongsToThePressedRow) {
    Start(Section(Data) + Tip(L"字符串测试", '0', L"开", "on") + Tip(L"数值测试", '2', L"一", "1") + Mirror(Data) +
          Line(L"字符串测试", Opts({L"开", L"关"}, {"on", "off"})) + Line(L"数值测试", Opts({L"一", L"二"}, {"1", "2"})));
    const int s = RowNamed(L"字符串测试"), d = RowNamed(L"数值测试");
    Click(s);
    Pump();
    tips().SetSelected(d, true);  // Ctrl+click
    Pump();
    std::vector<std::string> offered;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) -> std::wstring {
        for (const auto& item : m.Items)
            if (item.visible) offered.push_back(Ansi(item.text));
        return L"2";
    });
    RECT cell{};
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageW(tips().hwnd(), LVM_GETSUBITEMRECT, d - 1, reinterpret_cast<LPARAM>(&cell));
    const int x = (cell.left + 5) * Twips::PerPixelX(), y = (cell.top + 3) * Twips::PerPixelY();
    main().ListView1_MouseDown(1, 2, x, y);
    main().ListView1_MouseUp(1, 2, x, y);
    EXPECT_EQ((std::vector<std::string>{Ansi(L"一"), Ansi(L"二")}), offered);
    EXPECT_EQ(Ansi(L"二"), Ansi(tips().SubText(d, 1)));
    EXPECT_EQ("2", Ansi(tips().SubText(d, 4)));
    EXPECT_EQ(4, tips().SubIcon(d, 4));
    EXPECT_EQ(Ansi(L"开"), Ansi(tips().SubText(s, 1)));
    EXPECT_EQ("on", Ansi(tips().SubText(s, 4)));
    EXPECT_EQ(2, tips().SubIcon(s, 4));
    EXPECT_EQ(Ansi(L"数值测试"), Ansi(props().Text1.Text()));
    EXPECT_EQ("2", Ansi(Forms::Form1().ImageCombo1.Text()));
}

// Text pasted into 说明 is kept whole; what a tip file can hold is saved, and
// more is refused on saving with the too-long message, the file untouched.
TEST_F(CurrentRowTest, LongDescriptionIsKeptWholeAndRefusedOnlyBeyondWhatTheFileHolds) {
    const struct {
        size_t length;
        bool saved;
    } cases[] = {{32000, true}, {40000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        Start(FiveTips());
        Click(RowNamed(L"Alpha"));
        Pump();
        const std::wstring text(c.length, L'说');
        ASSERT_TRUE(PutTextOnClipboard(main().hwnd(), text));
        props().Text5.SetText(L"");
        SendMessageW(props().Text5.hwnd(), WM_PASTE, 0, 0);
        EXPECT_EQ(c.length, props().Text5.Text().size());
        const std::string before = ReadBytes(CategoryFile());
        if (!c.saved)
            ExpectBox(IDOK, L"“说明”的文字过长（40000 个字符），技巧文件中的一项最多只能保存 32766 个字符。请缩短后再保存。");
        PostedKey::Press(props().Text5.hwnd(), 'S', VK_CONTROL);
        if (c.saved) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_NE(std::string::npos, ReadBytes(CategoryFile()).find(FM + Ansi(text) + FM + "1\r\n"));
        } else {
            EXPECT_EQ(1u, boxes.size());
            EXPECT_EQ(before, ReadBytes(CategoryFile()));
        }
        Stop();
        boxes.clear();
    }
}
