#include "core/workspace/GameLocation.h"

#include "core/workspace/GameRoot.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace cw {

// Readable locations in test failures.
void PrintTo(const GameLocation &location, std::ostream *out)
{
    *out << (location.kind == LayoutKind::GameRoot ? "root " : "profile ") << location.folder;
    if (location.game)
        *out << " game " << *location.game;
}

namespace {

using test::TempDir;

constexpr const char *kCommands = "header\r\n\r\nWait w 1 2 Seconds\r\n";

// A machine in a temporary folder: a home, a folder the program runs in and the
// folder of the program itself.
struct Machine
{
    TempDir dir;
    Whereabouts where(Platform platform = Platform::Linux) const
    {
        return Whereabouts{dir / "work", dir / "home", dir / "opt/cuewright/bin", platform};
    }
    void makeWindowsRoot(std::string_view relative) const
    {
        const std::string base(relative);
        dir.write(base + "/darwinia.exe", "x");
        dir.makeFolder(base + "/mods/one");
        dir.write(base + "/commands.txt", kCommands);
    }
    void makeProfile(std::string_view relative) const { dir.makeFolder(std::string(relative) + "/mods/one"); }
    void makeExecutable(std::string_view relative) const
    {
        const fs::path program = dir.write(relative, "#!/bin/sh\n");
        fs::permissions(program, fs::perms::owner_all);
    }
};

TEST(GameLocation, windowsRootNeedsTheGameModsAndCatalogueTogether_inAnyLetterCase)
{
    TempDir dir;
    EXPECT_FALSE(isWindowsGameRoot(dir.path()));
    dir.write("DARWINIA.EXE", "x");
    dir.makeFolder("Mods");
    EXPECT_FALSE(isWindowsGameRoot(dir.path()));
    EXPECT_TRUE(holdsMods(dir.path()));
    dir.write("Commands.txt", kCommands);
    EXPECT_TRUE(isWindowsGameRoot(dir.path()));

    // A file named mods is no mods folder.
    TempDir other;
    other.write("darwinia.exe", "x");
    other.write("mods", "");
    other.write("commands.txt", kCommands);
    EXPECT_FALSE(isWindowsGameRoot(other.path()));
    EXPECT_FALSE(holdsMods(other.path()));
}

TEST(GameLocation, searchOrder_currentRoot_thenRemembered_thenNativeProfile)
{
    Machine m;
    const Whereabouts where = m.where();
    const GameLocation remembered = profileAt(m.dir / "elsewhere");
    m.makeProfile("elsewhere");
    m.makeProfile("home/.darwinia/full");
    m.makeWindowsRoot("work");
    EXPECT_EQ(findGameLocation(where, remembered), gameRootAt(m.dir / "work"));

    // A current folder with mods but no game is not a game root.
    fs::remove(m.dir / "work/darwinia.exe");
    EXPECT_EQ(findGameLocation(where, remembered), remembered);

    // A remembered folder that has gone is passed over.
    fs::remove_all(m.dir / "elsewhere");
    EXPECT_EQ(findGameLocation(where, remembered), profileAt(m.dir / "home/.darwinia/full"));
    EXPECT_EQ(findGameLocation(where, std::nullopt), profileAt(m.dir / "home/.darwinia/full"));

    fs::remove_all(m.dir / "home/.darwinia");
    EXPECT_EQ(findGameLocation(where, remembered), std::nullopt);
    EXPECT_EQ(findGameLocation(Whereabouts{}, std::nullopt), std::nullopt);
}

TEST(GameLocation, rememberedGameRoot_mustStillBeOne)
{
    Machine m;
    m.makeWindowsRoot("game");
    const GameLocation remembered = gameRootAt(m.dir / "game");
    EXPECT_EQ(findGameLocation(m.where(), remembered), remembered);
    fs::remove(m.dir / "game/commands.txt");
    EXPECT_EQ(findGameLocation(m.where(), remembered), std::nullopt);
}

TEST(GameLocation, nativeProfiles_ofEachPlatform_inTheirOrder)
{
    Machine m;
    const fs::path home = m.dir / "home";
    EXPECT_EQ(
        nativeProfileFolders(m.where(Platform::Linux)),
        std::vector<fs::path>({home / ".darwinia/full", home / ".darwinia/demo", home / ".darwinia/demo2"}));
    const fs::path mac = home / "Library/Application Support/Darwinia";
    EXPECT_EQ(nativeProfileFolders(m.where(Platform::MacOS)),
              std::vector<fs::path>({mac / "full", mac / "demo", mac / "demo2"}));
    EXPECT_EQ(nativeProfileFolders(m.where(Platform::Windows)),
              std::vector<fs::path>{(home / "Saved Games/Darwinia").make_preferred()});
    EXPECT_TRUE(nativeProfileFolders(Whereabouts{m.dir / "work", {}, {}, Platform::Linux}).empty());
}

TEST(GameLocation, nativeLocation_prefersAProfileWithMods_thenOneThatExists)
{
    Machine m;
    const Whereabouts where = m.where();
    EXPECT_EQ(nativeLocation(where), std::nullopt);
    // A profile the game made but no mods folder in it yet: start-up will say so.
    m.dir.makeFolder("home/.darwinia/full");
    EXPECT_EQ(nativeLocation(where), profileAt(m.dir / "home/.darwinia/full"));
    m.makeProfile("home/.darwinia/demo2");
    EXPECT_EQ(nativeLocation(where), profileAt(m.dir / "home/.darwinia/demo2"));
    m.makeProfile("home/.darwinia/demo");
    EXPECT_EQ(nativeLocation(where), profileAt(m.dir / "home/.darwinia/demo"));
    m.makeProfile("home/.darwinia/full");
    EXPECT_EQ(nativeLocation(where), profileAt(m.dir / "home/.darwinia/full"));
}

TEST(GameLocation, onWindows_savedGamesComesFirst_thenTheProgramsOwnFolder)
{
    Machine m;
    const Whereabouts where = m.where(Platform::Windows);
    m.makeWindowsRoot("opt/cuewright/bin");
    EXPECT_EQ(nativeLocation(where), gameRootAt(m.dir / "opt/cuewright/bin"));
    // Elsewhere the program's folder is no place for the game.
    EXPECT_EQ(nativeLocation(m.where(Platform::Linux)), std::nullopt);
    m.makeProfile("home/Saved Games/Darwinia");
    EXPECT_EQ(nativeLocation(where), profileAt((m.dir / "home/Saved Games/Darwinia").make_preferred()));
}

TEST(GameLocation, gameFolderOfAProfile_givenThenRememberedThenItselfThenSteam)
{
    Machine m;
    const Whereabouts where = m.where();
    const fs::path profile = m.dir / "home/.darwinia/full";
    m.makeProfile("home/.darwinia/full");
    EXPECT_EQ(withGameFolder(profileAt(profile), std::nullopt, where).game, std::nullopt);

    m.dir.makeFolder("home/.local/share/Steam/steamapps/common/Darwinia");
    EXPECT_EQ(withGameFolder(profileAt(profile), std::nullopt, where).game,
              m.dir / "home/.local/share/Steam/steamapps/common/Darwinia");
    m.dir.makeFolder("home/.steam/steam/steamapps/common/Darwinia");
    EXPECT_EQ(withGameFolder(profileAt(profile), std::nullopt, where).game,
              m.dir / "home/.steam/steam/steamapps/common/Darwinia");

#ifdef _WIN32
    // Windows has no executable bit, and there the game's program is darwinia.exe.
    m.dir.write("home/.darwinia/full/darwinia.exe", "x");
#else
    m.makeExecutable("home/.darwinia/full/darwinia.full");
#endif
    EXPECT_EQ(withGameFolder(profileAt(profile), std::nullopt, where).game, profile);

    m.dir.makeFolder("games/darwinia");
    EXPECT_EQ(withGameFolder(profileAt(profile), m.dir / "games/darwinia", where).game,
              m.dir / "games/darwinia");
    // A remembered game folder that has gone is passed over.
    EXPECT_EQ(withGameFolder(profileAt(profile), m.dir / "gone", where).game, profile);
    EXPECT_EQ(withGameFolder(profileAt(profile, m.dir / "given"), m.dir / "games/darwinia", where).game,
              m.dir / "given");

    // A game root is its own game folder, whatever was remembered.
    EXPECT_EQ(withGameFolder(gameRootAt(m.dir / "root"), m.dir / "games/darwinia", where).game,
              m.dir / "root");
}

TEST(GameLocation, chosenFolder_isARootWhenItIsOne_elseAProfile_andAModsFolderStandsForItsParent)
{
    Machine m;
    m.makeWindowsRoot("windows");
    m.makeProfile("profile");
    m.dir.makeFolder("nothing");
    EXPECT_EQ(locationOfChosenFolder(m.dir / "windows"), gameRootAt(m.dir / "windows"));
    EXPECT_EQ(locationOfChosenFolder(m.dir / "profile"), profileAt(m.dir / "profile"));
    EXPECT_EQ(locationOfChosenFolder(m.dir / "profile/mods"), profileAt(m.dir / "profile"));
    EXPECT_EQ(locationOfChosenFolder(m.dir / "windows/mods"), gameRootAt(m.dir / "windows"));
    // Start-up says what is missing.
    EXPECT_EQ(locationOfChosenFolder(m.dir / "nothing"), profileAt(m.dir / "nothing"));
    // A mod's own "mods" subfolder is no mods folder of a profile.
    m.makeProfile("profile/mods/one/mods");
    EXPECT_EQ(locationOfChosenFolder(m.dir / "profile/mods/one"), profileAt(m.dir / "profile/mods/one"));
}

TEST(CatalogueFile, rootUsesItsOwn_profileItsOwnThenTheGamesThenTheShippedOnes)
{
    Machine m;
    const fs::path program = m.dir / "opt/cuewright/bin";
    m.makeWindowsRoot("root");
    m.dir.write("opt/cuewright/share/cuewright/commands.txt", kCommands);
    EXPECT_EQ(catalogueFileOf(gameRootAt(m.dir / "root"), program), m.dir / "root/commands.txt");
    // A game root without one fails start-up instead of falling back.
    fs::remove(m.dir / "root/commands.txt");
    EXPECT_EQ(catalogueFileOf(gameRootAt(m.dir / "root"), program), m.dir / "root/commands.txt");

    const GameLocation profile = profileAt(m.dir / "profile", m.dir / "game");
    m.makeProfile("profile");
    m.dir.makeFolder("game");
    EXPECT_EQ(catalogueFileOf(profile, program), m.dir / "opt/cuewright/share/cuewright/commands.txt");
    m.dir.write("game/Commands.TXT", kCommands);
    EXPECT_EQ(catalogueFileOf(profile, program), m.dir / "game/Commands.TXT");
    m.dir.write("profile/commands.txt", kCommands);
    EXPECT_EQ(catalogueFileOf(profile, program), m.dir / "profile/commands.txt");

    // Beside the program, as the Windows archive keeps it, when there is no data folder.
    fs::remove(m.dir / "opt/cuewright/share/cuewright/commands.txt");
    EXPECT_EQ(catalogueFileWithout(std::nullopt, program), std::nullopt);
    EXPECT_EQ(catalogueFileOf(profileAt(m.dir / "empty"), program), std::nullopt);
    m.dir.write("opt/cuewright/bin/commands.txt", kCommands);
    EXPECT_EQ(catalogueFileWithout(std::nullopt, program), program / "commands.txt");
    EXPECT_EQ(catalogueFileWithout(m.dir / "game", program), m.dir / "game/Commands.TXT");
}

TEST(CatalogueFile, shippedOne_isFoundRelativeToTheProgram_afterTheInstallationMoves)
{
    TempDir dir;
    dir.write("usr/share/cuewright/commands.txt", kCommands);
    dir.makeFolder("usr/bin");
    EXPECT_EQ(catalogueFileWithout(std::nullopt, dir / "usr/bin"), dir / "usr/share/cuewright/commands.txt");

    fs::rename(dir / "usr", dir / "moved elsewhere");
    EXPECT_EQ(catalogueFileWithout(std::nullopt, dir / "moved elsewhere/bin"),
              dir / "moved elsewhere/share/cuewright/commands.txt");
    EXPECT_EQ(catalogueFileWithout(std::nullopt, dir / "usr/bin"), std::nullopt);
}

TEST(Profile, checksModsThenCatalogue_withTheStartUpMessages_andNeverAsksForTheGame)
{
    TempDir dir;
    const fs::path program = dir / "bin";
    const GameLocation profile = profileAt(dir / "profile");
    const auto stage = [&] {
        auto opened = openProfile(profile, program);
        EXPECT_FALSE(opened.ok());
        return opened ? StartupStage::Layout : opened.error().stage;
    };
    dir.makeFolder("profile");
    EXPECT_EQ(stage(), StartupStage::ModsFolderCheck);
    dir.makeFolder("profile/mods");
    EXPECT_EQ(stage(), StartupStage::ModListing);
    dir.makeFolder("profile/mods/one");
    EXPECT_EQ(stage(), StartupStage::CatalogueOpen);
    auto missing = openProfile(profile, program);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().message, startupMessage(StartupStage::CatalogueOpen));
    EXPECT_NE(missing.error().detail.find(test::native(dir / "share/cuewright/commands.txt")),
              std::string::npos)
        << missing.error().detail;

    // A broken catalogue is named, whichever it is.
    dir.write("share/cuewright/commands.txt", "");
    auto broken = openProfile(profile, program);
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error().stage, StartupStage::CatalogueRead);
    EXPECT_NE(broken.error().detail.find(test::native(dir / "share/cuewright/commands.txt")),
              std::string::npos);

    dir.write("share/cuewright/commands.txt", kCommands);
    auto opened = openProfile(profile, program);
    ASSERT_TRUE(opened.ok()) << opened.error().detail;
    EXPECT_EQ(opened->root, dir / "profile");
    EXPECT_EQ(opened->layout, LayoutKind::Profile);
    EXPECT_EQ(opened->mods, std::vector<std::string>{"one"});
    EXPECT_EQ(opened->catalogue.entry(1).name, "Wait");
}

TEST(Profile, whereModsAndModsBothExist_theLowerCaseOneTheGameReadsWins)
{
    TempDir dir;
    if (!test::caseSensitiveFileSystem(dir.path()))
        GTEST_SKIP() << "this file system keeps one folder for mods and Mods";
    dir.makeFolder("profile/Mods/from capital");
    dir.makeFolder("profile/mods/from lower");
    dir.write("profile/commands.txt", kCommands);
    auto opened = openProfile(profileAt(dir / "profile"), dir / "bin");
    ASSERT_TRUE(opened.ok()) << opened.error().detail;
    EXPECT_EQ(opened->modsFolder, dir / "profile/mods");
    EXPECT_EQ(opened->mods, std::vector<std::string>{"from lower"});
}

#ifndef _WIN32
// The native programs are those of Linux and macOS, told by their executable bit,
// which Windows does not have.
TEST(NativeGame, programsArePreferredInTheirOrder_andMustBeExecutableFiles)
{
    TempDir dir;
    const fs::path game = dir / "Darwinia";
    dir.makeFolder("Darwinia/data");
    dir.write("Darwinia/darwinia.exe", "x");
    EXPECT_EQ(nativeGameProgram(game), std::nullopt);
    dir.write("Darwinia/darwinia.bin.x86_64", "not executable");
    dir.makeFolder("Darwinia/darwinia");
    EXPECT_EQ(nativeGameProgram(game), std::nullopt);

    const auto executable = [&](const char *name) {
        fs::permissions(dir.write(std::string("Darwinia/") + name, "#!/bin/sh\n"), fs::perms::owner_all);
    };
    executable("run_steam.sh");
    EXPECT_EQ(nativeGameProgram(game), game / "run_steam.sh");
    executable("darwinia.full");
    EXPECT_EQ(nativeGameProgram(game), game / "darwinia.full");
    executable("darwinia.bin.x86");
    EXPECT_EQ(nativeGameProgram(game), game / "darwinia.bin.x86");
    executable("darwinia.bin.x86_64");
    EXPECT_EQ(nativeGameProgram(game), game / "darwinia.bin.x86_64");
    EXPECT_EQ(nativeGameProgram(dir / "nowhere"), std::nullopt);
}
#endif

} // namespace
} // namespace cw
