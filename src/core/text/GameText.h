#pragma once

#include <string_view>
#include <vector>

// How the game itself reads the words and numbers of its text files (scripts, strings
// files, preferences), which differs from the editor's reading: there is no quoting,
// ":" and "," separate as blanks do, and a "#" starts a comment only where a word
// could start.
namespace cw {

// Space, tab, CR, LF, ":" and ",".
bool isGameSeparator(char c);

// The words of a line as the game splits it: runs of separators count as one; a "#"
// where a word could start ends the line; a "#" glued to the end of a word ends that
// word and is skipped, so "CamMove m#x 3" reads "CamMove", "m", "x" and "3".
std::vector<std::string_view> gameWords(std::string_view line);
// The same into `words`, whose storage a caller reading many lines keeps.
void gameWords(std::string_view line, std::vector<std::string_view> &words);

// Whether the line holds a "#" glued to a word before its comment, if any.
bool hasGluedHash(std::string_view line);

// A number as the game reads it (atoi or atof): the longest numeric start of the word,
// 0 when there is none; `whole` when the whole word is that number.
struct GameNumber
{
    double value = 0;
    bool whole = false;
};
GameNumber readGameNumber(std::string_view word, bool integer);

} // namespace cw
