#include "gui/script/ScriptTimeline.h"

#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/timeline/TimelineView.h"
#include "gui/ui/Panels.h"

#include <QAction>
#include <QDockWidget>

namespace cw::gui {
namespace {

// What a line number's tooltip says of its line's start.
QString startNote(const timeline::Entry &entry)
{
    if (!entry.start)
        return QStringLiteral("The script never gets to this line.");
    return QStringLiteral("Starts at %1 as the game plays the script.")
        .arg(QString::fromStdString(timeline::momentText(*entry.start)));
}

} // namespace

ScriptTimeline::ScriptTimeline(WindowModel &model, ScriptGrid &grid, QAction *cmdTimeline, ui::Panels &panels)
    : m_model(model), m_grid(grid), m_panels(panels),
      m_panel(panels.add(QStringLiteral("timelinePanel"), QStringLiteral("Timeline")))
{
    connect(cmdTimeline, &QAction::triggered, this, &ScriptTimeline::show);
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMilliseconds);
    connect(&m_delay, &QTimer::timeout, this, &ScriptTimeline::timeNow);
    // Every change of the rows, and new strings (their captions' lengths), times again
    // once the user pauses.
    connect(&m_model.editor(), &ScriptEditor::rowsChanged, this, [this] { m_delay.start(); });
    connect(&m_model, &WindowModel::filesChanged, this, [this] { m_delay.start(); });
    connect(&m_grid, &ScriptGrid::focusedRowChanged, this, [this](int row) {
        if (m_view)
            m_view->setFocusedRow(row);
    });
    // A panel the window's state brings back shows the grid as it is.
    connect(m_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            showNow();
    });
}

void ScriptTimeline::showNow()
{
    buildView();
    timeNow();
    m_view->setFocusedRow(m_grid.focusedRow());
}

void ScriptTimeline::buildView()
{
    if (m_view)
        return;
    m_view = new TimelineView;
    m_view->setObjectName(QStringLiteral("timelineView"));
    connect(m_view, &TimelineView::rowActivated, this, &ScriptTimeline::rowRequested);
    connect(m_view, &TimelineView::startChosen, this, &ScriptTimeline::timeNow);
    ui::Panels::fill(m_panel, m_view);
}

void ScriptTimeline::timeNow()
{
    m_delay.stop();
    const std::shared_ptr<const GameStrings> strings = m_model.gameStrings();
    const std::shared_ptr<const Levels> levels = m_model.levels();
    const timeline::Start start = m_view ? m_view->start() : timeline::Start::FromScript;
    m_timeline = timeline::computeTimeline(
        timeline::linesOfDocument(m_model.editor().document()),
        {strings.get(), levels.get(), start,
         m_model.scriptOpen() ? nameOf(m_model.scriptPath().filename()) : std::string()});
    std::vector<QString> notes(ScriptGrid::kRowCount);
    for (const timeline::Entry &entry : m_timeline.entries) {
        if (entry.line >= 1 && entry.line <= ScriptGrid::kRowCount)
            notes[static_cast<std::size_t>(entry.line - 1)] = startNote(entry);
    }
    if (m_grid.isBuilt())
        m_grid.setLineNotes(notes);
    if (m_view) {
        const QString script = m_model.scriptOpen() ? m_model.scriptName() : QStringLiteral("the grid");
        m_view->setTimeline(m_timeline, script);
    }
    Q_EMIT timed();
}

void ScriptTimeline::show()
{
    // A panel that opens times the grid as it becomes visible; one already open, now.
    buildView();
    const bool wasShown = m_panel->isVisible();
    m_panels.show(m_panel);
    if (wasShown || !m_panel->isVisible())
        showNow();
}

} // namespace cw::gui
