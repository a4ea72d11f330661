// Putting the selected tips into the category's 收藏夹 (toolbar `scj`, F9):
// the records made from the rows as they show, byte by byte, and the failures.
#include "tipcommands/TipCommandsFixture.h"

using namespace Gbk;

namespace {
const std::wstring kDone = L"已经将选定的技巧放入收藏夹。";
}

class TipFavouritesTest : public TipCommandsTest {
protected:
    // Changes the data of a row through the value bar, as the user does (Enter).
    void TypeIntoValueBar(int row, const std::wstring& text) {
        Select({row});
        main().ShowItem();
        Forms::Form1().ImageCombo1.SetText(text);
        Forms::Form1().ImageCombo1_KeyPress(VK_RETURN);
        ASSERT_EQ(Ansi(text), Ansi(list().SubText(row, 4)));
    }
    void SelectAll() {
        for (int r = 1; r <= list().Count(); ++r) list().SetSelected(r, true);
    }
};

// Each row becomes a record as it shows: the default value with an empty
// value name, a zero-length binary value with empty data, the delete choice
// as the DeleteMark, the danger flag, a value changed in the value bar (its
// own section keeps the old one), a TypeCode outside 0 to 3 as held; the
// option lists verbatim. Shift+F9 acts as F9.
TEST_F(TipFavouritesTest, RecordsAreMadeFromTheRowsAsTheyShow) {
    const std::vector<Tip> tips = {
        {Jia, Rec("", "l1", "x"), Opts("l1", "x")},
        {Yi, Rec("b", "l2", "", '1'), Opts("l2", "")},
        {Bing, Rec("c", "l3", DM), Opts("l3", DM)},
        {Ding, Rec("d", "l4", "1f", '2', "desc", '2'), Opts("l4", "1f")},
        {Wu, Rec("e", "l5", "old"), Opts("l5", "old")},
        {"F", Rec("f", "l6", "zz", '7'), Opts("l6", "zz")},
    };
    WriteBytes(CatFile(Cat), Section(Data, tips));
    Show(Text::FromAnsi(Cat));
    TypeIntoValueBar(5, L"new");
    SelectAll();
    ExpectBox(IDOK, kDone);
    main().ListView1_KeyDown(VK_F9, 1);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes[0].style);
    std::vector<Tip> favourites = tips;
    favourites[4].record = Rec("e", "l5", "new");
    EXPECT_EQ(Section(Data, tips) + Section(Fav, favourites), ReadBytes(CatFile(Cat)));
    EXPECT_EQ(6, list().Count());  // the list is not reloaded
}

// From a sub-category, into the category's 收藏夹: a favourite of the same
// name in other letter case is replaced, record and option list; the tip stays
// in its sub-category.
TEST_F(TipFavouritesTest, SameNameInOtherCaseIsReplaced) {
    const Tip incoming{"abc", Rec("new", "l", "n"), Opts("l", "n")};
    const Tip old{"ABC", Rec("old", "o", "o"), Opts("o", "o")};
    WriteBytes(CatFile(Cat), Section(Data, {Simple(Jia)}) + Section(Sub, {incoming}) + Section(Fav, {old}));
    Show(Text::FromAnsi(Cat + "\\" + Sub));
    Select({1});
    ExpectBox(IDOK, kDone);
    main().Toolbar1_ButtonClick(ToolbarKey::scj);
    EXPECT_EQ(Section(Data, {Simple(Jia)}) + Section(Sub, {incoming}) +
                  Section(Fav, {{"ABC", incoming.record, incoming.options}}),
              ReadBytes(CatFile(Cat)));
}

// Nothing happens without a selected row, nor while `scj` is off: no pointer,
// no box, no write.
TEST_F(TipFavouritesTest, NothingWithoutASelectedRowOrTheButton) {
    const std::string bytes = Section(Data, {Simple(Jia), Simple(Yi)});
    WriteBytes(CatFile(Cat), bytes);
    Show(Text::FromAnsi(Cat));
    Select({});
    main().ListView1_KeyDown(VK_F9, 0);
    main().Toolbar1_ButtonClick(ToolbarKey::scj);
    Select({1});
    main().Toolbar1.SetEnabled(ToolbarKey::scj, false);
    main().ListView1_KeyDown(VK_F9, 2);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(bytes, ReadBytes(CatFile(Cat)));
}

// A held file, no category node, a row the file cannot hold, an option list
// that cannot be written: a critical message and no success box; the tips
// written are whole and the file otherwise as it was.
TEST_F(TipFavouritesTest, FailuresAreReportedAndKeepTheFile) {
    const Tip old{Yi, Rec("old", "o", "o"), Opts("o", "o")};
    const std::string data = Section(Data, {Simple(Jia), Simple(Yi)});
    enum Way { Held, NoNode, Refused, OptionsFail };
    for (Way way : {Held, NoNode, Refused, OptionsFail}) {
        SCOPED_TRACE(way);
        DeleteFileW(CatFile(Cat).c_str());
        const std::wstring upd = Path(L"tips.upd");
        std::wstring file = CatFile(Cat);
        std::string before = data + Section(Fav, {old});
        Forms::UnloadFrmShadow();
        if (way == NoNode) {
            // No category at all: a tip data file is shown.
            file = upd;
            before = Section(Data, {Simple(Jia), Simple(Yi)});
            WriteBytes(upd, before);
            ShowFile(upd);
            main().Toolbar1.SetEnabled(ToolbarKey::scj, true);
            ASSERT_EQ(0, shadow().TreeView1.SelectedItem());
        } else {
            WriteBytes(file, before);
            Show(Text::FromAnsi(Cat));
        }
        if (way == Refused) TypeIntoValueBar(1, L"\u0E01");  // no form in code page 936
        for (int r = 1; r <= list().Count(); ++r) list().SetSelected(r, true);
        std::unique_ptr<HeldFile> held;
        if (way == Held) held = std::make_unique<HeldFile>(file);
        if (way == OptionsFail) {
            Select({2});
            Ini::FailNthWriteForTests(2);
        }
        ExpectBox(IDOK);
        main().ListView1_KeyDown(VK_F9, 0);
        held.reset();
        Ini::FailNthWriteForTests(0);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes[0].style);
        if (way == NoNode) {
            EXPECT_EQ(L"没有选定任何技巧类别，无法将选定的技巧放入收藏夹。", boxes[0].text);
        }
        if (way == Held) {
            EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"写入文件失败，文件可能是只读的，或已被其它程序打开。"))
                << Ansi(boxes[0].text);
        }
        if (way == Refused) {
            // The other row went in whole.
            EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"有 1 个技巧未能放入收藏夹"));
            EXPECT_EQ(data + Section(Fav, {{Yi, Simple(Yi).record, Simple(Yi).options}}), ReadBytes(file));
        } else {
            EXPECT_EQ(before, ReadBytes(file));
        }
        boxes.clear();
    }
}
