#include "core/catalogue/Tokenizer.h"
#include "core/text/LineReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

namespace cw {
namespace {

using Slots = std::vector<std::string>;

// The slots up to the last non-empty one; an empty slot in between stays "".
Slots split(std::string_view line, SplitMode mode = SplitMode::FullSplit)
{
    auto result = splitLine(line, mode);
    EXPECT_TRUE(result.ok()) << "refused: " << line;
    if (!result)
        return {};
    Slots out;
    for (int i = 0; i < result->usedCount(); ++i)
        out.emplace_back((*result)[i]);
    return out;
}

bool refused(std::string_view line, SplitMode mode = SplitMode::FullSplit)
{
    auto result = splitLine(line, mode);
    if (result)
        return false;
    EXPECT_EQ(result.error().message, kTokenizerMessage);
    return true;
}

std::string words(int count, std::string_view separator = " ")
{
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (i)
            line += separator;
        line += static_cast<char>('a' + i % 26);
    }
    return line;
}

struct Example
{
    SplitMode mode;
    std::string line;
    Slots slots;
};

class TokenizerTable : public ::testing::TestWithParam<Example>
{
};

TEST_P(TokenizerTable, splitsBlanksQuotesCommentsAndTheRestOfALine)
{
    EXPECT_EQ(split(GetParam().line, GetParam().mode), GetParam().slots) << GetParam().line;
}

constexpr auto Full = SplitMode::FullSplit;
constexpr auto Key = SplitMode::KeyAndRest;

INSTANTIATE_TEST_SUITE_P(
    LinesOfEachKind, TokenizerTable,
    ::testing::Values(
        Example{Full, "Foo 1 2", {"Foo", "1", "2"}}, Example{Full, "Foo \"a b\" 3", {"Foo", "a b", "3"}},
        Example{Full, "Foo \"a b\"", {"Foo", "a b"}}, Example{Full, "\tFoo\t\t7\t", {"Foo", "7"}},
        Example{Full, "#note", {"#", "note"}}, Example{Full, "Foo 5 #note", {"Foo", "5", "#", "note"}},
        Example{Full, "Foo ab#cd", {"Foo", "ab", "#", "cd"}}, Example{Full, "Foo 5#", {"Foo", "5#"}},
        Example{Full, "Foo \"a \"", {"Foo", "a "}}, Example{Full, "Foo \"ab cd", {"Foo", "ab c"}},
        Example{Key, "KEY  Some text, # here  ", {"KEY", "Some text, # here  "}},
        Example{Key, "#KEY text", {}}, Example{Key, "KEY", {"KEY"}}));

INSTANTIATE_TEST_SUITE_P(QuoteQuirks, TokenizerTable,
                         ::testing::Values(
                             // Removal takes the token's first and last character, wherever its quotes were.
                             Example{Full, "a\"b c\"d e", {"\"b c\"", "e"}},
                             // A quote as the last character of the line is an ordinary character.
                             Example{Full, "x \"", {"x", "\""}}, Example{Full, "say\"", {"say\""}},
                             // An unclosed quote runs to the end of the line and loses the last character.
                             Example{Full, "\"ab", {"a"}},
                             // One quote and one more character: the token loses both (an empty slot).
                             Example{Full, "x \"b", {"x"}},
                             // After three quotes nothing groups any more.
                             Example{Full, "\"a\"b\" c \"d e\"", {"\"a\"b\"", "c", "\"d", "e\""}},
                             // Two quoted tokens in a row.
                             Example{Full, "\"a\" \"b\"", {"a", "b"}},
                             // A "#" inside quotes still starts a comment; the open token ends
                             // there, its blank kept, as an unclosed quote keeps it.
                             Example{Full, "Say \"a # b\"", {"Say", "\"a ", "#", " b\""}},
                             // The quoted key of a strings line loses its quotes; the rest keeps its own.
                             Example{Key, "\"two words\" text", {"two words", "text"}},
                             Example{Key, "LOC_C \"quoted\"", {"LOC_C", "\"quoted\""}}));

INSTANTIATE_TEST_SUITE_P(
    Blanks, TokenizerTable,
    ::testing::Values(Example{Full, "", {}}, Example{Key, "", {}}, Example{Full, " ", {}},
                      Example{Key, " ", {}}, Example{Full, "x", {"x"}}, Example{Key, "x", {"x"}},
                      Example{Full, "#", {"#"}}, Example{Key, "#", {}},
                      // A comment keeps every blank after the "#".
                      Example{Full, "#  spaced  ", {"#", "  spaced  "}},
                      // Only space and tab separate: a no-break space, LF and CR are token bytes.
                      Example{Full,
                              "a\xA0"
                              "b c\nd",
                              {"a\xA0"
                               "b",
                               "c\nd"}},
                      Example{Full, "\x80\xFF \x01", {"\x80\xFF", "\x01"}},
                      Example{Key, "  \tKEY\t  rest  of it", {"KEY", "rest  of it"}},
                      Example{Key, "KEY x", {"KEY", "x"}},
                      // In key mode "#" only matters as the very first character.
                      Example{Key, "  #x text", {"#x", "text"}}, Example{Key, "# text", {}},
                      Example{Key, "KEY # not a comment", {"KEY", "# not a comment"}}));

// The game reads on past a "#" glued to a word, so that word is kept: it ends as at a
// blank (a pair of quotes comes off it) and takes its slot like any other.
INSTANTIATE_TEST_SUITE_P(GluedHash, TokenizerTable,
                         ::testing::Values(Example{Full,
                                                   "CamMove demo_gate 3#slowly",
                                                   {"CamMove", "demo_gate", "3", "#", "slowly"}},
                                           Example{Full, "CamMove m#5", {"CamMove", "m", "#", "5"}},
                                           Example{Full, "Foo \"a b\"#c", {"Foo", "a b", "#", "c"}},
                                           Example{Full, "x#", {"x#"}},
                                           Example{Full, "Foo ab# ", {"Foo", "ab", "#", " "}},
                                           Example{Full, "a##b", {"a", "#", "#b"}}));

TEST(Tokenizer, gluedHash_isTold_onlyWhereAWordEndedAtIt)
{
    const auto flag = [](std::string_view line) {
        return splitLine(line, SplitMode::FullSplit)->gluedHash;
    };
    EXPECT_TRUE(flag("CamMove m#5"));
    EXPECT_TRUE(flag("Say \"a # b\""));
    EXPECT_FALSE(flag("CamMove m 5 # five"));
    EXPECT_FALSE(flag("#CamMove m#5"));
    EXPECT_FALSE(flag("CamMove m5#"));
}

// Keeping the glued word changes only lines with a word glued to a "#": of the files the
// program ships, only the Checker Demo's deliberate mistake.
TEST(Tokenizer, shippedFiles_readAsBefore_butTheGluedHashOfTheCheckerDemo)
{
    namespace fs = std::filesystem;
    const fs::path source(CUEWRIGHT_SOURCE_DIR);
    std::vector<fs::path> files = {source / "data/commands.txt"};
    for (const auto &mod : fs::directory_iterator(source / "examples/gameroot/mods")) {
        if (fs::is_directory(mod.path() / "scripts"))
            for (const auto &script : fs::directory_iterator(mod.path() / "scripts"))
                files.push_back(script.path());
    }
    std::vector<std::string> glued;
    for (const fs::path &file : files) {
        const std::string bytes = test::readBytes(file);
        LineReader reader(bytes, LineEnds::Any);
        std::string_view line;
        while (reader.next(line)) {
            auto slots = splitLine(line, SplitMode::FullSplit);
            if (slots && slots->gluedHash)
                glued.push_back(file.filename().string() + ":" + std::to_string(reader.lineNumber()));
        }
    }
    EXPECT_GE(files.size(), 11u);
    EXPECT_EQ(glued, std::vector<std::string>{"broken_cutscene.txt:14"});
}

TEST(Tokenizer, twentyOneTokens_fillEverySlot)
{
    const auto slots = split(words(21));
    ASSERT_EQ(slots.size(), 21u);
    EXPECT_EQ(slots.front(), "a");
    EXPECT_EQ(slots.back(), "u");
}

TEST(Tokenizer, twentySecondToken_isRefused)
{
    EXPECT_TRUE(refused(words(22)));
    EXPECT_TRUE(refused(words(40, "\t")));
    // The 22nd token may also be the line's last single character.
    EXPECT_TRUE(refused(words(21) + " z"));
}

TEST(Tokenizer, commentNeedingTheTwentySecondSlot_isRefused)
{
    // "#" lands in slot 20, but its remainder has no slot left.
    EXPECT_TRUE(refused(words(20) + " #x"));
    // A word glued to the "#" needs its slot too.
    EXPECT_TRUE(refused(words(19) + " x#y"));
    // With 19 tokens both fit.
    const auto slots = split(words(19) + " #x");
    ASSERT_EQ(slots.size(), 21u);
    EXPECT_EQ(slots[19], "#");
    EXPECT_EQ(slots[20], "x");
}

TEST(Tokenizer, keyAndRest_neverRefuses)
{
    EXPECT_EQ(split(words(200), Key).size(), 2u);
}

TEST(Tokenizer, fileWithLineFeedsOnly_isOneLongRefusedLine)
{
    std::string file;
    for (int i = 0; i < 12; ++i)
        file += "CamMove mount 2.5\n";
    EXPECT_TRUE(refused(file));
}

TEST(Tokenizer, withoutExiting_dropsOnlyTheClosingWord)
{
    EXPECT_EQ(
        withoutExiting(kTokenizerMessage),
        "Crazy broken detected! Usually caused by opening Insurrection or other non lamewindows formatted "
        "files!");
    EXPECT_EQ(withoutExiting("Something else"), "Something else");
}

} // namespace
} // namespace cw
