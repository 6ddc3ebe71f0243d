#include "core/script/ScriptLines.h"

#include "core/catalogue/Tokenizer.h"
#include "core/text/LineReader.h"

namespace cw {

Result<ScriptReadReport, ScriptReadError> readScript(std::string_view bytes, ScriptLineTable &table)
{
    // Split everything first, so that a refused line changes nothing.
    ScriptLineTable staged = table;
    for (int i = 0; i <= 500; ++i)
        staged.cell(i).clear();

    ScriptReadReport report;
    LineReader reader(bytes, LineEnds::Any);
    std::string_view line;
    while (reader.next(line)) {
        ++report.linesInFile;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            report.lastLineInUse = report.linesInFile;
            if (report.linesInFile > kGridLines) {
                ++report.linesInUsePast100;
                if (line[first] != '#')
                    ++report.commandsPast100;
            }
        }
        if (report.linesRead >= ScriptLineTable::kMaxLines)
            continue;
        auto slots = splitLine(line, SplitMode::FullSplit);
        if (!slots)
            return ScriptReadError{reader.lineNumber(), slots.error().message};
        for (int k = 0; k < ScriptLineTable::kCellsPerLine; ++k)
            staged.cell(ScriptLineTable::kCellsPerLine * report.linesRead + k) = (*slots)[k];
        if (report.linesInFile <= kGridLines && slots->usedCount() > ScriptLineTable::kCellsPerLine) {
            ScriptReadReport::ExtraWords extra{report.linesInFile, {}};
            for (int k = ScriptLineTable::kCellsPerLine; k < slots->usedCount(); ++k) {
                // The text after a "#" keeps the blanks that followed it.
                const std::string_view word = (*slots)[k];
                const bool ownBlank =
                    (*slots)[k - 1] == "#" && !word.empty() && (word.front() == ' ' || word.front() == '\t');
                if (k > ScriptLineTable::kCellsPerLine && !ownBlank)
                    extra.words += ' ';
                extra.words += word;
            }
            const std::size_t start = extra.words.find_first_not_of(" \t");
            const std::size_t end = extra.words.find_last_not_of(" \t");
            extra.words =
                start == std::string::npos ? std::string() : extra.words.substr(start, end - start + 1);
            report.wordsPastFourth.push_back(std::move(extra));
        }
        ++report.linesRead;
    }
    table = std::move(staged);
    return report;
}

} // namespace cw
