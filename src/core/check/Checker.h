#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {
class Catalogue;
class GameStrings;
class Levels;
class ScriptDocument;
} // namespace cw

// Tells modders what the game will do with their scripts and strings files: the game
// reads them by its own rules, which differ from the editor's (it splits on ":" and
// ",", keeps quotes, cuts at a "#" that starts a word, ends lines at LF only, drops a
// last line without a line end, skips unknown commands silently, and crashes on some
// missing arguments), and some commands crash, hang or do nothing where they stand.
namespace cw::check {

// Error: the game crashes, hangs or stops with a fatal error at this line or file.
// Warning: the game does something other than the modder probably meant. Note: worth
// knowing, not wrong.
enum class Severity { Note, Warning, Error };

struct Finding
{
    int line = 0; // 1-based, counted as text editors count lines (CR LF, CR or LF)
    Severity severity = Severity::Warning;
    std::string rule;    // short id, e.g. "missing-argument"
    std::string message; // for people, decoded to UTF-8
};

// What commands.txt cannot say about the game's commands, from the game's source. The
// manual (docs/manual.md) lists it rule by rule.
struct GameCommandRules
{
    struct Dangerous
    {
        std::string_view command;
        std::string_view why;
    };
    // A command whose missing first argument the game reads as 0, and what it then does.
    struct ReadsZero
    {
        std::string_view command;
        std::string_view then;
    };
    struct Optional
    {
        std::string_view command;
        int firstOptional; // 0-based index of the first argument the game may do without
    };
    // A glide whose duration never ends when it is negative.
    struct Glide
    {
        std::string_view command;
        int argument; // 0-based
    };
    std::vector<Dangerous> dangerous;
    std::vector<ReadsZero> readsZero;
    std::vector<Optional> optional;
    std::vector<Glide> glides;
    // Commands after which a WaitCam no longer waits for an earlier glide (a cut leaves
    // the glide going).
    std::vector<std::string_view> camera;
    // Commands that do something on the world map only.
    std::vector<std::string_view> worldMapOnly;
    // Commands that crash on the world map, and commands that do nothing there.
    std::vector<std::string_view> crashOnWorldMap;
    std::vector<std::string_view> nothingOnWorldMap;
    std::string_view wait = "Wait";
    std::string_view waitCam = "WaitCam";
    std::string_view exitLocation = "ExitLocation";
    std::string_view waitFade = "WaitFade";
    std::string_view enterLocation = "EnterLocation";
};

const GameCommandRules &gameCommandRules();

// Where a script runs: the levels of its mod (none: the names it looks up there are
// not checked) and its file name, by which the levels' triggers and events run it.
struct ScriptContext
{
    const Levels *levels = nullptr;
    std::string script;
};

// Receives findings one at a time, in line order, so that a large file's findings
// need not all be held at once.
using FindingSink = std::function<void(Finding &&)>;

// The findings of a script (lines ended by CR LF, CR or LF, as both the editor and a
// text editor count them). `strings` says what each Say finds.
void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStrings &strings,
                 const ScriptContext &context, const FindingSink &sink);
void checkScript(std::string_view bytes, const Catalogue &catalogue, const GameStrings &strings,
                 const FindingSink &sink);
std::vector<Finding> checkScript(std::string_view bytes, const Catalogue &catalogue,
                                 const GameStrings &strings, const ScriptContext &context = {});

// The findings of the editor's document as it stands, edits included: each row is
// checked as the line Save Script would write for it, at the row's own line number. A
// row holding a character the code page cannot hold is checked as an empty line and is
// a finding of its own ("not-encodable"), so the other lines still say what the game
// will do.
std::vector<Finding> checkDocument(const ScriptDocument &document, const GameStrings &strings,
                                   const ScriptContext &context = {});

// The findings of the lines of one strings file.
void checkStrings(std::string_view bytes, const FindingSink &sink);
std::vector<Finding> checkStrings(std::string_view bytes);

// Every strings file of a mod, in this order: strings_default.txt, each
// strings_<language>.txt, each language/*.txt (names in any letter case).
std::vector<std::filesystem::path> modStringsFiles(const std::filesystem::path &modFolder);

// The findings of one of those files: checkStrings, and before them, on line 1, that
// the game ignores strings_default.txt when `strings` (loaded for the mod) comes from
// the mod's strings_<language>.txt.
void checkModStringsFile(const std::filesystem::path &file, std::string_view bytes,
                         const GameStrings &strings, const FindingSink &sink);

std::string_view severityName(Severity severity);

} // namespace cw::check
