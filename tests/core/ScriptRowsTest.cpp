#include "core/script/ScriptRows.h"

#include "core/catalogue/Catalogue.h"
#include "core/script/ScriptLines.h"
#include "core/strings/StringsTable.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

constexpr const char *kCommands = "header\r\n"
                                  "\r\n"
                                  "Wait \"Pause\" 1 2 Seconds\r\n"
                                  "CamMove \"Fly\" 2 3 Mount 2 Seconds\r\n"
                                  "Say \"Speak\" 1 4 Key\r\n"
                                  "ClearHighlights \"Clear\" 0\r\n";

class ScriptRowsTest : public ::testing::Test
{
protected:
    void read(std::string_view bytes)
    {
        auto report = readScript(bytes, table);
        ASSERT_TRUE(report.ok());
    }
    RowView row(int r) const { return showRow(table, r, catalogue, strings); }
    std::string roundTrip(std::string_view bytes)
    {
        read(bytes);
        std::vector<RowTexts> rows;
        for (int r = 0; r < 100; ++r)
            rows.push_back(textsOf(row(r)));
        return writeScript(rows);
    }

    Catalogue catalogue = std::move(loadCatalogue(kCommands)).value();
    StringsTable strings{"GREETING Hello there\r\nintro_1 Welcome\r\n"};
    ScriptLineTable table;
};

std::vector<bool> shown(const RowView &view)
{
    std::vector<bool> visible;
    for (const auto &field : view.fields)
        visible.push_back(field.visible);
    return visible;
}

TEST_F(ScriptRowsTest, emptyLine_takesEntryZeroWithNoFields)
{
    read("\r\n");
    const RowView view = row(0);
    EXPECT_EQ(view.commandIndex, 0);
    EXPECT_EQ(view.commandText, "");
    EXPECT_TRUE(view.knownCommand);
    EXPECT_EQ(shown(view), std::vector<bool>(4, false));
    EXPECT_FALSE(view.stringsChooser);
    EXPECT_EQ(view.layoutCount, 0);
}

TEST_F(ScriptRowsTest, commandInAnotherCase_showsTheCataloguesName_andItsLabels)
{
    read("cammove garden_gate 2.5\r\n");
    const RowView view = row(0);
    EXPECT_EQ(view.commandText, "CamMove");
    EXPECT_EQ(view.commandTooltip, "Fly");
    EXPECT_EQ(shown(view), std::vector<bool>({true, true, false, false}));
    EXPECT_EQ(view.fields[0].text, "garden_gate");
    EXPECT_EQ(view.fields[1].tooltip, "Seconds - Float");
    EXPECT_EQ(view.layoutCount, 2);
}

TEST_F(ScriptRowsTest, argumentsBeyondTheCount_areShownWithTheirSlotsLabel)
{
    read("Wait 1 extra more\r\n");
    const RowView view = row(0);
    EXPECT_EQ(shown(view), std::vector<bool>({true, true, true, false}));
    EXPECT_EQ(view.fields[2].text, "more");
    EXPECT_EQ(view.fields[2].tooltip, "");
    EXPECT_EQ(view.layoutCount, 1);
}

TEST_F(ScriptRowsTest, missingArguments_showEmptyFieldsUpToTheCount)
{
    read("CamMove\r\n");
    const RowView view = row(0);
    EXPECT_EQ(shown(view), std::vector<bool>({true, true, false, false}));
    EXPECT_EQ(view.fields[1].text, "");
}

TEST_F(ScriptRowsTest, commentLine_showsHashWithItsTextInFieldZero)
{
    read("#  two spaces\r\n");
    const RowView view = row(0);
    EXPECT_EQ(view.commandText, "#");
    EXPECT_EQ(view.commandTooltip, "Comment");
    EXPECT_EQ(view.fields[0].text, "  two spaces");
    EXPECT_EQ(view.fields[0].tooltip, "Comment Text");
    EXPECT_EQ(view.layoutCount, 1);
}

TEST_F(ScriptRowsTest, unknownCommand_keepsItsOwnSpellingAndArguments)
{
    read("CamFlyBy Lake 3\r\n");
    const RowView view = row(0);
    EXPECT_FALSE(view.knownCommand);
    EXPECT_EQ(view.commandIndex, 0);
    EXPECT_EQ(view.commandText, "CamFlyBy");
    EXPECT_EQ(shown(view), std::vector<bool>({true, true, false, false}));
    EXPECT_EQ(roundTrip("CamFlyBy Lake 3\r\n"), "CamFlyBy Lake 3\r\n\r\n");
}

TEST_F(ScriptRowsTest, stringsKey_takesTheEntrysOwnSpelling_orStaysAsWritten)
{
    read("say greeting\r\nSay Nowhere\r\nSay\r\n");
    const RowView found = row(0);
    EXPECT_TRUE(found.stringsChooser);
    EXPECT_FALSE(found.fields[0].visible);
    EXPECT_EQ(found.stringsIndex, 0);
    EXPECT_EQ(found.stringsText, "GREETING");
    EXPECT_EQ(found.fields[0].text, "GREETING");
    EXPECT_EQ(found.stringsTooltip, "Hello there");

    const RowView missing = row(1);
    EXPECT_EQ(missing.stringsIndex, -1);
    EXPECT_EQ(missing.stringsText, "Nowhere");
    EXPECT_EQ(missing.fields[0].text, "Nowhere");
    EXPECT_EQ(missing.stringsTooltip, "");

    EXPECT_EQ(row(2).stringsText, "");
    EXPECT_EQ(row(2).stringsIndex, -1);
}

TEST_F(ScriptRowsTest, rowsAfterTheFile_areReset)
{
    read("Wait 1\r\nWait 2\r\nWait 3");
    EXPECT_EQ(row(2).fields[0].text, "3");
    for (int r = 3; r < 100; ++r) {
        EXPECT_EQ(row(r).commandText, "");
        EXPECT_EQ(shown(row(r)), std::vector<bool>(4, false));
    }
}

TEST(ScriptWriter, writesOneLinePerRowWithACommand_andOneFinalLineEnd)
{
    std::vector<RowTexts> rows(100);
    EXPECT_EQ(writeScript(rows), "\r\n");

    rows[0] = {"Wait", {"1", "", "", ""}};
    rows[5] = {"CamMove", {"", "gate", "", "2"}};
    rows[7] = {"#", {"a \"quoted\" # note", "", "", ""}};
    rows[9] = {"", {"orphan", "", "", ""}};
    EXPECT_EQ(writeScript(rows), "Wait 1\r\nCamMove gate 2\r\n# a \"quoted\" # note\r\n\r\n");
}

TEST(ScriptWriter, firstUnreadableRow_findsLinesOfMoreThan21Tokens)
{
    std::vector<RowTexts> rows(100);
    rows[3] = {"Say", {"a b c d e f g h i j k l m n o p q r s t", "", "", ""}};           // 21 tokens: fine
    rows[8] = {"#", {"a b c d e f g h i j k l m n o p q r s t u v w x y z", "", "", ""}}; // a comment
    EXPECT_EQ(firstUnreadableRow(rows), -1);
    rows[9] = {"Say", {"a b c d e f g h i j k l m n o p q r s t u", "", "", ""}}; // 22
    EXPECT_EQ(firstUnreadableRow(rows), 9);
}

TEST_F(ScriptRowsTest, loadAndSave_writesEachLineInItsNormalForm)
{
    // Line ends, blank runs, quotes, inner empty lines and the command's case.
    EXPECT_EQ(roundTrip("wait   1\n2\r\n\r\nCamMove \"gate one\"\t3\r\n\r\n"),
              "Wait 1\n2\r\nCamMove gate one 3\r\n\r\n");
    // A comment gains one blank per cycle; a bare "#" stays "#".
    EXPECT_EQ(roundTrip("#note\r\n# spaced\r\n#\r\n"), "# note\r\n#  spaced\r\n#\r\n\r\n");
    // A word against a "#" is lost; a trailing comment becomes arguments.
    EXPECT_EQ(roundTrip("Wait#note\r\nWait 1 #later\r\n"), "# note\r\nWait 1 # later\r\n\r\n");
    // The normal form is a fixed point.
    const std::string once = roundTrip("cammove \"a b\" 2\r\n#x\r\nSay intro_1\r\n");
    EXPECT_EQ(once, "CamMove a b 2\r\n# x\r\nSay intro_1\r\n\r\n");
}

TEST(ScriptLines, readsAtMost200Lines_andCountsThemAll)
{
    std::string bytes;
    for (int i = 0; i < 250; ++i)
        bytes += "Wait " + std::to_string(i) + "\r\n";
    // A line the tokenizer would refuse, beyond what is read, changes nothing.
    bytes += "a b c d e f g h i j k l m n o p q r s t u v w x y z\r\n";
    ScriptLineTable table;
    auto report = readScript(bytes, table);
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report->linesInFile, 251);
    EXPECT_EQ(report->linesRead, 200);
    EXPECT_EQ(table.argument(199, 0), "199");
    EXPECT_EQ(table.argument(150, 0), "150");
}

TEST(ScriptLines, onlyLinesInUsePast100_areLostBySaving)
{
    ScriptLineTable table;
    std::string full;
    for (int i = 0; i < 100; ++i)
        full += "Wait 1\r\n";
    // As Save Script writes a full grid: 100 lines and one empty one.
    auto saved = readScript(full + "\r\n", table);
    EXPECT_EQ(saved->linesInFile, 101);
    EXPECT_FALSE(saved->losesLinesPast100());
    EXPECT_FALSE(readScript(full + " \r\n\t\r\n\r\n", table)->losesLinesPast100());
    const auto longer = readScript(full + "\r\nWait 2\r\n", table);
    EXPECT_TRUE(longer->losesLinesPast100());
    EXPECT_EQ(longer->lastLineInUse, 102);
}

TEST(ScriptLines, refusedLine_leavesTheTableAsItWas_andNamesTheLine)
{
    ScriptLineTable table;
    ASSERT_TRUE(readScript("Wait 1\r\n", table).ok());
    std::string bad = "Wait 2\r\n";
    for (int i = 0; i < 25; ++i)
        bad += "x ";
    auto refused = readScript(bad, table);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().line, 2);
    EXPECT_EQ(table.argument(0, 0), "1");
}

TEST(ScriptLines, loadEmptiesCellsUpTo500_only)
{
    ScriptLineTable table;
    std::string bytes;
    for (int i = 0; i < 150; ++i)
        bytes += "L" + std::to_string(i) + "\r\n";
    ASSERT_TRUE(readScript(bytes, table).ok());
    ASSERT_TRUE(readScript("Short\r\n", table).ok());
    EXPECT_EQ(table.word(0), "Short");
    EXPECT_EQ(table.word(1), "");
    EXPECT_EQ(table.word(100), "");     // cell 500
    EXPECT_EQ(table.word(120), "L120"); // cells past 500 keep what they held
}

} // namespace
} // namespace cw
