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

// What can be searched in a mod: each script of its scripts folder (by name, without
// regard to letter case), then each of its strings files.
std::vector<std::filesystem::path> searchedFiles(const std::filesystem::path &modFolder);

// Every line of `bytes` (a file's, read as the game reads lines: CR LF, LF or CR) that
// holds `text` (UTF-8; a text the code page cannot hold matches nothing).
std::vector<Match> findInFile(const std::filesystem::path &file, std::string_view bytes,
                              std::string_view text, const Options &options);

} // namespace cw::find
