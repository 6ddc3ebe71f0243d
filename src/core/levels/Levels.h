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

    bool locationsKnown() const { return m_locationsKnown; }
    const std::vector<Location> &locations() const { return m_locations; }
    // The first location of that name, in any letter case.
    const Location *location(std::string_view name) const;

    // The animation `name` (any letter case; the first of that name) in the mission of
    // `location`: Unknown when game.txt or that mission could not be read, Missing when
    // read and it has no such animation, or the location is unknown or has no mission.
    AnimationFound animation(std::string_view location, std::string_view name) const;

private:
    struct Mission
    {
        std::string file;
        bool read = false;
        std::vector<CameraAnimation> animations;
    };
    static constexpr std::size_t kNoMission = static_cast<std::size_t>(-1);

    bool m_locationsKnown = false;
    std::vector<Location> m_locations;
    std::vector<std::size_t> m_missionOf; // for each location, its index in m_missions
    std::vector<Mission> m_missions;      // one for each file, however many locations share it
};

} // namespace cw
