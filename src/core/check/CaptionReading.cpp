#include "core/check/CheckRules.h"

#include "core/strings/CaptionLayout.h"
#include "core/strings/GameStrings.h"
#include "core/timeline/Timeline.h"

#include <algorithm>

// How a caption fits Sepulveda's box: the box wraps and shows lines differently in
// normal and cutscene mode, and which one a caption shows in follows the camera, as
// the timeline plays the script.
namespace cw::check::detail {
namespace {

using timeline::kCutsceneMode;
using timeline::kEitherMode;
using timeline::kNormalMode;

struct Laid
{
    CaptionLayout normal;
    CaptionLayout cutscene;
};

std::string lines(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " line" : " lines");
}

std::string theFirst(std::size_t count)
{
    return count == 1 ? "the first scrolls away before the last is typed"
                      : "the first " + std::to_string(count) + " scroll away before the last is typed";
}

std::string theLast(std::size_t count)
{
    return count == 1 ? "the last falls off its bottom"
                      : "the last " + std::to_string(count) + " fall off its bottom";
}

// Where the camera's mode is not known and the finding holds in one mode only, it says
// so and what the other mode does.
std::string eitherMode(unsigned modes, bool normal, bool cutscene, std::string_view fine)
{
    if (modes != kEitherMode || (normal && cutscene))
        return "";
    return std::string(" (the camera may be in either mode here; in ") + (normal ? "cutscene" : "normal") +
           " mode " + std::string(fine) + ")";
}

void tooTall(std::string_view key, const Laid &laid, unsigned modes, const LineReport &report)
{
    const bool normal = (modes & kNormalMode) && laid.normal.hidden() > 0;
    const bool cutscene = (modes & kCutsceneMode) && laid.cutscene.hidden() > 0;
    if (!normal && !cutscene)
        return;
    std::string message = "the caption " + quoted(key) + " takes ";
    if (normal) {
        message += lines(laid.normal.lines.size()) + " in normal mode, more than the " +
                   std::to_string(kNormalMaxLines) + " its box shows: " + theFirst(laid.normal.hidden());
    }
    if (cutscene) {
        message += std::string(normal ? "; and " : "") + lines(laid.cutscene.lines.size()) +
                   " in cutscene mode, more than the " + std::to_string(kCutsceneMaxLines) +
                   " that fit on the screen: " + theLast(laid.cutscene.hidden());
    }
    report.add(Severity::Warning, "caption-too-tall",
               message + eitherMode(modes, normal, cutscene, "it fits"));
}

// The words a cut goes through in one mode, each with what it loses.
std::string cutWords(const CaptionLayout &layout)
{
    std::string text = std::string("in ") + (layout.mode == CaptionMode::Normal ? "normal" : "cutscene") +
                       " mode, where a line holds " + std::to_string(captionBox(layout.mode).wrap - 1) +
                       " characters, the game cuts ";
    for (std::size_t i = 0; i < layout.lost.size(); ++i) {
        const LostText &lost = layout.lost[i];
        text += (i == 0                        ? ""
                 : i + 1 == layout.lost.size() ? " and "
                                               : ", ") +
                detail::quoted(lost.word) + " and loses " + detail::quoted(lost.lost);
    }
    return text;
}

void wordTooLong(std::string_view key, const Laid &laid, unsigned modes, const LineReport &report)
{
    const bool normal = (modes & kNormalMode) && !laid.normal.lost.empty();
    const bool cutscene = (modes & kCutsceneMode) && !laid.cutscene.lost.empty();
    if (!normal && !cutscene)
        return;
    std::string message = "the caption " + quoted(key) + " has a word longer than a line, and the rest of " +
                          "that line up to its \\n never shows: ";
    if (normal)
        message += cutWords(laid.normal);
    if (cutscene)
        message += (normal ? "; " : "") + cutWords(laid.cutscene);
    report.add(Severity::Warning, "word-too-long",
               message + eitherMode(modes, normal, cutscene, "nothing is lost"));
}

} // namespace

CaptionModes::CaptionModes(std::string_view bytes, const GameStrings &strings, const ScriptContext &context)
    : m_bytes(bytes), m_strings(strings), m_context(context)
{
}

unsigned CaptionModes::at(int line)
{
    if (!m_played) {
        m_played = true;
        const timeline::Setting setting{&m_strings, m_context.levels, timeline::Start::FromScript,
                                        m_context.script};
        timeline::timeLines(timeline::linesOfFile(m_bytes), setting, [this](timeline::Entry &&entry) {
            if (entry.captionModes != 0)
                m_modes.emplace_back(entry.line, entry.captionModes);
        });
    }
    const auto found = std::lower_bound(m_modes.begin(), m_modes.end(), std::pair<int, unsigned>(line, 0));
    return found != m_modes.end() && found->first == line ? found->second : kEitherMode;
}

void checkCaption(std::string_view key, std::string_view text, const GameStrings &strings,
                  CaptionModes &modes, const LineReport &report)
{
    const ExpandedCaption expanded =
        expandCaption(text, [&strings](std::string_view name) { return strings.say(name); });
    if (expanded.unclosed)
        return; // the strings file's own finding: the game hangs before any caption shows
    const Laid laid{layOutExpandedCaption(expanded.text, CaptionMode::Normal),
                    layOutExpandedCaption(expanded.text, CaptionMode::Cutscene)};
    const bool normalFits = laid.normal.hidden() == 0 && laid.normal.lost.empty();
    const bool cutsceneFits = laid.cutscene.hidden() == 0 && laid.cutscene.lost.empty();
    if (normalFits && cutsceneFits)
        return;
    // The timeline is played for the first caption that does not fit, and only then.
    const unsigned shownIn = modes.at(report.line());
    tooTall(key, laid, shownIn, report);
    wordTooLong(key, laid, shownIn, report);
}

} // namespace cw::check::detail
