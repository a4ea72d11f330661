// config.ini through common/Config: the reading rules over stored texts, the
// table's own consistency, and writes that report a file that cannot be written.
#include "common/Config.h"
#include "common/Ini.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <set>

class ConfigTest : public QuorixTest {};

TEST_F(ConfigTest, EveryRuleReadsTheStoredTextAlike) {
    // One key of each rule holds the same stored text (nullptr: the key is absent).
    struct Case {
        const wchar_t* stored;
        double number;
        long long whole;
        bool positive, nonzero, oneOrEmpty;
    } cases[] = {
        {nullptr, 0, 0, false, false, true},  {L"", 0, 0, false, false, true},
        {L"0", 0, 0, false, false, false},    {L"1", 1, 1, true, true, true},
        {L"2", 2, 2, true, true, false},      {L"0.5", 0.5, 0, true, true, false},
        {L"1.5", 1.5, 2, true, true, false},  {L"2.5", 2.5, 2, true, true, false},
        {L"-1", -1, -1, false, true, false},  {L"-0.5", -0.5, 0, false, true, false},
        {L"abc", 0, 0, false, false, false},  {L" 2600 ", 2600, 2600, true, true, false},
        {L"1.5x", 1.5, 2, true, true, false}, {L"1x", 1, 1, true, true, true},
        {L"+3", 3, 3, true, true, false},     {L".5", 0.5, 0, true, true, false},
    };
    const Config::Key& positive = Config::SaveHistory;
    const Config::Key& nonzero = Config::Choice;
    const Config::Key& oneOrEmpty = Config::Tip;
    ASSERT_EQ(Config::Rule::OnWhenPositive, positive.rule);
    ASSERT_EQ(Config::Rule::OnWhenNonzero, nonzero.rule);
    ASSERT_EQ(Config::Rule::OnWhenOneOrEmpty, oneOrEmpty.rule);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? Text::ToAnsi(c.stored) : "absent");
        for (const Config::Key* k : {&positive, &nonzero, &oneOrEmpty, &Config::FileListHeight, &Config::View}) {
            if (c.stored)
                ASSERT_TRUE(Config::Write(*k, c.stored));
            else
                ASSERT_TRUE(Ini::DeleteKey(Config::Path(), k->section, k->name));
        }
        EXPECT_EQ(c.positive, Config::On(positive));
        EXPECT_EQ(c.nonzero, Config::On(nonzero));
        EXPECT_EQ(c.oneOrEmpty, Config::On(oneOrEmpty));
        EXPECT_DOUBLE_EQ(c.number, Config::Number(Config::FileListHeight));
        EXPECT_EQ(c.whole, Config::Whole(Config::View));
    }
    // A missing file reads as all keys empty.
    ASSERT_TRUE(DeleteFileW(Config::Path().c_str()));
    EXPECT_FALSE(Config::FileExists());
    EXPECT_FALSE(Config::On(Config::SaveLog));
    EXPECT_FALSE(Config::On(Config::Listview_1));
    EXPECT_TRUE(Config::On(Config::Form2Visible));
}

TEST_F(ConfigTest, TheTableNamesEachKeyOnceWithADefaultItsRuleReads) {
    std::set<std::wstring> seen;
    int newFile = 0;
    for (const Config::Key* k : Config::All()) {
        SCOPED_TRACE(Text::ToAnsi(k->name));
        EXPECT_TRUE(seen.insert(Text::UpperCase(std::wstring(k->section) + L"/" + k->name)).second) << "named twice";
        if (k->when == Config::Default::None) {
            EXPECT_EQ(nullptr, k->value);
            continue;
        }
        EXPECT_EQ(std::wstring(Config::DataSection), k->section);
        if (k->when == Config::Default::NewFile) ++newFile;
        if (!k->value) continue;  // worked out when written (the centred position)
        // A default is a plain number the rule reads as itself.
        EXPECT_EQ(k->value, Config::Measure(Config::NumberOf(k->value)));
    }
    EXPECT_EQ(20, newFile) << "the new-file defaults";
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(L"ColumnHeader(" + std::to_wstring(c) + L")", Config::ColumnHeader(c).name);
}

TEST_F(ConfigTest, WritesReportAFileThatCannotBeWritten) {
    ASSERT_TRUE(Config::WriteMeasure(Config::Top_1, 3367.5));
    EXPECT_EQ(L"3367.5", Config::Read(Config::Top_1));
    ASSERT_TRUE(Config::WriteInt(Config::TreeIndex, -2));
    EXPECT_EQ(-2, Config::Number(Config::TreeIndex));
    ASSERT_TRUE(Config::WriteEntry(Config::FavoriteSection, L"网络\\子类", L"x"));
    EXPECT_EQ(std::vector<std::wstring>{L"网络\\子类"}, Config::KeysOf(Config::FavoriteSection));
    EXPECT_FALSE(Config::Write(Config::Choice, L"1\r\n[Data]")) << "text that would break the file";
    EXPECT_EQ(L"", Config::Read(Config::Choice));
    // A settings file that cannot be written: a folder stands in its place.
    ASSERT_TRUE(DeleteFileW(Config::Path().c_str()));
    ASSERT_TRUE(CreateDirectoryW(Config::Path().c_str(), nullptr));
    EXPECT_FALSE(Config::Write(Config::Choice, L"0"));
    EXPECT_FALSE(Config::WriteEntry(Config::FilelistSection, L"c:\\a.upd", L"Quorix"));
    EXPECT_FALSE(Config::FileExists());
    EXPECT_EQ(Config::FileState::Folder, Config::State());
    // Nothing can be read from it: a key reads as a new file has it.
    EXPECT_EQ(L"1", Config::Read(Config::Choice));
    RemoveDirectoryW(Config::Path().c_str());
}
