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
    const ToolRun plain = timeline({"Mod", "worked.txt"});
    EXPECT_EQ(plain.status, 0);
    EXPECT_EQ(plain.out, "1    0:00.000  Say  caption 0:00.000-0:03.200\n"
                         "2    0:00.017  WaitSay  waits for Sepulveda to finish until 0:03.200\n"
                         "3    0:03.217  Wait  waits until 0:05.217\n"
                         "4    0:05.233  CamMove  camera 0:05.233-0:09.233\n"
                         "5    0:05.250  WaitCam  waits for the camera until 0:09.233\n"
                         "total 0:09.250\n");
    const ToolRun json = timeline({"--json", "Mod", "worked.txt"});
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out,
              "{\"line\": 1, \"command\": \"Say\", \"start\": 0, \"resume\": 0, \"exact\": true, "
              "\"caption\": [0, 3.2]}\n"
              "{\"line\": 2, \"command\": \"WaitSay\", \"start\": 0.017, \"resume\": 3.2, \"exact\": true}\n"
              "{\"line\": 3, \"command\": \"Wait\", \"start\": 3.217, \"resume\": 5.217, \"exact\": true}\n"
              "{\"line\": 4, \"command\": \"CamMove\", \"start\": 5.233, \"resume\": 5.233, \"exact\": true, "
              "\"camera\": [5.233, 9.233]}\n"
              "{\"line\": 5, \"command\": \"WaitCam\", \"start\": 5.25, \"resume\": 9.233, \"exact\": true}\n"
              "{\"total\": 9.25, \"exact\": true}\n");
}

TEST_F(TimelineToolTest, aNeverEndingWaitAndAnUnknownOne_areNullAndNotExact)
{
    dir.write("mods/Mod/scripts/hang.txt", "WaitPlayerNotBusy\r\nCamMove m -1\r\nWaitCam\r\n");
    EXPECT_EQ(timeline({"Mod", "hang.txt"}).out,
              "1  \xE2\x89\xA5 0:00.000  WaitPlayerNotBusy  waits for the player to be idle until "
              "\xE2\x89\xA5 0:03.000\n"
              "2  \xE2\x89\xA5 0:03.017  CamMove  camera \xE2\x89\xA5 0:03.017-never\n"
              "3  \xE2\x89\xA5 0:03.033  WaitCam  waits for the camera: never goes on\n"
              "total never\n");
    EXPECT_EQ(
        timeline({"--json", "Mod", "hang.txt"}).out,
        "{\"line\": 1, \"command\": \"WaitPlayerNotBusy\", \"start\": 0, \"resume\": 3, \"exact\": false}\n"
        "{\"line\": 2, \"command\": \"CamMove\", \"start\": 3.017, \"resume\": 3.017, \"exact\": false, "
        "\"camera\": [3.017, null]}\n"
        "{\"line\": 3, \"command\": \"WaitCam\", \"start\": 3.033, \"resume\": null, \"exact\": false}\n"
        "{\"total\": null, \"exact\": false}\n");
}

// The example mod's opening cutscene, by hand: 30 lines one frame (1/60 s) apart, Wait
// 2.0 on line 9, captions of 59, 112, 107 and 103 characters at 1.6 s per 15, a 6 s glide.
TEST(TimelineTool, theExampleModsIntro)
{
    const std::string root = test::utf8(fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot");
    const ToolRun result = run({"timeline", "--root", root, "--json", "Garden Return", "intro.txt"});
    EXPECT_EQ(result.status, 0);
    for (
        const char *line : {
            // 8/60, then 2 s.
            R"({"line": 9, "command": "Wait", "start": 0.133, "resume": 2.133, "exact": true})",
            // 2.133 + 2/60, for 6.293 s.
            R"({"line": 11, "command": "Say", "start": 2.167, "resume": 2.167, "exact": true, "caption": [2.167, 8.46]})",
            R"({"line": 12, "command": "WaitSay", "start": 2.183, "resume": 8.46, "exact": true})",
            // 11.947 s.
            R"({"line": 13, "command": "Say", "start": 8.477, "resume": 8.477, "exact": true, "caption": [8.477, 20.423]})",
            R"({"line": 14, "command": "CamMove", "start": 8.493, "resume": 8.493, "exact": true, "camera": [8.493, 14.493]})",
            R"({"line": 16, "command": "WaitSay", "start": 14.51, "resume": 20.423, "exact": true})",
            // 20.423 + 5/60, for 11.413 s; then 1.5 s.
            R"({"line": 23, "command": "Wait", "start": 31.937, "resume": 33.437, "exact": true})",
            // 33.437 + 3/60, for 10.987 s.
            R"({"line": 27, "command": "WaitSay", "start": 33.503, "resume": 44.473, "exact": true})",
            // 44.473 + 4/60.
            R"({"line": 30, "command": "CamReset", "start": 44.523, "resume": 44.523, "exact": true})",
            R"({"total": 44.54, "exact": true})",
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
