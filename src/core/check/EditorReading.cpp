#include "core/check/CheckRules.h"

#include "core/catalogue/Tokenizer.h"

#include <algorithm>

// How the editor reads a script line, where it differs from the game. What the editor
// cannot hold is a note: the game reads those lines all the same.
namespace cw::check::detail {

namespace {

// The editor keeps a command and four words after it (five slots of the line).
constexpr int kSlotsKept = 5;

} // namespace

void checkEditorReading(std::string_view line, const LineReport &report)
{
    auto slots = splitLine(line, SplitMode::FullSplit);
    if (!slots) {
        report.add(Severity::Note, "too-many-tokens",
                   "more than 21 words on one line: the editor refuses to open the script (the game reads "
                   "it); split the line or shorten it");
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
    for (int k = kSlotsKept; k < kTokenSlotCount; ++k) {
        const std::string_view word = (*slots)[k];
        if (!word.empty()) {
            // A comment's slot holds the rest of the line, blanks first.
            const std::size_t start = std::min(word.find_first_not_of(" \t"), word.size());
            report.add(Severity::Note, "past-fourth-argument",
                       "the editor holds a command and four words after it: " + quoted(word.substr(start)) +
                           " and what follows are lost when the script is saved from the editor");
            break;
        }
    }
}

void checkPastLine100(int lineNumber, std::string_view line, bool &reported, const LineReport &report)
{
    if (lineNumber <= 100 || reported || line.find_first_not_of(" \t") == std::string_view::npos)
        return;
    reported = true;
    report.add(Severity::Note, "past-line-100",
               "the editor shows and saves only the first 100 lines; this line and the ones after it "
               "are lost when the script is saved from the editor");
}

} // namespace cw::check::detail
