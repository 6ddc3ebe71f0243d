#include "core/check/Checker.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace cw::check {
namespace {

const fs::path kData = fs::path(CUEWRIGHT_SOURCE_DIR) / "tests" / "data" / "check";

const Catalogue &exampleCatalogue()
{
    static const Catalogue catalogue =
        std::move(loadCatalogue(*readFile(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt")))
            .value();
    return catalogue;
}

std::vector<Finding> checkFixture(const std::string &name)
{
    const GameStringKeys keys(*readFile(kData / "strings" / "clean.txt"));
    return checkScript(*readFile(kData / "scripts" / name), exampleCatalogue(), keys);
}

struct Expected
{
    const char *fixture;
    const char *rule;
    int line;
    Severity severity;
};

class ScriptDefects : public ::testing::TestWithParam<Expected>
{
};

// Each fixture holds one defect, and the checker finds that one and nothing else.
TEST_P(ScriptDefects, findTheOneDefectOfTheirName)
{
    const Expected &expected = GetParam();
    const auto findings = checkFixture(expected.fixture);
    ASSERT_EQ(findings.size(), 1u) << expected.fixture << ": " << (findings.empty() ? "" : findings[0].rule)
                                   << (findings.size() > 1 ? " and " + findings[1].rule : "");
    EXPECT_EQ(findings[0].rule, expected.rule);
    EXPECT_EQ(findings[0].line, expected.line);
    EXPECT_EQ(findings[0].severity, expected.severity);
    EXPECT_FALSE(findings[0].message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ScriptDefects,
    ::testing::Values(Expected{"missing_argument.txt", "missing-argument", 2, Severity::Error},
                      Expected{"dangerous_command.txt", "dangerous-command", 2, Severity::Error},
                      Expected{"last_line_without_end.txt", "no-final-line-end", 2, Severity::Error},
                      Expected{"too_many_tokens.txt", "too-many-tokens", 2, Severity::Error},
                      Expected{"last_line_cr_end.txt", "no-final-line-end", 2, Severity::Error},
                      Expected{"cr_line_end.txt", "cr-line-end", 1, Severity::Error},
                      Expected{"unknown_command.txt", "unknown-command", 2, Severity::Warning},
                      Expected{"not_a_number.txt", "not-a-number", 2, Severity::Warning},
                      Expected{"comma_in_argument.txt", "separator-in-argument", 2, Severity::Warning},
                      Expected{"quote_in_argument.txt", "quote-in-argument", 2, Severity::Warning},
                      Expected{"missing_string.txt", "missing-string", 2, Severity::Warning},
                      Expected{"duration_out_of_range.txt", "duration-range", 2, Severity::Warning},
                      Expected{"past_line_100.txt", "past-line-100", 101, Severity::Warning}),
    [](const ::testing::TestParamInfo<Expected> &param) {
        std::string name = param.param.fixture;
        return name.substr(0, name.find('.'));
    });

TEST(Checker, cleanScript_hasNoFinding_withAnyOfTheThreeLineEnds)
{
    EXPECT_TRUE(checkFixture("clean.txt").empty());
    const std::string crLf = *readFile(kData / "scripts" / "clean.txt");
    std::string lf;
    for (char c : crLf)
        if (c != '\r')
            lf += c;
    ASSERT_NE(lf, crLf);
    const GameStringKeys keys(*readFile(kData / "strings" / "clean.txt"));
    EXPECT_TRUE(checkScript(lf, exampleCatalogue(), keys).empty());
}

TEST(Checker, messagesSayWhatTheGameDoes)
{
    const auto unknown = checkFixture("unknown_command.txt");
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_NE(unknown[0].message.find("WaitSay"), std::string::npos) << unknown[0].message;

    const auto number = checkFixture("not_a_number.txt");
    EXPECT_NE(number[0].message.find("reads 0"), std::string::npos) << number[0].message;

    const auto missing = checkFixture("missing_argument.txt");
    EXPECT_NE(missing[0].message.find("needs 3"), std::string::npos) << missing[0].message;
    EXPECT_NE(missing[0].message.find("finds 2"), std::string::npos);

    const auto purity = checkFixture("dangerous_command.txt");
    EXPECT_NE(purity[0].message.find("deletes the player's saved games"), std::string::npos);
}

TEST(Checker, gameReadsNumbersByTheirPrefix_andCamFovsSecondArgumentIsOptional)
{
    const GameStringKeys keys("");
    const auto findings =
        checkScript("Highlight 12abc\r\nCamFov 60\r\nCamFov\r\nWait 1e1\r\n", exampleCatalogue(), keys);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].rule, "not-a-number");
    EXPECT_NE(findings[0].message.find("reads 12"), std::string::npos) << findings[0].message;
    EXPECT_EQ(findings[1].rule, "missing-argument");
    EXPECT_EQ(findings[1].line, 3);
}

TEST(Checker, commentsAndTheGamesSeparators_shapeWhatItSees)
{
    const GameStringKeys keys("intro_1 x\r\n");
    // A trailing comment takes its words away from the game; ":" separates.
    const auto findings =
        checkScript("CamMove gate # 2\r\nCamMove gate:2\r\n  # only a comment\r\n", exampleCatalogue(), keys);
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].rule, "missing-argument");
    EXPECT_EQ(findings[0].line, 1);
    EXPECT_EQ(findings[1].rule, "separator-in-argument");
    EXPECT_EQ(findings[1].line, 2);
}

TEST(Checker, stringsKeysMatchWithoutCase_andAsTheGameSplitsThem)
{
    const GameStringKeys keys("INTRO_1 Hello\r\n#commented_out x\r\nkey:colon y\r\n");
    EXPECT_TRUE(keys.contains("intro_1"));
    EXPECT_FALSE(keys.contains("commented_out"));
    EXPECT_TRUE(keys.contains("KEY"));
    EXPECT_FALSE(keys.contains("key:colon"));
}

struct StringsExpected
{
    const char *fixture;
    const char *rule;
    int line;
};

class StringsDefects : public ::testing::TestWithParam<StringsExpected>
{
};

TEST_P(StringsDefects, findTheOneDefectOfTheirName)
{
    const auto findings = checkStrings(*readFile(kData / "strings" / GetParam().fixture));
    ASSERT_EQ(findings.size(), 1u) << GetParam().fixture;
    EXPECT_EQ(findings[0].rule, GetParam().rule);
    EXPECT_EQ(findings[0].line, GetParam().line);
    EXPECT_EQ(findings[0].severity, Severity::Warning);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, StringsDefects,
                         ::testing::Values(StringsExpected{"hash_in_text.txt", "hash-in-text", 1},
                                           StringsExpected{"duplicate_key.txt", "duplicate-key", 2},
                                           StringsExpected{"last_line_without_end.txt", "no-final-line-end",
                                                           2}),
                         [](const ::testing::TestParamInfo<StringsExpected> &param) {
                             std::string name = param.param.fixture;
                             return name.substr(0, name.find('.'));
                         });

TEST(Checker, cleanStringsTable_hasNoFinding)
{
    EXPECT_TRUE(checkStrings(*readFile(kData / "strings" / "clean.txt")).empty());
}

TEST(Checker, hashInText_showsWhatTheGameKeeps)
{
    const auto findings = checkStrings("intro_1 Number #1 of them\r\n");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(findings[0].message.find("\"Number \""), std::string::npos) << findings[0].message;
}

TEST(Checker, durationsBelowTheRange_negativeOnesIncluded)
{
    const GameStringKeys keys("");
    const auto findings =
        checkScript("Wait -5\r\nWait 0\r\nWait 0.01\r\nCamMove gate -1\r\n", exampleCatalogue(), keys);
    ASSERT_EQ(findings.size(), 3u);
    for (const Finding &finding : findings)
        EXPECT_EQ(finding.rule, "duration-range");
    EXPECT_NE(findings[0].message.find("Wait for -5 seconds"), std::string::npos) << findings[0].message;
    EXPECT_EQ(findings[2].line, 4);
}

TEST(Checker, lastLineEndingInALoneCr_isNeverReadByTheGame)
{
    const auto strings = checkStrings("A x\r\nB y\r");
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0].rule, "no-final-line-end");
    EXPECT_EQ(strings[0].line, 2);
    EXPECT_NE(strings[0].message.find("CR alone"), std::string::npos) << strings[0].message;
    // Blank last lines say nothing, however they end.
    EXPECT_TRUE(checkStrings("A x\r\n  \r").empty());
}

// A word of megabytes must neither take minutes to compare with every name nor make
// a message of megabytes.
TEST(Checker, longWordsAreCutInMessages)
{
    const GameStringKeys keys("");
    const std::string word(1 << 20, 'W');
    const auto findings = checkScript(word + "\r\nWait " + word + "x,\r\n", exampleCatalogue(), keys);
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(findings[0].rule, "unknown-command");
    EXPECT_EQ(findings[0].message.substr(0, 48), "\"" + std::string(40, 'W') + "...\" is");
    for (const Finding &finding : findings)
        EXPECT_LT(finding.message.size(), 200u) << finding.rule;
    // Near names are still found for words of about their length.
    EXPECT_NE(checkScript("WaitSy\r\n", exampleCatalogue(), keys)[0].message.find("did you mean WaitSay"),
              std::string::npos);
}

TEST(Checker, findingsArriveOneByOneInLineOrder)
{
    const GameStringKeys keys("");
    std::vector<std::pair<int, std::string>> seen;
    checkScript("Nope\r\nCamMove a:\r\nWait x\r\n", exampleCatalogue(), keys,
                [&seen](Finding &&f) { seen.emplace_back(f.line, f.rule); });
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{1, "unknown-command"},
                                                              {2, "separator-in-argument"},
                                                              {2, "missing-argument"},
                                                              {3, "not-a-number"}}));
}

} // namespace
} // namespace cw::check
