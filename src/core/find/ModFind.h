#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Finding a text in a mod's scripts and strings files, as the files hold it: plain
// text, not a pattern, matched on the bytes of the game's code page.
namespace cw::find {

struct Options
{
    bool matchCase = false; // else letters match in either case (A-Z, and the code page's À-Þ)
    bool wholeWord = false; // else a match may lie inside a word
};

// Where `text` (in the code page) occurs in `line`, left to right, never overlapping:
// the byte offset of each match. An empty text occurs nowhere. A whole word is one with
// no letter, digit or underscore just before or after it.
std::vector<std::size_t> matchesIn(std::string_view line, std::string_view text, const Options &options);

struct Match
{
    std::filesystem::path file;
    int line = 0;                // from 1
    std::string text;            // the whole line, as UTF-8
    std::vector<std::size_t> at; // byte offsets of the matches in the line as the file holds it
};

// Each script of the mod's scripts folder, by name without regard to letter case.
std::vector<std::filesystem::path> scriptFiles(const std::filesystem::path &modFolder);

// What can be searched in a mod: each script of its scripts folder (by name, without
// regard to letter case), then each of its strings files.
std::vector<std::filesystem::path> searchedFiles(const std::filesystem::path &modFolder);

// Every line of `bytes` (a file's, read as the game reads lines: CR LF, LF or CR) that
// holds `text` (UTF-8; a text the code page cannot hold matches nothing).
std::vector<Match> findInFile(const std::filesystem::path &file, std::string_view bytes,
                              std::string_view text, const Options &options);

// A match in the grid's rows: `column` 0 for the command, 1 for the strings key's
// chooser, 2 to 5 for argument fields 1 to 4; `offset` in bytes of the row's UTF-8 text.
// Only what a row shows is searched: a hidden field's text is no part of the line.
struct RowMatch
{
    int row = 0;
    int column = 0;
    std::size_t offset = 0;
    std::size_t length = 0;

    bool operator==(const RowMatch &) const = default;
};

} // namespace cw::find

namespace cw {
class ScriptDocument;
struct RowsChange;
} // namespace cw

namespace cw::find {

// Every match of `text` (UTF-8) in the document's rows, row by row, left to right. A
// text or a row that the code page cannot hold matches only as typed.
std::vector<RowMatch> findInRows(const ScriptDocument &document, std::string_view text,
                                 const Options &options);

// Puts `replacement` (UTF-8) in place of each match, as the user typing it there would,
// all as one change; only the matched bytes change.
RowsChange replaceInRows(ScriptDocument &document, const std::vector<RowMatch> &matches,
                         std::string_view replacement);

} // namespace cw::find
