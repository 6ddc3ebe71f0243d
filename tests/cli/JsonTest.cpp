#include "cli/Json.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cw {
namespace {

TEST(Json, escapesEveryByteBelow0x20_quotesAndBackslashes)
{
    const std::string named[] = {"\\b", "\\t", "\\n", "\\f", "\\r"};
    for (int byte = 0; byte < 0x20; ++byte) {
        SCOPED_TRACE(byte);
        const std::string quoted = json::quote(std::string(1, static_cast<char>(byte)));
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
        const bool isNamed = byte == '\t' || byte == '\n' || byte == '\r';
        if (isNamed)
            EXPECT_EQ(quoted, "\"" + named[byte == '\t' ? 1 : byte == '\n' ? 2 : 4] + "\"");
        else
            EXPECT_EQ(quoted, "\"" + std::string(escaped) + "\"");
    }
    EXPECT_EQ(json::quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(json::quote("caf\xC3\xA9 \x7F"), "\"caf\xC3\xA9 \x7F\"");
}

TEST(Json, objectsKeepTheirFieldsInOrder)
{
    EXPECT_EQ(json::Object().field("line", 3).field("slots", std::vector<std::string>{"a", ""}).str(),
              R"({"line": 3, "slots": ["a", ""]})");
    EXPECT_EQ(json::Object().str(), "{}");
}

} // namespace
} // namespace cw
