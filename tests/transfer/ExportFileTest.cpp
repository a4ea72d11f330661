// Writing export files: the target is replaced only once the whole new file is
// written, and the tip data file export's content.
#include "Rows.h"
#include "common/Ini.h"
#include "support/Fixture.h"
#include "transfer/DataFileExport.h"
#include "transfer/ExportFile.h"

#include <windows.h>

using Rows::Delete;
using Rows::Row;

namespace {
const std::wstring K = L"HKEY_CURRENT_USER\\Software\\QuorixTest";

// The names of the files in a folder.
std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(d.cFileName);
    } while (FindNextFileW(h, &d));
    FindClose(h);
    return out;
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

TEST(ExportFileName, ExtensionRules) {
    struct Case {
        std::wstring chosen, extension, target;
    } cases[] = {
        {L"C:\\a", L".reg", L"C:\\a.reg"},
        {L"C:\\a.REG", L".reg", L"C:\\a.REG"},
        {L"C:\\a.reg.txt", L".reg", L"C:\\a.reg.txt"},
        {L"C:\\page.html", L".HTM", L"C:\\page.html"},
        {L"C:\\page", L".HTM", L"C:\\page.htm"},
        {L"C:\\notes.TXT", L".TXT", L"C:\\notes.TXT"},
        {L"C:\\a.upd.bak", L".UPD", L"C:\\a.upd.bak"},
        {L"C:\\中文", L".txt", L"C:\\中文.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.target, ExportFile::TargetName(c.chosen, c.extension)) << Text::ToAnsi(c.chosen);
}

class ExportFileTest : public QuorixTest {};

TEST_F(ExportFileTest, WholeFileReplacesTheTargetOnlyOnSuccess) {
    const std::wstring target = Path(L"导出.txt");
    WriteBytes(target, "old content that is longer than the new one");
    ASSERT_TRUE(ExportFile::WriteWhole(target, "new\r\n"));
    EXPECT_EQ("new\r\n", ReadBytes(target));
    EXPECT_EQ(std::vector<std::wstring>{L"导出.txt"}, FilesIn(dir));

    {  // held open by another program: the old file stays byte for byte
        Held held(target);
        ASSERT_NE(INVALID_HANDLE_VALUE, held.h);
        EXPECT_FALSE(ExportFile::WriteWhole(target, "newer"));
    }
    EXPECT_EQ("new\r\n", ReadBytes(target));
    EXPECT_EQ(std::vector<std::wstring>{L"导出.txt"}, FilesIn(dir));  // no temporary file left

    // A missing folder: no file anywhere.
    EXPECT_FALSE(ExportFile::WriteWhole(Path(L"missing\\a.txt"), "x"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Path(L"missing").c_str()));
    // A folder as the target is never replaced; an empty name writes nothing.
    CreateDirectoryW(Path(L"sub").c_str(), nullptr);
    EXPECT_FALSE(ExportFile::WriteWhole(Path(L"sub"), "x"));
    EXPECT_FALSE(ExportFile::WriteWhole(L"", "x"));
    EXPECT_EQ(std::vector<std::wstring>{L"导出.txt"}, FilesIn(dir));

    // An empty document is a file of no bytes.
    ASSERT_TRUE(ExportFile::WriteWhole(Path(L"empty.txt"), ""));
    EXPECT_EQ("", ReadBytes(Path(L"empty.txt")));
}

// ---- The tip data file export ----------------------------------------------

namespace {
const std::wstring FM = Marks::FieldMark, JM = Marks::JoinMark;
const std::wstring kMirror = TipFile::MirrorOf(TipFile::DataSection);
const DataFileExport::FileInfo kInfo{L"u", L"", L"", L"", L""};
std::wstring Options(const std::wstring& label, const std::wstring& data) { return FM + label + FM + JM + FM + data + FM; }
}  // namespace

TEST_F(ExportFileTest, TipDataFileHoldsRecordsOptionListsAndFileinfo) {
    std::vector<TipRow::Cells> rows{
        Row(K, L"v", L"2", L"1a", L"DWORD技巧", L"说明一"),
        Row(K, L"", L"0", L"默认", L"默认值技巧", L""),
        Row(K, L"gone", L"0", Delete, L"删除技巧", L"d"),
        Row(K, L"bin", L"1", L"", L"空二进制", L"b"),
        Row(K, L"bin2", L"1", L"01 ab FF", L"二进制", L"b2"),
    };
    rows[0].label = L"另一个";  // a value chosen in the value bar: exported as shown
    rows[0].dataText = L"2b";
    rows[1].dangerIcon = TipRow::IconDangerous;
    std::vector<std::wstring> options{Options(L"开", L"1a"), L"", Options(L"删", Delete), Options(L"空", L""),
                                      Options(L"a", L"01 ab FF")};
    const std::wstring target = Path(L"out.upd");
    WriteBytes(target, "[Old]\r\nkey=value\r\n");
    DataFileExport::FileInfo info{L"  简短说明 ", L" 作者", L"https://example.com/ ", L"", L"其它"};
    ASSERT_TRUE(DataFileExport::Write(target, rows, options, info));

    EXPECT_EQ((std::vector<std::wstring>{TipFile::DataSection, kMirror, TipFile::FileinfoSection}), Ini::Sections(target));
    auto records = TipFile::ReadSection(target, TipFile::DataSection);
    auto mirror = TipFile::ReadSection(target, kMirror);
    ASSERT_EQ(rows.size(), records.size());
    ASSERT_EQ(rows.size(), mirror.size());
    const std::wstring expected[] = {
        K + FM + L"v" + FM + L"另一个" + JM + L"2b" + FM + L"2" + FM + L"说明一" + FM + L"1",
        K + FM + FM + L"修改" + JM + L"默认" + FM + L"0" + FM + FM + L"2",
        K + FM + L"gone" + FM + L"修改" + JM + Delete + FM + L"0" + FM + L"d" + FM + L"1",
        K + FM + L"bin" + FM + L"修改" + JM + FM + L"1" + FM + L"b" + FM + L"1",
        K + FM + L"bin2" + FM + L"修改" + JM + L"01 ab FF" + FM + L"1" + FM + L"b2" + FM + L"1",
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, records[i].first);
        EXPECT_EQ(expected[i], records[i].second) << i;
        EXPECT_EQ(rows[i].name, mirror[i].first);
        EXPECT_EQ(options[i], mirror[i].second) << i;
        // Loaded again, the file gives the rows shown.
        TipRow::Cells back = TipRow::Decode(records[i].first, records[i].second, mirror[i].second);
        EXPECT_EQ(rows[i].keyPath, back.keyPath);
        EXPECT_EQ(rows[i].valueName, back.valueName);
        EXPECT_EQ(rows[i].defaultValue, back.defaultValue);
        EXPECT_EQ(rows[i].dataText, back.dataText);
        EXPECT_EQ(rows[i].dataIcon, back.dataIcon);
        EXPECT_EQ(rows[i].dangerIcon, back.dangerIcon);
    }
    auto fileinfo = TipFile::ReadSection(target, TipFile::FileinfoSection);
    EXPECT_EQ((std::vector<std::pair<std::wstring, std::wstring>>{
                  {L"Use", L"简短说明"}, {L"author", L"作者"}, {L"Web", L"https://example.com/"}, {L"email", L""},
                  {L"other", L"其它"}}),
              fileinfo);

    // No rows: only Fileinfo.
    ASSERT_TRUE(DataFileExport::Write(target, {}, {}, info));
    EXPECT_EQ(std::vector<std::wstring>{TipFile::FileinfoSection}, Ini::Sections(target));
    EXPECT_EQ((std::vector<std::wstring>{L"out.upd"}), FilesIn(dir));
}

// The file built in memory is byte for byte what the profile writer makes of
// the same writes into a new file, a doubled name (any case) included.
TEST_F(ExportFileTest, TipDataFileBytesAreThoseOfTheProfileWriter) {
    std::vector<TipRow::Cells> rows{Row(K, L"v", L"2", L"1", L"甲"), Row(K, L"", L"0", L"默认", L"Ab"),
                                    Row(K + L"\\子键", L"名", L"3", L"%a%", L"乙", L"说明"),
                                    Row(K, L"w", L"1", Delete, L"aB")};
    std::vector<std::wstring> options{Options(L"开", L"1"), L"", Options(L"x", L"%a%"), Options(L"删", Delete)};
    DataFileExport::FileInfo info{L"用途", L"", L"https://example.com/", L"a@example.com", L" 其它 "};
    std::optional<std::string> bytes = DataFileExport::Build(rows, options, info);
    ASSERT_TRUE(bytes);

    const std::wstring viaProfile = Path(L"profile.upd");
    const std::wstring mirror = kMirror;
    for (const auto& r : rows)
        ASSERT_TRUE(Ini::Write(viaProfile, TipFile::DataSection, r.name,
                               TipFile::EncodeRecord(TipRow::RecordFromCells(r))));
    for (size_t i = 0; i < rows.size(); ++i) ASSERT_TRUE(Ini::Write(viaProfile, mirror, rows[i].name, options[i]));
    for (const auto& [k, v] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"Use", L"用途"}, {L"author", L""}, {L"Web", L"https://example.com/"}, {L"email", L"a@example.com"},
             {L"other", L"其它"}})
        ASSERT_TRUE(Ini::Write(viaProfile, TipFile::FileinfoSection, k, v));
    EXPECT_EQ(ReadBytes(viaProfile), *bytes);
}

TEST_F(ExportFileTest, TipDataFileExportOntoItsOwnSourceKeepsTheOptionLists) {
    const std::wstring source = Path(L"shown.upd");
    TipFile::TipRecord r{K, L"v", L"开", L"1", L"2", L"d", L"1"};
    ASSERT_TRUE(TipFile::WriteTip(source, TipFile::DataSection, L"甲", TipFile::EncodeRecord(r), Options(L"开", L"1")));
    ASSERT_TRUE(TipFile::WriteTip(source, TipFile::DataSection, L"乙", TipFile::EncodeRecord(r), Options(L"关", L"0")));
    std::vector<TipRow::Cells> rows{Row(K, L"v", L"2", L"1", L"乙"), Row(K, L"w", L"0", L"x", L"丙")};

    std::vector<std::wstring> options = DataFileExport::OptionLists(source, TipFile::DataSection, rows);
    EXPECT_EQ((std::vector<std::wstring>{Options(L"关", L"0"), L""}), options);
    ASSERT_TRUE(DataFileExport::Write(source, rows, options, kInfo));
    EXPECT_EQ(Options(L"关", L"0"), Ini::Read(source, kMirror, L"乙"));
    EXPECT_EQ((std::vector<std::wstring>{L"乙", L"丙"}), Ini::Keys(source, TipFile::DataSection));
}

TEST_F(ExportFileTest, TipDataFileExportFailureKeepsTheOldFile) {
    const std::wstring target = Path(L"old.upd");
    const std::string old = "[\xCA\xFD\xBE\xDD]\r\nkeep=1\r\n";
    WriteBytes(target, old);
    std::vector<TipRow::Cells> good{Row(K, L"v", L"0", L"x", L"好")};
    struct Case {
        const char* what;
        std::vector<TipRow::Cells> rows;
        std::vector<std::wstring> options;
        DataFileExport::FileInfo info;
    } cases[] = {
        {"a name the file cannot hold", {Row(K, L"v", L"0", L"x", L"a=b")}, {L""}, kInfo},
        {"a name with a FieldMark", {Row(K, L"v", L"0", L"x", L"a" + FM)}, {L""}, kInfo},
        {"a character the code page lacks", {Row(K, L"v", L"0", L"\U0001F600", L"表情")}, {L""}, kInfo},
        {"a line break in Fileinfo", good, {L""}, {L"u", L"a\r\nb", L"", L"", L""}},
        {"options do not match the rows", good, {}, kInfo},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(DataFileExport::Write(target, c.rows, c.options, c.info)) << c.what;
        EXPECT_EQ(old, ReadBytes(target)) << c.what;
    }
    {
        Held held(target);
        ASSERT_NE(INVALID_HANDLE_VALUE, held.h);
        EXPECT_FALSE(DataFileExport::Write(target, good, {L""}, kInfo));
    }
    EXPECT_EQ(old, ReadBytes(target));
    EXPECT_FALSE(DataFileExport::Write(Path(L"missing\\a.upd"), good, {L""}, kInfo));
    EXPECT_EQ((std::vector<std::wstring>{L"old.upd"}), FilesIn(dir));
}
