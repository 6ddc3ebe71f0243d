#pragma once

#include "core/check/Checker.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QAction;
class QDockWidget;

namespace cw {
class GameStrings;
class Levels;
} // namespace cw

namespace cw::gui {

class ScriptGrid;
class WindowModel;
namespace ui {
class Panels;
}

// What the game will do with the script: checked while the user edits (a moment after
// the last change, never while typing), shown as a marker at each row with findings,
// and on "Check" in a panel docked beside the grid ("checkPanel"), which lists the grid's
// findings and those `cuewright check` gives for the script's file and the mod's
// strings files on disk, and follows the edits. Double-clicking a finding goes to its
// row. The files on disk are read only when they change (filesChanged), never per edit.
class ScriptCheck : public QObject
{
    Q_OBJECT
public:
    // How long after the last change the grid is checked again.
    static constexpr int kDelayMilliseconds = 300;
    // The findings panel lists at most this many; its title and summary count them all.
    static constexpr int kListedFindings = 1000;
    // The item data role that names a listed finding's severity ("error", "warning",
    // "note") for what cannot look at its icon and colour.
    static constexpr int kSeverityRole = Qt::UserRole + 1;

    ScriptCheck(WindowModel &model, ScriptGrid &grid, QAction *cmdCheck, ui::Panels &panels);

    // Shows the findings panel (and checks now).
    void check();
    // Checks the grid as it stands now: the markers, and the panel when it is open.
    void checkNow();
    // A mod was opened, or the open script opened, saved or changed on disk, or the
    // strings saved: the strings as the game loads them and the findings of the files
    // on disk are read again at the next check (a moment later).
    void filesChanged();
    // Asks for a row of the grid to be shown and focused (rowRequested).
    void goToRow(int row);

    // What the panel shows ("checkDialog"), made the first time it opens.
    QWidget *dialog() const { return m_dialog; }
    QDockWidget *panel() const { return m_panel; }

Q_SIGNALS:
    // A finding was double-clicked: its row of the grid should be shown and focused.
    void rowRequested(int row);

private:
    // A finding of a file on disk: `file` is empty for the open script's.
    struct FileFinding
    {
        QString file;
        check::Finding finding;
    };
    using Counts = std::array<int, 3>; // by severity: note, warning, error

    void buildDialog();
    bool panelShown() const;
    void showFindings();
    void checkFiles();
    check::ScriptContext context() const;

    WindowModel &m_model;
    ScriptGrid &m_grid;
    ui::Panels &m_panels;
    QDockWidget *m_panel;
    QTimer m_delay;
    std::vector<check::Finding> m_gridFindings;
    // The mod's strings as the game loads them, as the model has them when checking.
    std::shared_ptr<const GameStrings> m_strings;
    std::shared_ptr<const Levels> m_levels;
    // What the files on disk hold: the first findings (and all those on the grid's
    // lines, which may be the grid's own), and how many there are of each severity.
    bool m_filesStale = true;
    std::vector<FileFinding> m_fileFindings;
    Counts m_fileCounts{};
    QWidget *m_dialog = nullptr; // the panel's, made on first use
    QLabel *m_summary = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace cw::gui
