#include "core/strings/CaptionLayout.h"

#include <algorithm>

namespace cw {
namespace {

// In a strings text the two characters backslash and n stand for a line break.
constexpr std::string_view kBreak = "\\n";

// One stretch of text between breaks, wrapped as the game wraps it: a line longer than
// N - 1 characters breaks at its last blank within them, which goes; without one it is
// cut at N - 1 and the rest of the stretch is dropped.
void wrap(std::string_view stretch, std::size_t wrapAt, CaptionLayout &out)
{
    const std::size_t longest = wrapAt - 1;
    while (stretch.size() > longest) {
        const std::size_t blank = stretch.rfind(' ', longest - 1);
        if (blank == std::string_view::npos) {
            // A cut that drops only blanks (the one a "\n" leaves after a word of N - 1
            // characters) loses no word.
            const std::string_view rest = stretch.substr(longest);
            if (rest.find_first_not_of(' ') != std::string_view::npos)
                out.lost.push_back(
                    {out.lines.size(), std::string(stretch.substr(0, stretch.find(' '))), std::string(rest)});
            out.lines.emplace_back(stretch.substr(0, longest));
            return;
        }
        out.lines.emplace_back(stretch.substr(0, blank));
        stretch.remove_prefix(blank + 1);
    }
    out.lines.emplace_back(stretch);
}

void showLines(CaptionLayout &out)
{
    const std::size_t most = static_cast<std::size_t>(captionBox(out.mode).maxLines);
    out.shownCount = std::min(out.lines.size(), most);
    // The newest line is typed at the bottom of the normal box and pushes the older up.
    out.firstShown = out.mode == CaptionMode::Normal ? out.lines.size() - out.shownCount : 0;
}

} // namespace

CaptionLayout layOutExpandedCaption(std::string_view expanded, CaptionMode mode)
{
    CaptionLayout out;
    out.mode = mode;
    out.cut = expanded.size() > kLongestCaption;
    std::string_view text = expanded.substr(0, kLongestCaption);
    const auto wrapAt = static_cast<std::size_t>(captionBox(mode).wrap);
    // Each "\n" becomes a blank and a line break; nothing after the last break is no line.
    std::string stretch;
    while (!text.empty()) {
        const std::size_t at = text.find(kBreak);
        stretch.assign(text.substr(0, at));
        if (at == std::string_view::npos) {
            wrap(stretch, wrapAt, out);
            break;
        }
        stretch += ' ';
        wrap(stretch, wrapAt, out);
        text.remove_prefix(at + kBreak.size());
    }
    showLines(out);
    return out;
}

CaptionLayout layOutCaption(std::string_view text, const PhraseLookup &phrase, CaptionMode mode)
{
    const ExpandedCaption expanded = expandCaption(text, phrase);
    CaptionLayout out = layOutExpandedCaption(expanded.text, mode);
    out.unclosed = expanded.unclosed;
    return out;
}

} // namespace cw
