#include "core/check/Checker.h"

#include "core/check/CheckRules.h"
#include "core/script/ScriptDocument.h"
#include "core/script/ScriptRows.h"
#include "core/text/Codepage.h"

#include <algorithm>
#include <cstdint>

namespace cw::check {

using namespace detail;

void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStringKeys &keys,
                 const FindingSink &sink)
{
    // The editor and the game end lines alike (the editor's way), so one pass sees
    // each line as both read it, and findings come out in line order.
    LineReader reader(bytes, LineEnds::Any);
    bool reportedPast100 = false;
    for (std::string_view line; reader.next(line);) {
        const LineReport report(reader.lineNumber(), sink);
        checkPastLine100(reader.lineNumber(), line, reportedPast100, report);
        checkEditorReading(line, report);
        const std::vector<std::string_view> words = gameWords(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !words.empty(), "runs", report, Severity::Error);
        if (!words.empty())
            checkGameReading(words, catalogue, keys, report);
    }
}

std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStringKeys &keys)
{
    std::vector<Finding> findings;
    checkScript(bytes, catalogue, keys, [&findings](Finding &&f) { findings.push_back(std::move(f)); });
    return findings;
}

std::vector<Finding> checkDocument(const ScriptDocument &document, const GameStringKeys &keys)
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
    std::vector<Finding> findings = checkScript(rowsAsLines(rows), document.catalogue(), keys);
    for (int line : unencodable) {
        findings.push_back({line, Severity::Error, "not-encodable",
                            "the line holds a character that a Darwinia script cannot hold (only "
                            "Windows-1252); the editor cannot save it"});
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return findings;
}

namespace {

// Where each key of a strings table is defined first, as the game matches keys.
class FirstDefinitions
{
public:
    explicit FirstDefinitions(std::string_view bytes) : m_bytes(bytes)
    {
        m_keys.reserve(lineCount(bytes));
        LineReader reader(bytes, LineEnds::Any);
        for (std::string_view line; reader.next(line);) {
            const auto words = gameWords(line);
            if (!words.empty())
                m_keys.push_back(Key{static_cast<std::uint32_t>(keyHash(words.front())), reader.lineNumber(),
                                     offsetOf(words.front()),
                                     static_cast<std::uint32_t>(words.front().size())});
        }
        // By key, then by line; a key's first definition comes first among equals.
        std::sort(m_keys.begin(), m_keys.end(), [this](const Key &a, const Key &b) {
            if (a.hash != b.hash)
                return a.hash < b.hash;
            const std::string_view x = textOf(a), y = textOf(b);
            if (!equalNoCase(x, y))
                return lessNoCase(x, y);
            return a.line < b.line;
        });
    }

    // The first line that defines `key`, which is defined on `line`.
    int firstLine(std::string_view key) const
    {
        const auto hash = static_cast<std::uint32_t>(keyHash(key));
        auto it = std::lower_bound(m_keys.begin(), m_keys.end(), hash,
                                   [](const Key &k, std::uint32_t h) { return k.hash < h; });
        for (; it != m_keys.end() && it->hash == hash; ++it) {
            if (equalNoCase(textOf(*it), key))
                return it->line;
        }
        return 0;
    }

private:
    // Sixteen bytes a key line: a strings table of a million short lines stays small.
    struct Key
    {
        std::uint32_t hash;
        int line;
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::uint32_t offsetOf(std::string_view part) const
    {
        return static_cast<std::uint32_t>(part.data() - m_bytes.data());
    }
    std::string_view textOf(const Key &key) const { return m_bytes.substr(key.offset, key.length); }

    std::string_view m_bytes;
    std::vector<Key> m_keys;
};

} // namespace

void checkStrings(std::string_view bytes, const FindingSink &sink)
{
    const FirstDefinitions firsts(bytes);
    LineReader reader(bytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        const int number = reader.lineNumber();
        const LineReport report(number, sink);
        const auto words = gameWords(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !words.empty(), "reads", report,
                         Severity::Warning);
        if (words.empty())
            continue;
        const std::size_t hash = line.find('#');
        if (hash != std::string_view::npos) {
            // The text starts after the separators that follow the key.
            std::size_t text =
                static_cast<std::size_t>(words.front().data() - line.data()) + words.front().size();
            while (text < hash && isGameSeparator(line[text]))
                ++text;
            report.add(Severity::Warning, "hash-in-text",
                       "the text holds \"#\", where the game cuts it: it shows only " +
                           quoted(line.substr(text, hash - text)));
        }
        const int first = firsts.firstLine(words.front());
        if (first != number) {
            report.add(Severity::Warning, "duplicate-key",
                       quoted(words.front()) + " is defined again (first on line " + std::to_string(first) +
                           "); the game uses this later one");
        }
    }
}

std::vector<Finding> checkStrings(std::string_view bytes)
{
    std::vector<Finding> findings;
    checkStrings(bytes, [&findings](Finding &&f) { findings.push_back(std::move(f)); });
    return findings;
}

std::string_view severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

} // namespace cw::check
