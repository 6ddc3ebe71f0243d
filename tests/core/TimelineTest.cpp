#include "core/timeline/Timeline.h"

#include "core/catalogue/Catalogue.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/GameStrings.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace cw {
namespace {

using namespace timeline;

// A: 15 characters (1.6 s at TextSpeed 15), B and K: 30 (3.2 s).
const std::string kModTable = "A 123456789012345\nB 123456789012345678901234567890\n"
                              "K 123456789012345678901234567890\nMARK Press [KEY] now\nOPEN Press [KEY now\n"
                              "LONG " +
                              std::string(2000, 'x') + "\n";

GameStrings strings(bool baseRead = true, double textSpeed = 15)
{
    GamePreferences preferences;
    preferences.textSpeed = textSpeed;
    return GameStrings(preferences, baseRead ? std::optional<std::string>("") : std::nullopt, kModTable);
}

std::string shown(const std::optional<Seconds> &seconds)
{
    if (!seconds)
        return "never";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", roundedToMilliseconds(*seconds));
    return text;
}

// "line start-resume", "?" when not exact, then the caption and the camera's spans;
// the total last.
std::string described(const Timeline &timeline)
{
    std::string out;
    for (const Entry &e : timeline.entries) {
        out += std::to_string(e.line) + " " + shown(e.start) + "-" + shown(e.resume) + (e.exact ? "" : "?");
        if (e.caption)
            out += " say " + shown(e.caption->begin) + "-" + shown(e.caption->end);
        if (e.cameraSpan)
            out += " cam " + shown(e.cameraSpan->begin) + "-" + shown(e.cameraSpan->end);
        out += " | ";
    }
    return out + "total " + shown(timeline.total) + (timeline.exact ? "" : "?");
}

struct Case
{
    const char *script;
    const char *expected;
};

void expectTimes(std::initializer_list<Case> cases, const GameStrings &said = strings())
{
    for (const Case &c : cases)
        EXPECT_EQ(described(computeTimeline(linesOfFile(c.script), said)), c.expected) << c.script;
}

TEST(Timeline, theWorkedExample)
{
    expectTimes({{"Say K\r\nWaitSay\r\nWait 2\r\nCamMove m 4\r\nWaitCam\r\n",
                  "1 0.000-0.000 say 0.000-3.200 | 2 0.017-3.200 | 3 3.217-5.217 | "
                  "4 5.233-5.233 cam 5.233-9.233 | 5 5.250-9.233 | total 9.250"}});
}

TEST(Timeline, everyLineTheGameReadsCostsAFrame_aLastLineWithoutLineEndIsDropped)
{
    expectTimes({
        {"\n# note\nwAiT 1\nWait 5", "3 0.033-1.033 | total 1.050"},
        {"Wait 1\rWait 2\nWait 3\n", "1 0.000-1.000 | 3 1.017-4.017 | total 4.033"}, // CR separates words
        {"Wait -2\nWait abc\nWait 0.5s\nWait\n",
         "1 0.000-0.000 | 2 0.017-0.017 | 3 0.033-0.533 | 4 0.550-0.550 | total 0.567"},
        {"", "total 0.000"},
    });
}

TEST(Timeline, captionsQueue_aKeyQueuedOrShowingAddsNothing_ShutUpEmptiesTheQueue)
{
    expectTimes({
        {"Say A\nSay B\nsay a\nWaitSay\n",
         "1 0.000-0.000 say 0.000-1.600 | 2 0.017-0.017 say 1.600-4.800 | 3 0.033-0.033 | 4 0.050-4.800 | "
         "total 4.817"},
        {"Say A\nSay B\nWait 1\nShutUp\nWaitSay\nSay A\n",
         "1 0.000-0.000 say 0.000-1.050 | 2 0.017-0.017 | 3 0.033-1.033 | 4 1.050-1.050 | 5 1.067-1.067 | "
         "6 1.083-1.083 say 1.083-2.683 | total 2.683"},
        {"Say LONG\n", "1 0.000-0.000 say 0.000-109.120 | total 109.120"}, // at most 1,023 characters
    });
}

TEST(Timeline, aKeyInNoTable_isUnknownOnlyWhenTheGamesTableWasNotRead)
{
    expectTimes({{"Say NONE\nWait 1\n", "1 0.000-0.000 | 2 0.017-1.017 | total 1.033"}});
    expectTimes({{"Say NONE\nWait 1\n", "1 0.000-0.000? | 2 0.017-1.017? | total 1.033?"},
                 {"Say A\nSay NONE\n", "1 0.000-0.000 say 0.000-1.600 | 2 0.017-0.017? | total 1.600?"}},
                strings(false));
}

TEST(Timeline, markupIsCountedAsWritten_andAnUnclosedBracketHangsTheGame)
{
    expectTimes({
        {"Say MARK\nWaitSay\n", "1 0.000-0.000? say 0.000-1.600 | 2 0.017-1.600? | total 1.617?"},
        {"Say OPEN\nWait 1\n", "1 0.000-never | 2 never-never | total never"},
    });
}

TEST(Timeline, captionsLastAsTextSpeedSays)
{
    expectTimes({{"Say K\n", "1 0.000-0.000 say 0.000-1.600 | total 1.600"}}, strings(true, 30));
}

TEST(Timeline, glidesEndAtTheirTime_orAtTheNextCameraMove_CamResetOrCamCut)
{
    expectTimes({
        {"CamMove m 4\nWait 1\nCamReset\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-1.033 | 2 0.017-1.017 | 3 1.033-1.033 | 4 1.050-1.050 | total 1.067"},
        {"CamBuildingApproach 3 100 50 2\nCamMove b 1\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-0.017 | 2 0.017-0.017 cam 0.017-1.017 | 3 0.033-1.017 | total 1.033"},
        {"CamMove m -1\nCamCut x\nWaitCam\n",
         "1 0.000-0.000 cam 0.000-0.017 | 2 0.017-0.017 cam 0.017-0.017 | 3 0.033-0.033 | total 0.050"},
    });
}

TEST(Timeline, aNegativeDurationNeverEnds)
{
    expectTimes({
        {"CamMove m -1\nWaitCam\nWait 1\n", "1 0.000-0.000 cam 0.000-never | 2 0.017-never | 3 never-never | "
                                            "total never"},
        {"CamMove m -1\n", "1 0.000-0.000 cam 0.000-never | total never"},
    });
}

TEST(Timeline, waitsTheScriptDoesNotTell_countTheKnownPart_andMakeTheRestNotExact)
{
    expectTimes({
        {"Wait 1\nWaitPlayerNotBusy\nWait 1\n",
         "1 0.000-1.000 | 2 1.017-4.017? | 3 4.033-5.033? | total 5.050?"},
        {"WaitRocket 1 Ready 0\nRunCredits\n", "1 0.000-0.000? | 2 0.017-0.017? | total 0.033?"},
        {"CamAnim a\nWaitCam\n", "1 0.000-0.000? cam 0.000-0.000 | 2 0.017-0.017? | total 0.033?"},
        {"CamMove m\n", "1 0.000-0.000? cam 0.000-0.000 | total 0.017?"},
        {"WaitFade\n", "1 0.000-0.000? | total 0.017?"},
    });
}

TEST(Timeline, fadesOfLeavingAndEnteringALocation)
{
    expectTimes({
        {"ExitLocation\nWait 0.5\nWaitFade\nEnterLocation garden\nWaitFade\n",
         "1 0.000-0.000 | 2 0.017-0.517 | 3 0.533-1.000 | 4 1.017-1.017? | 5 1.033-2.617? | total 2.633?"},
        {"EnterLocation garden\nWaitFade\n", "1 0.000-1.000? | 2 1.017-2.600? | total 2.617?"},
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
    EXPECT_EQ(described(computeTimeline(linesOfDocument(document), strings())),
              "1 0.000-0.000 say 0.000-3.200 | 4 0.017-3.017 | total 3.200");
}

TEST(Timeline, clockTextIsMinutesAndSecondsToTheMillisecond)
{
    EXPECT_EQ(clockText(0), "0:00.000");
    EXPECT_EQ(clockText(59.9996), "1:00.000");
    EXPECT_EQ(clockText(754.25), "12:34.250");
}

} // namespace
} // namespace cw
