// Where the tools find the game: the options that name it, the search without them,
// and the catalogue they use.
#include "cli/Tools.h"
#include "core/io/Files.h"
#include "core/io/IoFaults.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>

namespace cw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr const char *kCommands = "header\r\n\r\nWait w 1 2 Seconds\r\n";

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

// A machine in a temporary folder: the tools run in `work`, the user's home is `home`
// and the program is installed under `usr`, its catalogue with it.
class ToolLocation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.makeFolder("work");
        dir.makeFolder("home");
        dir.makeFolder("usr/bin");
        dir.write("usr/share/cuewright/commands.txt", kCommands);
    }

    Whereabouts where() const
    {
        return Whereabouts{dir / "work", dir / "home", dir / "usr/bin", Platform::Linux};
    }

    ToolRun run(std::vector<std::string> args) const
    {
        std::ostringstream out, err;
        const int status = cli::runTool(args, where(), out, err);
        return {status, out.str(), err.str()};
    }

    // A mod "m" with one script under `folder`, which holds mods.
    void makeMod(const std::string &folder, std::string_view script = "Wait 1\r\n") const
    {
        dir.write(folder + "/mods/m/scripts/s.txt", script);
    }
    // As the tools take it and print it: UTF-8, the system's separators.
    std::string path(std::string_view relative) const { return test::native(dir / relative); }

    TempDir dir;
};

TEST_F(ToolLocation, profile_needsNoGame_usesTheShippedCatalogue_andWritesStayInsideIt)
{
    makeMod("profile", "wait   2\r\n");
    const ToolRun checked = run({"check", "--profile", path("profile"), "m"});
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(checked.out, "");

    const ToolRun formatted = run({"fmt", "--profile", path("profile"), "--in-place", "m", "s.txt"});
    EXPECT_EQ(formatted.status, 0) << formatted.err;
    EXPECT_EQ(test::readBytes(dir / "profile/mods/m/scripts/s.txt"), "Wait 2\r\n\r\n");

    // The profile is the boundary: a scripts folder leading out of it is not written
    // (where this system makes links).
    dir.write("outside/s.txt", "wait 3\r\n");
    fs::remove_all(dir / "profile/mods/m/scripts");
    std::error_code linked;
    fs::create_directory_symlink(dir / "outside", dir / "profile/mods/m/scripts", linked);
    if (linked)
        GTEST_SKIP() << "no symbolic links here: " << linked.message();
    const ToolRun refused = run({"fmt", "--profile", path("profile"), "--in-place", "m", "s.txt"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(test::readBytes(dir / "outside/s.txt"), "wait 3\r\n");

    // The mod is the boundary, not the profile: a script that is a link to the
    // profile's catalogue is neither read nor written.
    dir.write("profile/commands.txt", kCommands);
    fs::remove(dir / "profile/mods/m/scripts");
    dir.makeFolder("profile/mods/m/scripts");
    fs::create_symlink("../../../commands.txt", dir / "profile/mods/m/scripts/evil.txt");
    const ToolRun evil = run({"fmt", "--profile", path("profile"), "--in-place", "m", "evil.txt"});
    EXPECT_EQ(evil.status, 2);
    EXPECT_NE(evil.err.find("it is a link to " + path("profile/commands.txt")), std::string::npos)
        << evil.err;
    EXPECT_EQ(test::readBytes(dir / "profile/commands.txt"), kCommands);
}

// A folder missing or unreadable (through the seam: root passes every permission check)
// is what the tools report, not the catalogue or mod that could then not be found in it.
TEST_F(ToolLocation, missingOrUnreadableFolders_areNamed)
{
    makeMod("profile");
    const ToolRun missing = run({"fmt", "--root", path("nowhere"), "m", "s.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "cuewright fmt: " + path("nowhere") + ": there is no such folder\n");
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0, dir / "profile/mods"});
    const ToolRun locked = run({"check", "--profile", path("profile"), "m"});
    setIoFaultForTesting(std::nullopt);
    EXPECT_EQ(locked.status, 2);
    EXPECT_EQ(locked.err,
              "cuewright check: " + path("profile/mods") + ": it cannot be read: Permission denied\n");
}

TEST_F(ToolLocation, withoutOptions_theRootTheyRunIn_thenTheNativeProfile_elseExitTwoNamingBothOptions)
{
    for (const char *tool : {"check", "fmt"}) {
        const ToolRun lost = run({tool, "m", "s.txt"});
        EXPECT_EQ(lost.status, 2) << tool;
        EXPECT_EQ(lost.out, "");
        EXPECT_NE(lost.err.find("--root DIR"), std::string::npos) << lost.err;
        EXPECT_NE(lost.err.find("--profile DIR"), std::string::npos) << lost.err;
        EXPECT_NE(lost.err.find(path("home/.darwinia/full")), std::string::npos) << lost.err;
    }

    makeMod("home/.darwinia/full", "wait 1\r\n");
    EXPECT_EQ(run({"fmt", "m", "s.txt"}).out, "Wait 1\r\n\r\n");

    // The game root the tools run in comes first; its own catalogue knows no Wait.
    dir.write("work/darwinia.exe", "x");
    dir.write("work/commands.txt", "header\r\n\r\nSay s 1 4 Key\r\n");
    makeMod("work", "wait 1\r\n");
    EXPECT_EQ(run({"fmt", "m", "s.txt"}).out, "wait 1\r\n\r\n");
}

TEST_F(ToolLocation, locationOptionsNamingTwoPlaces_areUsageErrors)
{
    makeMod("profile");
    const ToolRun refused = run({"check", "--root", path("work"), "--profile", path("profile"), "m"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "cuewright check: --root and --profile name two different places; give one of "
                           "them; see cuewright --help\n");
}

TEST_F(ToolLocation, commandsWhich_printsTheCatalogueFileItWouldUse)
{
    const auto which = [this](std::vector<std::string> args) {
        args.insert(args.begin(), {"commands", "--which"});
        const ToolRun result = run(args);
        EXPECT_EQ(result.status, 0) << result.err;
        return result.out;
    };
    // No game anywhere: the one shipped with the program, which the plain tool lists.
    EXPECT_EQ(which({}), path("usr/share/cuewright/commands.txt") + "\n");
    EXPECT_NE(run({"commands"}).out.find(R"("name": "Wait")"), std::string::npos);

    makeMod("profile");
    dir.write("game/commands.txt", kCommands);
    EXPECT_EQ(which({"--profile", path("profile"), "--game", path("game")}),
              path("game/commands.txt") + "\n");

    // A game root uses its own or none.
    dir.write("work/darwinia.exe", "x");
    dir.write("work/COMMANDS.TXT", kCommands);
    makeMod("work");
    EXPECT_EQ(which({}), path("work/COMMANDS.TXT") + "\n");
    fs::remove(dir / "work/COMMANDS.TXT");
    const ToolRun missing = run({"commands", "--which", "--root", path("work")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find(path("work/commands.txt")), std::string::npos) << missing.err;

    // Nothing at all: the shipped one is named as missing.
    fs::remove_all(dir / "work");
    fs::remove_all(dir / "usr/share");
    const ToolRun none = run({"commands"});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find(path("usr/share/cuewright/commands.txt")), std::string::npos) << none.err;
}

} // namespace
} // namespace cw
