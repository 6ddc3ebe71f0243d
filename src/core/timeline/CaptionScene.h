#pragma once

#include "core/strings/CaptionLayout.h"
#include "core/timeline/Timeline.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What Sepulveda's box shows at a moment of a script, as the game draws it: the caption
// being typed, in normal mode with the older captions above it (fading out over 20 s),
// the hint at the box's bottom. Made from a timeline, so that a preview and its playing
// go by the same times as the Timeline panel.
namespace cw::timeline {

// How long an older caption stays in the normal box after it ends, fading.
inline constexpr double kCaptionHistorySeconds = 20;
// The game types a caption at TextSpeed / this many characters a second.
inline constexpr double kTypingFactor = 0.6;

// A caption the script shows, in the order they show.
struct PlayedCaption
{
    int line = 0;     // the line of the Say, from 1
    std::string text; // in the code page, markup expanded
    CaptionMode mode = CaptionMode::Normal;
    bool eitherMode = false; // the camera leaves it open: `mode` is the one asked for
    double said = 0;         // seconds from line 1, as early as each can be
    double begin = 0;
    std::optional<double> end; // empty: it never ends
};

struct PlayedCaptions
{
    std::vector<PlayedCaption> captions;
    std::optional<double> escapePermitted; // when a PermitEscape first runs
};

// The captions `timeline` shows. A caption the camera may show in either mode shows in
// `undecided`; `forced`, when given, is every caption's mode.
PlayedCaptions playedCaptions(const Timeline &timeline, CaptionMode undecided,
                              std::optional<CaptionMode> forced = std::nullopt);

struct SceneLine
{
    std::string text;   // in the code page, as much as is typed
    bool first = false; // a caption's first line, marked ">" in normal mode
    double opacity = 1;
};

struct CaptionScene
{
    CaptionMode mode = CaptionMode::Normal;
    std::vector<SceneLine> lines; // top to bottom, only those that show
    int queued = 0;               // captions said but not yet shown: the hint's " (N)"
    bool skipAll = false;         // the hint is sepulveda_skipall, not sepulveda_pressreturn
    bool typing = false;          // the current caption is not typed out yet
};

// The box `elapsed` seconds after caption `current` of `played` began, typing at
// `textSpeed` (the preference TextSpeed); a negative `elapsed` shows it typed out.
CaptionScene sceneAt(const PlayedCaptions &played, std::size_t current, double elapsed, double textSpeed);

} // namespace cw::timeline
