#include "cli/Tools.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct CheckRun
{
    int status;
    std::vector<std::string> lines;
    std::string err;
};

CheckRun check(const fs::path &root, std::vector<std::string> args)
{
    args.insert(args.begin(), {"check", "--root", root.string()});
    std::ostringstream out, err;
    const int status = cli::runTool(args, fs::path(), out, err);
    CheckRun run{status, {}, err.str()};
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);)
        run.lines.push_back(line);
    return run;
}

const fs::path kExampleRoot = fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot";

TEST(CheckTool, completeExampleMod_hasNoFinding)
{
    const CheckRun run = check(kExampleRoot, {"Garden Return"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.lines.empty()) << run.lines.front();
}

TEST(CheckTool, brokenExampleMod_reportsEachDefectWhereItIs)
{
    const CheckRun run = check(kExampleRoot, {"Checker Demo"});
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> places;
    for (const std::string &line : run.lines)
        places.push_back(line.substr(0, line.find(": ")) + " " + line.substr(line.rfind('[')));
    EXPECT_EQ(places, std::vector<std::string>({
                          "mods/Checker Demo/scripts/broken_cutscene.txt:4 [missing-argument]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:5 [not-a-number]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:6 [duration-range]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:8 [missing-string]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:9 [unknown-command]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:10 [separator-in-argument]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:11 [quote-in-argument]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:12 [dangerous-command]",
                          "mods/Checker Demo/scripts/broken_cutscene.txt:14 [no-final-line-end]",
                          "mods/Checker Demo/scripts/too_long_line.txt:2 [too-many-tokens]",
                          "mods/Checker Demo/strings_default.txt:2 [hash-in-text]",
                          "mods/Checker Demo/strings_default.txt:4 [duplicate-key]",
                          "mods/Checker Demo/strings_default.txt:5 [no-final-line-end]",
                      }));
    EXPECT_EQ(run.lines.front(),
              "mods/Checker Demo/scripts/broken_cutscene.txt:4: error: CamMove needs 2 arguments "
              "but the game finds 1: it reads past the line, which is likely to crash it "
              "[missing-argument]");
}

TEST(CheckTool, json_givesOneObjectPerFinding)
{
    const CheckRun run = check(kExampleRoot, {"--json", "Checker Demo", "broken_cutscene.txt"});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 12u); // nine in the script, three in the strings table
    EXPECT_EQ(run.lines[1],
              R"({"file": "mods/Checker Demo/scripts/broken_cutscene.txt", "line": 5, )"
              R"("severity": "warning", "rule": "not-a-number", "message": "argument 1 of Wait )"
              R"(should be a number, but \"two\" is not: the game reads 0"})");
}

class CheckToolOnAMod : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write("commands.txt", test::readBytes(kExampleRoot / "commands.txt"));
        dir.write("mods/m/scripts/fine.txt", "Say hello\r\nWait 1\r\n");
        dir.write("mods/m/scripts/warned.txt", "Say nobody\r\n");
        dir.write("mods/m/strings_default.txt", "hello Hi\r\n");
    }
    TempDir dir;
};

TEST_F(CheckToolOnAMod, warningsAlone_exitWithZero_andNamedScriptsAreTheOnlyOnesChecked)
{
    const CheckRun all = check(dir.path(), {"m"});
    EXPECT_EQ(all.status, 0);
    ASSERT_EQ(all.lines.size(), 1u);
    EXPECT_EQ(all.lines[0].substr(0, all.lines[0].find(": ")), "mods/m/scripts/warned.txt:1");
    EXPECT_TRUE(check(dir.path(), {"m", "fine.txt"}).lines.empty());
}

TEST_F(CheckToolOnAMod, aModThatCannotBeRead_exitsWithTwo)
{
    EXPECT_EQ(check(dir.path(), {"nothere"}).status, 2);
    EXPECT_EQ(check(dir.path(), {"m", "missing.txt"}).status, 2);
    EXPECT_EQ(check(dir.path(), {}).status, 2);
    fs::remove(dir / "commands.txt");
    const CheckRun noCatalogue = check(dir.path(), {"m"});
    EXPECT_EQ(noCatalogue.status, 2);
    EXPECT_NE(noCatalogue.err.find("commands.txt"), std::string::npos);
}

TEST_F(CheckToolOnAMod, withoutAStringsTable_everyKeyIsMissing)
{
    fs::remove(dir / "mods/m/strings_default.txt");
    const CheckRun run = check(dir.path(), {"m", "fine.txt"});
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_NE(run.lines[0].find("[missing-string]"), std::string::npos);
}

} // namespace
} // namespace cw
