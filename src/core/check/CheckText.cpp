#include "core/check/CheckRules.h"

#include "core/text/Codepage.h"

#include <algorithm>
#include <array>
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

// The edit distance of a and b without regard to case, or limit + 1 when it is larger
// than limit; both at most kLongestCompared long. Counts the table's cells in `cost`.
std::size_t boundedDistance(std::string_view a, std::string_view b, std::size_t limit, std::size_t &cost)
{
    std::array<std::size_t, kLongestCompared + 1> rows[2];
    std::size_t *previous = rows[0].data();
    std::size_t *current = rows[1].data();
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        std::size_t best = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (lowerAscii(a[i - 1]) != lowerAscii(b[j - 1]))});
            best = std::min(best, current[j]);
        }
        cost += b.size();
        if (best > limit)
            return limit + 1;
        std::swap(previous, current);
    }
    return previous[b.size()];
}

std::vector<std::string_view> nearestNames(std::string_view word, const std::vector<std::string_view> &names)
{
    constexpr std::size_t kFarthest = 2;
    std::vector<std::pair<std::size_t, std::string_view>> scored;
    if (word.size() <= kLongestCompared) {
        std::size_t cost = 0;
        for (std::string_view name : names) {
            if (name.size() > kLongestCompared || name.size() + kFarthest < word.size() ||
                word.size() + kFarthest < name.size())
                continue;
            const std::size_t distance = boundedDistance(word, name, kFarthest, cost);
            if (distance <= kFarthest && !std::any_of(scored.begin(), scored.end(), [&](const auto &s) {
                    return equalNoCase(s.second, name);
                }))
                scored.emplace_back(distance, name);
        }
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::string_view> nearest;
    for (std::size_t i = 0; i < scored.size() && i < 3; ++i)
        nearest.push_back(scored[i].second);
    return nearest;
}

std::string didYouMean(const std::vector<std::string_view> &names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "; did you mean " : i + 1 == names.size() ? " or " : ", ") + quoted(names[i]);
    return names.empty() ? text : text + "?";
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
