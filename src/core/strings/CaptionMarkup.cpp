#include "core/strings/CaptionMarkup.h"

#include "core/text/Folding.h"

#include <algorithm>
#include <array>
#include <utility>

namespace cw {
namespace {

// The game's phrases never nest this deep; a phrase that names itself must not loop.
constexpr int kDeepestPhrase = 4;

constexpr std::string_view kKeyMarker = "KEY";
constexpr std::string_view kKeyboardBranch = "IFMODE KEYBOARD";
constexpr std::string_view kOtherBranch = "IFMODE ";
constexpr std::string_view kElse = "[ELSE]";
constexpr std::string_view kEndIf = "[ENDIF]";

// The bindings of the game's input_preferences.txt that captions name.
constexpr std::array<std::pair<std::string_view, std::string_view>, 2> kDefaultKeys{{
    {"SepulvedaHelp", "H"},
    {"IconsTaskManagerDisplay", "tab"},
}};

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

class Expander
{
public:
    Expander(const PhraseLookup &phrase, ExpandedCaption &out) : m_phrase(phrase), m_out(out) {}

    void run(std::string_view text, int depth)
    {
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t open = text.find('[', at);
            append(text.substr(at, open - at));
            if (open == std::string_view::npos)
                return;
            const std::size_t close = text.find(']', open + 1);
            if (close == std::string_view::npos) {
                m_out.unclosed = true;
                return;
            }
            const std::string_view marker = text.substr(open + 1, close - open - 1);
            at = close + 1;
            if (startsWith(marker, kKeyMarker)) {
                key(marker.substr(kKeyMarker.size()));
            } else if (marker == kKeyboardBranch) {
                // The keyboard branch shows; the rest up to [ENDIF] does not.
                const std::size_t elseAt = text.find(kElse, at);
                const std::size_t endAt = text.find(kEndIf, at);
                run(text.substr(at, std::min(elseAt, endAt) - at), depth);
                at = endAt == std::string_view::npos ? text.size() : endAt + kEndIf.size();
            } else if (startsWith(marker, kOtherBranch) || marker == kElse.substr(1, 4) ||
                       marker == kEndIf.substr(1, 5)) {
                // Only the keyboard test is understood: other markers go, both branches show.
            } else {
                phrase(marker, depth);
            }
        }
    }

private:
    void append(std::string_view text)
    {
        m_out.text += text;
        m_out.shortest += text.size();
        m_out.longest += text.size();
    }

    void key(std::string_view control)
    {
        if (const auto name = defaultKeyName(control)) {
            append(*name);
            return;
        }
        m_out.text += '<';
        m_out.text += control;
        m_out.text += '>';
        m_out.shortest += 1;
        m_out.longest += kLongestKeyName;
        ++m_out.unknownKeys;
    }

    void phrase(std::string_view name, int depth)
    {
        if (depth >= kDeepestPhrase || !m_phrase)
            return;
        const GameStrings::Said said = m_phrase(name);
        if (said.found == GameStrings::Found::Text) {
            run(said.text, depth + 1);
        } else if (said.found == GameStrings::Found::Unknown) {
            m_out.longest += kLongestCaption;
            ++m_out.unknownPhrases;
        }
    }

    const PhraseLookup &m_phrase;
    ExpandedCaption &m_out;
};

} // namespace

ExpandedCaption expandCaption(std::string_view text, const PhraseLookup &phrase)
{
    ExpandedCaption out;
    // Expanding loops for ever at a "[" that no "]" follows, wherever it stands.
    const std::size_t lastOpen = text.rfind('[');
    if (lastOpen != std::string_view::npos && text.find(']', lastOpen) == std::string_view::npos) {
        out.unclosed = true;
        return out;
    }
    Expander(phrase, out).run(text, 0);
    out.shortest = std::min(out.shortest, kLongestCaption);
    out.longest = std::min(out.longest, kLongestCaption);
    return out;
}

std::optional<std::string_view> defaultKeyName(std::string_view control)
{
    constexpr std::string_view kKeyboardVariant = "_kbd";
    if (control.size() > kKeyboardVariant.size() &&
        equalNoCase(control.substr(control.size() - kKeyboardVariant.size()), kKeyboardVariant))
        control.remove_suffix(kKeyboardVariant.size());
    for (const auto &[name, key] : kDefaultKeys) {
        if (equalNoCase(name, control))
            return key;
    }
    return std::nullopt;
}

} // namespace cw
