#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace cw::gui::ui {

// Where a tool window of `size` (frame included) stands beside the main window `main`
// (frame geometry) on a screen of `room` (its available geometry): to the right when
// there is room, else to the left, else below; else inside the screen, over the part of
// the main window farthest from `avoid` (the grid, which the tool window is about);
// never off the screen.
QRect toolWindowPlace(const QRect &main, const QSize &size, const QRect &room, const QRect &avoid);

// Moves `tool` (already shown, so that its frame is known) to toolWindowPlace beside
// `main`, clear of `avoid` where it can be.
void placeToolWindow(QWidget *tool, const QWidget *main, const QWidget *avoid);

} // namespace cw::gui::ui
