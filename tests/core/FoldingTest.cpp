#include "core/text/Folding.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(Folding, foldedEqual_movesCodes64To96UpBy32Once_andNothingElse)
{
    const std::pair<const char *, const char *> same[] = {
        {"CamMove", "cAMmOVE"},
        {"Spawn_Unit", "spawn\x7Funit"},
        {"[Hi]", "{hi}"},
        {"", ""},
        {"@[\\]^_`", "@{|}~\x7F\x80"},
        {"`", "\x80"}, // both fold to 0x80
    };
    for (const auto &[a, b] : same)
        EXPECT_TRUE(foldedEqual(a, b)) << a;
    const std::pair<const char *, const char *> different[] = {
        {"@", "`"},                        // folded once: "@" becomes "`", which is not folded again
        {"Say", "Says"}, {"\xC4", "\xE4"}, // only codes 64..96 fold
        {"{", "\x9B"},   {"z", "\x9A"},
    };
    for (const auto &[a, b] : different)
        EXPECT_FALSE(foldedEqual(a, b)) << a;
}

} // namespace
} // namespace cw
