#include "core/text/Codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace cw {
namespace {

TEST(Codepage, everyByteRoundTrips)
{
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t character = cp1252::toUnicode(static_cast<unsigned char>(byte));
        const auto back = cp1252::fromUnicode(character);
        ASSERT_TRUE(back.has_value()) << byte;
        EXPECT_EQ(*back, byte);
    }
}

TEST(Codepage, decodesWindows1252_withUndefinedBytesAsControls)
{
    EXPECT_EQ(cp1252::toUnicode(0x80), u'\u20AC');
    EXPECT_EQ(cp1252::toUnicode(0x9F), u'\u0178');
    EXPECT_EQ(cp1252::toUnicode(0xE9), u'\u00E9');
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(cp1252::toUnicode(static_cast<unsigned char>(undefined)), undefined);
}

TEST(Codepage, refusesCharactersTheCodePageCannotHold)
{
    EXPECT_FALSE(cp1252::fromUnicode(U'\u0100').has_value());
    EXPECT_FALSE(cp1252::fromUnicode(U'\u0080').has_value()); // 0x80 is the euro sign
    EXPECT_FALSE(cp1252::fromUnicode(U'\U0001F600').has_value());
}

TEST(Codepage, toUtf8)
{
    EXPECT_EQ(cp1252::toUtf8("caf\xE9 \x80 \x93q\x94"), "caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D");
    EXPECT_EQ(cp1252::toUtf8(std::string_view("\0", 1)), std::string("\0", 1));
}

TEST(Utf8, tellsWellFormedUtf8FromAnythingElse)
{
    for (const char *text : {"", "plain", "caf\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xAE", "\x7F"})
        EXPECT_TRUE(isUtf8(text)) << text;
    for (const char *text :
         {"caf\xE9", "\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xFF"})
        EXPECT_FALSE(isUtf8(text)) << text;
}

TEST(Utf8, namesStayAsTheyAre_orAreDecodedFromWindows1252)
{
    EXPECT_EQ(nameAsUtf8("caf\xC3\xA9.txt"), "caf\xC3\xA9.txt");
    EXPECT_EQ(nameAsUtf8("caf\xE9.txt"), "caf\xC3\xA9.txt");
    EXPECT_EQ(nameAsUtf8("\x80 x"), "\xE2\x82\xAC x");
}

TEST(Utf8, controlCharactersAreEscaped_andNothingElse)
{
    EXPECT_EQ(escapeControls("new\nline"), "new\\x0aline");
    EXPECT_EQ(escapeControls(std::string("a\0b\tc\rd\x1B[31m\x7F", 13)), "a\\x00b\\x09c\\x0dd\\x1b[31m\\x7f");
    EXPECT_EQ(escapeControls("C1 \xC2\x85 and \xC2\xA0 no-break"), "C1 \\u0085 and \xC2\xA0 no-break");
    EXPECT_EQ(escapeControls("caf\xC3\xA9 \\ \"q\""), "caf\xC3\xA9 \\ \"q\"");
    // Eight bytes are passed over at a time: a control at each place of the word, and
    // a C1 control split across two words.
    for (std::size_t at = 0; at < 17; ++at) {
        std::string text(17, 'a');
        text[at] = '\x1F';
        std::string expected(17, 'a');
        expected.replace(at, 1, "\\x1f");
        EXPECT_EQ(escapeControls(text), expected) << at;
    }
    EXPECT_EQ(escapeControls("seven..\xC2\x9F"), "seven..\\u009f");
}

TEST(Codepage, fromUtf8_invertsToUtf8_andRefusesWhatTheCodePageCannotHold)
{
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every.push_back(static_cast<char>(byte));
    EXPECT_EQ(cp1252::fromUtf8(cp1252::toUtf8(every)), every);
    EXPECT_FALSE(cp1252::fromUtf8("Say \xe6\x97\xa5").has_value()); // U+65E5
    EXPECT_FALSE(cp1252::fromUtf8("\xc3").has_value());             // cut short
    EXPECT_FALSE(cp1252::fromUtf8("\xe9t\xe9").has_value());        // Latin-1 bytes, no UTF-8
}

} // namespace
} // namespace cw
