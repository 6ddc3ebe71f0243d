#pragma once

// The pieces the checker is made of, shared by its files: how the game splits a line,
// the findings of one line, and how words are shown in messages. Not for use outside
// core/check.
#include "core/check/Checker.h"
#include "core/io/FileNames.h"
#include "core/text/LineReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cw::check::detail {

bool isGameSeparator(char c);
// The words of a line as the game splits it.
std::vector<std::string_view> gameWords(std::string_view line);

char lowerAscii(char c);
bool lessNoCase(std::string_view a, std::string_view b);
bool equalNoCase(std::string_view a, std::string_view b);
// The number of lines, to size tables once.
std::size_t lineCount(std::string_view bytes);
// The key hash of the game's name matching, which ignores the case of ASCII letters.
std::uint64_t keyHash(std::string_view key);

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

private:
    int m_line;
    const FindingSink &m_sink;
};

// The editor's reading of a script line: what it refuses or splits differently.
void checkEditorReading(std::string_view line, const LineReport &report);
// Lines past the 100th that the editor cannot keep; reported once, at the first.
void checkPastLine100(int lineNumber, std::string_view line, bool &reported, const LineReport &report);

// The game's reading: how a line ends, and what it does with the words of a script line.
void checkGameLineEnd(LineReader::End end, bool last, bool hasWords, std::string_view what,
                      const LineReport &report, Severity severity);
void checkGameReading(const std::vector<std::string_view> &words, const Catalogue &catalogue,
                      const GameStringKeys &keys, const LineReport &report);

} // namespace cw::check::detail
