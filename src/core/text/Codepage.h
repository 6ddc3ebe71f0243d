#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1252, the code page every Darwinia text file is written in. Decoding is
// total and encoding is its exact inverse: the five bytes the code page leaves
// undefined (81 8D 8F 90 9D) map to the C1 control characters of the same value, so
// a file read and written unchanged keeps every byte.
namespace cw::cp1252 {

char16_t toUnicode(unsigned char byte);

// The byte for a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> fromUnicode(char32_t codePoint);

// Decodes a byte string to UTF-8, for output meant for people and other tools.
std::string toUtf8(std::string_view bytes);

// Encodes UTF-8 text to the code page; nothing when it holds a character the code page
// cannot hold (or is no valid UTF-8).
std::optional<std::string> fromUtf8(std::string_view utf8);

// Whether every byte is ASCII, which reads the same in the code page and in UTF-8: such
// a text needs no conversion either way.
bool isAscii(std::string_view text);

} // namespace cw::cp1252

namespace cw {

// Whether `bytes` are well-formed UTF-8 (no overlong forms, no surrogates, nothing
// past U+10FFFF).
bool isUtf8(std::string_view bytes);

// A file name from the system, as UTF-8 text: unchanged when it is UTF-8 already (as
// names on Linux usually are), else decoded from Windows-1252 like the files' texts.
std::string nameAsUtf8(std::string_view bytes);

// UTF-8 text safe to print on one line of a terminal: every control character (C0,
// DEL and C1) is written as an escape, "\x0a" for a line feed, "\u0085" for U+0085,
// so that a name holding one can neither fake a line of output nor drive the terminal.
std::string escapeControls(std::string_view utf8);
void appendEscapedControls(std::string &out, std::string_view utf8);

} // namespace cw
