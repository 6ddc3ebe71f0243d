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
std::optional<std::string> levelFileBytes(const fs::path &modFolder, const std::optional<fs::path> &game,
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

namespace {

bool endsWithTxt(std::string_view word)
{
    return word.size() > 4 && equalNoCase(word.substr(word.size() - 4), ".txt");
}

bool runsScripts(std::string_view buildingType)
{
    return equalNoCase(buildingType, "ScriptTrigger") || equalNoCase(buildingType, "FenceSwitch");
}

} // namespace

namespace {

// One pass over a map or mission file, a line of a section at a time.
class LevelFileReader
{
public:
    LevelFileReader() { m_file.read = true; }

    void mount(std::string_view first)
    {
        const std::string_view name = first.substr(0, kMountNameLength);
        if (m_mounts.insert(lowered(name)).second)
            m_file.mounts.emplace_back(name);
    }

    void animationLine(const std::vector<std::string_view> &words)
    {
        const std::string_view first = words[0];
        if (!m_inAnimation) {
            m_file.animations.emplace_back().name = std::string(first);
            m_inAnimation = true;
            return;
        }
        if (equalNoCase(first, "End")) {
            m_inAnimation = false;
            return;
        }
        // The node's mount is compared whole: one longer than a mount's kept name
        // matches none.
        CameraAnimation &animation = m_file.animations.back();
        const std::string_view mount = words.size() > 1 ? words[1] : std::string_view();
        const double seconds = words.size() > 2 ? readGameNumber(words[2], false).value : 0;
        ++animation.nodes;
        animation.seconds += seconds;
        if (!(seconds >= 0 && seconds < 60))
            animation.badDuration = true;
        if (!equalNoCase(mount, "CamPosBefore") && !m_mounts.contains(lowered(mount)))
            animation.undefinedMount = true;
    }

    void building(const std::vector<std::string_view> &words)
    {
        if (words.size() < 2)
            return;
        const auto id = static_cast<long long>(readGameNumber(words[1], true).value);
        if (!m_ids.insert(id).second)
            m_file.repeatedIds.push_back(id);
        m_file.buildings.push_back({id, std::string(words[0])});
        if (runsScripts(words[0]))
            scriptsOf(words, 2);
    }

    void scriptsOf(const std::vector<std::string_view> &words, std::size_t from)
    {
        for (std::size_t i = from; i < words.size(); ++i)
            if (endsWithTxt(words[i]))
                m_file.scripts.emplace_back(words[i]);
    }

    // An animation left without its End still ends with its section.
    void endSection() { m_inAnimation = false; }
    LevelFile take() { return std::move(m_file); }

private:
    LevelFile m_file;
    std::unordered_set<std::string> m_mounts; // lowered, as the game matches them in any case
    std::unordered_set<long long> m_ids;
    bool m_inAnimation = false;
};

} // namespace

LevelFile readLevelFile(std::string_view bytes)
{
    enum class Section { Mounts, Animations, Buildings, Objectives };
    struct Start
    {
        std::string_view start;
        std::string_view end;
        Section section;
    };
    static constexpr Start kSections[] = {
        {"CameraMounts_StartDefinition", "CameraMounts_EndDefinition", Section::Mounts},
        {"CameraAnimations_StartDefinition", "CameraAnimations_EndDefinition", Section::Animations},
        {"Buildings_StartDefinition", "Buildings_EndDefinition", Section::Buildings},
        {"PrimaryObjectives_StartDefinition", "PrimaryObjectives_EndDefinition", Section::Objectives},
    };
    LevelFileReader reader;
    const Start *section = nullptr;
    forEachWordedLine(bytes, [&](const std::vector<std::string_view> &words) {
        if (!section) {
            for (const Start &s : kSections) {
                if (equalNoCase(words[0], s.start))
                    section = &s;
            }
        } else if (equalNoCase(words[0], section->end)) {
            section = nullptr;
            reader.endSection();
        } else if (section->section == Section::Mounts) {
            reader.mount(words[0]);
        } else if (section->section == Section::Animations) {
            reader.animationLine(words);
        } else if (section->section == Section::Buildings) {
            reader.building(words);
        } else {
            reader.scriptsOf(words, 0);
        }
        return true;
    });
    return reader.take();
}

std::vector<CameraAnimation> readCameraAnimations(std::string_view mission)
{
    return readLevelFile(mission).animations;
}

std::vector<std::string> readMusicEvents(std::string_view soundsTxt)
{
    std::vector<std::string> events;
    bool music = false;
    int depth = 0; // inside an EVENT's block
    forEachWordedLine(soundsTxt, [&](const std::vector<std::string_view> &words) {
        const std::string_view first = words[0];
        if (depth > 0) {
            if (equalNoCase(first, "END"))
                --depth;
            else if (equalNoCase(first, "EVENT"))
                ++depth;
            return true;
        }
        if (equalNoCase(first, "EVENT")) {
            if (music && words.size() > 1)
                events.emplace_back(words[1]);
            ++depth;
        } else if (!equalNoCase(first, "END")) {
            // A new object's sounds: Music's events end here.
            music = words.size() > 1 && equalNoCase(first, "OTHER") && equalNoCase(words[1], "Music");
        }
        return true;
    });
    return events;
}

std::vector<std::string> readEventScripts(std::string_view gameTxt)
{
    std::vector<std::string> scripts;
    bool inLocations = false;
    forEachWordedLine(gameTxt, [&](const std::vector<std::string_view> &words) {
        if (inLocations) {
            inLocations = !equalNoCase(words[0], "Locations_EndDefinition");
            return true;
        }
        if (equalNoCase(words[0], "Locations_StartDefinition")) {
            inLocations = true;
            return true;
        }
        for (std::size_t i = 0; i + 1 < words.size(); ++i)
            if (equalNoCase(words[i], "RunScript"))
                scripts.emplace_back(words[i + 1]);
        return true;
    });
    return scripts;
}

namespace {

// The names of the visible files of a folder, when it can be listed.
std::optional<std::vector<std::string>> filesOf(const fs::path &folder)
{
    auto listed = listFolder(folder, EntryKind::Files);
    return listed ? std::optional<std::vector<std::string>>(std::move(listed).value()) : std::nullopt;
}

// The names in the mod's folder and the game's; complete when the game's could be
// listed (a mod without the folder has none of its own).
FileNames filesOfBoth(const fs::path &modFolder, const std::optional<fs::path> &game, std::string_view folder)
{
    FileNames files;
    files.names = filesOf(findNoCase(modFolder, folder)).value_or(std::vector<std::string>{});
    const auto theirs =
        game ? filesOf(findNoCase(findNoCase(*game, layout::kGameDataFolder), folder)) : std::nullopt;
    files.complete = theirs.has_value();
    if (theirs)
        files.names.insert(files.names.end(), theirs->begin(), theirs->end());
    return files;
}

// The mod's <file> (directly in its folder), else the game's data/<file>.
std::optional<std::string> readModOrGameFile(const fs::path &modFolder, const std::optional<fs::path> &game,
                                             std::string_view file)
{
    const fs::path own = findNoCase(modFolder, file);
    if (isFile(own))
        return bytesOf(readFile(own, ModBoundary(modFolder)));
    if (!game)
        return std::nullopt;
    const fs::path theirs = findNoCase(findNoCase(*game, layout::kGameDataFolder), file);
    return isFile(theirs) ? bytesOf(readFile(theirs)) : std::nullopt;
}

} // namespace

Levels Levels::load(const fs::path &modFolder, const std::optional<fs::path> &game)
{
    LevelSources sources;
    sources.levelFile = [&](std::string_view file) {
        return levelFileBytes(modFolder, game, file);
    };
    sources.soundsTxt = readModOrGameFile(modFolder, game, "sounds.txt");
    sources.gestures = filesOfBoth(modFolder, game, "gesture_demos");
    sources.levelFiles = filesOfBoth(modFolder, game, layout::kLevelsFolder);
    return read(levelFileBytes(modFolder, game, "game.txt"), sources);
}

Levels Levels::read(const std::optional<std::string> &gameTxt,
                    const std::function<std::optional<std::string>(std::string_view file)> &mission)
{
    LevelSources sources;
    sources.levelFile = mission;
    return read(gameTxt, sources);
}

std::size_t Levels::fileIndex(const std::string &name, const LevelSources &sources)
{
    if (name.empty())
        return kNone;
    // Windows, where the game runs, takes names in any letter case for one file.
    const auto same = std::find_if(m_files.begin(), m_files.end(),
                                   [&](const File &f) { return equalNoCase(f.name, name); });
    if (same != m_files.end())
        return static_cast<std::size_t>(same - m_files.begin());
    File loaded{name, {}};
    if (sources.levelFile) {
        if (const std::optional<std::string> bytes = sources.levelFile(name))
            loaded.level = readLevelFile(*bytes);
    }
    m_files.push_back(std::move(loaded));
    return m_files.size() - 1;
}

Levels Levels::read(const std::optional<std::string> &gameTxt, const LevelSources &sources)
{
    Levels levels;
    if (sources.soundsTxt)
        levels.m_musicEvents = readMusicEvents(*sources.soundsTxt);
    levels.m_gestures = sources.gestures;
    levels.m_levelFiles = sources.levelFiles;
    if (!gameTxt)
        return levels;
    levels.m_locationsKnown = true;
    levels.m_locations = readLocations(*gameTxt);
    levels.m_eventScripts = readEventScripts(*gameTxt);
    for (const Location &location : levels.m_locations) {
        levels.m_missionOf.push_back(levels.fileIndex(location.missionFile, sources));
        levels.m_mapOf.push_back(levels.fileIndex(location.mapFile, sources));
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
    if (index == kNone)
        return {Lookup::Missing, nullptr};
    const LevelFile &mission = m_files[index].level;
    if (!mission.read)
        return {};
    for (const CameraAnimation &animation : mission.animations)
        if (equalNoCase(animation.name, name))
            return {Lookup::Found, &animation};
    return {Lookup::Missing, nullptr};
}

std::vector<std::size_t> Levels::locationsRunning(std::string_view script) const
{
    std::vector<std::size_t> running;
    for (std::size_t i = 0; i < m_locations.size(); ++i) {
        for (const LevelFile *file : {missionOf(i), mapOf(i)}) {
            if (file && std::any_of(file->scripts.begin(), file->scripts.end(),
                                    [&](const std::string &s) { return equalNoCase(s, script); })) {
                running.push_back(i);
                break;
            }
        }
    }
    return running;
}

bool Levels::eventsRun(std::string_view script) const
{
    return std::any_of(m_eventScripts.begin(), m_eventScripts.end(),
                       [&](const std::string &s) { return equalNoCase(s, script); });
}

namespace {

Lookup lookIn(const FileNames &files, std::string_view name)
{
    if (std::any_of(files.names.begin(), files.names.end(),
                    [&](const std::string &n) { return equalNoCase(n, name); }))
        return Lookup::Found;
    return files.complete ? Lookup::Missing : Lookup::Unknown;
}

} // namespace

Lookup Levels::levelFile(std::string_view file) const
{
    return lookIn(m_levelFiles, file);
}

Lookup Levels::gesture(std::string_view file) const
{
    return lookIn(m_gestures, file);
}

} // namespace cw
