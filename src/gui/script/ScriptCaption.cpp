#include "gui/script/ScriptCaption.h"

#include "core/script/ScriptDocument.h"
#include "core/strings/CaptionMarkup.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptTimeline.h"
#include "gui/timeline/CaptionPreview.h"
#include "gui/ui/Panels.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace cw::gui {
namespace {

QString modeName(CaptionMode mode)
{
    return mode == CaptionMode::Cutscene ? QStringLiteral("cutscene mode") : QStringLiteral("normal mode");
}

// What a caption's layout loses, in words: lines scrolled away or off the screen, text
// cut at a word too long for a line.
QString losses(const CaptionLayout &layout)
{
    QStringList said;
    if (layout.hidden() > 0)
        said << (layout.mode == CaptionMode::Normal ? QStringLiteral("its first %1 of %2 lines scroll away")
                                                          .arg(layout.hidden())
                                                          .arg(layout.lines.size())
                                                    : QStringLiteral("%1 of its %2 lines fall off the screen")
                                                          .arg(layout.hidden())
                                                          .arg(layout.lines.size()));
    if (!layout.lost.empty())
        said << QStringLiteral("the game loses the text after a word too long for a line");
    return said.isEmpty() ? QString() : QStringLiteral(": ") + said.join(QStringLiteral(", and "));
}

} // namespace

ScriptCaption::ScriptCaption(WindowModel &model, ScriptGrid &grid, ScriptTimeline &timeline,
                             QAction *cmdCaption, ui::Panels &panels)
    : m_model(model), m_grid(grid), m_timeline(timeline), m_panels(panels),
      m_panel(panels.add(QStringLiteral("captionPanel"), QStringLiteral("Caption")))
{
    m_elapsed.start();
    m_clock = [this] {
        return m_elapsed.elapsed();
    };
    m_frame.setInterval(kFrameMilliseconds);
    connect(&m_frame, &QTimer::timeout, this, &ScriptCaption::tick);
    connect(cmdCaption, &QAction::triggered, this, &ScriptCaption::show);
    connect(m_panel, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible)
            return;
        if (!m_view)
            buildView();
        refresh();
    });
    connect(&m_grid, &ScriptGrid::focusedRowChanged, this, [this](int row) {
        if (row < 0 || m_playing)
            return;
        m_row = row;
        refresh();
    });
    // Each edit shows at once; the times around it follow when the Timeline has them.
    connect(&m_model.editor(), &ScriptEditor::rowsChanged, this, &ScriptCaption::refresh);
    connect(&m_timeline, &ScriptTimeline::timed, this, &ScriptCaption::refresh);
}

ScriptCaption::~ScriptCaption()
{
    if (m_playing)
        qApp->removeEventFilter(this);
}

void ScriptCaption::buildView()
{
    m_view = new QWidget;
    m_view->setObjectName(QStringLiteral("captionView"));
    m_view->setWindowTitle(QStringLiteral("Caption"));
    auto *layout = new QVBoxLayout(m_view);
    auto *controls = new QHBoxLayout;
    m_mode = new QComboBox(m_view);
    m_mode->setObjectName(QStringLiteral("captionMode"));
    m_mode->addItems({QStringLiteral("Mode as the Timeline decides"), QStringLiteral("Normal mode"),
                      QStringLiteral("Cutscene mode")});
    m_mode->setToolTip(
        QStringLiteral("Normal mode: the player's camera; cutscene mode: the camera scripted"));
    m_play = new QPushButton(QStringLiteral("Play from here"), m_view);
    m_play->setObjectName(QStringLiteral("captionPlay"));
    m_play->setToolTip(
        QStringLiteral("Play the captions from the focused row at the game's speed: Space pauses, "
                       "Escape stops"));
    controls->addWidget(m_mode);
    controls->addWidget(m_play);
    controls->addStretch(1);
    m_status = new QLabel(m_view);
    m_status->setObjectName(QStringLiteral("captionStatus"));
    m_status->setWordWrap(true);
    m_preview = new CaptionPreview(m_view);
    layout->addLayout(controls);
    layout->addWidget(m_status);
    layout->addWidget(m_preview, 1);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &ScriptCaption::refresh);
    connect(m_play, &QPushButton::clicked, this, [this] { m_playing ? stop() : play(); });
    ui::Panels::fill(m_panel, m_view);
}

void ScriptCaption::show()
{
    if (!m_view)
        buildView();
    if (m_grid.focusedRow() >= 0)
        m_row = m_grid.focusedRow();
    const bool wasShown = m_panel->isVisible();
    m_panels.show(m_panel);
    if (wasShown)
        refresh();
}

std::optional<CaptionMode> ScriptCaption::forcedMode() const
{
    if (!m_mode || m_mode->currentIndex() == 0)
        return std::nullopt;
    return m_mode->currentIndex() == 1 ? CaptionMode::Normal : CaptionMode::Cutscene;
}

timeline::PlayedCaptions ScriptCaption::captions() const
{
    timeline::PlayedCaptions played =
        timeline::playedCaptions(m_timeline.current(), CaptionMode::Cutscene, forcedMode());
    const ScriptRow &row = m_model.editor().document().row(m_row);
    const std::optional<std::string> key = cp1252::fromUtf8(row.stringsText.str());
    if (!row.stringsVisible || !key)
        return played;
    const std::shared_ptr<const GameStrings> strings = m_model.gameStrings();
    const GameStrings::Said said = strings->say(*key);
    if (said.found != GameStrings::Found::Text)
        return played;
    const std::string text =
        expandCaption(said.text, [&strings](std::string_view name) { return strings->say(name); }).text;
    const int line = m_row + 1;
    auto at = std::find_if(played.captions.begin(), played.captions.end(),
                           [line](const timeline::PlayedCaption &c) { return c.line >= line; });
    if (at != played.captions.end() && at->line == line) {
        at->text = text;
        return played;
    }
    // Said just now: the Timeline has not timed it yet.
    timeline::PlayedCaption fresh;
    fresh.line = line;
    fresh.text = text;
    fresh.mode =
        forcedMode().value_or(at != played.captions.begin() ? std::prev(at)->mode : CaptionMode::Cutscene);
    fresh.eitherMode = !forcedMode();
    if (at != played.captions.begin())
        fresh.said = fresh.begin = std::prev(at)->end.value_or(std::prev(at)->begin);
    played.captions.insert(at, std::move(fresh));
    return played;
}

QString ScriptCaption::hintFor(const timeline::CaptionScene &scene) const
{
    const std::string_view key = scene.skipAll ? "sepulveda_skipall" : "sepulveda_pressreturn";
    const std::shared_ptr<const GameStrings> strings = m_model.gameStrings();
    const GameStrings::Said said = strings->say(key);
    QString hint =
        said.found == GameStrings::Found::Text
            ? QString::fromStdString(cp1252::toUtf8(
                  expandCaption(said.text, [&strings](std::string_view name) { return strings->say(name); })
                      .text))
            : QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size()));
    if (!scene.skipAll && scene.queued > 0)
        hint += QStringLiteral(" (%1)").arg(scene.queued);
    return hint;
}

void ScriptCaption::showScene(const timeline::PlayedCaptions &played, std::size_t index, double elapsed)
{
    const double speed = m_model.gameStrings()->preferences().textSpeed;
    timeline::CaptionScene scene = timeline::sceneAt(played, index, elapsed, speed);
    const QString hint = hintFor(scene);
    m_preview->setScene(std::move(scene), hint);
}

void ScriptCaption::refresh()
{
    if (!m_view || !m_panel->isVisible() || m_playing)
        return;
    const timeline::PlayedCaptions played = captions();
    const int line = m_row + 1;
    std::size_t index = played.captions.size();
    for (std::size_t i = 0; i < played.captions.size() && played.captions[i].line <= line; ++i)
        index = i;
    if (index == played.captions.size()) {
        m_preview->setScene({forcedMode().value_or(CaptionMode::Normal), {}, 0, false, false}, QString());
        m_status->setText(QStringLiteral("No caption is said at or before line %1.").arg(line));
        return;
    }
    const timeline::PlayedCaption &caption = played.captions[index];
    showScene(played, index, -1);
    const CaptionLayout layout = layOutExpandedCaption(caption.text, caption.mode);
    m_status->setText(QStringLiteral("Line %1, in %2%3%4.")
                          .arg(caption.line)
                          .arg(modeName(caption.mode),
                               caption.eitherMode && !forcedMode()
                                   ? QStringLiteral(" (the camera leaves the mode open here)")
                                   : QString(),
                               losses(layout)));
}

void ScriptCaption::play()
{
    if (!m_view)
        buildView();
    m_panels.show(m_panel);
    if (m_grid.focusedRow() >= 0)
        m_row = m_grid.focusedRow();
    m_played = captions();
    const int line = m_row + 1;
    const auto from = std::find_if(m_played.captions.begin(), m_played.captions.end(),
                                   [line](const timeline::PlayedCaption &c) { return c.line >= line; });
    if (from == m_played.captions.end()) {
        m_status->setText(QStringLiteral("No caption is said from line %1 on.").arg(line));
        return;
    }
    m_playIndex = static_cast<std::size_t>(from - m_played.captions.begin());
    m_playFrom = from->begin;
    m_startedAt = m_clock();
    m_pausedAt.reset();
    m_playing = true;
    qApp->installEventFilter(this);
    m_play->setText(QStringLiteral("Stop"));
    m_grid.focusRow(from->line - 1);
    m_frame.start();
    tick();
}

double ScriptCaption::playedSeconds() const
{
    const qint64 now = m_pausedAt ? *m_pausedAt : m_clock();
    return static_cast<double>(now - m_startedAt) / 1000;
}

void ScriptCaption::tick()
{
    if (!m_playing)
        return;
    const double now = m_playFrom + playedSeconds();
    const std::vector<timeline::PlayedCaption> &all = m_played.captions;
    while (m_playIndex + 1 < all.size() && all[m_playIndex + 1].begin <= now) {
        ++m_playIndex;
        // The grid and the Timeline's cursor follow the caption shown.
        m_grid.focusRow(std::clamp(all[m_playIndex].line - 1, 0, ScriptGrid::kRowCount - 1));
    }
    const timeline::PlayedCaption &caption = all[m_playIndex];
    showScene(m_played, m_playIndex, now - caption.begin);
    m_status->setText(QStringLiteral("%1 line %2, in %3: Space pauses, Escape stops.")
                          .arg(paused() ? QStringLiteral("Paused at") : QStringLiteral("Playing"))
                          .arg(caption.line)
                          .arg(modeName(caption.mode)));
    if (m_playIndex + 1 == all.size() && (!caption.end || now >= *caption.end))
        stop();
}

void ScriptCaption::pause()
{
    if (!m_playing)
        return;
    const qint64 now = m_clock();
    if (m_pausedAt) {
        m_startedAt += now - *m_pausedAt;
        m_pausedAt.reset();
    } else {
        m_pausedAt = now;
    }
    tick();
}

void ScriptCaption::stop()
{
    if (!m_playing)
        return;
    m_playing = false;
    m_frame.stop();
    qApp->removeEventFilter(this);
    m_play->setText(QStringLiteral("Play from here"));
    m_status->setText(m_status->text().section(u':', 0, 0) + QStringLiteral(": stopped."));
}

bool ScriptCaption::eventFilter(QObject *watched, QEvent *event)
{
    if (m_playing && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Space) {
            pause();
            return true;
        }
        if (key == Qt::Key_Escape) {
            stop();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace cw::gui
