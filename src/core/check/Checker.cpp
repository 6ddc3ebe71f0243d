#include "core/check/Checker.h"

#include "core/check/CheckRules.h"
#include "core/script/ScriptDocument.h"
#include "core/text/GameText.h"

#include <algorithm>

namespace cw::check {

using namespace detail;

void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStrings &strings,
                 const FindingSink &sink)
{
    checkScript(bytes, catalogue, strings, {}, sink);
}

void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStrings &strings,
                 const ScriptContext &context, const FindingSink &sink)
{
    // The editor counts lines as text editors do, and the game's line ends differ only
    // where a line ends in CR alone, which is a finding of its own: one pass sees each
    // line as both read it, and findings come out in line order.
    LineReader reader(bytes, LineEnds::Any);
    CaptionModes captionModes(bytes, strings, context);
    GameReading game(catalogue, strings, captionModes);
    NameReading names(strings, context);
    bool reportedPast100 = false;
    for (std::string_view line; reader.next(line);) {
        const LineReport report(reader.lineNumber(), sink);
        checkPastLine100(reader.lineNumber(), line, reportedPast100, report);
        checkEditorReading(line, report);
        const std::vector<std::string_view> words = gameWords(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !words.empty(), "runs", report);
        if (!words.empty()) {
            game.check(words, line, reader, report);
            names.check(words, report);
        }
    }
}

std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStrings &strings, const ScriptContext &context)
{
    std::vector<Finding> findings;
    checkScript(bytes, catalogue, strings, context,
                [&findings](Finding &&f) { findings.push_back(std::move(f)); });
    return findings;
}

std::vector<Finding> checkDocument(const ScriptDocument &document, const GameStrings &strings,
                                   const ScriptContext &context)
{
    // The rows as lines at the line numbers the user sees, a row without a command an
    // empty line; a line saving would refuse is checked as empty, with a finding of its
    // own.
    std::string lines;
    std::vector<int> unencodable;
    for (int r = 0; r < ScriptDocument::kRows; ++r) {
        const auto line = lineBytes(document, r);
        lines += line ? *line : std::string("\r\n");
        if (!line)
            unencodable.push_back(r + 1);
    }
    std::vector<Finding> findings = checkScript(lines, document.catalogue(), strings, context);
    for (int line : unencodable) {
        findings.push_back({line, Severity::Error, "not-encodable",
                            "the line holds a character that a Darwinia script cannot hold (only "
                            "Windows-1252); the editor cannot save it"});
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return findings;
}

std::string_view severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : severity == Severity::Warning ? "warning" : "note";
}

} // namespace cw::check
