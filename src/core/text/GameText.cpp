#include "core/text/GameText.h"

#include <charconv>
#include <cmath>

namespace cw {

bool isGameSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ':' || c == ',';
}

std::vector<std::string_view> gameWords(std::string_view line)
{
    std::vector<std::string_view> words;
    gameWords(line, words);
    return words;
}

void gameWords(std::string_view line, std::vector<std::string_view> &words)
{
    words.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isGameSeparator(line[i]))
            ++i;
        if (i == line.size() || line[i] == '#')
            break;
        const std::size_t start = i;
        while (i < line.size() && !isGameSeparator(line[i]) && line[i] != '#')
            ++i;
        words.push_back(line.substr(start, i - start));
        if (i < line.size() && line[i] == '#')
            ++i;
    }
}

bool hasGluedHash(std::string_view line)
{
    const std::size_t hash = line.find('#');
    return hash != std::string_view::npos && hash > 0 && !isGameSeparator(line[hash - 1]);
}

GameNumber readGameNumber(std::string_view word, bool integer)
{
    std::string_view digits = word;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    GameNumber number;
    const char *end = digits.data();
    if (integer) {
        long long value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec == std::errc()) {
            number.value = static_cast<double>(value);
            end = result.ptr;
        }
    } else {
        double value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec == std::errc() && std::isfinite(value)) {
            number.value = value;
            end = result.ptr;
        }
    }
    if (negative)
        number.value = -number.value;
    number.whole = !digits.empty() && end == digits.data() + digits.size();
    return number;
}

} // namespace cw
