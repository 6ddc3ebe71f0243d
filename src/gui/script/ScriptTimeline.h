#pragma once

#include "core/timeline/Timeline.h"

#include <QObject>
#include <QTimer>

class QAction;
class QDockWidget;

namespace cw::gui {

class ScriptGrid;
class TimelineView;
class WindowModel;
namespace ui {
class Panels;
}

// When each line of the grid runs as the game plays it: timed a moment after each
// change (as the checker checks), written into each line number's tooltip, and, on
// "Timeline", drawn in a panel docked beside the grid ("timelineView" in "timelinePanel"),
// which follows the edits, marks the row that has the keyboard focus, and asks for a
// row when one of its blocks is clicked.
class ScriptTimeline : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelayMilliseconds = 300;

    ScriptTimeline(WindowModel &model, ScriptGrid &grid, QAction *cmdTimeline, ui::Panels &panels);

    // Shows the timeline panel (and times the grid now).
    void show();
    // Times the grid as it stands now.
    void timeNow();

    TimelineView *view() const { return m_view; }
    QDockWidget *panel() const { return m_panel; }
    const timeline::Timeline &current() const { return m_timeline; }

Q_SIGNALS:
    // A block was clicked: its row of the grid should be shown and focused.
    void rowRequested(int row);
    // The grid was timed again: current() is new.
    void timed();

private:
    void buildView();
    // Times the grid into the view, marking the focused row.
    void showNow();

    WindowModel &m_model;
    ScriptGrid &m_grid;
    ui::Panels &m_panels;
    QDockWidget *m_panel;
    QTimer m_delay;
    timeline::Timeline m_timeline;
    TimelineView *m_view = nullptr; // the panel's, made the first time it opens
};

} // namespace cw::gui
