#include "core/script/ScriptDocument.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/strings/StringsTable.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

namespace cw {
namespace {

constexpr const char *kCommands = "header\r\n"
                                  "\r\n"                                         // 0
                                  "Wait \"Pause\" 1 2 Seconds\r\n"               // 1
                                  "CamMove \"Fly\" 2 3 Mount 2 Seconds\r\n"      // 2
                                  "Say \"Speak\" 1 4 Key\r\n"                    // 3
                                  "ClearHighlights \"Clear\" 0\r\n"              // 4
                                  "Four \"Takes four\" 4 1 A 2 B 3 C 1 D\r\n"    // 5
                                  "Seven \"Claims seven\" 7 1 A 1 B 1 C 1 D\r\n" // 6
                                  "SayTwo \"Speak twice\" 2 4 First 1 N\r\n";    // 7, then "#" = 8

constexpr int kWait = 1, kCamMove = 2, kSay = 3, kClear = 4, kFour = 5, kSeven = 6, kSayTwo = 7, kComment = 8;

class ScriptDocumentTest : public ::testing::Test
{
protected:
    ScriptDocumentTest()
    {
        document.setStrings(std::make_shared<StringsTable>("GREETING Hello there\r\nintro_1 Welcome\r\n"));
    }

    void load(std::string_view bytes) { ASSERT_TRUE(document.load(bytes).ok()); }
    const ScriptRow &row(int r) const { return document.row(r); }
    std::vector<bool> shown(int r) const
    {
        std::vector<bool> visible;
        for (const auto &field : row(r).fields)
            visible.push_back(field.visible);
        return visible;
    }
    // The layout that placed each argument field, as "2200".
    std::string layouts(int r) const
    {
        std::string out;
        for (const auto &field : row(r).fields)
            out += std::to_string(field.laidOutFor);
        return out;
    }
    std::string saved() const { return scriptBytes(document).value(); }

    Catalogue catalogue = std::move(loadCatalogue(kCommands)).value();
    ScriptDocument document{catalogue};
};

TEST_F(ScriptDocumentTest, startsAsTheGridStarts_hiddenFieldsAtTheirFirstPlaces)
{
    EXPECT_EQ(row(0).command, "");
    EXPECT_EQ(row(0).selected, -1);
    EXPECT_EQ(shown(99), std::vector<bool>(4, false));
    EXPECT_EQ(layouts(7), "0000");
    EXPECT_FALSE(row(0).stringsVisible);
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(saved(), "\r\n");
}

TEST_F(ScriptDocumentTest, choosingACommand_showsSizesAndLabelsItsFields)
{
    document.chooseCommand(0, kCamMove);
    EXPECT_EQ(row(0).command, "CamMove");
    EXPECT_EQ(row(0).selected, kCamMove);
    EXPECT_EQ(row(0).commandTooltip, "Fly");
    EXPECT_EQ(shown(0), std::vector<bool>({true, true, false, false}));
    EXPECT_EQ(row(0).fields[1].tooltip, "Seconds - Float");
    EXPECT_EQ(layouts(0), "2200");

    // A layout places the fields it names; the others stay where they were placed.
    document.chooseCommand(1, kFour);
    EXPECT_EQ(layouts(1), "4444");
    document.chooseCommand(1, kComment);
    EXPECT_EQ(row(1).commandTooltip, "Comment");
    EXPECT_EQ(row(1).fields[0].tooltip, "Comment Text");
    EXPECT_EQ(layouts(1), "1444");

    // A count above four shows all four fields where they stand; entry 0 shows none.
    document.chooseCommand(2, kSeven);
    EXPECT_EQ(shown(2), std::vector<bool>(4, true));
    EXPECT_EQ(layouts(2), "0000");
    document.chooseCommand(2, 0);
    EXPECT_EQ(shown(2), std::vector<bool>(4, false));
    EXPECT_EQ(row(2).commandTooltip, "");
}

TEST_F(ScriptDocumentTest, changingTheCommand_hidesFieldsButKeepsTheirTexts)
{
    document.chooseCommand(0, kFour);
    for (int k = 0; k < 4; ++k)
        document.setArgument(0, k, std::to_string(k + 1));
    document.chooseCommand(0, kWait);
    EXPECT_EQ(shown(0), std::vector<bool>({true, false, false, false}));
    // Hidden fields are still written, as they always were.
    EXPECT_EQ(saved(), "Wait 1 2 3 4\r\n\r\n");
    document.chooseCommand(0, kFour);
    EXPECT_EQ(row(0).fields[3].text, "4");
    EXPECT_EQ(shown(0), std::vector<bool>(4, true));
}

TEST_F(ScriptDocumentTest, stringsChooser_standsForArgumentZero)
{
    document.setArgument(0, 0, "greeting");
    document.chooseCommand(0, kSayTwo);
    EXPECT_TRUE(row(0).stringsVisible);
    EXPECT_EQ(shown(0), std::vector<bool>({false, true, false, false}));
    EXPECT_EQ(row(0).stringsText, "greeting");

    document.typeStringsText(0, "x");
    EXPECT_EQ(row(0).fields[0].text, "x");

    document.pickStringsEntry(0, 1);
    EXPECT_EQ(row(0).stringsText, "intro_1");
    EXPECT_EQ(row(0).fields[0].text, "intro_1");
    EXPECT_EQ(row(0).stringsTooltip, "Welcome");

    // Dropping the pick keeps the value that is saved.
    document.typeStringsText(0, "unknown_key");
    document.pickStringsEntry(0, -1);
    EXPECT_EQ(row(0).fields[0].text, "unknown_key");
    EXPECT_EQ(row(0).stringsTooltip, "");

    // A new strings table drops every pick and shows argument 0 again.
    document.pickStringsEntry(1, 0);
    document.setStrings(std::make_shared<StringsTable>("OTHER text\r\n"));
    EXPECT_EQ(row(1).stringsSelected, -1);
    EXPECT_EQ(row(1).stringsText, "GREETING");
}

TEST_F(ScriptDocumentTest, typingIntoTheCommandChooser_changesOnlyItsText)
{
    document.chooseCommand(0, kWait);
    document.typeCommand(0, "CamMove");
    EXPECT_EQ(row(0).selected, kWait);
    EXPECT_EQ(shown(0), std::vector<bool>({true, false, false, false}));
    EXPECT_EQ(saved(), "CamMove\r\n\r\n");
}

TEST_F(ScriptDocumentTest, insertingALine_pushesLinesDownWithTheirLayout_andDropsTheLast)
{
    load("CamMove gate 2\r\nSay greeting\r\n");
    document.chooseCommand(99, kWait);
    document.setArgument(99, 0, "last");
    document.insertLine(0);

    EXPECT_EQ(row(0).command, "");
    EXPECT_EQ(shown(0), std::vector<bool>(4, false));
    // The cleared row keeps its texts behind hidden fields.
    EXPECT_EQ(row(0).fields[0].text, "gate");
    EXPECT_EQ(row(1).command, "CamMove");
    EXPECT_EQ(layouts(1), "2200");
    EXPECT_TRUE(row(2).stringsVisible);
    EXPECT_EQ(row(2).stringsSelected, 0);
    EXPECT_EQ(row(2).stringsTooltip, "Hello there");
    // The command chooser's tooltip stays with its row: the lines move, not the rows.
    EXPECT_EQ(row(1).commandTooltip, "Speak");
    EXPECT_EQ(row(2).commandTooltip, "");
    EXPECT_EQ(saved(), "CamMove gate 2\r\nSay GREETING\r\n\r\n");
}

TEST_F(ScriptDocumentTest, removingALine_pullsLinesUp_andEmptiesTheLast)
{
    load("Wait 1\r\n\r\nWait 3\r\n");
    document.chooseCommand(99, kWait);
    document.removeLine(1);
    EXPECT_EQ(row(1).command, "Wait");
    EXPECT_EQ(row(1).fields[0].text, "3");
    EXPECT_EQ(row(98).command, "Wait");
    EXPECT_EQ(row(99).command, "");
    EXPECT_EQ(saved(), "Wait 1\r\nWait 3\r\nWait\r\n\r\n");
}

TEST_F(ScriptDocumentTest, anEmptiedRow_showsNoCommand_evenWhenEntryZeroIsOne)
{
    const Catalogue waitFirst = std::move(loadCatalogue("header\r\nWait \"Pause\" 1 2 Seconds\r\n")).value();
    ScriptDocument withWait(waitFirst);
    ASSERT_TRUE(withWait.load(std::string("Wait 1\r\n")).ok());
    withWait.insertLine(0);
    withWait.removeLine(5);
    EXPECT_EQ(withWait.row(0).command, "");
    EXPECT_EQ(withWait.row(99).command, "");
    EXPECT_EQ(scriptBytes(withWait).value(), "Wait 1\r\n\r\n");
}

TEST_F(ScriptDocumentTest, everyEdit_undoesAndRedoesExactly)
{
    load("CamMove gate 2\r\nSay greeting\r\n# note\r\nFour 1 2 3 4\r\n");
    const std::vector<std::pair<const char *, std::function<RowsChange()>>> edits = {
        {"choose",
         [&] {
             return document.chooseCommand(0, kSay);
         }},
        {"type command",
         [&] {
             return document.typeCommand(3, "Fours");
         }},
        {"argument",
         [&] {
             return document.setArgument(0, 1, "9");
         }},
        {"strings text",
         [&] {
             return document.typeStringsText(1, "gre");
         }},
        {"strings pick",
         [&] {
             return document.pickStringsEntry(1, 1);
         }},
        {"insert",
         [&] {
             return document.insertLine(1);
         }},
        {"remove",
         [&] {
             return document.removeLine(0);
         }},
        {"swap",
         [&] {
             return document.swapLines(0, 3);
         }},
        {"paste",
         [&] {
             return document.pasteLines(2, "Wait 5\nSay intro_1\n").change;
         }},
    };
    for (const auto &[name, edit] : edits) {
        const auto before = document.rows();
        const RowsChange change = edit();
        const auto after = document.rows();
        ASSERT_FALSE(change.empty()) << name;
        EXPECT_NE(before, after) << name;
        document.undo(change);
        EXPECT_EQ(document.rows(), before) << name;
        document.redo(change);
        EXPECT_EQ(document.rows(), after) << name;
    }
    // An edit that changes nothing leaves nothing to undo.
    EXPECT_TRUE(document.setArgument(0, 1, row(0).fields[1].text).empty());
}

TEST_F(ScriptDocumentTest, isModified_comparesWhatSavingWouldWrite)
{
    load("Wait 1\r\n");
    EXPECT_FALSE(document.isModified());
    const RowsChange typed = document.setArgument(0, 0, "2");
    EXPECT_TRUE(document.isModified());
    document.undo(typed);
    EXPECT_FALSE(document.isModified());

    // Picking another command and back changes the layout, not the file.
    document.chooseCommand(0, kFour);
    document.chooseCommand(0, kWait);
    EXPECT_FALSE(document.isModified());

    document.setArgument(0, 0, "3");
    document.markSaved();
    EXPECT_FALSE(document.isModified());
    ASSERT_TRUE(document.load(std::string("Wait 4\r\n")).ok());
    EXPECT_FALSE(document.isModified());
}

// Whatever sequence of edits, saves, undos and redos leads there, the document counts as
// modified exactly when saving would write other lines than the file holds.
TEST_F(ScriptDocumentTest, isModified_afterSavesBetweenUndoAndRedo)
{
    struct Case
    {
        const char *what;
        const char *script;
        std::function<void(ScriptDocument &)> steps;
        bool modified;
    };
    const Case cases[] = {
        {"edit, save, undo", "Wait 1\r\n",
         [](ScriptDocument &d) {
             const RowsChange typed = d.setArgument(0, 0, "2");
             d.markSaved();
             d.undo(typed);
         },
         true},
        {"edit, undo, save, redo", "Wait 1\r\n",
         [](ScriptDocument &d) {
             const RowsChange typed = d.setArgument(0, 0, "2");
             d.undo(typed);
             d.markSaved();
             d.redo(typed);
         },
         true},
        {"the fourth argument emptied", "Four 1 2 3 4\r\n",
         [](ScriptDocument &d) { d.setArgument(0, 3, ""); }, true},
        {"the last line removed", "Wait 1\r\nWait 2\r\n", [](ScriptDocument &d) { d.removeLine(1); }, true},
        {"an empty line removed", "Wait 1\r\n\r\nWait 2\r\n", [](ScriptDocument &d) { d.removeLine(1); },
         false},
    };
    for (const Case &c : cases) {
        load(c.script);
        c.steps(document);
        EXPECT_EQ(document.isModified(), c.modified) << c.what;
    }
}

// What saving cannot keep is known from the read, moves with its line, and is gone once
// the file no longer holds it.
TEST_F(ScriptDocumentTest, lossesOnSave_linesPast100AndWordsPastTheFourthArgument)
{
    std::string script = "Wait 1\r\nFour 4 180.0 60.0 # look here\r\n";
    for (int line = 3; line <= 100; ++line)
        script += "\r\n";
    script += "Wait 2\r\n# later\r\n   \r\nCamMove m 3\r\n";
    load(script);
    ScriptDocument::Losses losses = document.lossesOnSave();
    EXPECT_EQ(losses.lines, 3);
    EXPECT_EQ(losses.commands, 2);
    ASSERT_EQ(losses.words.size(), 1u);
    EXPECT_EQ(losses.words[0].row, 1);
    EXPECT_EQ(losses.words[0].words, "look here");

    document.insertLine(0);
    ASSERT_EQ(document.lossesOnSave().words.size(), 1u);
    EXPECT_EQ(document.lossesOnSave().words[0].row, 2);
    document.removeLine(2);
    EXPECT_TRUE(document.lossesOnSave().words.empty());
    EXPECT_TRUE(document.lossesOnSave().any());

    document.markSaved();
    EXPECT_FALSE(document.lossesOnSave().any());
    load("Wait 1\r\n");
    EXPECT_FALSE(document.lossesOnSave().any());
}

TEST_F(ScriptDocumentTest, lastRowInUse_isWhatAnInsertWouldPushOut)
{
    load("Wait 1\r\n");
    EXPECT_FALSE(document.lastRowInUse());
    document.chooseCommand(ScriptDocument::kRows - 1, kWait);
    EXPECT_TRUE(document.lastRowInUse());
}

TEST_F(ScriptDocumentTest, refusedLoad_changesNothing)
{
    load("Wait 1\r\n");
    document.setArgument(0, 0, "edited");
    std::string bad = "Wait 2\r\n";
    for (int i = 0; i < 25; ++i)
        bad += "x ";
    const auto refused = document.load(bad);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().line, 2);
    EXPECT_EQ(row(0).fields[0].text, "edited");
    EXPECT_TRUE(document.isModified());
}

TEST_F(ScriptDocumentTest, writing_refusesWhatCouldNotBeReadBack_namingTheRow)
{
    document.chooseCommand(4, kComment);
    document.setArgument(4, 0, "caf\xc3\xa9 \xe2\x82\xac"); // in the code page: written as its bytes
    EXPECT_EQ(saved(), "# caf\xe9 \x80\r\n\r\n");

    document.chooseCommand(6, kWait);
    document.setArgument(6, 0, "\xe6\x97\xa5"); // U+65E5: no Windows-1252 byte
    auto unencodable = scriptBytes(document);
    ASSERT_FALSE(unencodable.ok());
    EXPECT_EQ(unencodable.error().cause, ScriptWriteError::Cause::NotEncodable);
    EXPECT_EQ(unencodable.error().row, 6);

    document.setArgument(6, 0, "a b c d e f g h i j k l m n o p q r s t u");
    auto tooLong = scriptBytes(document);
    ASSERT_FALSE(tooLong.ok());
    EXPECT_EQ(tooLong.error().cause, ScriptWriteError::Cause::TooManyWords);
    EXPECT_EQ(tooLong.error().row, 6);

    // A script the editor would refuse to open again is never written.
    document.setArgument(6, 0, "x");
    document.chooseCommand(7, kComment);
    document.setArgument(7, 0, std::string(kMaxFileBytes - 10, 'y'));
    auto tooLarge = scriptBytes(document);
    ASSERT_FALSE(tooLarge.ok());
    EXPECT_EQ(tooLarge.error().cause, ScriptWriteError::Cause::TooLarge);
}

TEST_F(ScriptDocumentTest, lineBytes_isTheSavedLine_andAnEmptyRowAnEmptyLine)
{
    load("CamMove gate 2\r\n");
    EXPECT_EQ(lineBytes(document, 0).value(), "CamMove gate 2\r\n");
    EXPECT_EQ(lineBytes(document, 1).value(), "\r\n");
}

TEST_F(ScriptDocumentTest, pastingLines_insertsThemBeforeTheRow_readAsAScriptIs)
{
    load("Wait 1\r\nWait 2\r\n");
    const auto paste = document.pasteLines(1, "CamMove gate 3\nsay greeting\n# note\n");
    EXPECT_EQ(paste.lines, 3);
    EXPECT_EQ(paste.overflow, 0);
    EXPECT_EQ(saved(), "Wait 1\r\nCamMove gate 3\r\nSay GREETING\r\n# note\r\nWait 2\r\n\r\n");
    EXPECT_TRUE(row(2).stringsVisible);
    EXPECT_EQ(layouts(1), "2200");
}

TEST_F(ScriptDocumentTest, pasteThatPushesLinesPastTheLastRow_isRefusedWithTheCount)
{
    document.chooseCommand(97, kWait);
    const auto before = document.rows();
    const auto paste = document.pasteLines(10, "Wait 1\r\nWait 2\r\nWait 3\r\nWait 4\r\n");
    EXPECT_EQ(paste.overflow, 2); // row 97 would move to row 101
    EXPECT_TRUE(paste.change.empty());
    EXPECT_EQ(document.rows(), before);
    // Empty rows at the end may go.
    EXPECT_EQ(document.pasteLines(10, "Wait 1\r\nWait 2\r\n").overflow, 0);

    std::string wide;
    for (int i = 0; i < 25; ++i)
        wide += "x ";
    EXPECT_TRUE(document.pasteLines(0, wide).refused);
}

TEST_F(ScriptDocumentTest, swappingLines_movesEverythingTheyShow)
{
    load("CamMove gate 2\r\nSay greeting\r\n");
    document.swapLines(0, 1);
    EXPECT_TRUE(row(0).stringsVisible);
    EXPECT_EQ(row(1).command, "CamMove");
    EXPECT_EQ(layouts(1), "2200");
    EXPECT_EQ(saved(), "Say GREETING\r\nCamMove gate 2\r\n\r\n");
}

// The example scripts are written as the editor writes them, with blank lines between
// groups as the game's own scripts have; opening and saving one keeps every line.
TEST(ScriptDocumentExamples, openingAndSavingAnExampleScript_keepsEveryLineInUse)
{
    const std::filesystem::path root = std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot";
    const Catalogue catalogue = std::move(loadCatalogue(test::readBytes(root / "commands.txt"))).value();
    const std::filesystem::path mod = root / "mods/Garden Return";
    ScriptDocument document(catalogue);
    document.setStrings(std::make_shared<StringsTable>(test::readBytes(mod / "strings_default.txt")));
    int scripts = 0;
    for (const auto &entry : std::filesystem::directory_iterator(mod / "scripts")) {
        const std::string bytes = test::readBytes(entry.path());
        std::string expected;
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = bytes.find("\r\n", start);
            const std::string line = bytes.substr(start, end - start);
            if (!line.empty())
                expected += line + "\r\n";
            start = end == std::string::npos ? bytes.size() : end + 2;
        }
        ASSERT_TRUE(document.load(bytes).ok()) << entry.path();
        EXPECT_EQ(scriptBytes(document).value(), expected + "\r\n") << entry.path();
        ++scripts;
    }
    EXPECT_EQ(scripts, 4);
}

} // namespace
} // namespace cw
