#pragma once

#include "core/strings/GameStrings.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Sepulveda's captions as the game shows them: the markup of a strings text is expanded
// once, when the table is built, and a caption's time on screen follows the length of
// what is left. Key names come from the game's default bindings; where a binding is not
// known, so is the name's length, which is then a range.
namespace cw {

// The game keeps at most this many characters of a caption.
inline constexpr std::size_t kLongestCaption = 1023;
// How long the name of a key may be when its binding is not known ("tab", "space",
// "right shift", ...): from one character up to this many.
inline constexpr std::size_t kLongestKeyName = 12;

struct ExpandedCaption
{
    // As the keyboard player sees it, in the code page; a key of unknown binding shows
    // as its control's name in angle brackets.
    std::string text;
    // The characters the game counts, each "\n" pair as 2, at most kLongestCaption.
    std::size_t shortest = 0;
    std::size_t longest = 0;
    int unknownKeys = 0;    // [KEYx] whose binding the defaults do not give
    int unknownPhrases = 0; // [name] not known: the game's own table was not read
    bool unclosed = false;  // a "[" with no "]" after it: the game loops for ever
};

// A phrase for "[name]" markup, looked up as a Say looks its key up.
using PhraseLookup = std::function<GameStrings::Said(std::string_view name)>;

// Expands `text` (in the code page) in keyboard mode. Phrases are expanded within
// phrases, to a depth the game's own texts never reach.
ExpandedCaption expandCaption(std::string_view text, const PhraseLookup &phrase);

// The name the game's default bindings give a control ("SepulvedaHelp" -> "H"), in any
// letter case, a "_kbd" variant as its control; empty when not known.
std::optional<std::string_view> defaultKeyName(std::string_view control);

} // namespace cw
