#include "core/text/LineReader.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cw {
namespace {

using test::bytes;

std::vector<std::string> lines(std::string_view content, LineEnds ends = LineEnds::CrOrCrLf)
{
    std::vector<std::string> out;
    LineReader reader(content, ends);
    std::string_view line;
    while (reader.next(line))
        out.emplace_back(line);
    return out;
}

using Lines = std::vector<std::string>;

TEST(LineReader, catalogueLineEnds_areCrOrCrLf_andLoneLfIsAByte)
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

TEST(LineReader, scriptAndStringsLineEnds_areCrLfCrAndLf)
{
    const auto any = [](std::string_view content) {
        return lines(content, LineEnds::Any);
    };
    EXPECT_EQ(any(""), Lines{});
    EXPECT_EQ(any("A\nB\n"), Lines({"A", "B"}));
    EXPECT_EQ(any("A\n\r\nB"), Lines({"A", "", "B"}));
    EXPECT_EQ(any("A\n\rB"), Lines({"A", "", "B"}));
    EXPECT_EQ(any("A\r\r\n"), Lines({"A", ""}));
    EXPECT_EQ(any("A\rB\r\nC\nD"), Lines({"A", "B", "C", "D"}));
    EXPECT_EQ(any("\n"), Lines{""});
    EXPECT_EQ(any("\n\n"), Lines({"", ""}));
}

TEST(LineReader, bytesOfEveryValue_passThrough)
{
    const std::string content = bytes("\0\x80\xFF\x1A x\r\n\x81\x8D");
    EXPECT_EQ(lines(content), Lines({bytes("\0\x80\xFF\x1A x"), "\x81\x8D"}));
    EXPECT_EQ(lines(content, LineEnds::Any), Lines({bytes("\0\x80\xFF\x1A x"), "\x81\x8D"}));
}

TEST(LineReader, reportsHowEachLineEnded)
{
    LineReader any("a\r\nb\rc\nd", LineEnds::Any);
    std::vector<LineReader::End> ends;
    for (std::string_view line; any.next(line);)
        ends.push_back(any.lineEnd());
    EXPECT_EQ(ends, std::vector<LineReader::End>({LineReader::End::CrLf, LineReader::End::Cr,
                                                  LineReader::End::Lf, LineReader::End::None}));
}

TEST(LineReader, reportsLineNumbersAndWhetherTheLineEnded)
{
    LineReader reader("one\r\ntwo\rthree", LineEnds::CrOrCrLf);
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
