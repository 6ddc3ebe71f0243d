#include "core/workspace/GameRoot.h"

#include "core/catalogue/Tokenizer.h"
#include "core/io/IoFaults.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

namespace cw {
namespace {

using test::TempDir;

constexpr const char *kCommands = "header\r\n\r\nWait w 1 2 Seconds\r\n";

void makeGameRoot(const TempDir &dir)
{
    dir.write("darwinia.exe", "stand-in\r\n");
    dir.makeFolder("mods/beta");
    dir.makeFolder("mods/alpha");
    dir.write("commands.txt", kCommands);
}

StartupStage failingStage(const TempDir &dir)
{
    auto root = openGameRoot(dir.path());
    EXPECT_FALSE(root.ok());
    return root ? StartupStage::Layout : root.error().stage;
}

TEST(GameRoot, completeRoot_listsModsInOrder_andLoadsTheCatalogue)
{
    TempDir dir;
    makeGameRoot(dir);
    dir.write("mods/readme.txt", "not a mod");
    dir.makeFolder("mods/.git");
    auto root = openGameRoot(dir.path());
    ASSERT_TRUE(root.ok()) << root.error().detail;
    EXPECT_EQ(root->mods, std::vector<std::string>({"alpha", "beta"}));
    EXPECT_EQ(root->catalogue.commandCount(), 2);
    EXPECT_EQ(root->catalogue.entry(1).name, "Wait");
}

TEST(GameRoot, checksRunInTheirFixedOrder)
{
    TempDir dir;
    EXPECT_EQ(failingStage(dir), StartupStage::GameRootCheck);

    dir.write("darwinia.exe", "");
    EXPECT_EQ(failingStage(dir), StartupStage::GameRootCheck);

    dir.write("darwinia.exe", "x");
    EXPECT_EQ(failingStage(dir), StartupStage::ModsFolderCheck);

    dir.write("mods", "a file, not a folder");
    EXPECT_EQ(failingStage(dir), StartupStage::ModsFolderCheck);

    fs::remove(dir / "mods");
    dir.makeFolder("mods");
    dir.write("mods/loose.txt", "files are not mods");
    EXPECT_EQ(failingStage(dir), StartupStage::ModListing);

    dir.makeFolder("mods/one");
    EXPECT_EQ(failingStage(dir), StartupStage::CatalogueOpen);

    dir.makeFolder("commands.txt");
    EXPECT_EQ(failingStage(dir), StartupStage::CatalogueOpen);
    fs::remove(dir / "commands.txt");

    dir.write("commands.txt", "");
    EXPECT_EQ(failingStage(dir), StartupStage::CatalogueRead);
}

TEST(GameRoot, eachStageHasItsOwnMessage)
{
    TempDir dir;
    auto root = openGameRoot(dir.path());
    ASSERT_FALSE(root.ok());
    EXPECT_EQ(root.error().message,
              "I don't think I'm in the Darwinia root directory as I can't find Darwinia.exe! Exiting...");
    EXPECT_EQ(startupMessage(StartupStage::ModsFolderCheck),
              "No mods folder found, please create one! Exiting...");
    EXPECT_EQ(startupMessage(StartupStage::ModListing),
              "No mods found in mods folder! Please create one or something! Exiting...");
    EXPECT_EQ(startupMessage(StartupStage::CatalogueOpen),
              "commands.txt not found in local folder, please recheck! Exiting...");
    EXPECT_EQ(startupMessage(StartupStage::CatalogueRead),
              "Error found in commands.txt, please recheck formatting and syntax! Exiting...");
    EXPECT_EQ(startupMessage(StartupStage::Layout),
              "Someone changed something special and now the world has ended ;-; Exiting...");
}

TEST(GameRoot, catalogueFailures_carryTheLine_andOverlongLinesTheTokenizersMessage)
{
    TempDir dir;
    makeGameRoot(dir);
    dir.write("commands.txt", "header\r\nA a one\r\n");
    auto broken = openGameRoot(dir.path());
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error().stage, StartupStage::CatalogueRead);
    EXPECT_NE(broken.error().detail.find("line 2"), std::string::npos);

    std::string overlong = "header\r\nA";
    for (int i = 0; i < 22; ++i)
        overlong += " x";
    dir.write("commands.txt", overlong);
    auto refused = openGameRoot(dir.path());
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().message, kTokenizerMessage);
}

// A folder missing, not a folder, or unreadable (through the seam: root passes every
// permission check) is named as such, not by a file that could then not be found in it.
TEST(GameRoot, missingOrUnreadableFolders_areNamedInTheFirstStage)
{
    TempDir dir;
    dir.write("file", "");
    dir.makeFolder("profile/mods/alpha");
    const std::tuple<GameLocation, fs::path, StartupStage, std::string> cases[] = {
        {gameRootAt(dir / "gone"), dir / "gone", StartupStage::GameRootCheck, "there is no such folder"},
        {profileAt(dir / "file"), dir / "file", StartupStage::ModsFolderCheck, "it is a file, not a folder"},
        {profileAt(dir / "profile"), dir / "profile/mods", StartupStage::ModsFolderCheck,
         "it cannot be read: Permission denied"},
    };
    for (const auto &[location, named, stage, reason] : cases) {
        setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0, named});
        auto opened = openLocation(location, fs::path());
        setIoFaultForTesting(std::nullopt);
        ASSERT_FALSE(opened.ok());
        EXPECT_EQ(opened.error().stage, stage);
        EXPECT_EQ(opened.error().detail, test::native(named) + ": " + reason);
    }
}

TEST(GameRoot, fixedNamesAreFoundWithoutRegardToCase)
{
    TempDir dir;
    dir.write("DARWINIA.EXE", "x");
    dir.makeFolder("Mods/One");
    dir.write("Commands.TXT", kCommands);
    auto root = openGameRoot(dir.path());
    ASSERT_TRUE(root.ok()) << root.error().detail;
    EXPECT_EQ(root->modsFolder, dir / "Mods");
    EXPECT_EQ(root->mods, std::vector<std::string>{"One"});
}

} // namespace
} // namespace cw
