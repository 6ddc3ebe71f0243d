#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The two ways names are compared without regard to letter case: the editor's folding
// of command names and strings keys, and the ASCII letter case that Windows ignores in
// file names and the game ignores in its own name matching.
namespace cw {

// Whether two names are the same as the editor compares command names and strings keys:
// each byte folded once, every byte from 64 to 96 moving up by 32, so A-Z become a-z and
// @ [ \ ] ^ _ ` become ` { | } ~ DEL 0x80. Nothing else changes, and folding is not
// repeated: "@" and "`" differ, "`" and 0x80 are the same.
bool foldedEqual(std::string_view a, std::string_view b);

// A hash that names which are foldedEqual share.
std::uint64_t foldedHash(std::string_view text);

// A-Z as a-z; every other byte as it is.
constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether two names are the same without regard to ASCII letter case.
bool equalNoCase(std::string_view a, std::string_view b);

// Orders names as the file lists do: letters folded to lower case, byte by byte, no
// locale collation, so the order is the same on every machine.
bool lessNoCase(std::string_view a, std::string_view b);

// A hash of `text` that ignores ASCII letter case: names that are equalNoCase hash
// alike. A name given in pieces hashes as the joined name when each piece continues
// the hash of the pieces before it.
inline constexpr std::uint64_t kNoCaseHashStart = 1469598103934665603ull;
std::uint64_t noCaseHash(std::string_view text, std::uint64_t hash = kNoCaseHashStart);

} // namespace cw
