#include "core/strings/CaptionLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cw {
namespace {

std::string run(char c, std::size_t count)
{
    return std::string(count, c);
}

// Thirteen words of 79 characters, each with the blank after it: 1,040 characters.
std::string thirteenLongWords()
{
    std::string text;
    for (int i = 0; i < 13; ++i)
        text += run('c', 79) + " ";
    return text;
}

std::string numberedLines(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += (i > 1 ? "\\nline " : "line ") + std::to_string(i);
    return text;
}

std::vector<std::string> numberedLayout(int count)
{
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i)
        lines.push_back("line " + std::to_string(i) + (i < count ? " " : ""));
    return lines;
}

struct LayoutCase
{
    const char *what;
    std::string text;
    CaptionMode mode;
    std::vector<std::string> lines;
    std::size_t firstShown;
    std::size_t shownCount;
    std::vector<LostText> lost = {};
    bool cut = false;
};

constexpr CaptionMode kNormal = CaptionMode::Normal;
constexpr CaptionMode kCutscene = CaptionMode::Cutscene;

TEST(CaptionLayout, linesAsTheGameWrapsThem_andTheOnesThatShow)
{
    const LayoutCase cases[] = {
        {"short", "Hello there.", kNormal, {"Hello there."}, 0, 1},
        {"empty", "", kNormal, {}, 0, 0},
        {"N - 1 fits", run('a', 80), kNormal, {run('a', 80)}, 0, 1},
        {"no blank: cut at N - 1", run('a', 81), kNormal, {run('a', 80)}, 0, 1, {{0, run('a', 81), "a"}}},
        {"the rest up to the break is lost",
         run('a', 85) + " more words\\nnext",
         kNormal,
         {run('a', 80), "next"},
         0,
         2,
         {{0, run('a', 85), "aaaaa more words "}}},
        {"the blank it breaks at goes",
         run('a', 40) + " " + run('b', 45),
         kNormal,
         {run('a', 40), run('b', 45)},
         0,
         2},
        {"a blank at N - 2 still breaks", run('a', 79) + " bbbbb", kNormal, {run('a', 79), "bbbbb"}, 0, 2},
        {"a blank at N - 1 is too late",
         run('a', 80) + " bbbbb",
         kNormal,
         {run('a', 80)},
         0,
         1,
         {{0, run('a', 80), " bbbbb"}}},
        {"later lines wrap too",
         "one " + run('x', 78) + " two three",
         kNormal,
         {"one", run('x', 78), "two three"},
         0,
         3},
        {"\\n is a blank and a break", "one\\ntwo", kNormal, {"one ", "two"}, 0, 2},
        {"two breaks leave a blank line", "a\\n\\nb", kNormal, {"a ", " ", "b"}, 0, 3},
        {"a last break starts no line", "end\\n", kNormal, {"end "}, 0, 1},
        // The blank of a "\n" goes with the cut, but no word does.
        {"a word of N - 1 before a break", run('a', 80) + "\\nb", kNormal, {run('a', 80), "b"}, 0, 2},
        {"markup expanded first",
         "Press [KEYSepulvedaHelp] for [part_help]\\n[IFMODE KEYBOARD]keys[ELSE]pad[ENDIF], "
         "[KEYIconsTaskManagerDisplay]",
         kNormal,
         {"Press H for my help ", "keys, tab"},
         0,
         2},
        {"cut at 1,023 characters",
         thirteenLongWords(),
         kNormal,
         {run('c', 79), run('c', 79), run('c', 79), run('c', 79), run('c', 79), run('c', 79), run('c', 79),
          run('c', 79), run('c', 79), run('c', 79), run('c', 79), run('c', 79), run('c', 63)},
         2,
         11,
         {},
         true},
        {"normal: the last 11 show", numberedLines(12), kNormal, numberedLayout(12), 1, 11},
        {"normal: 11 all show", numberedLines(11), kNormal, numberedLayout(11), 0, 11},
        {"cutscene: the first 9 show", numberedLines(10), kCutscene, numberedLayout(10), 0, 9},
        {"cutscene: 9 all show", numberedLines(9), kCutscene, numberedLayout(9), 0, 9},
        {"cutscene wraps at 54", run('a', 52) + " x", kCutscene, {run('a', 52), "x"}, 0, 2},
        {"cutscene cuts at 53",
         run('a', 53) + " x",
         kCutscene,
         {run('a', 53)},
         0,
         1,
         {{0, run('a', 53), " x"}}},
        {"the same word fits a normal line", run('a', 53) + " x", kNormal, {run('a', 53) + " x"}, 0, 1},
    };
    const PhraseLookup phrase = [](std::string_view name) {
        return name == "part_help" ? GameStrings::Said{GameStrings::Found::Text, "my help"}
                                   : GameStrings::Said{GameStrings::Found::Missing, {}};
    };
    for (const LayoutCase &c : cases) {
        const CaptionLayout layout = layOutCaption(c.text, phrase, c.mode);
        EXPECT_EQ(layout.lines, c.lines) << c.what;
        EXPECT_EQ(layout.firstShown, c.firstShown) << c.what;
        EXPECT_EQ(layout.shownCount, c.shownCount) << c.what;
        EXPECT_EQ(layout.hidden(), c.lines.size() - c.shownCount) << c.what;
        EXPECT_EQ(layout.lost, c.lost) << c.what;
        EXPECT_EQ(layout.cut, c.cut) << c.what;
        EXPECT_FALSE(layout.unclosed) << c.what;
    }
}

TEST(CaptionLayout, anUnclosedBracketShowsNothing)
{
    const CaptionLayout layout = layOutCaption("Press [KEYJump to jump", {}, kNormal);
    EXPECT_TRUE(layout.unclosed);
    EXPECT_TRUE(layout.lines.empty());
    EXPECT_TRUE(layout.shown().empty());
}

} // namespace
} // namespace cw
