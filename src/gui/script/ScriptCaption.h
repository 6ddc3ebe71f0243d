#pragma once

#include "core/timeline/CaptionScene.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QPushButton;
class QWidget;

namespace cw::gui {

class CaptionPreview;
class ScriptGrid;
class ScriptTimeline;
class WindowModel;
namespace ui {
class Panels;
}

// The caption as the player will see it, in a panel docked as the Check panel is
// ("captionPanel", its content "captionView"): Sepulveda's box for the row that has the
// keyboard focus (the caption it says, or the last one said before it), in the mode the
// Timeline decides or the one the switch picks, following every edit at once. "Play from
// here" plays the script's captions from that row at the game's speed, with the script's
// waits between them as the Timeline has them; the grid's focused row and the Timeline's
// cursor follow; Space pauses and goes on, Escape stops.
class ScriptCaption : public QObject
{
    Q_OBJECT
public:
    // How often a playing caption is drawn again: the game's frame.
    static constexpr int kFrameMilliseconds = 16;

    ScriptCaption(WindowModel &model, ScriptGrid &grid, ScriptTimeline &timeline, QAction *cmdCaption,
                  ui::Panels &panels);
    ~ScriptCaption() override;

    // Shows the panel with the focused row's caption.
    void show();
    void play();
    // Pauses a playing script, or goes on with a paused one.
    void pause();
    void stop();
    bool playing() const { return m_playing; }
    bool paused() const { return m_playing && m_pausedAt.has_value(); }
    // The clock playing goes by, in milliseconds; tests give one of their own.
    void setClock(std::function<qint64()> milliseconds) { m_clock = std::move(milliseconds); }

    QDockWidget *panel() const { return m_panel; }
    CaptionPreview *preview() const { return m_preview; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildView();
    void refresh();
    void tick();
    // The script's captions from the Timeline, the focused row's as the grid now says it.
    timeline::PlayedCaptions captions() const;
    std::optional<CaptionMode> forcedMode() const;
    QString hintFor(const timeline::CaptionScene &scene) const;
    void showScene(const timeline::PlayedCaptions &played, std::size_t index, double elapsed);
    double playedSeconds() const;

    WindowModel &m_model;
    ScriptGrid &m_grid;
    ScriptTimeline &m_timeline;
    ui::Panels &m_panels;
    QDockWidget *m_panel;
    QWidget *m_view = nullptr; // made the first time the panel opens
    QComboBox *m_mode = nullptr;
    QPushButton *m_play = nullptr;
    QLabel *m_status = nullptr;
    CaptionPreview *m_preview = nullptr;
    int m_row = 0; // the row shown: the focused one, or the last one that was

    // Playing: the captions, the one shown, and the clock from the first's begin.
    bool m_playing = false;
    timeline::PlayedCaptions m_played;
    std::size_t m_playIndex = 0;
    double m_playFrom = 0; // seconds of the script where playing started
    qint64 m_startedAt = 0;
    std::optional<qint64> m_pausedAt;
    QTimer m_frame;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_clock;
};

} // namespace cw::gui
