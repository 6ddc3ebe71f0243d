#pragma once

#include <string>
#include <string_view>

namespace cw {

// Folds a name for comparisons that ignore letter case: every byte from 64 to 96 moves
// up by 32, so A-Z become a-z and @ [ \ ] ^ _ ` become ` { | } ~ DEL 0x80. Nothing
// else changes. Folding is applied once per comparison; it is not idempotent.
std::string foldName(std::string_view text);

// foldName(a) == foldName(b), without building either.
bool foldedEqual(std::string_view a, std::string_view b);

} // namespace cw
