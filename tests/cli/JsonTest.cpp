#include "cli/Json.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

namespace cw {
namespace {

TEST(Json, escapesEveryByteBelow0x20_quotesAndBackslashes)
{
    for (int byte = 0; byte < 0x20; ++byte) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        const std::string expected = byte == '\t'   ? "\\t"
                                     : byte == '\n' ? "\\n"
                                     : byte == '\r' ? "\\r"
                                                    : escaped;
        EXPECT_EQ(json::quote(std::string(1, static_cast<char>(byte))), "\"" + expected + "\"") << byte;
    }
    EXPECT_EQ(json::quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(json::quote("caf\xC3\xA9 \x7F"), "\"caf\xC3\xA9 \x7F\"");
}

TEST(Json, numbersAreTheShortestTextThatReadsBack_nullWhenMissingOrNotFinite)
{
    EXPECT_EQ(json::Object()
                  .field("a", 0.0)
                  .field("b", 9.25)
                  .field("c", 3.217)
                  .field("d", std::optional<double>())
                  .field("e", std::numeric_limits<double>::infinity())
                  .field("f", std::vector<std::optional<double>>{1e21, std::nullopt})
                  .field("g", false)
                  .str(),
              R"({"a": 0, "b": 9.25, "c": 3.217, "d": null, "e": null, "f": [1e+21, null], "g": false})");
}

TEST(Json, thousandthsReadAsTheDoubleTheyStandFor_writtenAtTheEndOfAText)
{
    std::string out = "before\n";
    json::Object(out)
        .thousandths("a", 0)
        .thousandths("b", 50)
        .thousandths("c", 5)
        .thousandths("d", 139809583)
        .thousandths("e", -1250)
        .thousandths("f", {2000, std::nullopt})
        .endLine();
    EXPECT_EQ(out, "before\n"
                   R"({"a": 0, "b": 0.05, "c": 0.005, "d": 139809.583, "e": -1.25, "f": [2, null]})"
                   "\n");
    // As the shortest text of the same value as a double.
    for (const long long value : {1LL, 17LL, 999LL, 1001LL, 35791394117LL}) {
        EXPECT_EQ(json::Object().thousandths("t", value).str(),
                  json::Object().field("t", static_cast<double>(value) / 1000).str());
    }
}

} // namespace
} // namespace cw
