#include "core/workspace/ModLayout.h"

#include <gtest/gtest.h>

namespace cw::layout {
namespace {

TEST(ModLayout, levelFiles_areMapsOrMissionsByTheirFirstThreeCharacters_inTheirCase)
{
    EXPECT_EQ(classifyLevelFile("map_intro.txt"), LevelFile::Map);
    EXPECT_EQ(classifyLevelFile("mapping notes.doc"), LevelFile::Map);
    EXPECT_EQ(classifyLevelFile("mission_one.txt"), LevelFile::Mission);
    EXPECT_EQ(classifyLevelFile("misc.txt"), LevelFile::Mission);
    for (const char *other : {"Map2.txt", "MISSION.txt", "ma", "readme.txt", ""})
        EXPECT_EQ(classifyLevelFile(other), LevelFile::Other) << other;
}

TEST(ModLayout, newScript_isOneEmptyLinePerEditorLine_andTheStarterStringsOneBlankLine)
{
    const std::string script = newScriptBytes();
    EXPECT_EQ(script.size(), 200u);
    EXPECT_EQ(script.find_first_not_of("\r\n"), std::string::npos);
    EXPECT_EQ(script.substr(0, 4), "\r\n\r\n");
    EXPECT_EQ(starterStringsBytes(), " \r\n");
    EXPECT_EQ(stringsBackupFile(), "strings_default.txt.bak");
}

} // namespace
} // namespace cw::layout
