#include "core/check/Checker.h"

#include "core/check/CheckRules.h"
#include "core/script/ScriptDocument.h"
#include "core/script/ScriptRows.h"
#include "core/text/Codepage.h"
#include "core/text/GameText.h"

#include <algorithm>

namespace cw::check {

using namespace detail;

void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStrings &strings,
                 const FindingSink &sink)
{
    // The editor counts lines as text editors do, and the game's line ends differ only
    // where a line ends in CR alone, which is a finding of its own: one pass sees each
    // line as both read it, and findings come out in line order.
    LineReader reader(bytes, LineEnds::Any);
    GameReading game(catalogue, strings);
    bool reportedPast100 = false;
    for (std::string_view line; reader.next(line);) {
        const LineReport report(reader.lineNumber(), sink);
        checkPastLine100(reader.lineNumber(), line, reportedPast100, report);
        checkEditorReading(line, report);
        const std::vector<std::string_view> words = gameWords(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !words.empty(), "runs", report);
        if (!words.empty())
            game.check(words, line, reader, report);
    }
}

std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStrings &strings)
{
    std::vector<Finding> findings;
    checkScript(bytes, catalogue, strings, [&findings](Finding &&f) { findings.push_back(std::move(f)); });
    return findings;
}

std::vector<Finding> checkDocument(const ScriptDocument &document, const GameStrings &strings)
{
    std::vector<RowTexts> rows = document.texts();
    std::vector<int> unencodable;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        RowTexts encoded;
        bool ok = true;
        const auto take = [&ok](const std::string &utf8, std::string &into) {
            auto bytes = cp1252::fromUtf8(utf8);
            ok = ok && bytes.has_value();
            if (bytes)
                into = std::move(*bytes);
        };
        take(rows[r].command, encoded.command);
        for (std::size_t k = 0; k < encoded.arguments.size(); ++k)
            take(rows[r].arguments[k], encoded.arguments[k]);
        rows[r] = ok ? std::move(encoded) : RowTexts{};
        if (!ok)
            unencodable.push_back(static_cast<int>(r) + 1);
    }
    std::vector<Finding> findings = checkScript(rowsAsLines(rows), document.catalogue(), strings);
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
