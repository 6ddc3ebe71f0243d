#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/workspace/GameLocation.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// The checks that decide whether the program may run in a folder, in their fixed
// order. Each stage has one message; only the first failing stage is reported.
enum class StartupStage {
    GameRootCheck,
    ModsFolderCheck,
    ModListing,
    CatalogueOpen,
    CatalogueRead,
    Layout,
};

std::string_view startupMessage(StartupStage stage);

struct StartupFailure
{
    StartupStage stage;
    std::string message; // exactly what the user is shown
    std::string detail;  // the cause, for a terminal or a log
};

// What the program works on once start-up has passed: a game root in the Windows
// layout, or a profile folder apart from the game.
struct GameRoot
{
    // The folder holding mods: the game root, or the profile. Every file the program
    // writes lies inside it.
    fs::path root;
    fs::path modsFolder;
    std::vector<std::string> mods; // names of the mod folders, in list order
    Catalogue catalogue;
    LayoutKind layout = LayoutKind::GameRoot;
    std::optional<fs::path> game; // the game's own folder, when known
};

// Runs the start-up checks on `root`: darwinia.exe readable and not empty, a mods
// folder with at least one mod, commands.txt present and well formed. The fixed names
// are found without regard to letter case; where a name exists in two spellings, the
// exact one wins, as the game reads only that one.
Result<GameRoot, StartupFailure> openGameRoot(const fs::path &root);

// Runs the checks a profile needs, in the same order and with the same messages: a
// mods folder with at least one mod, then a catalogue that can be read (the profile's,
// the game folder's or the shipped one, see catalogueFileOf). A profile has no
// darwinia.exe to look for.
Result<GameRoot, StartupFailure> openProfile(const GameLocation &profile, const fs::path &programFolder);

// openGameRoot or openProfile, as the location's layout asks.
Result<GameRoot, StartupFailure> openLocation(const GameLocation &location, const fs::path &programFolder);

// The catalogue of a location (catalogueFileOf), read and loaded.
Result<Catalogue, StartupFailure> loadCatalogueFor(const GameLocation &location,
                                                   const fs::path &programFolder);

// A catalogue file read and loaded; the detail names the file and the line at fault.
Result<Catalogue, StartupFailure> loadCatalogueFile(const fs::path &file);

} // namespace cw
