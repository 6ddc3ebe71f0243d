#include "gui/ui/WindowPlaces.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace cw::gui::ui {
namespace {

constexpr int kGap = 8;

// The rectangle moved as little as it takes to lie inside `room` (its top left kept in
// the room when it is larger).
QRect inside(QRect rect, const QRect &room)
{
    rect.moveLeft(std::max(room.left(), std::min(rect.left(), room.right() - rect.width() + 1)));
    rect.moveTop(std::max(room.top(), std::min(rect.top(), room.bottom() - rect.height() + 1)));
    return rect;
}

} // namespace

QRect toolWindowPlace(const QRect &main, const QSize &wanted, const QRect &room, const QRect &avoid)
{
    const QSize size = wanted.boundedTo(room.size());
    const QRect candidates[] = {
        QRect(QPoint(main.right() + kGap, main.top()), size),
        QRect(QPoint(main.left() - kGap - size.width(), main.top()), size),
        QRect(QPoint(main.left(), main.bottom() + kGap), size),
    };
    for (QRect candidate : candidates) {
        // Beside the main window, slid along its side as far as the screen needs.
        if (room.contains(inside(candidate, room)) && !inside(candidate, room).intersects(main))
            return inside(candidate, room);
    }
    // Over the main window, in the corner farthest from what it must not hide.
    const QPoint far(avoid.center().x() < main.center().x() ? main.right() - size.width() + 1 : main.left(),
                     avoid.center().y() < main.center().y() ? main.bottom() - size.height() + 1 : main.top());
    return inside(QRect(far, size), room);
}

void placeToolWindow(QWidget *tool, const QWidget *main, const QWidget *avoid)
{
    const QScreen *screen = main->screen() ? main->screen() : QGuiApplication::primaryScreen();
    const QRect room =
        screen ? screen->availableGeometry() : QRect(QPoint(0, 0), tool->frameGeometry().size());
    const QRect grid(avoid->mapToGlobal(QPoint(0, 0)), avoid->size());
    const QRect frame = tool->frameGeometry();
    const QRect place = toolWindowPlace(main->frameGeometry(), frame.size(), room, grid);
    if (place.size() != frame.size())
        tool->resize(tool->size() - (frame.size() - place.size()));
    // move() places the frame's top left; the frame is what must fit.
    tool->move(place.topLeft() + (tool->pos() - frame.topLeft()));
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

} // namespace cw::gui::ui
