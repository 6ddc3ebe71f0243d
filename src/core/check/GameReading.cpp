#include "core/check/CheckRules.h"

#include "core/catalogue/Catalogue.h"

#include <algorithm>
#include <charconv>
#include <cmath>

// How the game reads scripts: its line ends, its command names, its numbers, its
// strings keys, and the table of what commands.txt cannot say.
namespace cw::check {
namespace detail {
namespace {

// How the game reads a number: the longest numeric prefix (0 when there is none), and
// whether the whole word was that number.
struct GameNumber
{
    double value = 0;
    bool whole = false;
};

GameNumber readNumber(std::string_view word, bool integer)
{
    std::string_view digits = word;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    GameNumber number;
    const char *end = nullptr;
    if (integer) {
        long long value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec == std::errc())
            number.value = static_cast<double>(value);
        end = result.ec == std::errc() ? result.ptr : digits.data();
    } else {
        double value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec == std::errc() && std::isfinite(value))
            number.value = value;
        end = result.ec == std::errc() ? result.ptr : digits.data();
    }
    if (negative)
        number.value = -number.value;
    number.whole = !digits.empty() && end == digits.data() + digits.size() && std::isfinite(number.value);
    return number;
}

std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (lowerAscii(a[i - 1]) != lowerAscii(b[j - 1]))});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The catalogue's command names nearest to `word`, best first, at most three. Two
// words whose lengths differ by more than the distance allowed cannot be that near,
// so a long word costs no more than a name's length squared per name.
std::vector<std::string> nearestNames(std::string_view word, const Catalogue &catalogue)
{
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const std::string &name = catalogue.entry(i).name;
        if (name.empty() || name == "#")
            continue;
        const std::size_t allowed = std::max<std::size_t>(2, name.size() / 3);
        const std::size_t longer = std::max(word.size(), name.size());
        const std::size_t shorter = std::min(word.size(), name.size());
        if (longer - shorter > allowed)
            continue;
        const std::size_t distance = editDistance(word, name);
        if (distance <= allowed)
            scored.emplace_back(distance, name);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < scored.size() && i < 3; ++i)
        names.push_back(scored[i].second);
    return names;
}

// The catalogue entry a word names, as the game matches names (without regard to
// case), or -1. Entry names that are empty or "#" name no command.
int gameCommand(std::string_view word, const Catalogue &catalogue)
{
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const std::string &name = catalogue.entry(i).name;
        if (!name.empty() && name != "#" && equalNoCase(name, word))
            return i;
    }
    return -1;
}

} // namespace

// How the line ends, as the game reads it: only LF ends a line, and whatever follows
// the last LF is never read.
void checkGameLineEnd(LineReader::End end, bool last, bool hasWords, std::string_view what,
                      const LineReport &report, Severity severity)
{
    if (end == LineReader::End::Cr && !last) {
        report.add(Severity::Error, "cr-line-end",
                   "this line ends in CR alone; the game ends lines only at LF, so it reads the next line "
                   "as more arguments of this one");
    }
    if (last && hasWords && end == LineReader::End::None) {
        report.add(severity, "no-final-line-end",
                   "the last line has no line end: the game never " + std::string(what) +
                       " it; end it with a line break");
    }
    if (last && hasWords && end == LineReader::End::Cr) {
        report.add(severity, "no-final-line-end",
                   "the last line ends in CR alone, which the game does not take for a line end: it never " +
                       std::string(what) + " it; end it with CR LF");
    }
}

void checkArguments(const std::vector<std::string_view> &words, const CommandDefinition &command,
                    const GameStringKeys &keys, const LineReport &report)
{
    const GameCommandRules &rules = gameCommandRules();
    const std::string name = shown(command.name);
    const int given = static_cast<int>(words.size()) - 1;
    for (int k = 0; k < std::min({given, static_cast<int>(command.argumentCount), 4}); ++k) {
        const std::string_view argument = words[static_cast<std::size_t>(k) + 1];
        const int type = command.argumentTypes[static_cast<std::size_t>(k) + 1];
        if (type == kTypeInteger || type == kTypeFloat) {
            const GameNumber value = readNumber(argument, type == kTypeInteger);
            if (!value.whole) {
                report.add(Severity::Warning, "not-a-number",
                           "argument " + std::to_string(k + 1) + " of " + name + " should be " +
                               (type == kTypeInteger ? "a whole number" : "a number") + ", but " +
                               quoted(argument) + " is not: the game reads " + formatNumber(value.value));
                continue;
            }
            for (const auto &duration : rules.durations) {
                if (duration.argument == k && equalNoCase(duration.command, command.name) &&
                    (value.value < rules.shortestDuration || value.value > rules.longestDuration)) {
                    report.add(Severity::Warning, "duration-range",
                               name + " for " + formatNumber(value.value) + " seconds is outside " +
                                   formatNumber(rules.shortestDuration) + " to " +
                                   formatNumber(rules.longestDuration) +
                                   " seconds, the range the game itself once checked");
                }
            }
        }
        if (type == kTypeStringsEntry && !keys.contains(argument)) {
            report.add(Severity::Warning, "missing-string",
                       quoted(argument) + " is not a key of the mod's strings_default.txt: unless the "
                                          "game's own strings define it, nothing is said");
        }
    }
}

void checkGameReading(const std::vector<std::string_view> &words, const Catalogue &catalogue,
                      const GameStringKeys &keys, const LineReport &report)
{
    const GameCommandRules &rules = gameCommandRules();
    for (std::string_view word : words) {
        if (word.find('"') != std::string_view::npos) {
            report.add(Severity::Warning, "quote-in-argument",
                       quoted(word) + " holds a double quote, which the game keeps as part of the word");
            break;
        }
    }

    const std::string_view word = words.front();
    const int entry = gameCommand(word, catalogue);
    if (entry < 0) {
        std::string message = quoted(word) + " is no command the catalogue knows: the game skips the line";
        const auto near = nearestNames(word, catalogue);
        for (std::size_t i = 0; i < near.size(); ++i)
            message += (i == 0 ? "; did you mean " : i + 1 == near.size() ? " or " : ", ") + shown(near[i]);
        report.add(Severity::Warning, "unknown-command", message + (near.empty() ? "" : "?"));
        return;
    }
    const CommandDefinition &command = catalogue.entry(entry);
    const std::string name = shown(command.name);
    for (const auto &dangerous : rules.dangerous) {
        if (equalNoCase(dangerous.command, command.name))
            report.add(Severity::Error, "dangerous-command", name + " " + std::string(dangerous.why));
    }

    const int given = static_cast<int>(words.size()) - 1;
    int required = command.argumentCount;
    for (const auto &optional : rules.optional) {
        if (equalNoCase(optional.command, command.name))
            required = std::min(required, optional.firstOptional);
    }
    if (given < required) {
        report.add(Severity::Error, "missing-argument",
                   name + " needs " + std::to_string(required) + " argument" + (required == 1 ? "" : "s") +
                       " but the game finds " + std::to_string(given) +
                       ": it reads past the line, which is likely to crash it");
    }
    checkArguments(words, command, keys, report);
}

} // namespace detail

const GameCommandRules &gameCommandRules()
{
    static const GameCommandRules rules{
        {{"PurityControl",
          "is the demo's anti-piracy action: it deletes the player's saved games, opens a web "
          "page and quits the game; a mod must never use it"}},
        {{"Wait", 0}, {"CamMove", 1}},
        {{"CamFov", 1}},
    };
    return rules;
}

GameStringKeys::GameStringKeys(std::string_view stringsBytes)
{
    m_keys.reserve(detail::lineCount(stringsBytes));
    LineReader reader(stringsBytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        const auto words = detail::gameWords(line);
        if (!words.empty())
            m_keys.push_back(detail::keyHash(words.front()));
    }
    std::sort(m_keys.begin(), m_keys.end());
    m_keys.erase(std::unique(m_keys.begin(), m_keys.end()), m_keys.end());
    m_keys.shrink_to_fit();
}

bool GameStringKeys::contains(std::string_view key) const
{
    return std::binary_search(m_keys.begin(), m_keys.end(), detail::keyHash(key));
}

} // namespace cw::check
