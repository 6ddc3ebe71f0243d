#pragma once

#include "core/util/Result.h"

#include <array>
#include <string>
#include <string_view>

namespace cw {

enum class SplitMode {
    FullSplit = 0,  // commands.txt and scripts: blanks separate, quotes group, "#" comments
    KeyAndRest = 1, // strings_default.txt: a key, then the rest of the line unchanged
};

inline constexpr int kTokenSlotCount = 21;

inline constexpr std::string_view kTokenizerMessage =
    "Crazy broken detected! Usually caused by opening Insurrection or other non lamewindows "
    "formatted files! Exiting...";

// The slots of one split line. Every slot is a view into the line that was split, so
// the line must outlive the slots. A slot that received no token is empty, exactly
// like a slot that received an empty token.
struct TokenSlots
{
    std::array<std::string_view, kTokenSlotCount> slot{};
    // A "#" ended a word being read ("3#slowly"): the word stays a slot of its own, but
    // the game, which reads on past such a "#", reads the line differently from the
    // slots written back with blanks between them.
    bool gluedHash = false;

    std::string_view operator[](int index) const { return slot[static_cast<std::size_t>(index)]; }
    // Number of slots up to and including the last non-empty one.
    int usedCount() const;
};

struct TokenizerError
{
    std::string message; // the tokenizer's own message, kTokenizerMessage
};

// Splits one line (without its line end) into at most 21 slots. A line that needs a
// 22nd slot fails; what the failure means is the caller's decision.
Result<TokenSlots, TokenizerError> splitLine(std::string_view line, SplitMode mode);

// Where a line was refused and why, for people and terminals alike:
// "intro.txt, line 12: more than 21 words on one line". `fileName` is shown as given.
std::string refusedLineNote(std::string_view fileName, int line);

// The tokenizer's message without its closing " Exiting...", for callers that carry
// on after a refused line.
std::string_view withoutExiting(std::string_view message);

} // namespace cw
