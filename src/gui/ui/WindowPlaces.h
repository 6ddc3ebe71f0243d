#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows stand: every one inside the screen's available area.
namespace cw::gui::ui {

// Where a tool window of `size` (frame included) stands beside the main window `main`
// (frame geometry) on a screen of `room` (its available geometry): to the right when
// there is room, else to the left, else below; else inside the screen, over the part of
// the main window farthest from `avoid` (the grid, which the tool window is about);
// never off the screen, and cut to the screen's size when it is larger.
QRect toolWindowPlace(const QRect &main, const QSize &size, const QRect &room, const QRect &avoid);

// Moves `tool` (already shown, so that its frame is known) to toolWindowPlace beside
// `main`, clear of `avoid` where it can be.
void placeToolWindow(QWidget *tool, const QWidget *main, const QWidget *avoid);

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
