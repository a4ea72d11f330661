// Copy, cut and paste of tips, the replace page and the import of tip data
// files, through the real windows, files and profile functions.
#include "fixtures/FreshMainWindow.h"
#include "common/Ini.h"
#include "common/TipFile.h"
#include "dialogs/Form4.h"
#include "dialogs/PagesFixture.h"
#include "dialogs/GCommonDialog.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Modal.h"
#include "platform/Text.h"
#include "support/Fixture.h"
#include "support/DialogDriver.h"
#include "support/HeldFile.h"
#include "support/RealInput.h"
#include "transfer/Transfer.h"

#include <cstring>
#include <optional>
#include <functional>
#include <map>

namespace {
const std::string FM = "\xFF", JM = "\x81\x88", DM = "\xAD\x95";
const std::string Data = "\xCA\xFD\xBE\xDD";               // 数据
const std::string Fav = "\xCA\xD5\xB2\xD8\xBC\xD0";        // 收藏夹
const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";

std::string Rec(const std::string& value, const std::string& data, char type = '0', const std::string& desc = "d",
                const std::string& flag = "1") {
    return KP + FM + value + FM + "lab" + JM + data + FM + std::string(1, type) + FM + desc +
           (flag.empty() ? "" : FM + flag);
}
std::string Opts(int n = 1) {
    std::string s = FM;
    for (int i = 0; i < n; ++i) s.append("l").append(std::to_string(i)).append(FM);
    s.append(JM).append(FM);
    for (int i = 0; i < n; ++i) s.append("d").append(std::to_string(i)).append(FM);
    return s;
}
using Tips = std::vector<std::pair<std::string, std::pair<std::string, std::string>>>;  // name, record, options
std::string Section(const std::string& name, const Tips& tips) {
    std::string s = "[" + name + "]\r\n";
    for (auto& t : tips) s += t.first + "=" + t.second.first + "\r\n";
    s += "[" + FM + name + FM + "]\r\n";
    for (auto& t : tips) s += t.first + "=" + t.second.second + "\r\n";
    return s;
}
Tips Simple(std::initializer_list<const char*> names, const std::string& tag = "") {
    Tips t;
    for (const char* n : names) t.push_back({n, {Rec(std::string("v_") + n, tag + n), Opts()}});
    return t;
}

// The raw text after "key=" in a section of the file's bytes (key without regard to ASCII case).
std::optional<std::string> LineOf(const std::string& bytes, const std::string& section, const std::string& key) {
    const std::string head = "[" + section + "]\r\n";
    size_t p = bytes.find(head);
    if (p == std::string::npos) return std::nullopt;
    p += head.size();
    while (p < bytes.size() && bytes[p] != '[') {
        size_t e = bytes.find("\r\n", p);
        if (e == std::string::npos) e = bytes.size();
        std::string line = bytes.substr(p, e - p);
        size_t eq = line.find('=');
        if (eq == key.size() && _strnicmp(line.c_str(), key.c_str(), key.size()) == 0) return line.substr(eq + 1);
        p = e + 2;
    }
    return std::nullopt;
}
}  // namespace

class PasteTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        PrepareRunBefore();
        ::Form2& f = FreshMainWindow();
        ASSERT_NE(nullptr, f.hwnd());
        f.file.SetEnabled(L"paste", false);
        Library::Hooks().ShowItem = [this] { ++showItems; };
        Transfer::Clipboard() = Transfer::TipClipboard{};
        CreateDirectoryW(Path(L"DATA").c_str(), nullptr);
    }
    void TearDown() override {
        Modal::SetHookForTests(nullptr);
        GCommonDialog::SetResponderForTests(nullptr);
        Forms::UnloadFrmShadow();
        Library::Hooks().ShowItem = nullptr;
        QuorixTest::TearDown();
    }
    ::Form2& main() { return Forms::Form2(); }
    ListView& list() { return main().ListView1; }
    ::frmShadow& shadow() { return Forms::frmShadow(); }
    std::wstring Cat(const std::string& name) { return Path(L"DATA\\" + Text::FromAnsi(name) + L".qix"); }
    void WriteCat(const std::string& name, const std::string& bytes) { WriteBytes(Cat(name), bytes); }

    // Shows a category-tree node by its full path, as a click does.
    int Show(const std::wstring& fullPath) {
        ::frmShadow& s = shadow();
        Library::CurrentCategoryPath.clear();
        for (int n = 1; n <= s.TreeView1.Count(); ++n)
            if (s.TreeView1.FullPath(n) == fullPath) {
                s.TreeView1.Select(n);
                s.TreeView1_NodeClick(n);
                return n;
            }
        ADD_FAILURE() << "no node " << Ansi(fullPath);
        return 0;
    }
    // Shows a tip data file of the file list, adding it first.
    void ShowFile(const std::wstring& path) {
        int e = shadow().AddOrSelectEntry(path);
        shadow().TreeView2_NodeClick(e);
    }
    void SelectRows(std::initializer_list<int> rows) {
        for (int r = 1; r <= list().Count(); ++r) list().SetSelected(r, false);
        for (int r : rows) list().SetSelected(r, true);
    }
    void SelectAll() {
        for (int r = 1; r <= list().Count(); ++r) list().SetSelected(r, true);
    }
    std::vector<std::wstring> Rows() {
        std::vector<std::wstring> v;
        for (int r = 1; r <= list().Count(); ++r) v.push_back(list().Text(r));
        return v;
    }
    // Answers the next replace pages in turn; each step works the open page.
    void AnswerPages(std::vector<std::function<void(::Form4&)>> steps) {
        pagesShown = 0;
        pageSteps = std::move(steps);
        ArmNext();
    }
    void ArmNext() {
        Modal::SetHookForTests([this](HWND) {
            ::Form4& page = Forms::Form4();
            ++pagesShown;
            pageCaptions.push_back(page.Caption());
            size_t i = static_cast<size_t>(pagesShown - 1);
            if (i + 1 < pageSteps.size()) ArmNext();
            if (i < pageSteps.size()) pageSteps[i](page);
        });
    }
    int showItems = 0;
    int pagesShown = 0;
    std::vector<std::wstring> pageCaptions;
    std::vector<std::function<void(::Form4&)>> pageSteps;
};

namespace {
void Yes(::Form4& p) { p.Command7.PerformClick(); }
void No(::Form4& p) { p.Command8.PerformClick(); }
void All(::Form4& p) { p.Command9.PerformClick(); }
void Cancel(::Form4& p) { p.Command10.PerformClick(); }
// A key pressed while a button of the page has the focus.
using PageButton = CommandButton Form4::*;
std::function<void(::Form4&)> Key(WPARAM vk, PageButton focus) {
    return [vk, focus](::Form4& p) {
        HWND b = (p.*focus).hwnd();
        SetFocus(b);
        PostMessageW(b, WM_KEYDOWN, vk, 0);
        PostMessageW(b, WM_KEYUP, vk, 0xC0000000);
    };
}
void CloseBox(::Form4& p) { PostMessageW(p.hwnd(), WM_CLOSE, 0, 0); }
}  // namespace

// ---------------------------------------------------------------- copy and cut

TEST_F(PasteTest, CopyAndCutRecordNamesMarksAndSourceByEveryRoute) {
    WriteCat("one", Section(Data, Simple({"t1", "t2", "t3", "t4", "t5"})) + Section("sub", Simple({"s1"})) +
                        Section(Fav, {}));
    const std::wstring upd = Path(L"file.upd");
    WriteBytes(upd, Section(Data, Simple({"u1"})));
    Show(L"one");
    ASSERT_EQ(5, list().Count());
    SelectRows({2, 4});
    main().Toolbar1.Click(L"cut");
    const auto& clip = Transfer::Clipboard();
    EXPECT_EQ((std::vector<std::wstring>{L"t2", L"t4"}), clip.names);
    EXPECT_TRUE(clip.cut);
    for (int r = 1; r <= 5; ++r) EXPECT_EQ(r == 2 || r == 4, list().Ghosted(r)) << r;
    EXPECT_EQ(L"数据", clip.sourceSection);
    EXPECT_EQ(L"one", clip.sourcePath);
    EXPECT_EQ(Cat("one"), clip.sourceFile);
    EXPECT_TRUE(main().Toolbar1.Enabled(L"paste"));
    EXPECT_TRUE(main().file.Item(L"paste")->enabled);

    // A copy clears the marks and turns the clipboard into a copy (menu route).
    main().file.Click(L"copy");
    for (int r = 1; r <= 5; ++r) EXPECT_FALSE(list().Ghosted(r)) << r;
    EXPECT_FALSE(clip.cut);
    // Ctrl+Shift+C does nothing; Ctrl+X (Ctrl alone) cuts.
    SelectRows({1});
    main().ListView1_KeyDown('C', 3);
    EXPECT_EQ((std::vector<std::wstring>{L"t2", L"t4"}), clip.names);
    main().ListView1_KeyDown('X', 2);
    EXPECT_EQ(std::vector<std::wstring>{L"t1"}, clip.names);
    EXPECT_TRUE(list().Ghosted(1));
    // Ctrl+C with its button disabled does nothing.
    main().Toolbar1.SetEnabled(L"copy", false);
    main().ListView1_KeyDown('C', 2);
    EXPECT_TRUE(clip.cut);
    main().Toolbar1.SetEnabled(L"copy", true);

    // Nothing selected: paste off, source still recorded (sub-category section).
    Show(L"one\\sub");
    SelectRows({});
    main().ListView1_KeyDown('C', 2);
    EXPECT_TRUE(clip.names.empty());
    EXPECT_FALSE(main().Toolbar1.Enabled(L"paste"));
    EXPECT_FALSE(main().file.Item(L"paste")->enabled);
    EXPECT_EQ(L"sub", clip.sourceSection);
    EXPECT_EQ(L"one\\sub", clip.sourcePath);

    // Data-file mode: section 数据 and the file's path.
    ShowFile(upd);
    SelectAll();
    main().copy_Click();
    EXPECT_EQ(L"数据", clip.sourceSection);
    EXPECT_EQ(upd, clip.sourcePath);
    EXPECT_EQ(upd, clip.sourceFile);
}

// ---------------------------------------------------------------- refusals

TEST_F(PasteTest, PasteRefusesItsOwnSourceHoweverReached) {
    WriteCat("one", Section(Data, Simple({"t1"})) + Section("sub", {}) + Section(Fav, {}));
    const std::wstring upd = Path(L"file.upd");
    WriteBytes(upd, Section(Data, Simple({"u1"})));
    const std::string before = ReadBytes(Cat("one")), updBefore = ReadBytes(upd);

    Show(L"one");
    SelectAll();
    main().cut_Click();
    ExpectBox(IDOK, L"不能在此类别执行粘贴操作。");
    main().ListView1_KeyDown('V', 2);
    EXPECT_EQ(MB_ICONERROR, boxes.back().style & MB_ICONMASK);

    ShowFile(upd);
    SelectAll();
    main().cut_Click();
    ExpectBox(IDOK, L"不能在此文件中执行粘贴操作。");
    main().Toolbar1.Click(L"paste");
    // The same file under a second spelling in the file list: a cut onto itself.
    const std::wstring other = dir + L"elsewhere\\..\\FILE.UPD";
    const int second = shadow().TreeView2.Add(0, other, other);
    shadow().TreeView2.Select(second);
    Library::CurrentDataFilePath.clear();
    shadow().TreeView2_NodeClick(second);
    ASSERT_EQ(other, Library::CurrentDataFilePath);
    ExpectBox(IDOK, L"不能在此文件中执行粘贴操作。");
    main().Pasteok();
    EXPECT_EQ(before, ReadBytes(Cat("one")));
    EXPECT_EQ(updBefore, ReadBytes(upd));

    // A category's own sub-category and 收藏夹 are other places: allowed.
    Show(L"one");
    SelectAll();
    main().copy_Click();
    Show(L"one\\sub");
    showItems = 0;
    main().Pasteok();
    EXPECT_EQ(std::vector<std::wstring>{L"t1"}, Rows());
    EXPECT_EQ(1, showItems);  // category mode: the reloaded list's tip is shown
    Show(L"one\\收藏夹");
    main().Pasteok();
    EXPECT_EQ(std::vector<std::wstring>{L"t1"}, Rows());
}

// ---------------------------------------------------------------- round trip

TEST_F(PasteTest, TipsArriveByteForByteEverywhereAndTheRestOfEachFileStays) {
    std::string big(5000, 'x');
    std::string gbk = "\xD6\xD0\xCE\xC4\xBC\xBC\xC7\xC9";  // 中文技巧
    Tips tips = {
        {gbk, {Rec("v", "1"), Opts()}},
        {"joinmark", {Rec("v", "x", '0', "de" + JM + "sc"), Opts()}},
        {"delete", {Rec("v", DM), Opts()}},
        {"zeroshown", {Rec("b", Ansi(L"(长度为零的二进制值)"), '1'), Opts()}},
        {"zeroempty", {Rec("b", "", '1'), Opts()}},
        {"default", {Rec("", "dv"), Opts()}},
        {"oldlayout", {KP + FM + "v" + FM + "data" + FM + "0" + FM + "desc", Opts()}},
        {"bigrecord", {Rec("v", big), Opts()}},
        {"forty", {Rec("v", "d0"), Opts(40)}},
        {"CASETIP", {Rec("v", "incoming"), Opts(2)}},
    };
    WriteCat("src", Section(Data, tips));
    const Tips existing = {{"casetip", {Rec("old", "old"), Opts()}}};
    WriteCat("dst", Section(Data, Simple({"keep"})) + Section("sub", existing) + Section(Fav, existing));
    WriteCat("third", Section(Data, existing));
    const std::wstring upd = Path(L"target.upd");
    WriteBytes(upd, "[Fileinfo]\r\nauthor=me\r\n" + Section(Data, existing));
    const std::wstring import = Path(L"import.upd");
    WriteBytes(import, "[Fileinfo]\r\nauthor=me\r\n" + Section(Data, tips));

    Show(L"src");
    SelectAll();
    main().copy_Click();
    struct Place {
        std::wstring node;  // empty: the tip data file
        std::wstring file;
        std::string section;
    } places[] = {{L"dst\\sub", Cat("dst"), "sub"},
                  {L"dst\\收藏夹", Cat("dst"), Fav},
                  {L"", upd, Data},
                  {L"third", Cat("third"), Data}};
    for (const Place& p : places) {
        SCOPED_TRACE(Ansi(p.file) + " " + p.section);
        const std::string before = ReadBytes(p.file);
        if (p.node.empty()) ShowFile(p.file);
        else Show(p.node);
        AnswerPages({Yes});
        main().Pasteok();
        EXPECT_EQ(1, pagesShown);
        const std::string after = ReadBytes(p.file);
        std::string rest = after;
        for (auto& [name, v] : tips) {
            auto rec = LineOf(after, p.section, name);
            auto opt = LineOf(after, FM + p.section + FM, name);
            ASSERT_TRUE(rec && opt) << name;
            EXPECT_EQ(v.first, *rec) << name;
            EXPECT_EQ(v.second, *opt) << name;
            if (name == "CASETIP") continue;  // written under the existing key
            for (const auto& [head, line] : {std::pair{"[" + p.section + "]\r\n", name + "=" + v.first + "\r\n"},
                                             std::pair{"[" + FM + p.section + FM + "]\r\n", name + "=" + v.second + "\r\n"}}) {
                size_t at = rest.find(line, rest.find(head));
                ASSERT_NE(std::string::npos, at) << name;
                rest.erase(at, line.size());
            }
        }
        // The existing key keeps its spelling and place; every other byte is as before.
        std::string expected = before;
        for (const std::string& old : {existing[0].second.first, existing[0].second.second}) {
            size_t at = expected.find("casetip=" + old + "\r\n");
            ASSERT_NE(std::string::npos, at);
        }
        auto replaceLine = [](std::string& s, const std::string& from, const std::string& to) {
            size_t at = s.find(from);
            if (at != std::string::npos) s.replace(at, from.size(), to);
        };
        replaceLine(expected, "casetip=" + existing[0].second.first + "\r\n", "casetip=" + tips.back().second.first + "\r\n");
        replaceLine(expected, "casetip=" + existing[0].second.second + "\r\n", "casetip=" + tips.back().second.second + "\r\n");
        EXPECT_EQ(expected, rest);
    }

    // The import of the same table into a category's 数据.
    WriteCat("fourth", Section(Data, existing));
    Forms::UnloadFrmShadow();
    const std::string importBefore = ReadBytes(import);
    Show(L"fourth");
    AnswerPages({Yes});
    main().Shownode(import, L"数据", Forms::frmShadow().TreeView1.SelectedItem());
    const std::string after = ReadBytes(Cat("fourth"));
    for (auto& [name, v] : tips) {
        EXPECT_EQ(v.first, LineOf(after, Data, name).value_or("?")) << name;
        EXPECT_EQ(v.second, LineOf(after, FM + Data + FM, name).value_or("?")) << name;
    }
    EXPECT_EQ(importBefore, ReadBytes(import));
}

// ---------------------------------------------------------------- clashes

TEST_F(PasteTest, ClashesAreSettledOnTheReplacePage) {
    struct Case {
        const char* what;
        std::vector<std::function<void(::Form4&)>> answers;
        int pages;
        std::string replaced;  // of a, b, c: which ones hold the incoming record afterwards
        bool dWritten;
    } cases[] = {
        {"yes no yes", {Yes, No, Yes}, 3, "a c", true},
        {"all", {All}, 1, "a b c", true},
        {"no cancel", {No, Cancel}, 2, "", false},
        {"Y N A keys on focused buttons",
         {Key('Y', &::Form4::Command8), Key('N', &::Form4::Command7), Key('A', &::Form4::Command10)}, 3, "a c", true},
        {"enter esc", {Key(VK_RETURN, &::Form4::Command7), Key(VK_ESCAPE, &::Form4::Command9)}, 2, "a", false},
        {"close box", {CloseBox, CloseBox, CloseBox}, 3, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::UnloadFrmShadow();
        WriteCat("src", Section(Data, Simple({"a", "b", "c", "d"}, "new")));
        WriteCat("dst", Section(Data, Simple({"A", "b", "c"}, "old")));
        Show(L"src");
        SelectAll();
        main().copy_Click();
        Show(L"dst");
        AnswerPages(c.answers);
        main().Pasteok();
        EXPECT_EQ(c.pages, pagesShown);
        for (const char* n : {"a", "b", "c"}) {
            bool replaced = std::string(c.replaced).find(n) != std::string::npos;
            const std::string shown = std::string(n) == "a" && !replaced ? "A" : n;
            EXPECT_EQ(Rec("v_" + shown, (replaced ? "new" : "old") + shown),
                      LineOf(ReadBytes(Cat("dst")), Data, n).value_or("?"))
                << n;
        }
        EXPECT_EQ(c.dWritten, LineOf(ReadBytes(Cat("dst")), Data, "d").has_value());
        for (auto& cap : pageCaptions) EXPECT_EQ(L"确认技巧替换", cap);
        pageCaptions.clear();
        EXPECT_EQ(nullptr, Forms::IfLoaded<::Form4>());
    }
}

TEST_F(PasteTest, ThePageShowsBothTipsAndOnlyAPasteOfCutTipsDeletesItsSource) {
    WriteCat("src", Section(Data, Tips{{"a", {Rec("", "new"), Opts()}}, {"b", {Rec("vb", "new"), Opts()}}}));
    WriteCat("dst", Section(Data, Tips{{"A", {Rec("", "old"), Opts()}}, {"b", {Rec("vb", "old"), Opts()}}}));
    Show(L"src");
    SelectAll();
    main().cut_Click();
    Show(L"dst");
    AnswerPages({[](::Form4& p) {
                     EXPECT_EQ(L"此类别已包含 A 技巧", p.Label11.Caption());
                     EXPECT_EQ(L"此类别已包含 A 技巧", p.ToolTipText(p.Label11));
                     EXPECT_EQ(L"键位：" + Text::FromAnsi(KP), p.Label12.Caption());
                     EXPECT_EQ(L"键名：(默认)", p.Label14.Caption());
                     EXPECT_TRUE(p.LabelBold(p.Label14));
                     EXPECT_EQ(L"", p.ToolTipText(p.Label14));
                     EXPECT_TRUE(p.LabelBold(p.Label15));
                     EXPECT_TRUE(p.Command7.Visible());
                     EXPECT_EQ(std::vector<std::string>{},
                               PaintedOver(p.hwnd(), {{"Image4", &p.Image4}, {"Label11", &p.Label11},
                                                      {"Label12", &p.Label12}, {"Label15", &p.Label15},
                                                      {"Command7", &p.Command7}, {"Command10", &p.Command10}}));
                     // Keys answer only under the page's caption.
                     p.SetCaption(L"恢复窗口");
                     EXPECT_FALSE(p.Form_KeyDown('Y', 0));
                     p.SetCaption(L"确认技巧替换");
                     Yes(p);
                 },
                 [](::Form4& p) {
                     EXPECT_EQ(L"键名：vb", p.Label15.Caption());
                     EXPECT_EQ(L"键名：vb", p.ToolTipText(p.Label15));
                     EXPECT_FALSE(p.LabelBold(p.Label15));
                     No(p);
                 }});
    main().Pasteok();
    ASSERT_EQ(2, pagesShown);
    const std::string src = ReadBytes(Cat("src")), dst = ReadBytes(Cat("dst"));
    EXPECT_FALSE(LineOf(src, Data, "a").has_value());  // 是 after a cut: moved
    EXPECT_FALSE(LineOf(src, FM + Data + FM, "a").has_value());
    EXPECT_EQ(Rec("", "new"), LineOf(dst, Data, "a").value_or("?"));
    EXPECT_TRUE(LineOf(src, Data, "b").has_value());  // 否: both stay
    EXPECT_EQ(Rec("vb", "old"), LineOf(dst, Data, "b").value_or("?"));
    EXPECT_FALSE(main().Toolbar1.Enabled(L"paste"));  // a cut-paste that wrote

    // An import while the clipboard holds a cut deletes nothing anywhere.
    const std::wstring upd = Path(L"in.upd");
    WriteBytes(upd, Section(Data, Tips{{"b", {Rec("vb", "imported"), Opts()}}}));
    AnswerPages({Yes});
    main().Shownode(upd, L"数据", Forms::frmShadow().TreeView1.SelectedItem());
    EXPECT_EQ(Rec("vb", "imported"), LineOf(ReadBytes(Cat("dst")), Data, "b").value_or("?"));
    EXPECT_TRUE(LineOf(ReadBytes(Cat("src")), Data, "b").has_value());
}

// ---------------------------------------------------------------- failures

TEST_F(PasteTest, AFailureHalfWayIsCountedAndLosesNothing) {
    WriteCat("src", Section(Data, Simple({"a", "b", "c"}, "new")));
    WriteCat("dst", Section(Data, Simple({"a"}, "old")));
    const std::string srcBefore = ReadBytes(Cat("src")), dstBefore = ReadBytes(Cat("dst"));
    Show(L"src");
    SelectAll();
    main().cut_Click();
    Show(L"dst");
    HANDLE held = INVALID_HANDLE_VALUE;
    const std::wstring dst = Cat("dst");
    AnswerPages({[&](::Form4& p) {
        held = CreateFileW(dst.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        Yes(p);
    }});
    ExpectBox(IDOK);
    main().Pasteok();
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CloseHandle(held);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(MB_ICONERROR, boxes[0].style & MB_ICONMASK);
    EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"有 3 个技巧未能写入"));
    EXPECT_EQ(srcBefore, ReadBytes(Cat("src")));
    EXPECT_EQ(dstBefore, ReadBytes(dst));
    EXPECT_TRUE(main().Toolbar1.Enabled(L"paste"));  // nothing written: paste stays

    // The option list alone fails: the record written first is taken back.
    Transfer::Source s{Cat("src"), TipFile::DataSection, {L"b"}, false, false};
    std::string longOpts(40000, 'o');
    WriteCat("src", Section(Data, Tips{{"b", {Rec("vb", "x"), longOpts}}}));
    Transfer::Target t{Cat("dst"), TipFile::DataSection, {}};
    Transfer::ReplaceAnswer answer = Transfer::ReplaceAnswer::Ask;
    Transfer::Counts c = Transfer::Run(s, t, answer, nullptr);
    EXPECT_EQ(0, c.written);
    EXPECT_EQ(1, c.refused);
    EXPECT_EQ(dstBefore, ReadBytes(dst));
}

TEST_F(PasteTest, ATipWhoseOptionListCannotBeWrittenIsTakenBackWhole) {
    // The record is written, then its option list fails: the previous record
    // comes back (or the new key goes), and the tip counts as not written.
    struct Case {
        const char* what;
        Tips before;
        bool asks;
    } cases[] = {
        {"replacing a tip", Simple({"a"}, "old"), true},
        {"a new tip", Simple({"z"}, "old"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::UnloadFrmShadow();
        boxes.clear();
        WriteCat("src", Section(Data, Simple({"a"}, "new")));
        WriteCat("dst", Section(Data, c.before));
        const std::string dstBefore = ReadBytes(Cat("dst"));
        Show(L"src");
        SelectAll();
        main().copy_Click();
        Show(L"dst");
        if (c.asks) AnswerPages({Yes});
        ExpectBox(IDOK);
        Ini::FailNthWriteForTests(2);
        main().Pasteok();
        Ini::FailNthWriteForTests(0);
        EXPECT_EQ(dstBefore, ReadBytes(Cat("dst")));
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(MB_ICONERROR, boxes[0].style & MB_ICONMASK);
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"有 1 个技巧未能写入")) << Ansi(boxes[0].text);
    }
}

TEST_F(PasteTest, ASourceFileHeldByAnotherProgramIsToldAsUnreadable) {
    // The tips were copied, then another program holds their file without
    // sharing: Ctrl+V says the source could not be read, and nothing changes.
    WriteCat("src", Section(Data, Simple({"a", "b"})) + Section(Fav, {}));
    WriteCat("dst", Section(Data, Simple({"k"})) + Section(Fav, {}));
    Show(L"src");
    SelectAll();
    main().cut_Click();
    Show(L"dst");
    const std::string srcBefore = ReadBytes(Cat("src")), dstBefore = ReadBytes(Cat("dst"));
    HeldFile held(Cat("src"));
    ASSERT_TRUE(held.Held());
    ExpectBox(IDOK, L"粘贴未完成：有 2 个技巧未能写入。\r\n其中 2 个技巧的原文件无法读取，文件可能已被打开或被其它程序使用。");
    SetForegroundWindow(main().hwnd());
    SetFocus(list().hwnd());
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event('V', 0, 0, 0);
    keybd_event('V', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    for (DWORD end = GetTickCount() + 3000; boxes.empty() && GetTickCount() < end;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        Sleep(10);
    }
    held.Release();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(MB_ICONERROR, boxes[0].style & MB_ICONMASK);
    EXPECT_EQ(srcBefore, ReadBytes(Cat("src")));
    EXPECT_EQ(dstBefore, ReadBytes(Cat("dst")));
    EXPECT_EQ(std::vector<std::wstring>{L"k"}, Rows());
    EXPECT_TRUE(main().Toolbar1.Enabled(L"paste"));  // nothing moved: the cut can still be pasted
}

// ---------------------------------------------------------------- import

TEST_F(PasteTest, HostileImportFilesNeitherCrashNorCorrupt) {
    // More keys and more bytes than a fixed buffer of the profile functions holds.
    std::string many;
    for (int i = 0; i < 1000; ++i) many.append("n").append(std::to_string(i)).append("=").append(Rec("v", std::to_string(i))).append("\r\n");
    struct Case {
        const char* what;
        std::string bytes;
        int written;  // -1: whatever the reader makes of it, as long as the file stays whole
        int unwritten = 0;
    } cases[] = {
        {"empty", "", 0},
        {"fileinfo only", "[Fileinfo]\r\nauthor=x\r\n", 0},
        {"random bytes", std::string("\x9f\x01\xfe\x80[\x02=\xff\r\x88\x00zz", 14), -1},
        {"nul in a line", "[" + Data + "]\r\nn1=" + Rec("v", "1") + std::string("\0tail", 5) + "\r\nn2=" + Rec("v", "2") + "\r\n", -1},
        {"cut mid-record", "[" + Data + "]\r\nn1=" + Rec("v", "1") + "\r\nn2=HKEY_CU", 2},
        {"cut mid-character", "[" + Data + "]\r\nn1=" + Rec("v", "\xD6\xD0") + "\r\nn2=\xD6", -1},
        {"utf-16le bom", std::string("\xFF\xFE[\0a\0]\0\r\0\n\0", 12), 0},
        {"utf-8 bom", "\xEF\xBB\xBF[" + Data + "]\r\nn1=x\r\n", -1},
        {"clash without field marks", "[" + Data + "]\r\nexist=nomarks\r\nn1=" + Rec("v", "1") + "\r\n", 1, 1},
        {"clash with one field mark", "[" + Data + "]\r\nexist=a" + FM + "b\r\nn1=" + Rec("v", "1") + "\r\n", 1, 1},
        {"key with FF byte", "[" + Data + "]\r\nbad" + FM + "key=" + Rec("v", "1") + "\r\nn1=" + Rec("v", "1") + "\r\n", 1, 1},
        {"key with lone lead byte", "[" + Data + "]\r\nbad\x81=" + Rec("v", "1") + "\r\nn1=" + Rec("v", "1") + "\r\n", -1},
        {"key of 10000 bytes", "[" + Data + "]\r\n" + std::string(10000, 'k') + "=" + Rec("v", "1") + "\r\n", 1},
        {"key listed twice", "[" + Data + "]\r\nn1=" + Rec("v", "1") + "\r\nN1=" + Rec("v", "2") + "\r\n", 1},
        {"lone CR in a value", "[" + Data + "]\r\nn1=" + Rec("v", "a\rb") + "\r\n", -1},
        {"value of 40000 characters", "[" + Data + "]\r\nn1=" + Rec("v", std::string(40000, 'x')) + "\r\n", 0, 1},
        {"junk lines", "[" + Data + "]\r\njunk line\r\nn1=" + Rec("v", "1") + "\r\nmore junk\r\n", 1, 2},
        {"two data sections", "[" + Data + "]\r\nn1=" + Rec("v", "1") + "\r\n[" + Data + "]\r\nn2=" + Rec("v", "2") + "\r\n", -1},
        {"1000 tips", "[" + Data + "]\r\n" + many, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::UnloadFrmShadow();
        WriteCat("dst", Section(Data, Simple({"exist"})));
        const std::wstring upd = Path(L"hostile.upd");
        WriteBytes(upd, c.bytes);
        Show(L"dst");
        main().ReplaceAnswer = Transfer::ReplaceAnswer::All;  // clashes without asking, as after 全部
        Transfer::Counts n = main().Shownode(upd, L"数据", Forms::frmShadow().TreeView1.SelectedItem());
        if (c.written >= 0) {
            EXPECT_EQ(c.written, n.written);
            EXPECT_EQ(c.unwritten, n.Unwritten());
        }
        EXPECT_EQ(c.bytes, ReadBytes(upd));
        shadow().Shownode(Cat("dst"), L"数据");
        EXPECT_EQ(1 + n.written, list().Count());
        EXPECT_EQ(static_cast<size_t>(1 + n.written), Ini::Keys(Cat("dst"), L"数据").size());
        EXPECT_EQ(static_cast<size_t>(1 + n.written), Ini::Keys(Cat("dst"), TipFile::MirrorOf(L"数据")).size());
    }
}

// While the import's question is up (the system's box) every window of the
// program is held: a click on another category in the tree changes nothing,
// and 是 imports into the category the question named.
TEST_F(PasteTest, TheImportQuestionHoldsEveryWindowAndImportsWhereItAsked) {
    const std::wstring upd = Path(L"in.upd");
    WriteBytes(upd, Section(Data, Simple({"n1", "n2"})));
    GCommonDialog::SetResponderForTests([&](GCommonDialog::SystemCall& call) -> BOOL {
        if (!call.ofn) return FALSE;
        strncpy(call.ofn->lpstrFile, Ansi(upd).c_str(), call.ofn->nMaxFile - 1);
        return TRUE;
    });
    WriteCat("yi", Section(Data, Simple({"a"})));
    WriteCat("bing", Section(Data, Simple({"b"})));
    const std::string yiBefore = ReadBytes(Cat("yi"));
    Forms::UnloadFrmShadow();
    const int bing = Show(L"bing");
    ::frmShadow& s = shadow();
    TreeView& tree = s.TreeView1;
    int yi = 0;
    for (int n = 1; n <= tree.Count(); ++n)
        if (tree.FullPath(n) == L"yi") yi = n;
    ASSERT_NE(0, yi);
    // Side by side, the category window on top: the tree where a click reaches it.
    main().Show();
    SetWindowPos(main().hwnd(), nullptr, 320, 0, 600, 500, SWP_NOZORDER);
    SetForegroundWindow(main().hwnd());
    ShowWindow(s.hwnd(), SW_SHOWNA);
    Ui::DoEvents();
    SetWindowPos(s.hwnd(), HWND_TOPMOST, 0, 0, 300, 700, SWP_NOACTIVATE);
    Ui::DoEvents();
    // The tree over the whole window (the layout an earlier test left may give it a few rows only).
    RECT client{};
    GetClientRect(s.hwnd(), &client);
    s.TreeView1.Move(0, 0, client.right, client.bottom);
    SetWindowPos(s.TreeView1.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(tree.hwnd(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(tree.Handle(yi)));
    RECT item{};
    const HTREEITEM yiItem = tree.Handle(yi);
    memcpy(&item, &yiItem, sizeof yiItem);  // the message reads the item from the rectangle
    ASSERT_TRUE(SendMessageW(tree.hwnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item)));
    POINT onYi{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(tree.hwnd(), &onYi);
    {
        const HWND over = WindowFromPoint(onYi);
        wchar_t cls[64] = {};
        GetClassNameW(over, cls, 64);
        ASSERT_EQ(tree.hwnd(), over) << "the node lies under " << Ansi(cls);
    }

    App::SetMsgBoxResponder(nullptr);
    std::vector<std::wstring> said;
    bool mainHeld = false, categoriesHeld = false;
    int selectedWhileAsked = 0;
    DialogDriver drive({
        [&](HWND box) {
            if (!box) return false;
            said.push_back(DialogDriver::BoxText(box));
            mainHeld = !IsWindowEnabled(main().hwnd());
            categoriesHeld = !IsWindowEnabled(s.hwnd());
            RealInput::Click(onYi);
            return true;
        },
        [&](HWND box) {
            Sleep(200);  // the click has reached the program by now
            if (!box) return false;
            selectedWhileAsked = tree.SelectedItem();
            DialogDriver::Click(box, IDYES);
            return true;
        },
        [&](HWND box) {
            if (!box || DialogDriver::BoxText(box) == said.front()) return false;
            said.push_back(DialogDriver::BoxText(box));
            DialogDriver::Click(box, IDOK);
            return true;
        },
    });
    main().ReplaceAnswer = Transfer::ReplaceAnswer::Stop;
    main().Toolbar1.Click(L"open");
    for (int i = 0; i < 100 && !drive.Finished(); ++i) {
        Ui::DoEvents();
        Sleep(20);
    }
    ASSERT_TRUE(drive.Finished());
    ASSERT_EQ(2u, said.size());
    EXPECT_EQ(Ansi(L"你确定要将文件中的数据导入“bing”技巧类别中吗？"), Ansi(said[0]));
    EXPECT_EQ(Ansi(L"数据导入成功。"), Ansi(said[1]));
    EXPECT_TRUE(mainHeld);
    EXPECT_TRUE(categoriesHeld);
    EXPECT_EQ(bing, selectedWhileAsked);
    EXPECT_EQ(bing, tree.SelectedItem());
    EXPECT_TRUE(LineOf(ReadBytes(Cat("bing")), Data, "n1").has_value());
    EXPECT_EQ(yiBefore, ReadBytes(Cat("yi")));
    EXPECT_EQ(3, list().Count());
    EXPECT_TRUE(IsWindowEnabled(main().hwnd()));
    EXPECT_TRUE(IsWindowEnabled(s.hwnd()));
    SetWindowPos(s.hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Forms::UnloadFrmShadow();
}

TEST_F(PasteTest, OpenAsksForTheFileConfirmsImportsReloadsAndReports) {
    const std::wstring upd = Path(L"in.upd");
    WriteBytes(upd, Section(Data, Simple({"n1", "n2"})));
    std::wstring chosen;
    int dialogs = 0;
    GCommonDialog::SetResponderForTests([&](GCommonDialog::SystemCall& call) -> BOOL {
        if (call.ofn) ++dialogs;
        if (chosen.empty() || !call.ofn) return FALSE;
        EXPECT_STREQ("\xC7\xEB\xD1\xA1\xD4\xF1\xD2\xAA\xB5\xBC\xC8\xEB\xB5\xC4\xCE\xC4\xBC\xFE", call.ofn->lpstrTitle);
        EXPECT_EQ(0x1800u, call.ofn->Flags & 0x1800u);
        std::string a = Ansi(chosen);
        strncpy(call.ofn->lpstrFile, a.c_str(), call.ofn->nMaxFile - 1);
        return TRUE;
    });
    struct Case {
        const wchar_t* node;
        const char* file;
        std::string section;
        int answer;         // to the question (0: the dialog is cancelled)
        const wchar_t* question;
        std::wstring autoWidth;
        bool imported;
        bool offered = true;  // the toolbar button is enabled on the node
    } cases[] = {
        {L"cat", "cat", Data, 0, nullptr, L"1", false},
        {L"cat", "cat", Data, IDNO, L"你确定要将文件中的数据导入“cat”技巧类别中吗？", L"1", false},
        {L"cat", "cat", Data, IDYES, L"你确定要将文件中的数据导入“cat”技巧类别中吗？", L"1", true},
        {L"cat\\sub", "cat", "sub", IDYES, L"你确定要将文件中的数据导入“cat\\sub”子技巧类别中吗？", L"0", true},
        {L"cat\\收藏夹", "cat", Fav, IDYES, L"你确定要将文件中的数据导入“cat\\收藏夹”子技巧类别中吗？", L"1", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Ansi(c.node) + " " + std::to_string(c.answer));
        Forms::UnloadFrmShadow();
        boxes.clear();
        showItems = 0;
        WriteCat("cat", Section(Data, {}) + Section("sub", {}) + Section(Fav, {}));
        ASSERT_TRUE(Ini::Write(Path(L"config.ini"), L"Data", L"AutoWidth", c.autoWidth));
        Show(c.node);
        showItems = 0;
        main().SetView(3);
        list().SetColumnWidth(1, 33);
        main().ReplaceAnswer = Transfer::ReplaceAnswer::Stop;
        chosen = c.answer ? upd : L"";
        if (c.answer) ExpectBox(c.answer, c.question);
        if (c.imported) ExpectBox(IDOK, L"数据导入成功。");
        if (c.offered) {
            main().Toolbar1.Click(L"open");
        } else {
            // The button is off on this node: a click asks nothing and writes nothing...
            EXPECT_FALSE(main().Toolbar1.Enabled(L"open"));
            const std::string before = ReadBytes(Cat(c.file));
            dialogs = 0;
            main().Toolbar1.Click(L"open");
            EXPECT_EQ(0, dialogs);
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(Transfer::ReplaceAnswer::Stop, main().ReplaceAnswer);
            EXPECT_EQ(before, ReadBytes(Cat(c.file)));
            // ...and the command itself, run there, imports into the node's own section.
            main().open_Click();
        }
        EXPECT_EQ(c.answer ? Transfer::ReplaceAnswer::Ask : Transfer::ReplaceAnswer::Stop, main().ReplaceAnswer);
        if (c.answer) {
            EXPECT_EQ(MB_ICONQUESTION, boxes[0].style & MB_ICONMASK);
        }
        EXPECT_EQ(c.imported, LineOf(ReadBytes(Cat(c.file)), c.section, "n2").has_value());
        for (const std::string& other : {Data, std::string("sub"), Fav})  // only the node's own section
            if (other != c.section) {
                EXPECT_FALSE(LineOf(ReadBytes(Cat(c.file)), other, "n2").has_value()) << other;
            }
        EXPECT_EQ(c.imported ? 2 : 0, list().Count());
        EXPECT_EQ(c.imported ? 1 : 0, showItems);
        if (c.imported) {
            EXPECT_EQ(MB_ICONEXCLAMATION, boxes.back().style & MB_ICONMASK);
        }
        EXPECT_EQ(c.imported && c.autoWidth == L"1", list().ColumnWidth(1) != 33);
    }
    // Nothing written (every clash 否): no reload, no message.
    Forms::UnloadFrmShadow();
    boxes.clear();
    WriteCat("cat", Section(Data, Simple({"n1", "n2"}, "old")) + Section("sub", {}) + Section(Fav, {}));
    Show(L"cat");
    const int rowsBefore = list().Count();
    chosen = upd;
    ExpectBox(IDYES);
    AnswerPages({No, No});
    main().Toolbar1.Click(L"open");
    EXPECT_EQ(1u, boxes.size());
    EXPECT_EQ(rowsBefore, list().Count());
}

TEST_F(PasteTest, OpenSaysSoWhenTheFileIsLockedOrGoneAfterTheDialog) {
    // Between the open dialog and the import another program holds the file
    // without sharing, or deletes it: the user is told, and nothing changes.
    const std::wstring upd = Path(L"in.upd");
    const std::string updBytes = Section(Data, Simple({"n1", "n2"}));
    struct Case {
        const char* what;
        bool lock;  // else deleted
    } cases[] = {{"locked", true}, {"deleted", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::UnloadFrmShadow();
        boxes.clear();
        WriteBytes(upd, updBytes);
        WriteCat("cat", Section(Data, Simple({"old"})) + Section("sub", {}) + Section(Fav, {}));
        const std::string catBefore = ReadBytes(Cat("cat"));
        Show(L"cat");
        showItems = 0;
        main().SetView(3);
        list().SetColumnWidth(1, 33);
        HANDLE held = INVALID_HANDLE_VALUE;
        GCommonDialog::SetResponderForTests([&](GCommonDialog::SystemCall& call) -> BOOL {
            if (!call.ofn) return FALSE;
            strncpy(call.ofn->lpstrFile, Ansi(upd).c_str(), call.ofn->nMaxFile - 1);
            if (c.lock) held = CreateFileW(upd.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            else EXPECT_TRUE(DeleteFileW(upd.c_str()));
            return TRUE;
        });
        ExpectBox(IDYES, L"你确定要将文件中的数据导入“cat”技巧类别中吗？");
        ExpectBox(IDOK, L"无法读取技巧数据文件“" + upd + L"”，文件可能已被删除、打开或被其它程序使用。");
        main().Toolbar1.Click(L"open");
        if (c.lock) {
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            CloseHandle(held);
            EXPECT_EQ(updBytes, ReadBytes(upd));
        } else {
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(upd.c_str()));
        }
        ASSERT_EQ(2u, boxes.size());
        EXPECT_EQ(MB_ICONERROR, boxes[1].style & MB_ICONMASK);
        EXPECT_EQ(catBefore, ReadBytes(Cat("cat")));
        EXPECT_EQ(std::vector<std::wstring>{L"old"}, Rows());
        EXPECT_EQ(0, showItems);  // no reload
        EXPECT_EQ(33, list().ColumnWidth(1));
    }
}

// For docs/screenshots/replace.png (only with QUORIX_SHOT_MARK set).
TEST_F(PasteTest, HoldReplacePageForScreenCapture) {
    if (!std::getenv("QUORIX_SHOT_MARK")) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the page for a capture";
    WriteCat("src", Section(Data, Tips{{"a", {Rec("va", "new"), Opts()}}}));
    WriteCat("dst", Section(Data, Tips{{"a", {Rec("va", "old"), Opts()}}}));
    Show(L"src");
    SelectAll();
    main().copy_Click();
    Show(L"dst");
    AnswerPages({[](::Form4& p) {
        EXPECT_TRUE(HoldForCapture(p.hwnd()));
        Cancel(p);
    }});
    main().Pasteok();
    EXPECT_EQ(1, pagesShown);
}

// ---------------------------------------------------------------- a program ended part way

TEST_F(PasteTest, APasteEndedAtAnyChangeLeavesEachFileOldOrNew) {
    // Cut tips of one category pasted into another that has tips, a clash
    // settled by 全部 and favourites: the program ended after each change of
    // a file leaves each file whole, and never the source without tips the
    // target has not got.
    Tips many;
    for (int i = 0; i < 40; ++i) {
        const std::string number = std::to_string(i);
        std::string name = "t", value = "v";
        name += number;
        value += number;
        many.push_back({name, {Rec(value, "new"), Opts(2)}});
    }
    const std::string src = Section(Data, many) + Section(Fav, Simple({"f"}));
    const std::string dst = Section(Data, Simple({"a", "b", "t3"}, "old")) + Section(Fav, Simple({"g"}));
    auto paste = [&] {
        WriteCat("src", src);
        WriteCat("dst", dst);
        Show(L"src");
        SelectAll();
        main().cut_Click();
        Show(L"dst");
        AnswerPages({All});
        main().Pasteok();
        Modal::SetHookForTests(nullptr);
    };
    paste();
    ASSERT_TRUE(boxes.empty());
    const std::string srcAfter = ReadBytes(Cat("src")), dstAfter = ReadBytes(Cat("dst"));
    ASSERT_NE(src, srcAfter);
    ASSERT_NE(dst, dstAfter);
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        Ini::EndWritesAfterForTests(n);
        paste();
        const bool ended = Ini::WritesEndedForTests();
        Ini::EndWritesAfterForTests(0);
        const std::string s = ReadBytes(Cat("src")), d = ReadBytes(Cat("dst"));
        EXPECT_TRUE(s == src || s == srcAfter);
        EXPECT_TRUE(d == dst || d == dstAfter);
        EXPECT_FALSE(s == srcAfter && d == dst) << "the cut tips are in neither file";
        if (!ended) {
            EXPECT_EQ(srcAfter, s);
            EXPECT_EQ(dstAfter, d);
            break;
        }
        Ini::RemoveStrayCopies(Path(L"DATA"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((Cat("dst") + Ini::CopySuffix).c_str()));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((Cat("src") + Ini::CopySuffix).c_str()));
    }
    EXPECT_GE(n, 6);  // each file's copy, its writes and its replacement
    EXPECT_TRUE(boxes.empty());
}

TEST_F(PasteTest, ATargetHeldByAnotherProgramCountsEveryTipAsNotWritten) {
    // Whether or not a tip would change the file's bytes: a paste (全部) and an
    // import through the toolbar, into a category file another program holds
    // open for reading.
    const std::wstring upd = Path(L"in.upd");
    GCommonDialog::SetResponderForTests([&](GCommonDialog::SystemCall& call) -> BOOL {
        if (!call.ofn) return FALSE;
        strncpy(call.ofn->lpstrFile, Ansi(upd).c_str(), call.ofn->nMaxFile - 1);
        return TRUE;
    });
    struct Case {
        const char* what;
        bool import;
        Tips incoming;
        const wchar_t* message;
    } cases[] = {
        {"paste of one tip identical to the one there (全部)", false, Simple({"a"}, "same"),
         L"粘贴未完成：有 1 个技巧未能写入。\r\n其中 1 个技巧写入文件失败，文件可能已被打开或被其它程序使用。"},
        {"import of six tips the target holds already", true, Simple({"a", "b", "c", "d", "e", "f"}, "same"),
         L"数据导入未完成：有 6 个技巧未能写入。\r\n其中 6 个技巧写入文件失败，文件可能已被打开或被其它程序使用。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        Forms::UnloadFrmShadow();
        WriteCat("src", Section(Data, c.incoming));
        WriteBytes(upd, Section(Data, c.incoming));
        WriteCat("dst", Section(Data, c.incoming) + Section(Fav, {}));
        const std::string before = ReadBytes(Cat("dst"));
        if (!c.import) {
            Show(L"src");
            SelectAll();
            main().copy_Click();
        }
        Show(L"dst");
        HeldFile held(Cat("dst"), FILE_SHARE_READ, OPEN_EXISTING, GENERIC_READ);
        ASSERT_TRUE(held.Held());
        AnswerPages({All});
        if (c.import) {
            ExpectBox(IDYES, L"你确定要将文件中的数据导入“dst”技巧类别中吗？");
            ExpectBox(IDOK, c.message);
            main().Toolbar1.Click(L"open");
        } else {
            ExpectBox(IDOK, c.message);
            main().Pasteok();
        }
        Modal::SetHookForTests(nullptr);
        held.Release();
        EXPECT_EQ(c.import ? 2u : 1u, boxes.size());
        EXPECT_EQ(0, pagesShown) << "nothing asked about a tip that cannot be written";
        EXPECT_EQ(before, ReadBytes(Cat("dst")));
    }
}
