#pragma once

#include "core/strings/CaptionMarkup.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A caption as the player sees it in Sepulveda's box: its markup expanded, cut to the
// characters the game keeps, broken into lines by the game's own wrapping (which loses
// the rest of a line at a word too long for it), and the lines that fit the box. The
// game draws in a virtual screen 600 units high whatever the resolution, so the box's
// geometry is fixed and a preview can draw it from the numbers below.
namespace cw {

enum class CaptionMode {
    Normal,   // the player's camera: a small box at the bottom, the newest line lowest
    Cutscene, // the camera scripted: large text from the middle of the screen down
};

// The virtual screen the game draws in, and the box, centred on it.
inline constexpr double kCaptionScreenHeight = 600;
inline constexpr double kCaptionBoxWidth = 600;
// The font is monospaced: each glyph is this many times the text size wide.
inline constexpr double kCaptionGlyphWidth = 0.6;

inline constexpr int kNormalWrap = 81;
inline constexpr double kNormalTextSize = 12;
inline constexpr double kNormalLineStep = 12;
inline constexpr double kNormalFirstLineY = 580; // the newest line; older ones go up
inline constexpr int kNormalMaxLines = 11;

inline constexpr int kCutsceneWrap = 54;
inline constexpr double kCutsceneTextSize = 18;
inline constexpr double kCutsceneLineStep = 18;
inline constexpr double kCutsceneFirstLineY = 440; // the first line; later ones go down

// Lines whose top is still above the screen's bottom edge: the last of them overhangs it.
constexpr int linesFrom(double firstY, double step)
{
    int lines = 0;
    while (firstY + step * lines < kCaptionScreenHeight)
        ++lines;
    return lines;
}
inline constexpr int kCutsceneMaxLines = linesFrom(kCutsceneFirstLineY, kCutsceneLineStep);
static_assert(kCutsceneMaxLines == 9);

// One mode's box, for code that draws either.
struct CaptionBox
{
    int wrap;          // N: a line breaks within its first N - 1 characters
    double textSize;   // the glyphs' height; their width is kCaptionGlyphWidth times it
    double lineStep;   // from one line to the next
    double firstLineY; // the first line's y (normal: the newest line, at the bottom)
    bool bottomUp;     // normal mode stacks lines upwards from firstLineY
    int maxLines;
};
inline constexpr CaptionBox kNormalBox{kNormalWrap, kNormalTextSize, kNormalLineStep, kNormalFirstLineY,
                                       true,        kNormalMaxLines};
inline constexpr CaptionBox kCutsceneBox{
    kCutsceneWrap, kCutsceneTextSize, kCutsceneLineStep, kCutsceneFirstLineY, false, kCutsceneMaxLines};
constexpr const CaptionBox &captionBox(CaptionMode mode)
{
    return mode == CaptionMode::Cutscene ? kCutsceneBox : kNormalBox;
}

// Text the wrapping loses: a line without a blank within its first N - 1 characters is
// cut there, and the rest of it, up to the next "\n", never shows.
struct LostText
{
    std::size_t line = 0; // the line that was cut, 0-based in CaptionLayout::lines
    std::string word;     // the word too long for a line, which the cut goes through
    std::string lost;     // everything the cut dropped, in the code page
    bool operator==(const LostText &) const = default;
};

struct CaptionLayout
{
    CaptionMode mode = CaptionMode::Normal;
    // Every line the caption makes, first to last, in the code page, as drawn (a line
    // before a "\n" ends in the blank the game puts in its place).
    std::vector<std::string> lines;
    // The lines that show: [firstShown, firstShown + shownCount). Normal mode shows the
    // last kNormalMaxLines (the first ones scroll away off the top); cutscene mode the
    // first kCutsceneMaxLines (the rest fall off the bottom of the screen).
    std::size_t firstShown = 0;
    std::size_t shownCount = 0;
    std::vector<LostText> lost;
    bool cut = false;      // the expanded text was longer than kLongestCaption
    bool unclosed = false; // a "[" never closed: the game hangs, nothing shows

    std::span<const std::string> shown() const { return {lines.data() + firstShown, shownCount}; }
    // Lines scrolled away (normal mode) or off the screen (cutscene mode).
    std::size_t hidden() const { return lines.size() - shownCount; }
};

// Lays out `expanded`, a caption whose markup is already expanded (expandCaption's text),
// in `mode`.
CaptionLayout layOutExpandedCaption(std::string_view expanded, CaptionMode mode);

// Expands `text` (a strings text as the file gives it, in the code page) in keyboard
// mode with `phrase` for its "[name]" markup, and lays it out in `mode`.
CaptionLayout layOutCaption(std::string_view text, const PhraseLookup &phrase, CaptionMode mode);

} // namespace cw
