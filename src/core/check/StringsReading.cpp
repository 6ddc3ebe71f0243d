#include "core/check/CheckRules.h"

#include "core/io/Files.h"
#include "core/strings/GameStrings.h"
#include "core/text/GameText.h"
#include "core/workspace/ModLayout.h"

#include <algorithm>

// How the game loads a strings file: what crashes or hangs it, what it cuts, and which
// of the mod's files it reads at all.
namespace cw::check {

using namespace detail;

namespace {

// Where each key of a strings file is defined first, as the game matches keys.
class FirstDefinitions
{
public:
    explicit FirstDefinitions(std::string_view bytes) : m_bytes(bytes)
    {
        m_keys.reserve(lineCount(bytes));
        LineReader reader(bytes, LineEnds::Any);
        for (std::string_view line; reader.next(line);) {
            const std::string_view key = readGameStringsLine(line).key;
            if (!key.empty())
                m_keys.push_back(Key{static_cast<std::uint32_t>(noCaseHash(key)), reader.lineNumber(),
                                     static_cast<std::uint32_t>(key.data() - m_bytes.data()),
                                     static_cast<std::uint32_t>(key.size())});
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

    // The first line that defines `key`.
    int firstLine(std::string_view key) const
    {
        const auto hash = static_cast<std::uint32_t>(noCaseHash(key));
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
    std::string_view textOf(const Key &key) const { return m_bytes.substr(key.offset, key.length); }

    std::string_view m_bytes;
    std::vector<Key> m_keys;
};

// A key without text hands the game no text at all, which crashes it as the file loads.
void checkText(std::string_view line, const GameStringsLine &read, const LineReport &report)
{
    const std::size_t keyEnd = static_cast<std::size_t>(read.key.data() - line.data()) + read.key.size();
    if (read.text.empty()) {
        const bool blanksOnly = keyEnd < line.size() && line.find('#', keyEnd) == std::string_view::npos;
        report.add(Severity::Error, "key-without-text",
                   quoted(read.key) +
                       (blanksOnly ? " is followed only by blanks: the game reads past the end of its line"
                                   : " has no text: the game finds none") +
                       " and crashes when it loads this file");
        return;
    }
    const std::size_t textStart = static_cast<std::size_t>(read.text.data() - line.data());
    const std::size_t textEnd = textStart + read.text.size();
    if (textEnd < line.size()) {
        report.add(Severity::Warning, "hash-in-text",
                   "the text holds \"#\" after a blank, where the game cuts it: it shows only " +
                       quoted(read.text));
    } else if (keyEnd < line.size() && line[keyEnd] == '#') {
        report.add(Severity::Warning, "hash-in-text",
                   "a \"#\" glued to the key " + quoted(read.key) + " is no comment for the game: it reads " +
                       quoted(read.text) + " as the text");
    } else if (read.text.find('#') != std::string_view::npos) {
        report.add(Severity::Warning, "hash-in-text",
                   "the text holds \"#\" glued to a word: the game reads on past it, but after a blank it "
                   "would cut the text there");
    }
    for (std::size_t open = read.text.find('['); open != std::string_view::npos;
         open = read.text.find('[', open + 1)) {
        const std::size_t close = read.text.find(']', open);
        if (close == std::string_view::npos) {
            report.add(Severity::Error, "unclosed-bracket",
                       "the text opens \"[\" and never closes it: the game hangs in an endless loop at "
                       "start-up, when it builds its strings table, even if this text is never said");
            break;
        }
        open = close;
    }
}

} // namespace

void checkStrings(std::string_view bytes, const FindingSink &sink)
{
    const FirstDefinitions firsts(bytes);
    LineReader reader(bytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        const int number = reader.lineNumber();
        const LineReport report(number, sink);
        const GameStringsLine read = readGameStringsLine(line);
        checkGameLineEnd(reader.lineEnd(), reader.atEnd(), !read.key.empty(), "reads", report);
        if (read.key.empty())
            continue;
        checkText(line, read, report);
        const int first = firsts.firstLine(read.key);
        if (first != number) {
            report.add(Severity::Warning, "duplicate-key",
                       quoted(read.key) + " is defined again (first on line " + std::to_string(first) +
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

std::vector<fs::path> modStringsFiles(const fs::path &modFolder)
{
    std::vector<fs::path> files;
    std::error_code code;
    const fs::path defaults = findNoCase(modFolder, layout::kStringsFile);
    if (fs::is_regular_file(defaults, code))
        files.push_back(defaults);
    if (auto names = listFolder(modFolder, EntryKind::Files, layout::stringsFileFor("*"))) {
        for (const std::string &name : *names) {
            if (!equalNoCase(name, layout::kStringsFile))
                files.push_back(modFolder / pathFromName(name));
        }
    }
    const fs::path language = findNoCase(modFolder, layout::kLanguageFolder);
    if (auto names = listFolder(language, EntryKind::Files, layout::kScriptPattern)) {
        for (const std::string &name : *names)
            files.push_back(language / pathFromName(name));
    }
    return files;
}

void checkModStringsFile(const fs::path &file, std::string_view bytes, const GameStrings &strings,
                         const FindingSink &sink)
{
    const fs::path &read = strings.modTableFile();
    if (equalNoCase(nameOf(file.filename()), layout::kStringsFile) && !read.empty() &&
        !equalNoCase(nameOf(read.filename()), layout::kStringsFile)) {
        LineReport(1, sink).add(Severity::Warning, "ignored-strings-file",
                                "the game reads " + shown(nameOf(read.filename())) + " for the language " +
                                    strings.preferences().textLanguage +
                                    " and ignores this file: nothing in it shows in the game");
    }
    checkStrings(bytes, sink);
}

} // namespace cw::check
