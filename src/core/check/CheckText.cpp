#include "core/check/CheckRules.h"

#include "core/text/Codepage.h"

#include <algorithm>
#include <cstdio>

namespace cw::check::detail {

bool isGameSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ':' || c == ',';
}

std::vector<std::string_view> gameWords(std::string_view line)
{
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isGameSeparator(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !isGameSeparator(line[i]))
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
    });
}

std::size_t lineCount(std::string_view bytes)
{
    LineReader reader(bytes, LineEnds::Any);
    std::size_t count = 0;
    for (std::string_view line; reader.next(line);)
        ++count;
    return count;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::uint64_t keyHash(std::string_view key)
{
    std::uint64_t hash = 1469598103934665603ull; // FNV-1a
    for (char c : key) {
        hash ^= static_cast<unsigned char>(lowerAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

// Words from the file are quoted in messages at most this long, so that a word of
// megabytes does not make a message of megabytes.
constexpr std::size_t kQuotedWordLength = 40;

// A word of the file as the message shows it; single quotes around one that holds
// double quotes of its own.
std::string quoted(std::string_view bytes)
{
    const bool cut = bytes.size() > kQuotedWordLength;
    if (cut)
        bytes = bytes.substr(0, kQuotedWordLength);
    const char mark = bytes.find('"') == std::string_view::npos ? '"' : '\'';
    return mark + cp1252::toUtf8(bytes) + (cut ? "..." : "") + mark;
}

std::string shown(std::string_view name)
{
    return cp1252::toUtf8(name);
}

std::string formatNumber(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

} // namespace cw::check::detail
