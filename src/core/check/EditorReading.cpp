#include "core/check/CheckRules.h"

#include "core/catalogue/Tokenizer.h"

// How the editor reads a script line, where it differs from the game.
namespace cw::check::detail {

void checkEditorReading(std::string_view line, const LineReport &report)
{
    auto slots = splitLine(line, SplitMode::FullSplit);
    if (!slots) {
        report.add(Severity::Error, "too-many-tokens",
                   "more than 21 words on one line: the editor refuses to open the script; split the line "
                   "or shorten it");
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
}

void checkPastLine100(int lineNumber, std::string_view line, bool &reported, const LineReport &report)
{
    if (lineNumber <= 100 || reported || line.find_first_not_of(" \t") == std::string_view::npos)
        return;
    reported = true;
    report.add(Severity::Warning, "past-line-100",
               "the editor shows and saves only the first 100 lines; this line and the ones after it "
               "are lost when the script is saved from the editor");
}

} // namespace cw::check::detail
