#pragma once

#include "core/util/Result.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// The loader's staging table: five cells per script line (the command word and four
// arguments), for the first 200 lines of a file. Only lines 0 to 99 reach the grid.
class ScriptLineTable
{
public:
    static constexpr int kCellCount = 1001;
    static constexpr int kCellsPerLine = 5;
    static constexpr int kMaxLines = 200;

    const std::string &cell(int index) const { return m_cells[static_cast<std::size_t>(index)]; }
    std::string &cell(int index) { return m_cells[static_cast<std::size_t>(index)]; }
    const std::string &word(int line) const { return cell(kCellsPerLine * line); }
    const std::string &argument(int line, int k) const { return cell(kCellsPerLine * line + 1 + k); }

private:
    std::array<std::string, kCellCount> m_cells;
};

// The lines the grid holds: a file's first 100.
inline constexpr int kGridLines = 100;

struct ScriptReadReport
{
    int linesInFile = 0;       // every line of the file, also those past the 200th
    int linesRead = 0;         // lines that went into the table
    int lastLineInUse = 0;     // 1-based number of the last line that is not blank, 0 if none
    int linesInUsePast100 = 0; // lines after the 100th that are not blank
    int commandsPast100 = 0;   // of those, the ones that are no comment

    // Words after the fourth argument of a line the grid holds, which no row can keep:
    // the line's 1-based number and the words, one blank between them.
    struct ExtraWords
    {
        int line = 0;
        std::string words;
    };
    std::vector<ExtraWords> wordsPastFourth;

    // Whether lines the grid cannot hold say anything: only the first 100 lines can be
    // edited and saved, and a file saved from a full grid ends in one more, empty, line.
    bool losesLinesPast100() const { return lastLineInUse > kGridLines; }
};

struct ScriptReadError
{
    int line = 0;        // 1-based line the tokenizer refused
    std::string message; // the tokenizer's message
};

// Reads a script's bytes into `table` the way the editor loads a file: cells 0 to 500
// are emptied, then each of the first 200 lines (ended by CR LF, CR or LF, as the game
// and every text editor end them) is split in full-split mode and its first five slots
// copied. On a refused line `table` is left exactly as it was. The report says what
// of the file the grid cannot hold.
Result<ScriptReadReport, ScriptReadError> readScript(std::string_view bytes, ScriptLineTable &table);

} // namespace cw
