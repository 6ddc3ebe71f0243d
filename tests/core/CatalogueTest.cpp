#include "core/catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <string>

namespace cw {
namespace {

constexpr const char *kHeader = "name description count type label\r\n";

Catalogue load(const std::string &commandLines)
{
    auto result = loadCatalogue(kHeader + commandLines);
    EXPECT_TRUE(result.ok()) << (result ? "" : result.error().describe());
    return result ? std::move(result).value() : Catalogue{};
}

CatalogueError failure(const std::string &content)
{
    auto result = loadCatalogue(content);
    EXPECT_FALSE(result.ok());
    return result ? CatalogueError{CatalogueError::Cause::Unreadable, 0, "loaded"} : result.error();
}

std::string commandLines(int count)
{
    std::string lines;
    for (int i = 0; i < count; ++i)
        lines += "Cmd" + std::to_string(i) + " \"Command number " + std::to_string(i) + "\" 1 1 N\r\n";
    return lines;
}

TEST(NumOrZero, readsSignedDecimals_roundingHalvesToEven)
{
    EXPECT_EQ(numOrZero(""), 0);
    EXPECT_EQ(numOrZero("-3"), -3);
    EXPECT_EQ(numOrZero("+7"), 7);
    EXPECT_EQ(numOrZero("2.5"), 2);
    EXPECT_EQ(numOrZero("3.5"), 4);
    EXPECT_EQ(numOrZero("-2.5"), -2);
    EXPECT_EQ(numOrZero("-0.5"), 0);
    EXPECT_EQ(numOrZero("2.51"), 3);
    EXPECT_EQ(numOrZero("2.4999"), 2);
    EXPECT_EQ(numOrZero(".5"), 0);
    EXPECT_EQ(numOrZero("1."), 1);
    EXPECT_EQ(numOrZero("0007"), 7);
    EXPECT_EQ(numOrZero("0000007"), 7); // more digits than the range has, all but one zeros
    EXPECT_EQ(numOrZero("-0000032768"), -32768);
    EXPECT_EQ(numOrZero("32767"), 32767);
    EXPECT_EQ(numOrZero("-32768"), -32768);
    EXPECT_EQ(numOrZero("32767.4"), 32767);
    EXPECT_EQ(numOrZero("-32768.5"), -32768);
}

TEST(NumOrZero, failsOnAnythingElse)
{
    for (const char *token : {"two", "32768", "-32769", "32767.5", "99999999999999999999", "1e3", "0x10",
                              "1,5", "-", ".", "+.", " 1", "1 ", "--1", "1.2.3", "\xB2"})
        EXPECT_FALSE(numOrZero(token).has_value()) << token;
}

TEST(TypeLabel, namesTheFourTypes_andNothingElse)
{
    EXPECT_EQ(typeLabel(1), " - Integer");
    EXPECT_EQ(typeLabel(2), " - Float");
    EXPECT_EQ(typeLabel(3), " - String");
    EXPECT_EQ(typeLabel(4), " - Strings_Default entry");
    EXPECT_EQ(typeLabel(0), "");
    EXPECT_EQ(typeLabel(7), "");
    EXPECT_EQ(typeLabel(-1), "");
}

TEST(CatalogueLoader, headerOnly_givesTheCommentEntryAlone)
{
    const Catalogue catalogue = load("");
    EXPECT_EQ(catalogue.commandCount(), 0);
    EXPECT_EQ(catalogue.entry(0), Catalogue::commentEntry());
    EXPECT_EQ(catalogue.entry(0).name, "#");
    EXPECT_EQ(catalogue.entry(0).description, "Comment");
    EXPECT_EQ(catalogue.entry(0).argumentCount, 1);
    EXPECT_EQ(catalogue.entry(0).argumentTypes[1], kTypeString);
    EXPECT_EQ(catalogue.entry(0).argumentLabels[1], "Comment Text");
    // Any header, even one without a line end, is ignored.
    EXPECT_EQ(loadCatalogue("just a header")->commandCount(), 0);
}

TEST(CatalogueLoader, readsNameDescriptionCountTypesAndLabels)
{
    const Catalogue catalogue = load("Wait \"Pause the script\" 1 2 Seconds\r\n"
                                     "CamMove \"Fly there\" 2 3 Mount 2 \"Flight time\"\r\n"
                                     "Odd x 4 1 a 2 b 3 c 4 d extra tokens ignored\r\n");
    ASSERT_EQ(catalogue.commandCount(), 3);
    const CommandDefinition &wait = catalogue.entry(0);
    EXPECT_EQ(wait.name, "Wait");
    EXPECT_EQ(wait.description, "Pause the script");
    EXPECT_EQ(wait.argumentCount, 1);
    EXPECT_EQ(wait.argumentTypes[1], 2);
    EXPECT_EQ(wait.argumentLabels[1], "Seconds - Float");
    EXPECT_EQ(wait.argumentTypes[0], 0);
    EXPECT_EQ(wait.argumentLabels[0], "");
    EXPECT_EQ(catalogue.entry(1).argumentLabels[2], "Flight time - Float");
    const CommandDefinition &odd = catalogue.entry(2);
    EXPECT_EQ(odd.argumentLabels[4], "d - Strings_Default entry");
    EXPECT_EQ(odd.argumentTypes[4], kTypeStringsEntry);
    EXPECT_EQ(catalogue.entry(3).name, "#");
}

TEST(CatalogueLoader, missingTokens_areEmptyAndZero_andUnknownTypesKeepBareLabels)
{
    const Catalogue catalogue = load("Lonely\r\nSeven d 1 7 Label\r\n");
    const CommandDefinition &lonely = catalogue.entry(0);
    EXPECT_EQ(lonely.description, "");
    EXPECT_EQ(lonely.argumentCount, 0);
    for (int slot = 0; slot <= 4; ++slot) {
        EXPECT_EQ(lonely.argumentTypes[static_cast<std::size_t>(slot)], 0);
        EXPECT_EQ(lonely.argumentLabels[static_cast<std::size_t>(slot)], "");
    }
    EXPECT_EQ(catalogue.entry(1).argumentLabels[1], "Label");
}

TEST(CatalogueLoader, keepsEveryLine_emptyAndCommentLinesIncluded)
{
    // Line 2 empty (entry 0 without a name), a comment line in the middle, and a
    // file that ends with two line ends (one more empty entry).
    const Catalogue catalogue = load("\r\nA a 0\r\n#movement\r\nB b 0\r\n\r\n");
    ASSERT_EQ(catalogue.commandCount(), 5);
    EXPECT_EQ(catalogue.entry(0).name, "");
    EXPECT_EQ(catalogue.entry(2).name, "#");
    EXPECT_EQ(catalogue.entry(2).description, "movement");
    EXPECT_EQ(catalogue.entry(4).name, "");
    EXPECT_EQ(catalogue.entry(5), Catalogue::commentEntry());
}

TEST(CatalogueLoader, commentAfterTheTokens_landsInTheFollowingPositions)
{
    // "#" and its remainder take the next two token positions: harmless past the
    // last label, fatal when the remainder falls on a numeric position.
    const Catalogue catalogue = load("Four f 4 1 a 1 b 1 c 1 # note\r\n");
    EXPECT_EQ(catalogue.entry(0).argumentLabels[4], "# - Integer");
    const CatalogueError error = failure(std::string(kHeader) + "Say s 1 4 Key # note\r\n");
    EXPECT_EQ(error.cause, CatalogueError::Cause::NotANumber);
    EXPECT_EQ(failure(std::string(kHeader) + "Say s 1 4 # note\r\n").cause,
              CatalogueError::Cause::NotANumber);
}

TEST(CatalogueLoader, holdsAtMostOneHundredCommandLines)
{
    const Catalogue full = load(commandLines(100));
    EXPECT_EQ(full.commandCount(), 100);
    EXPECT_EQ(full.entry(99).name, "Cmd99");
    EXPECT_EQ(full.entry(100), Catalogue::commentEntry());

    const CatalogueError error = failure(kHeader + commandLines(101));
    EXPECT_EQ(error.cause, CatalogueError::Cause::TooManyLines);
    EXPECT_EQ(error.line, 102);
    EXPECT_EQ(failure(kHeader + commandLines(150)).line, 103);
}

TEST(CatalogueLoader, reportsEachFailureWithItsLine)
{
    const CatalogueError empty = failure("");
    EXPECT_EQ(empty.cause, CatalogueError::Cause::Empty);
    EXPECT_EQ(empty.line, 1);

    const CatalogueError word = failure(std::string(kHeader) + "A a 1 1 x\r\nB b two\r\n");
    EXPECT_EQ(word.cause, CatalogueError::Cause::NotANumber);
    EXPECT_EQ(word.line, 3);
    EXPECT_NE(word.describe().find("line 3"), std::string::npos);
    EXPECT_NE(word.describe().find("\"two\""), std::string::npos);

    EXPECT_EQ(failure(std::string(kHeader) + "A a 1 40000 x\r\n").cause, CatalogueError::Cause::NotANumber);
    EXPECT_EQ(failure(std::string(kHeader) + "A a 1 1 x 1 y 1 z 1 w\r\nB b 0 0 a 0 b 0 c x\r\n").line, 3);

    std::string tooManyTokens = "A";
    for (int i = 0; i < 21; ++i)
        tooManyTokens += " t";
    const CatalogueError tokens = failure(std::string(kHeader) + "X x 0\r\n" + tooManyTokens + "\r\n");
    EXPECT_EQ(tokens.cause, CatalogueError::Cause::Tokenizer);
    EXPECT_EQ(tokens.line, 3);
}

TEST(CatalogueLoader, fileWithLineFeedsOnly_isAllHeader)
{
    const auto result = loadCatalogue("header\nWait w 1 2 s\nSay s 1 4 k\n");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->commandCount(), 0);
}

TEST(FindCommand, matchesWithoutCase_andSkipsEntryZero)
{
    const Catalogue catalogue = load("Alpha a 0\r\nBeta b 0\r\n");
    const std::pair<const char *, int> cases[] = {{"BETA", 1}, {"#", 2}, {"alpha", 0}, {"Gamma", 0}, {"", 0}};
    for (const auto &[name, index] : cases)
        EXPECT_EQ(catalogue.find(name), index) << name;
}

TEST(FindCommand, sameNameTwice_answersTheLowerIndex_andEmptyNamesAboveZeroMatch)
{
    const Catalogue catalogue = load("\r\nSay a 0\r\nSAY b 0\r\n\r\n");
    EXPECT_EQ(catalogue.find("say"), 1);
    EXPECT_EQ(catalogue.find(""), 3);
}

} // namespace
} // namespace cw
