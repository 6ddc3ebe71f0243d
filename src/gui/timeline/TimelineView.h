#pragma once

#include "core/timeline/Timeline.h"

#include <QString>
#include <QWidget>

#include <vector>

class QComboBox;
class QScrollArea;

namespace cw::gui {

// A cutscene's timeline drawn against a time axis in seconds: one lane for
// Sepulveda's captions (each block showing the start of its text), one for the camera
// (glides, animations and cuts), one for the script's own pauses. A block whose end is
// only a lower bound, or never comes, is drawn open at its end. Each block is a button
// of its own, so that it can be clicked, reached with the keyboard and named to
// assistive technology; clicking one asks for its row. Short scripts fill the width,
// long ones scroll; Ctrl with the mouse wheel, or the zoom buttons, widen or narrow it.
// The view knows nothing of the window it is placed in: it shows the timeline it is
// given and says which row the user picked.
class TimelineView : public QWidget
{
    Q_OBJECT
public:
    explicit TimelineView(QWidget *parent = nullptr);
    ~TimelineView() override;

    // Shows the timeline of the grid, whose lines are numbered row + 1; the window's
    // title becomes titleFor(timeline, scriptName).
    void setTimeline(timeline::Timeline timeline, const QString &scriptName);
    const timeline::Timeline &timeline() const { return m_timeline; }

    // Marks the blocks and the start of the line of `row` (0-based), the row that has
    // the keyboard focus in the grid, and scrolls it into view; -1 marks none.
    void setFocusedRow(int row);
    int focusedRow() const { return m_focusedRow; }

    // "Timeline - intro.txt: 42.3 s", "33.6 s to 48.8 s" when the script does not decide
    // it, "≥ 42.3 s" when only the game knows, "never ends" when it has none.
    static QString titleFor(const timeline::Timeline &timeline, const QString &scriptName);

    // Widens (factor above 1) or narrows the time axis.
    void zoomBy(double factor);

    // Where the user says the script starts ("timelineStart"): as its first location
    // command says, in a location, or on the world map.
    timeline::Start start() const;

Q_SIGNALS:
    // The user said where the script starts: it should be timed again.
    void startChosen(timeline::Start start);
    // A block was clicked or pressed: its row (0-based) should get the focus.
    void rowActivated(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    class Canvas;
    class Block;

    void layOut();
    void placeBlocks();
    Block *blockAt(std::size_t index);

    timeline::Timeline m_timeline;
    QComboBox *m_start = nullptr;
    QScrollArea *m_scroll = nullptr;
    Canvas *m_canvas = nullptr;
    std::vector<Block *> m_blocks; // reused from one timeline to the next
    std::size_t m_blocksInUse = 0;
    double m_zoom = 1;
    int m_focusedRow = -1;
};

} // namespace cw::gui
