#include "core/check/CheckRules.h"

#include "core/text/Codepage.h"

#include <cstdio>

namespace cw::check::detail {

std::size_t lineCount(std::string_view bytes)
{
    LineReader reader(bytes, LineEnds::Any);
    std::size_t count = 0;
    for (std::string_view line; reader.next(line);)
        ++count;
    return count;
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
