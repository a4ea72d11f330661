// The string classes: the word splitter and the replace built on it.
#include "platform/Text.h"
#include "transfer/clsStringAnalyser.h"
#include "transfer/clsStrings.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
// Every word PopWord gives, then "<null>".
std::vector<std::wstring> Words(const std::wstring& text, const std::vector<std::wstring>* delimiters = nullptr,
                                std::optional<bool> ignoreCase = std::nullopt) {
    clsStringAnalyser a;
    std::vector<std::wstring> out;
    auto w = a.PopWord(text, ignoreCase, delimiters);
    for (int guard = 0; w && guard < 100; ++guard, w = a.PopWord()) out.push_back(*w);
    out.push_back(L"<null>");
    return out;
}
}  // namespace

TEST(StringAnalyser, PopWordSplitsIntoAllWordsThenNull) {
    const std::vector<std::wstring> blankComma{L" ", L","};
    const std::vector<std::wstring> abThenA{L"ab", L"a"}, aThenAb{L"a", L"ab"};
    const std::vector<std::wstring> upperX{L"X"};
    struct Case {
        const wchar_t* what;
        std::wstring text;
        const std::vector<std::wstring>* delimiters;
        std::optional<bool> ignoreCase;
        std::vector<std::wstring> words;
    } cases[] = {
        {L"two blanks", L"one  two", nullptr, std::nullopt, {L"one", L"", L"two", L"<null>"}},
        {L"ends in a delimiter", L"one ", nullptr, std::nullopt, {L"one", L"", L"<null>"}},
        {L"one character", L"a", nullptr, std::nullopt, {L"a", L"<null>"}},
        {L"empty", L"", nullptr, std::nullopt, {L"<null>"}},
        {L"only a delimiter", L" ", nullptr, std::nullopt, {L"", L"", L"<null>"}},
        {L"blank and comma", L"ab cd,", &blankComma, std::nullopt, {L"ab", L"cd", L"", L"<null>"}},
        // At one position the later delimiter wins, and its length counts.
        {L"same position, short last", L"xaby", &abThenA, std::nullopt, {L"x", L"by", L"<null>"}},
        {L"same position, long last", L"xaby", &aThenAb, std::nullopt, {L"x", L"y", L"<null>"}},
        {L"ignore case by default", L"axbXc", &upperX, std::nullopt, {L"a", L"b", L"c", L"<null>"}},
        {L"case kept", L"axbXc", &upperX, false, {L"axb", L"c", L"<null>"}},
        {L"Chinese", L"中 文", nullptr, std::nullopt, {L"中", L"文", L"<null>"}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.words, Words(c.text, c.delimiters, c.ignoreCase)) << Text::ToAnsi(c.what);
}

TEST(StringAnalyser, LaterArgumentsAreIgnoredUntilRestart) {
    clsStringAnalyser a;
    EXPECT_EQ(L"a", a.PopWord(std::wstring(L"a b")).value());
    EXPECT_EQ(L"b", a.PopWord(std::wstring(L"x,y")).value());  // a new text counts only after Restart
    EXPECT_FALSE(a.PopWord());
    a.Restart();
    EXPECT_EQ(L"x", a.PopWord(std::wstring(L"x y")).value());
    EXPECT_EQ(L"y", a.PopWord().value());
    EXPECT_FALSE(a.PopWord());
    EXPECT_FALSE(a.PopWord());  // stays ended
}

TEST(Strings, ReplaceString) {
    struct Case {
        std::wstring text, from, to;
        std::optional<bool> ignoreCase;
        std::wstring result;
    } cases[] = {
        {L"\\\\", L"\\", L"\\\\", false, L"\\\\\\\\"},
        {L"C:\\dir\\", L"\\", L"\\\\", false, L"C:\\\\dir\\\\"},
        {L"", L" ", L",", false, L""},
        {L" ", L" ", L",", false, L","},
        {L"01 ab FF", L" ", L",", false, L"01,ab,FF"},
        {L"a\"b", L"\"", L"\\\"", false, L"a\\\"b"},
        {L"aaa", L"aa", L"b", false, L"ba"},  // left to right, no overlaps
        {L"xAbxab", L"AB", L"-", std::nullopt, L"x-x-"},
        {L"xAbxab", L"AB", L"-", false, L"xAbxab"},
        {L"中文中", L"中", L"zh", false, L"zh文zh"},
        {L"abc", L"", L"x", false, L"abc"},  // an empty pattern replaces nothing
    };
    for (const auto& c : cases) {
        std::wstring got = c.ignoreCase ? clsStrings::ReplaceString(c.text, c.from, c.to, *c.ignoreCase)
                                        : clsStrings::ReplaceString(c.text, c.from, c.to);
        EXPECT_EQ(c.result, got) << Text::ToAnsi(c.text) << " / " << Text::ToAnsi(c.from);
    }
}

TEST(Strings, CaseFunctionsAndIsCharIn) {
    EXPECT_EQ(L"Hello World 2x", clsStrings::Proper(L"hELLO wORLD 2x"));
    EXPECT_EQ(L"Ab\tCd", clsStrings::Proper(L"aB\tcD"));
    EXPECT_EQ(L"hELLO 123 wORLD 中", clsStrings::ToGgLeCaSe(L"Hello 123 World 中"));

    using V = std::vector<std::wstring>;
    struct Case {
        std::wstring input;
        V allowed;
        bool in;
    } cases[] = {
        {L"", {L" "}, true},
        {L"", {L"Alphabetic"}, false},
        {L"q1", {L"alphabetic"}, true},
        {L"Z", {L"ALPHABETIC"}, true},
        {L"7a", {L"Numeric"}, true},
        {L"a7", {L"numeric"}, false},
        {L"x", {L"Numeric", L"X"}, true},  // another entry: its first character, any case
        {L"-", {L"Alphabetic", L"Numeric"}, false},
        {L"中", {L"中文"}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.in, clsStrings::IsCharIn(c.input, c.allowed)) << Text::ToAnsi(c.input);
}
