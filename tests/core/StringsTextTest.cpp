#include "core/strings/StringsText.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(StringsText, everyLineEnd_isOneLineBreakInTheEditor)
{
    EXPECT_EQ(editorTextFromFile("A 1\r\nB 2\rC 3\nD 4"), "A 1\nB 2\nC 3\nD 4");
    EXPECT_EQ(editorTextFromFile("A\r\n"), "A\n");
    EXPECT_EQ(editorTextFromFile("\r\n\r\n"), "\n\n");
    EXPECT_EQ(editorTextFromFile("\n\r"), "\n\n"); // an LF, then a CR of its own
    EXPECT_EQ(editorTextFromFile("\r\r\n"), "\n\n");
    EXPECT_EQ(editorTextFromFile(""), "");
    std::string others;
    for (int value = 0; value < 256; ++value) {
        if (value != '\r' && value != '\n')
            others += static_cast<char>(value);
    }
    EXPECT_EQ(editorTextFromFile(others + "\r\n" + others), others + "\n" + others);
}

TEST(StringsText, savingWritesCrLfLineEnds_andEndsAnUnendedLastLine)
{
    EXPECT_EQ(fileBytesFromEditorText("A x"), "A x\r\n");
    EXPECT_EQ(fileBytesFromEditorText(""), "\r\n");
    // A text ending in a line break gets no second one: saving again adds nothing.
    EXPECT_EQ(fileBytesFromEditorText("A\nB\n"), "A\r\nB\r\n");
    EXPECT_EQ(fileBytesFromEditorText("\n\n"), "\r\n\r\n");
    // A CR that reached the text, by a paste say, is a line break too.
    EXPECT_EQ(fileBytesFromEditorText("A\rB\r\nC"), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(fileBytesFromEditorText(test::bytes("\0\xFF\t")), test::bytes("\0\xFF\t\r\n"));
}

TEST(StringsText, aFileWithAnyLineEnds_isSavedWithCrLf)
{
    const std::string mixed = "# header\nK1 one\rK2 two\r\nK3 three";
    const std::string saved = "# header\r\nK1 one\r\nK2 two\r\nK3 three\r\n";
    EXPECT_EQ(fileBytesFromEditorText(editorTextFromFile(mixed)), saved);
    EXPECT_EQ(fileBytesFromEditorText(editorTextFromFile(saved)), saved);
}

} // namespace
} // namespace cw
