#include "core/script/ScriptLines.h"

#include "core/catalogue/Tokenizer.h"
#include "core/text/LineReader.h"

namespace cw {
namespace {

// The lines a read splits and keeps; a line after them is never split, so a line of
// too many words there refuses nothing.
constexpr int kLinesKept = 200;

// The words of a line after its fourth argument, one blank between them; the text after
// a "#" keeps the blanks that followed it.
std::string wordsPastFourth(const TokenSlots &slots)
{
    constexpr int kFirst = static_cast<int>(std::tuple_size<LineWords>::value);
    std::string words;
    for (int k = kFirst; k < slots.usedCount(); ++k) {
        const std::string_view word = slots[k];
        const bool ownBlank =
            slots[k - 1] == "#" && !word.empty() && (word.front() == ' ' || word.front() == '\t');
        if (k > kFirst && !ownBlank)
            words += ' ';
        words += word;
    }
    const std::size_t start = words.find_first_not_of(" \t");
    if (start == std::string::npos)
        return {};
    return words.substr(start, words.find_last_not_of(" \t") - start + 1);
}

} // namespace

Result<ScriptRead, ScriptReadError> readScript(std::string_view bytes)
{
    ScriptRead read;
    ScriptReadReport &report = read.report;
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
        if (report.linesRead >= kLinesKept)
            continue;
        auto slots = splitLine(line, SplitMode::FullSplit);
        if (!slots)
            return ScriptReadError{reader.lineNumber(), slots.error().message};
        LineWords &words = read.lines.emplace_back();
        for (std::size_t k = 0; k < words.size(); ++k)
            words[k] = (*slots)[static_cast<int>(k)];
        if (report.linesInFile <= kGridLines && slots->usedCount() > static_cast<int>(words.size()))
            report.wordsPastFourth.push_back({report.linesInFile, wordsPastFourth(*slots)});
        if (report.linesInFile <= kGridLines && slots->gluedHash)
            report.gluedHash.push_back({report.linesInFile, std::string(line)});
        ++report.linesRead;
    }
    return read;
}

} // namespace cw
