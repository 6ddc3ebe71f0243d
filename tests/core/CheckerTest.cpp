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
                      Expected{"lf_line_ends.txt", "lf-line-ends", 2, Severity::Error},
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

TEST(Checker, cleanScript_hasNoFinding)
{
    EXPECT_TRUE(checkFixture("clean.txt").empty());
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

} // namespace
} // namespace cw::check
