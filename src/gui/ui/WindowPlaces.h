#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows stand: every one inside the screen's available area.
namespace cw::gui::ui {

// Which side of the grid a panel (the Check or Timeline panel) docks on the first time
// it opens: right of it when the screen's available width leaves at least kPanelRoom
// pixels beside the window's laid-out width, else below it.
enum class PanelSide { Right, Bottom };
inline constexpr int kPanelRoom = 420;
PanelSide panelSide(int availableWidth, int laidOutWidth);

// The main window's frame made `extent` pixels wider (Right) or taller (Bottom) for a
// panel, as far as `room` allows, and moved back inside it: the panel takes room from
// the screen before it takes any from the grid.
QRect roomForPanel(const QRect &frame, PanelSide side, int extent, const QRect &room);

// Grows a shown window as roomForPanel says, on its own screen.
void makeRoomForPanel(QWidget *window, PanelSide side, int extent);

// Where the main window's frame stands when the window wants `place` (frame geometry)
// on a screen of `room`: cut to the room's size and moved as little as it takes to lie
// inside it.
QRect onScreenPlace(const QRect &place, const QRect &room);

// A window frame as desktops commonly draw one, for a window not yet shown.
inline constexpr QMargins kCommonFrame{8, 32, 8, 8};

// Fits a top-level window inside the available area of its screen, frame included.
// Before the window is shown its frame is not known: `frameGuess` stands in for it.
void fitOnScreen(QWidget *window, const QMargins &frameGuess);
// Centres a window not yet shown on its screen, then fits it there.
void centreOnScreen(QWidget *window, const QMargins &frameGuess);

} // namespace cw::gui::ui
