#pragma once

namespace cw::bench {

// The benchmark "levels": reading a mod's levels as the game has them (29 locations,
// each with a map and a mission), and the grid's live check with them.
void levelsFigures(int runs);

} // namespace cw::bench
