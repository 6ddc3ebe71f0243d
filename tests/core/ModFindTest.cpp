#include "core/find/ModFind.h"

#include "core/catalogue/Catalogue.h"
#include "core/script/ScriptDocument.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace cw::find {
namespace {

TEST(FindMatching, plainText_anyLetterCaseByDefault_wholeWordsWhenAsked)
{
    const struct
    {
        const char *line;
        const char *text;
        bool matchCase;
        bool wholeWord;
        std::vector<std::size_t> expected;
    } cases[] = {
        {"CamMove gate 3", "gate", false, false, {8}},
        {"CamMove GATE 3", "gate", false, false, {8}},
        {"CamMove GATE 3", "gate", true, false, {}},
        {"Say gate_1 gate", "gate", false, false, {4, 11}},
        {"Say gate_1 gate", "gate", false, true, {11}},       // _ belongs to the word
        {"Say gate,gate.", "gate", false, true, {4, 9}},      // punctuation does not
        {"aaaa", "aa", false, false, {0, 2}},                 // never overlapping
        {"a.b*c", ".b*", false, false, {1}},                  // no pattern: plain text
        {"CAF\xC9 caf\xE9", "caf\xE9", false, false, {0, 5}}, // the code page's letters fold too
        {"caf\xE9x", "caf", false, true, {}},                 // \xE9 is a letter
        {"\xD7x \xF7x", "x", false, true, {1, 4}},            // × and ÷ are not
        {"anything", "", false, false, {}},
        {"ab", "abc", false, false, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(matchesIn(c.line, c.text, {c.matchCase, c.wholeWord}), c.expected)
            << c.line << " / " << c.text;
}

TEST(FindInMod, scriptsByName_thenStringsFiles_lineByLineAsTheGameReadsThem)
{
    test::TempDir mod;
    mod.write("scripts/b.txt", "Say hello\r\nCamMove Gate 3\rWait 1\nCamCut gate");
    mod.write("scripts/A.txt", "# the gate opens\r\n");
    mod.write("scripts/notes.md", "gate\r\n");
    mod.write("strings_default.txt", "hello The gate is open\r\n");
    mod.write("language/german.txt", "hello Das Tor\r\n");
    std::vector<std::string> names;
    for (const auto &file : searchedFiles(mod.path()))
        names.push_back(file.lexically_relative(mod.path()).generic_string());
    EXPECT_EQ(names, std::vector<std::string>(
                         {"scripts/A.txt", "scripts/b.txt", "strings_default.txt", "language/german.txt"}));

    const std::vector<Match> found =
        findInFile("b.txt", "Say hello\r\nCamMove Gate 3\rWait 1\nCamCut gate", "gate", {});
    ASSERT_EQ(found.size(), 2U);
    EXPECT_EQ(found[0].line, 2);
    EXPECT_EQ(found[0].text, "CamMove Gate 3");
    EXPECT_EQ(found[1].line, 4);
    EXPECT_EQ(found[1].at, std::vector<std::size_t>({7}));
    // Text the code page cannot hold is in no file; a line's text is shown as UTF-8.
    EXPECT_TRUE(findInFile("x.txt", "Say \xE9t\xE9", "\xC4\x80", {}).empty());
    EXPECT_EQ(findInFile("x.txt", "Say \xE9t\xE9", "\xC3\x89T\xC3\x89", {}).front().text,
              "Say \xC3\xA9t\xC3\xA9");
}

// The grid's rows are searched in what they show: the command, a Say's key, the shown
// fields; offsets are in the row's UTF-8.
TEST(FindInRows, whatEachRowShows_rowByRow)
{
    const Catalogue catalogue = std::move(loadCatalogue("header\r\n\r\n"
                                                        "Wait \"Pause\" 1 2 Seconds\r\n"
                                                        "CamMove \"Fly\" 2 3 Mount 2 Seconds\r\n"
                                                        "Say \"Speak\" 1 4 Key\r\n"))
                                    .value();
    ScriptDocument document(catalogue);
    ASSERT_TRUE(document
                    .load(std::string_view("CamMove gate 3\r\n# caf\xE9 gate\r\nSay gate_hello\r\n"
                                           "CamMove x gate\r\nWait gate\r\n"))
                    .ok());
    static_cast<void>(document.chooseCommand(3, 1)); // a Wait: "gate", its second word, is hidden
    const std::vector<RowMatch> all = findInRows(document, "GATE", {});
    EXPECT_EQ(all, std::vector<RowMatch>({{0, 2, 0, 4}, {1, 2, 7, 4}, {2, 1, 0, 4}, {4, 2, 0, 4}}));
    EXPECT_EQ(findInRows(document, "\xC3\x89", {}),
              std::vector<RowMatch>({{1, 2, 4, 2}}));                  // É finds é, after " caf"
    EXPECT_EQ(findInRows(document, "gate", {false, true}).size(), 3U); // not gate_hello
    EXPECT_EQ(findInRows(document, "Cam", {true, false}), std::vector<RowMatch>({{0, 0, 0, 3}}));

    // Replacing them all is one change, of the matched bytes only, and undone as one.
    const auto texts = [&document] {
        std::string out;
        for (int r = 0; r < 5; ++r)
            out += document.row(r).command.str() + "|" + document.row(r).fields[0].text.str() + "|" +
                   document.row(r).fields[1].text.str() + "\n";
        return out;
    };
    const std::string before = texts();
    const RowsChange change = replaceInRows(document, findInRows(document, "gate", {}), "Door");
    EXPECT_EQ(texts(), "CamMove|Door|3\n#| caf\xC3\xA9 Door|\nSay|Door_hello|\nWait|x|gate\nWait|Door|\n");
    EXPECT_EQ(change.first, 0);
    EXPECT_EQ(change.last(), 4);
    document.undo(change);
    EXPECT_EQ(texts(), before);
}

} // namespace
} // namespace cw::find
