#include "core/text/LineReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cw {
namespace {

using test::bytes;

std::vector<std::string> lines(std::string_view content)
{
    std::vector<std::string> out;
    LineReader reader(content);
    std::string_view line;
    while (reader.next(line))
        out.emplace_back(line);
    return out;
}

using Lines = std::vector<std::string>;

TEST(LineReader, lineEnds_areCrOrCrLf_andLoneLfIsAByte)
{
    EXPECT_EQ(lines(""), Lines{});
    EXPECT_EQ(lines("A"), Lines{"A"});
    EXPECT_EQ(lines("A\r\n"), Lines{"A"});
    EXPECT_EQ(lines("A\r\nB"), Lines({"A", "B"}));
    EXPECT_EQ(lines("A\rB\r"), Lines({"A", "B"}));
    EXPECT_EQ(lines("A\nB\n"), Lines{"A\nB\n"});
    EXPECT_EQ(lines("A\n\r\nB"), Lines({"A\n", "B"}));
    EXPECT_EQ(lines("A\r\r\n"), Lines({"A", ""}));
    EXPECT_EQ(lines("\r\n\r\n"), Lines({"", ""}));
    EXPECT_EQ(lines("\n"), Lines{"\n"});
}

TEST(LineReader, bytesOfEveryValue_passThrough)
{
    const std::string content = bytes("\0\x80\xFF\x1A x\r\n\x81\x8D");
    EXPECT_EQ(lines(content), Lines({bytes("\0\x80\xFF\x1A x"), "\x81\x8D"}));
}

TEST(LineReader, reportsLineNumbersAndWhetherTheLineEnded)
{
    LineReader reader("one\r\ntwo\rthree");
    std::string_view line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(reader.lineNumber(), 1);
    EXPECT_TRUE(reader.lineHadEnd());
    ASSERT_TRUE(reader.next(line));
    EXPECT_TRUE(reader.lineHadEnd());
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line, "three");
    EXPECT_EQ(reader.lineNumber(), 3);
    EXPECT_FALSE(reader.lineHadEnd());
    EXPECT_FALSE(reader.next(line));
}

} // namespace
} // namespace cw
