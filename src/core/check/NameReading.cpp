#include "core/check/CheckRules.h"

#include "core/levels/Levels.h"
#include "core/levels/ScriptPlaces.h"
#include "core/strings/GameStrings.h"
#include "core/text/GameText.h"

#include <algorithm>

// The names a script takes from the levels, checked as the game looks them up. A name
// is reported only when every location the line may run in lacks it, and never where
// a file could not be read: there nobody knows.
namespace cw::check::detail {
namespace {

bool contains(const std::vector<std::string_view> &names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [name](std::string_view n) { return equalNoCase(n, name); });
}

std::vector<std::string_view> viewsOf(const std::vector<std::string> &names)
{
    return {names.begin(), names.end()};
}

} // namespace

struct NameReading::State
{
    State(const GameStrings &strings_, const ScriptContext &context)
        : strings(strings_), levels(context.levels), places(context.levels, context.script),
          locations(places.locations())
    {
    }

    // "garden's mission_garden.txt" for one location, or how many may run the line.
    std::string placeOf(bool mission, bool map) const
    {
        if (locations.size() != 1)
            return "any of the " + std::to_string(locations.size()) + " locations that may run this line";
        const Location &l = levels->locations()[locations.front()];
        std::string files;
        if (mission && !l.missionFile.empty())
            files = shown(l.missionFile);
        if (map)
            files += (files.empty() ? "" : " and ") + shown(l.mapFile);
        return shown(l.name) + "'s " + (files.empty() ? std::string("levels") : files);
    }

    // The names each location offers, or nullopt when one of them cannot be read, so
    // that nobody knows; a location without a mission offers no mission names.
    template<typename Names>
    std::optional<std::vector<std::string_view>> missionNames(Names &&names, bool withMap = false) const
    {
        std::vector<std::string_view> all;
        for (std::size_t i : locations) {
            const Location &l = levels->locations()[i];
            const LevelFile *mission = levels->missionOf(i);
            if (!l.missionFile.empty() && !mission)
                return std::nullopt;
            if (mission)
                names(*mission, all);
            if (withMap) {
                const LevelFile *map = levels->mapOf(i);
                if (!map)
                    return std::nullopt;
                names(*map, all);
            }
        }
        return all;
    }

    void mount(std::string_view command, std::string_view name, const LineReport &report) const;
    void animation(std::string_view name, const LineReport &report) const;
    void building(std::string_view command, std::string_view id, const LineReport &report) const;
    void rocketState(std::string_view state, const LineReport &report) const;
    void enter(std::string_view name, const LineReport &report);
    void setMission(const std::vector<std::string_view> &words, const LineReport &report) const;
    void focus(std::string_view name, const LineReport &report) const;
    void sound(std::string_view name, const LineReport &report) const;
    void gesture(std::string_view name, const LineReport &report) const;
    void research(std::string_view name, const LineReport &report) const;
    bool knownLocation(std::string_view name, std::string_view command, Severity severity,
                       std::string_view then, const LineReport &report) const;

    const GameStrings &strings;
    const Levels *levels;
    ScriptPlaces places;
    const std::vector<std::size_t> &locations; // where the line runs, when in locations
};

void NameReading::State::mount(std::string_view command, std::string_view name,
                               const LineReport &report) const
{
    if (equalNoCase(name, "CamPosBefore"))
        return;
    const auto mounts = missionNames([](const LevelFile &f, std::vector<std::string_view> &all) {
        all.insert(all.end(), f.mounts.begin(), f.mounts.end());
    });
    // The game keeps 63 characters of a mount's name and compares the word whole.
    if (!mounts || contains(*mounts, name))
        return;
    const bool cut = equalNoCase(command, "CamCut");
    report.add(Severity::Warning, "unknown-mount",
               "no camera mount " + quoted(name) + " in " + placeOf(true, false) + ": " + shown(command) +
                   (cut ? " cuts back to the camera's last target" : " does nothing") +
                   didYouMean(nearestNames(name, *mounts)));
}

void NameReading::State::animation(std::string_view name, const LineReport &report) const
{
    std::vector<const CameraAnimation *> found;
    const auto names = missionNames([&](const LevelFile &f, std::vector<std::string_view> &all) {
        for (const CameraAnimation &a : f.animations) {
            all.push_back(a.name);
            if (equalNoCase(a.name, name))
                found.push_back(&a);
        }
    });
    if (!names)
        return;
    if (found.empty()) {
        report.add(Severity::Error, "unknown-animation",
                   "no camera animation " + quoted(name) + " in " + placeOf(true, false) +
                       ": the game stops with an error (\"Invalid camera animation requested\")" +
                       didYouMean(nearestNames(name, *names)));
        return;
    }
    // The first of a name is the one played; the game stops only when each may be it.
    if (std::all_of(found.begin(), found.end(),
                    [](const CameraAnimation *a) { return a->badDuration || a->undefinedMount; })) {
        const CameraAnimation &a = *found.front();
        report.add(Severity::Error, "animation-stops",
                   "the camera animation " + quoted(name) + " in " + placeOf(true, false) +
                       (a.undefinedMount ? " moves to a mount not defined above it"
                                         : " has a node that lasts less than 0 or 60 seconds or more") +
                       ": the game stops with an error when it plays it");
    }
}

void NameReading::State::building(std::string_view command, std::string_view id,
                                  const LineReport &report) const
{
    const long long wanted = static_cast<long long>(readGameNumber(id, true).value);
    bool any = false;
    const auto ids = missionNames(
        [&](const LevelFile &f, std::vector<std::string_view> &) {
            for (const Building &b : f.buildings) {
                any = any || b.id == wanted;
            }
        },
        true);
    if (!ids || any)
        return;
    const bool rocket = equalNoCase(command, "WaitRocket");
    report.add(Severity::Warning, "unknown-building",
               "no building " + std::to_string(wanted) + " in " + placeOf(true, true) + ": " +
                   shown(command) + (rocket ? " does not wait" : " does nothing"));
}

void NameReading::State::rocketState(std::string_view state, const LineReport &report) const
{
    const auto &states = rocketStates();
    if (contains(states, state))
        return;
    report.add(Severity::Warning, "unknown-rocket-state",
               quoted(state) +
                   " is no state of a rocket (Refueling, Loading, Ignition, Ready, Countdown, "
                   "Exploding, Flight): WaitRocket does not wait" +
                   didYouMean(nearestNames(state, states)));
}

bool NameReading::State::knownLocation(std::string_view name, std::string_view command, Severity severity,
                                       std::string_view then, const LineReport &report) const
{
    if (!levels || !levels->locationsKnown() || levels->location(name))
        return true;
    std::vector<std::string_view> names;
    for (const Location &l : levels->locations())
        names.push_back(l.name);
    report.add(severity, "unknown-location",
               shown(command) + " of " + quoted(name) + ", a location game.txt does not list: " +
                   std::string(then) + didYouMean(nearestNames(name, names)));
    return false;
}

void NameReading::State::enter(std::string_view name, const LineReport &report)
{
    if (!knownLocation(name, "EnterLocation", Severity::Error, "the game crashes here", report) ||
        !places.inLocations())
        return;
    const std::size_t index = locations.front();
    for (const LevelFile *file : {levels->missionOf(index), levels->mapOf(index)}) {
        if (file && !file->repeatedIds.empty()) {
            report.add(Severity::Error, "repeated-building",
                       "building " + std::to_string(file->repeatedIds.front()) + " is defined twice in " +
                           placeOf(file == levels->missionOf(index), file == levels->mapOf(index)) +
                           ": the game stops with an error when it loads the location");
            break;
        }
    }
}

void NameReading::State::setMission(const std::vector<std::string_view> &words,
                                    const LineReport &report) const
{
    if (words.size() < 3 ||
        !knownLocation(words[1], "SetMission", Severity::Error, "the game crashes here", report))
        return;
    if (levels && levels->levelFile(words[2]) == Lookup::Missing) {
        report.add(Severity::Error, "missing-mission",
                   "SetMission names " + quoted(words[2]) +
                       ", a file in neither the mod's levels folder nor the game's: the game stops with an "
                       "error when it enters " +
                       shown(words[1]));
    }
}

void NameReading::State::focus(std::string_view name, const LineReport &report) const
{
    if (!equalNoCase(name, "heaven"))
        knownLocation(name, "CamLocationFocus", Severity::Warning, "the camera does not move", report);
}

void NameReading::State::sound(std::string_view name, const LineReport &report) const
{
    if (!levels || !levels->musicEvents())
        return;
    const auto events = viewsOf(*levels->musicEvents());
    if (contains(events, name))
        return;
    report.add(Severity::Warning, "unknown-music",
               "no music event " + quoted(name) + " in sounds.txt: TriggerSound plays nothing" +
                   didYouMean(nearestNames(name, events)));
}

void NameReading::State::gesture(std::string_view name, const LineReport &report) const
{
    if (!levels || levels->gesture(name) != Lookup::Missing)
        return;
    const std::string what = "no gesture file " + quoted(name) + " in gesture_demos, the mod's or the game's";
    const auto names = viewsOf(levels->gestures());
    if (strings.preferences().controlMethod == 1) {
        report.add(Severity::Note, "missing-gesture",
                   what +
                       ": with ControlMethod 1, as here, the game shows no gesture; with any other it stops "
                       "with an error" +
                       didYouMean(nearestNames(name, names)));
    } else {
        report.add(Severity::Error, "missing-gesture",
                   what + ": the game stops with an error" + didYouMean(nearestNames(name, names)));
    }
}

void NameReading::State::research(std::string_view name, const LineReport &report) const
{
    const auto &types = researchTypes();
    if (contains(types, name))
        return;
    report.add(Severity::Warning, "unknown-research",
               quoted(name) + " is no research the game knows: GiveResearch grants nothing" +
                   didYouMean(nearestNames(name, types)));
}

NameReading::NameReading(const GameStrings &strings, const ScriptContext &context)
    : m_state(std::make_unique<State>(strings, context))
{
}

NameReading::~NameReading() = default;

void NameReading::check(const std::vector<std::string_view> &words, const LineReport &report)
{
    State &s = *m_state;
    const std::string_view command = words.front();
    if (words.size() < 2) {
        s.places.pass(words);
        return;
    }
    const std::string_view first = words[1];
    // The commands that name what the grid offers are the ones checked here.
    const bool inLocations = s.places.inLocations();
    switch (nameKindOf(command, 0)) {
    case NameKind::Location:
        if (equalNoCase(command, "EnterLocation")) {
            // Checked against game.txt, then the location's own levels once it is there.
            s.places.pass(words);
            s.enter(first, report);
            return;
        }
        if (equalNoCase(command, "SetMission"))
            s.setMission(words, report);
        else
            s.focus(first, report);
        break;
    case NameKind::Music:
        s.sound(first, report);
        break;
    case NameKind::Gesture:
        s.gesture(first, report);
        break;
    case NameKind::Research:
        s.research(first, report);
        break;
    // On the world map the commands below do nothing, or crash: rules of their own.
    case NameKind::Mount:
        if (inLocations)
            s.mount(command, first, report);
        break;
    case NameKind::Animation:
        if (inLocations)
            s.animation(first, report);
        break;
    case NameKind::Building:
        if (inLocations) {
            s.building(command, first, report);
            if (words.size() > 2 && nameKindOf(command, 1) == NameKind::RocketState)
                s.rocketState(words[2], report);
        }
        break;
    case NameKind::None:
    case NameKind::RocketState:
        break;
    }
    s.places.pass(words);
}

} // namespace cw::check::detail
