// The multi-page dialog's control ids, texts and Tab order: every page opened as the
// program opens it, its child windows walked. The dialog manager finds the default button,
// the access keys and the Tab order by id, so no id may stand for two controls,
// neither on one page nor across the pages (a page's controls stay with the
// window until it is unloaded, and the pages share one window).
#include "dialogs/PagesFixture.h"
#include "fixtures/TipRows.h"
#include "support/RealInput.h"

#include <map>
#include <set>

namespace {
std::wstring ClassOf(HWND h) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    return name;
}
std::wstring TextOf(HWND h) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return text;
}
// The visible texts of a window's child labels, check boxes and buttons that
// do not fit their control at the control's own font: a label's text wrapped
// at its width needs more lines than it has room for, a check box's or
// button's one line is wider than its room. Labels that cut their text with a
// visible ellipsis are left out.
std::vector<std::string> CutTexts(HWND window) {
    std::vector<std::string> out;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        const std::wstring cls = ClassOf(c), text = TextOf(c);
        if (text.empty()) continue;
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        RECT client{};
        GetClientRect(c, &client);
        UINT format = DT_CALCRECT;
        int room = client.right;
        if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
            const LONG type = style & SS_TYPEMASK;
            if (type > SS_RIGHT || (style & SS_ELLIPSISMASK)) continue;
            format |= DT_WORDBREAK | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
        } else if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX || type == BS_OWNERDRAW) continue;
            format |= DT_SINGLELINE;
            const bool box = type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
            room -= box ? 18 : 6;  // the box and its gap, or the button's edges
        } else {
            continue;
        }
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        RECT need{0, 0, room, 0};
        DrawTextW(dc, text.c_str(), -1, &need, format);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        if (need.right > room || need.bottom > client.bottom)
            out.push_back(Ansi(text) + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) +
                          ", has " + std::to_string(room) + "x" + std::to_string(client.bottom));
    }
    return out;
}

struct Seen {
    std::string page;
    const Control* control;
};
}  // namespace

class ControlIdsTest : public PagesTest {
protected:
    // id -> the controls that carried it, with the page each was seen on.
    std::map<int, std::vector<Seen>> ids;

    void Walk(const std::string& page, HWND window) {
        std::set<int> onThisPage;
        int children = 0;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            ++children;
            const int id = GetDlgCtrlID(c);
            EXPECT_NE(0, id) << page << ": a child window without an id";
            EXPECT_NE(IDOK, id) << page;
            EXPECT_NE(IDCANCEL, id) << page;
            EXPECT_TRUE(onThisPage.insert(id).second) << page << ": two child windows with the id " << id;
            const Control* control = Control::FromHwnd(c);
            auto& list = ids[id];
            bool known = false;
            for (const Seen& s : list) known = known || s.control == control;
            if (!known) list.push_back({page, control});
        }
        EXPECT_GT(children, 0) << page;
    }
    void OpenAndWalk(const std::string& page, const std::function<void()>& open) {
        Open(open, [&](Form4& f) {
            Walk(page, f.hwnd());
            EXPECT_EQ(std::vector<std::string>{}, CutTexts(f.hwnd())) << page;
            f.Close();
        });
    }
};

TEST_F(ControlIdsTest, EveryPageNumbersItsControlsApartFromEveryOther) {
    Form2& main = Forms::Form2();
    ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
    ASSERT_TRUE(App::CreateEmptyFile(Path(L"Bak\\05-06-2026.bak")));
    WriteBytes(Path(L"信息.upd"), "[Fileinfo]\r\nUse=u\r\n");
    main.ListView1.Clear();
    const int row = TestRows::Add(main.ListView1, TestRows::Tip{.name = L"甲", .typeCode = L"0", .valueName = L"v",
                                                               .data = L"1", .keyPath = kTestKey});
    Transfer::PendingTip tip;
    tip.name = L"甲";
    tip.record = std::wstring(kTestKey) + L"\xF8F5v\xF8F5";

    OpenAndWalk("options", [&] { main.Toolbar1.Click(L"set"); });
    OpenAndWalk("about", [&] { main.Toolbar1.Click(L"about"); });
    OpenAndWalk("restore", [&] { main.Toolbar1.Click(L"viewhf"); });
    OpenAndWalk("favourites", [&] { main.OpenFavouritesPage(); });
    OpenAndWalk("export", [&] { main.OpenExportPage(); });
    Open([&] { main.OpenExportPage(); },
         [&](Form4& f) {
             f.TabStrip1.Select(2);
             f.TabStrip1_Click();
             EXPECT_EQ(std::vector<std::string>{}, CutTexts(f.hwnd())) << "export, second tab";
             f.Close();
         });
    OpenAndWalk("file information", [&] { Forms::Form4().OpenFileInfoPage(Path(L"信息.upd")); });
    OpenAndWalk("value editor", [&] { main.regzfc_Click(); });
    OpenAndWalk("replace", [&] { Forms::Form4().OpenReplacePage(tip, main.ListView1, row); });

    for (const auto& [id, seen] : ids) {
        if (seen.size() < 2) continue;
        std::string pages;
        for (const Seen& s : seen) pages += " " + s.page;
        ADD_FAILURE() << "id " << id << " stands for " << seen.size() << " controls, on the pages" << pages;
    }
    // Every page's own controls were among them (the pages made on opening too).
    for (int id : {Form4::IdCommand13, Form4::IdLabel27, Form4::IdText7, Form4::IdCheck1, Form4::IdCommand15,
                   Form4::IdTabStrip1, Form4::IdCommand7, Form4::IdCommand22})
        EXPECT_EQ(1u, ids.count(id)) << id;
    main.ListView1.Clear();
}

// Tab walks each page's controls in the order its layout gives: the options
// page down the first frame, then left to right through the second, then the
// reset button, 确定 and 取消; the replace page's buttons left to right.
TEST_F(ControlIdsTest, TabWalksEachPageInItsLayoutsOrder) {
    auto walk = [](Form4& f, std::initializer_list<const Control*> order) {
        std::vector<HWND> seen, expected;
        SetFocus((*order.begin())->hwnd());
        for (size_t i = 1; i < order.size(); ++i) {
            RealInput::Key(VK_TAB);
            for (int k = 0; k < 10; ++k) {
                Modal::DoEvents();
                Sleep(10);
            }
            seen.push_back(GetFocus());
            expected.push_back((order.begin()[i])->hwnd());
        }
        EXPECT_EQ(expected, seen);
        f.Close();
    };
    Form2& main = Forms::Form2();
    Open([&] { main.Toolbar1.Click(L"set"); },
         [&](Form4& f) {
             walk(f, {&f.Check1, &f.Check2, &f.Check8, &f.Check6, &f.Check7, &f.Check9, &f.Check10, &f.Check11,
                      &f.Check4, &f.Check3, &f.Check5, &f.Command21, &f.Command1, &f.Command2, &f.Check1});
         });
    main.ListView1.Clear();
    const int row = TestRows::Add(main.ListView1, TestRows::Tip{.name = L"甲", .typeCode = L"0", .valueName = L"v",
                                                               .data = L"1", .keyPath = kTestKey});
    Transfer::PendingTip tip;
    tip.name = L"甲";
    tip.record = std::wstring(kTestKey) + L"\xF8F5v\xF8F5";
    Open([&] { Forms::Form4().OpenReplacePage(tip, main.ListView1, row); },
         [&](Form4& f) { walk(f, {&f.Command7, &f.Command9, &f.Command8, &f.Command10, &f.Command7}); });
    main.ListView1.Clear();
}
