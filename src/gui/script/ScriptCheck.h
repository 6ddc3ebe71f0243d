#pragma once

#include "core/check/Checker.h"

#include <QDialog>
#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QListWidget;

namespace cw {
class StringsTable;
}

namespace cw::gui {

class MainWindow;

// What the game will do with the script: checked while the user edits (a moment after
// the last change, never while typing), shown as a marker at each row with findings,
// and on "Check" in a window of its own beside the main one, which lists the grid's
// findings and those `cuewright check` gives for the files on disk, and follows the
// edits. Double-clicking a finding goes to its row.
class ScriptCheck : public QObject
{
    Q_OBJECT
public:
    // How long after the last change the grid is checked again.
    static constexpr int kDelayMilliseconds = 300;

    explicit ScriptCheck(MainWindow &window);
    ~ScriptCheck() override;

    // Shows the findings window (and checks now).
    void check();
    // Checks the grid as it stands now: the markers, and the window when it is open.
    void checkNow();
    // Scrolls the grid to a row, if it is out of view, and focuses its command chooser.
    void goToRow(int row);

    QDialog *dialog() const { return m_dialog; }
    const std::vector<check::Finding> &gridFindings() const { return m_gridFindings; }

private:
    void buildDialog();
    void placeDialog();
    void showFindings();
    const check::GameStringKeys &keys();
    // What `cuewright check MOD SCRIPT` says of the open script's file and the mod's
    // strings table on disk, each with the file it is about.
    struct FileFinding
    {
        bool stringsTable = false;
        check::Finding finding;
    };
    std::vector<FileFinding> fileFindings();

    MainWindow &m_window;
    QTimer m_delay;
    std::vector<check::Finding> m_gridFindings;
    // The game's keys of the strings table, made again only when the table changes.
    const StringsTable *m_keysOf = nullptr;
    std::optional<check::GameStringKeys> m_keys;
    QDialog *m_dialog = nullptr; // a child of the window, made on first use
    QLabel *m_summary = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace cw::gui
