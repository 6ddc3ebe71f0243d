#include "core/workspace/GameLocation.h"
#include "core/workspace/ModLayout.h"

#include <cstdlib>

namespace cw {
namespace {

bool isFolder(const fs::path &path)
{
    std::error_code code;
    return !path.empty() && fs::is_directory(path, code);
}

bool isFile(const fs::path &path)
{
    std::error_code code;
    return fs::is_regular_file(path, code);
}

// A relative path of the layout below `base`, with this system's separators.
fs::path below(const fs::path &base, std::string_view relative)
{
    return (base / pathFromName(relative)).make_preferred();
}

std::optional<fs::path> firstFile(const std::vector<fs::path> &candidates)
{
    for (const fs::path &candidate : candidates) {
        if (isFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

Platform thisPlatform()
{
#if defined(_WIN32)
    return Platform::Windows;
#elif defined(__APPLE__)
    return Platform::MacOS;
#else
    return Platform::Linux;
#endif
}

Whereabouts Whereabouts::ofThisProcess()
{
    Whereabouts where;
    std::error_code code;
    where.currentFolder = fs::current_path(code);
#ifdef _WIN32
    where.home = pathFromName(environment("USERPROFILE"));
#else
    where.home = pathFromName(environment("HOME"));
#endif
    where.programFolder = executableFolder();
    return where;
}

GameLocation gameRootAt(const fs::path &root)
{
    return GameLocation{LayoutKind::GameRoot, root, root};
}

GameLocation profileAt(const fs::path &profile, std::optional<fs::path> game)
{
    return GameLocation{LayoutKind::Profile, profile, std::move(game)};
}

bool isWindowsGameRoot(const fs::path &folder)
{
    return isFolder(folder) && isFile(findNoCase(folder, layout::kGameProgram)) && holdsMods(folder) &&
           isFile(findNoCase(folder, layout::kCatalogueFile));
}

bool holdsMods(const fs::path &folder)
{
    return isFolder(folder) && isFolder(findNoCase(folder, layout::kModsFolder));
}

bool isStillThere(const GameLocation &location)
{
    return location.kind == LayoutKind::GameRoot ? isWindowsGameRoot(location.folder)
                                                 : holdsMods(location.folder);
}

std::vector<fs::path> nativeProfileFolders(const Whereabouts &where)
{
    if (where.home.empty())
        return {};
    switch (where.platform) {
    case Platform::Windows:
        return {below(where.home, layout::kWindowsProfileFolder)};
    case Platform::Linux:
    case Platform::MacOS: {
        const fs::path base =
            below(where.home, where.platform == Platform::Linux ? layout::kLinuxProfileFolder
                                                                : layout::kMacProfileFolder);
        std::vector<fs::path> folders;
        for (std::string_view kind : layout::kProfileKinds)
            folders.push_back(base / pathFromName(kind));
        return folders;
    }
    }
    return {};
}

std::optional<GameLocation> nativeLocation(const Whereabouts &where)
{
    const std::vector<fs::path> profiles = nativeProfileFolders(where);
    for (const fs::path &profile : profiles) {
        if (holdsMods(profile))
            return profileAt(profile);
    }
    for (const fs::path &profile : profiles) {
        if (isFolder(profile))
            return profileAt(profile);
    }
    // The usual Windows build keeps everything in its own folder, where this program
    // was always meant to be put.
    if (where.platform == Platform::Windows && isWindowsGameRoot(where.programFolder))
        return gameRootAt(where.programFolder);
    return std::nullopt;
}

std::vector<fs::path> usualGameFolders(const Whereabouts &where)
{
    std::vector<fs::path> folders;
    if (where.platform != Platform::Linux || where.home.empty())
        return folders;
    for (std::string_view steam : layout::kSteamGameFolders)
        folders.push_back(below(where.home, steam));
    return folders;
}

bool holdsGameProgram(const fs::path &folder)
{
    return isFile(findNoCase(folder, layout::kGameProgram)) || nativeGameProgram(folder).has_value();
}

GameLocation withGameFolder(GameLocation location, const std::optional<fs::path> &rememberedGame,
                            const Whereabouts &where)
{
    if (location.game)
        return location;
    if (location.kind == LayoutKind::GameRoot) {
        location.game = location.folder;
        return location;
    }
    if (rememberedGame && isFolder(*rememberedGame)) {
        location.game = rememberedGame;
        return location;
    }
    if (holdsGameProgram(location.folder)) {
        location.game = location.folder;
        return location;
    }
    for (const fs::path &folder : usualGameFolders(where)) {
        if (isFolder(folder)) {
            location.game = folder;
            break;
        }
    }
    return location;
}

std::optional<GameLocation> findGameLocation(const Whereabouts &where,
                                             const std::optional<GameLocation> &remembered)
{
    if (isWindowsGameRoot(where.currentFolder))
        return gameRootAt(where.currentFolder);
    if (remembered && isStillThere(*remembered))
        return remembered;
    return nativeLocation(where);
}

GameLocation locationOfChosenFolder(const fs::path &chosen)
{
    if (isWindowsGameRoot(chosen))
        return gameRootAt(chosen);
    // Asked where the mods are, a user may well pick the mods folder itself.
    const fs::path parent = chosen.parent_path();
    if (!holdsMods(chosen) && isFolder(chosen) && chosen.has_filename() &&
        findNoCase(parent, layout::kModsFolder) == chosen)
        return isWindowsGameRoot(parent) ? gameRootAt(parent) : profileAt(parent);
    return profileAt(chosen);
}

std::vector<fs::path> shippedCatalogues(const fs::path &programFolder)
{
    const fs::path file = pathFromName(layout::kCatalogueFile);
    return {(programFolder / ".." / "share" / "cuewright" / file).lexically_normal(),
            (programFolder / file).lexically_normal()};
}

std::optional<fs::path> catalogueFileOf(const GameLocation &location, const fs::path &programFolder)
{
    if (location.kind == LayoutKind::GameRoot)
        return findNoCase(location.folder, layout::kCatalogueFile);
    std::vector<fs::path> candidates{findNoCase(location.folder, layout::kCatalogueFile)};
    if (location.game)
        candidates.push_back(findNoCase(*location.game, layout::kCatalogueFile));
    for (fs::path &shipped : shippedCatalogues(programFolder))
        candidates.push_back(std::move(shipped));
    return firstFile(candidates);
}

std::optional<fs::path> catalogueFileWithout(const std::optional<fs::path> &game,
                                             const fs::path &programFolder)
{
    std::vector<fs::path> candidates;
    if (game)
        candidates.push_back(findNoCase(*game, layout::kCatalogueFile));
    for (fs::path &shipped : shippedCatalogues(programFolder))
        candidates.push_back(std::move(shipped));
    return firstFile(candidates);
}

std::optional<fs::path> nativeGameProgram(const fs::path &gameFolder)
{
    if (!isFolder(gameFolder))
        return std::nullopt;
    for (std::string_view name : layout::kNativeGamePrograms) {
        const fs::path program = gameFolder / pathFromName(name);
        std::error_code code;
        const fs::file_status status = fs::status(program, code);
        const auto executable = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
        if (!code && fs::is_regular_file(status) && (status.permissions() & executable) != fs::perms::none)
            return program;
    }
    return std::nullopt;
}

} // namespace cw
