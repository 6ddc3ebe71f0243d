#pragma once

namespace cw::gui {

// Where an argument field stands in its row, in twips.
struct FieldPlace
{
    int left = 0;
    int width = 0;
};

// The place of argument field `k` (0 to 3) of a row laid out for `count` fields (1 to
// 4): the fields share the argument area from its left edge, side by side.
FieldPlace fieldPlace(int k, int count);

// How many field places a row needs: enough for the last field it shows (the strings
// chooser counting as field 0), and at least one. A row lays its fields out for the
// fields it shows, never for a command it showed before, so that no field it shows
// stands over another or past the grid's edge.
int fieldCount(const bool (&shown)[4]);

} // namespace cw::gui
