// The insert menu of the two "+" buttons, through the real program: it opens
// under the button, the target box follows the last "+" pressed, each item
// inserts what its dialog gives (the dialogs answered through their responder,
// the folder browser once for real), a cancel inserts nothing, and the text
// replaces the box's selection.
#include "common/Config.h"
#include "common/Ini.h"
#include "dialogs/GCommonDialog.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Menu.h"
#include "platform/Text.h"
#include "platform/Twips.h"
#include "support/DialogDriver.h"
#include "support/RealInput.h"
#include "support/Fixture.h"

#include <shlobj.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {
const std::string FM = "\xFF";
const std::string JM = "\x81\x88";

class InsertMenuTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        PrepareRunBefore();
        const std::pair<const wchar_t*, const wchar_t*> keys[] = {
            {L"Width_1", L"7500"}, {L"Height_1", L"4800"}, {L"Left_1", L"3000"}, {L"Top_1", L"1500"},
            {L"Form2Visible", L"1"}, {L"ViewCheck", L"0"}, {L"Tip", L"0"},
        };
        for (const auto& [key, value] : keys) Ini::Write(Config::Path(), Config::DataSection, key, value);
        // One string tip, so that both value boxes are enabled.
        const std::string data = "\xCA\xFD\xBE\xDD";  // 数据
        WriteBytes(Path(L"Data\\示例.qix"),
                   "[" + data + "]\r\n" + Ansi(L"提示") + "=HKEY_CURRENT_USER\\Software\\QuorixTest" + FM + "v" + FM +
                       "a" + JM + "x" + FM + "0" + FM + "d" + FM + "1\r\n[" + FM + data + FM + "]\r\n");
        Form2& f = Forms::Form2();
        ASSERT_TRUE(f.Exists());
        f.Show();
        Ui::DoEvents();
        ASSERT_TRUE(Forms::Form1().ImageCombo1.Exists());
        Forms::Form3().SelectTab(2);  // the data box and its "+"
        SYSTEMTIME t{};
        t.wYear = 2026, t.wMonth = 12, t.wDay = 9, t.wHour = 14, t.wMinute = 15, t.wSecond = 0;
        App::SetNowForTests(t);
    }
    void TearDown() override {
        PopupMenu::SetChooserForTests(nullptr);
        GCommonDialog::SetResponderForTests(nullptr);
        if (Form2* f = Forms::Form2IfLoaded()) {
            SendMessageW(f->hwnd(), WM_CLOSE, 0, 0);
            Ui::DoEvents();
        }
        App::SetNowForTests(std::nullopt);
        QuorixTest::TearDown();
    }

    ComboBox& Bar() { return Forms::Form1().ImageCombo1; }
    ComboBox& Data() { return Forms::Form3().ImageCombo1; }

    // Gives the box the focus and `text` with characters [from, to) selected,
    // as the user leaves it before pressing "+".
    static void Put(ComboBox& box, const std::wstring& text, int from, int to) {
        box.SetFocus();
        box.SetText(text);
        SendMessageW(box.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(from, to));
    }
    static std::pair<int, int> Selection(ComboBox& box) {
        DWORD from = 0, to = 0;
        SendMessageW(box.hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return {static_cast<int>(from), static_cast<int>(to)};
    }

    // Presses a "+" as the mouse does (the button takes the focus) and picks
    // `item` from the menu that pops up.
    std::vector<std::wstring> menuTexts;
    void Press(bool dataBox, const std::wstring& item) {
        menuTexts.clear();
        PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
            for (const MenuItem& it : m.Items)
                if (it.visible) menuTexts.push_back(it.text);
            return item;
        });
        CommandButton& plus = dataBox ? Forms::Form3().Command3 : Forms::Form1().Command1;
        plus.SetFocus();
        plus.PerformClick();
        PopupMenu::SetChooserForTests(nullptr);
    }
};

// Answers the dialogs with `answer`, recording the kind of each call in `seen`.
void Respond(std::vector<GCommonDialog::SystemCall::Kind>& seen, std::function<BOOL(GCommonDialog::SystemCall&)> answer) {
    GCommonDialog::SetResponderForTests([&seen, answer](GCommonDialog::SystemCall& c) {
        seen.push_back(c.kind);
        return answer(c);
    });
}

BOOL PickColour(GCommonDialog::SystemCall& c, COLORREF colour) {
    if (c.kind != GCommonDialog::SystemCall::Color) return FALSE;
    c.cc->rgbResult = colour;
    return TRUE;
}
}  // namespace

TEST_F(InsertMenuTest, TheTargetFollowsTheLastPlusAndTheMenuHoldsTheSevenItems) {
    Put(Bar(), L"B", 1, 1);
    Put(Data(), L"D", 1, 1);
    Press(true, L"dqsj");
    const std::vector<std::wstring> items = {L"目录名(&C)", L"文件名(&F)", L"字体名(&N)", L"RGB颜色值(&R)",
                                             L"十六进制颜色值(&H)", L"当前日期(&D)", L"当前时间(&T)"};
    EXPECT_EQ(items, menuTexts);
    EXPECT_EQ(Ansi(L"D14:15:00"), Ansi(Data().Text()));
    EXPECT_EQ("B", Ansi(Bar().Text()));

    Put(Data(), L"D", 1, 1);
    Press(false, L"dqrq");
    EXPECT_EQ("B12-09-2026", Ansi(Bar().Text()));
    EXPECT_EQ("D", Ansi(Data().Text()));
    EXPECT_EQ(7u, menuTexts.size());

    // With the properties window switched off the bar stays the target.
    Forms::Form2().Closejqsx();
    ASSERT_EQ(nullptr, Forms::Form3IfLoaded());
    Put(Bar(), L"", 0, 0);
    Press(false, L"dqsj");
    EXPECT_EQ("14:15:00", Ansi(Bar().Text()));
}

TEST_F(InsertMenuTest, ItemsInsertWhatTheirDialogsGiveInPlaceOfTheSelection) {
    const HWND main = Forms::Form2().hwnd();
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::wstring folder = dir.substr(0, dir.size() - 1);
    const std::wstring file = dir + L"工具.exe";
    WriteBytes(file, "MZ");
    struct Case {
        const wchar_t* item;
        std::function<BOOL(GCommonDialog::SystemCall&)> answer;
        std::wstring inserted;
    } cases[] = {
        {L"ml",
         [&](GCommonDialog::SystemCall& c) {
             EXPECT_EQ(GCommonDialog::SystemCall::Folder, c.kind);
             EXPECT_EQ(main, c.bi->hwndOwner);
             EXPECT_EQ(Ansi(L"请选择文件目录"), Ansi(c.bi->lpszTitle));
             EXPECT_EQ(0u, c.bi->ulFlags);
             EXPECT_EQ(nullptr, c.bi->pidlRoot);
             c.picked = ILCreateFromPathW(folder.c_str());
             return c.picked != nullptr;
         },
         folder},
        {L"wjm",
         [&](GCommonDialog::SystemCall& c) {
             EXPECT_EQ(GCommonDialog::SystemCall::Open, c.kind);
             EXPECT_EQ(main, c.ofn->hwndOwner);
             EXPECT_EQ(Ansi(L"请选择文件"), std::string(c.ofn->lpstrTitle));
             EXPECT_EQ(static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST),
                       c.ofn->Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
             EXPECT_EQ(3u, c.ofn->nFilterIndex);
             EXPECT_EQ(Ansi(L"可执行文件"), std::string(c.ofn->lpstrFilter));
             EXPECT_EQ(Ansi(current), std::string(c.ofn->lpstrInitialDir ? c.ofn->lpstrInitialDir : ""));
             const std::string chosen = Ansi(file);
             std::memcpy(c.ofn->lpstrFile, chosen.c_str(), chosen.size() + 1);
             return TRUE;
         },
         file},
        {L"ztm",
         [&](GCommonDialog::SystemCall& c) {
             EXPECT_EQ(GCommonDialog::SystemCall::Font, c.kind);
             EXPECT_EQ(main, c.cf->hwndOwner);
             const std::string face = Ansi(L"宋体");
             std::memcpy(c.cf->lpLogFont->lfFaceName, face.c_str(), face.size() + 1);
             return TRUE;
         },
         L"宋体"},
        {L"rgb",
         [&](GCommonDialog::SystemCall& c) {
             EXPECT_EQ(main, c.cc->hwndOwner);
             EXPECT_EQ(static_cast<DWORD>(CC_FULLOPEN | CC_ANYCOLOR), c.cc->Flags & (CC_FULLOPEN | CC_ANYCOLOR));
             return PickColour(c, RGB(10, 20, 30));
         },
         L"10 20 30"},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& k = cases[i];
        SCOPED_TRACE(Ansi(k.item));
        std::vector<GCommonDialog::SystemCall::Kind> seen;
        Respond(seen, k.answer);
        // Alternately into either box, replacing "cd" of "abcdef".
        const bool dataBox = i % 2 == 1;
        ComboBox& box = dataBox ? Data() : Bar();
        Put(box, L"abcdef", 2, 4);
        Press(dataBox, k.item);
        EXPECT_EQ(1u, seen.size());
        EXPECT_EQ(Ansi(L"ab" + k.inserted + L"ef"), Ansi(box.Text()));
    }
}

TEST_F(InsertMenuTest, ColoursInBothForms) {
    // Decimal as red, green, blue; hexadecimal as the colour value holds it.
    const struct {
        COLORREF colour;
        const char* rgb;
        const char* hex;
    } cases[] = {
        {RGB(255, 0, 0), "255 0 0", "&H0000FF"},
        {RGB(0, 0, 255), "0 0 255", "&HFF0000"},
        {RGB(0, 0, 0), "0 0 0", "&H000000"},
        {RGB(255, 255, 255), "255 255 255", "&HFFFFFF"},
    };
    std::vector<GCommonDialog::SystemCall::Kind> seen;
    for (const auto& k : cases) {
        Respond(seen, [&](GCommonDialog::SystemCall& c) { return PickColour(c, k.colour); });
        Put(Bar(), L"", 0, 0);
        Press(false, L"rgb");
        EXPECT_EQ(k.rgb, Ansi(Bar().Text()));
        Put(Data(), L"", 0, 0);
        Press(true, L"hexys");
        EXPECT_EQ(k.hex, Ansi(Data().Text()));
    }
}

TEST_F(InsertMenuTest, ACancelOrAFolderWithoutAPathInsertsNothing) {
    std::vector<GCommonDialog::SystemCall::Kind> seen;
    Respond(seen, [](GCommonDialog::SystemCall&) { return FALSE; });
    for (const wchar_t* item : {L"ml", L"wjm", L"ztm", L"rgb", L"hexys"}) {
        SCOPED_TRACE(Ansi(item));
        for (bool dataBox : {false, true}) {
            ComboBox& box = dataBox ? Data() : Bar();
            Put(box, L"abcdef", 2, 4);
            Press(dataBox, item);
            EXPECT_EQ("abcdef", Ansi(box.Text()));
            EXPECT_EQ(std::make_pair(2, 4), Selection(box));
        }
    }
    EXPECT_EQ(10u, seen.size());
    // The computer has no file-system path.
    Respond(seen, [](GCommonDialog::SystemCall& c) {
        return SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &c.picked)) ? TRUE : FALSE;
    });
    Put(Bar(), L"abcdef", 2, 4);
    Press(false, L"ml");
    EXPECT_EQ("abcdef", Ansi(Bar().Text()));
}

TEST_F(InsertMenuTest, TheSystemFolderBrowserCancelled) {
    Put(Bar(), L"abcdef", 2, 4);
    bool sawPrompt = false;
    DialogDriver driver({[&](HWND d) {
        if (!d) return false;
        for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (DialogDriver::TextOf(c) == L"请选择文件目录") sawPrompt = true;
        DialogDriver::Click(d, IDCANCEL);
        return true;
    }});
    Press(false, L"ml");
    EXPECT_TRUE(driver.Finished());
    EXPECT_TRUE(sawPrompt);
    EXPECT_EQ("abcdef", Ansi(Bar().Text()));
}

namespace {
// The system menu window that a timer found up, and where it stood.
RECT g_menuRect{};
bool g_menuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) return;
    GetWindowRect(menu, &g_menuRect);
    g_menuSeen = true;
    KillTimer(nullptr, id);
    EndMenu();
}
}  // namespace

TEST_F(InsertMenuTest, TheRealMenuOpensUnderEachPlus) {
    for (bool dataBox : {false, true}) {
        SCOPED_TRACE(dataBox ? "properties window" : "value bar");
        CommandButton& plus = dataBox ? Forms::Form3().Command3 : Forms::Form1().Command1;
        RECT button{};
        GetWindowRect(plus.hwnd(), &button);
        g_menuSeen = false;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, CloseMenu);
        plus.PerformClick();
        KillTimer(nullptr, timer);
        ASSERT_TRUE(g_menuSeen);
        EXPECT_EQ(button.left, g_menuRect.left);
        EXPECT_EQ(button.top + Twips::ToPixelsY(315), g_menuRect.top);
    }
}

// After the system's dialog of the properties window's "+" (the colour
// dialog, cancelled) the properties window is active again with the focus
// on the "+", and a key acts there: Tab moves on to the option list.
TEST_F(InsertMenuTest, TheFocusComesBackToThePropertiesWindowAfterTheDialog) {
    Form3& p = Forms::Form3();
    SetForegroundWindow(p.hwnd());
    Ui::DoEvents();
    DialogDriver driver({[&](HWND d) {
        if (!d) return false;
        DialogDriver::Click(d, IDCANCEL);
        return true;
    }});
    Press(true, L"rgb");
    EXPECT_TRUE(driver.Finished());
    for (int i = 0; i < 10; ++i) {
        Ui::DoEvents();
        Sleep(10);
    }
    EXPECT_EQ(p.hwnd(), GetActiveWindow());
    EXPECT_EQ(p.Command3.hwnd(), GetFocus());
    RealInput::Key(VK_TAB);
    for (int i = 0; i < 15; ++i) {
        Ui::DoEvents();
        Sleep(10);
    }
    EXPECT_EQ(p.ListView1.hwnd(), GetFocus());
}
