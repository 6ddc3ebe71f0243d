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
#include <vector>

namespace cw::check::detail {

// The number of lines, to size tables once.
std::size_t lineCount(std::string_view bytes);

// A word of the file as a message shows it, cut to a sensible length.
std::string quoted(std::string_view bytes);
// A name of the catalogue, for a message.
std::string shown(std::string_view name);
std::string formatNumber(double value);

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

// The game's reading of a script, line after line: what it carries from one line to
// the next (where the script stands after an ExitLocation, the notes given once) and
// the catalogue's commands with the game's facts about each.
class GameReading
{
public:
    GameReading(const Catalogue &catalogue, const GameStrings &strings);
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

} // namespace cw::check::detail
