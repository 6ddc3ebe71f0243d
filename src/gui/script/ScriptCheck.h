#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>

class QLabel;
class QListWidget;

namespace cw::gui {

class MainWindow;

// "Check" on the Scripts page: what the game will do with the script in the grid,
// as a list of findings; double-clicking one goes to its row.
class ScriptCheck : public QObject
{
    Q_OBJECT
public:
    explicit ScriptCheck(MainWindow &window);
    ~ScriptCheck() override;

    // Checks the rows as they stand (edits included) and shows the findings.
    void check();
    // Scrolls the grid to a row, if it is out of view, and focuses its command chooser.
    void goToRow(int row);

    QDialog *dialog() const { return m_dialog; }

private:
    void buildDialog();

    MainWindow &m_window;
    QPointer<QDialog> m_dialog;
    QLabel *m_summary = nullptr;
    QListWidget *m_findings = nullptr;
};

} // namespace cw::gui
