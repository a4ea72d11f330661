// The transfer loop writes a target section and its mirror whole, once: the
// files must end up byte for byte as the key-by-key profile writes leave them
// (each tip's record, then its option list; after a cut the source key, then
// its mirror key), on files of every shape.
#include "common/Ini.h"
#include "common/TipFile.h"
#include "platform/Text.h"
#include "support/Fixture.h"
#include "transfer/Transfer.h"

#include <windows.h>

namespace {
const std::string FM = "\xFF", JM = "\x81\x88";
const std::string Data = "\xCA\xFD\xBE\xDD";  // 数据
const std::string Alpha = "\xA6\xC1";          // Greek capital alpha: a letter case only the system compares

std::string Mirror(const std::string& section) { return FM + section + FM; }
std::string Rec(const std::string& tag) {
    return "HKEY_CURRENT_USER\\Software\\QuorixTest" + FM + "v" + FM + "lab" + JM + tag + FM + "0" + FM + "d" + FM + "1";
}
std::string Opt(const std::string& tag) { return FM + "l" + FM + JM + FM + tag + FM; }
// A section and its mirror holding tips named `names`, values tagged `tag` (and the name).
std::string Both(const std::string& section, const std::vector<std::string>& names, const std::string& tag,
                 bool tagOnly = false) {
    std::string s;
    s.append("[").append(section).append("]\r\n");
    for (const auto& n : names) s.append(n).append("=").append(Rec(tagOnly ? tag : tag + n)).append("\r\n");
    s.append("[").append(Mirror(section)).append("]\r\n");
    for (const auto& n : names) s.append(n).append("=").append(Opt(tagOnly ? tag : tag + n)).append("\r\n");
    return s;
}
}  // namespace

class WholeSectionTest : public QuorixTest {};

TEST_F(WholeSectionTest, OneWriteOfEachSectionGivesTheBytesOfKeyByKeyWrites) {
    struct Case {
        const char* what;
        std::string target;       // the target file before
        std::string section;      // the target section
        std::vector<std::string> names;  // pasted, in order
        bool exact;               // whether the one-write path can take the target section
        bool cut = false;
        bool sameFile = false;    // the source section lives in the target file
    } cases[] = {
        {"new tips after existing ones", Both(Data, {"k1", "k2"}, "old"), Data, {"n1", "n2", "n3"}, true},
        {"clashes replaced in place, the rest appended", Both(Data, {"a", "b", "c"}, "old"), Data, {"c", "x", "a"}, true},
        {"existing keys in another letter case keep their spelling", Both(Data, {"ABC", "Def"}, "old"), Data,
         {"abc", "DEF", "ghi"}, true},
        {"a key listed twice: the first takes the value", "[" + Data + "]\r\na=" + Rec("1") + "\r\nA=" + Rec("2") +
         "\r\n[" + Mirror(Data) + "]\r\na=" + Opt("1") + "\r\n", Data, {"a", "b"}, true},
        {"the same values again: nothing changes", Both(Data, {"a", "b"}, "src", true), Data, {"a", "b"}, true},
        {"empty section and mirror", "[Fileinfo]\r\nauthor=me\r\n[" + Data + "]\r\n[" + Mirror(Data) + "]\r\n[z]\r\nq=1\r\n",
         Data, {"n1", "n2"}, true},
        {"missing section and mirror", "[Fileinfo]\r\nauthor=me\r\n", Data, {"n1", "n2"}, true},
        {"missing mirror section", "[" + Data + "]\r\nk=" + Rec("old") + "\r\n[z]\r\nq=1\r\n", Data, {"k", "n1"}, true},
        {"the section named in other letter case", Both("SUB", {"a"}, "old") + "[tail]\r\nt=1\r\n", "sub",
         {"a", "b"}, true},
        {"keys before the first section and comment-like keys", "lead=1\r\n[" + Data + "]\r\n;c=1\r\nk=" + Rec("old") +
         "\r\n[" + Mirror(Data) + "]\r\nk=" + Opt("old") + "\r\n", Data, {"k", "n"}, true},
        // Files the one write cannot answer for: the tips go key by key, with the same result.
        {"sections of the same name differing in case", Both("sub", {"a"}, "one") + Both("SUB", {"b"}, "two"), "sub",
         {"a", "b", "c"}, false},
        {"blank lines and blanks around the marks", "[" + Data + "]\r\n\r\n k = " + Rec("old") + "\r\n[" + Mirror(Data) +
         "]\r\n", Data, {"k", "n"}, false},
        {"a line without a value", "[" + Data + "]\r\nbare\r\nk=" + Rec("old") + "\r\n", Data, {"k", "n"}, false},
        {"a key with a cased letter beyond ASCII", Both(Data, {"x" + Alpha}, "old"), Data, {"n"}, false},
        // A name only the system can match arrives half way: the rest goes key by key.
        {"a pasted name with a cased letter beyond ASCII", Both(Data, {"k"}, "old"), Data, {"n1", "m" + Alpha, "k", "n2"},
         true},
        // Cuts: the source keys go after the tips are written.
        {"a cut from another file", Both(Data, {"a"}, "old"), Data, {"a", "n1", "n2"}, true, true},
        {"a cut between two sections of one file", Both(Data, {"a"}, "old"), "sub", {"n1", "a", "n2"}, true, true, true},
        {"a cut into a file in another form", "[" + Data + "]\r\n\r\n k = " + Rec("old") + "\r\n[" + Mirror(Data) +
         "]\r\n", "sub", {"n1", "k", "n2", "n3"}, false, true, true},
        {"a cut emptying its source section", Both(Data, {"k"}, "old"), "sub", {"s1", "s2", "s3"}, true, true, true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ++index;
        // The source: every pasted name, plus one that stays.
        std::vector<std::string> srcNames = c.names;
        if (c.names[0] != "s1") srcNames.push_back("stays");  // "s..": every source key is cut
        const std::string srcSection = c.sameFile ? std::string("src") : Data;
        const std::string source = Both(srcSection, srcNames, "src", true);

        // Key by key, as the profile functions are called one tip at a time.
        const std::wstring refTarget = Path(L"ref" + std::to_wstring(index) + L".qix");
        const std::wstring refSource = c.sameFile ? refTarget : Path(L"refsrc" + std::to_wstring(index) + L".qix");
        WriteBytes(refTarget, c.target + (c.sameFile ? source : ""));
        if (!c.sameFile) WriteBytes(refSource, source);
        const std::string t = Ansi(refTarget), s = Ansi(refSource);
        for (const auto& n : c.names) {
            ASSERT_TRUE(WritePrivateProfileStringA(c.section.c_str(), n.c_str(), Rec("src").c_str(), t.c_str()));
            ASSERT_TRUE(WritePrivateProfileStringA(Mirror(c.section).c_str(), n.c_str(), Opt("src").c_str(), t.c_str()));
            if (c.cut) {
                WritePrivateProfileStringA(srcSection.c_str(), n.c_str(), nullptr, s.c_str());
                WritePrivateProfileStringA(Mirror(srcSection).c_str(), n.c_str(), nullptr, s.c_str());
            }
        }

        // The transfer loop, every clash replaced as after 全部.
        const std::wstring target = Path(L"dst" + std::to_wstring(index) + L".qix");
        const std::wstring sourceFile = c.sameFile ? target : Path(L"src" + std::to_wstring(index) + L".qix");
        WriteBytes(target, c.target + (c.sameFile ? source : ""));
        if (!c.sameFile) WriteBytes(sourceFile, source);
        EXPECT_EQ(c.exact, Ini::SectionEdit(target, Text::FromAnsi(c.section)).Exact() &&
                               Ini::SectionEdit(target, Text::FromAnsi(Mirror(c.section))).Exact());
        Transfer::Source src;
        src.file = sourceFile;
        src.section = Text::FromAnsi(srcSection);
        for (const auto& n : c.names) src.names.push_back(Text::FromAnsi(n));
        src.deleteAfterWrite = c.cut;
        Transfer::Target dst{target, Text::FromAnsi(c.section), {}};
        for (const auto& n : Ini::Keys(target, dst.section)) dst.shownNames.push_back(n);
        Transfer::ReplaceAnswer answer = Transfer::ReplaceAnswer::All;
        const Transfer::Counts counts = Transfer::Run(src, dst, answer, nullptr);
        EXPECT_EQ(static_cast<int>(c.names.size()), counts.written);
        EXPECT_EQ(0, counts.Unwritten());
        EXPECT_EQ(0, counts.sourceKept);
        EXPECT_EQ(ReadBytes(refTarget), ReadBytes(target));
        if (!c.sameFile) {
            EXPECT_EQ(ReadBytes(refSource), ReadBytes(sourceFile));
        }
    }
}

TEST_F(WholeSectionTest, AnOptionListSectionThatCannotBeWrittenTakesItsRecordsBack) {
    // The record section is written, the mirror's write fails: the file is as
    // before, whether the section was there or not, and no tip counts as written.
    struct Case {
        const char* what;
        std::string target;
    } cases[] = {
        {"section there", Both(Data, {"a", "k"}, "old") + "[z]\r\nq=1\r\n"},
        {"section missing", "[Fileinfo]\r\nauthor=me\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring target = Path(L"dst.qix"), source = Path(L"src.qix");
        WriteBytes(target, c.target);
        WriteBytes(source, Both(Data, {"a", "b", "c"}, "new"));
        Transfer::Source src;
        src.file = source;
        src.section = TipFile::DataSection;
        src.names = {L"a", L"b", L"c"};
        src.deleteAfterWrite = true;
        Transfer::Target dst{target, TipFile::DataSection, {L"a"}};
        Transfer::ReplaceAnswer answer = Transfer::ReplaceAnswer::All;
        Ini::FailNthWriteForTests(2);
        const Transfer::Counts counts = Transfer::Run(src, dst, answer, nullptr);
        Ini::FailNthWriteForTests(0);
        EXPECT_EQ(0, counts.written);
        EXPECT_EQ(3, counts.failed);
        EXPECT_EQ(c.target, ReadBytes(target));
        EXPECT_EQ(Both(Data, {"a", "b", "c"}, "new"), ReadBytes(source));  // nothing cut
    }
}
