#include "core/catalogue/Folding.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(Folding, movesCodes64To96UpBy32_andNothingElse)
{
    EXPECT_EQ(foldName("Spawn_Unit"), "spawn\x7Funit");
    EXPECT_EQ(foldName("[Hi]"), "{hi}");
    EXPECT_EQ(foldName(""), "");
    EXPECT_EQ(foldName("@\\^`"), "`|~\x80");
    EXPECT_EQ(foldName("az09 \t?{\x80\xC4"), "az09 \t?{\x80\xC4");
}

TEST(Folding, isNotIdempotent)
{
    EXPECT_EQ(foldName(foldName("@")), "\x80");
}

TEST(Folding, foldedEqual_agreesWithComparingFoldedNames)
{
    EXPECT_TRUE(foldedEqual("CamMove", "cAMmOVE"));
    EXPECT_TRUE(foldedEqual("`", "\x80")); // both fold to 0x80
    EXPECT_FALSE(foldedEqual("@", "`"));
    EXPECT_FALSE(foldedEqual("Say", "Says"));
    EXPECT_FALSE(foldedEqual("\xC4", "\xE4")); // only codes 64..96 fold
}

} // namespace
} // namespace cw
