// Loading one section of a tip file into the main window's tip list: the rows
// built from records of either layout, whole or damaged, and the command states
// and status texts of a load.
#include "common/Ini.h"
#include "common/TipRow.h"
#include "fixtures/LibraryFixture.h"

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";

// The cells of a row in one line, for readable failures.
std::string Show(const TipRow::Cells& c) {
    return Ansi(L"label=" + c.label + L"|key=" + c.keyPath + L"|dtext=[" + c.dangerText + L"]|dicon=" +
                std::to_wstring(c.dangerIcon) + L"|type=" + c.typeCode + L"|value=" + c.valueName +
                (c.defaultValue ? L"(bold)" : L"") + L"|desc=" + c.description + L"|data=" + c.dataText +
                L"|vicon=" + std::to_wstring(c.dataIcon) + L"|opts=" + c.options);
}

TipRow::Cells Expect(std::wstring label, std::wstring key, bool dangerous, std::wstring type, std::wstring value,
                     std::wstring desc, std::wstring data, int icon, std::wstring opts = {}) {
    TipRow::Cells c;
    c.label = label;
    c.keyPath = key;
    c.dangerIcon = dangerous ? 33 : 32;
    c.dangerText = dangerous ? L"" : L" ";
    c.typeCode = type;
    c.defaultValue = value.empty();
    c.valueName = value.empty() ? L"(默认)" : value;
    c.description = desc;
    c.dataText = data;
    c.dataIcon = icon;
    c.options = opts;
    return c;
}
}  // namespace

class SectionLoaderTest : public LibraryTest {
protected:
    std::wstring file;
    void SetUp() override {
        LibraryTest::SetUp();
        file = Path(L"tips.upd");
    }
    // The row of the list whose text is `name` (0 none).
    int RowOf(const std::wstring& name) {
        for (int r = 1; r <= list().Count(); ++r)
            if (list().Text(r) == name) return r;
        return 0;
    }
};

TEST_F(SectionLoaderTest, RecordsOfBothLayoutsWholeOrDamagedBecomeRows) {
    const std::wstring K = Text::FromAnsi(KP), FMw = Marks::FieldMark, JMw = Marks::JoinMark;
    struct Case {
        std::string name, value;
        TipRow::Cells want;
    } cases[] = {
        {"dangerous", KP + FM + "v" + FM + "lab" + JM + "1" + FM + "2" + FM + "desc" + FM + "2",
         Expect(L"lab", K, true, L"2", L"v", L"desc", L"1", 4)},
        {"harmless1", KP + FM + "v" + FM + "l" + JM + "x" + FM + "0" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"0", L"v", L"d", L"x", 2)},
        {"flag0", KP + FM + "v" + FM + "l" + JM + "x" + FM + "3" + FM + "d" + FM + "0",
         Expect(L"l", K, false, L"3", L"v", L"d", L"x", 5)},
        {"flagletter", KP + FM + "v" + FM + "l" + JM + "x" + FM + "0" + FM + "d" + FM + "z",
         Expect(L"l", K, false, L"0", L"v", L"d", L"x", 2)},
        {"noflag", KP + FM + "v" + FM + "l" + JM + "x" + FM + "0" + FM + "whole rest",
         Expect(L"l", K, false, L"0", L"v", L"whole rest", L"x", 2)},
        {"endsaftertype", KP + FM + "v" + FM + "l" + JM + "x" + FM + "2",
         Expect(L"l", K, false, L"", L"v", L"2", L"x", 2)},
        {"joininvalueonly", KP + FM + "v" + FM + "data" + FM + "0" + FM + "de" + JM + "sc" + FM + "1",
         Expect(L"", K, false, L"0", L"v", L"de" + JMw + L"sc", L"data", 2)},
        {"nomarknew", "abc" + JM + "def", Expect(L"", L"", false, L"", L"", JMw + L"def", L"", 2)},
        {"nomarkold", "garbage", Expect(L"修改", L"", false, L"", L"", L"bage", L"", 2,
                                        FMw + L"修改" + FMw + JMw + FMw + FMw)},
        {"old", KP + FM + "v" + FM + "1" + FM + "2" + FM + "desc" + FM + "2",
         Expect(L"修改", K, true, L"2", L"v", L"desc", L"1", 4, FMw + L"修改" + FMw + JMw + FMw + L"1" + FMw)},
        {"blankvalue", KP + FM + "   " + FM + "l" + JM + "x" + FM + "0" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"0", L"", L"d", L"x", 2)},
        {"emptysz", KP + FM + "v" + FM + "l" + JM + "  " + FM + "0" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"0", L"v", L"d", L"", 2)},
        {"emptybinary", KP + FM + "v" + FM + "l" + JM + FM + "1" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"1", L"v", L"d", L"(长度为零的二进制值)", 3)},
        {"zerotextbinary", KP + FM + "v" + FM + "l" + JM + Ansi(L"(长度为零的二进制值)") + FM + "1" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"1", L"v", L"d", L"(长度为零的二进制值)", 3)},
        {"emptydword", KP + FM + "v" + FM + "l" + JM + FM + "2" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"2", L"v", L"d", L"0", 4)},
        {"emptyexpand", KP + FM + "v" + FM + "l" + JM + FM + "3" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"3", L"v", L"d", L"", 5)},
        {"othertype", KP + FM + "v" + FM + "l" + JM + "  " + FM + "7" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"7", L"v", L"d", L"  ", 9)},
        {"typenotnumber", KP + FM + "v" + FM + "l" + JM + "x" + FM + "q" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"q", L"v", L"d", L"x", 0)},
        {"typeempty", KP + FM + "v" + FM + "l" + JM + "x" + FM + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"", L"v", L"d", L"x", 0)},
        {"deletenew", KP + FM + "v" + FM + "l" + JM + DM + FM + "0" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"0", L"v", L"d", L"在注册表中删除该键名", 6)},
        {"deleteold", KP + FM + "v" + FM + DM + FM + "0" + FM + "d" + FM + "1",
         Expect(L"修改", K, false, L"0", L"v", L"d", Marks::DeleteMark, 2,
                FMw + L"修改" + FMw + JMw + FMw + Marks::DeleteMark + FMw)},
        {"laterjoin", KP + FM + "v" + FM + "l" + JM + "a" + JM + "b" + FM + "0" + FM + "d" + FM + "1",
         Expect(L"l", K, false, L"0", L"v", L"d", L"a" + JMw + L"b", 2)},
        // A record cut inside a double-byte character: a row all the same.
        {"truncated", KP + FM + "v" + FM + "l" + JM + "x" + FM + "0" + FM + "\xB2\xE2\xB2",
         Expect(L"l", K, false, L"0", L"v", Text::FromAnsi("\xB2\xE2\xB2"), L"x", 2)},
    };
    std::string bytes = Section(Data);
    for (const auto& c : cases) bytes += c.name + "=" + c.value + "\r\n";
    WriteBytes(file, bytes);
    shadow().Shownode(file, L"数据");
    ASSERT_EQ(static_cast<int>(std::size(cases)), list().Count());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        int row = static_cast<int>(i) + 1;  // file order
        ASSERT_EQ(Text::FromAnsi(c.name), list().Text(row));
        TipRow::Cells got = TipRow::ReadRow(list(), row);
        TipRow::Cells want = c.want;
        want.name = got.name;
        EXPECT_EQ(Show(want), Show(got)) << c.name;
        EXPECT_FALSE(list().Checked(row));
        EXPECT_EQ(ListView::kDefaultColor, list().ForeColor(row));
    }
}

TEST_F(SectionLoaderTest, OptionListsComeFromTheMirrorSectionByKeyInAnyCase) {
    std::string opts = FM + "a" + FM + "b" + FM + JM + FM + "1" + FM + "0" + FM;
    WriteBytes(file, Section(Data) + Record("Tip", KP, "v", "a", "1", '2', "d", '1') + Mirror(Data) + "TIP=" + opts +
                         "\r\n");
    shadow().Shownode(file, L"数据");
    ASSERT_EQ(1, list().Count());
    EXPECT_EQ(Text::FromAnsi(opts), list().SubTag(1, 4));
    EXPECT_EQ(L"a", list().SubText(1, 1));
}

TEST_F(SectionLoaderTest, CommandStatesAndStatusTextsFollowTheRowCount) {
    const wchar_t* rowButtons[] = {L"start", L"daochu", L"del2", L"scj", L"cut", L"copy", L"xuan", L"xiao"};
    const wchar_t* rowItems[] = {L"copy", L"cut", L"del", L"all", L"no"};
    WriteBytes(file, Section(Data) + Record("one", KP, "v", "l", "1", '2', "d", '1') +
                         Record("two", KP, "w", "l", "1", '2', "d", '2') + Section(Favourites));
    ::frmShadow& s = shadow();
    for (bool rows : {true, false, true}) {
        calls.clear();
        s.Shownode(file, rows ? L"数据" : L"收藏夹");
        int n = rows ? 2 : 0;
        EXPECT_EQ(n, list().Count());
        for (const wchar_t* b : rowButtons) EXPECT_EQ(rows, main().Toolbar1.Enabled(b)) << Ansi(b);
        for (const wchar_t* i : rowItems) EXPECT_EQ(rows, main().file.Item(i)->enabled) << Ansi(i);
        EXPECT_EQ(L"共有 " + std::to_wstring(n) + L" 个技巧", Panel(1));
        EXPECT_EQ(L"准备使用技巧", Panel(3));
        EXPECT_EQ(rows, Called("xiugai=1"));
        EXPECT_EQ(rows, Called("valuebar=1"));
        EXPECT_EQ(!rows, Called("ClearLiveValues") && Called("LiveKeyFlag=no") && Called("edit=0"));
        // Neither the list mode nor paste, open, del or find belong to the load.
        EXPECT_TRUE(main().Toolbar1.Enabled(L"tjlb"));
        EXPECT_FALSE(main().Toolbar1.Enabled(L"paste"));
    }
    // A missing file reads as an empty section.
    s.Shownode(Path(L"gone.upd"), L"数据");
    EXPECT_EQ(0, list().Count());
    EXPECT_EQ(L"共有 0 个技巧", Panel(1));
}

TEST_F(SectionLoaderTest, RowIconsFollowTheListModeAndReloadsShowFreshRows) {
    WriteBytes(file, Section(Data) + Record("one", KP, "v", "l", "1", '2', "d", '1'));
    ::frmShadow& s = shadow();
    s.Shownode(file, L"数据");
    EXPECT_EQ(1, list().SubIcon(1, 0));
    list().SetChecked(1, true);
    list().SetForeColor(1, RGB(255, 0, 0));
    main().Toolbar1.SetEnabled(L"tjlb", false);  // data-file mode
    s.Shownode(file, L"数据");
    ASSERT_EQ(1, list().Count());
    EXPECT_EQ(29, list().SubIcon(1, 0));
    EXPECT_FALSE(list().Checked(1));
    EXPECT_EQ(ListView::kDefaultColor, list().ForeColor(1));
}

TEST_F(SectionLoaderTest, DuplicateKeysGiveTwoRowsOfTheFirstValue) {
    WriteBytes(file, Section(Data) + Record("dup", KP, "first", "l", "1", '2', "d", '1') +
                         Record("DUP", KP, "second", "l", "1", '2', "d", '1'));
    shadow().Shownode(file, L"数据");
    ASSERT_EQ(2, list().Count());
    EXPECT_EQ(L"first", list().SubText(1, 3));
    EXPECT_EQ(L"first", list().SubText(2, 3));
}

TEST_F(SectionLoaderTest, LargeSectionAndLongRecordLoadWhole) {
    std::string bytes = Section(Data);
    for (int i = 0; i < 3000; ++i) {
        std::string name = std::to_string(i);
        bytes += Record(name.insert(0, 1, 't'), KP, "v", "l", "1", '2', "d", '1');
    }
    std::string longDesc;
    for (int i = 0; i < 2480; ++i) longDesc += "\xB2\xE2";
    bytes += Record("long", KP, "v", "l", "1", '2', longDesc, '2');
    WriteBytes(file, bytes);
    shadow().Shownode(file, L"数据");
    ASSERT_EQ(3001, list().Count());
    EXPECT_EQ(L"t2999", list().Text(3000));
    EXPECT_EQ(33, list().SubIcon(3001, 2));  // the flag at the end of 5,000 bytes is read
    EXPECT_EQ(Text::FromAnsi(longDesc), list().SubTag(3001, 3));
    EXPECT_EQ(L"共有 3001 个技巧", Panel(1));
}

TEST_F(SectionLoaderTest, RecordMadeFromARowFollowsTheRowContract) {
    WriteBytes(file, Section(Data) + Record("del", KP, "", "l", DM, '0', "d", '2') +
                         Record("bin", KP, "v", "l", "", '1', "d", '1'));
    shadow().Shownode(file, L"数据");
    ASSERT_EQ(2, list().Count());
    TipFile::TipRecord r = TipRow::RecordFromRow(list(), 1);
    EXPECT_EQ(L"", r.valueName);
    EXPECT_EQ(Marks::DeleteMark, r.data);
    EXPECT_EQ(L"2", r.dangerFlag);
    EXPECT_EQ(Text::FromAnsi(KP + FM + FM + "l" + JM + DM + FM + "0" + FM + "d" + FM + "2"), TipFile::EncodeRecord(r));
    r = TipRow::RecordFromRow(list(), 2);
    EXPECT_EQ(L"", r.data);  // the zero-length binary value is written as the empty text
    EXPECT_EQ(L"1", r.dangerFlag);
}

TEST_F(SectionLoaderTest, StatusBarReloadShowsTheListTargetAfresh) {
    WriteCategory(L"cat.qix", Section(Data) + Record("one", KP, "v", "l", "1", '2', "d", '1'));
    ::frmShadow& s = shadow();
    ASSERT_EQ(1, list().Count());
    WriteCategory(L"cat.qix", Section(Data) + Record("one", KP, "v", "l", "1", '2', "d", '1') +
                                  Record("two", KP, "v", "l", "1", '2', "d", '1'));
    calls.clear();
    Library::ReloadShownTips();
    EXPECT_EQ(2, list().Count());
    EXPECT_TRUE(Called("ShowItem"));
    EXPECT_EQ(L"cat", s.TreeView1.Text(s.TreeView1.SelectedItem()));
}

TEST_F(SectionLoaderTest, ASortedListKeepsItsOrderOnTheNextLoad) {
    WriteBytes(file, Section(Data) + Record("b", KP, "v2", "l", "1", '2', "d", '1') +
                         Record("c", KP, "v3", "l", "1", '2', "d", '1') +
                         Record("a", KP, "v1", "l", "1", '2', "d", '1'));
    struct Case {
        int column;
        bool ascending;
        const wchar_t* order[3];
    } cases[] = {
        {1, true, {L"a", L"b", L"c"}},
        {1, false, {L"c", L"b", L"a"}},
        {4, true, {L"a", L"b", L"c"}},  // by value name: v1 v2 v3
        {4, false, {L"c", L"b", L"a"}},
        {2, true, {L"b", L"c", L"a"}},  // equal command labels keep the file order
        {2, false, {L"b", L"c", L"a"}},
    };
    for (const auto& c : cases) {
        list().Clear();
        list().Sort(c.column, c.ascending);
        shadow().Shownode(file, L"数据");
        ASSERT_EQ(3, list().Count());
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(c.order[r - 1], list().Text(r)) << c.column << c.ascending << r;
    }
    list().Unsort();
}
