#include "core/check/CheckRules.h"

#include "core/catalogue/Catalogue.h"
#include "core/strings/GameStrings.h"
#include "core/text/GameText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <unordered_map>

// How the game reads scripts: its line ends, its command names, its arguments and
// numbers, its strings keys, where a script stands after ExitLocation, and the table
// of what commands.txt cannot say.
namespace cw::check {
namespace detail {
namespace {

// The table cells all suggestions of one file may cost. A file of distinct unknown
// words reaches it after hundreds of thousands of them; later ones get no suggestion.
constexpr std::size_t kSuggestionBudget = std::size_t{60} * 1000 * 1000;

// The characters a name holds, one bit each (folded to 64): a character of one word
// that the other lacks takes at least one edit, so the bits one has and the other
// lacks bound the distance from below.
std::uint64_t letterBits(std::string_view word)
{
    std::uint64_t bits = 0;
    for (char c : word)
        bits |= std::uint64_t{1} << (static_cast<unsigned char>(lowerAscii(c)) % 64);
    return bits;
}

// The catalogue's command names nearest to a word, for the message about an unknown
// command: at most three, best first, within a third of the name's length (at least
// 2). A word seen before costs nothing again.
class NearNames
{
public:
    explicit NearNames(const Catalogue &catalogue)
    {
        for (int i = 0; i < catalogue.entryCount(); ++i) {
            const std::string &name = catalogue.entry(i).name;
            if (!name.empty() && name != "#" && name.size() <= kLongestCompared)
                m_names.push_back(Name{name, letterBits(name)});
        }
    }

    const std::vector<std::string_view> &of(std::string_view word)
    {
        static const std::vector<std::string_view> none;
        if (word.size() > kLongestCompared)
            return none;
        auto seen = m_seen.find(std::string(word));
        if (seen != m_seen.end())
            return seen->second;
        std::vector<std::pair<std::size_t, std::string_view>> scored;
        if (m_cost < kSuggestionBudget) {
            const std::uint64_t bits = letterBits(word);
            for (const Name &name : m_names) {
                const std::size_t allowed = std::max<std::size_t>(2, name.text.size() / 3);
                const std::size_t apart =
                    std::max(word.size(), name.text.size()) - std::min(word.size(), name.text.size());
                const auto missing = static_cast<std::size_t>(
                    std::max(std::popcount(bits & ~name.bits), std::popcount(name.bits & ~bits)));
                if (apart > allowed || missing > allowed)
                    continue;
                const std::size_t distance = boundedDistance(word, name.text, allowed, m_cost);
                if (distance <= allowed)
                    scored.emplace_back(distance, name.text);
            }
        }
        std::stable_sort(scored.begin(), scored.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        std::vector<std::string_view> names;
        for (std::size_t i = 0; i < scored.size() && i < 3; ++i)
            names.push_back(scored[i].second);
        // Bounded, so that a file of distinct words does not keep them all.
        if (m_seen.size() >= 4096)
            m_seen.clear();
        return m_seen.emplace(std::string(word), std::move(names)).first->second;
    }

private:
    struct Name
    {
        std::string_view text;
        std::uint64_t bits;
    };
    std::vector<Name> m_names;
    std::unordered_map<std::string, std::vector<std::string_view>> m_seen;
    std::size_t m_cost = 0;
};

bool listed(const std::vector<std::string_view> &names, std::string_view name)
{
    return std::any_of(names.begin(), names.end(),
                       [name](std::string_view n) { return equalNoCase(n, name); });
}

template<class Rule> const Rule *ruleFor(const std::vector<Rule> &rules, std::string_view name)
{
    const auto it = std::find_if(rules.begin(), rules.end(),
                                 [name](const Rule &rule) { return equalNoCase(rule.command, name); });
    return it == rules.end() ? nullptr : &*it;
}

// What the game's facts say of one command of the catalogue, looked up once per file.
struct CommandFacts
{
    explicit CommandFacts(const CommandDefinition &command)
    {
        const GameCommandRules &rules = gameCommandRules();
        const std::string_view name = command.name;
        if (const auto *rule = ruleFor(rules.dangerous, name))
            dangerous = rule->why;
        if (const auto *rule = ruleFor(rules.readsZero, name))
            readsZero = rule->then;
        required = command.argumentCount;
        if (const auto *rule = ruleFor(rules.optional, name))
            required = std::min(required, rule->firstOptional);
        if (const auto *rule = ruleFor(rules.glides, name))
            glide = rule->argument;
        camera = listed(rules.camera, name);
        worldMapOnly = listed(rules.worldMapOnly, name);
        crashOnWorldMap = listed(rules.crashOnWorldMap, name);
        nothingOnWorldMap = listed(rules.nothingOnWorldMap, name);
        wait = equalNoCase(name, rules.wait);
        waitCam = equalNoCase(name, rules.waitCam);
        exitLocation = equalNoCase(name, rules.exitLocation);
        waitFade = equalNoCase(name, rules.waitFade);
        enterLocation = equalNoCase(name, rules.enterLocation);
    }

    std::string_view dangerous;
    std::string_view readsZero;
    int required = 0;
    int glide = -1;
    bool camera = false;
    bool worldMapOnly = false;
    bool crashOnWorldMap = false;
    bool nothingOnWorldMap = false;
    bool wait = false;
    bool waitCam = false;
    bool exitLocation = false;
    bool waitFade = false;
    bool enterLocation = false;
};

// No one plays a cutscene for an hour; times far beyond it (1e30) are typing slips.
void hourLong(double seconds, const CommandDefinition &command, std::string_view then,
              const LineReport &report)
{
    constexpr double kHour = 3600;
    if (seconds > kHour) {
        report.add(Severity::Warning, "hour-long-wait",
                   shown(command.name) + " for " + formatNumber(seconds) +
                       " seconds is more than an hour: " + std::string(then));
    }
}

std::string plural(int count, const char *one)
{
    return std::to_string(count) + " " + one + (count == 1 ? "" : "s");
}

} // namespace

// Where the script stands as far as the rules around ExitLocation can tell: after it
// the location fades out for a second while the next lines still run inside it; after
// the WaitFade that follows, the world map is shown until an EnterLocation.
enum class Place { Unknown, FadingOut, WorldMap };

struct GameReading::State
{
    State(const Catalogue &catalogue_, const GameStrings &strings_, CaptionModes &captionModes_)
        : catalogue(catalogue_), strings(strings_), captionModes(captionModes_), near(catalogue_)
    {
        commands.reserve(static_cast<std::size_t>(catalogue.entryCount()));
        for (int i = 0; i < catalogue.entryCount(); ++i) {
            const std::string &name = catalogue.entry(i).name;
            commands.emplace_back(catalogue.entry(i));
            // Entry names that are empty or "#" name no command.
            if (!name.empty() && name != "#")
                names[noCaseHash(name)].emplace_back(name, i);
        }
    }

    // The catalogue entry a word names, as the game matches names (without regard to
    // case), or -1; the first of the catalogue when two names match.
    int commandOf(std::string_view word) const
    {
        const auto bucket = names.find(noCaseHash(word));
        if (bucket == names.end())
            return -1;
        for (const auto &[name, entry] : bucket->second) {
            if (equalNoCase(name, word))
                return entry;
        }
        return -1;
    }

    const CommandFacts *factsOf(std::string_view word) const
    {
        const int entry = commandOf(word);
        return entry < 0 ? nullptr : &commands[static_cast<std::size_t>(entry)];
    }

    void arguments(const std::vector<std::string_view> &words, const CommandDefinition &command,
                   const CommandFacts &facts, const LineReport &report);
    void number(std::string_view argument, int k, const CommandDefinition &command, const LineReport &report);
    void key(std::string_view argument, const LineReport &report);
    void glide(std::string_view argument, const CommandDefinition &command, const LineReader &rest,
               const LineReport &report) const;
    void place(const CommandDefinition &command, const CommandFacts &facts, const LineReport &report);

    const Catalogue &catalogue;
    const GameStrings &strings;
    CaptionModes &captionModes;
    std::vector<CommandFacts> commands; // the facts of each catalogue entry
    // The entries that name a command, by the hash of their names.
    std::unordered_map<std::uint64_t, std::vector<std::pair<std::string_view, int>>> names;
    NearNames near;
    Place where = Place::Unknown;
    int exitLine = 0;
    bool notedUnknownKey = false;
};

GameReading::GameReading(const Catalogue &catalogue, const GameStrings &strings, CaptionModes &captionModes)
    : m_state(std::make_unique<State>(catalogue, strings, captionModes))
{
}

GameReading::~GameReading() = default;

void GameReading::check(const std::vector<std::string_view> &words, std::string_view line,
                        const LineReader &rest, const LineReport &report)
{
    State &s = *m_state;
    if (hasGluedHash(line)) {
        std::string read;
        for (std::size_t i = 0; i < words.size() && i < 6; ++i)
            read += (i == 0 ? "" : ", ") + quoted(words[i]);
        report.add(Severity::Warning, "hash-in-word",
                   "a \"#\" glued to a word starts no comment for the game: it reads " + read +
                       (words.size() > 6 ? " and more" : ""));
    }
    for (std::string_view word : words) {
        if (word.find('"') != std::string_view::npos) {
            report.add(Severity::Warning, "quote-in-argument",
                       quoted(word) + " holds a double quote, which the game keeps as part of the word");
            break;
        }
    }

    const int entry = s.commandOf(words.front());
    if (entry < 0) {
        std::string message =
            quoted(words.front()) + " is no command the catalogue knows: the game skips the line";
        const auto &near = s.near.of(words.front());
        for (std::size_t i = 0; i < near.size(); ++i)
            message += (i == 0 ? "; did you mean " : i + 1 == near.size() ? " or " : ", ") + shown(near[i]);
        report.add(Severity::Warning, "unknown-command", message + (near.empty() ? "" : "?"));
        return;
    }
    const CommandDefinition &command = s.catalogue.entry(entry);
    const CommandFacts &facts = s.commands[static_cast<std::size_t>(entry)];
    if (!facts.dangerous.empty())
        report.add(Severity::Error, "dangerous-command",
                   shown(command.name) + " " + std::string(facts.dangerous));
    s.arguments(words, command, facts, report);
    if (facts.glide >= 0 && static_cast<std::size_t>(facts.glide) + 1 < words.size())
        s.glide(words[static_cast<std::size_t>(facts.glide) + 1], command, rest, report);
    if (facts.wait && words.size() > 1)
        hourLong(readGameNumber(words[1], false).value, command, "the script never goes on in practice",
                 report);
    s.place(command, facts, report);
}

void GameReading::State::arguments(const std::vector<std::string_view> &words,
                                   const CommandDefinition &command, const CommandFacts &facts,
                                   const LineReport &report)
{
    const int given = static_cast<int>(words.size()) - 1;
    if (given == 0 && facts.required > 0 && !facts.readsZero.empty()) {
        report.add(Severity::Note, "argument-reads-zero",
                   shown(command.name) + " has no argument: " + std::string(facts.readsZero));
    } else if (given < facts.required) {
        report.add(Severity::Error, "missing-argument",
                   shown(command.name) + " needs " + plural(facts.required, "argument") +
                       " but the game finds " + std::to_string(given) + ": the game crashes here");
    } else if (given > command.argumentCount) {
        report.add(Severity::Note, "extra-arguments",
                   shown(command.name) + " takes " + plural(command.argumentCount, "argument") +
                       ": the game ignores " +
                       quoted(words[static_cast<std::size_t>(command.argumentCount) + 1]) +
                       (given > command.argumentCount + 1 ? " and the words after it" : ""));
    }
    for (int k = 0; k < std::min({given, static_cast<int>(command.argumentCount), 4}); ++k) {
        const std::string_view argument = words[static_cast<std::size_t>(k) + 1];
        const int type = command.argumentTypes[static_cast<std::size_t>(k) + 1];
        if (type == kTypeInteger || type == kTypeFloat)
            number(argument, k, command, report);
        else if (type == kTypeStringsEntry)
            key(argument, report);
    }
}

void GameReading::State::number(std::string_view argument, int k, const CommandDefinition &command,
                                const LineReport &report)
{
    const bool integer = command.argumentTypes[static_cast<std::size_t>(k) + 1] == kTypeInteger;
    const GameNumber value = readGameNumber(argument, integer);
    if (!value.whole) {
        report.add(Severity::Warning, "not-a-number",
                   "argument " + std::to_string(k + 1) + " of " + shown(command.name) + " should be " +
                       (integer ? "a whole number" : "a number") + ", but " + quoted(argument) +
                       " is not: the game reads " + formatNumber(value.value));
    }
}

void GameReading::State::key(std::string_view argument, const LineReport &report)
{
    const GameStrings::Said said = strings.say(argument);
    switch (said.found) {
    case GameStrings::Found::Text:
        checkCaption(argument, said.text, strings, captionModes, report);
        break;
    case GameStrings::Found::Missing:
        report.add(Severity::Warning, "missing-string",
                   quoted(argument) + " is in none of the " + strings.preferences().textLanguage +
                       " strings the game loads for this mod: the game says nothing");
        break;
    case GameStrings::Found::NeverFound:
        report.add(Severity::Warning, "variant-key",
                   "the game never finds " + quoted(argument) +
                       ": a Say names the key without its _kbd or _xin, and the game picks that variant "
                       "itself; here it says nothing");
        break;
    case GameStrings::Found::Unknown:
        if (!notedUnknownKey) {
            notedUnknownKey = true;
            report.add(Severity::Note, "game-strings-unread",
                       quoted(argument) + " is not in the mod's strings files, and the game's own " +
                           strings.preferences().textLanguage +
                           " table could not be read here (on most installs it is inside the game's "
                           "archives): keys the mod leaves to the game are not checked");
        }
        break;
    }
}

// A negative glide never ends: a WaitCam after it, before another camera command takes
// the camera, waits forever.
void GameReading::State::glide(std::string_view argument, const CommandDefinition &command,
                               const LineReader &rest, const LineReport &report) const
{
    const double seconds = readGameNumber(argument, false).value;
    if (seconds >= 0) {
        hourLong(seconds, command, "after a WaitCam the script never goes on in practice", report);
        return;
    }
    const std::string what = shown(command.name) + " for " + formatNumber(seconds) + " seconds never ends";
    LineReader after = rest;
    for (std::string_view line; after.next(line);) {
        const auto words = gameWords(line);
        const CommandFacts *next = words.empty() ? nullptr : factsOf(words.front());
        if (next && next->waitCam) {
            report.add(Severity::Error, "negative-duration",
                       what + ", and the WaitCam on line " + std::to_string(after.lineNumber()) +
                           " waits for it: the script hangs there");
            return;
        }
        if (next && next->camera)
            break;
    }
    report.add(Severity::Warning, "negative-duration",
               what + ": the camera keeps gliding, and a WaitCam after it would hang the script");
}

void GameReading::State::place(const CommandDefinition &command, const CommandFacts &facts,
                               const LineReport &report)
{
    const auto since = [this] {
        return " (after the ExitLocation on line " + std::to_string(exitLine);
    };
    if (where == Place::FadingOut && facts.worldMapOnly) {
        report.add(Severity::Warning, "before-wait-fade",
                   shown(command.name) + since() +
                       ") still runs inside the fading location, where it does nothing: put a WaitFade "
                       "before it");
    } else if (where == Place::WorldMap && facts.crashOnWorldMap) {
        report.add(Severity::Error, "world-map-crash",
                   shown(command.name) + " on the world map" + since() +
                       " and its WaitFade): the game crashes here");
    } else if (where == Place::WorldMap && facts.nothingOnWorldMap) {
        report.add(Severity::Warning, "world-map-no-effect",
                   shown(command.name) + " on the world map" + since() + " and its WaitFade) does nothing");
    }
    if (facts.exitLocation && where != Place::WorldMap) {
        where = Place::FadingOut;
        exitLine = report.line();
    } else if (facts.waitFade && where == Place::FadingOut) {
        where = Place::WorldMap;
    } else if (facts.enterLocation) {
        where = Place::Unknown;
    }
}

// How the line ends, as the game reads it: only LF ends a line, and whatever follows
// the last LF is never read.
void checkGameLineEnd(LineReader::End end, bool last, bool hasWords, std::string_view what,
                      const LineReport &report)
{
    if (end == LineReader::End::Cr && !last) {
        report.add(Severity::Warning, "cr-line-end",
                   "this line ends in CR alone; the game ends lines only at LF, so it reads the next line "
                   "as more words of this one, never as a line of its own");
    }
    if (last && hasWords && end == LineReader::End::None) {
        report.add(Severity::Warning, "no-final-line-end",
                   "the last line has no line end: the game never " + std::string(what) +
                       " it; end it with a line break");
    }
    if (last && hasWords && end == LineReader::End::Cr) {
        report.add(Severity::Warning, "no-final-line-end",
                   "the last line ends in CR alone, which the game does not take for a line end: it never " +
                       std::string(what) + " it; end it with CR LF");
    }
}

} // namespace detail

const GameCommandRules &gameCommandRules()
{
    static const GameCommandRules rules{
        {{"PurityControl", "is the demo's anti-piracy action: it deletes the player's saved games, opens a "
                           "web page and quits the game; a mod must never use it"}},
        {{"Wait", "the game waits 0 seconds"},
         {"CamFov", "the game sets the field of view to 0"},
         {"Highlight", "the game highlights building 0"},
         {"ActivateTrunkPort", "the game acts on building 0"},
         {"ActivateTrunkPortFull", "the game acts on building 0"}},
        {{"CamFov", 1}},
        {{"CamMove", 1}, {"CamBuildingApproach", 3}},
        {"CamMove", "CamAnim", "CamFov", "CamBuildingFocus", "CamBuildingApproach", "CamLocationFocus",
         "CamGlobalWorldFocus", "CamReset"},
        {"CamLocationFocus", "CamGlobalWorldFocus"},
        {"WaitRocket", "WaitPlayerNotBusy", "GodDishActivate", "GodDishDeactivate", "GodDishSpawnSpam",
         "GodDishSpawnResearch", "TriggerSpam", "DestroyBuilding", "ActivateTrunkPort",
         "ActivateTrunkPortFull"},
        {"CamCut", "CamMove", "CamAnim", "CamBuildingFocus", "CamBuildingApproach", "Highlight"},
    };
    return rules;
}

} // namespace cw::check
