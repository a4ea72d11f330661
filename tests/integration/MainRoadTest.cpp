// The main road from end to end, through the real windows, files and registry:
// the program starts on a category file, the user ticks every tip with F3,
// applies them with F5, and later restores the day's backup from the restore
// page opened by the toolbar.
#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "dialogs/Form4.h"
#include "platform/Modal.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <windows.h>

namespace {
const std::wstring kKey = L"HKEY_CURRENT_USER\\Software\\QuorixTest\\主干";
const std::string kSub = "Software\\QuorixTest\\\xD6\xF7\xB8\xC9";  // 主干 in code page 936
constexpr COLORREF kBlue = RGB(0, 0, 255);

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
}  // namespace

class MainRoadTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        if (Form2* f = Forms::Form2IfLoaded()) f->Unload();
        PrepareRunBefore();
        const std::pair<const wchar_t*, const wchar_t*> settings[] = {
            {L"Start", L"1"}, {L"SaveHistory", L"1"}, {L"SaveLog", L"1"}, {L"Choice", L"1"}, {L"TreeIndex", L"1"}};
        for (const auto& [key, value] : settings) ASSERT_TRUE(Ini::Write(Path(L"config.ini"), L"Data", key, value));
        ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
        SetDate(2026, 12, 10);
    }
    void TearDown() override {
        Modal::SetHookForTests(nullptr);
        if (Form2* f = Forms::Form2IfLoaded()) f->Unload();
        QuorixTest::TearDown();
    }
    void AddTip(const std::wstring& name, const std::wstring& value, const std::wstring& label,
                const std::wstring& data, const wchar_t* type, const wchar_t* danger) {
        TipFile::TipRecord r{kKey, value, label, data, type, L"测试", danger};
        TipFile::OptionList o{{label, L"默认"}, {data, Marks::DeleteMark}};
        ASSERT_TRUE(TipFile::WriteTip(Path(L"Data\\系统.qix"), TipFile::DataSection, name, TipFile::EncodeRecord(r),
                                      TipFile::EncodeOptions(o)));
    }
};

TEST_F(MainRoadTest, TicksAppliesAndRestoresTheDay) {
    AddTip(L"文字", L"Text", L"启用", L"新值", L"0", L"1");
    AddTip(L"数字", L"Number", L"启用", L"ffffffff", L"2", L"1");
    AddTip(L"字节", L"Bytes", L"启用", L"01 ab ff", L"1", L"1");
    AddTip(L"删除", L"Gone", L"删除", Marks::DeleteMark, L"0", L"1");
    AddTip(L"危险", L"Risky", L"启用", L"1", L"2", L"2");  // not ticked: Choice 1 skips dangerous tips
    // The state before: Text holds an old string, Gone exists, the others are absent.
    TestReg::Set(kSub, "Text", REG_SZ, std::string("\xBE\xC9\0", 3));  // 旧
    TestReg::Set(kSub, "Gone", REG_DWORD, Dword(7));

    Form2& main = Forms::Form2();
    ASSERT_TRUE(main.Exists());
    ASSERT_TRUE(Forms::frmShadow().Exists());
    ASSERT_EQ(5, main.ListView1.Count());
    EXPECT_EQ(L"Quorix 3.0 - 系统", main.Caption());
    EXPECT_EQ(L"共有 5 个技巧", main.StatusBar1.PanelText(1));

    main.ListView1_KeyDown(VK_F3, 0);
    ExpectBox(IDYES, L"是否现在开始使用技巧？");
    main.ListView1_KeyDown(VK_F5, 0);

    EXPECT_EQ(L"技巧使用完成", main.StatusBar1.PanelText(3));
    for (int row = 1; row <= 5; ++row) {
        bool dangerous = main.ListView1.Text(row) == L"危险";
        EXPECT_EQ(!dangerous, main.ListView1.Checked(row)) << Ansi(main.ListView1.Text(row));
        EXPECT_EQ(dangerous ? ListView::kDefaultColor : kBlue, main.ListView1.ForeColor(row))
            << Ansi(main.ListView1.Text(row));
    }
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(TestReg::Get(kSub, "Text", type, bytes));
    EXPECT_EQ(std::string("\xD0\xC2\xD6\xB5\0", 5), bytes);  // 新值
    ASSERT_TRUE(TestReg::Get(kSub, "Number", type, bytes));
    EXPECT_EQ(Dword(0xFFFFFFFF), bytes);
    ASSERT_TRUE(TestReg::Get(kSub, "Bytes", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);
    EXPECT_EQ(std::string("\x01\xAB\xFF", 3), bytes);
    EXPECT_FALSE(TestReg::Exists(kSub, "Gone"));
    EXPECT_FALSE(TestReg::Exists(kSub, "Risky"));
    EXPECT_EQ(4u, Ini::Keys(Path(L"logfile.txt"), L"12-10-2026").size());
    EXPECT_EQ(4u, Ini::Keys(Path(L"Bak\\12-10-2026.bak"), L"系统").size());

    // The restore page, opened from the toolbar: Enter restores the first (only) day.
    bool pageSeen = false;
    Modal::SetHookForTests([&](HWND) {
        Form4& dialog = Forms::Form4();
        pageSeen = dialog.Caption() == L"恢复窗口";
        ASSERT_EQ(1, dialog.ListView1.Count());
        EXPECT_EQ(L"12-10-2026", dialog.ListView1.Text(1));
        ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
        ExpectBox(IDOK, L"还原完成。");
        dialog.Command22_Click();
        dialog.Command24_Click();
    });
    main.Toolbar1_ButtonClick(L"viewhf");
    EXPECT_TRUE(pageSeen);

    ASSERT_TRUE(TestReg::Get(kSub, "Text", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::string("\xBE\xC9\0", 3), bytes);
    ASSERT_TRUE(TestReg::Get(kSub, "Gone", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(Dword(7), bytes);
    for (const char* absent : {"Number", "Bytes", "Risky"}) EXPECT_FALSE(TestReg::Exists(kSub, absent)) << absent;
}

// F5 in the tip list (a real key message) and the toolbar's start button run
// the apply only while `start` is enabled; with nothing ticked the run refuses.
TEST_F(MainRoadTest, F5AndTheStartButtonActOnlyWhileStartIsEnabled) {
    AddTip(L"文字", L"Text", L"启用", L"新值", L"0", L"1");
    Form2& main = Forms::Form2();
    ASSERT_TRUE(main.Exists());
    ASSERT_EQ(1, main.ListView1.Count());
    const std::wstring refusal = L"请勾选要使用的技巧，然后再使用本命令。";
    auto pressF5 = [&] {
        SendMessageW(main.ListView1.hwnd(), WM_KEYDOWN, VK_F5, 0);
        SendMessageW(main.ListView1.hwnd(), WM_KEYUP, VK_F5, 0);
    };

    ASSERT_TRUE(main.Toolbar1.Enabled(1));
    ExpectBox(IDOK, refusal);
    pressF5();
    ExpectBox(IDOK, refusal);
    main.Toolbar1.Click(L"start");
    ASSERT_EQ(2u, boxes.size());

    main.Toolbar1.SetEnabled(L"start", false);
    pressF5();  // nothing happens: an unexpected box would fail the test
    main.Toolbar1.Click(L"start");
    EXPECT_EQ(2u, boxes.size());
    EXPECT_FALSE(TestReg::Exists(kSub, "Text"));

    main.Toolbar1.SetEnabled(L"start", true);
    main.ListView1.SetChecked(1, true);
    ExpectBox(IDNO, L"是否现在开始使用技巧？");
    pressF5();  // answered No: nothing is written
    EXPECT_FALSE(TestReg::Exists(kSub, "Text"));
    EXPECT_EQ(ListView::kDefaultColor, main.ListView1.ForeColor(1));
}

// A mouse click on a toolbar button reaches its command as a user's click does.
TEST_F(MainRoadTest, MouseClicksOnTheToolbarRunTheirCommands) {
    AddTip(L"文字", L"Text", L"启用", L"新值", L"0", L"1");
    Form2& main = Forms::Form2();
    ASSERT_TRUE(main.Exists());
    main.Show();
    auto click = [&](const wchar_t* key) {
        RECT r = main.Toolbar1.ButtonRect(main.Toolbar1.IndexOf(key));
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ScreenToClient(main.Toolbar1.hwnd(), &pt);
        SendMessageW(main.Toolbar1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        SendMessageW(main.Toolbar1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    };
    ExpectBox(IDOK, L"请勾选要使用的技巧，然后再使用本命令。");
    click(L"start");
    EXPECT_EQ(1u, boxes.size());

    const bool linked = main.Toolbar1.Pressed(L"cklj");
    click(L"cklj");
    EXPECT_NE(linked, main.Toolbar1.Pressed(L"cklj"));
    EXPECT_EQ(linked ? 21 : 20, main.Toolbar1.Image(L"cklj"));
}
