#include "core/script/ScriptDocument.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/strings/StringsTable.h"
#include "support/TempDir.h"

#include <algorithm>
#include <array>
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
    // A row on one line: "selected:command(tooltip)", the four fields as "text(tooltip)"
    // or, hidden, "-text", the layout of each, and the strings chooser as
    // "[text#index(tooltip)]" when it shows.
    std::string describe(int r) const
    {
        const auto tip = [](const SharedText &text) {
            return text.empty() ? std::string() : "(" + text.str() + ")";
        };
        const ScriptRow &line = row(r);
        std::string out =
            std::to_string(line.selected) + ":" + line.command.str() + tip(line.commandTooltip) + " ";
        for (std::size_t k = 0; k < line.fields.size(); ++k) {
            const ScriptRow::Field &field = line.fields[k];
            out += (k > 0 ? "|" : "") +
                   (field.visible ? field.text.str() + tip(field.tooltip) : "-" + field.text.str());
        }
        out += " @" + layouts(r);
        if (line.stringsVisible)
            out += " [" + line.stringsText.str() + "#" + std::to_string(line.stringsSelected) +
                   tip(line.stringsTooltip) + "]";
        return out;
    }
    // Sets a row's command text and its four argument texts, as typing does.
    void type(int r, std::string_view command, const std::array<std::string_view, 4> &arguments)
    {
        document.typeCommand(r, command);
        for (int k = 0; k < 4; ++k)
            document.setArgument(r, k, arguments[static_cast<std::size_t>(k)]);
    }
    std::string saved() const { return scriptBytes(document).value(); }
    std::string roundTrip(std::string_view bytes)
    {
        EXPECT_TRUE(document.load(bytes).ok());
        return saved();
    }

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

// How the loader sets a row up for each kind of line: the catalogue's own spelling and
// labels for a known command, whatever its case; fields up to the count, and beyond it
// for the arguments the line has; a word no entry names kept as written and laid out
// for the fields it shows; a strings key in the entry's own spelling, or as written.
TEST_F(ScriptDocumentTest, loadedLines_showAsTheLoaderSetsThemUp)
{
    const std::pair<const char *, const char *> cases[] = {
        {"", "0: -|-|-|- @0000"},
        {"cammove garden_gate 2.5",
         "2:CamMove(Fly) garden_gate(Mount - String)|2.5(Seconds - Float)|-|- @2200"},
        {"Wait 1 extra more", "1:Wait(Pause) 1(Seconds - Float)|extra|more|- @1000"},
        {"CamMove", "2:CamMove(Fly) (Mount - String)|(Seconds - Float)|-|- @2200"},
        {"#  two spaces", "8:#(Comment)   two spaces(Comment Text)|-|-|- @1000"},
        {"Seven a", "6:Seven(Claims seven) a(A - Integer)|(B - Integer)|(C - Integer)|(D - Integer) @0000"},
        {"CamFlyBy Lake 3", "-1:CamFlyBy Lake|3|-|- @2200"},
        {"CamMov", "-1:CamMov -|-|-|- @0000"},
        {"Fly \"\" b c", "-1:Fly |b|c|- @3330"},
        {"Fly a b c d", "-1:Fly a|b|c|d @4444"},
        {"say greeting", "3:Say(Speak) -GREETING|-|-|- @1000 [GREETING#0(Hello there)]"},
        {"SayTwo intro_1 2", "7:SayTwo(Speak twice) -intro_1|2(N - Integer)|-|- @2200 [intro_1#1(Welcome)]"},
        {"Say Nowhere", "3:Say(Speak) -Nowhere|-|-|- @1000 [Nowhere#-1]"},
        {"Say", "3:Say(Speak) -|-|-|- @1000 [#-1]"},
    };
    std::string script;
    for (const auto &c : cases)
        script += std::string(c.first) + "\r\n";
    load(script);
    for (std::size_t r = 0; r < std::size(cases); ++r)
        EXPECT_EQ(describe(static_cast<int>(r)), cases[r].second) << cases[r].first;
}

// Rows after the file's last line are emptied; their fields stay where they were laid
// out last.
TEST_F(ScriptDocumentTest, rowsAfterTheFile_areEmptied)
{
    load("Wait 1\r\nWait 2\r\nWait 3\r\nCamMove gate 4\r\n");
    load("Wait 1\r\nWait 2\r\nWait 3");
    EXPECT_EQ(describe(2), "1:Wait(Pause) 3(Seconds - Float)|-|-|- @1000");
    EXPECT_EQ(describe(3), "0: -|-|-|- @2200");
    for (int r = 4; r < 100; ++r)
        EXPECT_EQ(describe(r), "0: -|-|-|- @0000") << r;
}

TEST(ScriptDocumentEntryZero, emptyLine_isAnEmptyRow_whateverEntryZeroIs_andSavesAsNothing)
{
    for (const char *first : {"Wait w 1 2 Seconds", "Say s 2 4 Key 1 N"}) {
        SCOPED_TRACE(first);
        const Catalogue catalogue =
            std::move(loadCatalogue(std::string("header\r\n") + first + "\r\nOne o 1 1 A\r\n")).value();
        ScriptDocument document(catalogue);
        document.setStrings(std::make_shared<StringsTable>("K v\r\n"));
        ASSERT_TRUE(document.load(std::string("\r\nOne 1\r\n   \r\n\r\n")).ok());
        for (int r = 0; r < 100; ++r) {
            if (r == 1)
                continue;
            const ScriptRow &row = document.row(r);
            EXPECT_EQ(row.command, "") << r;
            EXPECT_FALSE(row.fields[0].visible || row.fields[1].visible || row.stringsVisible) << r;
            EXPECT_EQ(row.fields[0].laidOutFor, 0) << r;
        }
        EXPECT_EQ(scriptBytes(document).value(), "One 1\r\n\r\n");
        // Written out by its own name, entry 0 is the command it names.
        ASSERT_TRUE(document.load(catalogue.entry(0).name + " 5\r\n").ok());
        EXPECT_EQ(document.row(0).command, catalogue.entry(0).name);
        EXPECT_EQ(document.row(0).selected, 0);
    }
}

TEST_F(ScriptDocumentTest, saving_writesOneLinePerRowWithACommand_andOneFinalLineEnd)
{
    type(0, "Wait", {"1", "", "", ""});
    type(5, "CamMove", {"", "gate", "", "2"});
    type(7, "#", {"a \"quoted\" # note", "", "", ""});
    type(9, "", {"orphan", "", "", ""});
    EXPECT_EQ(saved(), "Wait 1\r\nCamMove gate 2\r\n# a \"quoted\" # note\r\n\r\n");
}

TEST_F(ScriptDocumentTest, saving_givesTheTextAfterAHashABlankOnlyWhenItHasNone)
{
    const struct
    {
        const char *command;
        std::array<std::string_view, 4> arguments;
        const char *line;
    } cases[] = {
        {"#", {"note", "", "", ""}, "# note"},
        {"#", {" lead", "", "", ""}, "# lead"},
        {"#", {"\ttab", "", "", ""}, "#\ttab"},
        {"#", {"", "", "", ""}, "#"},
        {"#", {"", " gap", "", ""}, "# gap"},
        {"One", {"1", "#", " later", ""}, "One 1 # later"},
        {"One", {"1", "#", "later", ""}, "One 1 # later"},
        {"One", {" 1", "", "", ""}, "One  1"},
        {"One", {"a#", " b", "", ""}, "One a#  b"},
    };
    for (const auto &c : cases) {
        type(0, c.command, c.arguments);
        EXPECT_EQ(saved(), std::string(c.line) + "\r\n\r\n") << c.line;
    }
}

TEST_F(ScriptDocumentTest, loadAndSave_normalisesLineEndsBlanksQuotesAndCase)
{
    // Every line end becomes CR LF; blank runs, quotes, inner empty lines and the
    // command's case go.
    EXPECT_EQ(roundTrip("wait   1\nWait 2\rWait 3\r\n\r\nCamMove \"gate one\"\t3\n\n"),
              "Wait 1\r\nWait 2\r\nWait 3\r\nCamMove gate one 3\r\n\r\n");
    // A comment gets a blank after "#" only when it has none; a bare "#" stays "#".
    EXPECT_EQ(roundTrip("#note\r\n# spaced\r\n#  two\r\n#\r\n"), "# note\r\n# spaced\r\n#  two\r\n#\r\n\r\n");
    // A word against a "#" stays, its line as it was; a trailing comment becomes arguments.
    EXPECT_EQ(roundTrip("Wait#note\r\nWait 1 #later\r\nWait 1 # later\r\n"),
              "Wait#note\r\nWait 1 # later\r\nWait 1 # later\r\n\r\n");
    EXPECT_EQ(roundTrip("cammove \"a b\" 2\n#x\n#  lead\r\nSay intro_1\rWait 1 #  later\r\nOdd x\r\n#\r\n"),
              "CamMove a b 2\r\n# x\r\n#  lead\r\nSay intro_1\r\nWait 1 #  later\r\nOdd x\r\n#\r\n\r\n");
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

// Each edit below changes what a save writes, at the edges of the comparison: a
// command whose argument is emptied, a command with no argument at all, and the last of
// 100 loaded lines.
TEST_F(ScriptDocumentTest, isModified_seesEditsOfCommandsWithoutArgumentsAndOfTheLastRow)
{
    std::string hundred;
    for (int i = 0; i < ScriptDocument::kRows; ++i)
        hundred += "Wait " + std::to_string(i) + "\r\n";
    const int last = ScriptDocument::kRows - 1;
    const struct
    {
        const char *name;
        std::string script;
        std::function<void(ScriptDocument &)> edit;
    } cases[] = {
        {"ArgumentEmptied", "Wait 1\r\n",
         [](ScriptDocument &d) {
             (void)d.setArgument(0, 0, "");
         }},
        {"CommandWithoutArguments", "Wait 1\r\n",
         [](ScriptDocument &d) {
             (void)d.chooseCommand(1, kWait);
         }},
        {"LastRowsArgument", hundred,
         [&](ScriptDocument &d) {
             (void)d.setArgument(last, 0, "7");
         }},
        {"LastRowRemoved", hundred,
         [&](ScriptDocument &d) {
             (void)d.removeLine(last);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        load(c.script);
        ASSERT_FALSE(document.isModified());
        c.edit(document);
        EXPECT_TRUE(document.isModified());
        EXPECT_NE(saved(), c.script);
    }
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

// The game reads on past a "#" glued to a word ("CamMove m#5" has the duration 5), which
// the row's texts written with blanks between them would not say: an unedited row is
// written as its line was, wherever it moves; an edited one as the grid shows it.
TEST_F(ScriptDocumentTest, aLineWithAGluedHash_isWrittenAsItWas_untilItsRowIsEdited)
{
    const auto report =
        document.load(std::string_view("CamMove gate 3#slowly\r\nWait  1#x  y z w\r\nWait 2 # fine\r\n"));
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(report->gluedHash.size(), 2u);
    EXPECT_EQ(report->gluedHash[0].line, 1);
    EXPECT_EQ(report->gluedHash[1].text, "Wait  1#x  y z w");
    EXPECT_EQ(describe(0), "2:CamMove(Fly) gate(Mount - String)|3(Seconds - Float)|#|slowly @2200");
    EXPECT_EQ(saved(), "CamMove gate 3#slowly\r\nWait  1#x  y z w\r\nWait 2 # fine\r\n\r\n");
    // Written as it was, the line loses none of its words.
    EXPECT_FALSE(document.lossesOnSave().any());

    document.insertLine(0);
    document.swapLines(1, 2);
    EXPECT_EQ(saved(), "Wait  1#x  y z w\r\nCamMove gate 3#slowly\r\nWait 2 # fine\r\n\r\n");
    const RowsChange edit = document.setArgument(2, 1, "4");
    EXPECT_EQ(saved(), "Wait  1#x  y z w\r\nCamMove gate 4 # slowly\r\nWait 2 # fine\r\n\r\n");
    document.undo(edit);
    EXPECT_EQ(saved(), "Wait  1#x  y z w\r\nCamMove gate 3#slowly\r\nWait 2 # fine\r\n\r\n");
    // Setting a field to the text it holds is no edit.
    document.setArgument(1, 0, "1");
    document.typeCommand(1, "Wait");
    EXPECT_EQ(saved().substr(0, 18), "Wait  1#x  y z w\r\n");
    document.chooseCommand(1, kWait);
    EXPECT_EQ(saved().substr(0, 18), "Wait  1#x  y z w\r\n");
    document.typeCommand(1, "wait");
    EXPECT_EQ(saved().substr(0, 19), "wait 1 # x  y z w\r\n");
    // Saved, the row still stands for the line the file holds.
    document.markSaved();
    EXPECT_EQ(saved().substr(0, 19), "wait 1 # x  y z w\r\n");
    EXPECT_EQ(lineText(row(2)), "CamMove gate 3#slowly");
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

    // 21 words read back; a comment is one word after its "#", however long.
    document.setArgument(6, 0, "a b c d e f g h i j k l m n o p q r s t");
    document.setArgument(4, 0, "a b c d e f g h i j k l m n o p q r s t u v w x y z");
    EXPECT_TRUE(scriptBytes(document).ok());
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
    // What hides behind a row without a command is never written.
    document.setArgument(1, 0, "\xe6\x97\xa5");
    EXPECT_EQ(lineBytes(document, 1).value(), "\r\n");
    document.typeCommand(1, "Wait");
    EXPECT_EQ(lineBytes(document, 1).error().cause, ScriptWriteError::Cause::NotEncodable);
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

    // A command far down the pasted text counts too, past the lines a read splits.
    std::string far;
    for (int i = 0; i < 209; ++i)
        far += "\r\n";
    ScriptDocument empty(catalogue);
    EXPECT_EQ(empty.pasteLines(0, far + "Wait 9\r\n").overflow, 110);
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

// Whatever saving wrote opens and saves as the same bytes, so that saving a file nobody
// edited changes nothing, and loses nothing on opening; for every example script too.
// Double quotes come off one pair per load, so a script with them only has to settle
// within a few saves. The examples of Garden Return are written as the editor writes
// them, with blank lines between groups as the game's own scripts have: saving one
// keeps every line in use.
TEST(ScriptSaving, whatSavingWrote_savesAsTheSameBytes)
{
    const fs::path root = fs::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot";
    const Catalogue catalogue = std::move(loadCatalogue(test::readBytes(root / "commands.txt"))).value();
    struct Script
    {
        std::string name;
        std::string bytes;
        fs::path mod;
    };
    std::string full;
    for (int i = 0; i < 100; ++i)
        full += "Wait 1\r\n";
    std::vector<Script> scripts = {
        {"untidy", "cammove \"a b\" 2\n#x\n#  lead\r\nSay intro_1\rWait 1 #  later\r\nOdd x\r\n#\r\n", {}},
        {"a full grid", full, {}},
    };
    for (const auto &mod : fs::directory_iterator(root / "mods")) {
        if (fs::is_directory(mod.path() / "scripts")) {
            for (const auto &script : fs::directory_iterator(mod.path() / "scripts"))
                scripts.push_back(
                    {test::utf8(script.path().filename()), test::readBytes(script.path()), mod.path()});
        }
    }
    int checked = 0;
    for (const Script &script : scripts) {
        SCOPED_TRACE(script.name);
        ScriptDocument document(catalogue);
        if (fs::exists(script.mod / "strings_default.txt"))
            document.setStrings(
                std::make_shared<StringsTable>(test::readBytes(script.mod / "strings_default.txt")));
        if (!document.load(script.bytes).ok())
            continue; // a line the editor refuses is refused for good
        std::string current = scriptBytes(document).value();
        if (script.mod.filename() == "Garden Return") {
            std::string inUse;
            for (std::size_t start = 0, end; start < script.bytes.size(); start = end + 2) {
                end = std::min(script.bytes.find("\r\n", start), script.bytes.size());
                if (end > start)
                    inUse += script.bytes.substr(start, end - start) + "\r\n";
            }
            EXPECT_EQ(current, inUse + "\r\n");
        }
        const bool quoted = script.bytes.find('"') != std::string::npos;
        for (int cycle = 0;; ++cycle) {
            ASSERT_TRUE(document.load(current).ok());
            EXPECT_FALSE(document.lossesOnSave().any());
            const std::string again = scriptBytes(document).value();
            if (again == current)
                break;
            ASSERT_TRUE(quoted && cycle < 5) << "cycle " << cycle << ":\n" << again;
            current = again;
        }
        ++checked;
    }
    EXPECT_GE(checked, 11);
}

} // namespace
} // namespace cw
