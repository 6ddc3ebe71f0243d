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
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            report.lastLineInUse = report.linesInFile;
        if (report.linesRead >= ScriptLineTable::kMaxLines)
            continue;
        auto slots = splitLine(line, SplitMode::FullSplit);
        if (!slots)
            return ScriptReadError{reader.lineNumber(), slots.error().message};
        for (int k = 0; k < ScriptLineTable::kCellsPerLine; ++k)
            staged.cell(ScriptLineTable::kCellsPerLine * report.linesRead + k) = (*slots)[k];
        ++report.linesRead;
    }
    table = std::move(staged);
    return report;
}

} // namespace cw
