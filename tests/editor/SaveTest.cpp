// Saving tips from the properties window into real category files (code page
// 936): the bytes written, refused input, failed writes put back, the rows.
#include "editor/EditorFixture.h"
#include "support/Clipboard.h"
#include "support/PostedKey.h"

using namespace Bytes;

namespace {
const wchar_t* const kKey = L"HKEY_CURRENT_USER\\Software\\Demo";
std::string Base() {
    return Section(Data) + "A=" + A(kKey) + FM + "v" + FM + "x" + JM + "1" + FM + "0" + FM + "d" + FM + "1\r\n" +
           Mirror(Data) + "A=" + FM + "x" + FM + JM + FM + "1" + FM + "\r\n";
}
}  // namespace

TEST_F(EditorTest, WorkedExampleIsWrittenByteForByte) {
    Start(Base());
    ASSERT_EQ(1, tips().Count());
    Fill(L"示例", kKey, L"Level", 2, {{L"低", L"1"}, {L"高", L"2"}}, 2, L"演示", 1);
    props().Xjok();
    EXPECT_TRUE(boxes.empty());
    const std::string expected = Section(Data) + "A=" + A(kKey) + FM + "v" + FM + "x" + JM + "1" + FM + "0" + FM +
                                 "d" + FM + "1\r\n" +
                                 Line(L"示例", Rec(kKey, L"Level", L"高", "2", '2', L"演示", '2')) + Mirror(Data) +
                                 "A=" + FM + "x" + FM + JM + FM + "1" + FM + "\r\n" +
                                 Line(L"示例", Opts({L"低", L"高"}, {"1", "2"}));
    EXPECT_EQ(expected, ReadBytes(CategoryFile()));
    // The new row is the only selected one and reloads the same.
    int row = RowNamed(L"示例");
    ASSERT_GT(row, 0);
    EXPECT_EQ(1, Form2::GetSelCount(tips().hwnd()));
    TipRow::Cells saved = TipRow::ReadRow(tips(), row);
    EXPECT_EQ(TipRow::IconDangerous, saved.dangerIcon);
    EXPECT_EQ(4, saved.dataIcon);
    EXPECT_TRUE(main().Toolbar1.Enabled(ToolbarKey::start));
    main().ReloadShownTips();
    TipRow::Cells loaded = TipRow::ReadRow(tips(), RowNamed(L"示例"));
    EXPECT_EQ(Ansi(saved.label), Ansi(loaded.label));
    EXPECT_EQ(Ansi(saved.dataText), Ansi(loaded.dataText));
    EXPECT_EQ(saved.dataIcon, loaded.dataIcon);
    EXPECT_EQ(saved.options, loaded.options);
    EXPECT_EQ(saved.dangerIcon, loaded.dangerIcon);
}

TEST_F(EditorTest, SavesOverTheShownTipAsTheTableGives) {
    struct Case {
        const char* what;
        std::wstring name, valueName;
        int type;
        std::initializer_list<std::pair<std::wstring, std::wstring>> options;
        int selected;
        std::string record, options_;
        bool bold;
    };
    const Case cases[] = {
        {"delete choice", L"A", L"v", 0, {{L"开", L"on"}, {L"删", TipRow::DeleteText}}, 2,
         Rec(kKey, L"v", L"删", DM, '0', L"说明", '1'), Opts({L"开", L"删"}, {"on", DM}), false},
        {"zero-length binary default", L"A", L"v", 1, {{L"空", L""}}, 1,
         Rec(kKey, L"v", L"空", A(TipRow::ZeroLengthBinaryText), '1', L"说明", '1'), Opts({L"空"}, {""}), false},
        {"default value", L"A", L"", 0, {{L"改", L"x y"}}, 1, Rec(kKey, L"", L"改", "x y", '0', L"说明", '1'),
         Opts({L"改"}, {"x y"}), true},
        {"re-cased name", L"a", L"v", 2, {{L"x", L"1"}}, 1, Rec(kKey, L"v", L"x", "1", '2', L"说明", '1'),
         Opts({L"x"}, {"1"}), false},
        {"new name", L"新名字", L"v", 2, {{L"x", L""}}, 1, Rec(kKey, L"v", L"x", "0", '2', L"说明", '1'),
         Opts({L"x"}, {"0"}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(Base() + Section("B") + "B=" + A(kKey) + FM + "v" + FM + "y" + JM + "2" + FM + "0" + FM + FM + "1\r\n");
        Click(1);
        Fill(c.name, kKey, c.valueName, c.type, c.options, c.selected, L"  说明  ", 0);
        // The editor's own fill enables the type; the save reads what is there.
        props().Xiugai();
        EXPECT_TRUE(boxes.empty());
        auto data = Entries(Section(Data)), mirror = Entries(Mirror(Data));
        EXPECT_EQ(1u, data.size());
        EXPECT_EQ(c.record, data[A(c.name)]);
        EXPECT_EQ(c.options_, mirror[A(c.name)]);
        // Another section of the file is untouched.
        EXPECT_EQ(1u, Entries(Section("B")).size());
        // The row: rewritten in place, the description as typed.
        EXPECT_EQ(Ansi(c.name), Ansi(tips().Text(1)));
        EXPECT_EQ(c.bold, tips().SubBold(1, 3));
        EXPECT_EQ(Ansi(L"  说明  "), Ansi(tips().SubTag(1, 3)));
        TipRow::Cells saved = TipRow::ReadRow(tips(), 1);
        main().ReloadShownTips();
        TipRow::Cells loaded = TipRow::ReadRow(tips(), 1);
        EXPECT_EQ(Ansi(saved.dataText), Ansi(loaded.dataText));
        EXPECT_EQ(saved.dataIcon, loaded.dataIcon);
        EXPECT_EQ(saved.defaultValue, loaded.defaultValue);
        Stop();
        boxes.clear();
    }
}

TEST_F(EditorTest, SavingUnchangedTipsKeepsEveryRecordAndOptionList) {
    const std::string file =
        Section(Data) + "One=" + Rec(kKey, L"v", L"开", "1", '2', L"说明 一", '2') + "\r\n" +
        "Two=" + Rec(kKey, L"", L"空", A(TipRow::ZeroLengthBinaryText), '1', L"", '1') + "\r\n" +
        "Three=" + Rec(kKey, L"w", L"删", DM, '3', L"d", '1') + "\r\n" + "Four=" +
        Rec(kKey, L"s", L"on", "abc", '0', L"x", '1') + "\r\n" + Mirror(Data) + "One=" +
        Opts({L"开", L"关"}, {"1", "0"}) + "\r\n" + "Two=" + Opts({L"空", L"满"}, {"", "01 02"}) + "\r\n" +
        "Three=" + Opts({L"删", L"写"}, {DM, "%PATH%"}) + "\r\n" + "Four=" + Opts({L"on", L"off"}, {"abc", "def"}) +
        "\r\n";
    Start(file);
    auto before = Entries(Section(Data)), beforeMirror = Entries(Mirror(Data));
    ASSERT_EQ(4, tips().Count());
    for (const wchar_t* name : {L"One", L"Two", L"Three", L"Four"}) {
        SCOPED_TRACE(Ansi(name));
        Click(RowNamed(name));
        props().Xiugai();
        EXPECT_TRUE(boxes.empty());
    }
    EXPECT_EQ(before, Entries(Section(Data)));
    EXPECT_EQ(beforeMirror, Entries(Mirror(Data)));
}

TEST_F(EditorTest, TextTheFileCannotHoldIsRefusedBeforeAnyWrite) {
    struct Case {
        const char* what;
        std::function<void(Form3&)> spoil;
        int tab;
    };
    const Case cases[] = {
        {"CR LF in 说明", [](Form3& p) { p.Text5.SetText(L"一\r\n二"); }, 1},
        {"CR LF in 键位", [](Form3& p) { p.Text4.SetText(L"HKEY_CURRENT_USER\\a\r\nb"); }, 1},
        {"= in the name", [](Form3& p) { p.Text1.SetText(L"a=b"); }, 1},
        {"[ before the name", [](Form3& p) { p.Text1.SetText(L"[名"); }, 1},
        {"typed FieldMark", [](Form3& p) { p.Text5.SetText(L"a" + Marks::FieldMark); }, 1},
        {"JoinMark in a label", [](Form3& p) { p.ListView1.SetText(1, L"开亪关"); }, 2},
        {"Thai character", [](Form3& p) { p.Text5.SetText(L"\x0E01"); }, 1},
        {"emoji", [](Form3& p) { p.Text2.SetText(L"\xD83D\xDE00"); }, 1},
        {"40,000 characters", [](Form3& p) { p.Text5.SetText(std::wstring(40000, L'x')); }, 1},
        {"DeleteMark typed as data", [](Form3& p) { p.ListView1.SetSubTag(1, 0, Marks::DeleteMark); }, 2},
    };
    Start(Base());
    const std::string bytes = ReadBytes(CategoryFile());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Click(1);
        c.spoil(props());
        ExpectBox(IDOK);
        props().Xiugai();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_EQ(c.tab, props().TabStrip1.SelectedIndex());
        EXPECT_EQ(bytes, ReadBytes(CategoryFile()));
        EXPECT_EQ("A", Ansi(tips().Text(1)));
        boxes.clear();
    }
}

TEST_F(EditorTest, AFailedWritePutsTheOldEntriesBack) {
    Start(Base());
    auto before = Entries(Section(Data)), beforeMirror = Entries(Mirror(Data));
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE(n);
        Click(1);
        props().Text1.SetText(L"改名");
        Ini::FailNthWriteForTests(n);
        ExpectBox(IDOK);
        props().Xiugai();
        Ini::FailNthWriteForTests(0);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_EQ(before, Entries(Section(Data)));
        EXPECT_EQ(beforeMirror, Entries(Mirror(Data)));
        EXPECT_EQ("A", Ansi(tips().Text(1)));
        boxes.clear();
    }
}

TEST_F(EditorTest, SavingOverNeedsTheOneShownRow) {
    Start(Base());
    Fill(L"B", kKey, L"v", 0, {{L"x", L"y"}}, 1, L"", 0);
    props().Xjok();
    ASSERT_EQ(2, tips().Count());
    const std::string bytes = ReadBytes(CategoryFile());
    Click(1);
    tips().SetSelected(2, true);  // two rows selected
    ExpectBox(IDOK);
    props().Xiugai();
    EXPECT_EQ(1u, boxes.size());
    EXPECT_EQ(bytes, ReadBytes(CategoryFile()));
}

TEST_F(EditorTest, ValidationOrderMessagesTabsAndFocus) {
    Start(Base());
    struct Step {
        std::function<void(Form3&)> set;
        const wchar_t* message;
        int tab;
        std::function<HWND(Form3&)> focus;
    };
    Form3& p = props();
    p.ClearEditor();
    const Step steps[] = {
        {[](Form3& f) { f.Text1.SetText(L"   "); }, L"请输入对本技巧作用的简短说明。", 1,
         [](Form3& f) { return f.Text1.hwnd(); }},
        {[](Form3& f) { f.Text1.SetText(L"A"); f.Text4.SetText(L"  "); }, L"请输入键位。", 1,
         [](Form3& f) { return f.Text4.hwnd(); }},
        {[](Form3& f) { f.Text4.SetText(kKey); }, L"请选择键值数据的类型。", 2,
         [](Form3& f) { return f.Combo1.hwnd(); }},
        {[](Form3& f) { f.Combo1.SetListIndex(0); }, L"请输入键值数据。", 2, [](Form3& f) { return f.Text3.hwnd(); }},
        {[](Form3& f) {
             f.Text3.SetText(L"x");
             f.ImageCombo1.SetText(L"y");
             f.Command1_Click();
             f.ListView1.SetSelected(1, false);
         },
         L"请在键值列表中选择一条键值作为默认值。", 2, [](Form3& f) { return f.ListView1.hwnd(); }},
        {[](Form3& f) { f.ListView1.SetSelectedItem(1); }, L"已经存在作用相同的技巧。", 1,
         [](Form3& f) { return f.Text1.hwnd(); }},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(Ansi(s.message));
        s.set(p);
        ExpectBox(IDOK, s.message);
        p.Xjok();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(s.tab, p.TabStrip1.SelectedIndex());
        HWND focus = GetFocus();
        EXPECT_TRUE(focus == s.focus(p) || GetParent(focus) == s.focus(p));
        boxes.clear();
    }
    EXPECT_EQ(1, tips().Count());
}

namespace {
std::pair<DWORD, DWORD> Selection(HWND box) {
    DWORD a = 0, b = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {a, b};
}
}  // namespace

// A key path holding a TAB (typed or pasted) or another control character is
// refused by every save route with its message, the character selected, and
// nothing is written.
TEST_F(EditorTest, AKeyPathWithAControlCharacterIsRefusedOnEverySaveRoute) {
    const std::wstring message = L"“键位”中含有制表符（Tab）或其他控制字符，键位中不能含有这些字符。请删除后再保存。";
    enum class Put { Typed, Pasted };
    enum class Save { CtrlS, CtrlN, SaveButton, NewButton };
    const struct {
        const char* what;
        wchar_t c;
        Put put;
        Save save;
    } cases[] = {
        {"TAB typed, Ctrl+S", L'\t', Put::Typed, Save::CtrlS},
        {"TAB pasted, Ctrl+S", L'\t', Put::Pasted, Save::CtrlS},
        {"unit separator pasted, Ctrl+S", L'\x1F', Put::Pasted, Save::CtrlS},
        {"DEL pasted, Ctrl+S", L'\x7F', Put::Pasted, Save::CtrlS},
        {"TAB typed, Ctrl+N", L'\t', Put::Typed, Save::CtrlN},
        {"TAB typed, save button", L'\t', Put::Typed, Save::SaveButton},
        {"TAB typed, save-as-new button", L'\t', Put::Typed, Save::NewButton},
    };
    Start(Base());
    const std::string bytes = ReadBytes(CategoryFile());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Click(1);
        Form3& p = props();
        if (c.save == Save::CtrlN || c.save == Save::NewButton) p.Text1.SetText(L"新技巧");
        HWND box = p.Text4.hwnd();
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 17, 17);  // after HKEY_CURRENT_USER
        if (c.put == Put::Typed) {
            PostMessageW(box, WM_CHAR, c.c, 1);
            PostedKey::Settle();
        } else {
            ASSERT_TRUE(PutTextOnClipboard(main().hwnd(), std::wstring(1, c.c)));
            PostedKey::Press(box, 'V', VK_CONTROL);
        }
        ASSERT_EQ(std::wstring(L"HKEY_CURRENT_USER") + c.c + L"\\Software\\Demo", p.Text4.Text());
        ExpectBox(IDOK, message);
        switch (c.save) {
        case Save::CtrlS: PostedKey::Press(box, 'S', VK_CONTROL); break;
        case Save::CtrlN: PostedKey::Press(box, 'N', VK_CONTROL); break;
        case Save::SaveButton: p.Toolbar1.Click(L"xiugai"); break;
        case Save::NewButton: p.Toolbar1.Click(L"xj"); break;
        }
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_EQ(1, p.TabStrip1.SelectedIndex());
        EXPECT_EQ(box, GetFocus());
        EXPECT_EQ((std::pair<DWORD, DWORD>{17, 18}), Selection(box));
        EXPECT_EQ(bytes, ReadBytes(CategoryFile()));
        EXPECT_EQ(1, tips().Count());
        boxes.clear();
    }
}

// Every field fits a tip file's entry but the record they make does not: the
// message names the fields to shorten (any one of them, or together), and the
// focus goes to the longest.
TEST_F(EditorTest, ATooLongRecordNamesTheFieldsThatMakeIt) {
    const auto key = [](size_t n) { return std::wstring(kKey) + L"\\" + std::wstring(n - wcslen(kKey) - 1, L'k'); };
    const struct {
        const char* what;
        std::function<void(Form3&)> fill;
        std::wstring shorten;
        int tab;
        std::function<HWND(Form3&)> focus;
    } cases[] = {
        {"键名 30,000, 说明 3,000",
         [](Form3& p) {
             p.Text2.SetText(std::wstring(30000, L'n'));
             p.Text5.SetText(std::wstring(3000, L'说'));
         },
         L"请缩短键名或说明。", 1, [](Form3& p) { return p.Text2.hwnd(); }},
        {"说明 32,000, 键位 1,000",
         [&](Form3& p) {
             p.Text5.SetText(std::wstring(32000, L'说'));
             p.Text4.SetText(key(1000));
         },
         L"请缩短说明或键位。", 1, [](Form3& p) { return p.Text5.hwnd(); }},
        {"键位, 键名, 说明 11,000 each",
         [&](Form3& p) {
             p.Text4.SetText(key(11000));
             p.Text2.SetText(std::wstring(11000, L'n'));
             p.Text5.SetText(std::wstring(11000, L'说'));
         },
         L"请缩短键位、键名或说明。", 1, [](Form3& p) { return p.Text4.hwnd(); }},
        {"命令 20,000, 键值 13,000",
         [](Form3& p) {
             const std::wstring label(20000, L'命'), data(13000, L'd');
             p.ListView1.SetText(1, label);
             p.ListView1.SetSubText(1, 1, data);
             p.ListView1.SetSubTag(1, 0, data);
         },
         L"请缩短命令或键值。", 2, [](Form3& p) { return p.ListView1.hwnd(); }},
        {"five fields 9,000 each, none enough alone",
         [&](Form3& p) {
             p.Text4.SetText(key(9000));
             p.Text2.SetText(std::wstring(9000, L'n'));
             const std::wstring label(9000, L'命'), data(9000, L'd');
             p.ListView1.SetText(1, label);
             p.ListView1.SetSubText(1, 1, data);
             p.ListView1.SetSubTag(1, 0, data);
             p.Text5.SetText(std::wstring(9000, L'说'));
         },
         L"请缩短键位和键名。", 1, [](Form3& p) { return p.Text4.hwnd(); }},
    };
    Start(Base());
    const std::string bytes = ReadBytes(CategoryFile());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Click(1);
        c.fill(props());
        ExpectBox(IDOK);
        PostedKey::Press(props().Text1.hwnd(), 'S', VK_CONTROL);
        ASSERT_EQ(1u, boxes.size());
        const std::wstring& text = boxes[0].text;
        EXPECT_EQ(0u, text.find(L"技巧的内容过长（共 ")) << Ansi(text);
        EXPECT_TRUE(text.size() > c.shorten.size() && text.compare(text.size() - c.shorten.size(), std::wstring::npos, c.shorten) == 0)
            << Ansi(text);
        EXPECT_EQ(c.tab, props().TabStrip1.SelectedIndex());
        EXPECT_EQ(c.focus(props()), GetFocus());
        EXPECT_EQ(bytes, ReadBytes(CategoryFile()));
        boxes.clear();
    }
    // The count is the record's: 30,000 + 3,000 + the key path, the label, the data, the type, the danger and six marks.
    Click(1);
    props().Text2.SetText(std::wstring(30000, L'n'));
    props().Text5.SetText(std::wstring(3000, L'说'));
    ExpectBox(IDOK, L"技巧的内容过长（共 " + std::to_wstring(30000 + 3000 + wcslen(kKey) + 4 + 6) +
                        L" 个字符，技巧文件中的一项最多只能保存 32766 个字符），无法保存。请缩短键名或说明。");
    PostedKey::Press(props().Text1.hwnd(), 'S', VK_CONTROL);
    EXPECT_EQ(1u, boxes.size());
}

TEST_F(EditorTest, ASaveEndedAtAnyChangeLeavesTheOldFileOrTheNew) {
    // Ctrl+S over a tip of a file with many tips and favourites: the program
    // ended after any change of a file leaves the file whole.
    std::string file = Base();
    file.insert(file.find(Mirror(Data)), [] {
        std::string lines;
        for (int i = 0; i < 300; ++i)
            lines += std::string("T").append(std::to_string(i)) + "=" + A(kKey) + FM + "v" + FM + "x" + JM + "1" + FM + "0" + FM + "d" + FM + "1\r\n";
        return lines;
    }());
    file += Section("\xCA\xD5\xB2\xD8\xBC\xD0") + "A=" + A(kKey) + FM + "v" + FM + "x" + JM + "1" + FM + "0" + FM + "d" + FM + "1\r\n";
    Start(file);
    auto save = [&] {
        WriteBytes(CategoryFile(), file);
        main().ReloadShownTips();
        Click(RowNamed(L"A"));
        props().Text1.SetText(L"改名");
        props().Text5.SetText(L"新的说明");
        props().Xiugai();
    };
    save();
    ASSERT_TRUE(boxes.empty());
    const std::string after = ReadBytes(CategoryFile());
    ASSERT_NE(file, after);
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        Ini::EndWritesAfterForTests(n);
        save();
        const bool ended = Ini::WritesEndedForTests();
        Ini::EndWritesAfterForTests(0);
        const std::string now = ReadBytes(CategoryFile());
        EXPECT_TRUE(now == file || now == after);
        if (!ended) {
            EXPECT_EQ(after, now);
            break;
        }
        Ini::RemoveStrayCopies(dir + L"Data");
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((CategoryFile() + Ini::CopySuffix).c_str()));
    }
    EXPECT_EQ(7, n);  // the copy, four writes, the replacement
    EXPECT_TRUE(boxes.empty());
}

TEST_F(EditorTest, ASaveIntoAFileAnotherProgramHoldsSaysNothingChanged) {
    Start(Base());
    const std::string before = ReadBytes(CategoryFile());
    for (bool overTip : {false, true}) {
        SCOPED_TRACE(overTip);
        Click(1);
        props().Text1.SetText(L"改名");
        HANDLE held = CreateFileW(CategoryFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        ExpectBox(IDOK, L"保存技巧失败：无法写入文件“" + dir + L"DATA\\示例.qix" +
                            L"”，文件可能是只读的，或者已被其它程序打开或使用。技巧没有保存，文件没有任何改变。");
        // Ctrl+S saves over the tip, Ctrl+N as a new one, in the properties window.
        PostedKey::Press(props().Text1.hwnd(), overTip ? 'S' : 'N', VK_CONTROL);
        PostedKey::Settle();
        CloseHandle(held);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(before, ReadBytes(CategoryFile()));
        EXPECT_EQ(1, tips().Count());
        EXPECT_EQ("A", Ansi(tips().Text(1)));
        boxes.clear();
    }
}
