#include "core/check/Checker.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace cw::check {
namespace {

const fs::path kData = fs::path(CUEWRIGHT_SOURCE_DIR) / "tests" / "data" / "check";

const Catalogue &exampleCatalogue()
{
    static const Catalogue catalogue =
        std::move(loadCatalogue(*readFile(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt")))
            .value();
    return catalogue;
}

// The strings of a mod whose base table could be read, so that a key none of its
// tables hold is missing.
GameStrings stringsOf(std::string modTable, GamePreferences preferences = {})
{
    return GameStrings(std::move(preferences), std::string(), std::move(modTable));
}

const GameStrings &cleanStrings()
{
    static const GameStrings strings = stringsOf(*readFile(kData / "strings" / "clean.txt"));
    return strings;
}

std::vector<Finding> checkFixture(const std::string &name)
{
    return checkScript(*readFile(kData / "scripts" / name), exampleCatalogue(), cleanStrings());
}

struct Expected
{
    const char *fixture;
    const char *rule;
    int line;
    Severity severity;
};

class ScriptDefects : public ::testing::TestWithParam<Expected>
{
};

// Each fixture holds one defect, and the checker finds that one and nothing else but
// notes of other rules.
TEST_P(ScriptDefects, findTheOneDefectOfTheirName)
{
    const Expected &expected = GetParam();
    auto findings = checkFixture(expected.fixture);
    std::erase_if(findings,
                  [&](const Finding &f) { return f.severity == Severity::Note && f.rule != expected.rule; });
    ASSERT_EQ(findings.size(), 1u) << expected.fixture << ": " << (findings.empty() ? "" : findings[0].rule)
                                   << (findings.size() > 1 ? " and " + findings[1].rule : "");
    EXPECT_EQ(findings[0].rule, expected.rule);
    EXPECT_EQ(findings[0].line, expected.line);
    EXPECT_EQ(findings[0].severity, expected.severity);
    EXPECT_FALSE(findings[0].message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ScriptDefects,
    ::testing::Values(Expected{"missing_argument.txt", "missing-argument", 2, Severity::Error},
                      Expected{"dangerous_command.txt", "dangerous-command", 2, Severity::Error},
                      Expected{"last_line_without_end.txt", "no-final-line-end", 2, Severity::Warning},
                      Expected{"too_many_tokens.txt", "too-many-tokens", 2, Severity::Note},
                      Expected{"last_line_cr_end.txt", "no-final-line-end", 2, Severity::Warning},
                      Expected{"cr_line_end.txt", "cr-line-end", 1, Severity::Warning},
                      Expected{"unknown_command.txt", "unknown-command", 2, Severity::Warning},
                      Expected{"not_a_number.txt", "not-a-number", 2, Severity::Warning},
                      Expected{"comma_in_argument.txt", "separator-in-argument", 2, Severity::Warning},
                      Expected{"quote_in_argument.txt", "quote-in-argument", 2, Severity::Warning},
                      Expected{"missing_string.txt", "missing-string", 2, Severity::Warning},
                      Expected{"past_line_100.txt", "past-line-100", 101, Severity::Note}),
    [](const ::testing::TestParamInfo<Expected> &param) {
        std::string name = param.param.fixture;
        return name.substr(0, name.find('.'));
    });

TEST(Checker, cleanScript_hasNoFinding_withAnyOfTheThreeLineEnds)
{
    EXPECT_TRUE(checkFixture("clean.txt").empty());
    const std::string crLf = *readFile(kData / "scripts" / "clean.txt");
    std::string lf;
    for (char c : crLf)
        if (c != '\r')
            lf += c;
    ASSERT_NE(lf, crLf);
    EXPECT_TRUE(checkScript(lf, exampleCatalogue(), cleanStrings()).empty());
}

TEST(Checker, messagesSayWhatTheGameDoes)
{
    const auto unknown = checkFixture("unknown_command.txt");
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_NE(unknown[0].message.find("WaitSay"), std::string::npos) << unknown[0].message;

    const auto number = checkFixture("not_a_number.txt");
    EXPECT_NE(number[0].message.find("reads 0"), std::string::npos) << number[0].message;

    const auto missing = checkFixture("missing_argument.txt");
    EXPECT_NE(missing[0].message.find("needs 3"), std::string::npos) << missing[0].message;
    EXPECT_NE(missing[0].message.find("finds 2: the game crashes here"), std::string::npos);

    const auto purity = checkFixture("dangerous_command.txt");
    EXPECT_NE(purity[0].message.find("deletes the player's saved games"), std::string::npos);
}

TEST(Checker, gameReadsNumbersByTheirPrefix_andCamFovsSecondArgumentIsOptional)
{
    const auto findings = checkScript("Highlight 12abc\r\nCamFov 60\r\nCamFov\r\nWait 1e1\r\n",
                                      exampleCatalogue(), GameStrings());
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].rule, "not-a-number");
    EXPECT_NE(findings[0].message.find("reads 12"), std::string::npos) << findings[0].message;
    EXPECT_EQ(findings[1].rule, "argument-reads-zero");
    EXPECT_EQ(findings[1].line, 3);
}

TEST(Checker, commentsAndTheGamesSeparators_shapeWhatItSees)
{
    // A trailing comment takes its words away from the game; ":" separates.
    const auto findings = checkScript("CamMove gate # 2\r\nCamMove gate:2\r\n  # only a comment\r\n",
                                      exampleCatalogue(), GameStrings());
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].rule, "missing-argument");
    EXPECT_EQ(findings[0].line, 1);
    EXPECT_EQ(findings[1].rule, "separator-in-argument");
    EXPECT_EQ(findings[1].line, 2);
}

TEST(Checker, stringsKeysMatchWithoutCase_andAsTheGameSplitsThem)
{
    const GameStrings strings = stringsOf("INTRO_1 Hello\r\n#commented_out x\r\nkey:colon y\r\n");
    EXPECT_EQ(strings.say("intro_1").found, GameStrings::Found::Text);
    EXPECT_EQ(strings.say("commented_out").found, GameStrings::Found::Missing);
    EXPECT_EQ(strings.say("KEY").found, GameStrings::Found::Text);
    EXPECT_EQ(strings.say("key:colon").found, GameStrings::Found::Missing);
}

struct StringsExpected
{
    const char *fixture;
    const char *rule;
    int line;
};

class StringsDefects : public ::testing::TestWithParam<StringsExpected>
{
};

TEST_P(StringsDefects, findTheOneDefectOfTheirName)
{
    const auto findings = checkStrings(*readFile(kData / "strings" / GetParam().fixture));
    ASSERT_EQ(findings.size(), 1u) << GetParam().fixture;
    EXPECT_EQ(findings[0].rule, GetParam().rule);
    EXPECT_EQ(findings[0].line, GetParam().line);
    EXPECT_EQ(findings[0].severity, Severity::Warning);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, StringsDefects,
                         ::testing::Values(StringsExpected{"hash_in_text.txt", "hash-in-text", 1},
                                           StringsExpected{"duplicate_key.txt", "duplicate-key", 2},
                                           StringsExpected{"last_line_without_end.txt", "no-final-line-end",
                                                           2}),
                         [](const ::testing::TestParamInfo<StringsExpected> &param) {
                             std::string name = param.param.fixture;
                             return name.substr(0, name.find('.'));
                         });

TEST(Checker, cleanStringsTable_hasNoFinding)
{
    EXPECT_TRUE(checkStrings(*readFile(kData / "strings" / "clean.txt")).empty());
}

TEST(Checker, hashInText_showsWhatTheGameKeeps)
{
    const auto findings = checkStrings("intro_1 Number #1 of them\r\n");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_NE(findings[0].message.find("\"Number \""), std::string::npos) << findings[0].message;
}

TEST(Checker, lastLineEndingInALoneCr_isNeverReadByTheGame)
{
    const auto strings = checkStrings("A x\r\nB y\r");
    ASSERT_EQ(strings.size(), 1u);
    EXPECT_EQ(strings[0].rule, "no-final-line-end");
    EXPECT_EQ(strings[0].line, 2);
    EXPECT_NE(strings[0].message.find("CR alone"), std::string::npos) << strings[0].message;
    // Blank last lines say nothing, however they end.
    EXPECT_TRUE(checkStrings("A x\r\n  \r").empty());
}

// A word of megabytes must neither take minutes to compare with every name nor make
// a message of megabytes.
TEST(Checker, longWordsAreCutInMessages)
{
    const GameStrings keys;
    const std::string word(1 << 20, 'W');
    const auto findings = checkScript(word + "\r\nWait " + word + "x,\r\n", exampleCatalogue(), keys);
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(findings[0].rule, "unknown-command");
    EXPECT_EQ(findings[0].message.substr(0, 48), "\"" + std::string(40, 'W') + "...\" is");
    for (const Finding &finding : findings)
        EXPECT_LT(finding.message.size(), 200u) << finding.rule;
    // Near names are still found for words of about their length.
    EXPECT_NE(checkScript("WaitSy\r\n", exampleCatalogue(), keys)[0].message.find("did you mean WaitSay"),
              std::string::npos);
}

TEST(Checker, findingsArriveOneByOneInLineOrder)
{
    std::vector<std::pair<int, std::string>> seen;
    checkScript("Nope\r\nCamMove a:\r\nWait x\r\n", exampleCatalogue(), GameStrings(),
                [&seen](Finding &&f) { seen.emplace_back(f.line, f.rule); });
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{1, "unknown-command"},
                                                              {2, "separator-in-argument"},
                                                              {2, "missing-argument"},
                                                              {3, "not-a-number"}}));
}

// Findings as the tables below give them: line, rule, severity.
using Found = std::tuple<int, std::string, Severity>;

std::vector<Found> found(const std::vector<Finding> &findings)
{
    std::vector<Found> out;
    for (const Finding &f : findings)
        out.emplace_back(f.line, f.rule, f.severity);
    return out;
}

constexpr Severity kError = Severity::Error;
constexpr Severity kWarning = Severity::Warning;
constexpr Severity kNote = Severity::Note;

struct Case
{
    const char *bytes;
    std::vector<Found> expected;
};

TEST(Checker, gameRules_eachWithTheSeverityOfWhatTheGameDoes)
{
    const Case cases[] = {
        {"Wait\r\nCamFov\t\t\r\nActivateTrunkPortFull\r\n",
         {{1, "argument-reads-zero", kNote},
          {2, "argument-reads-zero", kNote},
          {3, "argument-reads-zero", kNote}}},
        {"CamLocationFocus    heaven\r\nSay\r\n",
         {{1, "missing-argument", kError}, {2, "missing-argument", kError}}},
        {"Wait    2   seconds\r\n", {{1, "extra-arguments", kNote}}},
        {"CamMove  gate  0\r\nCamCut  gate\r\nCamMove  gate  70\r\nWaitCam\r\n", {}},
        {"CamMove   gate  -1\r\n\r\nSay       intro_1\r\nWaitCam\r\n", {{1, "negative-duration", kError}}},
        {"CamBuildingApproach 4 300 150 -2\r\nWaitCam\r\n", {{1, "negative-duration", kError}}},
        // A cut leaves the glide going; a focus ends it.
        {"CamMove gate -1\r\nCamCut gate\r\nWaitCam\r\n", {{1, "negative-duration", kError}}},
        {"CamMove gate -1\r\nCamBuildingFocus 4 300 150\r\nWaitCam\r\n",
         {{1, "negative-duration", kWarning}}},
        // An hour is fine; past it, no one waits.
        {"Wait 3600\r\nCamMove gate 3600\r\n", {}},
        {"Wait 1e30\r\nCamMove gate 3600.5\r\nCamBuildingApproach 4 300 150 1e308\r\n",
         {{1, "hour-long-wait", kWarning}, {2, "hour-long-wait", kWarning}, {3, "hour-long-wait", kWarning}}},
        {"ExitLocation\r\nHighlight 4\r\nCamLocationFocus  heaven  60\r\nWaitFade\r\nCamGlobalWorldFocus\r\n",
         {{3, "before-wait-fade", kWarning}}},
        {"ExitLocation\r\nWaitFade\r\n\r\nWaitPlayerNotBusy\r\nGodDishActivate\r\nCamCut gate\r\nHighlight "
         "4\r\n"
         "EnterLocation garden\r\nHighlight 4\r\n",
         {{4, "world-map-crash", kError},
          {5, "world-map-crash", kError},
          {6, "world-map-no-effect", kWarning},
          {7, "world-map-no-effect", kWarning}}},
        {"CamMove m#x 3\r\n",
         {{1, "hash-in-word", kWarning}, {1, "extra-arguments", kNote}, {1, "not-a-number", kWarning}}},
        {"CamBuildingFocus 4 300 150 # wide\r\n", {{1, "past-fourth-argument", kNote}}},
        {"Say intro_1_kbd\r\n", {{1, "variant-key", kWarning}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(found(checkScript(c.bytes, exampleCatalogue(), cleanStrings())), c.expected) << c.bytes;
}

TEST(Checker, keysLeftToAnUnreadGameTable_areNotedOncePerScript)
{
    const GameStrings unread(GamePreferences{}, std::nullopt, "intro_1 Hello\r\n");
    const auto findings =
        checkScript("Say intro_1\r\nSay outro_1\r\nSay outro_2\r\n", exampleCatalogue(), unread);
    EXPECT_EQ(found(findings), (std::vector<Found>{{2, "game-strings-unread", kNote}}));
}

TEST(Checker, stringsRules_eachWithTheSeverityOfWhatTheGameDoes)
{
    const Case cases[] = {
        {"intro_1\r\n", {{1, "key-without-text", kError}}},
        {"intro_1 \r\n", {{1, "key-without-text", kError}}},
        {"intro_1   # to do\r\n", {{1, "key-without-text", kError}}},
        {"intro_1 Press [KEY<Fire> to fire\r\n", {{1, "unclosed-bracket", kError}}},
        {"intro_1 Press [KEY<Fire>] or [IFMODE KEYBOARD]keys[ELSE]pad[ENDIF]\r\n", {}},
        {"intro_1 No.#1 of them\r\n", {{1, "hash-in-text", kWarning}}},
        {"intro_1#note The text\r\n", {{1, "hash-in-text", kWarning}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(found(checkStrings(c.bytes)), c.expected) << c.bytes;
}

TEST(Checker, everyStringsFileOfTheMod_andStringsDefaultIgnoredBesideTheLanguagesOwn)
{
    test::TempDir dir;
    const fs::path mod = dir / "mods/m";
    for (const char *file : {"strings_default.txt", "strings_default.txt.bak", "Strings_English.txt",
                             "strings_french.txt", "language/english.txt", "readme.txt"})
        dir.write(std::string("mods/m/") + file, "a A\r\n");
    EXPECT_EQ(modStringsFiles(mod),
              (std::vector<fs::path>{mod / "strings_default.txt", mod / "Strings_English.txt",
                                     mod / "strings_french.txt", mod / "language/english.txt"}));
    const auto rulesOf = [&](const char *file) {
        std::vector<std::string> rules;
        checkModStringsFile(mod / file, "a A\r\n", GameStrings::load(dir.path(), std::nullopt, mod),
                            [&rules](Finding &&f) { rules.push_back(f.rule); });
        return rules;
    };
    EXPECT_EQ(rulesOf("strings_default.txt"), std::vector<std::string>{"ignored-strings-file"});
    EXPECT_TRUE(rulesOf("Strings_English.txt").empty());
    fs::remove(mod / "Strings_English.txt");
    EXPECT_TRUE(rulesOf("strings_default.txt").empty());
}

// "line 1\n" ... "line N": N lines in either mode.
std::string numberedCaption(int lines)
{
    std::string text;
    for (int i = 1; i <= lines; ++i)
        text += (i > 1 ? "\\nline " : "line ") + std::to_string(i);
    return text;
}

// Captions of 9 to 12 lines, and words of 52, 53 and 80 characters: a cutscene line
// holds 53, a normal one 80, and the rest of a line after a cut word is lost.
const GameStrings &captionStrings()
{
    static const GameStrings strings = stringsOf(
        "nine " + numberedCaption(9) + "\r\nten " + numberedCaption(10) + "\r\neleven " +
        numberedCaption(11) + "\r\ntwelve " + numberedCaption(12) + "\r\nw52 " + std::string(52, 'w') +
        " x\r\nw53 " + std::string(53, 'w') + " x\r\nw53break " + std::string(53, 'w') + "\\nx\r\nw80 " +
        std::string(80, 'w') + " x\r\nhidden A [part_long] x\r\npart_long " + std::string(60, 'p') + "\r\n");
    return strings;
}

// The camera's mode decides the box: CamReset gives the player's camera (normal mode),
// CamBuildingFocus a cutscene; with neither the mode is not known and either may show.
TEST(Checker, captionsTooTallOrWithAWordTooLong_inTheModesTheyMayShowIn)
{
    const Case cases[] = {
        {"Say nine\r\n", {}},
        {"Say ten\r\n", {{1, "caption-too-tall", kWarning}}},
        {"CamReset\r\nSay ten\r\nSay eleven\r\n", {}},
        {"CamBuildingFocus 4 300 150\r\nSay ten\r\n", {{2, "caption-too-tall", kWarning}}},
        {"CamReset\r\nSay twelve\r\n", {{2, "caption-too-tall", kWarning}}},
        {"Say w52\r\n", {}},
        {"Say w53\r\n", {{1, "word-too-long", kWarning}}},
        {"CamReset\r\nSay w53\r\n", {}},
        {"Say w53break\r\n", {}}, // the cut drops only the blank of the "\n"
        {"CamReset\r\nSay w80\r\n", {{2, "word-too-long", kWarning}}},
        {"CamReset\r\nSay hidden\r\n", {}},
        {"Say hidden\r\n", {{1, "word-too-long", kWarning}}}, // a phrase's word counts
    };
    for (const Case &c : cases)
        EXPECT_EQ(found(checkScript(c.bytes, exampleCatalogue(), captionStrings())), c.expected) << c.bytes;
}

TEST(Checker, captionMessagesNameTheLinesAndWords_andTheModeLeftOpen)
{
    const auto message = [](const char *bytes) {
        const auto findings = checkScript(bytes, exampleCatalogue(), captionStrings());
        return findings.size() == 1 ? findings.front().message
                                    : std::to_string(findings.size()) + " findings";
    };
    EXPECT_EQ(
        message("Say ten\r\n"),
        "the caption \"ten\" takes 10 lines in cutscene mode, more than the 9 that fit on the screen: the "
        "last falls off its bottom (the camera may be in either mode here; in normal mode it fits)");
    EXPECT_EQ(
        message("CamReset\r\nSay twelve\r\n"),
        "the caption \"twelve\" takes 12 lines in normal mode, more than the 11 its box shows: the first "
        "scrolls away before the last is typed");
    EXPECT_EQ(
        message("Say twelve\r\n"),
        "the caption \"twelve\" takes 12 lines in normal mode, more than the 11 its box shows: the first "
        "scrolls away before the last is typed; and 12 lines in cutscene mode, more than the 9 that fit on "
        "the screen: the last 3 fall off its bottom");
    EXPECT_EQ(
        message("CamBuildingFocus 4 300 150\r\nSay w53\r\n"),
        "the caption \"w53\" has a word longer than a line, and the rest of that line up to its \\n never "
        "shows: in cutscene mode, where a line holds 53 characters, the game cuts \"" +
            std::string(40, 'w') + "...\" and loses \" x\"");
    EXPECT_NE(message("Say w53\r\n")
                  .find("(the camera may be in either mode here; in normal mode nothing is lost)"),
              std::string::npos);
}

// Shaped like the game's own scripts: aligned columns of blanks and tabs, blank lines
// between groups, comments, CR LF; every command but PurityControl, used as it should be.
TEST(Checker, realisticScriptUsingEveryCommandWell_hasNoFinding)
{
    const GameStrings strings(GamePreferences{}, std::string("intro_1 Welcome back.\r\n"),
                              "INTRO_2 The garden.\r\nintro_icon_kbd Press the key.\r\n");
    const auto findings =
        checkScript(*readFile(kData / "scripts" / "realistic.txt"), exampleCatalogue(), strings);
    for (const Finding &f : findings)
        ADD_FAILURE() << f.line << ": " << f.message << " [" << f.rule << "]";
}

// Two locations: garden (mounts, an animation, buildings in its mission and map; its
// trigger runs "garden_intro.txt") and yard (no mission; a repeated building id in its
// map); the events run "launch.txt" on the world map.
Levels nameLevels(FileNames gestures = {{"officer.txt"}, true})
{
    LevelSources sources;
    sources.levelFile = [](std::string_view file) -> std::optional<std::string> {
        if (file == "mission_garden.txt")
            return "CameraMounts_StartDefinition\ngate 0 0 0\nlake 0 0 0\nCameraMounts_EndDefinition\n"
                   "CameraAnimations_StartDefinition\nsweep\nMove gate 2\nEnd\nbroken\nCut nowhere 1\nEnd\n"
                   "CameraAnimations_EndDefinition\n"
                   "Buildings_StartDefinition\nScriptTrigger 20 0 0 0 0 0 1 garden_intro.txt\n"
                   "Buildings_EndDefinition\n";
        if (file == "map_garden.txt")
            return "Buildings_StartDefinition\nIncubator 4 0 0\nEscapeRocket 9 0 "
                   "0\nBuildings_EndDefinition\n";
        if (file == "map_yard.txt")
            return "Buildings_StartDefinition\nIncubator 3 0 0\nTrunkPort 3 0 0\nBuildings_EndDefinition\n";
        return std::nullopt;
    };
    sources.soundsTxt = "OTHER Music\nEVENT Theme\nEND\n";
    sources.gestures = std::move(gestures);
    sources.levelFiles = {{"mission_garden.txt", "map_garden.txt", "map_yard.txt"}, true};
    return Levels::read("Locations_StartDefinition\n0 1 map_garden.txt mission_garden.txt\n"
                        "1 1 map_yard.txt null\nLocations_EndDefinition\nRunScript launch.txt\n",
                        sources);
}

TEST(Checker, namesFromTheLevels_checkedWhereTheLineRuns)
{
    const Levels levels = nameLevels();
    // The script's name, its lines, what is found.
    const std::tuple<const char *, const char *, std::vector<Found>> cases[] = {
        // The garden's trigger runs it: its mounts, animations and buildings (mission and map).
        {"garden_intro.txt",
         "CamMove gate 2\nCamCut LAKE\nCamCut CamPosBefore\nCamAnim Sweep\nHighlight 4\nHighlight 20\n"
         "WaitRocket 9 Countdown 0\n",
         {}},
        {"garden_intro.txt",
         "CamMove gat 2\nCamCut yard\nHighlight 3\nWaitRocket 4 launch 0\n",
         {{1, "unknown-mount", kWarning},
          {2, "unknown-mount", kWarning},
          {3, "unknown-building", kWarning},
          {4, "unknown-rocket-state", kWarning}}},
        {"garden_intro.txt",
         "CamAnim swept\nCamAnim broken\n",
         {{1, "unknown-animation", kError}, {2, "animation-stops", kError}}},
        // Nothing runs it: a name is wrong only where no location has it. The yard has no
        // mission, so the garden's mounts decide; building 3 is the yard's.
        {"other.txt",
         "CamMove lake 1\nHighlight 3\nHighlight 99\nCamMove pond 1\n",
         {{3, "unknown-building", kWarning}, {4, "unknown-mount", kWarning}}},
        // Where EnterLocation and ExitLocation take it; the events start it on the world map.
        {"launch.txt",
         "CamMove nowhere 1\nEnterLocation yard\nHighlight 4\nExitLocation\nHighlight 4\nWaitFade\n"
         "Highlight 4\nEnterLocation Garden\nHighlight 4\n",
         {{2, "repeated-building", kError},
          {3, "unknown-building", kWarning},
          {5, "unknown-building", kWarning},
          {7, "world-map-no-effect", kWarning}}},
        {"x.txt",
         "EnterLocation labs\nCamMove nowhere 1\nSetMission labs m.txt\nSetMission yard mission_yard.txt\n"
         "CamLocationFocus heaven 60\nCamLocationFocus Yard 60\nCamLocationFocus nowhere 60\n",
         {{1, "unknown-location", kError},
          {3, "unknown-location", kError},
          {4, "missing-mission", kError},
          {7, "unknown-location", kWarning}}},
        {"x.txt",
         "TriggerSound theme\nTriggerSound Themes\nDemoGesture OFFICER.txt\nDemoGesture squad.txt\n"
         "GiveResearch laser\nGiveResearch accessallareas\nGiveResearch lasers\n",
         {{2, "unknown-music", kWarning}, {4, "missing-gesture", kError}, {7, "unknown-research", kWarning}}},
    };
    for (const auto &[script, bytes, expected] : cases) {
        EXPECT_EQ(found(checkScript(bytes, exampleCatalogue(), cleanStrings(), {&levels, script})), expected)
            << script << ": " << bytes;
    }
}

TEST(Checker, namesFromTheLevels_silentWhereNobodyKnows_andSuggestNearNames)
{
    // No levels, or files that cannot be read: no finding about names.
    const char *lines = "CamMove nowhere 1\nEnterLocation labs\nDemoGesture squad.txt\nTriggerSound x\n";
    EXPECT_EQ(found(checkScript(lines, exampleCatalogue(), cleanStrings())), std::vector<Found>{});
    const Levels unread = Levels::read(std::nullopt, LevelSources{});
    EXPECT_EQ(found(checkScript(lines, exampleCatalogue(), cleanStrings(), {&unread, "x.txt"})),
              std::vector<Found>{});
    const Levels noGestures = nameLevels({{"officer.txt"}, false});
    EXPECT_TRUE(checkScript("DemoGesture squad.txt\n", exampleCatalogue(), cleanStrings(), {&noGestures, "x"})
                    .empty());
    // With ControlMethod 1 a missing gesture is shown as nothing.
    const Levels levels = nameLevels();
    GamePreferences icons;
    icons.controlMethod = 1;
    EXPECT_EQ(found(checkScript("DemoGesture squad.txt\n", exampleCatalogue(), stringsOf("", icons),
                                {&levels, "x"})),
              (std::vector<Found>{{1, "missing-gesture", kNote}}));

    const auto message = [&](const char *script, const char *bytes) {
        const auto findings = checkScript(bytes, exampleCatalogue(), cleanStrings(), {&levels, script});
        return findings.empty() ? std::string() : findings.front().message;
    };
    EXPECT_EQ(message("garden_intro.txt", "CamMove gat 2\n"),
              "no camera mount \"gat\" in garden's mission_garden.txt: CamMove does nothing; did you mean "
              "\"gate\"?");
    EXPECT_EQ(message("x.txt", "EnterLocation gardn\n"),
              "EnterLocation of \"gardn\", a location game.txt does not list: the game crashes here; did you "
              "mean \"garden\" or \"yard\"?");
    EXPECT_EQ(message("x.txt", "Highlight 99\n"),
              "no building 99 in any of the 2 locations that may run this line: Highlight does nothing");
}

} // namespace
} // namespace cw::check
