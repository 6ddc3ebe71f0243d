#include "core/find/ModFind.h"

#include "core/check/Checker.h"
#include "core/io/Files.h"
#include "core/script/ScriptDocument.h"
#include "core/text/Codepage.h"
#include "core/text/LineReader.h"
#include "core/workspace/ModLayout.h"

#include <array>

namespace cw::find {
namespace {

// The code page's letters, each with its lower case: A-Z, Š Œ Ž Ÿ and À-Þ but ×.
constexpr std::array<unsigned char, 256> lowerTable()
{
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b)
        table[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7)
            table[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 32);
    table[0x8A] = 0x9A;
    table[0x8C] = 0x9C;
    table[0x8E] = 0x9E;
    table[0x9F] = 0xFF;
    return table;
}

constexpr std::array<unsigned char, 256> kLower = lowerTable();

unsigned char lower(char c)
{
    return kLower[static_cast<unsigned char>(c)];
}

bool isWordByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    if ((b >= '0' && b <= '9') || b == '_' || kLower[b] != b)
        return true;
    // The lower-case letters: those some upper-case letter folds to, and ß, ÿ.
    return (b >= 'a' && b <= 'z') || b == 0x9A || b == 0x9C || b == 0x9E || b == 0xDF ||
           (b >= 0xE0 && b != 0xF7);
}

bool sameAt(std::string_view line, std::size_t at, std::string_view text, bool matchCase)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char a = line[at + i];
        const char b = text[i];
        if (matchCase ? a != b : lower(a) != lower(b))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::size_t> matchesIn(std::string_view line, std::string_view text, const Options &options)
{
    std::vector<std::size_t> found;
    if (text.empty() || text.size() > line.size())
        return found;
    for (std::size_t at = 0; at + text.size() <= line.size();) {
        const bool whole =
            !options.wholeWord || ((at == 0 || !isWordByte(line[at - 1])) &&
                                   (at + text.size() == line.size() || !isWordByte(line[at + text.size()])));
        if (whole && sameAt(line, at, text, options.matchCase)) {
            found.push_back(at);
            at += text.size();
        } else {
            ++at;
        }
    }
    return found;
}

std::vector<std::filesystem::path> scriptFiles(const std::filesystem::path &modFolder)
{
    std::vector<std::filesystem::path> files;
    const std::filesystem::path scripts = findNoCase(modFolder, layout::kScriptsFolder);
    if (auto names = listFolder(scripts, EntryKind::Files, layout::kScriptPattern)) {
        for (const std::string &name : *names)
            files.push_back(scripts / pathFromName(name));
    }
    return files;
}

std::vector<std::filesystem::path> searchedFiles(const std::filesystem::path &modFolder)
{
    std::vector<std::filesystem::path> files = scriptFiles(modFolder);
    for (std::filesystem::path &strings : check::modStringsFiles(modFolder))
        files.push_back(std::move(strings));
    return files;
}

std::vector<Match> findInFile(const std::filesystem::path &file, std::string_view bytes,
                              std::string_view text, const Options &options)
{
    std::vector<Match> matches;
    const std::optional<std::string> wanted = cp1252::fromUtf8(text);
    if (!wanted || wanted->empty())
        return matches;
    LineReader reader(bytes, LineEnds::Any);
    std::string_view line;
    while (reader.next(line)) {
        std::vector<std::size_t> at = matchesIn(line, *wanted, options);
        if (!at.empty())
            matches.push_back({file, reader.lineNumber(), cp1252::toUtf8(line), std::move(at)});
    }
    return matches;
}

std::vector<RowMatch> findInRows(const ScriptDocument &document, std::string_view text,
                                 const Options &options)
{
    std::vector<RowMatch> found;
    if (text.empty())
        return found;
    // Matched as the file will hold the text, in the code page, so that letters beyond
    // ASCII fold as they do there; offsets go back to the UTF-8 the row holds.
    const std::optional<std::string> wanted = cp1252::fromUtf8(text);
    const auto search = [&](int row, int column, std::string_view shown) {
        const std::optional<std::string> bytes = wanted ? cp1252::fromUtf8(shown) : std::nullopt;
        const std::string_view haystack = bytes ? std::string_view(*bytes) : shown;
        const std::string_view needle = bytes ? std::string_view(*wanted) : text;
        // A row the code page cannot hold is matched as typed, letter case and all: its
        // bytes are UTF-8, which the code page's folding would mistake.
        const Options how = bytes ? options : Options{true, options.wholeWord};
        for (const std::size_t at : matchesIn(haystack, needle, how)) {
            const std::size_t offset = bytes ? cp1252::toUtf8(haystack.substr(0, at)).size() : at;
            const std::size_t length =
                bytes ? cp1252::toUtf8(haystack.substr(at, needle.size())).size() : needle.size();
            found.push_back({row, column, offset, length});
        }
    };
    for (int r = 0; r < ScriptDocument::kRows; ++r) {
        const ScriptRow &row = document.row(r);
        search(r, 0, row.command.str());
        if (row.stringsVisible)
            search(r, 1, row.stringsText.str());
        for (int k = 0; k < 4; ++k) {
            const ScriptRow::Field &field = row.fields[static_cast<std::size_t>(k)];
            if (field.visible)
                search(r, 2 + k, field.text.str());
        }
    }
    return found;
}

RowsChange replaceInRows(ScriptDocument &document, const std::vector<RowMatch> &matches,
                         std::string_view replacement)
{
    return document.together([&] {
        // Each text from its last match to its first, so that the offsets before stay true.
        for (auto m = matches.rbegin(); m != matches.rend(); ++m) {
            const ScriptRow &row = document.row(m->row);
            const SharedText &shown = m->column == 0 ? row.command
                                      : m->column == 1
                                          ? row.stringsText
                                          : row.fields[static_cast<std::size_t>(m->column - 2)].text;
            std::string text = shown.str();
            if (m->offset + m->length > text.size())
                continue;
            text.replace(m->offset, m->length, replacement);
            if (m->column == 0)
                static_cast<void>(document.typeCommand(m->row, text));
            else if (m->column == 1)
                static_cast<void>(document.typeStringsText(m->row, text));
            else
                static_cast<void>(document.setArgument(m->row, m->column - 2, text));
        }
    });
}

} // namespace cw::find
