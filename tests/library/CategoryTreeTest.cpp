// The category tree built from DATA, the remembered category, clicks on its
// nodes and its popup menu, through the real windows.
#include "common/Ini.h"
#include "fixtures/LibraryFixture.h"

using namespace Bytes;

namespace {
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";
}

class CategoryTreeTest : public LibraryTest {
protected:
    // Two categories: "beta" with sub-categories b and a (in this file order) and
    // a favourite; "Alpha" (capital extension) with its own tips only.
    void TwoCategories() {
        WriteCategory(L"beta.qix", Section(Data) + Record("own1", KP, "v", "l", "1", '2', "d", '1') +
                                       Record("own2", KP, "v", "l", "1", '2', "d", '1') + Mirror(Data) +
                                       Section(Favourites) + Record("fav", KP, "v", "l", "1", '2', "d", '2') +
                                       Record("fav2", KP, "v", "l", "1", '2', "d", '1') + Mirror(Favourites) +
                                       Section("b") + Record("inb", KP, "v", "l", "1", '2', "d", '1') + Mirror("b") +
                                       Section("a") + Record("ina", KP, "v", "l", "1", '2', "d", '1') +
                                       Record("ina2", KP, "v", "l", "1", '2', "d", '1') +
                                       Record("ina3", KP, "v", "l", "1", '2', "d", '1') + Section(FM + "x"));
        WriteCategory(L"Alpha.QIX", Section(Data) + Record("a1", KP, "v", "l", "1", '2', "d", '1'));
    }
    int Find(::frmShadow& s, const std::wstring& fullPath) {
        for (int n = 1; n <= s.TreeView1.Count(); ++n)
            if (s.TreeView1.FullPath(n) == fullPath) return n;
        return 0;
    }
    std::vector<std::wstring> ChildTexts(::frmShadow& s, int node) {
        std::vector<std::wstring> t;
        for (int c = s.TreeView1.FirstChild(node); c; c = s.TreeView1.NextSibling(c)) t.push_back(s.TreeView1.Text(c));
        return t;
    }
};

TEST_F(CategoryTreeTest, TreeIsBuiltFromTheDataFolder) {
    TwoCategories();
    WriteCategory(L".hidden.qix", Section(Data));
    CreateDirectoryW((DataDir() + L"folder.qix").c_str(), nullptr);
    WriteCategory(L"notes.txt", Section(Data));
    ::frmShadow& s = shadow();
    // Categories in name order without regard to case; indices in that order.
    ASSERT_EQ(L"Alpha", s.TreeView1.Text(1));
    EXPECT_EQ(DataDir() + L"Alpha.QIX", s.TreeView1.NodeTag(1));
    EXPECT_EQ((std::vector<std::wstring>{L"收藏夹"}), ChildTexts(s, 1));
    int beta = Find(s, L"beta");
    ASSERT_EQ(3, beta);
    // Sub-categories sorted, favourites last; mirror sections never listed.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"收藏夹"}), ChildTexts(s, beta));
    EXPECT_LT(Find(s, L"beta\\b"), Find(s, L"beta\\a"));  // b came first in the file
    int fav = Find(s, L"beta\\收藏夹");
    EXPECT_TRUE(s.TreeView1.Bold(fav));
    EXPECT_FALSE(s.TreeView1.Bold(Find(s, L"beta\\a")));
    EXPECT_EQ(DataDir() + L"beta.qix", s.TreeView1.NodeTag(fav));
    EXPECT_EQ(6, s.TreeView1.Count());
    // No TreeIndex: the first category is shown.
    EXPECT_EQ(1, s.TreeView1.SelectedItem());
    EXPECT_TRUE(s.TreeView1.Expanded(1));
    EXPECT_EQ(L"Alpha", Library::CurrentCategoryPath);
    EXPECT_EQ(1, list().Count());
    EXPECT_EQ(L"Quorix 3.0 - Alpha", main().Caption());
    EXPECT_TRUE(Called("ShowItem"));
}

TEST_F(CategoryTreeTest, RememberedIndexPicksTheCategoryShown) {
    struct Case {
        const wchar_t* treeIndex;  // nullptr: key absent
        const wchar_t* shown;
        int rows;
    } cases[] = {
        {nullptr, L"Alpha", 1}, {L"", L"Alpha", 1},  {L"0", L"Alpha", 1},      {L"-3", L"Alpha", 1},
        {L"99", L"Alpha", 1},   {L"3", L"beta", 2},  {L"3abc", L"beta", 2},
        // An index naming a sub-category or the favourites node selects its category.
        {L"4", L"beta", 2},     {L"6", L"beta", 2},  {L"2", L"Alpha", 1},
    };
    TwoCategories();
    for (const auto& c : cases) {
        Forms::UnloadFrmShadow();
        Ini::DeleteKey(dir + L"config.ini", L"Data", L"TreeIndex");
        if (c.treeIndex) WriteConfig(L"Data", L"TreeIndex", c.treeIndex);
        ::frmShadow& s = shadow();
        int sel = s.TreeView1.SelectedItem();
        EXPECT_EQ(c.shown, s.TreeView1.FullPath(sel)) << Ansi(c.treeIndex ? c.treeIndex : L"(absent)");
        EXPECT_EQ(c.shown, Library::CurrentCategoryPath);
        EXPECT_EQ(c.rows, list().Count());
        EXPECT_TRUE(s.TreeView1.Expanded(sel));
    }
}

TEST_F(CategoryTreeTest, EmptyOrMissingDataFolderGivesTheNothingLoadedState) {
    for (bool makeFolder : {false, true}) {
        Forms::UnloadFrmShadow();
        if (makeFolder) CreateDirectoryW(DataDir().c_str(), nullptr);
        calls.clear();
        ::frmShadow& s = shadow();
        EXPECT_EQ(0, s.TreeView1.Count());
        auto b = Buttons();
        for (const wchar_t* k : {L"start", L"open", L"daochu", L"del", L"del2", L"scj", L"cut", L"copy", L"paste",
                                 L"xuan", L"xiao", L"find"})
            EXPECT_FALSE(b[k]) << Ansi(k);
        for (const wchar_t* k : {L"tjlb", L"viewhf", L"viewscj", L"viewok", L"cklj", L"set", L"log", L"help",
                                 L"about", L"exit"})
            EXPECT_TRUE(b[k]) << Ansi(k);
        for (const wchar_t* k : {L"del", L"copy", L"cut", L"paste", L"all", L"no"})
            EXPECT_FALSE(main().file.Item(k)->enabled) << Ansi(k);
        EXPECT_EQ(L"没有找到任何技巧类别", Panel(1));
        EXPECT_EQ(L"Quorix 3.0", main().Caption());
        EXPECT_EQ(0, list().Count());
        for (const char* c : {"xj=0", "next=0", "xiugai=0", "edit=0", "valuebar=0", "LiveKeyFlag=no", "ShowItem"})
            EXPECT_TRUE(Called(c)) << c;
        EXPECT_FALSE(Called("ClearLiveValues"));
        EXPECT_EQ(L"", Library::CurrentCategoryPath);
        // The window exists and lays itself out all the same.
        EXPECT_NE(nullptr, s.Toolbar1.hwnd());
    }
}

TEST_F(CategoryTreeTest, ClicksLoadTheNodeSectionWithTheCommandsOfItsKind) {
    TwoCategories();
    WriteConfig(L"Data", L"AutoCheck", L"1");
    WriteConfig(L"Data", L"AutoWidth", L"1");
    ::frmShadow& s = shadow();
    struct Case {
        const wchar_t* path;
        int rows;
        const wchar_t* caption;
        bool delOpen, scj;
        bool ticked;
    } cases[] = {
        {L"beta", 2, L"Quorix 3.0 - beta", true, true, false},
        {L"beta\\a", 3, L"Quorix 3.0 - beta\\a", true, true, false},
        {L"beta\\收藏夹", 2, L"Quorix 3.0 - beta\\收藏夹", false, false, true},  // dangerous one ticked too
        {L"beta\\b", 1, L"Quorix 3.0 - beta\\b", true, true, false},
        {L"Alpha\\收藏夹", 0, L"Quorix 3.0 - Alpha\\收藏夹", false, false, false},
        {L"Alpha", 1, L"Quorix 3.0 - Alpha", true, true, false},
    };
    for (const auto& c : cases) {
        int node = Find(s, c.path);
        ASSERT_NE(0, node) << Ansi(c.path);
        main().Toolbar1.SetEnabled(L"tjlb", false);
        main().Toolbar1.SetEnabled(L"find", false);
        calls.clear();
        s.TreeView1.Select(node);
        s.TreeView1_NodeClick(node);
        SCOPED_TRACE(Ansi(c.path));
        EXPECT_EQ(c.rows, list().Count());
        EXPECT_EQ(c.caption, main().Caption());
        auto b = Buttons();
        EXPECT_TRUE(b[L"tjlb"]);
        EXPECT_TRUE(b[L"find"]);
        EXPECT_EQ(c.delOpen, b[L"del"]);
        EXPECT_EQ(c.delOpen, b[L"open"]);
        EXPECT_EQ(c.scj && c.rows > 0, b[L"scj"]);
        EXPECT_EQ(c.rows > 0, b[L"del2"]);
        for (int r = 1; r <= list().Count(); ++r) EXPECT_EQ(c.ticked, list().Checked(r));
        EXPECT_EQ(L"共有 " + std::to_wstring(c.rows) + L" 个技巧", Panel(1));
        EXPECT_TRUE(Called("xj=1") && Called("next=1") && Called("ShowItem"));
        EXPECT_EQ(c.rows > 0, Called("AutoSize"));
        EXPECT_EQ(c.path, Library::CurrentCategoryPath);
    }
    // A second click on the node shown does nothing, even when its file changed.
    WriteCategory(L"Alpha.QIX", Section(Data));
    calls.clear();
    s.TreeView1_NodeClick(Find(s, L"Alpha"));
    EXPECT_EQ(1, list().Count());
    EXPECT_TRUE(calls.empty());
}

TEST_F(CategoryTreeTest, FavouritesAreNotTickedWithoutAutoCheck) {
    TwoCategories();
    ::frmShadow& s = shadow();
    int fav = Find(s, L"beta\\收藏夹");
    s.TreeView1.Select(fav);
    s.TreeView1_NodeClick(fav);
    ASSERT_EQ(2, list().Count());
    EXPECT_FALSE(list().Checked(1));
    EXPECT_FALSE(list().Checked(2));
}

TEST_F(CategoryTreeTest, PopupMenuOfTheTreeShowsTheCategoryItems) {
    TwoCategories();
    WriteConfig(L"Data", L"FileListHeight", L"2600");  // a tree tall enough to hold its nodes
    ::frmShadow& s = shadow();
    std::vector<std::wstring> shown;
    std::map<std::wstring, bool> enabled;
    PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
        shown.clear();
        for (const auto& i : m.Items)
            if (i.visible) {
                shown.push_back(i.key);
                enabled[i.key] = i.enabled;
            }
        return std::wstring();
    });
    RECT r{};
    TreeView_GetItemRect(s.TreeView1.hwnd(), s.TreeView1.Handle(1), &r, TRUE);
    POINT onNode{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    s.TreeView1_MouseUp(2, onNode);
    EXPECT_EQ((std::vector<std::wstring>{L"cmm", L"cmm2", L"paste", L"d1", L"all", L"no", L"lbscj2", L"lbscj"}), shown);
    EXPECT_TRUE(enabled[L"cmm"]);
    EXPECT_TRUE(enabled[L"lbscj"]);
    // With the favourites node selected, rename and add-to-favourites are disabled.
    s.TreeView1.Select(Find(s, L"Alpha\\收藏夹"));
    s.TreeView1_MouseUp(2, onNode);
    EXPECT_FALSE(enabled[L"cmm"]);
    EXPECT_FALSE(enabled[L"lbscj"]);
    // Empty space or the left button: no menu.
    shown.clear();
    s.TreeView1_MouseUp(2, POINT{5, 2000});
    s.TreeView1_MouseUp(1, onNode);
    EXPECT_TRUE(shown.empty());
    PopupMenu::SetChooserForTests(nullptr);
}
