#include "core/text/Codepage.h"

#include <cstdint>
#include <cstring>

#include <algorithm>
#include <array>

namespace cw::cp1252 {
namespace {

// 0x80..0x9F; the undefined positions map to themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

char16_t toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80u];
    return byte;
}

std::optional<unsigned char> fromUnicode(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<unsigned char>(codePoint);
    for (unsigned i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == codePoint)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::string toUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> fromUtf8(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x6  ? 2
                           : (lead >> 4) == 0xE  ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size())
            return std::nullopt;
        char32_t codePoint = length == 1 ? lead : lead & (0x7Fu >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        const auto byte = fromUnicode(codePoint);
        if (!byte)
            return std::nullopt;
        bytes.push_back(static_cast<char>(*byte));
        i += static_cast<std::size_t>(length);
    }
    return bytes;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace cw::cp1252

namespace cw {

bool isUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07u;
        } else {
            return false;
        }
        if (bytes.size() - i < static_cast<std::size_t>(length))
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
        if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

std::string nameAsUtf8(std::string_view bytes)
{
    return isUtf8(bytes) ? std::string(bytes) : cp1252::toUtf8(bytes);
}

namespace {

// Whether any of the 8 bytes at `p` is below 0x20, 0x7F, or 0xC2 (the lead of a C1
// control), tested on all of them at once.
bool mayStartEscape(const char *p)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    const auto hasZero = [](std::uint64_t v) {
        return ((v - kOnes) & ~v & kHighs) != 0;
    };
    const bool below20 = ((x - kOnes * 0x20) & ~x & kHighs) != 0;
    return below20 || hasZero(x ^ (kOnes * 0x7F)) || hasZero(x ^ (kOnes * 0xC2));
}

} // namespace

void appendEscapedControls(std::string &out, std::string_view utf8)
{
    static const char kHex[] = "0123456789abcdef";
    std::size_t plain = 0; // the start of the bytes not yet copied that need no escape
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        // Eight bytes at a time past those that cannot start an escape.
        while (i + 8 <= utf8.size() && !mayStartEscape(utf8.data() + i))
            i += 8;
        if (i == utf8.size())
            break;
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte >= 0x20 && byte != 0x7F && byte != 0xC2)
            continue;
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                        static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(utf8[i + 1]) <= 0x9F;
        if (byte == 0xC2 && !c1)
            continue;
        // Runs of ordinary bytes are copied whole: most texts hold no control at all.
        out.append(utf8, plain, i - plain);
        if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            // U+0080 to U+009F, the C1 controls.
            const auto low = static_cast<unsigned char>(utf8[++i]);
            out += "\\u00";
            out += kHex[low >> 4];
            out += kHex[low & 0xF];
        }
        plain = i + 1;
    }
    out.append(utf8, plain, utf8.size() - plain);
}

std::string escapeControls(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    appendEscapedControls(out, utf8);
    return out;
}

} // namespace cw
