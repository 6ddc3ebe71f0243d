#include "core/timeline/Timeline.h"

#include "core/catalogue/Catalogue.h"
#include "core/levels/Levels.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/GameStrings.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cw {
namespace {

using namespace timeline;

// Frames at 60 a second. A (15 characters) lasts 97 frames in cutscene mode (15 x 1.6 /
// 15 = 1.6 s: floor(96) + 1) and 67 in the player's (1.1 s); B and K (30) 193 and 133.
const std::string kModTable = "A 123456789012345\nB 123456789012345678901234567890\n"
                              "K 123456789012345678901234567890\nOPEN Press [KEY now\n"
                              "KEYED Press [KEYSepulvedaHelp] now\nANYKEY Press [KEYWhatever] now\n"
                              "LONG " +
                              std::string(2000, 'x') + "\n";

GameStrings strings(bool baseRead = true, double textSpeed = 15)
{
    GamePreferences preferences;
    preferences.textSpeed = textSpeed;
    return GameStrings(preferences, baseRead ? std::optional<std::string>("") : std::nullopt, kModTable);
}

// A garden whose mission has the animation "flyby": 1.5 s and 0.5 s, 120 frames.
Levels garden()
{
    return Levels::read("Locations_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n"
                        "Locations_EndDefinition\n",
                        [](std::string_view) -> std::optional<std::string> {
                            return "CameraMounts_StartDefinition\nm1 0 0 0 0 0 1 0 1 0\n"
                                   "CameraMounts_EndDefinition\nCameraAnimations_StartDefinition\n"
                                   "flyby\nMove m1 1.5\nCut m1 0.5\nEnd\nCameraAnimations_EndDefinition\n";
                        });
}

// "1.017" to the millisecond, "2.217~3.217" for a range, "1.017+" for a lower bound.
std::string shown(const std::optional<Moment> &moment)
{
    if (!moment)
        return "never";
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", roundedToMilliseconds(moment->earliest()));
    std::string out = text;
    if (moment->unknowns)
        return out + "+";
    if (moment->isRange()) {
        std::snprintf(text, sizeof text, "~%.3f", roundedToMilliseconds(*moment->latest()));
        out += text;
    }
    return out;
}

// "line start-resume", then the caption's and the camera's spans; the total last.
std::string described(const Timeline &timeline)
{
    std::string out;
    for (const Entry &e : timeline.entries) {
        out += std::to_string(e.line) + " " + shown(e.start) + "-" + shown(e.resume);
        if (e.caption)
            out += " say " + shown(e.caption->begin) + "-" + shown(e.caption->end);
        if (e.cameraSpan)
            out += " cam " + shown(e.cameraSpan->begin) + "-" + shown(e.cameraSpan->end);
        out += " | ";
    }
    return out + "total " + shown(timeline.total);
}

struct Case
{
    const char *script;
    const char *expected;
};

void expectTimes(std::initializer_list<Case> cases, const Setting &setting)
{
    for (const Case &c : cases)
        EXPECT_EQ(described(computeTimeline(linesOfFile(c.script), setting)), c.expected) << c.script;
}

void expectTimes(std::initializer_list<Case> cases, Start start = Start::Location)
{
    const GameStrings said = strings();
    expectTimes(cases, Setting{&said, nullptr, start, {}});
}

TEST(Timeline, theWorkedExample)
{
    // The camera's mode is not known at the start, so K lasts 133 to 193 frames and
    // all after it is a range; WaitCam lets the next line run in the frame the glide
    // ends (495 to 555), no frame later.
    expectTimes({{"Say K\r\nWaitSay\r\nWait 2\r\nCamMove m 4\r\nWaitCam\r\n",
                  "1 0.000-0.000 say 0.000-2.217~3.217 | 2 0.017-2.217~3.217 | 3 2.233~3.233-4.233~5.233 | "
                  "4 4.250~5.250-4.250~5.250 cam 4.250~5.250-8.250~9.250 | 5 4.267~5.267-8.233~9.233 | "
                  "total 8.250~9.250"}});
}

TEST(Timeline, everyLineIsAFrame_aWaitResumesAfterItsWholeFrames)
{
    // Wait t on frame f: the next line on f + floor(60 t) + 1.
    expectTimes({
        {"\n# note\nwAiT 1\nWait 5", "3 0.033-1.033 | total 1.050"}, // a last line without LF is never read
        {"Wait 1\rWait 2\nWait 3\n", "1 0.000-1.000 | 3 1.017-4.017 | total 4.033"},
        {"Wait -2\nWait abc\nWait 0.5s\nWait\n",
         "1 0.000-0.000 | 2 0.017-0.017 | 3 0.033-0.533 | 4 0.550-0.550 | total 0.567"},
        {"Wait 0.1\nWait 0.0083\n", "1 0.000-0.100 | 2 0.117-0.117 | total 0.133"},
        {"", "total 0.000"},
    });
}

TEST(Timeline, timesPastTheFrameClock_neverCome)
{
    expectTimes({
        {"Wait 1e308\nWait 1\n", "1 0.000-never | 2 never-never | total never"},
        {"Wait 1e20\n", "1 0.000-never | total never"},
        {"CamMove m 1e30\nWaitCam\n", "1 0.000-0.000 cam 0.000-never | 2 0.017-never | total never"},
    });
}

TEST(Timeline, whereTheScriptStarts)
{
    // From the world map EnterLocation has no fade-out; the fade-in (96 frames) follows
    // the loading.
    const char *entering = "EnterLocation garden\nWaitFade\n";
    expectTimes({{entering, "1 0.000-0.000+ | 2 0.017+-1.600+ | total 1.617+"}}, Start::WorldMap);
    expectTimes({{entering, "1 0.000-1.000+ | 2 1.017+-2.600+ | total 2.617+"}}, Start::Location);
    expectTimes({{entering, "1 0.000-0.000+ | 2 0.017+-1.600+ | total 1.617+"}}, Start::FromScript);

    const Case starts[] = {
        {"Wait 1\nCamLocationFocus x 30\n", "world map"},
        {"# EnterLocation x\nenterlocation x\n", "world map"},
        {"Highlight 3\nEnterLocation x\n", "location"},
        {"ExitLocation\nEnterLocation x\n", "location"},
        {"Say A\nWaitSay\n", "location"},
    };
    for (const Case &c : starts)
        EXPECT_EQ(startsOnWorldMap(linesOfFile(c.script)) ? "world map" : "location", std::string(c.expected))
            << c.script;

    // What runs the script decides before its first location command does.
    const Levels levels = Levels::read(
        "Locations_StartDefinition\n0 1 map_garden.txt null\nLocations_EndDefinition\nRunScript event.txt\n",
        [](std::string_view) -> std::optional<std::string> {
            return "Buildings_StartDefinition\nScriptTrigger 1 0 0 trigger.txt\n";
        });
    const auto start = [&](const char *script, const char *name) {
        return startsOnWorldMap(linesOfFile(script), {nullptr, &levels, Start::FromScript, name})
                   ? "world map"
                   : "location";
    };
    EXPECT_EQ(start("EnterLocation x\n", "trigger.txt"), std::string("location"));
    EXPECT_EQ(start("Highlight 3\n", "event.txt"), std::string("world map"));
    EXPECT_EQ(start("EnterLocation x\n", "other.txt"), std::string("world map"));
}

TEST(Timeline, leavingALocation_andEnteringOne)
{
    expectTimes({
        // Straight from one location to the next: the world map is never shown, and
        // EnterLocation fades out for 60 frames.
        {"ExitLocation\nEnterLocation garden\n", "1 0.000-0.000 | 2 0.017-1.017+ | total 1.033+"},
        // Once the world map is shown (60 frames after ExitLocation), none.
        {"ExitLocation\nWait 1\nEnterLocation garden\n",
         "1 0.000-0.000 | 2 0.017-1.017 | 3 1.033-1.033+ | total 1.050+"},
        // WaitFade after ExitLocation: its fade-out, 0.25 s, the world map's fade-in (135).
        {"ExitLocation\nWaitFade\n", "1 0.000-0.000 | 2 0.017-2.250 | total 2.267"},
        {"ExitLocation\nWait 0.5\nWaitFade\n", "1 0.000-0.000 | 2 0.017-0.517 | 3 0.533-2.250 | total 2.267"},
        // The fade a script starts in is not known.
        {"WaitFade\n", "1 0.000-0.000+ | total 0.017+"},
    });
}

TEST(Timeline, theCaptionsRateFollowsTheCamerasModeWhenTheCaptionBegins)
{
    expectTimes({
        // Not known at the start: 67 to 97 frames.
        {"Say A\nWaitSay\n", "1 0.000-0.000 say 0.000-1.117~1.617 | 2 0.017-1.117~1.617 | total 1.133~1.633"},
        // The player's camera after CamReset: 1 + 67.
        {"CamReset\nSay A\nWaitSay\n",
         "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.133 | 3 0.033-1.133 | total 1.150"},
        // Cutscene mode in building focus: 1 + 97.
        {"CamBuildingFocus 1 100 50\nSay A\n", "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.633 | total 1.633"},
        // A change after the caption began does not change it.
        {"CamMove m 0\nSay A\nCamReset\n",
         "1 0.000-0.000 cam 0.000-0.000 | 2 0.017-0.017 say 0.017-1.633 | 3 0.033-0.033 | total 1.633"},
        // B begins when A ends (frame 98), after CamReset on frame 3: 98 + 133.
        {"CamBuildingFocus 1 100 50\nSay A\nSay B\nCamReset\nWaitSay\n",
         "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.633 | 3 0.033-0.033 say 1.633-3.850 | 4 0.050-0.050 | "
         "5 0.067-3.850 | total 3.867"},
        // After ExitLocation the world map's camera is the player's (from frame 60); a
        // CamLocationFocus before it is shown is lost, after it is a cutscene camera.
        {"ExitLocation\nWaitFade\nSay A\n",
         "1 0.000-0.000 | 2 0.017-2.250 | 3 2.267-2.267 say 2.267-3.383 | total 3.383"},
        {"ExitLocation\nCamLocationFocus x 30\nWait 1\nSay A\n",
         "1 0.000-0.000 | 2 0.017-0.017 | 3 0.033-1.033 | 4 1.050-1.050 say 1.050-2.167 | total 2.167"},
        {"ExitLocation\nWaitFade\nCamLocationFocus x 30\nSay A\nWaitSay\n",
         "1 0.000-0.000 | 2 0.017-2.250 | 3 2.267-2.267 | 4 2.283-2.283 say 2.283-3.900 | 5 2.300-3.900 | "
         "total 3.917"},
        // After a location's loading the camera is the level's: not known.
        {"EnterLocation garden\nSay A\n",
         "1 0.000-1.000+ | 2 1.017+-1.017+ say 1.017+-2.133+ | total 2.133+"},
    });
}

TEST(Timeline, captionsQueue_aKeyQueuedOrShowingAddsNothing_ShutUpEmptiesTheQueue)
{
    expectTimes({
        {"CamReset\nSay A\nSay B\nsay a\nWaitSay\n",
         "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.133 | 3 0.033-0.033 say 1.133-3.350 | 4 0.050-0.050 | "
         "5 0.067-3.350 | total 3.367"},
        // ShutUp on frame 62 cuts A there; B never shows.
        {"CamReset\nSay A\nSay B\nWait 1\nShutUp\nWaitSay\nSay A\n",
         "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.067 | 3 0.033-0.033 | 4 0.050-1.050 | 5 1.067-1.067 | "
         "6 1.083-1.083 | 7 1.100-1.100 say 1.100-2.217 | total 2.217"},
        // At most 1,023 characters: 1023 x 1.1 / 15 s is 4501 frames, + 1.
        {"CamReset\nSay LONG\n", "1 0.000-0.000 | 2 0.017-0.017 say 0.017-75.050 | total 75.050"},
    });
}

TEST(Timeline, aKeyInNoTable_isUnknownOnlyWhenTheGamesTableWasNotRead)
{
    expectTimes({{"Say NONE\nWait 1\n", "1 0.000-0.000 | 2 0.017-1.017 | total 1.033"}});
    const GameStrings unread = strings(false);
    expectTimes({{"Say NONE\nWaitSay\n", "1 0.000-0.000 say 0.000-0.017+ | 2 0.017-0.017+ | total 0.033+"}},
                Setting{&unread, nullptr, Start::Location, {}});
}

TEST(Timeline, theLengthIsThatOfTheExpandedText_andAnUnclosedBracketHangsTheGame)
{
    expectTimes({
        // "Press H now": 11 characters, 70.4 frames in cutscene mode: 71.
        {"CamBuildingFocus 1 1 1\nSay KEYED\n",
         "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.200 | total 1.200"},
        // An unknown binding: 1 to 12 characters, 11 to 22 in all: 71 to 141 frames.
        {"CamBuildingFocus 1 1 1\nSay ANYKEY\n",
         "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.200~2.367 | total 1.200~2.367"},
        {"Say OPEN\nWait 1\n", "1 0.000-never | 2 never-never | total never"},
    });
    const GameStrings fast = strings(true, 30);
    expectTimes({{"CamReset\nSay K\n", "1 0.000-0.000 | 2 0.017-0.017 say 0.017-1.133 | total 1.133"}},
                Setting{&fast, nullptr, Start::Location, {}});
}

TEST(Timeline, glides_endAtTheirTime_CamCutKeepsThem_FocusResetOrAMoveEndsThem)
{
    expectTimes({
        // 60 frames from frame 0: the line after WaitCam runs on frame 60.
        {"CamMove m 1\nWaitCam\n", "1 0.000-0.000 cam 0.000-1.000 | 2 0.017-0.983 | total 1.000"},
        {"CamMove m 2\nCamCut x\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-2.000 | 2 0.017-0.017 cam 0.017-0.017 | 3 0.033-1.983 | total 2.000"},
        {"CamMove m 2\nCamBuildingFocus 1 100 50\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-0.017 | 2 0.017-0.017 | 3 0.033-0.033 | total 0.050"},
        {"CamMove m 4\nWait 1\nCamReset\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-1.033 | 2 0.017-1.017 | 3 1.033-1.033 | 4 1.050-1.050 | total 1.067"},
        {"CamBuildingApproach 3 100 50 2\nCamMove b 1\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-0.017 | 2 0.017-0.017 cam 0.017-1.017 | 3 0.033-1.000 | total 1.017"},
        // A negative duration never ends; a missing one is not known.
        {"CamMove m -1\nWaitCam\nWait 1\n",
         "1 0.000-0.000 cam 0.000-never | 2 0.017-never | 3 never-never | total never"},
        {"CamMove m\nWaitCam\n", "1 0.000-0.000 cam 0.000-0.000+ | 2 0.017-0.017+ | total 0.033+"},
        // On the world map the location's camera commands do nothing.
        {"ExitLocation\nWaitFade\nCamMove m 5\nWaitCam\n",
         "1 0.000-0.000 | 2 0.017-2.250 | 3 2.267-2.267 | 4 2.283-2.283 | total 2.300"},
    });
}

TEST(Timeline, cameraAnimations_lastAsTheMissionOfTheLocationEnteredSays)
{
    const GameStrings said = strings();
    const Levels levels = garden();
    expectTimes(
        {
            {"EnterLocation GARDEN\nCamAnim flyby\nWaitCam\n",
             "1 0.000-0.000+ | 2 0.017+-0.017+ cam 0.017+-2.017+ | 3 0.033+-2.000+ | total 2.017+"},
            // The game stops at an animation its mission lacks.
            {"EnterLocation garden\nCamAnim nope\nWait 1\n",
             "1 0.000-0.000+ | 2 0.017+-never | 3 never-never | total never"},
            // No location entered: its mission is not known.
            {"CamAnim flyby\nWaitCam\n", "1 0.000-0.000 cam 0.000-0.000+ | 2 0.017-0.017+ | total 0.033+"},
        },
        Setting{&said, &levels, Start::FromScript, {}});
    // The one location whose levels run the script is where it plays its animations.
    const Levels running =
        Levels::read("Locations_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n",
                     [](std::string_view file) -> std::optional<std::string> {
                         if (file == "map_garden.txt")
                             return "Buildings_StartDefinition\nScriptTrigger 1 0 0 intro.txt\n";
                         return "CameraMounts_StartDefinition\nm1 0 0 0\nCameraMounts_EndDefinition\n"
                                "CameraAnimations_StartDefinition\nflyby\nMove m1 1.5\nEnd\n";
                     });
    expectTimes({{"CamAnim flyby\nWaitCam\n", "1 0.000-0.000 cam 0.000-1.500 | 2 0.017-1.483 | total 1.500"}},
                Setting{&said, &running, Start::FromScript, "intro.txt"});
}

TEST(Timeline, waitsOnlyTheGameKnows_areLowerBounds)
{
    expectTimes({
        {"Wait 1\nWaitPlayerNotBusy\nWait 1\n",
         "1 0.000-1.000 | 2 1.017-4.017+ | 3 4.033+-5.033+ | total 5.050+"},
        {"WaitRocket 1 Ready 0\nRunCredits\n", "1 0.000-0.000+ | 2 0.017+-0.017+ | total 0.033+"},
    });
}

TEST(Timeline, theGridIsTimedAsSaveWouldWriteIt_rowsWithoutCommandLeftOut)
{
    const Catalogue catalogue =
        std::move(loadCatalogue("header\r\n\r\nWait \"Pause\" 1 2 Seconds\r\nSay \"Speak\" 1 4 Key\r\n"))
            .value();
    ScriptDocument document(catalogue);
    ASSERT_TRUE(document.load(std::string_view("Say K\r\n\r\n\r\nwait 2\r\n")).ok());
    document.setArgument(3, 0, "3");
    const GameStrings said = strings();
    EXPECT_EQ(described(computeTimeline(linesOfDocument(document), {&said, nullptr, Start::Location, {}})),
              "1 0.000-0.000 say 0.000-2.217~3.217 | 4 0.017-3.017 | total 3.033~3.217");
}

TEST(Timeline, timesAreShownToTheMillisecond_rangesAndBoundsSaySo)
{
    EXPECT_EQ(clockText(0), "0:00.000");
    EXPECT_EQ(clockText(59.9996), "1:00.000");
    EXPECT_EQ(clockText(754.25), "12:34.250");
    EXPECT_EQ(momentText(Moment::at(192)), "0:03.200");
    EXPECT_EQ(momentText(Moment{0, 133, 193, 133}), "0:02.217 to 0:03.217");
    EXPECT_EQ(momentText(Moment{1, 60, 60, 60}), "\u2265 0:01.000");
    EXPECT_EQ(momentText(std::optional<Moment>()), "never");
    // Frames are shown in whole numbers, as the clock of their seconds would show them.
    for (const Frame frames : {Frame{1}, Frame{59}, Frame{3599}, Frame{3600}, Frame{216001}, kLastFrame})
        EXPECT_EQ(momentText(Moment::at(frames)), clockText(static_cast<double>(frames) / 60)) << frames;
}

} // namespace
} // namespace cw
