#include "core/text/Folding.h"

#include <algorithm>

namespace cw {
namespace {

char foldByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 64 && byte <= 96 ? static_cast<char>(byte + 32) : c;
}

constexpr std::uint64_t kFnvPrime = 1099511628211ull; // FNV-1a, 64 bits

} // namespace

bool foldedEqual(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return foldByte(x) == foldByte(y); });
}

std::uint64_t foldedHash(std::string_view text)
{
    std::uint64_t hash = kNoCaseHashStart;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(foldByte(c));
        hash *= kFnvPrime;
    }
    return hash;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool lessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
    });
}

std::uint64_t noCaseHash(std::string_view text, std::uint64_t hash)
{
    for (char c : text) {
        hash ^= static_cast<unsigned char>(lowerAscii(c));
        hash *= kFnvPrime;
    }
    return hash;
}

} // namespace cw
