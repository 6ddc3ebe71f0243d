#include "core/text/GameText.h"

#include <gtest/gtest.h>

#include <string>

namespace cw {
namespace {

// Words joined by "|", as the game splits each line, and whether a "#" is glued to one.
TEST(GameText, wordsAsTheGameSplitsThem)
{
    struct Case
    {
        const char *line;
        const char *words;
        bool glued;
    };
    const Case cases[] = {
        {"CamMove\tgate   2.5\r", "CamMove|gate|2.5", false},
        {"CamMove gate:2,x", "CamMove|gate|2|x", false},
        {"CamMove \"gate\" 2", "CamMove|\"gate\"|2", false},
        {"Wait 2 # two seconds", "Wait|2", false},
        {"CamMove m#x 3", "CamMove|m|x|3", true},
        {"Wait 2#no comment", "Wait|2|no|comment", true},
        {"Wait 2## comment", "Wait|2", true},
        {"   #Wait 2", "", false},
    };
    for (const Case &c : cases) {
        std::string joined;
        for (std::string_view word : gameWords(c.line))
            joined += (joined.empty() ? "" : "|") + std::string(word);
        EXPECT_EQ(joined, c.words) << c.line;
        EXPECT_EQ(hasGluedHash(c.line), c.glued) << c.line;
    }
}

} // namespace
} // namespace cw
