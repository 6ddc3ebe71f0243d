#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

namespace cw {
class GameStrings;
class Levels;
class ScriptDocument;
} // namespace cw

// When each line of a cutscene script runs, and how long the scene lasts, as the game
// plays it: one line per rendered frame, pauses counted in frames, Sepulveda's captions
// queued one after another at the rate the camera's mode gives them, camera glides and
// animations running beside the script. Every time is exact to the frame or a true
// bound: "at least" where the game decides a time the script does not say (a
// location's loading, a rocket, the player), a range where the script leaves a choice
// open (the camera's mode at the start, a key's name the bindings do not give).
namespace cw::timeline {

using Seconds = double;
using Frame = std::int64_t;

// The script reads one line per rendered frame; the game aims at 60 frames a second.
inline constexpr int kFramesPerSecond = 60;
inline constexpr Seconds kFrame = 1.0 / kFramesPerSecond;
// The last frame a 32-bit frame counter reaches (414 days): a pause that ends later
// never ends for anyone playing.
inline constexpr Frame kLastFrame = 0x7fffffff;
// Caption seconds per TextSpeed characters: in cutscene mode, and otherwise.
inline constexpr double kCutsceneRate = 1.6;
inline constexpr double kNormalRate = 1.1;

// A frame count in whole milliseconds, rounded. A frame is 50/3 ms, so no count falls
// half-way between two.
inline std::int64_t frameMilliseconds(std::int32_t frames)
{
    return (std::int64_t{frames} * 1000 + kFramesPerSecond / 2) / kFramesPerSecond;
}

// A moment of the script: the frames since line 1 ran, between `low` and `high`, plus
// `unknowns` pauses of a length only the game knows (each at least no time), the same
// first `unknowns` pauses of the script for every moment. Moments after the same
// unknown pauses compare by their frames, so the order of what follows a location's
// loading is still known when its clock time is not. `least` is the earliest frame it
// can be, counting the unknown pauses as no time.
struct Moment
{
    std::int32_t unknowns = 0;
    std::int32_t low = 0; // frames, at most kLastFrame
    std::int32_t high = 0;
    std::int32_t least = 0;

    static Moment at(Frame frame)
    {
        const auto f = static_cast<std::int32_t>(frame);
        return {0, f, f, f};
    }
    bool exact() const { return unknowns == 0 && low == high; }
    bool isRange() const { return unknowns == 0 && low != high; }
    Seconds earliest() const { return static_cast<Seconds>(least) / kFramesPerSecond; }
    // Empty: no upper bound ("at least earliest()").
    std::optional<Seconds> latest() const
    {
        return unknowns ? std::nullopt
                        : std::optional<Seconds>(static_cast<Seconds>(high) / kFramesPerSecond);
    }
    std::int64_t earliestMilliseconds() const { return frameMilliseconds(least); }
    std::optional<std::int64_t> latestMilliseconds() const
    {
        return unknowns ? std::nullopt : std::optional<std::int64_t>(frameMilliseconds(high));
    }
    bool operator==(const Moment &) const = default;
};

// How a timeline starts: where the script is when line 1 runs.
enum class Start {
    FromScript, // a location when a location's levels run the script, the world map when
                // only game.txt's events do; otherwise the world map when its first
                // place-bound command is EnterLocation or CamLocationFocus, else a location
    Location,
    WorldMap,
};

// What the game knows around the script: the strings its captions say, the levels its
// camera animations come from (none: their lengths are not known), where it starts.
struct Setting
{
    const GameStrings *strings = nullptr; // none: every key is unknown
    const Levels *levels = nullptr;
    Start start = Start::FromScript;
    // The script's file name: where the levels' triggers and events run it says where
    // it starts (a location's trigger before the first location command), and in which
    // location when only one runs it.
    std::string script;
};

// One line as the game reads it.
struct ScriptLine
{
    // 1-based: the line of the file as text editors count it, or the grid row + 1.
    int number = 0;
    // In the script's code page, without its line end.
    std::string_view text;
};

// The lines of a script, handed one by one to `each`, in order. A timeline reads them
// twice, so the source must give the same lines each time.
using ScriptLines = std::function<void(const std::function<void(const ScriptLine &)> &each)>;

// Every line the game reads of a script file: lines end at LF only (a CR inside a line
// separates words), blank and comment lines included, and a last line without an LF is
// left out, as the game never reads it. Numbered as text editors number lines (at CR
// LF, CR or LF), so that they match what the checker reports. `bytes` must outlive the
// result.
ScriptLines linesOfFile(std::string_view bytes);

// The rows of the editor's grid that hold a command, as Save Script would write them,
// numbered row + 1. A row holding a character the code page cannot hold is timed from
// its UTF-8 text, which splits into the same words. `document` must outlive the result.
ScriptLines linesOfDocument(const ScriptDocument &document);

// A stretch of time beside the script: a caption on screen, a camera glide.
struct Span
{
    Moment begin;
    std::optional<Moment> end; // empty: it never ends
    bool exact() const { return begin.exact() && end && end->exact(); }
};

// What a line holds the script for.
enum class Pause {
    None,
    Time,     // Wait
    Captions, // WaitSay
    Camera,   // WaitCam
    Fade,     // WaitFade
    Location, // EnterLocation: the fade-out and the loading
    Rocket,   // WaitRocket
    Player,   // WaitPlayerNotBusy
    Credits,  // RunCredits
    Hang,     // a Say whose text holds a "[" never closed: the game loops for ever
    Stops,    // a CamAnim its mission does not define: the game stops with an error
};

enum class CameraMove { None, Glide, Cut, Animation };

// The camera's mode as it decides the captions' rate: cutscene mode (building focus,
// moving to a target, doing nothing, a scripted globe mode) or the player's camera.
enum CaptionModes : unsigned { kNormalMode = 1, kCutsceneMode = 2, kEitherMode = 3 };

// One line that holds a command.
struct Entry
{
    int line = 0;
    std::string command;          // the command word as written, in the code page
    std::optional<Moment> start;  // empty when an earlier line never lets the script go on
    std::optional<Moment> resume; // empty when the script never goes on after this line
    Pause pause = Pause::None;
    bool onWorldMap = false;     // the line runs on the world map
    std::optional<Span> caption; // a Say whose caption is shown (cut short by a ShutUp)
    std::string captionText;     // that caption's text, UTF-8, its markup expanded
    unsigned captionModes = 0;   // the modes it may show in (CaptionModes)
    CameraMove camera = CameraMove::None;
    // A glide or an animation, cut short by the next camera move; a cut lasts no time.
    std::optional<Span> cameraSpan;
    std::string note; // why a time is not known, or what the game does instead

    // Every time of the line is one value.
    bool exact() const;
};

struct Summary
{
    std::optional<Moment> total; // empty: the script, a caption or a glide never ends
    bool exact = true;           // every time of every line is one value
    bool startsOnWorldMap = false;
};

struct Timeline : Summary
{
    std::vector<Entry> entries; // the lines that hold a command, in order
};

// Receives the entries one at a time, in line order, so that a large script's timeline
// need not be held at once.
using EntrySink = std::function<void(Entry &&)>;

// The times of `lines`, which follow one another one frame apart, as `setting` plays
// them.
Summary timeLines(const ScriptLines &lines, const Setting &setting, const EntrySink &sink);
Timeline computeTimeline(const ScriptLines &lines, const Setting &setting);

// Where a script starts when the user does not say: where the levels run it when they
// do, else see Start::FromScript.
bool startsOnWorldMap(const ScriptLines &lines, const Setting &setting = {});

// Times are reported to the millisecond.
double roundedToMilliseconds(Seconds seconds);
// "m:ss.sss", rounded to the millisecond.
std::string clockText(Seconds seconds);
// "0:03.200", "0:02.217 to 0:03.217" for a range, "≥ 0:03.200" for a lower bound.
std::string momentText(const Moment &moment);
std::string momentText(const std::optional<Moment> &moment); // "never" when empty
void appendMomentText(std::string &text, const std::optional<Moment> &moment);

} // namespace cw::timeline
