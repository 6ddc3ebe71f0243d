#include "cli/Tools.h"

#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "core/text/Codepage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
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
    args.insert(args.begin(), {"check", "--root", test::utf8(root)});
    std::ostringstream out, err;
    const int status = cli::runTool(args, Whereabouts{}, out, err);
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
        places.push_back(line.substr(line.find('/', 5) + 1, line.find(": ") - line.find('/', 5) - 1) + " " +
                         line.substr(line.rfind('[')));
    // Every rule shows in it, each where it is.
    EXPECT_EQ(places, std::vector<std::string>({
                          "scripts/broken_cutscene.txt:4 [missing-argument]",
                          "scripts/broken_cutscene.txt:5 [not-a-number]",
                          "scripts/broken_cutscene.txt:6 [argument-reads-zero]",
                          "scripts/broken_cutscene.txt:8 [missing-string]",
                          "scripts/broken_cutscene.txt:9 [unknown-command]",
                          "scripts/broken_cutscene.txt:10 [separator-in-argument]",
                          "scripts/broken_cutscene.txt:10 [extra-arguments]",
                          "scripts/broken_cutscene.txt:11 [quote-in-argument]",
                          "scripts/broken_cutscene.txt:11 [unknown-music]",
                          "scripts/broken_cutscene.txt:12 [dangerous-command]",
                          "scripts/broken_cutscene.txt:13 [variant-key]",
                          "scripts/broken_cutscene.txt:14 [hash-in-word]",
                          "scripts/broken_cutscene.txt:14 [extra-arguments]",
                          "scripts/broken_cutscene.txt:15 [past-fourth-argument]",
                          "scripts/broken_cutscene.txt:17 [no-final-line-end]",
                          "scripts/level_names.txt:3 [unknown-mount]",
                          "scripts/level_names.txt:4 [unknown-animation]",
                          "scripts/level_names.txt:5 [animation-stops]",
                          "scripts/level_names.txt:6 [unknown-building]",
                          "scripts/level_names.txt:7 [unknown-rocket-state]",
                          "scripts/level_names.txt:8 [unknown-music]",
                          "scripts/level_names.txt:9 [unknown-research]",
                          "scripts/level_names.txt:10 [unknown-location]",
                          "scripts/lone_cr.txt:2 [cr-line-end]",
                          "scripts/long_cutscene.txt:101 [past-line-100]",
                          "scripts/too_long_line.txt:2 [too-many-tokens]",
                          "scripts/too_long_line.txt:2 [extra-arguments]",
                          "scripts/world_map.txt:3 [negative-duration]",
                          "scripts/world_map.txt:7 [before-wait-fade]",
                          "scripts/world_map.txt:9 [world-map-no-effect]",
                          "scripts/world_map.txt:10 [world-map-crash]",
                          "scripts/world_map.txt:13 [negative-duration]",
                          "strings_default.txt:1 [ignored-strings-file]",
                          "strings_default.txt:2 [hash-in-text]",
                          "strings_default.txt:4 [duplicate-key]",
                          "strings_default.txt:5 [no-final-line-end]",
                          "strings_french.txt:3 [key-without-text]",
                          "language/english.txt:3 [unclosed-bracket]",
                      }));
    EXPECT_EQ(run.lines.front(),
              "mods/Checker Demo/scripts/broken_cutscene.txt:4: error: CamMove needs 2 arguments "
              "but the game finds 1: the game crashes here [missing-argument]");
}

TEST(CheckTool, json_givesOneObjectPerFinding)
{
    const CheckRun run = check(kExampleRoot, {"--json", "Checker Demo", "broken_cutscene.txt"});
    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(run.lines.size(), 21u); // 15 in the script, six in the strings files
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
        // The mod's own base table: every table the game loads can be read.
        dir.write("mods/m/language/english.txt", "greeting Hello\r\n");
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

TEST_F(CheckToolOnAMod, everyStringsFileOnItsOwnLines_andKeysLeftToTheGameNotedOncePerMod)
{
    fs::remove_all(dir / "mods/m/language");
    dir.write("mods/m/scripts/fine.txt", "Say nobody\r\nSay hello\r\n");
    dir.write("mods/m/strings_english.txt", "hello\r\n");
    const CheckRun run = check(dir.path(), {"m"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.lines,
              (std::vector<std::string>{
                  "mods/m/scripts/fine.txt:1: note: \"nobody\" is not in the mod's strings files, and "
                  "the game's own english table could not be read here (on most installs it is inside "
                  "the game's archives): keys the mod leaves to the game are not checked "
                  "[game-strings-unread]",
                  "mods/m/strings_default.txt:1: warning: the game reads strings_english.txt for the "
                  "language english and ignores this file: nothing in it shows in the game "
                  "[ignored-strings-file]",
                  "mods/m/strings_english.txt:1: error: \"hello\" has no text: the game finds none and "
                  "crashes when it loads this file [key-without-text]",
              }));
}

TEST_F(CheckToolOnAMod, stringsFileThatCannotBeRead_exitsWithTwo_namingIt)
{
    const fs::path strings = dir / "mods/m/strings_default.txt";
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0, strings});
    const CheckRun run = check(dir.path(), {"m"});
    setIoFaultForTesting(std::nullopt);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_NE(run.err.find(test::native(strings) + ": Permission denied"), std::string::npos) << run.err;
}

bool allUtf8(const std::vector<std::string> &lines)
{
    return std::all_of(lines.begin(), lines.end(), [](const std::string &line) { return isUtf8(line); });
}

// A name that is not UTF-8 is decoded as the files' texts are, and a name holding a
// line feed cannot pass for two findings. Windows names are Unicode and hold no control
// characters: there the name is UTF-8 already and printed as it is.
TEST_F(CheckToolOnAMod, namesAndWordsPrintAsValidUtf8_withControlCharactersEscaped)
{
    fs::remove(dir / "mods/m/scripts/fine.txt");
#ifdef _WIN32
    fs::rename(dir / "mods/m/scripts/warned.txt", dir / "mods/m/scripts/caf\xC3\xA9.txt");
    const std::vector<std::string> names = {"mods/m/scripts/caf\xC3\xA9.txt:1"};
#else
    fs::rename(dir / "mods/m/scripts/warned.txt", dir / "mods/m/scripts/caf\xE9.txt");
    dir.write("mods/m/scripts/new\nline.txt", "Say nobody\r\n");
    const std::vector<std::string> names = {"mods/m/scripts/caf\xC3\xA9.txt:1",
                                            "mods/m/scripts/new\\x0aline.txt:1"};
#endif
    dir.write("mods/m/scripts/z.txt", "Reset\r\nCamM\xF6ve g\r\n");
    dir.write("commands.txt",
              "header\r\n\r\nR\xE9set r 0\r\nCamM\xF6ve m 2 3 Mount 2 S\r\nSay s 1 4 Key\r\n");

    const CheckRun plain = check(dir.path(), {"m"});
    EXPECT_TRUE(allUtf8(plain.lines));
    ASSERT_EQ(plain.lines.size(), names.size() + 2) << plain.err;
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(plain.lines[i].substr(0, plain.lines[i].find(": ")), names[i]);
    // Names of the catalogue are decoded too: "did you mean" and the command's own.
    const std::string &reset = plain.lines[names.size()];
    const std::string &camMove = plain.lines[names.size() + 1];
    EXPECT_NE(reset.find("did you mean R\xC3\xA9set?"), std::string::npos) << reset;
    EXPECT_NE(camMove.find("CamM\xC3\xB6ve needs 2 arguments"), std::string::npos) << camMove;

    const CheckRun json = check(dir.path(), {"--json", "m"});
    EXPECT_TRUE(allUtf8(json.lines));
    ASSERT_EQ(json.lines.size(), names.size() + 2);
#ifndef _WIN32
    EXPECT_EQ(json.lines[1].substr(0, json.lines[1].find(", ")),
              R"({"file": "mods/m/scripts/new\nline.txt")");
#endif
}

} // namespace
} // namespace cw
