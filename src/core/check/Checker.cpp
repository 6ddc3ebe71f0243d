#include "core/check/Checker.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Tokenizer.h"
#include "core/text/Codepage.h"
#include "core/text/LineReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

namespace cw::check {
namespace {

enum class LineEnd { None, CrLf, Cr, Lf };

// A line as a text editor shows it: ended by CR LF, CR or LF.
struct TextLine
{
    std::size_t offset = 0;
    std::string_view text;
    LineEnd end = LineEnd::None;
};

std::vector<TextLine> textLines(std::string_view bytes)
{
    std::vector<TextLine> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back({start, bytes.substr(start), LineEnd::None});
            break;
        }
        LineEnd end = bytes[stop] == '\n' ? LineEnd::Lf : LineEnd::Cr;
        std::size_t next = stop + 1;
        if (end == LineEnd::Cr && next < bytes.size() && bytes[next] == '\n') {
            end = LineEnd::CrLf;
            ++next;
        }
        lines.push_back({start, bytes.substr(start, stop - start), end});
        start = next;
    }
    return lines;
}

// 1-based text line holding byte `offset`.
int lineAt(const std::vector<TextLine> &lines, std::size_t offset)
{
    const auto after =
        std::upper_bound(lines.begin(), lines.end(), offset,
                         [](std::size_t at, const TextLine &line) { return at < line.offset; });
    return static_cast<int>(after - lines.begin());
}

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

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// A word of the file as the message shows it; single quotes around one that holds
// double quotes of its own.
std::string quoted(std::string_view bytes)
{
    const char mark = bytes.find('"') == std::string_view::npos ? '"' : '\'';
    return mark + cp1252::toUtf8(bytes) + mark;
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
            current[j] =
                std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// The catalogue's command names nearest to `word`, best first, at most three.
std::vector<std::string> nearestNames(std::string_view word, const Catalogue &catalogue)
{
    const std::string folded = lower(word);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const std::string &name = catalogue.entry(i).name;
        if (name.empty() || name == "#")
            continue;
        const std::size_t distance = editDistance(folded, lower(name));
        if (distance <= std::max<std::size_t>(2, name.size() / 3))
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
    const std::string folded = lower(word);
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const std::string &name = catalogue.entry(i).name;
        if (!name.empty() && name != "#" && lower(name) == folded)
            return i;
    }
    return -1;
}

class Report
{
public:
    void add(int line, Severity severity, std::string rule, std::string message)
    {
        m_findings.push_back({line, severity, std::move(rule), std::move(message)});
    }
    std::vector<Finding> take()
    {
        std::stable_sort(m_findings.begin(), m_findings.end(),
                         [](const Finding &a, const Finding &b) { return a.line < b.line; });
        return std::move(m_findings);
    }

private:
    std::vector<Finding> m_findings;
};

// Rules about how the editor reads the file.
void checkEditorReading(std::string_view bytes, const std::vector<TextLine> &lines, Report &report)
{
    for (const TextLine &line : lines) {
        if (line.end == LineEnd::Lf) {
            report.add(lineAt(lines, line.offset), Severity::Error, "lf-line-ends",
                       "this line ends in LF alone, which the editor does not take for a line end: it joins "
                       "such lines into one (and refuses one of more than 21 words); save the file with "
                       "Windows (CR LF) line ends");
            break;
        }
    }
    LineReader reader(bytes);
    std::string_view line;
    std::size_t start = 0;
    int editorLines = 0;
    bool reportedPast100 = false;
    while (reader.next(line)) {
        ++editorLines;
        const int textLine = lineAt(lines, start);
        if (editorLines > 100 && !reportedPast100 &&
            line.find_first_not_of(" \t") != std::string_view::npos) {
            reportedPast100 = true;
            report.add(textLine, Severity::Warning, "past-line-100",
                       "the editor shows and saves only the first 100 lines; this line and the ones after it "
                       "are lost when the script is saved from the editor");
        }
        auto slots = splitLine(line, SplitMode::FullSplit);
        if (!slots && line.find('\n') == std::string_view::npos) {
            report.add(
                textLine, Severity::Error, "too-many-tokens",
                "more than 21 words on one line: the editor refuses to open the script; split the line "
                "or shorten it");
        }
        if (slots && line.find('\n') == std::string_view::npos) {
            for (int k = 1; k <= 4; ++k) {
                const std::string_view argument = (*slots)[k];
                if (argument.find_first_of(":,") != std::string_view::npos && (*slots)[0] != "#" &&
                    !(k >= 1 && (*slots)[k - 1] == "#")) {
                    report.add(textLine, Severity::Warning, "separator-in-argument",
                               "argument " + std::to_string(k) + " " + quoted(argument) +
                                   " holds \":\" or \",\", where the game splits it into more arguments");
                }
            }
        }
        start = reader.position();
    }
}

void checkGameReading(const std::vector<TextLine> &lines, const Catalogue &catalogue,
                      const GameStringKeys &keys, Report &report)
{
    const GameCommandRules &rules = gameCommandRules();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const TextLine &line = lines[index];
        const int number = static_cast<int>(index) + 1;
        const std::vector<std::string_view> words = gameWords(line.text);
        if (line.end == LineEnd::Cr && index + 1 < lines.size()) {
            report.add(
                number, Severity::Error, "cr-line-end",
                "this line ends in CR alone; the game ends lines only at LF, so it reads the next line "
                "as more arguments of this one");
        }
        if (line.end == LineEnd::None && index + 1 == lines.size() && !words.empty()) {
            report.add(number, Severity::Error, "no-final-line-end",
                       "the last line has no line end: the game never runs it; end it with a line break");
        }
        if (words.empty())
            continue;

        for (std::string_view word : words) {
            if (word.find('"') != std::string_view::npos) {
                report.add(number, Severity::Warning, "quote-in-argument",
                           quoted(word) + " holds a double quote, which the game keeps as part of the word");
                break;
            }
        }

        const std::string_view word = words.front();
        const int entry = gameCommand(word, catalogue);
        if (entry < 0) {
            std::string message =
                quoted(word) + " is no command the catalogue knows: the game skips the line";
            const auto near = nearestNames(word, catalogue);
            for (std::size_t i = 0; i < near.size(); ++i)
                message += (i == 0 ? "; did you mean " : i + 1 == near.size() ? " or " : ", ") + near[i];
            report.add(number, Severity::Warning, "unknown-command", message + (near.empty() ? "" : "?"));
            continue;
        }
        const CommandDefinition &command = catalogue.entry(entry);
        const std::string name = command.name;
        for (const auto &dangerous : rules.dangerous) {
            if (lower(dangerous.command) == lower(name))
                report.add(number, Severity::Error, "dangerous-command",
                           name + " " + std::string(dangerous.why));
        }

        const int given = static_cast<int>(words.size()) - 1;
        int required = command.argumentCount;
        for (const auto &optional : rules.optional) {
            if (lower(optional.command) == lower(name))
                required = std::min(required, optional.firstOptional);
        }
        if (given < required) {
            report.add(number, Severity::Error, "missing-argument",
                       name + " needs " + std::to_string(required) + " argument" +
                           (required == 1 ? "" : "s") + " but the game finds " + std::to_string(given) +
                           ": it reads past the line, which is likely to crash it");
        }

        for (int k = 0; k < std::min({given, static_cast<int>(command.argumentCount), 4}); ++k) {
            const std::string_view argument = words[static_cast<std::size_t>(k) + 1];
            const int type = command.argumentTypes[static_cast<std::size_t>(k) + 1];
            if (type == kTypeInteger || type == kTypeFloat) {
                const GameNumber value = readNumber(argument, type == kTypeInteger);
                if (!value.whole) {
                    report.add(number, Severity::Warning, "not-a-number",
                               "argument " + std::to_string(k + 1) + " of " + name + " should be " +
                                   (type == kTypeInteger ? "a whole number" : "a number") + ", but " +
                                   quoted(argument) + " is not: the game reads " + formatNumber(value.value));
                    continue;
                }
                for (const auto &duration : rules.durations) {
                    if (duration.argument == k && lower(duration.command) == lower(name) &&
                        (value.value < rules.shortestDuration || value.value > rules.longestDuration)) {
                        report.add(number, Severity::Warning, "duration-range",
                                   name + " for " + formatNumber(value.value) + " seconds is outside " +
                                       formatNumber(rules.shortestDuration) + " to " +
                                       formatNumber(rules.longestDuration) +
                                       " seconds, the range the game "
                                       "itself once checked");
                    }
                }
            }
            if (type == kTypeStringsEntry && !keys.contains(argument)) {
                report.add(number, Severity::Warning, "missing-string",
                           quoted(argument) + " is not a key of the mod's strings_default.txt: unless the "
                                              "game's own strings define it, nothing is said");
            }
        }
    }
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
    for (const TextLine &line : textLines(stringsBytes)) {
        const auto words = gameWords(line.text);
        if (!words.empty())
            m_keys.insert(lower(words.front()));
    }
}

bool GameStringKeys::contains(std::string_view key) const
{
    return m_keys.count(lower(key)) != 0;
}

std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStringKeys &keys)
{
    Report report;
    const std::vector<TextLine> lines = textLines(bytes);
    checkEditorReading(bytes, lines, report);
    checkGameReading(lines, catalogue, keys, report);
    return report.take();
}

std::vector<Finding> checkStrings(std::string_view bytes)
{
    Report report;
    const std::vector<TextLine> lines = textLines(bytes);
    std::map<std::string, int> firstLine;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const TextLine &line = lines[index];
        const int number = static_cast<int>(index) + 1;
        const auto words = gameWords(line.text);
        if (words.empty())
            continue;
        if (line.end == LineEnd::None && index + 1 == lines.size()) {
            report.add(number, Severity::Warning, "no-final-line-end",
                       "the last line has no line end: the game never reads it; end it with a line break");
        }
        const std::size_t hash = line.text.find('#');
        if (hash != std::string_view::npos) {
            // The text starts after the separators that follow the key.
            std::size_t text =
                static_cast<std::size_t>(words.front().data() - line.text.data()) + words.front().size();
            while (text < hash && isGameSeparator(line.text[text]))
                ++text;
            report.add(number, Severity::Warning, "hash-in-text",
                       "the text holds \"#\", where the game cuts it: it shows only " +
                           quoted(line.text.substr(text, hash - text)));
        }
        const std::string key = lower(words.front());
        const auto [earlier, inserted] = firstLine.emplace(key, number);
        if (!inserted) {
            report.add(number, Severity::Warning, "duplicate-key",
                       quoted(words.front()) + " is defined again (first on line " +
                           std::to_string(earlier->second) + "); the game uses this later one");
        }
    }
    return report.take();
}

std::string_view severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

} // namespace cw::check
