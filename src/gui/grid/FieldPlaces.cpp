#include "gui/grid/FieldPlaces.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace cw::gui {

FieldPlace fieldPlace(int k, int count)
{
    static constexpr std::array<std::array<FieldPlace, 4>, 4> kPlaces = {{
        {{{3360, 6135}}},
        {{{3360, 3015}, {6480, 3015}}},
        {{{3360, 1935}, {5400, 1935}, {7440, 1935}}},
        {{{3360, 1455}, {4920, 1455}, {6480, 1455}, {8040, 1455}}},
    }};
    const int laidOut = std::clamp(count, 1, 4);
    return kPlaces[static_cast<std::size_t>(laidOut - 1)]
                  [static_cast<std::size_t>(std::clamp(k, 0, laidOut - 1))];
}

int fieldCount(const bool (&shown)[4])
{
    for (int k = 3; k > 0; --k) {
        if (shown[k])
            return k + 1;
    }
    return 1;
}

} // namespace cw::gui
