// The options page from the toolbar's 选项: the switches as stored, what 确定
// writes and styles, what the ways out without 确定 leave, and a settings file
// that cannot be written.
#include "PagesFixture.h"

#include "common/Ini.h"

#include <string>
#include <vector>

using std::string;
using std::wstring;

namespace {
const wchar_t* const kKeys[] = {L"AutoCheck", L"AutoWidth", L"Listview_1", L"Listview_2", L"Listview_3", L"SaveLog",
                                L"SaveFile",  L"Tip",       L"Start",      L"SaveHistory", L"Choice"};

std::vector<CheckBox*> Boxes(Form4& f) {
    std::vector<CheckBox*> out;
    for (auto& [box, key] : f.OptionBoxes()) out.push_back(box);
    return out;
}

DWORD ListStyles() {
    return Forms::Form2().ListView1.ExtendedStyle() & (LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT);
}
void SetListStyles(DWORD styles) {
    Forms::Form2().ListView1.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT, styles);
}
}  // namespace

class OptionsPageTest : public PagesTest {
protected:
    // config.ini holding only [Data] with every switch set to `value`
    // (nullptr: none of them present).
    void StoreAll(const char* value) {
        string text = "[Data]\r\nOldUpdate=1\r\n";
        if (value)
            for (const wchar_t* k : kKeys) text += Ansi(k) + "=" + value + "\r\n";
        WriteBytes(Config::Path(), text);
    }
    wstring Stored(const wchar_t* key) { return Ini::Read(Config::Path(), L"Data", key); }
};

// Each stored text shows as the whole number of its leading number when that
// is 0, 1 or 2, else clear; 确定 then writes the state back as one digit.
TEST_F(OptionsPageTest, StoredValuesShowAsBoxStatesAndAreWrittenBack) {
    const struct {
        const char* stored;  // nullptr: the keys are absent
        int state;
        const wchar_t* written;
    } cases[] = {{nullptr, 0, L"0"}, {"0", 0, L"0"},   {"1", 1, L"1"},    {"2", 2, L"2"},  {"5", 0, L"0"},
                 {"1.5", 2, L"2"},   {"0.5", 0, L"0"}, {"-1", 0, L"0"},   {"abc", 0, L"0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(absent)");
        StoreAll(c.stored);
        OpenOptions([&](Form4& f) {
            ASSERT_EQ(11u, f.OptionBoxes().size());
            for (auto& [box, key] : f.OptionBoxes()) {
                SCOPED_TRACE(Ansi(key->name));
                EXPECT_EQ(c.state, box->Value());
            }
            f.Command1.PerformClick();
            EXPECT_FALSE(f.Exists());
        });
        for (const wchar_t* k : kKeys) EXPECT_EQ(Ansi(c.written), Ansi(Stored(k))) << Ansi(k);
    }
}

// The page as laid out: caption, size, the boxes in their frames, the buttons;
// it opens at the centre of the screen, also right after another page.
TEST_F(OptionsPageTest, OpensAsOptionsAfterAnotherPage) {
    Open([] { Forms::Form2().Toolbar1.Click(L"viewhf"); },
         [](Form4& f) { EXPECT_EQ(Ansi(L"恢复窗口"), Ansi(f.Caption())); f.Command24.PerformClick(); });
    OpenOptions([&](Form4& f) {
        EXPECT_EQ(Ansi(L"选项"), Ansi(f.Caption()));
        EXPECT_EQ(Twips::ToPixelsX(4770), Twips::ToPixelsX(f.Width()));
        EXPECT_EQ(Twips::ToPixelsY(5520), Twips::ToPixelsY(f.Height()));
        ExpectCentred(f.hwnd());
        EXPECT_FALSE(f.ListView1.Visible());
        EXPECT_FALSE(f.Command22.Visible());
        EXPECT_FALSE(f.Label28.Visible());
        EXPECT_FALSE(f.Command3.Visible());
        EXPECT_FALSE(f.Label4.Visible());
        const std::pair<Control*, const wchar_t*> captions[] = {
            {&f.Frame1, L"通用"},
            {&f.Check1, L"查看“收藏夹”的技巧时自动全部勾选(&C)"},
            {&f.Check2, L"允许列宽度自动适应(&A)"},
            {&f.Check8, L"显示提示(&T)"},
            {&f.Check6, L"开启日志功能(&L)"},
            {&f.Check7, L"保存文件列表目录(&S)"},
            {&f.Check9, L"询问是否开始使用技巧(&Q)"},
            {&f.Check10, L"开启备份功能(&B)"},
            {&f.Check11, L"全部勾选时不勾选具有危险性的技巧(&N)"},
            {&f.Frame2, L"查看技巧"},
            {&f.Check4, L"热跟踪"},
            {&f.Check3, L"网格线"},
            {&f.Check5, L"整行选择"},
            {&f.Frame4, L"恢复原始技巧数据库"},
            {&f.Label30, L"注意：此功能会覆盖当前使用的技巧数据库，请小心使用。"},
            {&f.Command21, L"开始恢复(&R)"},
            {&f.Command1, L"确定"},
            {&f.Command2, L"取消"},
        };
        for (const auto& [control, caption] : captions) {
            EXPECT_EQ(Ansi(caption), Ansi(control->CaptionText()));
            EXPECT_TRUE(control->Visible()) << Ansi(caption);
        }
        // Down the first frame, then left to right through the second.
        for (size_t i = 1; i < 8; ++i)
            EXPECT_LT(captions[i].first->Bounds().top, captions[i + 1].first->Bounds().top);
        EXPECT_LT(f.Check4.Bounds().left, f.Check3.Bounds().left);
        EXPECT_LT(f.Check3.Bounds().left, f.Check5.Bounds().left);
        RECT frame = f.Frame1.Bounds(), box = f.Check11.Bounds();
        EXPECT_TRUE(box.top > frame.top && box.bottom <= frame.bottom);
        // The reset button asks first; No leaves the page open and the file as it was.
        const string before = ReadBytes(Config::Path());
        ExpectBox(IDNO, L"你确定要恢复原始技巧数据库吗？");
        f.Command21.PerformClick();
        EXPECT_TRUE(f.Exists());
        EXPECT_EQ(before, ReadBytes(Config::Path()));
        f.Command2.PerformClick();
    });
}

// 确定 writes all eleven keys, also with nothing changed, and the tip list's
// grid lines, hot tracking and full-row select follow at once (grey counts as on).
TEST_F(OptionsPageTest, OkWritesElevenKeysAndStylesTheListAtOnce) {
    Ini::Write(Config::Path(), L"Data", L"Listview_1", L"2");
    Ini::Write(Config::Path(), L"Data", L"Listview_2", L"0");
    Ini::Write(Config::Path(), L"Data", L"Listview_3", L"1");
    Ini::Write(Config::Path(), L"Data", L"Tip", L"1");
    Ini::Write(Config::Path(), L"Data", L"Choice", L"7");
    SetListStyles(0);
    OpenOptions([&](Form4& f) {
        SendMessageW(f.Check4.hwnd(), BM_CLICK, 0, 0);  // clear -> ticked
        SendMessageW(f.Check8.hwnd(), BM_CLICK, 0, 0);  // ticked -> clear
        EXPECT_EQ(0u, ListStyles());                    // nothing before 确定
        f.Command1.PerformClick();
    });
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT), ListStyles());
    const wchar_t* expected[] = {L"0", L"0", L"2", L"1", L"1", L"0", L"0", L"0", L"0", L"0", L"0"};
    for (size_t i = 0; i < 11; ++i) EXPECT_EQ(Ansi(expected[i]), Ansi(Stored(kKeys[i]))) << Ansi(kKeys[i]);

    // A click clears the grey box, Enter is 确定: the grid lines go.
    OpenOptions([&](Form4& f) {
        EXPECT_EQ(CheckBox::Grey, f.Check3.Value());
        SendMessageW(f.Check3.hwnd(), BM_CLICK, 0, 0);
        f.Check1.SetFocus();
        PostKey(f.Check1.hwnd(), VK_RETURN);
    });
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT), ListStyles());
    EXPECT_EQ("0", Ansi(Stored(L"Listview_1")));
}

// 取消, Esc and the close box after changing every box: config.ini keeps
// every byte and the list its styles.
TEST_F(OptionsPageTest, CancelEscAndCloseBoxLeaveTheFileByteForByte) {
    const string bytes =
        "[Data]\r\nOldUpdate=1\r\nAutoCheck = 1\r\nListview_1=2\r\n; a note\r\nTip=0\r\nChoice=1.5\r\n[Favorite]\r\n系统\r\n";
    const enum { Cancel, Esc, CloseBox, SysClose } ways[] = {Cancel, Esc, CloseBox, SysClose};
    for (auto way : ways) {
        SCOPED_TRACE(static_cast<int>(way));
        WriteBytes(Config::Path(), bytes);
        SetListStyles(LVS_EX_GRIDLINES);
        OpenOptions([&](Form4& f) {
            for (CheckBox* b : Boxes(f)) SendMessageW(b->hwnd(), BM_CLICK, 0, 0);
            switch (way) {
            case Cancel: f.Command2.PerformClick(); break;
            case Esc: PostKey(f.Check5.hwnd(), VK_ESCAPE); break;
            case CloseBox: PostMessageW(f.hwnd(), WM_CLOSE, 0, 0); break;
            case SysClose: PostMessageW(f.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
            }
        });
        EXPECT_EQ(bytes, ReadBytes(Config::Path()));
        EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES), ListStyles());
    }
}

// A settings file that cannot be written: 确定 says so and the page stays
// open with the boxes as set; once the file is free again 确定 writes them.
TEST_F(OptionsPageTest, HeldSettingsFileKeepsThePageOpenWithAMessage) {
    StoreAll("1");
    SetListStyles(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const string before = ReadBytes(Config::Path());
    ExpectBox(IDOK, L"无法把选项全部写入 config.ini（该文件可能是只读的或正被其它程序使用），有的设置没有保存。");
    OpenOptions([&](Form4& f) {
        SendMessageW(f.Check3.hwnd(), BM_CLICK, 0, 0);
        HANDLE held = CreateFileW(Config::Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        f.Command1.PerformClick();
        CloseHandle(held);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_EQ(Ansi(App::Title()), Ansi(boxes[0].title));
        EXPECT_TRUE(f.Exists());
        EXPECT_TRUE(IsWindowVisible(f.hwnd()));
        EXPECT_EQ(CheckBox::Clear, f.Check3.Value());
        EXPECT_EQ(before, ReadBytes(Config::Path()));
        EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT), ListStyles());
        f.Command1.PerformClick();
        EXPECT_FALSE(f.Exists());
    });
    EXPECT_EQ("0", Ansi(Stored(L"Listview_1")));
    EXPECT_EQ("1", Ansi(Stored(L"Listview_3")));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_TRACKSELECT | LVS_EX_FULLROWSELECT), ListStyles());
}

// For docs/screenshots/options.png (only with QUORIX_SHOT_MARK set).
TEST_F(OptionsPageTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    StoreAll("1");
    Ini::Write(Config::Path(), L"Data", L"Listview_2", L"0");
    Ini::Write(Config::Path(), L"Data", L"SaveFile", L"2");
    OpenOptions([](Form4& f) {
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command2.PerformClick();
    });
}
