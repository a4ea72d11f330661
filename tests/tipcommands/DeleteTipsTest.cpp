// Deleting the selected tips: the question, the files byte by byte, the rows
// and commands left, and files that cannot be written.
#include "tipcommands/TipCommandsFixture.h"

using namespace Gbk;

namespace {
const std::wstring kQuestion = L"你确定要删除选定的技巧吗？";

std::vector<Tip> Five() { return {Simple(Jia), Simple(Yi), Simple(Bing), Simple(Ding), Simple(Wu)}; }
}  // namespace

class DeleteTipsTest : public TipCommandsTest {};

// The question (Yes its default button, as in the program's other tip
// commands); No leaves file, rows, selection and commands as they were.
TEST_F(DeleteTipsTest, NoChangesNothing) {
    const std::string bytes = Section(Data, Five());
    WriteBytes(CatFile(Cat), bytes);
    Show(Text::FromAnsi(Cat));
    Select({2});
    ExpectBox(IDNO, kQuestion);
    main().ListView1_KeyDown(VK_DELETE, 0);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1), boxes[0].style);
    EXPECT_EQ(bytes, ReadBytes(CatFile(Cat)));
    EXPECT_EQ(5, list().Count());
    EXPECT_EQ(std::vector<int>{2}, SelectedRows());
    EXPECT_TRUE(main().Toolbar1.Enabled(ToolbarKey::del2));
}

// Rows 2 and 4 of 5 (toolbar and popup): their keys leave the section and its
// mirror, the other rows keep their order, the first row alone is selected and
// is what the properties window and the value bar now show.
TEST_F(DeleteTipsTest, RowsTwoAndFourOfFive) {
    for (const bool toolbar : {true, false}) {
        SCOPED_TRACE(toolbar ? "toolbar" : "popup");
        WriteBytes(CatFile(Cat), Section(Data, Five()));
        Show(Text::FromAnsi(Cat));
        Select({4});
        main().ShowItem();
        ASSERT_EQ(Ding, Ansi(Forms::Form3().Text1.Text()));
        Select({2, 4});
        ExpectBox(IDYES, kQuestion);
        if (toolbar) {
            main().Toolbar1_ButtonClick(ToolbarKey::del2);
        } else {
            PopupMenu::SetChooserForTests([](const PopupMenu&) { return std::wstring(L"del"); });
            main().ListView1_RightClick(POINT{10, 10});
        }
        EXPECT_EQ(Section(Data, {Simple(Jia), Simple(Bing), Simple(Wu)}), ReadBytes(CatFile(Cat)));
        EXPECT_EQ((std::vector<std::string>{Jia, Bing, Wu}), Rows());
        EXPECT_EQ(std::vector<int>{1}, SelectedRows());
        // The first row holds the focus mark, and no other row does.
        EXPECT_EQ(0, SendMessageW(main().ListView1.hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        EXPECT_EQ(-1, SendMessageW(main().ListView1.hwnd(), LVM_GETNEXTITEM, 0, LVNI_FOCUSED));
        EXPECT_EQ(Jia, Ansi(Forms::Form3().Text1.Text()));
        EXPECT_EQ("d" + Jia, Ansi(Forms::Form1().ImageCombo1.Text()));
        EXPECT_EQ(L"共有 3 个技巧", main().StatusBar1.PanelText(1));
        EXPECT_TRUE(main().Toolbar1.Enabled(ToolbarKey::scj));
        EXPECT_EQ(1u, boxes.size());
        boxes.clear();
    }
}

// Only the shown section loses the tip: a sub-category, 收藏夹 and a tip data
// file's section 数据 (its Fileinfo stays); the same-named tips of the other
// sections stay. Deleting the last row turns the row commands off.
TEST_F(DeleteTipsTest, OnlyTheShownSectionLosesTheTip) {
    const Tip same = Simple(Same);
    const std::string data = Section(Data, {same, Simple(Jia)}), sub = Section(Sub, {same}),
                      fav = Section(Fav, {same});
    const std::string info = "[Fileinfo]\r\nUse=u\r\n";
    struct Case {
        std::wstring show;  // tree path, or empty for the tip data file
        std::string after;
    } cases[] = {
        {Text::FromAnsi(Cat + "\\" + Sub), data + "[" + Sub + "]\r\n[" + FM + Sub + FM + "]\r\n" + fav},
        {Text::FromAnsi(Cat + "\\" + Fav), data + sub + "[" + Fav + "]\r\n[" + FM + Fav + FM + "]\r\n"},
        {L"", info + "[" + Data + "]\r\n[" + FM + Data + FM + "]\r\n"},
    };
    const std::wstring upd = Path(L"tips.upd");
    for (const Case& c : cases) {
        SCOPED_TRACE(Ansi(c.show));
        WriteBytes(CatFile(Cat), data + sub + fav);
        WriteBytes(upd, info + Section(Data, {same}));
        Forms::UnloadFrmShadow();
        if (c.show.empty()) ShowFile(upd);
        else Show(c.show);
        ASSERT_EQ(1, list().Count());
        Select({1});
        ExpectBox(IDYES, kQuestion);
        main().ListView1_KeyDown(VK_DELETE, 1);  // Shift+Del as Del
        EXPECT_EQ(c.after, ReadBytes(c.show.empty() ? upd : CatFile(Cat)));
        if (!c.show.empty()) {
            EXPECT_EQ(info + Section(Data, {same}), ReadBytes(upd));
        }
        EXPECT_EQ(0, list().Count());
        for (const wchar_t* key : {ToolbarKey::del2, ToolbarKey::scj, ToolbarKey::xuan, ToolbarKey::start, ToolbarKey::cut})
            EXPECT_FALSE(main().Toolbar1.Enabled(key)) << Ansi(key);
        EXPECT_FALSE(main().file.Item(L"del")->enabled);
        EXPECT_FALSE(Forms::Form1().ImageCombo1.Enabled());
        EXPECT_EQ(L"no", Forms::Form3().ListView2.Tag);
        EXPECT_EQ(0, Forms::Form3().ListView2.Count());
        EXPECT_EQ(1u, boxes.size());
        boxes.clear();
    }
}

// A file another program holds open: without sharing (the section cannot even
// be read) or sharing only its reading (it cannot be written), nothing is
// deleted, one message says so, every row stays and the status still counts
// them; the file's bytes are as before. A program that only reads it and
// shares reading and writing does not stand in the way.
TEST_F(DeleteTipsTest, HeldFileKeepsRowsAndBytes) {
    struct Case {
        const char* name;
        DWORD share, access;
        bool deleted;
    } cases[] = {
        {"no sharing", 0, GENERIC_READ | GENERIC_WRITE, false},
        {"no sharing, read only", 0, GENERIC_READ, false},
        {"reading shared", FILE_SHARE_READ, GENERIC_READ | GENERIC_WRITE, false},
        {"reading and writing shared", FILE_SHARE_READ | FILE_SHARE_WRITE, GENERIC_READ, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = Section(Data, Five());
        WriteBytes(CatFile(Cat), bytes);
        Forms::UnloadFrmShadow();
        Show(Text::FromAnsi(Cat));
        ASSERT_EQ(5, list().Count());
        HeldFile held(CatFile(Cat), c.share, OPEN_EXISTING, c.access);
        ASSERT_TRUE(held.Held());
        Select({1, 3});
        ExpectBox(IDYES, kQuestion);
        if (!c.deleted) ExpectBox(IDOK);
        main().Toolbar1_ButtonClick(ToolbarKey::del2);
        held.Release();
        if (c.deleted) {
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ(Section(Data, {Simple(Yi), Simple(Ding), Simple(Wu)}), ReadBytes(CatFile(Cat)));
            EXPECT_EQ((std::vector<std::string>{Yi, Ding, Wu}), Rows());
            EXPECT_EQ(L"共有 3 个技巧", main().StatusBar1.PanelText(1));
        } else {
            ASSERT_EQ(2u, boxes.size());
            EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes[1].style);
            EXPECT_NE(std::wstring::npos, boxes[1].text.find(L"有 2 个技巧未能从技巧文件中删除"));
            EXPECT_EQ((std::vector<std::string>{Jia, Yi, Bing, Ding, Wu}), Rows());
            EXPECT_EQ(L"共有 5 个技巧", main().StatusBar1.PanelText(1));
            EXPECT_EQ(bytes, ReadBytes(CatFile(Cat)));
        }
        boxes.clear();
    }
}

// The option lists cannot be written after the records were: the records come
// back, so no tip is left half deleted, and the rows stay.
TEST_F(DeleteTipsTest, OptionListFailureBringsTheRecordsBack) {
    const std::string bytes = Section(Data, Five());
    WriteBytes(CatFile(Cat), bytes);
    Show(Text::FromAnsi(Cat));
    Select({2, 5});
    ExpectBox(IDYES, kQuestion);
    ExpectBox(IDOK);
    Ini::FailNthWriteForTests(2);
    main().del_Click();
    EXPECT_EQ(bytes, ReadBytes(CatFile(Cat)));
    EXPECT_EQ(5, list().Count());
    EXPECT_EQ(2u, boxes.size());
}

// A tip no longer in the file (deleted behind the list's back) is no failure,
// even while the file cannot be written: its row goes, nothing is written.
TEST_F(DeleteTipsTest, TipAlreadyGoneIsNoFailure) {
    WriteBytes(CatFile(Cat), Section(Data, Five()));
    Show(Text::FromAnsi(Cat));
    const std::string without = Section(Data, {Simple(Jia), Simple(Bing), Simple(Ding), Simple(Wu)});
    WriteBytes(CatFile(Cat), without);
    HeldFile held(CatFile(Cat), FILE_SHARE_READ);
    ASSERT_TRUE(held.Held());
    Select({2});
    ExpectBox(IDYES, kQuestion);
    main().del_Click();
    held.Release();
    EXPECT_EQ(1u, boxes.size());
    EXPECT_EQ((std::vector<std::string>{Jia, Bing, Ding, Wu}), Rows());
    EXPECT_EQ(without, ReadBytes(CatFile(Cat)));
}

// A line without "=" in the section (written by hand) stays where it was when
// a tip beside it is deleted.
TEST_F(DeleteTipsTest, LinesWithoutAValueStay) {
    const Tip jia = Simple(Jia), yi = Simple(Yi);
    auto file = [&](bool withYi) {
        return "[" + Data + "]\r\n" + jia.name + "=" + jia.record + "\r\nnote\r\n" +
               (withYi ? yi.name + "=" + yi.record + "\r\n" : "") + "[" + FM + Data + FM + "]\r\n" + jia.name + "=" +
               jia.options + "\r\n" + (withYi ? yi.name + "=" + yi.options + "\r\n" : "");
    };
    WriteBytes(CatFile(Cat), file(true));
    Show(Text::FromAnsi(Cat));
    int row = 0;
    for (int r = 1; r <= list().Count(); ++r)
        if (Ansi(list().Text(r)) == Yi) row = r;
    ASSERT_NE(0, row);
    Select({row});
    ExpectBox(IDYES, kQuestion);
    main().del_Click();
    EXPECT_EQ(file(false), ReadBytes(CatFile(Cat)));
    EXPECT_EQ(1u, boxes.size());
}
