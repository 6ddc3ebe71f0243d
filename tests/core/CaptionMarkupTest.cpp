#include "core/strings/CaptionMarkup.h"

#include <gtest/gtest.h>

#include <map>

namespace cw {
namespace {

struct MarkupCase
{
    const char *text;
    const char *expanded;
    std::size_t shortest;
    std::size_t longest;
    bool unclosed = false;
};

TEST(CaptionMarkup, theLengthIsThatOfTheTextThePlayerSees)
{
    const std::map<std::string, std::string, std::less<>> phrases = {
        {"part_gate", "the gate"}, {"self", "[self]x"}, {"nested", "a [part_gate]"}};
    const PhraseLookup lookUp = [&phrases](std::string_view name) {
        if (name == "unread")
            return GameStrings::Said{GameStrings::Found::Unknown, {}};
        const auto found = phrases.find(name);
        return found == phrases.end() ? GameStrings::Said{GameStrings::Found::Missing, {}}
                                      : GameStrings::Said{GameStrings::Found::Text, found->second};
    };
    const MarkupCase cases[] = {
        {"plain\\ntext", "plain\\ntext", 11, 11}, // a "\n" pair counts 2
        {"Press [KEYSepulvedaHelp] now", "Press H now", 11, 11},
        {"[KEYiconstaskmanagerdisplay_kbd]", "tab", 3, 3},
        {"Press [KEYJump]!", "Press <Jump>!", 8, 19}, // a binding not known: 1 to 12
        {"[IFMODE KEYBOARD]keys[ELSE]pad[ENDIF]!", "keys!", 5, 5},
        {"[IFMODE KEYBOARD]keys[ENDIF]", "keys", 4, 4},
        {"[IFMODE GAMEPAD]pad[ELSE]keys[ENDIF]", "padkeys", 7, 7}, // only the keyboard test is known
        {"Open [part_gate].", "Open the gate.", 14, 14},
        {"[nested]", "a the gate", 10, 10},
        {"[self]", "xxxx", 4, 4}, // a phrase naming itself stops
        {"[nobody] here", " here", 5, 5},
        {"[unread]", "", 0, kLongestCaption},
        {"ok] then [oops", "", 0, 0, true},
        {"[KEYJump", "", 0, 0, true},
    };
    for (const MarkupCase &c : cases) {
        const ExpandedCaption out = expandCaption(c.text, lookUp);
        EXPECT_EQ(out.text, c.expanded) << c.text;
        EXPECT_EQ(out.shortest, c.shortest) << c.text;
        EXPECT_EQ(out.longest, c.longest) << c.text;
        EXPECT_EQ(out.unclosed, c.unclosed) << c.text;
    }
    const ExpandedCaption huge = expandCaption(std::string(3000, 'x'), lookUp);
    EXPECT_EQ(huge.shortest, kLongestCaption);
    EXPECT_EQ(huge.longest, kLongestCaption);
}

} // namespace
} // namespace cw
