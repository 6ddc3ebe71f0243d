#include "core/strings/StringsTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cw {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entries(const StringsTable &table)
{
    Entries out;
    for (int i = 0; i < table.size(); ++i)
        out.emplace_back(table.name(i), table.text(i));
    return out;
}

TEST(StringsTable, keyAndRest_withBlanksQuotesAndHashesKeptInTheText)
{
    const StringsTable table("# header\r\n"
                             "\r\n"
                             "LOC_A   Hello   world  \r\n"
                             "LOC_B\r\n"
                             "LOC_C \"quoted\"\r\n"
                             "\"two words\" text\r\n"
                             "x\r\n"
                             "   \t  \r\n"
                             "  #x text\r\n"
                             "# not an entry\r\n"
                             "#\ttab\r\n"
                             "LOC_D a # b\r\n"
                             "\tLOC_E\ttabbed");
    EXPECT_EQ(entries(table), Entries({{"LOC_A", "Hello   world  "},
                                       {"LOC_B", ""},
                                       {"LOC_C", "\"quoted\""},
                                       {"two words", "text"},
                                       {"x", ""},
                                       {"#x", "text"},
                                       {"LOC_D", "a # b"},
                                       {"LOC_E", "tabbed"}}));
}

TEST(StringsTable, keyThatIsALoneHash_isNoEntry)
{
    EXPECT_EQ(StringsTable("  # spaced comment\r\nK v\r\n").size(), 1);
}

TEST(StringsTable, duplicatesStayInFileOrder)
{
    const StringsTable table("K one\r\nK two\r\nk three\r\n");
    EXPECT_EQ(entries(table), Entries({{"K", "one"}, {"K", "two"}, {"k", "three"}}));
    EXPECT_EQ(table.find("K"), 0);
    EXPECT_EQ(table.find("k"), 0);
}

TEST(StringsTable, everyLineEnd_endsAnEntry)
{
    const StringsTable table("FIRST one\nSECOND two\rTHIRD three\r\nFOURTH\n\nFIFTH five");
    EXPECT_EQ(
        entries(table),
        Entries(
            {{"FIRST", "one"}, {"SECOND", "two"}, {"THIRD", "three"}, {"FOURTH", ""}, {"FIFTH", "five"}}));
}

TEST(StringsTable, emptyFile_hasNoEntries)
{
    EXPECT_EQ(StringsTable("").size(), 0);
    EXPECT_EQ(StringsTable(" \r\n").size(), 0);
    EXPECT_EQ(StringsTable().find("x"), -1);
}

TEST(StringsTable, find_foldsLikeCommandNames_andAnswersTheFirstEntry)
{
    const StringsTable table("intro_1 a\r\nIntro_2 b\r\nINTRO_2 c\r\n[x] d\r\n\x80 e\r\n");
    EXPECT_EQ(table.find("INTRO_1"), 0);
    EXPECT_EQ(table.find("intro_2"), 1);
    EXPECT_EQ(table.find("{X}"), 3); // [ and { fold alike
    EXPECT_EQ(table.find("`"), 4);   // ` folds to 0x80
    EXPECT_EQ(table.find("intro_"), -1);
    EXPECT_EQ(table.find("intro_1 "), -1); // no trimming
    EXPECT_EQ(table.find(""), -1);
}

TEST(StringsTable, manyEntries_areFoundByPosition)
{
    std::string bytes;
    for (int i = 0; i < 50000; ++i)
        bytes += "key_" + std::to_string(i) + " Text number " + std::to_string(i) + "\r\n";
    const StringsTable table(std::move(bytes));
    ASSERT_EQ(table.size(), 50000);
    EXPECT_EQ(table.find("KEY_0"), 0);
    EXPECT_EQ(table.find("key_49999"), 49999);
    EXPECT_EQ(table.text(31337), "Text number 31337");
}

} // namespace
} // namespace cw
