#pragma once

#include "gui/ui/WindowPlaces.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QDockWidget;
class QMainWindow;
class QWidget;

namespace cw::gui::ui {

// The panels of the main window (what the checker and the timeline show), docked beside
// the grid as editors dock their problems and outline views: movable, floatable, and
// tabbed with each other where they share a side. The first time one opens it docks
// right of the grid when the screen has room there, else below it, in a tab with a
// panel already open; wherever the user then puts it is kept with the window's state.
class Panels : public QObject
{
    Q_OBJECT
public:
    // `laidOutWidth` is the window's width at its layout's size; `leastCentre` says how
    // small the window's central widget may become before what it shows must scroll.
    Panels(QMainWindow &window, int laidOutWidth, std::function<QSize()> leastCentre);

    // A hidden panel named `objectName`, titled `title` until it has content.
    QDockWidget *add(const QString &objectName, const QString &title);
    // Puts `content` into a panel, whose title is then the content's window title.
    static void fill(QDockWidget *panel, QWidget *content);
    // Shows a panel where it was, or where it goes the first time; a panel that opens on
    // a side of its own first widens or lengthens the window by its size, as far as the
    // screen allows, so that the grid keeps its room.
    void show(QDockWidget *panel);
    // The window's state was restored: each panel stands where the user left it.
    void placedByUser();

private:
    QDockWidget *openPanelOn(Qt::DockWidgetArea area, const QDockWidget *besides) const;

    QMainWindow &m_window;
    int m_laidOutWidth;
    std::function<QSize()> m_leastCentre;
    std::vector<QDockWidget *> m_panels;
    std::vector<QDockWidget *> m_placed;
};

} // namespace cw::gui::ui
