#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {
class GameStrings;
class ScriptDocument;
} // namespace cw

// When each line of a cutscene script runs, and how long the scene lasts, as the game
// plays it: one line per rendered frame, pauses in real time, Sepulveda's captions
// queued one after another, camera glides running beside the script. Where the game
// decides a time that the script does not say (a location's loading, a rocket, the
// player), the known part is counted and everything from there on is marked not exact.
namespace cw::timeline {

using Seconds = double;

// The script reads one line per rendered frame; the game aims at 60 frames a second.
inline constexpr Seconds kFrame = 1.0 / 60;
// Captions are timed as the cutscene caption box shows them: 1.6 s per TextSpeed
// characters (the box outside cutscenes takes 1.1), at most 1,023 characters.
inline constexpr double kCutsceneSecondsPerSpeed = 1.6;
inline constexpr std::size_t kLongestCaption = 1023;

// One line as the game reads it.
struct ScriptLine
{
    // 1-based: the line of the file as text editors count it, or the grid row + 1.
    int number = 0;
    // In the script's code page, without its line end.
    std::string text;
};

// Every line the game reads of a script file: lines end at LF only (a CR inside a line
// separates words), blank and comment lines included, and a last line without an LF is
// left out, as the game never reads it. Numbered as text editors number lines (at CR
// LF, CR or LF), so that they match what the checker reports.
std::vector<ScriptLine> linesOfFile(std::string_view bytes);

// The rows of the editor's grid that hold a command, as Save Script would write them,
// numbered row + 1. A row holding a character the code page cannot hold is timed from
// its UTF-8 text, which splits into the same words.
std::vector<ScriptLine> linesOfDocument(const ScriptDocument &document);

// A stretch of time beside the script: a caption on screen, a camera glide.
struct Span
{
    Seconds begin = 0;
    std::optional<Seconds> end; // empty: it never ends
    bool exact = true;          // false: its times are not known for certain
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
};

enum class CameraMove { None, Glide, Cut, Animation };

// One line that holds a command.
struct Entry
{
    int line = 0;
    std::string command;           // the command word as written, in the code page
    std::optional<Seconds> start;  // empty when an earlier line never lets the script go on
    std::optional<Seconds> resume; // empty when the script never goes on after this line
    bool exact = true;             // false: start and resume are lower bounds or guesses
    Pause pause = Pause::None;
    std::optional<Span> caption; // a Say whose caption is shown (cut short by a ShutUp)
    std::string captionText;     // that caption's text, UTF-8, its markup as written
    CameraMove camera = CameraMove::None;
    // A glide or an animation, cut short by the next camera move; a cut lasts no time.
    std::optional<Span> cameraSpan;
};

struct Timeline
{
    std::vector<Entry> entries;   // the lines that hold a command, in order
    std::optional<Seconds> total; // empty: the script, a caption or a glide never ends
    bool exact = true;
};

// The times of `lines`, which follow one another one frame apart, with the captions
// `strings` gives each Say and the TextSpeed of its preferences.
Timeline computeTimeline(const std::vector<ScriptLine> &lines, const GameStrings &strings);

// Times are reported to the millisecond.
double roundedToMilliseconds(Seconds seconds);
// "m:ss.sss", rounded to the millisecond.
std::string clockText(Seconds seconds);

} // namespace cw::timeline
