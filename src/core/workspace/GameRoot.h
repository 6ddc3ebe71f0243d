#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"

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

struct GameRoot
{
    fs::path root;
    fs::path modsFolder;
    std::vector<std::string> mods; // names of the mod folders, in list order
    Catalogue catalogue;
};

// Runs the start-up checks on `root`: darwinia.exe readable and not empty, a mods
// folder with at least one mod, commands.txt present and well formed. The fixed names
// are found without regard to letter case.
Result<GameRoot, StartupFailure> openGameRoot(const fs::path &root);

// commands.txt of a game root, read and loaded; the detail names the line at fault.
Result<Catalogue, StartupFailure> loadCatalogueOf(const fs::path &root);

} // namespace cw
