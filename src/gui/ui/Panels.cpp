#include "gui/ui/Panels.h"

#include "gui/ui/Geometry.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStyle>

#include <algorithm>

namespace cw::gui::ui {
namespace {

// A panel's height below the grid when it opens on a side of its own: a few rows of
// blocks or findings. Beside the grid it takes the room the side was chosen for.
constexpr int kBottomHeight = 260;

bool contains(const std::vector<QDockWidget *> &panels, const QDockWidget *panel)
{
    return std::find(panels.begin(), panels.end(), panel) != panels.end();
}

} // namespace

Panels::Panels(QMainWindow &window, int laidOutWidth, std::function<QSize()> leastCentre)
    : QObject(&window), m_window(window), m_laidOutWidth(laidOutWidth), m_leastCentre(std::move(leastCentre))
{
    m_window.setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
}

QDockWidget *Panels::add(const QString &objectName, const QString &title)
{
    auto *panel = new QDockWidget(title, &m_window);
    panel->setObjectName(objectName);
    panel->setAllowedAreas(Qt::AllDockWidgetAreas);
    m_window.addDockWidget(Qt::RightDockWidgetArea, panel);
    panel->hide();
    m_panels.push_back(panel);
    return panel;
}

void Panels::fill(QDockWidget *panel, QWidget *content)
{
    panel->setWidget(content);
    // The panel's title is its content's: the counts of the findings, the total time.
    if (!content->windowTitle().isEmpty())
        panel->setWindowTitle(content->windowTitle());
    connect(content, &QWidget::windowTitleChanged, panel, &QDockWidget::setWindowTitle);
}

void Panels::placedByUser()
{
    m_placed = m_panels;
}

QDockWidget *Panels::openPanelOn(Qt::DockWidgetArea area, const QDockWidget *besides) const
{
    for (QDockWidget *other : m_panels) {
        if (other != besides && other->isVisible() && !other->isFloating() &&
            m_window.dockWidgetArea(other) == area)
            return other;
    }
    return nullptr;
}

void Panels::show(QDockWidget *panel)
{
    if (panel->isVisible()) {
        panel->raise();
        return;
    }
    if (!contains(m_placed, panel)) {
        const QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
        const int available = screen ? screen->availableGeometry().width() : m_laidOutWidth;
        const PanelSide side = panelSide(available, m_laidOutWidth);
        const Qt::DockWidgetArea area =
            side == PanelSide::Right ? Qt::RightDockWidgetArea : Qt::BottomDockWidgetArea;
        m_window.addDockWidget(area, panel);
        if (QDockWidget *open = openPanelOn(area, panel))
            m_window.tabifyDockWidget(open, panel);
        m_placed.push_back(panel);
    }
    const Qt::DockWidgetArea area = m_window.dockWidgetArea(panel);
    const bool ownSide = !panel->isFloating() && !openPanelOn(area, panel);
    const bool across = area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
    const int extent = across ? kPanelRoom : scaled(kBottomHeight);
    // The splitter between the panel and the page takes its own few pixels.
    const int separator =
        m_window.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, &m_window);
    if (ownSide && !(m_window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        makeRoomForPanel(&m_window, across ? PanelSide::Right : PanelSide::Bottom, extent + separator);
    panel->show();
    if (ownSide) {
        // What the window could not grow by comes from the grid's page, as far as the
        // page keeps room for its buttons and a row of the grid.
        const QSize window = m_window.size();
        const QSize page = m_leastCentre();
        const int left =
            (across ? window.width() - page.width() : window.height() - page.height()) - separator;
        const int least = across ? panel->minimumSizeHint().width() : panel->minimumSizeHint().height();
        m_window.resizeDocks({panel}, {std::max(least, std::min(extent, left))},
                             across ? Qt::Horizontal : Qt::Vertical);
    }
    panel->raise();
}

} // namespace cw::gui::ui
