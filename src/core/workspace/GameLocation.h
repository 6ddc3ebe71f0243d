#pragma once

#include "core/io/Files.h"

#include <optional>
#include <string>
#include <vector>

// Where the game keeps its mods, its program and its preferences, on each system it
// runs on, and where the program finds the command catalogue. Every function takes
// what it needs to know of the machine as values, so that the search can be tried on
// a temporary tree.
namespace cw {

enum class Platform { Linux, MacOS, Windows };

// The system this program was built for.
Platform thisPlatform();

// What the search for the game knows of the running program and its user.
struct Whereabouts
{
    fs::path currentFolder;
    fs::path home;          // the user's home folder; empty when unknown
    fs::path programFolder; // the folder of the running program
    Platform platform = thisPlatform();

    // The current folder, $HOME (%USERPROFILE% on Windows) and the program's folder.
    static Whereabouts ofThisProcess();
};

// The game's layouts: one folder holding the game, its mods and its preferences (the
// usual Windows build), or a profile folder holding mods and preferences apart from
// the game's own folder (the native Linux and macOS builds, and the Windows build that
// keeps them under "Saved Games").
enum class LayoutKind { GameRoot, Profile };

struct GameLocation
{
    LayoutKind kind = LayoutKind::GameRoot;
    // The folder that holds mods: the game root or the profile. Everything the program
    // writes lies inside it.
    fs::path folder;
    // The folder of the game's program and its data folder; the game root itself in the
    // Windows layout. Unknown for a profile until given or found.
    std::optional<fs::path> game;

    bool operator==(const GameLocation &) const = default;
};

GameLocation gameRootAt(const fs::path &root);
GameLocation profileAt(const fs::path &profile, std::optional<fs::path> game = std::nullopt);

// darwinia.exe, mods and commands.txt together: a folder the program may start in as
// it always has.
bool isWindowsGameRoot(const fs::path &folder);

// Whether the folder holds a mods folder (in any letter case).
bool holdsMods(const fs::path &folder);

// Whether a location found once still has what its layout needs, so that a folder
// that was moved or unmounted since is passed over instead of failing every start.
bool isStillThere(const GameLocation &location);

// The profile folders the game itself uses on this platform, in the order they are
// tried: $HOME/.darwinia/{full,demo,demo2} on Linux, their counterparts under
// ~/Library/Application Support/Darwinia on macOS, Saved Games\Darwinia on Windows.
std::vector<fs::path> nativeProfileFolders(const Whereabouts &where);

// The native profile of this platform: the first of nativeProfileFolders that holds
// mods, else the first that exists (start-up then says the mods folder is missing).
// On Windows, failing those, the program's own folder when it is a game root in the
// Windows layout. Nothing when there is none.
std::optional<GameLocation> nativeLocation(const Whereabouts &where);

// Where the game is usually installed: Steam's folders on Linux.
std::vector<fs::path> usualGameFolders(const Whereabouts &where);

// Whether the folder holds a program of the game: darwinia.exe or a native one.
bool holdsGameProgram(const fs::path &folder);

// Completes the game folder of a profile that has none: the remembered one when it
// still exists, the profile itself when it holds the game's program, else the first
// usual place that exists. A game root is its own game folder.
GameLocation withGameFolder(GameLocation location, const std::optional<fs::path> &rememberedGame,
                            const Whereabouts &where);

// The search when no option names a location, in its fixed order: the current folder
// when it is a game root in the Windows layout, the remembered location when it is
// still there, the native location. Nothing when all fail.
std::optional<GameLocation> findGameLocation(const Whereabouts &where,
                                             const std::optional<GameLocation> &remembered);

// The folder a user picked when asked for the mods: a game root when it is one in the
// Windows layout, else a profile; a mods folder picked itself stands for its parent.
GameLocation locationOfChosenFolder(const fs::path &chosen);

// The catalogues that ship with the program, in the order they are tried: the data
// folder of an installation (or of the build tree, laid out as one),
// <program folder>/../share/cuewright/commands.txt, then <program folder>/commands.txt,
// where the Windows archive keeps it.
std::vector<fs::path> shippedCatalogues(const fs::path &programFolder);

// The catalogue file a location uses: a game root's own commands.txt, present or not
// (a missing one fails start-up); for a profile the first that exists of the
// profile's, the game folder's and the shipped ones. Nothing when none exists.
std::optional<fs::path> catalogueFileOf(const GameLocation &location, const fs::path &programFolder);

// The catalogue when there is no location at all: the game folder's when given and
// present, else a shipped one.
std::optional<fs::path> catalogueFileWithout(const std::optional<fs::path> &game,
                                             const fs::path &programFolder);

// The game's own program in its folder, for a system that is not Windows: the native
// builds darwinia.bin.x86_64, darwinia.bin.x86, darwinia.full, darwinia, then Steam's
// launch script run_steam.sh, whichever is first an executable file. Nothing when the
// folder holds none (the game then runs under wine).
std::optional<fs::path> nativeGameProgram(const fs::path &gameFolder);

} // namespace cw
