#pragma once

#include "cli/ArgumentParser.h"
#include "core/catalogue/Catalogue.h"
#include "core/util/Result.h"
#include "core/workspace/GameLocation.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {
struct IoError;
}

// What the command-line tools share: exit statuses, argument parsing, the names they
// accept, and how they show names and failures.
namespace cw::cli {

constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUnusable = 2;

// The arguments after the tool name (args[0]), by the program's one parser; every tool
// takes --help besides the options it is given.
Arguments parse(const std::vector<std::string> &args, std::initializer_list<std::string_view> valueOptions,
                std::initializer_list<std::string_view> flagOptions);

// Prints the problem in one line that ends by pointing at --help; returns kExitUnusable.
int usageError(std::ostream &err, std::string_view tool, std::string_view problem);
// Prints the tool's part of the help (toolUsage); returns kExitOk.
int toolHelp(std::ostream &out, std::string_view tool);

// parse() with the options that say where the game is (--root, --profile, --game), as
// every tool but tokens takes them, and the given flags; a combination of location
// options that names two places is a problem too.
Arguments parseWithLocation(const std::vector<std::string> &args,
                            std::initializer_list<std::string_view> flagOptions);
// The same, for a tool that also takes options with a value.
Arguments parseWithLocation(const std::vector<std::string> &args, std::vector<std::string_view> valueOptions,
                            std::initializer_list<std::string_view> flagOptions);

// The game root or profile a tool works on: the one --root or --profile names, else
// the current folder when it is a game root in the Windows layout, else the native
// profile of this system; a profile's game folder is --game, else the usual places.
// The tools never ask, and remember nothing. Nothing when none is found.
std::optional<GameLocation> toolLocation(const Arguments &parsed, const Whereabouts &where);

// What a tool says when it finds no game root or profile: where it looked, and the two
// options that name one.
std::string noLocationMessage(const Whereabouts &where);

// The location of a tool that works on mods, with its catalogue loaded; on failure the
// reason is printed for people and nothing is returned.
struct Workplace
{
    GameLocation location;
    Catalogue catalogue;
};
std::optional<Workplace> workplaceFor(std::string_view tool, const Arguments &parsed,
                                      const Whereabouts &where, std::ostream &err);

// Text from the system or a file (a name, an argument) as the tools print it: UTF-8
// (decoded from Windows-1252 when it is not UTF-8 already), control characters escaped.
std::string shownText(std::string_view bytes);
std::string shownPath(const std::filesystem::path &path);
// "path: reason", printable.
std::string shownError(const IoError &error);

// The folder of the mod named MOD: a plain name of a folder in the game root's mods
// folder, in any letter case. Anything else (a path, "..", a file) is refused with a
// message for people.
Result<std::filesystem::path, std::string> modFolderOf(const std::filesystem::path &root,
                                                       std::string_view mod);

// The mod named MOD of a tool's game root or profile, with the path its files are
// printed under ("mods/MOD"); a MOD that names none is told on `err` for `tool`.
struct ToolMod
{
    std::filesystem::path folder;
    std::string shownPath;
};
std::optional<ToolMod> toolMod(std::string_view tool, const std::filesystem::path &root, std::string_view mod,
                               std::ostream &err);
// A name of the file system as the tools print it inside a path: UTF-8, not escaped.
std::string shownName(const std::filesystem::path &path);

// The script named SCRIPT of a mod: a plain name of a regular file in the mod's scripts
// folder, in any letter case; anything else is refused with a message for people.
Result<std::filesystem::path, std::string> scriptOf(const std::filesystem::path &modFolder,
                                                    std::string_view script);

} // namespace cw::cli
