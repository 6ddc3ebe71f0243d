#pragma once

namespace cw::gui {

// Where an argument field stands in its row, in twips.
struct FieldPlace
{
    int left = 0;
    int width = 0;
};

// The place of argument field `k` (0 to 3) of a row, laid out last for `laidOutFor`
// arguments (1 to 4), or 0 for the place every field has when the window starts: four
// equal fields side by side. A layout spreads the fields it names over the argument
// area; field 0 always starts at the area's left edge.
FieldPlace fieldPlace(int k, int laidOutFor);

} // namespace cw::gui
