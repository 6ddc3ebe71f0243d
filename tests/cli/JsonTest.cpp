#include "cli/Json.h"

#include <gtest/gtest.h>

#include <cstdio>

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

} // namespace
} // namespace cw
