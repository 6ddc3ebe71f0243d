#pragma once

#include "core/timeline/Timeline.h"

#include <QObject>
#include <QTimer>

class QAction;
class QWidget;

namespace cw::gui {

class ScriptGrid;
class TimelineView;
class WindowModel;

// When each line of the grid runs as the game plays it: timed a moment after each
// change (as the checker checks), written into each line number's tooltip, and, on
// "Timeline", drawn in a tool window of its own beside the main one ("timelineView"),
// which follows the edits, marks the row that has the keyboard focus, and asks for a
// row when one of its blocks is clicked.
class ScriptTimeline : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDelayMilliseconds = 300;

    ScriptTimeline(WindowModel &model, ScriptGrid &grid, QAction *cmdTimeline, QWidget *window);

    // Shows the timeline window (and times the grid now).
    void show();
    // Times the grid as it stands now.
    void timeNow();

    TimelineView *view() const { return m_view; }
    const timeline::Timeline &current() const { return m_timeline; }

Q_SIGNALS:
    // A block was clicked: its row of the grid should be shown and focused.
    void rowRequested(int row);

private:
    WindowModel &m_model;
    ScriptGrid &m_grid;
    QWidget *m_window;
    QTimer m_delay;
    timeline::Timeline m_timeline;
    TimelineView *m_view = nullptr; // a tool window of the main one, made on first use
};

} // namespace cw::gui
