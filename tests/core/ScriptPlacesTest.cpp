#include "core/levels/ScriptPlaces.h"

#include "core/levels/Levels.h"
#include "core/text/GameText.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

// garden (mission: mounts gate and lake, animation sweep; map: buildings 4 and 9) runs
// "intro.txt"; yard (map only: building 3); the events run "launch.txt".
Levels twoLocations()
{
    LevelSources sources;
    sources.levelFile = [](std::string_view file) -> std::optional<std::string> {
        if (file == "mission_garden.txt")
            return "CameraMounts_StartDefinition\ngate 0\nlake 0\nCameraMounts_EndDefinition\n"
                   "CameraAnimations_StartDefinition\nsweep\nMove gate "
                   "1\nEnd\nCameraAnimations_EndDefinition\n"
                   "PrimaryObjectives_StartDefinition\nRunScript intro.txt\n";
        if (file == "map_garden.txt")
            return "Buildings_StartDefinition\nIncubator 4 0 0\nEscapeRocket 9 0 0\n";
        if (file == "map_yard.txt")
            return "Buildings_StartDefinition\nTrunkPort 3 0 0\n";
        return std::nullopt;
    };
    sources.soundsTxt = "OTHER Music\nEVENT Theme\nEND\n";
    return Levels::read(
        "Locations_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n1 1 map_yard.txt null\n"
        "Locations_EndDefinition\nRunScript launch.txt\n",
        sources);
}

// The names offered for the first argument of the last line, "name/what" each.
std::string offered(const Levels &levels, const char *script, const std::vector<std::string> &lines)
{
    ScriptPlaces places(&levels, script);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        places.pass(gameWords(lines[i]));
    const std::vector<std::string_view> last = gameWords(lines.back());
    std::string text;
    for (const OfferedName &n : offeredNames(places, nameKindOf(last.front(), 0)))
        text += n.name + (n.what.empty() ? "" : "/" + n.what) + " ";
    return text;
}

TEST(ScriptPlaces, namesAreOfferedWhereTheLineRuns)
{
    const Levels levels = twoLocations();
    const std::tuple<const char *, std::vector<std::string>, const char *> cases[] = {
        {"intro.txt", {"CamMove"}, "gate lake "},
        {"intro.txt", {"CamAnim"}, "sweep "},
        {"intro.txt", {"Highlight"}, "4/Incubator 9/EscapeRocket "},
        // Nothing runs it: every location's buildings.
        {"other.txt", {"Highlight"}, "4/Incubator 9/EscapeRocket 3/TrunkPort "},
        {"intro.txt", {"EnterLocation yard", "Highlight"}, "3/TrunkPort "},
        {"intro.txt", {"ExitLocation", "Highlight"}, "4/Incubator 9/EscapeRocket "},
        {"intro.txt", {"ExitLocation", "WaitFade", "Highlight"}, ""},
        {"launch.txt", {"Highlight"}, ""},
        {"launch.txt", {"EnterLocation Garden", "CamCut"}, "gate lake "},
        {"intro.txt", {"EnterLocation labs", "CamCut"}, ""},
        {"x.txt", {"CamLocationFocus"}, "garden yard "},
        {"x.txt", {"TriggerSound"}, "Theme "},
        {"x.txt", {"Wait"}, ""},
    };
    for (const auto &[script, lines, expected] : cases)
        EXPECT_EQ(offered(levels, script, lines), expected) << script << ": " << lines.back();
    EXPECT_EQ(nameKindOf("waitrocket", 1), NameKind::RocketState);
    EXPECT_EQ(offeredNames(ScriptPlaces(nullptr, "x.txt"), NameKind::Research).size(),
              researchTypes().size());
}

} // namespace
} // namespace cw
