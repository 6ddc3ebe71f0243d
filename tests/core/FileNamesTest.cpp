#include "core/io/FileNames.h"

#include <gtest/gtest.h>

#include <string>

namespace cw {
namespace {

// Each refusal has one cause, which the user is told.
TEST(FileNames, eachUnfitNameHasItsCause)
{
    const std::pair<std::string, NameProblem> cases[] = {
        {"intro.txt", NameProblem::None},
        {"console.txt", NameProblem::None},
        {"", NameProblem::Empty},
        {"..", NameProblem::Reserved},
        {"a/b.txt", NameProblem::Reserved},
        {"what?.txt", NameProblem::Reserved},
        {"tab\tname", NameProblem::ControlCharacter},
        {"trailing.", NameProblem::TrailingBlankOrDot},
        {"trailing ", NameProblem::TrailingBlankOrDot},
        {"Lpt1.log", NameProblem::DeviceName},
        {std::string(256, 'x'), NameProblem::TooLong},
    };
    for (const auto &[name, problem] : cases)
        EXPECT_EQ(plainFileNameProblem(name), problem) << name;
}

TEST(PlainFileName, acceptsOrdinaryNames_andRefusesAnythingThatLeavesTheFolder)
{
    const auto fits = [](std::string_view name) {
        return plainFileNameProblem(name) == NameProblem::None;
    };
    for (const char *name : {"intro.txt", "Intro Two.txt", "no_extension", ".hidden.txt", "caf\xC3\xA9.txt",
                             "console.txt", "com10.txt", "a.b.c"})
        EXPECT_TRUE(fits(name)) << name;
    for (const char *name :
         {"",          ".",         "..",        "../x.txt", "a/b.txt", "a\\b.txt", "/abs.txt",
          "C:x.txt",   "a<b",       "a>b",       "a\"b",     "a|b",     "a?b",      "a*b",
          "tab\tname", "trailing.", "trailing ", "CON",      "con.txt", "Lpt1.log", "nul"})
        EXPECT_FALSE(fits(name)) << name;
    EXPECT_TRUE(fits(std::string(255, 'x')));
    EXPECT_FALSE(fits(std::string(256, 'x')));
}

// A name given for an entry that may exist only has to name one entry of a folder here.
TEST(PlainFileName, onThisSystem_acceptsOneEntryOfAFolder_andNothingThatLeavesIt)
{
    const auto fits = [](std::string_view name) {
        return plainFileNameProblem(name, NameRules::ThisSystem) == NameProblem::None;
    };
    for (const char *name :
         {"intro.txt", "Garden Return", "caf\xE9.txt", "caf\xC3\xA9.txt", ".hidden", "...", "trailing."})
        EXPECT_TRUE(fits(name)) << name;
    for (const char *name :
         {"", ".", "..", "../strings_default.txt", "/etc/hostname", "a/b", "a\\b", "scripts/", "/"})
        EXPECT_FALSE(fits(name)) << name;
        // On Windows "a:b.txt" is b.txt in the current folder of drive A:.
#ifdef _WIN32
    EXPECT_FALSE(fits("a:b.txt"));
    EXPECT_FALSE(fits("C:"));
#else
    EXPECT_TRUE(fits("a:b.txt"));
#endif
    EXPECT_FALSE(fits(std::string_view("a\0/x", 4)));
    EXPECT_FALSE(fits(std::string_view("a\0x", 3)));
}

TEST(MatchesPattern, wildcardsWithoutCase)
{
    EXPECT_TRUE(matchesPattern("intro.txt", "*.txt"));
    EXPECT_TRUE(matchesPattern("INTRO.TXT", "*.txt"));
    EXPECT_TRUE(matchesPattern(".txt", "*.txt"));
    EXPECT_FALSE(matchesPattern("intro.txt.bak", "*.txt"));
    EXPECT_FALSE(matchesPattern("intro.tx", "*.txt"));
    EXPECT_TRUE(matchesPattern("a.b.txt", "*.txt"));
    EXPECT_TRUE(matchesPattern("anything", "*"));
    EXPECT_TRUE(matchesPattern("map1", "map?"));
    EXPECT_FALSE(matchesPattern("map", "map?"));
}

TEST(ScriptExtension, isAddedUnlessTheNameEndsInTxtInAnyCase)
{
    const std::pair<const char *, const char *> cases[] = {
        {"first_scene", "first_scene.txt"}, {"a.TXT", "a.TXT"}, {"b.txt", "b.txt"},
        {"c.txt.bak", "c.txt.bak.txt"},     {"txt", "txt.txt"}, {".txt", ".txt"},
    };
    for (const auto &[typed, saved] : cases)
        EXPECT_EQ(withScriptExtension(typed), saved) << typed;
}

} // namespace
} // namespace cw
