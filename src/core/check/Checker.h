#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {
class Catalogue;
class ScriptDocument;
} // namespace cw

// Tells modders what the game will do with their scripts and strings table: the game
// reads them by its own rules, which differ from the editor's (it splits on ":" and
// ",", keeps quotes, cuts at any "#", ends lines at LF only, drops a last line
// without a line end, and skips unknown commands silently).
namespace cw::check {

enum class Severity { Warning, Error };

struct Finding
{
    int line = 0; // 1-based, counted as text editors count lines (CR LF, CR or LF)
    Severity severity = Severity::Warning;
    std::string rule;    // short id, e.g. "missing-argument"
    std::string message; // for people, decoded to UTF-8
};

// What commands.txt cannot say about the game's commands. The README documents it.
struct GameCommandRules
{
    struct Dangerous
    {
        std::string_view command;
        std::string_view why;
    };
    struct Duration
    {
        std::string_view command;
        int argument; // 0-based
    };
    struct Optional
    {
        std::string_view command;
        int firstOptional; // 0-based index of the first argument the game may do without
    };
    std::vector<Dangerous> dangerous;
    std::vector<Duration> durations;
    std::vector<Optional> optional;
    double shortestDuration = 0.01;
    double longestDuration = 20;
};

const GameCommandRules &gameCommandRules();

// The keys of a strings table as the game reads it: the first word of each line
// (separators are blanks, ":" and ","; "#" cuts the line), without regard to case.
// Kept as 64-bit hashes, eight bytes a key whatever the table's size; two keys that
// share a hash (about one chance in 10^13 for a table of a million keys) could hide
// one missing-string warning, nothing worse.
class GameStringKeys
{
public:
    explicit GameStringKeys(std::string_view stringsBytes);
    bool contains(std::string_view key) const;

private:
    std::vector<std::uint64_t> m_keys; // sorted, unique
};

// Receives findings one at a time, in line order, so that a large file's findings
// need not all be held at once.
using FindingSink = std::function<void(Finding &&)>;

// The findings of a script (lines ended by CR LF, CR or LF, as both the editor and a
// text editor count them).
void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStringKeys &keys,
                 const FindingSink &sink);
std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStringKeys &keys);

// The findings of the editor's document as it stands, edits included: each row is
// checked as the line Save Script would write for it, at the row's own line number. A
// row holding a character the code page cannot hold is checked as an empty line and is
// a finding of its own ("not-encodable"), so the other lines still say what the game
// will do.
std::vector<Finding> checkDocument(const ScriptDocument &document, const GameStringKeys &keys);

void checkStrings(std::string_view bytes, const FindingSink &sink);
std::vector<Finding> checkStrings(std::string_view bytes);

std::string_view severityName(Severity severity);

} // namespace cw::check
