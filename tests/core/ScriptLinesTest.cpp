#include "core/script/ScriptLines.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(ScriptLines, readsAtMost200Lines_andCountsThemAll)
{
    std::string bytes;
    for (int i = 0; i < 250; ++i)
        bytes += "Wait " + std::to_string(i) + "\r\n";
    // A line the tokenizer would refuse, beyond what is read, changes nothing.
    bytes += "a b c d e f g h i j k l m n o p q r s t u v w x y z\r\n";
    auto read = readScript(bytes);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->report.linesInFile, 251);
    EXPECT_EQ(read->report.linesRead, 200);
    ASSERT_EQ(read->lines.size(), 200u);
    EXPECT_EQ(read->lines[199][1], "199");
    EXPECT_EQ(read->lines[150], (LineWords{"Wait", "150", "", "", ""}));
}

TEST(ScriptLines, onlyLinesInUsePast100_areLostBySaving)
{
    std::string full;
    for (int i = 0; i < 100; ++i)
        full += "Wait 1\r\n";
    // As Save Script writes a full grid: 100 lines and one empty one.
    const auto saved = readScript(full + "\r\n");
    EXPECT_EQ(saved->report.linesInFile, 101);
    EXPECT_FALSE(saved->report.losesLinesPast100());
    EXPECT_FALSE(readScript(full + " \r\n\t\r\n\r\n")->report.losesLinesPast100());
    const auto longer = readScript(full + "\r\nWait 2\r\n");
    EXPECT_TRUE(longer->report.losesLinesPast100());
    EXPECT_EQ(longer->report.lastLineInUse, 102);
}

TEST(ScriptLines, refusedLine_isNamed)
{
    std::string bad = "Wait 2\r\n";
    for (int i = 0; i < 25; ++i)
        bad += "x ";
    auto refused = readScript(bad);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().line, 2);
}

} // namespace
} // namespace cw
