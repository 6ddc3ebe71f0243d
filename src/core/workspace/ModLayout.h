#pragma once

#include <string>
#include <string_view>

// The names the game gives its folders and files, and the rules about them, for the
// whole program. Found on disk without regard to letter case (findNoCase); what the
// program creates takes these spellings.
namespace cw::layout {

inline constexpr std::string_view kGameProgram = "darwinia.exe";
inline constexpr std::string_view kModsFolder = "mods";
inline constexpr std::string_view kCatalogueFile = "commands.txt";
inline constexpr std::string_view kPreferencesFile = "preferences.txt";

// Where the builds that keep mods apart from the game put their profile folder, below
// the user's home, and the kinds of game it holds a profile for (full, then the demos).
inline constexpr std::string_view kLinuxProfileFolder = ".darwinia";
inline constexpr std::string_view kMacProfileFolder = "Library/Application Support/Darwinia";
inline constexpr std::string_view kWindowsProfileFolder = "Saved Games/Darwinia";
inline constexpr std::string_view kProfileKinds[] = {"full", "demo", "demo2"};
// The game's programs on Linux, in the order they are preferred: the native builds,
// then the launch script of Steam's copy.
inline constexpr std::string_view kNativeGamePrograms[] = {"darwinia.bin.x86_64", "darwinia.bin.x86",
                                                           "darwinia.full", "darwinia", "run_steam.sh"};
// Where Steam installs the game on Linux, below the user's home.
inline constexpr std::string_view kSteamGameFolders[] = {".steam/steam/steamapps/common/Darwinia",
                                                         ".local/share/Steam/steamapps/common/Darwinia"};

inline constexpr std::string_view kScriptsFolder = "scripts";
inline constexpr std::string_view kLevelsFolder = "levels";
inline constexpr std::string_view kStringsFile = "strings_default.txt";
// A mod's own base strings tables, language/<language>.txt, and the game's, in its
// data folder: data/language/<language>.txt.
inline constexpr std::string_view kLanguageFolder = "language";
inline constexpr std::string_view kGameDataFolder = "data";
inline constexpr std::string_view kBackupSuffix = ".bak";
inline constexpr std::string_view kScriptPattern = "*.txt";

// "strings_<language>.txt": the strings a mod gives for one language.
std::string stringsFileFor(std::string_view language);

// "strings_default.txt.bak": the backup every save of the strings editor writes.
std::string stringsBackupFile();

// What a file of a mod's levels folder is taken for: its first three characters, in
// their letter case, say "map" or "mis"; everything else is neither.
enum class LevelFile { Other, Map, Mission };
LevelFile classifyLevelFile(std::string_view name);

// A new script: one empty line for each of the editor's 100 lines.
std::string newScriptBytes();

// The strings table "Make File" writes: one line holding a single blank.
std::string starterStringsBytes();

} // namespace cw::layout
