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

} // namespace cw::cp1252
