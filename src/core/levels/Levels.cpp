#include "core/levels/Levels.h"

#include "core/io/FileNames.h"
#include "core/io/ModBoundary.h"
#include "core/text/Folding.h"
#include "core/text/GameText.h"
#include "core/text/LineReader.h"
#include "core/workspace/ModLayout.h"

#include <algorithm>
#include <unordered_set>

namespace cw {
namespace {

// The game keeps a mount's name in 64 bytes, its end included.
constexpr std::size_t kMountNameLength = 63;

std::string lowered(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    return lower;
}

bool isFile(const fs::path &path)
{
    std::error_code code;
    return fs::is_regular_file(path, code);
}

std::optional<std::string> bytesOf(Result<std::string, IoError> read)
{
    return read ? std::optional<std::string>(std::move(read).value()) : std::nullopt;
}

// levels/<file> of the mod, else of the game's data folder. A mod's file that exists
// but cannot be read is not replaced by the game's: the game would not take that one.
std::optional<std::string> readLevelFile(const fs::path &modFolder, const std::optional<fs::path> &game,
                                         std::string_view file)
{
    // A name from game.txt that is no plain name could lead out of the levels folder.
    if (plainFileNameProblem(file, NameRules::ThisSystem) != NameProblem::None)
        return std::nullopt;
    const fs::path own = findNoCase(findNoCase(modFolder, layout::kLevelsFolder), file);
    if (isFile(own))
        return bytesOf(readFile(own, ModBoundary(modFolder)));
    if (!game)
        return std::nullopt;
    const fs::path theirs =
        findNoCase(findNoCase(findNoCase(*game, layout::kGameDataFolder), layout::kLevelsFolder), file);
    if (!isFile(theirs))
        return std::nullopt;
    return bytesOf(readFile(theirs));
}

// Calls `line` with the words of each line that has any, in the file's order, until it
// returns false.
template<typename Visit> void forEachWordedLine(std::string_view bytes, Visit &&line)
{
    LineReader reader(bytes, LineEnds::Any);
    for (std::string_view text; reader.next(text);) {
        const std::vector<std::string_view> words = gameWords(text);
        if (!words.empty() && !line(words))
            return;
    }
}

} // namespace

std::vector<Location> readLocations(std::string_view gameTxt)
{
    std::vector<Location> locations;
    bool inside = false;
    forEachWordedLine(gameTxt, [&](const std::vector<std::string_view> &words) {
        if (!inside) {
            inside = equalNoCase(words[0], "Locations_StartDefinition");
            return true;
        }
        if (equalNoCase(words[0], "Locations_EndDefinition"))
            return false;
        if (words.size() < 4)
            return true;
        const std::string_view map = words[2];
        Location location;
        // "map_" before the name and ".txt" after it.
        if (map.size() > 8)
            location.name = std::string(map.substr(4, map.size() - 8));
        location.mapFile = std::string(map);
        if (!equalNoCase(words[3], "null"))
            location.missionFile = std::string(words[3]);
        locations.push_back(std::move(location));
        return true;
    });
    return locations;
}

std::vector<CameraAnimation> readCameraAnimations(std::string_view mission)
{
    enum class Section { None, Mounts, Animations };
    Section section = Section::None;
    std::unordered_set<std::string> mounts; // lowered, as the game matches them in any case
    std::vector<CameraAnimation> animations;
    bool inAnimation = false;
    forEachWordedLine(mission, [&](const std::vector<std::string_view> &words) {
        const std::string_view first = words[0];
        switch (section) {
        case Section::None:
            if (equalNoCase(first, "CameraMounts_StartDefinition"))
                section = Section::Mounts;
            else if (equalNoCase(first, "CameraAnimations_StartDefinition"))
                section = Section::Animations;
            break;
        case Section::Mounts:
            if (equalNoCase(first, "CameraMounts_EndDefinition"))
                section = Section::None;
            else
                mounts.insert(lowered(first.substr(0, kMountNameLength)));
            break;
        case Section::Animations:
            // An animation left without its End still ends with the section.
            if (equalNoCase(first, "CameraAnimations_EndDefinition")) {
                section = Section::None;
                inAnimation = false;
            } else if (!inAnimation) {
                animations.emplace_back().name = std::string(first);
                inAnimation = true;
            } else if (equalNoCase(first, "End")) {
                inAnimation = false;
            } else {
                // The node's mount is compared whole: one longer than a mount's kept name
                // matches none.
                CameraAnimation &animation = animations.back();
                const std::string_view mount = words.size() > 1 ? words[1] : std::string_view();
                const double seconds = words.size() > 2 ? readGameNumber(words[2], false).value : 0;
                ++animation.nodes;
                animation.seconds += seconds;
                if (!(seconds >= 0 && seconds < 60))
                    animation.badDuration = true;
                if (!equalNoCase(mount, "CamPosBefore") && !mounts.contains(lowered(mount)))
                    animation.undefinedMount = true;
            }
            break;
        }
        return true;
    });
    return animations;
}

Levels Levels::load(const fs::path &modFolder, const std::optional<fs::path> &game)
{
    return read(readLevelFile(modFolder, game, "game.txt"),
                [&](std::string_view file) { return readLevelFile(modFolder, game, file); });
}

Levels Levels::read(const std::optional<std::string> &gameTxt,
                    const std::function<std::optional<std::string>(std::string_view file)> &mission)
{
    Levels levels;
    if (!gameTxt)
        return levels;
    levels.m_locationsKnown = true;
    levels.m_locations = readLocations(*gameTxt);
    for (const Location &location : levels.m_locations) {
        if (location.missionFile.empty()) {
            levels.m_missionOf.push_back(kNoMission);
            continue;
        }
        // Windows, where the game runs, takes names in any letter case for one file.
        const auto same =
            std::find_if(levels.m_missions.begin(), levels.m_missions.end(),
                         [&](const Mission &m) { return equalNoCase(m.file, location.missionFile); });
        levels.m_missionOf.push_back(static_cast<std::size_t>(same - levels.m_missions.begin()));
        if (same != levels.m_missions.end())
            continue;
        Mission loaded;
        loaded.file = location.missionFile;
        if (const std::optional<std::string> bytes = mission(location.missionFile)) {
            loaded.read = true;
            loaded.animations = readCameraAnimations(*bytes);
        }
        levels.m_missions.push_back(std::move(loaded));
    }
    return levels;
}

const Location *Levels::location(std::string_view name) const
{
    const auto found = std::find_if(m_locations.begin(), m_locations.end(),
                                    [&](const Location &l) { return equalNoCase(l.name, name); });
    return found == m_locations.end() ? nullptr : &*found;
}

AnimationFound Levels::animation(std::string_view location, std::string_view name) const
{
    if (!m_locationsKnown)
        return {};
    const Location *place = this->location(location);
    if (!place)
        return {Lookup::Missing, nullptr};
    const std::size_t index = m_missionOf[static_cast<std::size_t>(place - m_locations.data())];
    if (index == kNoMission)
        return {Lookup::Missing, nullptr};
    const Mission &mission = m_missions[index];
    if (!mission.read)
        return {};
    for (const CameraAnimation &animation : mission.animations)
        if (equalNoCase(animation.name, name))
            return {Lookup::Found, &animation};
    return {Lookup::Missing, nullptr};
}

} // namespace cw
