#include "cli/Tools.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cw {
namespace {

namespace fs = std::filesystem;

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string> &args)
{
    std::ostringstream out, err;
    const int status = cli::runTool(args, Whereabouts{}, out, err);
    return {status, out.str(), err.str()};
}

class TimelineToolTest : public ::testing::Test
{
protected:
    TimelineToolTest()
    {
        dir.write("mods/Mod/strings_default.txt", "K 123456789012345678901234567890\r\n");
        dir.write("mods/Mod/scripts/worked.txt", "Say K\r\nWaitSay\r\nWait 2\r\nCamMove m 4\r\nWaitCam\r\n");
    }
    ToolRun timeline(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"timeline", "--profile", test::utf8(dir.path())});
        return run(args);
    }

    test::TempDir dir;
};

TEST_F(TimelineToolTest, theWorkedExample_plainAndJson)
{
    // Where the camera's mode is not known, K lasts 133 to 193 frames.
    const ToolRun plain = timeline({"Mod", "worked.txt"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out,
              "1  0:00.000  Say  caption 0:00.000 until 0:02.217 to 0:03.217 (the camera's mode not known)\n"
              "2  0:00.017  WaitSay  waits for Sepulveda to finish until 0:02.217 to 0:03.217\n"
              "3  0:02.233 to 0:03.233  Wait  waits until 0:04.233 to 0:05.233\n"
              "4  0:04.250 to 0:05.250  CamMove  camera 0:04.250 to 0:05.250 until 0:08.250 to 0:09.250\n"
              "5  0:04.267 to 0:05.267  WaitCam  waits for the camera until 0:08.233 to 0:09.233\n"
              "total 0:08.250 to 0:09.250  (starting in a location)\n");
    const ToolRun json = timeline({"--json", "Mod", "worked.txt"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(
        json.out,
        "{\"line\": 1, \"command\": \"Say\", \"start\": 0, \"resume\": 0, \"exact\": false, "
        "\"caption\": [0, 2.217], \"caption_latest\": [0, 3.217]}\n"
        "{\"line\": 2, \"command\": \"WaitSay\", \"start\": 0.017, \"resume\": 2.217, "
        "\"resume_earliest\": 2.217, \"resume_latest\": 3.217, \"exact\": false}\n"
        "{\"line\": 3, \"command\": \"Wait\", \"start\": 2.233, \"start_earliest\": 2.233, "
        "\"start_latest\": 3.233, \"resume\": 4.233, \"resume_earliest\": 4.233, \"resume_latest\": 5.233, "
        "\"exact\": false}\n"
        "{\"line\": 4, \"command\": \"CamMove\", \"start\": 4.25, \"start_earliest\": 4.25, "
        "\"start_latest\": 5.25, \"resume\": 4.25, \"resume_earliest\": 4.25, \"resume_latest\": 5.25, "
        "\"exact\": false, \"camera\": [4.25, 8.25], \"camera_latest\": [5.25, 9.25]}\n"
        "{\"line\": 5, \"command\": \"WaitCam\", \"start\": 4.267, \"start_earliest\": 4.267, "
        "\"start_latest\": 5.267, \"resume\": 8.233, \"resume_earliest\": 8.233, \"resume_latest\": 9.233, "
        "\"exact\": false}\n"
        "{\"total\": 8.25, \"total_earliest\": 8.25, \"total_latest\": 9.25, \"exact\": false, "
        "\"start_place\": \"location\"}\n");
}

TEST_F(TimelineToolTest, startSaysWhereTheScriptStarts)
{
    dir.write("mods/Mod/scripts/enter.txt", "EnterLocation garden\r\nWaitFade\r\n");
    // By default on the world map (no fade-out before the loading); --start overrides it.
    EXPECT_EQ(
        timeline({"--json", "Mod", "enter.txt"}).out.substr(0, 132),
        "{\"line\": 1, \"command\": \"EnterLocation\", \"start\": 0, \"resume\": 0, \"resume_earliest\": 0, "
        "\"resume_latest\": null, \"exact\": false, \"note\"");
    const ToolRun inside = timeline({"--start", "location", "Mod", "enter.txt"});
    EXPECT_NE(inside.out.find("\ntotal \xE2\x89\xA5 0:02.617  (starting in a location)\n"), std::string::npos)
        << inside.out;
    const ToolRun wrong = timeline({"--start", "space", "Mod", "enter.txt"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("--start takes location or world-map"), std::string::npos) << wrong.err;
}

TEST_F(TimelineToolTest, aNeverEndingWaitAndAnUnknownOne_areNullAndNotExact)
{
    dir.write("mods/Mod/scripts/hang.txt", "WaitPlayerNotBusy\r\nCamMove m -1\r\nWaitCam\r\n");
    EXPECT_EQ(timeline({"Mod", "hang.txt"}).out,
              "1  0:00.000  WaitPlayerNotBusy  waits for the player to be idle until \xE2\x89\xA5 0:03.000  "
              "(At least 3 s: longer while the squad fights.)\n"
              "2  \xE2\x89\xA5 0:03.017  CamMove  camera \xE2\x89\xA5 0:03.017 until never\n"
              "3  \xE2\x89\xA5 0:03.033  WaitCam  waits for the camera: never goes on\n"
              "total never  (starting in a location)\n");
    EXPECT_EQ(
        timeline({"--json", "Mod", "hang.txt"}).out,
        "{\"line\": 1, \"command\": \"WaitPlayerNotBusy\", \"start\": 0, \"resume\": 3, \"resume_earliest\": "
        "3, "
        "\"resume_latest\": null, \"exact\": false, \"note\": \"At least 3 s: longer while the squad "
        "fights.\"}\n"
        "{\"line\": 2, \"command\": \"CamMove\", \"start\": 3.017, \"start_earliest\": 3.017, "
        "\"start_latest\": null, \"resume\": 3.017, \"resume_earliest\": 3.017, \"resume_latest\": null, "
        "\"exact\": false, \"camera\": [3.017, null], \"camera_latest\": [null, null]}\n"
        "{\"line\": 3, \"command\": \"WaitCam\", \"start\": 3.033, \"start_earliest\": 3.033, "
        "\"start_latest\": null, \"resume\": null, \"exact\": false}\n"
        "{\"total\": null, \"exact\": false, \"start_place\": \"location\"}\n");
}

// The example mod's opening cutscene, by hand, in frames of 1/60 s: each line a frame,
// Wait 2.0 on line 9; captions of 59, 112, 107 and 103 characters last floor(60 x len x
// rate / 15) + 1 frames, the rate 1.1 to 1.6 until CamBuildingFocus (line 19) makes it
// 1.6; a 6 s glide.
TEST(TimelineTool, theExampleModsIntro)
{
    const std::string root = test::utf8(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot");
    const ToolRun result = run({"timeline", "--root", root, "--json", "Garden Return", "intro.txt"});
    EXPECT_EQ(result.status, 0);
    for (
        const char *line : {
            // Frame 8, then 120.
            R"({"line": 9, "command": "Wait", "start": 0.133, "resume": 2.133, "exact": true})",
            // Frame 130, for 260 to 378 frames.
            R"({"line": 11, "command": "Say", "start": 2.167, "resume": 2.167, "exact": false, "caption": [2.167, 6.5], "caption_latest": [2.167, 8.467]})",
            // Frame 391 to 509: the glide 360 frames.
            R"({"line": 14, "command": "CamMove", "start": 6.533, "start_earliest": 6.533, "start_latest": 8.5, "resume": 6.533, "resume_earliest": 6.533, "resume_latest": 8.5, "exact": false, "camera": [6.533, 12.533], "camera_latest": [8.5, 14.5]})",
            // 107 characters in building focus: 685 frames from frame 889 to 1231.
            R"({"line": 21, "command": "Say", "start": 14.817, "start_earliest": 14.817, "start_latest": 20.517, "resume": 14.817, "resume_earliest": 14.817, "resume_latest": 20.517, "exact": false, "caption": [14.817, 26.233], "caption_latest": [20.517, 31.933]})",
            R"({"total": 38.867, "total_earliest": 38.867, "total_latest": 44.567, "exact": false, "start_place": "location"})",
        }) {
        EXPECT_NE(result.out.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << result.out;
    }
}

TEST_F(TimelineToolTest, aScriptOrModThatCannotBeRead_exitsWithStatusTwo)
{
    for (const auto &[mod, script] :
         {std::pair{"Mod", "missing.txt"}, {"Nomod", "worked.txt"}, {"Mod", "../x"}}) {
        const ToolRun result = timeline({mod, script});
        EXPECT_EQ(result.status, 2) << mod << script;
        EXPECT_TRUE(result.out.empty());
        EXPECT_NE(result.err.find("cuewright timeline: "), std::string::npos) << result.err;
    }
}

TEST_F(TimelineToolTest, anythingButAModAndAScript_isAUsageError)
{
    for (const std::vector<std::string> &names :
         {std::vector<std::string>{}, {"Mod"}, {"Mod", "worked.txt", "worked.txt"}}) {
        const ToolRun result = timeline(names);
        EXPECT_EQ(result.status, 2) << names.size();
        EXPECT_TRUE(result.out.empty());
        EXPECT_NE(result.err.find("cuewright timeline: expects MOD and SCRIPT"), std::string::npos)
            << result.err;
    }
}

} // namespace
} // namespace cw
