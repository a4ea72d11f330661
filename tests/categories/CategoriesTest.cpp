// Creating, renaming and deleting categories and sub-categories through the
// real program: the main window and the category window as the program makes
// them, the toolbar's commands, the tree's own edit box and the input box, and
// category files in the program folder's data folder, built byte by byte in
// code page 936.
#include "support/HeldFile.h"
#include "common/Ini.h"
#include "common/Marks.h"
#include "editor/Form3.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Drive.h"
#include "platform/Menu.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {
std::string A(const std::wstring& w) { return Text::ToAnsi(w); }
const std::string FM = "\xFF", JM = "\x81\x88", DM = "\xAD\x95";
std::string Header(const std::string& name) {
    std::string s = "[";
    s += name;
    s += "]\r\n";
    return s;
}
std::string Sec(const std::wstring& name) { return Header(A(name)); }
std::string Mir(const std::wstring& name) { return Header(FM + A(name) + FM); }
// A new-layout record line.
std::string Rec(const std::wstring& name, const std::string& data, char type, char danger) {
    return A(name) + "=HKEY_CURRENT_USER\\Software\\QuorixTest\\K" + FM + "V" + FM + A(L"启用") + JM + data + FM +
           std::string(1, type) + FM + A(L"说明") + FM + std::string(1, danger) + "\r\n";
}
std::string Opt(const std::wstring& name) {
    return A(name) + "=" + FM + A(L"启用") + FM + A(L"关闭") + FM + JM + FM + "1" + FM + "0" + FM + "\r\n";
}
// The lines of a section as stored (its header line excluded), up to the next section.
std::string SectionBody(const std::string& file, const std::string& header) {
    size_t p = file.find(header);
    if (p == std::string::npos) return "<none>";
    p += header.size();
    size_t e = file.find("\r\n[", p - 2);
    return file.substr(p, e == std::string::npos ? std::string::npos : e + 2 - p);
}

}  // namespace

class CategoriesTest : public QuorixTest {
protected:
    void TearDown() override {
        if (Form2* f = Forms::Form2IfLoaded()) {
            SendMessageW(f->hwnd(), WM_CLOSE, 0, 0);
            Ui::DoEvents();
        }
        Ini::FailNthWriteForTests(0);
        QuorixTest::TearDown();
    }
    std::wstring DataDir() const { return dir + L"DATA\\"; }
    std::wstring File(const std::wstring& name) const { return DataDir() + name + L".qix"; }
    // Starts the program on these category files (name without extension, bytes).
    Form2& Start(const std::vector<std::pair<std::wstring, std::string>>& files) {
        PrepareRunBefore();
        for (const auto& [key, value] : {std::pair<const wchar_t*, const wchar_t*>{L"AutoCheck", L"1"},
                                         {L"AutoWidth", L"1"}, {L"TreeIndex", L"1"}, {L"FormLink", L"1"},
                                         {L"Form2Visible", L"1"}, {L"ViewCheck", L"0"}})
            Ini::Write(dir + L"config.ini", L"Data", key, value);
        for (const auto& [name, bytes] : files) WriteBytes(File(name), bytes);
        Form2& f = Forms::Form2();
        EXPECT_TRUE(f.Exists());
        f.Show();
        Ui::DoEvents();
        return f;
    }
    Form2& main() { return Forms::Form2(); }
    ListView& tips() { return Forms::Form2().ListView1; }
    frmShadow& shadow() { return Forms::frmShadow(); }
    TreeView& tree() { return Forms::frmShadow().TreeView1; }
    int Node(const std::wstring& fullPath) {
        for (int n = 1; n <= tree().Count(); ++n)
            if (tree().FullPath(n) == fullPath) return n;
        return 0;
    }
    // A click on a node, as the user gives it.
    void Click(const std::wstring& fullPath) {
        int n = Node(fullPath);
        ASSERT_NE(0, n) << A(fullPath);
        tree().Select(n);
        shadow().TreeView1_NodeClick(n);
    }
    std::vector<std::wstring> Children(const std::wstring& category) {
        std::vector<std::wstring> out;
        for (int c = tree().FirstChild(Node(category)); c; c = tree().NextSibling(c)) out.push_back(tree().Text(c));
        return out;
    }
    std::vector<std::wstring> TopLevelShownAfterRestart() {
        Form2& f = Forms::Form2();
        EXPECT_TRUE(f.Exists());
        f.Show();
        Ui::DoEvents();
        return TopLevelShown();
    }
    std::vector<std::wstring> TopLevelShown() {
        std::vector<std::wstring> out;
        auto h = reinterpret_cast<HTREEITEM>(SendMessageW(tree().hwnd(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
        for (; h; h = reinterpret_cast<HTREEITEM>(
                      SendMessageW(tree().hwnd(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(h))))
            out.push_back(tree().Text(tree().IndexOf(h)));
        return out;
    }
    // Types into the open edit box and ends the edit with Enter (or Esc).
    void EndEdit(const std::wstring& text, UINT key = VK_RETURN) {
        HWND edit = reinterpret_cast<HWND>(SendMessageW(tree().hwnd(), TVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(nullptr, edit);
        Drive::Type(edit, text);
        Drive::PostKey(edit, key);
        Drive::Pump();
        EXPECT_FALSE(tree().Editing());
    }
    // The popup's 重命名 on the selected node, then the typed text.
    void Rename(const std::wstring& text) {
        main().file.Click(L"cmm");
        ASSERT_TRUE(tree().Editing());
        EndEdit(text);
    }
    void Toolbar(const wchar_t* key) { main().Toolbar1_ButtonClick(key); }
    // The top-level texts in the order the tree's sorting gives them.
    std::vector<std::wstring> SortedTopLevel() {
        std::vector<std::wstring> v = TopLevelShown();
        std::stable_sort(v.begin(), v.end(),
                         [](const std::wstring& a, const std::wstring& b) { return TreeView::CompareTexts(a, b) < 0; });
        return v;
    }
    // A real left click (mouse input) on a node's text.
    void MouseClickNode(int node) {
        RECT r{};
        const HTREEITEM h = tree().Handle(node);
        std::memcpy(&r, &h, sizeof h);  // the item asked about goes in the rectangle
        ASSERT_TRUE(SendMessageW(tree().hwnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tree().hwnd(), &p);
        SetCursorPos(p.x, p.y);
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
    }
    // Pumps the program's messages until `done` or the time is up.
    bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000) {
        const DWORD end = GetTickCount() + ms;
        while (!done()) {
            if (static_cast<LONG>(end - GetTickCount()) < 0) return false;
            Ui::DoEvents();
            Sleep(20);
        }
        return true;
    }
    // The category window where the mouse can reach it, in front.
    void BringShadowForward() {
        SetWindowPos(shadow().hwnd(), HWND_TOP, 20, 20, 300, 500, SWP_SHOWWINDOW);
        SetForegroundWindow(shadow().hwnd());
        Ui::DoEvents();
    }
    void NewSubCategory() { main().Toolbar1_ButtonMenuClick(L"tjlb", L"new"); }
    UINT LastIcon() const { return boxes.empty() ? 0 : boxes.back().style & MB_ICONMASK; }
    std::wstring Caption() { return main().Caption(); }
    int Rows() { return tips().Count(); }
};

// New categories take the first default name that no node bears and no file
// of the data folder has; the file is made empty, never over another one; the
// node is last, selected, shown, and its text is open for editing.
TEST_F(CategoriesTest, NewCategoryNames) {
    Start({{L"系统", Sec(L"数据") + Rec(L"甲", "1", '2', '1')}});
    // A file of the plain name that the tree does not list (it came after the start).
    const std::string outside = Sec(L"数据") + Rec(L"外", "1", '2', '1');
    WriteBytes(File(L"新建技巧类别"), outside);

    const std::wstring expected[] = {L"新建技巧类别 (1)", L"新建技巧类别 (2)", L"新建技巧类别 (3)"};
    for (const std::wstring& name : expected) {
        SCOPED_TRACE(A(name));
        Toolbar(L"tjlb");
        int node = Node(name);
        ASSERT_NE(0, node);
        EXPECT_EQ("", ReadBytes(File(name)));
        EXPECT_EQ(name, TopLevelShown().back());
        EXPECT_EQ(node, tree().SelectedItem());
        EXPECT_TRUE(tree().Expanded(node));
        EXPECT_EQ(std::vector<std::wstring>{L"收藏夹"}, Children(name));
        EXPECT_TRUE(tree().Bold(tree().FirstChild(node)));
        EXPECT_EQ(File(name), tree().NodeTag(tree().FirstChild(node)));
        EXPECT_EQ(0, Rows());
        EXPECT_EQ(L"Quorix 3.0 - " + name, Caption());
        EXPECT_TRUE(main().Toolbar1.Enabled(L"del"));
        EXPECT_TRUE(tree().Editing());
        EndEdit(L"", VK_ESCAPE);  // the default name stays
        EXPECT_EQ(name, tree().Text(node));
    }
    EXPECT_EQ(outside, ReadBytes(File(L"新建技巧类别")));

    // A freed number is taken again before a higher one.
    Click(L"新建技巧类别 (2)");
    ExpectBox(IDYES);
    Toolbar(L"del");
    EXPECT_FALSE(App::FileExists(File(L"新建技巧类别 (2)")));
    Toolbar(L"tjlb");
    EXPECT_NE(0, Node(L"新建技巧类别 (2)"));
    EndEdit(L"", VK_ESCAPE);

    // Ending the edit with the name as it was keeps it and says nothing; the
    // new category then stands where the tree's sorting puts it.
    Toolbar(L"tjlb");
    const size_t shown = boxes.size();
    EndEdit(L"新建技巧类别 (4)");
    EXPECT_EQ(shown, boxes.size());
    EXPECT_TRUE(App::FileExists(File(L"新建技巧类别 (4)")));
    EXPECT_EQ(SortedTopLevel(), TopLevelShown());
}

TEST_F(CategoriesTest, NewCategoryCountsSubCategories) {
    Start({{L"系统", Sec(L"新建技巧类别")}});
    ASSERT_NE(0, Node(L"系统\\新建技巧类别"));
    Toolbar(L"tjlb");
    EXPECT_NE(0, Node(L"新建技巧类别 (1)"));
    EndEdit(L"", VK_ESCAPE);
}

// With no category and no data folder: the folder is made, then the file.
TEST_F(CategoriesTest, NewCategoryMakesTheDataFolder) {
    Start({});
    EXPECT_EQ(0, tree().Count());
    ASSERT_TRUE(RemoveDirectoryW(DataDir().c_str()));
    Toolbar(L"tjlb");
    EXPECT_EQ("", ReadBytes(File(L"新建技巧类别")));
    EXPECT_EQ(2, tree().Count());
    for (const wchar_t* key : {L"open", L"del", L"find"}) EXPECT_TRUE(main().Toolbar1.Enabled(key)) << A(key);
    EndEdit(L"", VK_ESCAPE);
}

// Names no category or sub-category may take, through the tree's edit (both
// kinds of node) and the new sub-category's input box, which asks again.
TEST_F(CategoriesTest, RefusedNames) {
    const std::string bytes = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"子类") + Rec(L"乙", "1", '2', '1');
    Start({{L"系统", bytes}});
    const std::wstring refused[] = {
        L"",      L"   ",   L"..",   L"..\\x", L"a\\b", L"a/b",  L"a:b",   L"a*b",         L"a?b",
        L"a\"b",  L"a<b",   L"a>b",  L"a|b",   L"[x",   L";x",   L"a]b",   L"a" + Marks::FieldMark + L"b",
        L"数据",  L"收藏夹", L".x",   L"nul",   L"CON.txt", L"com1", L"a\u0e01b",
    };
    for (const std::wstring& name : refused) {
        SCOPED_TRACE(A(name));
        for (const wchar_t* node : {L"系统", L"系统\\子类"}) {
            Click(node);
            ExpectBox(IDOK);
            Rename(name);
            EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
            EXPECT_NE(0, Node(node));
        }
        Click(L"系统");
        size_t before = inputs.size(), shown = boxes.size();
        const bool blank = Text::Trim(name).empty();
        ExpectInput(name, L"请输入技巧子类别名称:");
        if (!blank) {
            ExpectBox(IDOK);
            ExpectInput(L"");
        }
        NewSubCategory();
        EXPECT_EQ(before + (blank ? 1 : 2), inputs.size());
        EXPECT_EQ(shown + (blank ? 0 : 1), boxes.size());
        if (!blank) {
            EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
        }
        EXPECT_EQ(L"在 系统 中添加新的技巧子类别", inputs.back().title);
    }
    EXPECT_EQ(bytes, ReadBytes(File(L"系统")));
    EXPECT_EQ((std::vector<std::wstring>{L"子类", L"收藏夹"}), Children(L"系统"));
    EXPECT_EQ(1u, App::ListFiles(DataDir(), L"*.qix").size());
}

// A new sub-category: an empty section where none is, its node last under the
// category, selected and shown; names of a node or of any section of the file,
// in any letter case, clash and the box asks again.
TEST_F(CategoriesTest, NewSubCategory) {
    Start({{L"系统", Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"Abc") + Rec(L"乙", "1", '2', '1')}});
    // A section the tree does not show (written after the start).
    ASSERT_TRUE(Ini::Write(File(L"系统"), L"Hidden", L"k", L"v"));
    const std::string before = ReadBytes(File(L"系统"));
    Click(L"系统");
    ExpectInput(L"ABC");
    ExpectBox(IDOK, L"目标子类别与源子类别重名，请重新命名目标子类别。");
    ExpectInput(L"hidden");
    ExpectBox(IDOK, L"目标子类别与源子类别重名，请重新命名目标子类别。");
    ExpectInput(L"");
    NewSubCategory();
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), LastIcon());
    EXPECT_EQ(before, ReadBytes(File(L"系统")));

    ExpectInput(L"  新子类 ");
    NewSubCategory();
    EXPECT_EQ(before + Sec(L"新子类"), ReadBytes(File(L"系统")));
    EXPECT_EQ((std::vector<std::wstring>{L"Abc", L"收藏夹", L"新子类"}), Children(L"系统"));
    EXPECT_EQ(Node(L"系统\\新子类"), tree().SelectedItem());
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(L"Quorix 3.0 - 系统\\新子类", Caption());
    EXPECT_EQ(L"系统\\新子类", Library::CurrentCategoryPath);
}

// A category's file takes the new name unchanged; a name of another category
// (in any letter case, listed or only a file) or a file held by another
// program is refused and changes nothing.
TEST_F(CategoriesTest, RenameCategory) {
    const std::string system = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"子类") + Rec(L"乙", "1", '2', '1');
    const std::string tools = Sec(L"数据") + Rec(L"丙", "1", '2', '1');
    Start({{L"系统", system}, {L"Tools", tools}});
    const std::string outside = Sec(L"数据");
    WriteBytes(File(L"外部"), outside);
    Click(L"系统");

    for (const wchar_t* name : {L"tools", L"TOOLS", L"外部"}) {
        ExpectBox(IDOK, L"指定的技巧类别名称与现有的技巧类别名称重名，请指定另一类别名称。");
        Rename(name);
    }
    {
        HeldFile held(File(L"系统"), FILE_SHARE_READ, OPEN_EXISTING, GENERIC_READ);
        ASSERT_TRUE(held.Held());
        ExpectBox(IDOK);
        Rename(L"新名");
        EXPECT_EQ(0u, boxes.back().text.find(L"不知名的错误，错误号为 ")) << A(boxes.back().text);
    }
    EXPECT_EQ(system, ReadBytes(File(L"系统")));
    EXPECT_EQ(tools, ReadBytes(File(L"Tools")));
    EXPECT_EQ(outside, ReadBytes(File(L"外部")));
    EXPECT_NE(0, Node(L"系统"));
    EXPECT_FALSE(App::FileExists(File(L"新名")));

    Rename(L" 安全 ");
    EXPECT_FALSE(App::FileExists(File(L"系统")));
    EXPECT_EQ(system, ReadBytes(File(L"安全")));
    const int node = Node(L"安全");
    ASSERT_NE(0, node);
    for (int n : {node, Node(L"安全\\子类"), Node(L"安全\\收藏夹")}) EXPECT_EQ(File(L"安全"), tree().NodeTag(n));
    EXPECT_EQ(L"Quorix 3.0 - 安全", Caption());
    EXPECT_EQ(L"安全", Library::CurrentCategoryPath);
    EXPECT_TRUE(tree().Sorted());
    // The tips written from now on reach the renamed file.
    Click(L"安全\\子类");
    EXPECT_EQ(1, Rows());
}

// A sub-category's sections move under the new name exactly as the file holds
// them (both record layouts, every key in file order), whatever the list
// shows; the other sections stay as they were.
TEST_F(CategoriesTest, RenameSubCategoryMovesItsSectionsWhole) {
    const std::string moved = Rec(L"危险", "1", '2', '2') + Rec(L"删除", DM, '0', '1') + Rec(L"空值", "", '1', '1') +
                              A(L"旧式") + "=HKEY_CURRENT_USER\\Software\\QuorixTest\\K" + FM + "V" + FM + "1" + FM +
                              "0" + FM + A(L"旧的说明") + "\r\n" + A(L"重复") + "=first\r\n" + A(L"空") + "=\r\n";
    const std::string options = Opt(L"危险") + Opt(L"删除") + Opt(L"空值");
    const std::string head = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Mir(L"数据") + Opt(L"甲");
    const std::string other = Sec(L"别的") + Rec(L"乙", "1", '2', '1') + Mir(L"别的") + Opt(L"乙");
    const std::string tail = Sec(L"收藏夹") + Rec(L"丙", "1", '2', '1');
    const std::string bytes = head + Sec(L"子类") + moved + Mir(L"子类") + options + other + Sec(L"空类") + tail;
    Start({{L"系统", bytes}});
    Click(L"系统\\子类");
    ASSERT_EQ(6, Rows());

    Rename(L"新子类");
    std::string now = ReadBytes(File(L"系统"));
    EXPECT_EQ(moved, SectionBody(now, Sec(L"新子类")));
    EXPECT_EQ(options, SectionBody(now, Mir(L"新子类")));
    EXPECT_EQ("<none>", SectionBody(now, Sec(L"子类")));
    EXPECT_EQ("<none>", SectionBody(now, Mir(L"子类")));
    EXPECT_EQ(0u, now.find(head + other + Sec(L"空类") + tail)) << now;
    EXPECT_EQ(L"Quorix 3.0 - 系统\\新子类", Caption());
    EXPECT_EQ(L"系统\\新子类", Library::CurrentCategoryPath);
    main().StatusBar1_PanelClick(2);  // reload: the same tips, the dangerous one still dangerous
    EXPECT_EQ(6, Rows());

    // Only the letter case: the section keeps every key under the new spelling.
    Click(L"系统\\空类");
    Click(L"系统\\新子类");
    Rename(L"新子类x");
    Rename(L"新子类X");
    now = ReadBytes(File(L"系统"));
    EXPECT_EQ(moved, SectionBody(now, Sec(L"新子类X")));
    EXPECT_EQ(options, SectionBody(now, Mir(L"新子类X")));
    EXPECT_EQ(std::string::npos, now.find(Sec(L"新子类x")));
    EXPECT_EQ(std::string::npos, now.find(A(L"Quorix重命名")));

    // An empty sub-category stays an empty section.
    Click(L"系统\\空类");
    Rename(L"还是空的");
    now = ReadBytes(File(L"系统"));
    EXPECT_EQ("", SectionBody(now, Sec(L"还是空的")));
    EXPECT_EQ("<none>", SectionBody(now, Sec(L"空类")));

    // While the list shows a tip data file: the file's sections move all the same.
    const std::wstring upd = Path(L"a.upd");
    WriteBytes(upd, Sec(L"数据") + Rec(L"文件里的", "1", '2', '1'));
    Click(L"系统\\新子类X");
    shadow().Form_OLEDragDrop({upd});
    ASSERT_FALSE(main().CategoryMode());
    ASSERT_EQ(1, Rows());
    Rename(L"第三个名字");
    now = ReadBytes(File(L"系统"));
    EXPECT_EQ(moved, SectionBody(now, Sec(L"第三个名字")));
    EXPECT_EQ(options, SectionBody(now, Mir(L"第三个名字")));
    EXPECT_EQ(L"Quorix 3.0 - " + upd, Caption());
    EXPECT_EQ(L"文件里的", tips().Text(1));
}

// A write that fails leaves the file as it was and the node its name.
TEST_F(CategoriesTest, RenameSubCategoryThatCannotBeWritten) {
    const std::string bytes = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"子类") + Rec(L"乙", "1", '2', '1') +
                              Mir(L"子类") + Opt(L"乙");
    Start({{L"系统", bytes}});
    Click(L"系统\\子类");
    {
        HeldFile held(File(L"系统"), FILE_SHARE_READ, OPEN_EXISTING, GENERIC_READ);
        ASSERT_TRUE(held.Held());
        ExpectBox(IDOK);
        Rename(L"新子类");
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
        EXPECT_EQ(0u, boxes.back().text.find(L"不知名的错误，错误号为 "));
    }
    EXPECT_EQ(bytes, ReadBytes(File(L"系统")));
    EXPECT_NE(0, Node(L"系统\\子类"));
    // The option lists cannot be written after the tips were: the partial copy goes.
    for (int nth : {2, 3}) {
        Ini::FailNthWriteForTests(nth);
        ExpectBox(IDOK);
        Rename(nth == 2 ? L"新子类" : L"子类X");
        EXPECT_EQ(bytes, ReadBytes(File(L"系统"))) << nth;
        EXPECT_NE(0, Node(L"系统\\子类"));
    }
}

// Deleting: No (the default) changes nothing; the selection moves to the next
// sub-category, then to 收藏夹, shown as a click shows it; the last category
// leaves the windows with nothing loaded; a file held by another program
// keeps its node, rows and bytes.
TEST_F(CategoriesTest, Delete) {
    const std::string system = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"a") + Rec(L"乙", "1", '2', '1') +
                               Mir(L"a") + Opt(L"乙") + Sec(L"b") + Rec(L"丙", "1", '2', '1') + Sec(L"收藏夹") +
                               Rec(L"丁", "1", '2', '2');
    const std::string tools = Sec(L"数据") + Rec(L"戊", "1", '2', '1');
    Start({{L"系统", system}, {L"Tools", tools}});

    Click(L"系统\\a");
    ExpectBox(IDNO, L"你确定要删除“a”技巧子类别吗？");
    Toolbar(L"del");
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), boxes.back().style);
    Click(L"系统");
    ExpectBox(IDNO, L"你确定要删除“系统”技巧类别吗？");
    Toolbar(L"del");
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2), boxes.back().style);
    EXPECT_EQ(system, ReadBytes(File(L"系统")));
    EXPECT_EQ(6, tree().Count());

    // Held: nothing goes.
    for (const wchar_t* node : {L"系统\\a", L"系统"}) {
        Click(node);
        HeldFile held(File(L"系统"), 0, OPEN_EXISTING, GENERIC_READ);
        ASSERT_TRUE(held.Held());
        ExpectBox(IDYES);
        ExpectBox(IDOK, L"技巧数据文件可能已被打开或被其它程序使用，导致删除技巧类别失败。");
        Toolbar(L"del");
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
        EXPECT_NE(0, Node(node));
        EXPECT_EQ(1, Rows());
    }
    EXPECT_EQ(system, ReadBytes(File(L"系统")));

    // 收藏夹 selected: nothing, not even a question.
    Click(L"系统\\收藏夹");
    size_t shown = boxes.size();
    Toolbar(L"del");
    EXPECT_EQ(shown, boxes.size());

    Click(L"系统\\a");
    ExpectBox(IDYES);
    Toolbar(L"del");
    std::string now = ReadBytes(File(L"系统"));
    EXPECT_EQ(std::string::npos, now.find(Sec(L"a")));
    EXPECT_EQ(std::string::npos, now.find(Mir(L"a")));
    EXPECT_EQ(Node(L"系统\\b"), tree().SelectedItem());
    EXPECT_EQ(L"丙", tips().Text(1));
    EXPECT_EQ(L"Quorix 3.0 - 系统\\b", Caption());
    EXPECT_EQ(TreeView::LabelEditMode::Automatic, tree().LabelEdit());

    ExpectBox(IDYES);
    Toolbar(L"del");
    EXPECT_EQ(Node(L"系统\\收藏夹"), tree().SelectedItem());
    ASSERT_EQ(1, Rows());
    EXPECT_EQ(L"丁", tips().Text(1));
    EXPECT_TRUE(tips().Checked(1));  // AutoCheck, dangerous tips included
    for (const wchar_t* key : {L"del", L"scj", L"open"}) EXPECT_FALSE(main().Toolbar1.Enabled(key)) << A(key);
    EXPECT_EQ(TreeView::LabelEditMode::Manual, tree().LabelEdit());
    EXPECT_EQ(L"Quorix 3.0 - 系统\\收藏夹", Caption());
    main().file.Click(L"cmm");
    EXPECT_FALSE(tree().Editing());  // 收藏夹 is never renamed

    // Categories: the next one is shown; the last leaves nothing loaded.
    Click(L"Tools");
    ExpectBox(IDYES);
    Toolbar(L"del");
    EXPECT_FALSE(App::FileExists(File(L"Tools")));
    EXPECT_EQ(Node(L"系统"), tree().SelectedItem());
    EXPECT_EQ(L"甲", tips().Text(1));
    EXPECT_EQ(L"Quorix 3.0 - 系统", Caption());
    ExpectBox(IDYES);
    Toolbar(L"del");
    EXPECT_EQ(0, tree().Count());
    EXPECT_EQ(0, Rows());
    EXPECT_EQ(L"Quorix 3.0", Caption());
    EXPECT_EQ(L"没有找到任何技巧类别", main().StatusBar1.PanelText(1));
    for (const wchar_t* key : {L"start", L"open", L"daochu", L"del", L"del2", L"scj", L"cut", L"copy", L"xuan", L"find"})
        EXPECT_FALSE(main().Toolbar1.Enabled(key)) << A(key);
    EXPECT_TRUE(main().Toolbar1.Enabled(L"tjlb"));
    EXPECT_EQ(L"no", Forms::Form3().ListView2.Tag);
    EXPECT_FALSE(Forms::Form3().Toolbar1.Enabled(L"xj"));
    shown = boxes.size();
    Toolbar(L"del");  // no node: nothing
    EXPECT_EQ(shown, boxes.size());
    EXPECT_EQ(0u, App::ListFiles(DataDir(), L"*.qix").size());
}

// A category file the system reports deleted but that is still there (another
// program holds it open, sharing its deletion): the node stays and the user is
// told, as for any delete that fails.
TEST_F(CategoriesTest, ADeleteThatLeavesTheFileKeepsTheNode) {
    const std::string tools = Sec(L"数据") + Rec(L"戊", "1", '2', '1');
    Start({{L"系统", Sec(L"数据") + Rec(L"甲", "1", '2', '1')}, {L"Tools", tools}});
    Click(L"Tools");
    {
        HeldFile held(File(L"Tools"), FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, GENERIC_READ);
        ASSERT_TRUE(held.Held());
        ExpectBox(IDYES);
        ExpectBox(IDOK, L"技巧数据文件可能已被打开或被其它程序使用，导致删除技巧类别失败。");
        Toolbar(L"del");
        EXPECT_TRUE(App::FileExists(File(L"Tools")));
        EXPECT_NE(0, Node(L"Tools"));
        EXPECT_EQ(Node(L"Tools"), tree().SelectedItem());
        EXPECT_EQ(1, Rows());
    }
    // The probe of what the system answered: it said done.
    const std::wstring probe = Path(L"probe.txt");
    WriteBytes(probe, "x");
    HeldFile held(probe, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, GENERIC_READ);
    EXPECT_TRUE(DeleteFileW(probe.c_str()));
    EXPECT_TRUE(App::FileExists(probe));
}

// A category file another program holds without sharing is told as
// unreadable when it is shown, not shown as an empty category without a word.
TEST_F(CategoriesTest, AHeldCategoryFileIsToldAsUnreadable) {
    Start({{L"系统", Sec(L"数据") + Rec(L"甲", "1", '2', '1')}, {L"Tools", Sec(L"数据") + Rec(L"戊", "1", '2', '1')}});
    Click(L"Tools");
    HeldFile held(File(L"系统"), 0, OPEN_EXISTING, GENERIC_READ);
    ASSERT_TRUE(held.Held());
    ExpectBox(IDOK);
    Click(L"系统");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
    EXPECT_EQ(0u, boxes[0].text.find(L"无法读取技巧文件“")) << A(boxes[0].text);
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"文件已被其它程序打开")) << A(boxes[0].text);
    EXPECT_EQ(0, Rows());
    held.Release();
    Click(L"Tools");
    Click(L"系统");
    EXPECT_EQ(1, Rows());
    EXPECT_EQ(1u, boxes.size());
}

// A click on the selected node's text opens its edit box, as the tree's
// automatic editing gives; a click on another node then ends the edit with the
// old text: nothing is renamed or written, no message, and that click selects
// and shows the other node. A category and a sub-category alike.
TEST_F(CategoriesTest, ClickOnTheSelectedNodeThenElsewhereChangesNothing) {
    const std::string system = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"子类") + Rec(L"乙", "1", '2', '1') +
                               Mir(L"子类") + Opt(L"乙");
    const std::string tools = Sec(L"数据") + Rec(L"丙", "1", '2', '1');
    Start({{L"系统", system}, {L"Tools", tools}});
    tree().SetExpanded(Node(L"系统"), true);
    BringShadowForward();
    struct Case {
        const wchar_t* edited;
        const wchar_t* then;
        const wchar_t* firstRow;
    } cases[] = {{L"系统", L"Tools", L"丙"}, {L"系统\\子类", L"系统", L"甲"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(A(c.edited));
        Click(c.edited);
        Ui::DoEvents();
        MouseClickNode(Node(c.edited));
        ASSERT_TRUE(PumpUntil([&] { return tree().Editing(); })) << "no edit box";
        MouseClickNode(Node(c.then));
        ASSERT_TRUE(PumpUntil([&] { return !tree().Editing(); }));
        // Wine's tree spends the click that ends an edit on ending it; a second
        // click selects, as a user then gives it.
        if (!PumpUntil([&] { return tree().SelectedItem() == Node(c.then); }, 800)) MouseClickNode(Node(c.then));
        ASSERT_TRUE(PumpUntil([&] { return tree().SelectedItem() == Node(c.then); }));
        Ui::DoEvents();
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(system, ReadBytes(File(L"系统")));
        EXPECT_EQ(tools, ReadBytes(File(L"Tools")));
        EXPECT_NE(0, Node(c.edited));
        ASSERT_GE(Rows(), 1);
        EXPECT_EQ(c.firstRow, tips().Text(1));
        EXPECT_EQ(std::wstring(L"Quorix 3.0 - ") + c.then, Caption());
    }
}

// The same name in another letter case is still refused, for a category; a
// sub-category takes it (its sections move through a name of their own).
TEST_F(CategoriesTest, CaseOnlyRenameOfACategoryIsRefused) {
    const std::string tools = Sec(L"数据") + Rec(L"丙", "1", '2', '1');
    Start({{L"Tools", tools}});
    Click(L"Tools");
    ExpectBox(IDOK, L"无法重命名，源技巧类别名称与目标技巧类别名称相同。");
    Rename(L"TOOLS");
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
    EXPECT_NE(0, Node(L"Tools"));
    EXPECT_EQ(tools, ReadBytes(File(L"Tools")));
    EXPECT_EQ(1u, App::ListFiles(DataDir(), L"*.qix").size());
}

// Names of 255 characters are taken, of 256 refused with a message saying so
// (category, sub-category, new sub-category); nothing is written.
TEST_F(CategoriesTest, NamesUpTo255Characters) {
    const std::string bytes = Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"子类") + Rec(L"乙", "1", '2', '1');
    Start({{L"系统", bytes}});
    const std::wstring tooLong(256, L'长');
    for (const wchar_t* node : {L"系统", L"系统\\子类"}) {
        SCOPED_TRACE(A(node));
        Click(node);
        ExpectBox(IDOK);
        Rename(tooLong);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), LastIcon());
        EXPECT_NE(std::wstring::npos, boxes.back().text.find(L"不能超过 255 个字符")) << A(boxes.back().text);
        EXPECT_NE(0, Node(node));
    }
    Click(L"系统");
    ExpectInput(tooLong);
    ExpectBox(IDOK);
    ExpectInput(L"");
    NewSubCategory();
    EXPECT_NE(std::wstring::npos, boxes.back().text.find(L"不能超过 255 个字符"));
    EXPECT_EQ(bytes, ReadBytes(File(L"系统")));

    // 255 characters: a sub-category of that name is made, renamed and deleted whole.
    const std::wstring longest(255, L'长');
    ExpectInput(longest);
    NewSubCategory();
    ASSERT_NE(0, Node(L"系统\\" + longest));
    EXPECT_TRUE(Ini::HasSection(File(L"系统"), longest));
    ExpectBox(IDYES);
    Toolbar(L"del");
    EXPECT_EQ(0, Node(L"系统\\" + longest));
    EXPECT_EQ(bytes, ReadBytes(File(L"系统")));
}

// Renaming a category whose sub-category is shown: the caption and the path
// shown follow the new name.
TEST_F(CategoriesTest, RenamingTheCategoryOfTheShownSubCategory) {
    Start({{L"甲测试", Sec(L"数据") + Rec(L"甲", "1", '2', '1') + Sec(L"子类别") + Rec(L"乙", "1", '2', '1')}});
    Click(L"甲测试\\子类别");
    ASSERT_EQ(L"Quorix 3.0 - 甲测试\\子类别", Caption());
    tree().Select(Node(L"甲测试"));  // selected without showing it, as the tree's keys leave it
    Rename(L"乙测试");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(L"Quorix 3.0 - 乙测试\\子类别", Caption());
    EXPECT_EQ(L"乙测试\\子类别", Library::CurrentCategoryPath);
}

// One order of the categories through a run: the start-up's is the tree's
// sorting, and a new category, a rename and an edit given up keep to it.
TEST_F(CategoriesTest, OneOrderOfCategories) {
    const std::string data = Sec(L"数据");
    Start({{L"b", data}, {L"Z", data}, {L"_x", data}, {L"中文", data}, {L"a", data}, {L"阿", data}, {L"Ä", data}});
    const std::vector<std::wstring> atStart = TopLevelShown();
    EXPECT_EQ(SortedTopLevel(), atStart);
    Toolbar(L"tjlb");
    EndEdit(L"", VK_ESCAPE);
    EXPECT_EQ(SortedTopLevel(), TopLevelShown());
    Toolbar(L"tjlb");
    EndEdit(L"~新");
    EXPECT_EQ(SortedTopLevel(), TopLevelShown());
    Click(L"b");
    Rename(L"c");
    EXPECT_EQ(SortedTopLevel(), TopLevelShown());
    // The next start lists them in the same order.
    SendMessageW(main().hwnd(), WM_CLOSE, 0, 0);
    Ui::DoEvents();
    const std::vector<std::wstring> before = TopLevelShownAfterRestart();
    EXPECT_EQ(SortedTopLevel(), before);
}
