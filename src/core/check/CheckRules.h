#pragma once

// The pieces the checker is made of, shared by its files: the findings of one line,
// how words are shown in messages, and the rules of each reading. Not for use outside
// core/check.
#include "core/check/Checker.h"
#include "core/text/Folding.h"
#include "core/text/LineReader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cw::check::detail {

// The number of lines, to size tables once.
std::size_t lineCount(std::string_view bytes);

// A word of the file as a message shows it, cut to a sensible length.
std::string quoted(std::string_view bytes);
// A name of the catalogue, for a message.
std::string shown(std::string_view name);
std::string formatNumber(double value);

// Names and words longer than this are never suggested or compared: no name is near
// it, and the distance's table stays on the stack.
inline constexpr std::size_t kLongestCompared = 64;
// The edit distance of a and b without regard to case, or limit + 1 when it is larger
// than limit; both at most kLongestCompared long. Counts the table's cells in `cost`.
std::size_t boundedDistance(std::string_view a, std::string_view b, std::size_t limit, std::size_t &cost);
// Up to three of `names` within two edits of `word` (any letter case), nearest first,
// and how a message offers them: "; did you mean "a" or "b"?" (empty for none).
std::vector<std::string_view> nearestNames(std::string_view word, const std::vector<std::string_view> &names);
std::string didYouMean(const std::vector<std::string_view> &names);

// Findings of one line, in the order the rules are listed.
class LineReport
{
public:
    LineReport(int line, const FindingSink &sink) : m_line(line), m_sink(sink) {}
    void add(Severity severity, std::string rule, std::string message) const
    {
        m_sink(Finding{m_line, severity, std::move(rule), std::move(message)});
    }
    int line() const { return m_line; }

private:
    int m_line;
    const FindingSink &m_sink;
};

// The editor's reading of a script line: what it refuses, splits differently or drops.
void checkEditorReading(std::string_view line, const LineReport &report);
// Lines past the 100th that the editor cannot keep; reported once, at the first.
void checkPastLine100(int lineNumber, std::string_view line, bool &reported, const LineReport &report);

// How a line ends, as the game reads it. `what` is what the game does with a line.
void checkGameLineEnd(LineReader::End end, bool last, bool hasWords, std::string_view what,
                      const LineReport &report);

// The camera's modes the caption of each line may show in (timeline::CaptionModes), as
// the script's timeline plays it. The timeline is played only when first asked, since
// most captions fit the box in either mode.
class CaptionModes
{
public:
    CaptionModes(std::string_view bytes, const GameStrings &strings, const ScriptContext &context);
    // Either mode for a line whose caption the timeline does not show.
    unsigned at(int line);

private:
    std::string_view m_bytes;
    const GameStrings &m_strings;
    const ScriptContext &m_context;
    bool m_played = false;
    std::vector<std::pair<int, unsigned>> m_modes; // by line, in order
};

// A caption as the box shows it: too tall for it, or with a word longer than a line.
// `text` is what the Say of `key` on the report's line finds.
void checkCaption(std::string_view key, std::string_view text, const GameStrings &strings,
                  CaptionModes &modes, const LineReport &report);

// The game's reading of a script, line after line: what it carries from one line to
// the next (where the script stands after an ExitLocation, the notes given once) and
// the catalogue's commands with the game's facts about each.
class GameReading
{
public:
    GameReading(const Catalogue &catalogue, const GameStrings &strings, CaptionModes &captionModes);
    ~GameReading();
    GameReading(const GameReading &) = delete;
    GameReading &operator=(const GameReading &) = delete;

    // `words` of `line` as the game splits them (not empty); `rest` reads the lines
    // after it, for the rules that look ahead.
    void check(const std::vector<std::string_view> &words, std::string_view line, const LineReader &rest,
               const LineReport &report);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The names a script looks up in the levels (mounts, buildings, locations, animations,
// music, gestures, research), each checked where its line runs: from the locations
// whose levels run the script (every location when none does), then where each
// EnterLocation and ExitLocation takes it.
class NameReading
{
public:
    NameReading(const GameStrings &strings, const ScriptContext &context);
    ~NameReading();
    NameReading(const NameReading &) = delete;
    NameReading &operator=(const NameReading &) = delete;

    void check(const std::vector<std::string_view> &words, const LineReport &report);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cw::check::detail
