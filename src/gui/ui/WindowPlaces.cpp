#include "gui/ui/WindowPlaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace cw::gui::ui {
namespace {

// The rectangle moved as little as it takes to lie inside `room` (its top left kept in
// the room when it is larger).
QRect inside(QRect rect, const QRect &room)
{
    rect.moveLeft(std::max(room.left(), std::min(rect.left(), room.right() - rect.width() + 1)));
    rect.moveTop(std::max(room.top(), std::min(rect.top(), room.bottom() - rect.height() + 1)));
    return rect;
}

} // namespace

PanelSide panelSide(int availableWidth, int laidOutWidth)
{
    return availableWidth - laidOutWidth >= kPanelRoom ? PanelSide::Right : PanelSide::Bottom;
}

QRect roomForPanel(const QRect &frame, PanelSide side, int extent, const QRect &room)
{
    QRect wanted = frame;
    if (side == PanelSide::Right)
        wanted.setWidth(std::min(frame.width() + extent, std::max(frame.width(), room.width())));
    else
        wanted.setHeight(std::min(frame.height() + extent, std::max(frame.height(), room.height())));
    return inside(wanted, room);
}

QRect onScreenPlace(const QRect &place, const QRect &room)
{
    return inside(QRect(place.topLeft(), place.size().boundedTo(room.size())), room);
}

namespace {

QRect roomOf(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The window's frame margins: its own once it is shown.
QMargins frameMargins(const QWidget *window, const QMargins &frameGuess)
{
    // Shown, the window has the frame the window system gave it, none at all included.
    if (!window->isVisible())
        return frameGuess;
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

void moveFrameTo(QWidget *window, const QRect &place, const QMargins &frame)
{
    const QSize inner = place.size().shrunkBy(frame);
    if (inner != window->size())
        window->resize(inner);
    // A window's move() places its frame's top left.
    window->move(place.topLeft());
}

} // namespace

void fitOnScreen(QWidget *window, const QMargins &frameGuess)
{
    const QRect room = roomOf(window);
    if (room.isEmpty())
        return;
    const QMargins frame = frameMargins(window, frameGuess);
    const QRect outer = window->geometry().marginsAdded(frame);
    const QRect place = onScreenPlace(outer, room);
    if (place != outer)
        moveFrameTo(window, place, frame);
}

void centreOnScreen(QWidget *window, const QMargins &frameGuess)
{
    const QRect room = roomOf(window);
    if (room.isEmpty())
        return;
    const QMargins frame = frameMargins(window, frameGuess);
    QRect outer(QPoint(0, 0), window->size().grownBy(frame).boundedTo(room.size()));
    outer.moveCenter(room.center());
    moveFrameTo(window, onScreenPlace(outer, room), frame);
}

void makeRoomForPanel(QWidget *window, PanelSide side, int extent)
{
    const QRect room = roomOf(window);
    if (room.isEmpty() || extent <= 0)
        return;
    const QMargins frame = frameMargins(window, kCommonFrame);
    const QRect outer = window->geometry().marginsAdded(frame);
    const QRect place = roomForPanel(outer, side, extent, room);
    if (place != outer)
        moveFrameTo(window, place, frame);
}

} // namespace cw::gui::ui
