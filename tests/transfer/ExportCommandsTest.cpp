// The four exports end to end: the main window's selected tips, the export
// page's 确定, the save dialog answered at the GCommonDialog layer, the file on
// disk, and the messages of a failed or partial export.
#include "ExportFixture.h"
#include "Rows.h"

#include "common/Ini.h"
#include "transfer/DocExport.h"
#include "transfer/RegExport.h"

using std::string;
using std::wstring;

namespace {
std::wstring CurrentFolder() {
    wchar_t buf[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, buf);
    return std::wstring(buf, n);
}
// Holds a file open without sharing, as another program may.
struct Held {
    HANDLE h;
    explicit Held(const std::wstring& path)
        : h(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~Held() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
}  // namespace

class ExportCommandsTest : public ExportFixture {
protected:
    struct Format {
        const wchar_t* row;        // the format list's row
        const wchar_t* title;      // the save dialog's
        const wchar_t* filter[2];  // description, pattern
        const wchar_t* ext;        // the dialog's default extension
        const wchar_t* failure;    // the export's failure message
        bool asksDescription;
    };
    static inline const Format kFormats[] = {
        {L"技巧数据文件", L"导出为技巧数据文件", {L"技巧数据文件 (*.upd)", L"*.upd"}, L"upd",
         L"发生未知错误，导致“导出为技巧数据文件”过程中断。", true},
        {L"注册表文件(Win9x/Me)", L"导出为注册表文件", {L"注册表文件 (*.reg)", L"*.reg"}, L"reg",
         L"发生未知错误，导致“导出为注册表文件”过程中断。", false},
        {L"注册表文件(Win2000/XP)", L"导出为注册表文件", {L"注册表文件 (*.reg)", L"*.reg"}, L"reg",
         L"发生未知错误，导致“导出为注册表文件”过程中断。", false},
        {L"文本文件", L"导出为文本文件", {L"文本文件 (*.txx)", L"*.txt"}, L"txt",
         L"发生未知错误，导致“导出为文本文件”过程中断。", false},
        {L"超文本文件", L"保存为超文本文件", {L"超文本文件 (*.htm)", L"*.htm"}, L"htm",
         L"发生未知错误，导致“导出超文本文件”过程中断。", false},
    };
};

// Each format from the page: its dialog, the file's bytes, an existing file
// replaced only by a complete new one, and a missing folder reported with no
// file made. No scratch text is left in Label2 or the list's Tag.
TEST_F(ExportCommandsTest, EachFormatThroughThePage) {
    Select({L"双字"});
    const std::vector<TipRow::Cells> cells = SelectedCells();
    ASSERT_EQ(1u, cells.size());
    main().Label2.SetCaption(L"label");
    list().Tag = L"command line";
    const wstring kDw = L"[" + K + L"]\r\n\"dw\"=dword:00000001\r\n\r\n";
    const string expected[] = {
        "",  // the tip data file: read back below
        "REGEDIT4\r\n\r\n" + Ansi(kDw),
        "\xFF\xFE" + Rows::Utf16(L"Windows Registry Editor Version 5.00\r\n\r\n" + kDw),
        Ansi(DocExport::WelcomeLine() + L"\r\n\r\n【双字】\r\n键位：" + K +
             L"\r\n键名：dw  键值类型：DWORD值(REG_DWORD)\r\n键值数据：1\r\n说明：DWORD\r\n\r\n\r\n"),
        DocExport::BuildHtml(cells),
    };
    int n = 0;
    for (const Format& f : kFormats) {
        SCOPED_TRACE(Ansi(f.row));
        const wstring target = Path(L"导出" + std::to_wstring(n) + L"." + f.ext);
        WriteBytes(target, "old");
        if (f.asksDescription) ExpectInput(L" 说明 ", L"请输入对技巧数据文件的简短说明：");
        answers = {target};
        saves.clear();
        ExportFromPage(f.row);
        ASSERT_EQ(1u, saves.size());
        const SaveCall& s = saves[0];
        EXPECT_EQ(Ansi(f.title), Ansi(s.title));
        EXPECT_EQ((std::vector<wstring>{f.filter[0], f.filter[1]}), s.filter);
        EXPECT_EQ(f.ext, s.defaultExt);
        EXPECT_TRUE(s.flags & OFN_OVERWRITEPROMPT);
        // Asked by the main window, shown over the page that runs the export.
        EXPECT_NE(nullptr, s.page);
        EXPECT_EQ(s.page, s.owner);
        EXPECT_FALSE(s.mainEnabled);
        EXPECT_EQ(Ansi(CurrentFolder()), Ansi(s.initDir));
        if (n == 0) {
            EXPECT_EQ(Ansi(L"说明"), Ansi(Ini::Read(target, L"Fileinfo", L"Use")));
            EXPECT_EQ(1u, Ini::Keys(target, TipFile::DataSection).size());
        } else {
            EXPECT_EQ(expected[n], ReadBytes(target));
        }

        // A folder that does not exist: the export's message, no file, no folder.
        if (f.asksDescription) ExpectInput(L"说明");
        ExpectBox(IDOK, f.failure);
        answers = {Path(L"缺少\\a.") + f.ext};
        ExportFromPage(f.row);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"缺少").c_str()));
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
        boxes.clear();

        // Held open by another program: the message, the old file byte for byte.
        const string before = ReadBytes(target);
        {
            Held held(target);
            ASSERT_NE(INVALID_HANDLE_VALUE, held.h);
            if (f.asksDescription) ExpectInput(L"说明");
            ExpectBox(IDOK, f.failure);
            answers = {target};
            ExportFromPage(f.row);
        }
        EXPECT_EQ(before, ReadBytes(target));

        // Read-only: refused with the message, the old file byte for byte and
        // still read-only.
        ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
        if (f.asksDescription) ExpectInput(L"说明");
        ExpectBox(IDOK, f.failure);
        answers = {target};
        ExportFromPage(f.row);
        EXPECT_EQ(before, ReadBytes(target));
        EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL));
        ++n;
    }
    EXPECT_EQ("label", Ansi(main().Label2.Caption()));
    EXPECT_EQ("command line", Ansi(list().Tag));
}

// A name typed without the extension gets it (the dialog's default extension
// makes its overwrite question cover that name); a cancelled description or
// dialog writes nothing; a description the file cannot keep is asked again.
TEST_F(ExportCommandsTest, CancelsAndRefusedDescriptionsWriteNothing) {
    Select({L"字符串", L"扩展"});
    answers = {Path(L"无扩展名")};
    main().SaveReg(L"xp");
    EXPECT_EQ(Rows::Utf16(L"Windows"), ReadBytes(Path(L"无扩展名.reg")).substr(2, 14));

    for (const wchar_t* cancel : {L"", L"   "}) {
        ExpectInput(cancel);
        main().SaveZY();
    }
    ExpectInput(L"a" + FM + L"b");
    ExpectBox(IDOK);
    ExpectInput(L"");
    main().SaveZY();
    ASSERT_EQ(4u, inputs.size());
    EXPECT_EQ(Ansi(L"导出技巧数据文件"), Ansi(inputs[3].title));
    EXPECT_EQ(Ansi(L"a" + FM + L"b"), Ansi(inputs[3].defaultText));  // asked again with the typed text
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.at(0).style & MB_ICONMASK);
    EXPECT_EQ(1u, saves.size());  // only the registry export's dialog

    answers = {L"", L"", L"", L""};
    ExpectInput(L"说明");
    main().SaveZY();
    main().SaveReg(L"98");
    main().SaveTxt();
    main().Savehtml();
    EXPECT_EQ(5u, saves.size());
    EXPECT_EQ(1u, boxes.size());
}

// Rows a registry file cannot carry (here a DWORD typed into the value bar as
// "zz") are left out and counted; the file is written with the others.
TEST_F(ExportCommandsTest, RegistryFileCountsTheRowsLeftOut) {
    Select({L"双字", L"字符串"});
    list().SetSubText(RowOf(L"双字"), 4, L"zz");
    const wstring target = Path(L"部分.reg");
    answers = {target};
    ExpectBox(IDOK, RegExport::LeftOutMessage(1));
    ExportFromPage(L"注册表文件(Win9x/Me)");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    const string bytes = ReadBytes(target);
    EXPECT_EQ(0u, bytes.find("REGEDIT4\r\n"));
    EXPECT_NE(string::npos, bytes.find("\"str\"=\"C:\\\\"));
    EXPECT_EQ(string::npos, bytes.find("\"dw\""));
}

// A tip data file exported onto the file the list shows keeps every option
// list, and opened again it shows the same rows; the value chosen for a row is
// what its record holds.
TEST_F(ExportCommandsTest, TipDataFileOntoTheShownFile) {
    const wstring upd = Path(L"数据文件.upd");
    for (const Tip& t : CategoryTips()) {
        TipFile::TipRecord r{K, t.valueName, t.label, t.data, t.type, t.description, L"2"};
        ASSERT_TRUE(TipFile::WriteTip(upd, TipFile::DataSection, t.name, TipFile::EncodeRecord(r),
                                      Options(t.label, t.data) + L"关" + FM));
    }
    ::frmShadow& shadow = Forms::frmShadow();
    const int entry = shadow.AddOrSelectEntry(upd);
    shadow.TreeView2_NodeClick(entry);
    ASSERT_FALSE(main().CategoryMode());
    ASSERT_EQ(static_cast<int>(CategoryTips().size()), list().Count());
    for (int i = 1; i <= list().Count(); ++i) list().SetSelected(i, true);
    list().SetSubText(RowOf(L"双字"), 4, L"2b");  // chosen in the value bar
    const std::vector<TipRow::Cells> before = SelectedCells();
    const auto mirrorBefore = TipFile::ReadSection(upd, TipFile::MirrorOf(TipFile::DataSection));

    ExpectInput(L"全部");
    answers = {upd};
    ExportFromPage(L"技巧数据文件");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(mirrorBefore, TipFile::ReadSection(upd, TipFile::MirrorOf(TipFile::DataSection)));
    EXPECT_EQ(Ansi(L"全部"), Ansi(Ini::Read(upd, L"Fileinfo", L"Use")));

    // Opened again: the same rows, the chosen value now the tip's own.
    shadow.TreeView1_NodeClick(1);
    shadow.TreeView2_NodeClick(entry);
    ASSERT_EQ(static_cast<int>(before.size()), list().Count());
    for (const TipRow::Cells& b : before) {
        SCOPED_TRACE(Ansi(b.name));
        const int row = RowOf(b.name);
        ASSERT_NE(0, row);
        const TipRow::Cells a = TipRow::ReadRow(list(), row);
        EXPECT_EQ(b.keyPath, a.keyPath);
        EXPECT_EQ(b.valueName, a.valueName);
        EXPECT_EQ(b.defaultValue, a.defaultValue);
        EXPECT_EQ(b.label, a.label);
        EXPECT_EQ(b.dataText, a.dataText);
        EXPECT_EQ(b.dataIcon, a.dataIcon);
        EXPECT_EQ(b.dangerIcon, a.dangerIcon);
        EXPECT_EQ(b.typeCode, a.typeCode);
        EXPECT_EQ(b.description, a.description);
        EXPECT_EQ(b.options, a.options);
    }
    EXPECT_EQ(L"2b", list().SubText(RowOf(L"双字"), 4));
}

// A name with another extension gets the export's own put after it; the save
// dialog's question did not cover that file, so the export asks before it
// replaces it, and No keeps it byte for byte.
TEST_F(ExportCommandsTest, AppendedExtensionAsksBeforeReplacing) {
    Select({L"字符串"});
    const wstring chosen = Path(L"notes.bak");
    struct Case {
        void (*run)(Form2&);
        const wchar_t* ext;
    } cases[] = {
        {[](Form2& f) { f.SaveReg(L"98"); }, L".reg"},
        {[](Form2& f) { f.SaveTxt(); }, L".txt"},
        {[](Form2& f) { f.Savehtml(); }, L".htm"},
    };
    for (const Case& c : cases) {
        const wstring target = chosen + c.ext;
        WriteBytes(target, "old");
        answers = {chosen};
        ExpectBox(IDNO);
        c.run(main());
        EXPECT_EQ("old", ReadBytes(target)) << Ansi(c.ext);
        answers = {chosen};
        ExpectBox(IDYES);
        c.run(main());
        EXPECT_NE("old", ReadBytes(target)) << Ansi(c.ext);
    }
    ASSERT_EQ(6u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes[0].style & MB_ICONMASK);
    EXPECT_NE(wstring::npos, boxes[0].text.find(L"notes.bak.reg"));
}
