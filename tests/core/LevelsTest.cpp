#include "core/levels/Levels.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace cw {
namespace {

// "name map mission;" for each location, "" for a mission of null.
std::string described(const Levels &levels)
{
    std::string text = levels.locationsKnown() ? "" : "unknown";
    for (const Location &l : levels.locations())
        text += l.name + " " + l.mapFile + " " + l.missionFile + ";";
    return text;
}

TEST(Levels, gameTxt_locationsOfItsSectionOnly_namedAfterTheirMapFile)
{
    const std::pair<std::optional<std::string>, const char *> cases[] = {
        {"Locations_StartDefinition\r\n0 1 map_garden.txt mission_garden.txt\r\nLocations_EndDefinition\r\n",
         "garden map_garden.txt mission_garden.txt;"},
        {"locations_startdefinition\n1 1 map_mine.txt null\nLOCATIONS_ENDDEFINITION\n",
         "mine map_mine.txt ;"},
        {"0 1 map_before.txt b.txt\nLocations_StartDefinition\n# 2 1 map_note.txt n.txt\n\n"
         "3 1 map_yard.txt mission_yard.txt\nLocations_EndDefinition\n4 1 map_after.txt a.txt\n",
         "yard map_yard.txt mission_yard.txt;"},
        {"Locations_StartDefinition\n5,1:map_two_words.txt\tm.txt\n6 1 map_short.txt\n",
         "two_words map_two_words.txt m.txt;"},
        {"Events_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n", ""},
        {std::nullopt, "unknown"},
    };
    for (const auto &[bytes, expected] : cases) {
        const Levels levels = Levels::read(bytes, [](std::string_view) { return std::string(); });
        EXPECT_EQ(described(levels), expected) << bytes.value_or("<unreadable>");
    }
}

TEST(Levels, aLocationIsFoundInAnyCase_andEachMissionFileReadOnce)
{
    int asked = 0;
    const Levels levels = Levels::read(
        "Locations_StartDefinition\n0 1 map_Garden.txt m.txt\n1 1 map_yard.txt M.TXT\n2 1 map_mine.txt "
        "null\n",
        [&](std::string_view file) {
            asked += file.starts_with("map_") ? 0 : 1;
            return std::string("CameraAnimations_StartDefinition\nintro\nMove CamPosBefore 1\nEnd\n");
        });
    EXPECT_EQ(levels.location("GARDEN"), &levels.locations().front());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(levels.animation("yard", "intro").lookup, Lookup::Found);
    EXPECT_EQ(levels.animation("mine", "intro").lookup, Lookup::Missing);
    EXPECT_EQ(levels.animation("labs", "intro").lookup, Lookup::Missing);
    EXPECT_EQ(Levels().animation("garden", "intro").lookup, Lookup::Unknown);
}

TEST(Levels, mission_animationsAreTimedAndCheckedAsTheGameReadsThem)
{
    const std::string mounts = "CameraMounts_StartDefinition\r\na 0 0 0 0 0 1 0 1 0\r\nB 0 0 0\r\n" +
                               std::string(63, 'x') + "yz 0 0 0\r\nCameraMounts_EndDefinition\r\n";
    // "seconds nodes", then "bad" and "undefined" for the flags; or how the lookup failed.
    const auto describedFound = [](const AnimationFound &found) {
        if (found.lookup != Lookup::Found)
            return std::string(found.lookup == Lookup::Missing ? "missing" : "unknown");
        const CameraAnimation &a = *found.animation;
        std::ostringstream text;
        text << a.seconds << " " << a.nodes << (a.badDuration ? " bad" : "")
             << (a.undefinedMount ? " undefined" : "");
        return text.str();
    };
    const std::string anims = "CameraAnimations_StartDefinition\r\n";
    // After the mounts, the name to look up and what is found; nullopt: unreadable.
    const std::tuple<std::optional<std::string>, const char *, const char *> cases[] = {
        {anims + "intro\r\nMove a 2.5\r\n\r\n# Cut b 9\r\nCut b 1\r\nEnd\r\n", "INTRO", "3.5 2"},
        {anims + "first\nCut a 1\nEnd\nsecond\nmove A 0\nMove b 59.9\nEND\n", "second", "59.9 2"},
        {anims + "long\nMove a 60\nEnd\n", "long", "60 1 bad"},
        {anims + "back\nMove a -1\nEnd\n", "back", "-1 1 bad"},
        {anims + "stray\nCut c 1\nEnd\n", "stray", "1 1 undefined"},
        {anims + "cut\nCut " + std::string(63, 'X') + " 1\nEnd\n", "cut", "1 1"},
        {anims + "before\nCut camposbefore 2\nEnd\n", "before", "2 1"},
        {"cameraanimations_startdefinition\nlate\nMove later 1\nEnd\ncameraanimations_enddefinition\n"
         "CameraMounts_StartDefinition\nlater 0 0 0\nCameraMounts_EndDefinition\n",
         "late", "1 1 undefined"},
        {anims + "intro\nMove a 1\nEnd\n", "outro", "missing"},
        {std::nullopt, "intro", "unknown"},
    };
    for (const auto &[mission, name, expected] : cases) {
        const Levels levels =
            Levels::read("Locations_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n",
                         [&](std::string_view file) -> std::optional<std::string> {
                             if (file == "map_garden.txt")
                                 return std::nullopt;
                             EXPECT_EQ(file, "mission_garden.txt");
                             return mission ? std::optional(mounts + *mission) : std::nullopt;
                         });
        EXPECT_EQ(describedFound(levels.animation("Garden", name)), expected)
            << mission.value_or("<unreadable>");
    }
}

TEST(Levels, levelFile_namesAScriptCanLookUp)
{
    // Mounts; buildings "id type"; repeated ids; the scripts the file runs.
    const auto described = [](const LevelFile &f) {
        std::string text;
        for (const std::string &m : f.mounts)
            text += m + " ";
        text += "|";
        for (const Building &b : f.buildings)
            text += " " + std::to_string(b.id) + " " + b.type;
        text += " |";
        for (long long id : f.repeatedIds)
            text += " " + std::to_string(id);
        text += " |";
        for (const std::string &s : f.scripts)
            text += " " + s;
        return text;
    };
    const std::pair<std::string, std::string> cases[] = {
        {"CameraMounts_StartDefinition\nintro 0 0 0\nIntro 1 1 1\n" + std::string(70, 'm') +
             " 0\nCameraMounts_EndDefinition\nstray 0\n",
         "intro " + std::string(63, 'm') + " | | |"},
        {"Buildings_StartDefinition\n# type id\nIncubator 4 1 2\nScriptTrigger 9 0 0 0 0 0 1 Intro.TXT 40\n"
         "SoulReceiver 4 0 0\nFenceSwitch 3,0:0 x.txt\nBuildings_EndDefinition\nScriptTrigger 5 late.txt\n",
         "| 4 Incubator 9 ScriptTrigger 4 SoulReceiver 3 FenceSwitch | 4 | Intro.TXT x.txt"},
        {"Buildings_StartDefinition\nRadarDish 2 sounds.txt\nBuildings_EndDefinition\n"
         "PrimaryObjectives_StartDefinition\nBuildingOnline 2 "
         "objective.txt\nPrimaryObjectives_EndDefinition\n",
         "| 2 RadarDish | | objective.txt"},
    };
    for (const auto &[bytes, expected] : cases)
        EXPECT_EQ(described(readLevelFile(bytes)), expected) << bytes;
}

TEST(Levels, soundsAndGameTxt_musicEventsAndTheScriptsEventsRun)
{
    const std::pair<const char *, const char *> sounds[] = {
        {"OTHER Music\nEVENT Intro\n  SOUND a\nEND\nEVENT finale\nEND\n", "Intro finale "},
        {"ENTITY Darwinian\nEVENT Die\nEND\nOTHER Music\nEVENT theme\nEVENT nested\nEND\nEND\n"
         "BUILDING Radar\nEVENT Ping\nEND\n",
         "theme "},
        {"EVENT loose\nEND\n", ""},
    };
    for (const auto &[bytes, expected] : sounds) {
        std::string text;
        for (const std::string &e : readMusicEvents(bytes))
            text += e + " ";
        EXPECT_EQ(text, expected) << bytes;
    }
    const std::vector<std::string> events = readEventScripts(
        "Locations_StartDefinition\n0 1 map_runscript.txt RunScript.txt\nLocations_EndDefinition\n"
        "Events_StartDefinition\nNeverRun 0 RunScript launchpad.txt\nrunscript\tlast.txt\n");
    EXPECT_EQ(events, (std::vector<std::string>{"launchpad.txt", "last.txt"}));

    const Levels levels = Levels::read(
        "Locations_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n1 1 map_yard.txt null\n"
        "Locations_EndDefinition\nRunScript Intro.txt\n",
        [](std::string_view file) -> std::optional<std::string> {
            if (file == "map_yard.txt")
                return "Buildings_StartDefinition\nScriptTrigger 1 0 0 intro.txt\n";
            return "PrimaryObjectives_StartDefinition\nx INTRO.txt\n";
        });
    EXPECT_EQ(levels.locationsRunning("intro.TXT"), (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(levels.eventsRun("intro.txt"));
    EXPECT_FALSE(levels.eventsRun("outro.txt"));
    EXPECT_TRUE(levels.locationsRunning("outro.txt").empty());
}

TEST(Levels, load_takesEachFileWholeFromTheModFirst_thenTheGame)
{
    test::TempDir dir;
    dir.write("game/data/levels/game.txt", "Locations_StartDefinition\n0 1 map_garden.txt null\n");
    dir.write("game/data/levels/mission_yard.txt", "CameraAnimations_StartDefinition\ngame\nEnd\n");
    dir.write("mod/Levels/GAME.TXT", "Locations_StartDefinition\n0 1 map_yard.txt mission_yard.txt\n");

    Levels levels = Levels::load(dir / "mod", dir / "game");
    EXPECT_EQ(described(levels), "yard map_yard.txt mission_yard.txt;");
    EXPECT_EQ(levels.animation("yard", "game").lookup, Lookup::Found);

    dir.write("mod/Levels/mission_yard.txt", "CameraAnimations_StartDefinition\nmod\nEnd\n");
    levels = Levels::load(dir / "mod", dir / "game");
    EXPECT_EQ(levels.animation("yard", "mod").lookup, Lookup::Found);
    EXPECT_EQ(levels.animation("yard", "game").lookup, Lookup::Missing);

    // Gestures, sounds and level files: the mod's, else the game's; not known without the game.
    dir.write("game/data/gesture_demos/officer.txt", "");
    dir.write("mod/Gesture_Demos/squad.txt", "");
    dir.write("game/data/sounds.txt", "OTHER Music\nEVENT game\nEND\n");
    levels = Levels::load(dir / "mod", dir / "game");
    EXPECT_EQ(levels.gesture("OFFICER.txt"), Lookup::Found);
    EXPECT_EQ(levels.gesture("squad.txt"), Lookup::Found);
    EXPECT_EQ(levels.gesture("engineer.txt"), Lookup::Missing);
    EXPECT_EQ(levels.levelFile("mission_YARD.txt"), Lookup::Found);
    EXPECT_EQ(levels.levelFile("mission_labs.txt"), Lookup::Missing);
    EXPECT_EQ(levels.musicEvents(), (std::vector<std::string>{"game"}));
    dir.write("mod/sounds.txt", "OTHER Music\nEVENT mod\nEND\n");
    EXPECT_EQ(Levels::load(dir / "mod", dir / "game").musicEvents(), (std::vector<std::string>{"mod"}));
    // Without the game a name is certain only where the mod has it.
    EXPECT_EQ(Levels::load(dir / "mod", std::nullopt).gesture("squad.txt"), Lookup::Found);
    EXPECT_EQ(Levels::load(dir / "mod", std::nullopt).gesture("officer.txt"), Lookup::Unknown);

    fs::remove(dir / "mod/Levels/GAME.TXT");
    EXPECT_EQ(described(Levels::load(dir / "mod", std::nullopt)), "unknown");
    EXPECT_EQ(described(Levels::load(dir / "mod", dir / "game")), "garden map_garden.txt ;");
}

} // namespace
} // namespace cw
