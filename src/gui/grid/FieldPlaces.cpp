#include "gui/grid/FieldPlaces.h"

#include <array>
#include <cstddef>

namespace cw::gui {

FieldPlace fieldPlace(int k, int laidOutFor)
{
    static constexpr std::array<std::array<FieldPlace, 4>, 5> kPlaces = {{
        {{{3360, 1935}, {5400, 1935}, {7440, 1935}, {9480, 1935}}},
        {{{3360, 6135}}},
        {{{3360, 3015}, {6480, 3015}}},
        {{{3360, 1935}, {5400, 1935}, {7440, 1935}}},
        {{{3360, 1455}, {4920, 1455}, {6480, 1455}, {8040, 1455}}},
    }};
    return kPlaces[static_cast<std::size_t>(laidOutFor)][static_cast<std::size_t>(k)];
}

} // namespace cw::gui
