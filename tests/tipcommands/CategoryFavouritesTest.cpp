// Category favourites: added from the category tree's popup, chosen from the
// `viewscj` menu, deleted on the organiser page; config.ini as the file holds it.
#include "dialogs/PagesFixture.h"
#include "tipcommands/TipCommandsFixture.h"

#include <commctrl.h>

#include <cstring>

using namespace Gbk;

namespace {
const std::wstring kPageCaption = L"整理类别收藏夹";
const std::wstring kFavorite = L"Favorite";
}  // namespace

class CategoryFavouritesTest : public TipCommandsTest {
protected:
    std::wstring Config() { return Path(L"config.ini"); }
    std::vector<std::string> Entries() {
        std::vector<std::string> out;
        for (const std::wstring& k : Ini::Keys(Config(), kFavorite)) out.push_back(Ansi(k + L"=" + Ini::Read(Config(), kFavorite, k)));
        return out;
    }
    // The `viewscj` menu: text of each item (its key is "scj" and the text).
    std::vector<std::string> Menu() {
        std::vector<std::string> out;
        for (const MenuItem& item : main().Toolbar1.ButtonMenus(ToolbarKey::viewscj).Items) {
            EXPECT_EQ(L"scj" + item.text, item.key);
            out.push_back(Ansi(item.text));
        }
        return out;
    }
    void SetFavourites(const std::vector<std::wstring>& paths) {
        Ini::DeleteSection(Config(), kFavorite);
        for (const std::wstring& p : paths) ASSERT_TRUE(Ini::Write(Config(), kFavorite, p, L"12-01-2026 10:00:00"));
        main().ViewFavorite();
    }
    void SetTime(WORD hour, WORD minute, WORD second) {
        SYSTEMTIME t{};
        t.wYear = 2026;
        t.wMonth = 12;
        t.wDay = 9;
        t.wHour = hour;
        t.wMinute = minute;
        t.wSecond = second;
        App::SetNowForTests(t);
    }
    // Selects a tree node and chooses 添加入类别收藏夹 from the tree's popup over it.
    // Returns the enabled state the item had.
    bool AddFromTreePopup(const std::wstring& fullPath) {
        ::frmShadow& s = shadow();
        int node = 0;
        for (int n = 1; n <= s.TreeView1.Count() && !node; ++n)
            if (s.TreeView1.FullPath(n) == fullPath) node = n;
        EXPECT_NE(0, node) << Ansi(fullPath);
        s.TreeView1.Select(node);
        RECT r{};
        const HTREEITEM h = s.TreeView1.Handle(node);
        std::memcpy(&r, &h, sizeof h);  // the item goes in, its rectangle comes back
        SendMessageW(s.TreeView1.hwnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        bool enabled = false;
        PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
            const MenuItem* item = m.Item(L"lbscj");
            enabled = item && item->visible && item->enabled;
            return enabled ? std::wstring(L"lbscj") : std::wstring();
        });
        s.TreeView1_MouseUp(2, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        PopupMenu::SetChooserForTests(nullptr);
        return enabled;
    }
    // Chooses the menu item whose text is `text` from the `viewscj` drop-down.
    void Choose(const std::wstring& text) {
        PopupMenu::SetChooserForTests([&](const PopupMenu& m) {
            for (const MenuItem& item : m.Items)
                if (item.text == text) return item.key;
            ADD_FAILURE() << "no item " << Ansi(text);
            return std::wstring();
        });
        main().Toolbar1.DropDown(ToolbarKey::viewscj);
        PopupMenu::SetChooserForTests(nullptr);
    }
    // Opens the organiser page and works it inside its modal loop.
    void OnPage(std::function<void(::Form4&)> work) {
        bool shown = false;
        Modal::SetHookForTests([&](HWND) {
            shown = true;
            ::Form4& f = Forms::Form4();
            EXPECT_EQ(Ansi(kPageCaption), Ansi(f.Caption()));
            // The page's own controls show, the other pages' do not.
            for (Control* c : std::initializer_list<Control*>{&f.ListView1, &f.Command15, &f.Command16, &f.Command17})
                EXPECT_TRUE(IsWindowVisible(c->hwnd()));
            for (Control* c : std::initializer_list<Control*>{&f.Frame1, &f.Command1, &f.Command22, &f.Frame7})
                EXPECT_FALSE(c->Exists() && IsWindowVisible(c->hwnd()));
            work(f);
        });
        main().Toolbar1_ButtonClick(ToolbarKey::viewscj);
        EXPECT_TRUE(shown);
        EXPECT_EQ(nullptr, Forms::Form4IfLoaded());
    }
    static std::vector<std::string> PageRows(::Form4& f) {
        std::vector<std::string> out;
        for (int r = 1; r <= f.ListView1.Count(); ++r) out.push_back(Ansi(f.ListView1.Text(r)));
        return out;
    }
};

// Adding a node twice keeps one entry in its first place, with the later time;
// the menu follows each addition. The 收藏夹 node offers no addition.
TEST_F(CategoryFavouritesTest, AddedTwiceKeepsOneEntryWithTheLaterTime) {
    WriteBytes(CatFile(Cat), Section(Data, {Simple(Jia)}) + Section(Sub, {Simple(Yi)}));
    const std::wstring cat = Text::FromAnsi(Cat), sub = Text::FromAnsi(Cat + "\\" + Sub);
    SetTime(9, 8, 7);
    EXPECT_TRUE(AddFromTreePopup(sub));
    EXPECT_TRUE(AddFromTreePopup(cat));
    SetTime(21, 5, 0);
    EXPECT_TRUE(AddFromTreePopup(sub));
    EXPECT_FALSE(AddFromTreePopup(Text::FromAnsi(Cat + "\\" + Fav)));
    EXPECT_EQ((std::vector<std::string>{Cat + "\\" + Sub + "=12-09-2026 21:05:00", Cat + "=12-09-2026 09:08:07"}),
              Entries());
    EXPECT_EQ((std::vector<std::string>{Cat + "\\" + Sub, Cat}), Menu());
    EXPECT_TRUE(boxes.empty());
}

// A path config.ini cannot keep as a key (a category file named outside the
// program) is refused with a message; so is any addition while config.ini is
// held by another program. The file and the menu stay as they were.
TEST_F(CategoryFavouritesTest, PathsAndWritesConfigCannotTakeAreRefused) {
    WriteBytes(CatFile("a=b"), Section(Data, {Simple(Jia)}));
    WriteBytes(CatFile(";x"), Section(Data, {Simple(Jia)}));
    WriteBytes(CatFile("[x"), Section(Data, {Simple(Jia)}));
    WriteBytes(CatFile(Cat), Section(Data, {Simple(Jia)}));
    SetFavourites({L"old"});
    const std::string before = ReadBytes(Config());
    for (const wchar_t* path : {L"a=b", L";x", L"[x"}) {
        ExpectBox(IDOK);
        EXPECT_TRUE(AddFromTreePopup(path));
        ASSERT_EQ(1u, boxes.size()) << Ansi(path);
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"无法将“" + std::wstring(path) + L"”添加入类别收藏夹"));
        boxes.clear();
    }
    HeldFile held(Config(), FILE_SHARE_READ);
    ASSERT_TRUE(held.Held());
    ExpectBox(IDOK, L"添加类别收藏夹失败，config.ini 可能是只读的，或已被其它程序打开。");
    EXPECT_TRUE(AddFromTreePopup(Text::FromAnsi(Cat)));
    held.Release();
    EXPECT_EQ(before, ReadBytes(Config()));
    EXPECT_EQ(std::vector<std::string>{"old"}, Menu());
}

// A jump ignores letter case and blanks around the item's text, shows the
// node's tips in category mode (also from data-file mode) and names it in the
// caption; a stale entry says so and changes nothing.
TEST_F(CategoryFavouritesTest, JumpsFindTheNodeOrSaySo) {
    WriteBytes(CatFile(Cat), Section(Data, {Simple(Jia)}) + Section("Sub", {Simple(Yi), Simple(Bing)}));
    const std::wstring upd = Path(L"tips.upd");
    WriteBytes(upd, Section(Data, {Simple(Ding)}));
    SetFavourites({Text::FromAnsi(Cat) + L"\\Sub", L"gone\\Sub"});
    main().Toolbar1.ButtonMenus(ToolbarKey::viewscj).Add(L"scjx", L"  " + Text::FromAnsi(Cat) + L"\\sUB  ");
    ShowFile(upd);
    ASSERT_FALSE(main().CategoryMode());

    Choose(L"  " + Text::FromAnsi(Cat) + L"\\sUB  ");
    EXPECT_TRUE(main().CategoryMode());
    EXPECT_EQ((std::vector<std::string>{Yi, Bing}), Rows());
    EXPECT_EQ(Text::FromAnsi(Cat) + L"\\Sub", shadow().SelectedCategoryPath());
    EXPECT_EQ(App::Title() + L" - " + Text::FromAnsi(Cat) + L"\\Sub", main().Caption());
    EXPECT_TRUE(Library::CurrentDataFilePath.empty());

    // The node shown already is shown afresh.
    WriteBytes(CatFile(Cat), Section(Data, {Simple(Jia)}) + Section("Sub", {Simple(Wu)}));
    Choose(Text::FromAnsi(Cat) + L"\\Sub");
    EXPECT_EQ(std::vector<std::string>{Wu}, Rows());

    ExpectBox(IDOK, L"已经搜遍所有类别，没有找到指定的类别。");
    Choose(L"gone\\Sub");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), boxes[0].style);
    EXPECT_EQ(std::vector<std::string>{Wu}, Rows());
    EXPECT_EQ(Text::FromAnsi(Cat) + L"\\Sub", shadow().SelectedCategoryPath());
}

// 删除 takes the selected entries out of config.ini at once; the menu shows
// them until the page closes, and however it closes (关闭, Esc, the close box)
// the menu then shows what is left.
TEST_F(CategoryFavouritesTest, DeleteThenCloseAnyWayRebuildsTheMenu) {
    enum Way { Close, Esc, CloseBox };
    for (Way way : {Close, Esc, CloseBox}) {
        SCOPED_TRACE(way);
        SetFavourites({L"A", L"B", L"C"});
        OnPage([&](::Form4& f) {
            EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), PageRows(f));
            EXPECT_TRUE(f.Command15.Enabled());
            EXPECT_TRUE(f.Command16.Enabled());
            f.ListView1.SetSelected(1, true);
            f.ListView1.SetSelected(3, true);
            f.Command15.PerformClick();
            EXPECT_EQ(std::vector<std::string>{"B"}, PageRows(f));
            EXPECT_EQ(std::vector<std::string>{"B=12-01-2026 10:00:00"}, Entries());
            EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), Menu());
            switch (way) {
            case Close: f.Command17.PerformClick(); break;
            case Esc:
                PostMessageW(f.ListView1.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
                PostMessageW(f.ListView1.hwnd(), WM_KEYUP, VK_ESCAPE, 1 | (3LL << 30));
                break;
            case CloseBox: PostMessageW(f.hwnd(), WM_CLOSE, 0, 0); break;
            }
        });
        EXPECT_EQ(std::vector<std::string>{"B"}, Menu());
    }
}

// 全部删除 answered No changes nothing; Yes empties the section, the list and
// the buttons; the page then opens empty with both delete buttons off.
TEST_F(CategoryFavouritesTest, DeleteAllAsksFirst) {
    SetFavourites({L"A", L"B"});
    const std::string before = ReadBytes(Config());
    OnPage([&](::Form4& f) {
        ExpectBox(IDNO, L"你确定要清空类别收藏夹的收藏内容吗？");
        f.Command16.PerformClick();
        EXPECT_EQ(before, ReadBytes(Config()));
        EXPECT_EQ(2, f.ListView1.Count());
        EXPECT_TRUE(f.Command15.Enabled());
        ExpectBox(IDYES);
        f.Command16.PerformClick();
        EXPECT_EQ(0, f.ListView1.Count());
        EXPECT_FALSE(f.Command15.Enabled());
        EXPECT_FALSE(f.Command16.Enabled());
        f.Command17.PerformClick();
    });
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(Menu().empty());
    OnPage([&](::Form4& f) {
        EXPECT_EQ(0, f.ListView1.Count());
        EXPECT_FALSE(f.Command15.Enabled());
        EXPECT_FALSE(f.Command16.Enabled());
        f.Command17.PerformClick();
    });
}

// While config.ini is held by another program, 删除 and 全部删除 keep the
// entries and their rows and say so.
TEST_F(CategoryFavouritesTest, HeldConfigKeepsTheEntries) {
    SetFavourites({L"A", L"B"});
    const std::string before = ReadBytes(Config());
    HeldFile held(Config(), FILE_SHARE_READ);
    ASSERT_TRUE(held.Held());
    OnPage([&](::Form4& f) {
        f.ListView1.SetSelected(2, true);
        ExpectBox(IDOK);
        f.Command15.PerformClick();
        EXPECT_EQ((std::vector<std::string>{"A", "B"}), PageRows(f));
        ExpectBox(IDYES);
        ExpectBox(IDOK, L"清空类别收藏夹失败，config.ini 可能是只读的，或已被其它程序打开。");
        f.Command16.PerformClick();
        EXPECT_EQ(2, f.ListView1.Count());
        EXPECT_TRUE(f.Command16.Enabled());
        f.Command17.PerformClick();
    });
    held.Release();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"有 1 个类别收藏未能删除"));
    EXPECT_EQ(before, ReadBytes(Config()));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Menu());
}

TEST_F(CategoryFavouritesTest, HoldPageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    SetFavourites({L"系统设置", L"系统设置\\开始菜单", L"网络\\浏览器"});
    OnPage([&](::Form4& f) {
        f.ListView1.SetSelected(2, true);
        EXPECT_TRUE(HoldForCapture(f.hwnd()));
        f.Command17.PerformClick();
    });
}
