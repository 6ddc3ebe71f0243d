#include "core/levels/ScriptPlaces.h"

#include "core/levels/Levels.h"
#include "core/text/Folding.h"

#include <algorithm>
#include <initializer_list>

namespace cw {
namespace {

bool isAny(std::string_view word, std::initializer_list<std::string_view> names)
{
    return std::any_of(names.begin(), names.end(),
                       [word](std::string_view n) { return equalNoCase(word, n); });
}

// Each name once, in the first spelling met, for the places' files.
void addName(std::vector<OfferedName> &names, std::string_view name, std::string what = {})
{
    if (std::none_of(names.begin(), names.end(),
                     [&](const OfferedName &n) { return equalNoCase(n.name, name); }))
        names.push_back({std::string(name), std::move(what)});
}

} // namespace

const std::vector<std::string_view> &researchTypes()
{
    static const std::vector<std::string_view> types = {
        "Darwinian", "Officer", "Squad",       "Laser",    "Grenade",   "Rocket",        "Controller",
        "AirStrike", "Armour",  "TaskManager", "Engineer", "modsystem", "accessallareas"};
    return types;
}

const std::vector<std::string_view> &rocketStates()
{
    static const std::vector<std::string_view> states = {"Refueling", "Loading",   "Ignition", "Ready",
                                                         "Countdown", "Exploding", "Flight"};
    return states;
}

ScriptPlaces::ScriptPlaces(const Levels *levels, std::string_view script) : m_levels(levels)
{
    if (!levels || !levels->locationsKnown())
        return;
    m_locations = levels->locationsRunning(script);
    if (!m_locations.empty()) {
        m_where = Where::Locations;
    } else if (levels->eventsRun(script)) {
        m_where = Where::WorldMap;
    } else {
        for (std::size_t i = 0; i < levels->locations().size(); ++i)
            m_locations.push_back(i);
        m_where = Where::Locations;
    }
}

void ScriptPlaces::pass(const std::vector<std::string_view> &words)
{
    if (words.empty())
        return;
    const std::string_view command = words.front();
    if (equalNoCase(command, "ExitLocation")) {
        m_exiting = m_where != Where::WorldMap;
    } else if (equalNoCase(command, "WaitFade")) {
        if (m_exiting)
            m_where = Where::WorldMap;
        m_exiting = false;
    } else if (equalNoCase(command, "EnterLocation") && words.size() > 1) {
        m_exiting = false;
        if (!m_levels || !m_levels->locationsKnown())
            return;
        const Location *location = m_levels->location(words[1]);
        if (!location) {
            m_where = Where::Unknown;
            return;
        }
        m_where = Where::Locations;
        m_locations.assign(1, static_cast<std::size_t>(location - m_levels->locations().data()));
    }
}

NameKind nameKindOf(std::string_view command, int argument)
{
    if (argument == 0) {
        if (isAny(command, {"CamMove", "CamCut"}))
            return NameKind::Mount;
        if (equalNoCase(command, "CamAnim"))
            return NameKind::Animation;
        if (isAny(command, {"CamBuildingFocus", "CamBuildingApproach", "Highlight", "DestroyBuilding",
                            "ActivateTrunkPort", "ActivateTrunkPortFull", "WaitRocket"}))
            return NameKind::Building;
        if (isAny(command, {"EnterLocation", "SetMission", "CamLocationFocus"}))
            return NameKind::Location;
        if (equalNoCase(command, "TriggerSound"))
            return NameKind::Music;
        if (equalNoCase(command, "DemoGesture"))
            return NameKind::Gesture;
        if (equalNoCase(command, "GiveResearch"))
            return NameKind::Research;
    }
    if (argument == 1 && equalNoCase(command, "WaitRocket"))
        return NameKind::RocketState;
    return NameKind::None;
}

std::vector<OfferedName> offeredNames(const ScriptPlaces &places, NameKind kind)
{
    std::vector<OfferedName> names;
    const Levels *levels = places.levels();
    if (kind == NameKind::Research) {
        for (std::string_view name : researchTypes())
            addName(names, name);
    } else if (kind == NameKind::RocketState) {
        for (std::string_view name : rocketStates())
            addName(names, name);
    } else if (!levels) {
        return names;
    } else if (kind == NameKind::Location) {
        for (const Location &l : levels->locations())
            addName(names, l.name);
    } else if (kind == NameKind::Music) {
        for (const std::string &name : levels->musicEvents().value_or(std::vector<std::string>{}))
            addName(names, name);
    } else if (kind == NameKind::Gesture) {
        for (const std::string &name : levels->gestures())
            addName(names, name);
    } else if (places.inLocations()) {
        for (std::size_t i : places.locations()) {
            for (const LevelFile *file : {levels->missionOf(i), levels->mapOf(i)}) {
                if (!file)
                    continue;
                if (kind == NameKind::Mount && file == levels->missionOf(i)) {
                    for (const std::string &m : file->mounts)
                        addName(names, m);
                } else if (kind == NameKind::Animation && file == levels->missionOf(i)) {
                    for (const CameraAnimation &a : file->animations)
                        addName(names, a.name);
                } else if (kind == NameKind::Building) {
                    for (const Building &b : file->buildings)
                        addName(names, std::to_string(b.id), b.type);
                }
            }
        }
    }
    return names;
}

} // namespace cw
