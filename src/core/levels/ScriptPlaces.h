#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class Levels;

// Where the lines of a script run, as far as the levels tell, line after line: first
// the locations whose levels run the script (its triggers, fence switches and
// objectives), the world map when only game.txt's events run it, every location when
// nothing does; then one location after EnterLocation, the world map after
// ExitLocation and its WaitFade. Not known without levels, or after entering a location
// no game.txt lists.
class ScriptPlaces
{
public:
    enum class Where { Locations, WorldMap, Unknown };

    ScriptPlaces(const Levels *levels, std::string_view script);

    // After the line of `words` (its command first; none for a line without words).
    void pass(const std::vector<std::string_view> &words);

    Where where() const { return m_where; }
    // The locations the next line may run in (indexes of Levels::locations()), when
    // where() is Locations.
    const std::vector<std::size_t> &locations() const { return m_locations; }
    bool inLocations() const { return m_where == Where::Locations && !m_locations.empty(); }
    const Levels *levels() const { return m_levels; }

private:
    const Levels *m_levels;
    Where m_where = Where::Unknown;
    std::vector<std::size_t> m_locations;
    bool m_exiting = false; // after ExitLocation, until its WaitFade
};

// What kind of name argument `argument` (0-based, after the command) of a command is,
// and the names the levels offer for it where the line runs (each with what it is, for
// people: a building's type), for typing it.
enum class NameKind { None, Mount, Animation, Building, Location, Music, Gesture, Research, RocketState };
NameKind nameKindOf(std::string_view command, int argument);

// What GiveResearch grants (anything else it ignores), and the states WaitRocket knows.
const std::vector<std::string_view> &researchTypes();
const std::vector<std::string_view> &rocketStates();

struct OfferedName
{
    std::string name;
    std::string what; // "Incubator" for building 4; empty for the rest
};
std::vector<OfferedName> offeredNames(const ScriptPlaces &places, NameKind kind);

} // namespace cw
