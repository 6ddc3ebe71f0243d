#pragma once

#include <string>
#include <string_view>

namespace cw {

// Why a name cannot be a file of its own in one folder; None when it can.
enum class NameProblem {
    None,
    Empty,
    Reserved,           // a path separator, one of < > : " | ? *, or "." or ".."
    ControlCharacter,   // a byte below 32
    TrailingBlankOrDot, // Windows drops them, so the file would get another name
    DeviceName,         // CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension
    TooLong,            // more than 255 bytes
};

// What a name must be.
enum class NameRules {
    // A name the program gives a new file (typed by the user): a file of its own in one
    // folder on every system the game runs on. Not empty, no path separator, not "." or
    // "..", none of the characters Windows forbids in names (< > : " | ? * and control
    // characters), no trailing blank or dot (Windows drops them), not a device name such
    // as CON or LPT1, and at most 255 bytes.
    EverySystem,
    // A name given for an entry that may already exist (a mod or script named to a
    // tool, a strings table named by the game's preferences): it names one entry of a
    // folder on this system and nothing else. Not empty, not "." or "..", no "/" or "\",
    // no NUL byte, and on Windows no ":", which would name a drive or a stream.
    ThisSystem,
};

NameProblem plainFileNameProblem(std::string_view name, NameRules rules = NameRules::EverySystem);

// A script's file name as typed, with ".txt" added unless it ends in ".txt" in any
// letter case: the script lists show only "*.txt", so a script saved under another
// name would vanish from them.
std::string withScriptExtension(std::string_view name);

// Whether `name` matches a pattern of * and ? wildcards, without regard to case.
bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace cw
