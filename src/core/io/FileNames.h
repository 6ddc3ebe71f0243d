#pragma once

#include <string>
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

// Whether a name typed by the user can be a file of its own in one folder on every
// system the game runs on: not empty, no path separator, not "." or "..", none of the
// characters Windows forbids in names (< > : " | ? * and control characters), no
// trailing blank or dot (Windows drops them), not a device name such as CON or LPT1,
// and at most 255 bytes.
inline bool isPlainFileName(std::string_view name)
{
    return plainFileNameProblem(name) == NameProblem::None;
}

// A script's file name as typed, with ".txt" added unless it ends in ".txt" in any
// letter case: the script lists show only "*.txt", so a script saved under another
// name would vanish from them.
std::string withScriptExtension(std::string_view name);

// Whether `name` matches a pattern of * and ? wildcards, without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace cw
