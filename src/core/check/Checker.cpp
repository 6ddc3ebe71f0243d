#include "core/check/Checker.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Tokenizer.h"
#include "core/text/Codepage.h"
#include "core/text/LineReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace cw::check {
namespace {

bool isGameSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ':' || c == ',';
}

// The words of a line as the game splits it.
std::vector<std::string_view> gameWords(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isGameSeparator(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isGameSeparator(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
    });
}

// The number of lines, to size tables once.
std::size_t lineCount(std::string_view bytes)
{
    LineReader reader(bytes, LineEnds::Any);
    std::size_t count = 0;
    for (std::string_view line; reader.next(line);)
        ++count;
    return count;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// The key hash of the game's name matching, which ignores the case of ASCII letters.
std::uint64_t keyHash(std::string_view key)
{
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (char c : key) {
        hash ^= static_cast<unsigned char>(lowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

// Words from the file are quoted in messages at most this long, so that a word of
// megabytes does not make a message of megabytes.
constexpr std::size_t kQuotedWordLength = 40;

// A word of the file as the message shows it; single quotes around one that holds
// double quotes of its own.
std::string quoted(std::string_view bytes)
{
    const bool cut = bytes.size() > kQuotedWordLength;
    if (cut)
        bytes = bytes.substr(0, kQuotedWordLength);
    const char mark = bytes.find('"') == std::string_view::npos ? '"' : '\'';
    return mark + cp1252::toUtf8(bytes) + (cut ? "..." : "") + mark;
}

// A name of the catalogue, for a message.
std::string shown(std::string_view name)
{
    return cp1252::toUtf8(name);
}

std::string formatNumber(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

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
    const char *end = digits.data();
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

// Findings of one line, in the order the rules are listed.
class LineReport
{
public:
    LineReport(int line, const FindingSink &sink) : m_line(line), m_sink(sink) {}
    void add(Severity severity, std::string rule, std::string message) const
    {
        m_sink(Finding{m_line, severity, std::move(rule), std::move(message)});
    }

private:
    int m_line;
    const FindingSink &m_sink;
};

// Rules about how the editor reads the line.
void checkEditorReading(std::string_view line, const LineReport &report)
{
    auto slots = splitLine(line, SplitMode::FullSplit);
    if (!slots) {
        report.add(Severity::Error, "too-many-tokens",
                   "more than 21 words on one line: the editor refuses to open the script; split the line "
                   "or shorten it");
        return;
    }
    for (int k = 1; k <= 4; ++k) {
        const std::string_view argument = (*slots)[k];
        if (argument.find_first_of(":,") != std::string_view::npos && (*slots)[0] != "#" &&
            (*slots)[k - 1] != "#") {
            report.add(Severity::Warning, "separator-in-argument",
                       "argument " + std::to_string(k) + " " + quoted(argument) +
                           " holds \":\" or \",\", where the game splits it into more arguments");
        }
    }
}

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

// Rules about what the game does with the words of the line.
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

} // namespace

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
    m_keys.reserve(lineCount(stringsBytes));
    LineReader reader(stringsBytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        const auto words = gameWords(line);
        if (!words.empty())
            m_keys.push_back(keyHash(words.front()));
    }
    std::sort(m_keys.begin(), m_keys.end());
    m_keys.erase(std::unique(m_keys.begin(), m_keys.end()), m_keys.end());
    m_keys.shrink_to_fit();
}

bool GameStringKeys::contains(std::string_view key) const
{
    return std::binary_search(m_keys.begin(), m_keys.end(), keyHash(key));
}

void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStringKeys &keys,
                 const FindingSink &sink)
{
    // The editor and the game end lines alike (the editor's way), so one pass sees
    // each line as both read it, and findings come out in line order.
    LineReader reader(bytes, LineEnds::Any);
    bool reportedPast100 = false;
    for (std::string_view line; reader.next(line);) {
        const LineReport report(reader.lineNumber(), sink);
        if (reader.lineNumber() > 100 && !reportedPast100 &&
            line.find_first_not_of(" \t") != std::string_view::npos) {
            reportedPast100 = true;
            report.add(Severity::Warning, "past-line-100",
                       "the editor shows and saves only the first 100 lines; this line and the ones after it "
                       "are lost when the script is saved from the editor");
        }
        checkEditorReading(line, report);
        const std::vector<std::string_view> words = gameWords(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !words.empty(), "runs", report, Severity::Error);
        if (!words.empty())
            checkGameReading(words, catalogue, keys, report);
    }
}

std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStringKeys &keys)
{
    std::vector<Finding> findings;
    checkScript(bytes, catalogue, keys, [&findings](Finding &&f) { findings.push_back(std::move(f)); });
    return findings;
}

namespace {

// Where each key of a strings table is defined first, as the game matches keys.
class FirstDefinitions
{
public:
    explicit FirstDefinitions(std::string_view bytes) : m_bytes(bytes)
    {
        m_keys.reserve(lineCount(bytes));
        LineReader reader(bytes, LineEnds::Any);
        for (std::string_view line; reader.next(line);) {
            const auto words = gameWords(line);
            if (!words.empty())
                m_keys.push_back(Key{static_cast<std::uint32_t>(keyHash(words.front())), reader.lineNumber(),
                                     offsetOf(words.front()),
                                     static_cast<std::uint32_t>(words.front().size())});
        }
        // By key, then by line; a key's first definition comes first among equals.
        std::sort(m_keys.begin(), m_keys.end(), [this](const Key &a, const Key &b) {
            if (a.hash != b.hash)
                return a.hash < b.hash;
            const std::string_view x = textOf(a), y = textOf(b);
            if (!equalNoCase(x, y))
                return lessNoCase(x, y);
            return a.line < b.line;
        });
    }

    // The first line that defines `key`, which is defined on `line`.
    int firstLine(std::string_view key) const
    {
        const auto hash = static_cast<std::uint32_t>(keyHash(key));
        auto it = std::lower_bound(m_keys.begin(), m_keys.end(), hash,
                                   [](const Key &k, std::uint32_t h) { return k.hash < h; });
        for (; it != m_keys.end() && it->hash == hash; ++it) {
            if (equalNoCase(textOf(*it), key))
                return it->line;
        }
        return 0;
    }

private:
    // Sixteen bytes a key line: a strings table of a million short lines stays small.
    struct Key
    {
        std::uint32_t hash;
        int line;
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::uint32_t offsetOf(std::string_view part) const
    {
        return static_cast<std::uint32_t>(part.data() - m_bytes.data());
    }
    std::string_view textOf(const Key &key) const { return m_bytes.substr(key.offset, key.length); }

    std::string_view m_bytes;
    std::vector<Key> m_keys;
};

} // namespace

void checkStrings(std::string_view bytes, const FindingSink &sink)
{
    const FirstDefinitions firsts(bytes);
    LineReader reader(bytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        const int number = reader.lineNumber();
        const LineReport report(number, sink);
        const auto words = gameWords(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !words.empty(), "reads", report,
                         Severity::Warning);
        if (words.empty())
            continue;
        const std::size_t hash = line.find('#');
        if (hash != std::string_view::npos) {
            // The text starts after the separators that follow the key.
            std::size_t text =
                static_cast<std::size_t>(words.front().data() - line.data()) + words.front().size();
            while (text < hash && isGameSeparator(line[text]))
                ++text;
            report.add(Severity::Warning, "hash-in-text",
                       "the text holds \"#\", where the game cuts it: it shows only " +
                           quoted(line.substr(text, hash - text)));
        }
        const int first = firsts.firstLine(words.front());
        if (first != number) {
            report.add(Severity::Warning, "duplicate-key",
                       quoted(words.front()) + " is defined again (first on line " + std::to_string(first) +
                           "); the game uses this later one");
        }
    }
}

std::vector<Finding> checkStrings(std::string_view bytes)
{
    std::vector<Finding> findings;
    checkStrings(bytes, [&findings](Finding &&f) { findings.push_back(std::move(f)); });
    return findings;
}

std::string_view severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

} // namespace cw::check
