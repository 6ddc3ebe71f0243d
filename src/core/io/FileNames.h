#pragma once

#include <string_view>

namespace cw {

// Why a name typed by the user cannot be a file of its own in one folder on every
// system the game runs on; None when it can.
enum class NameProblem {
    None,
    Empty,
    Reserved,           // a path separator, one of < > : " | ? *, or "." or ".."
    ControlCharacter,   // a byte below 32
    TrailingBlankOrDot, // Windows drops them, so the file would get another name
    DeviceName,         // CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension
    TooLong,            // more than 255 bytes
};

NameProblem plainFileNameProblem(std::string_view name);

} // namespace cw
