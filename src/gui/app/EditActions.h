#pragma once

#include "gui/ui/Busy.h"
#include <QObject>

#include <functional>

class QAction;
class QWidget;

namespace cw::gui {

class ScriptGrid;
class WindowModel;

// The window's keys for editing the script (the keys of its commands are theirs, see
// Commands.h): undo and redo of the grid (Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y); and
// the line keys of the row holding the keyboard focus: Ctrl+Shift+C copies its line to
// the clipboard as script text, Ctrl+Shift+X cuts it, Ctrl+Shift+V inserts the
// clipboard's lines before it, Alt+Up and Alt+Down move it.
class EditActions : public QObject
{
    Q_OBJECT
public:
    // The keys act in `window`.
    EditActions(WindowModel &model, ui::Busy &busy, ScriptGrid &grid, QWidget *window);

    void copyLine();
    void cutLine();
    void pasteLines();
    void moveLine(int direction);

private:
    QAction *add(const QString &name, const QList<QKeySequence> &keys);
    // The row holding the keyboard focus, or -1 after telling the user to click into one.
    int focusedRowOrRefuse();
    // The focused row's line as script text, or nothing (after telling the user why).
    bool copyFocusedLine(int row);

    WindowModel &m_model;
    ui::Busy &m_busy;
    ScriptGrid &m_grid;
    QWidget *m_window;
};

} // namespace cw::gui
