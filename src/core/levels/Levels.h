#pragma once

#include "core/io/Files.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The levels a script can reach, as the game reads them: the locations of game.txt and
// the camera animations of their mission files. Each file is taken whole from the mod's
// levels folder when it is there, else from the game's data/levels; nothing is merged.
// A script's CamAnim is checked and timed against these.
namespace cw {

struct CameraAnimation
{
    std::string name;   // as the mission writes it
    double seconds = 0; // the sum of its nodes' durations
    int nodes = 0;
    bool badDuration = false;    // a node's duration outside 0 <= d < 60: the game stops
    bool undefinedMount = false; // a node's mount not defined above (nor CamPosBefore): the game stops
};

struct Location
{
    std::string name; // from the map file's name
    std::string mapFile;
    std::string missionFile; // empty for "null"
};

struct Building
{
    long long id = 0;
    std::string type; // as the file writes it
};

// What a script can name in a map or mission file, as the game reads it.
struct LevelFile
{
    bool read = false;                       // false: missing or unreadable
    std::vector<std::string> mounts;         // as written, cut to the 63 characters the game keeps
    std::vector<CameraAnimation> animations; // in the file's order, each checked against the mounts above it
    std::vector<Building> buildings;
    std::vector<long long> repeatedIds; // a building id given twice: the game stops loading the level
    std::vector<std::string> scripts;   // what its script triggers, fence switches and objectives run
};

// Unknown: the file(s) could not be read, so nobody knows.
enum class Lookup { Unknown, Missing, Found };

struct AnimationFound
{
    Lookup lookup = Lookup::Unknown;
    const CameraAnimation *animation = nullptr;
};

// The locations of game.txt's Locations section, in the file's order.
std::vector<Location> readLocations(std::string_view gameTxt);

// The camera animations of a mission file, in the file's order, each checked against
// the mounts defined above it.
std::vector<CameraAnimation> readCameraAnimations(std::string_view mission);

// The sections of a map or mission file that scripts name: CameraMounts,
// CameraAnimations, Buildings (any type: the game skips types it does not know) and the
// script files named in the lines of ScriptTrigger and FenceSwitch buildings and of
// PrimaryObjectives.
LevelFile readLevelFile(std::string_view bytes);

// The music events of sounds.txt: the EVENT blocks after OTHER Music, in the file's order.
std::vector<std::string> readMusicEvents(std::string_view soundsTxt);

// The scripts game.txt's events run ("RunScript name"), outside its Locations section.
std::vector<std::string> readEventScripts(std::string_view gameTxt);

struct FileNames
{
    std::vector<std::string> names;
    bool complete = false;
};

// The levels' inputs besides game.txt, for Levels::read.
struct LevelSources
{
    // A file of the levels folder by its name (nullopt: unreadable or missing).
    std::function<std::optional<std::string>(std::string_view file)> levelFile;
    std::optional<std::string> soundsTxt; // nullopt: unreadable or missing
    // The files of the mod's folder and the game's: of gesture_demos, of levels. A
    // name missing from a list that is not complete (a folder that could not be
    // listed, or no game) is not known to be missing.
    FileNames gestures;
    FileNames levelFiles;
};

class Levels
{
public:
    // Nothing read: every lookup Unknown.
    Levels() = default;

    // Reads levels/game.txt and the mission files of its locations, each from
    // `modFolder` when it is there, else from the data folder of `game` when given.
    // Files go through readFile, so none is larger than kMaxFileBytes.
    static Levels load(const fs::path &modFolder, const std::optional<fs::path> &game);

    // game.txt's bytes (nullopt: unreadable), and a mission file's bytes by its file
    // name (nullopt: unreadable or missing). Each mission file is asked for once.
    static Levels read(const std::optional<std::string> &gameTxt,
                       const std::function<std::optional<std::string>(std::string_view file)> &mission);
    static Levels read(const std::optional<std::string> &gameTxt, const LevelSources &sources);

    bool locationsKnown() const { return m_locationsKnown; }
    const std::vector<Location> &locations() const { return m_locations; }
    // The first location of that name, in any letter case.
    const Location *location(std::string_view name) const;

    // The animation `name` (any letter case; the first of that name) in the mission of
    // `location`: Unknown when game.txt or that mission could not be read, Missing when
    // read and it has no such animation, or the location is unknown or has no mission.
    AnimationFound animation(std::string_view location, std::string_view name) const;

    // The mission and map files of a location of locations(): null when it has none, or
    // they could not be read.
    const LevelFile *missionOf(std::size_t location) const { return fileOf(m_missionOf, location); }
    const LevelFile *mapOf(std::size_t location) const { return fileOf(m_mapOf, location); }
    // The locations whose levels run `script` (any letter case), and whether game.txt's
    // events do, on the world map.
    std::vector<std::size_t> locationsRunning(std::string_view script) const;
    bool eventsRun(std::string_view script) const;
    // Whether a level file of that name can be read (for SetMission).
    Lookup levelFile(std::string_view file) const;

    // sounds.txt's music events (nullopt: not known), and the files of gesture_demos.
    const std::optional<std::vector<std::string>> &musicEvents() const { return m_musicEvents; }
    Lookup gesture(std::string_view file) const;
    const std::vector<std::string> &gestures() const { return m_gestures.names; }

private:
    struct File
    {
        std::string name;
        LevelFile level;
    };
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    std::size_t fileIndex(const std::string &name, const LevelSources &sources);
    const LevelFile *fileOf(const std::vector<std::size_t> &of, std::size_t location) const
    {
        const std::size_t index = location < of.size() ? of[location] : kNone;
        return index != kNone && m_files[index].level.read ? &m_files[index].level : nullptr;
    }

    bool m_locationsKnown = false;
    std::vector<Location> m_locations;
    std::vector<std::size_t> m_missionOf; // for each location, its index in m_files
    std::vector<std::size_t> m_mapOf;
    std::vector<File> m_files; // one for each file, however many locations share it
    std::vector<std::string> m_eventScripts;
    FileNames m_levelFiles;
    std::optional<std::vector<std::string>> m_musicEvents;
    FileNames m_gestures;
};

} // namespace cw
