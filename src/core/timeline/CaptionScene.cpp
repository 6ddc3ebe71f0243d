#include "core/timeline/CaptionScene.h"

#include "core/text/Codepage.h"
#include "core/text/Folding.h"

#include <algorithm>

namespace cw::timeline {
namespace {

CaptionMode modeOf(unsigned modes, CaptionMode undecided)
{
    if (modes == kCutsceneMode)
        return CaptionMode::Cutscene;
    if (modes == kNormalMode)
        return CaptionMode::Normal;
    return undecided;
}

// The lines of a caption as far as `typed` characters reach, each marked whether it is
// the caption's first; `typing` says whether characters are left to type.
std::vector<SceneLine> typedLines(const CaptionLayout &layout, std::size_t typed, bool &typing)
{
    std::vector<SceneLine> lines;
    std::size_t left = typed;
    std::size_t total = 0;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const std::string &line = layout.lines[i];
        total += line.size();
        if (i == 0 || left > 0)
            lines.push_back({line.substr(0, std::min(left, line.size())), i == 0, 1});
        left -= std::min(left, line.size());
    }
    typing = typed < total;
    return lines;
}

// Older captions of the normal box above `lines`, as many as it has room for.
void addHistory(const PlayedCaptions &played, std::size_t current, double now, std::vector<SceneLine> &lines)
{
    for (std::size_t j = current; j-- > 0 && lines.size() < static_cast<std::size_t>(kNormalMaxLines);) {
        const PlayedCaption &older = played.captions[j];
        const double age = older.end ? now - *older.end : 0;
        if (age > kCaptionHistorySeconds)
            break;
        if (older.mode != CaptionMode::Normal)
            continue;
        const CaptionLayout layout = layOutExpandedCaption(older.text, CaptionMode::Normal);
        const double opacity = std::clamp(1 - age / kCaptionHistorySeconds, 0.0, 1.0);
        std::vector<SceneLine> above;
        for (std::size_t i = 0; i < layout.lines.size(); ++i)
            above.push_back({layout.lines[i], i == 0, opacity});
        const std::size_t room = static_cast<std::size_t>(kNormalMaxLines) - lines.size();
        if (above.size() > room)
            above.erase(above.begin(), above.end() - static_cast<std::ptrdiff_t>(room));
        lines.insert(lines.begin(), above.begin(), above.end());
    }
}

} // namespace

PlayedCaptions playedCaptions(const Timeline &timeline, CaptionMode undecided,
                              std::optional<CaptionMode> forced)
{
    PlayedCaptions played;
    for (const Entry &entry : timeline.entries) {
        if (!played.escapePermitted && entry.start && equalNoCase(entry.command, "PermitEscape"))
            played.escapePermitted = entry.start->earliest();
        if (!entry.caption || entry.captionText.empty())
            continue;
        PlayedCaption caption;
        caption.line = entry.line;
        caption.text = cp1252::fromUtf8(entry.captionText).value_or(entry.captionText);
        caption.eitherMode = entry.captionModes != kNormalMode && entry.captionModes != kCutsceneMode;
        caption.mode = forced ? *forced : modeOf(entry.captionModes, undecided);
        caption.said = entry.start ? entry.start->earliest() : 0;
        caption.begin = entry.caption->begin.earliest();
        if (entry.caption->end)
            caption.end = entry.caption->end->earliest();
        played.captions.push_back(std::move(caption));
    }
    return played;
}

CaptionScene sceneAt(const PlayedCaptions &played, std::size_t current, double elapsed, double textSpeed)
{
    CaptionScene scene;
    if (current >= played.captions.size())
        return scene;
    const PlayedCaption &caption = played.captions[current];
    scene.mode = caption.mode;
    const CaptionLayout layout = layOutExpandedCaption(caption.text, caption.mode);
    const double now = caption.begin + std::max(elapsed, 0.0);
    const std::size_t typed =
        elapsed < 0 ? caption.text.size() : static_cast<std::size_t>(elapsed * textSpeed / kTypingFactor);
    std::vector<SceneLine> lines = typedLines(layout, typed, scene.typing);
    const auto most = static_cast<std::size_t>(captionBox(caption.mode).maxLines);
    if (caption.mode == CaptionMode::Cutscene) {
        // Top-down from the middle of the screen: the lines past the bottom never show.
        if (lines.size() > most)
            lines.resize(most);
    } else {
        // Bottom-up: the line being typed is the lowest, the first ones scroll away.
        if (lines.size() > most)
            lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(most));
        addHistory(played, current, now, lines);
    }
    scene.lines = std::move(lines);
    for (std::size_t j = current + 1; j < played.captions.size(); ++j) {
        if (played.captions[j].said <= now && played.captions[j].begin > now)
            ++scene.queued;
    }
    scene.skipAll = played.escapePermitted && *played.escapePermitted <= now;
    return scene;
}

} // namespace cw::timeline
