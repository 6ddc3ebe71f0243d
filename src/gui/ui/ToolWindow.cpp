#include "gui/ui/ToolWindow.h"

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

QRect toolWindowPlace(const QRect &main, const QSize &size, const QRect &room, const QRect &avoid)
{
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
    // move() places the frame's top left; the frame is what must fit.
    tool->move(place.topLeft() + (tool->pos() - frame.topLeft()));
}

} // namespace cw::gui::ui
