#include "core/catalogue/Folding.h"

namespace cw {
namespace {

char foldByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 64 && byte <= 96 ? static_cast<char>(byte + 32) : c;
}

} // namespace

std::string foldName(std::string_view text)
{
    std::string folded(text);
    for (char &c : folded)
        c = foldByte(c);
    return folded;
}

bool foldedEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldByte(a[i]) != foldByte(b[i]))
            return false;
    }
    return true;
}

} // namespace cw
