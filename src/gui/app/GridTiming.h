#pragma once

namespace cw::gui {

// The grid's 700 widgets can be built before the window is shown, or right after its
// first frame, so that the window appears as fast as a bare one. Tests want the grid
// at once; the program wants the window first.
enum class GridTiming { BeforeShow, AfterFirstFrame };

} // namespace cw::gui
