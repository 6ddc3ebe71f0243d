#pragma once

#include "core/util/Result.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// The lines the grid holds: a file's first 100.
inline constexpr int kGridLines = 100;

// What the editor keeps of one line of a script: the command word and four arguments as
// the tokenizer split them, in the file's bytes.
using LineWords = std::array<std::string, 5>;

struct ScriptReadReport
{
    int linesInFile = 0;       // every line of the file, also those past the 200th
    int linesRead = 0;         // lines that were split and kept
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

    // Lines the grid holds with a "#" glued to a word ("CamMove m#5"), which the game
    // reads on past (the duration 5) but the grid, written back with a blank before the
    // "#", would not: the line's 1-based number and its text, to be written back as it is.
    struct GluedHash
    {
        int line = 0;
        std::string text;
    };
    std::vector<GluedHash> gluedHash;

    // Whether lines the grid cannot hold say anything: only the first 100 lines can be
    // edited and saved, and a file saved from a full grid ends in one more, empty, line.
    bool losesLinesPast100() const { return lastLineInUse > kGridLines; }
};

struct ScriptReadError
{
    int line = 0;        // 1-based line the tokenizer refused
    std::string message; // the tokenizer's message
};

// A script as the editor reads it, before any row shows it.
struct ScriptRead
{
    std::vector<LineWords> lines; // the first 200 lines of the file
    ScriptReadReport report;
};

// Reads a script's bytes the way the editor loads a file: each of the first 200 lines
// (ended by CR LF, CR or LF, as the game and every text editor end them) is split in
// full-split mode and its first five slots kept; lines past the 200th are only counted.
// A line the tokenizer refuses fails the whole read. The report says what of the file
// the grid cannot hold.
Result<ScriptRead, ScriptReadError> readScript(std::string_view bytes);

} // namespace cw
