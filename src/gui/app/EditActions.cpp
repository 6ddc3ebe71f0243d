#include "gui/app/EditActions.h"

#include "core/catalogue/Tokenizer.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/TextCodec.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Dialogs.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QUndoStack>

namespace cw::gui {

EditActions::EditActions(WindowModel &model, ui::Busy &busy, ScriptGrid &grid, QWidget *window)
    : m_model(model), m_busy(busy), m_grid(grid), m_window(window)
{
    QUndoStack *undo = model.editor().undoStack();
    QAction *undoAction = undo->createUndoAction(this);
    undoAction->setObjectName(QStringLiteral("undoKey"));
    undoAction->setShortcuts(QKeySequence::Undo);
    QAction *redoAction = undo->createRedoAction(this);
    redoAction->setObjectName(QStringLiteral("redoKey"));
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence &key : {QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z),
                                    QKeySequence(Qt::ControlModifier | Qt::Key_Y)}) {
        if (!redoKeys.contains(key))
            redoKeys.append(key);
    }
    redoAction->setShortcuts(redoKeys);
    for (QAction *action : {undoAction, redoAction}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }

    const auto lineKey = [](Qt::Key key) {
        return QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | key);
    };
    connect(add(QStringLiteral("copyLineKey"), {lineKey(Qt::Key_C)}), &QAction::triggered, this,
            &EditActions::copyLine);
    connect(add(QStringLiteral("cutLineKey"), {lineKey(Qt::Key_X)}), &QAction::triggered, this,
            &EditActions::cutLine);
    connect(add(QStringLiteral("pasteLinesKey"), {lineKey(Qt::Key_V)}), &QAction::triggered, this,
            &EditActions::pasteLines);
    connect(add(QStringLiteral("moveLineUpKey"), {QKeySequence(Qt::AltModifier | Qt::Key_Up)}),
            &QAction::triggered, this, [this] { moveLine(-1); });
    connect(add(QStringLiteral("moveLineDownKey"), {QKeySequence(Qt::AltModifier | Qt::Key_Down)}),
            &QAction::triggered, this, [this] { moveLine(+1); });
}

QAction *EditActions::add(const QString &name, const QList<QKeySequence> &keys)
{
    auto *action = new QAction(this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    m_window->addAction(action);
    return action;
}

bool EditActions::copyFocusedLine(int row)
{
    const auto bytes = lineBytes(m_model.editor().document(), row);
    if (!bytes) {
        ui::showMessage(m_window,
                        QStringLiteral("Line %1 holds a character that a Darwinia script cannot hold "
                                       "(only the Windows-1252 code page). Nothing was copied.")
                            .arg(row + 1));
        return false;
    }
    QGuiApplication::clipboard()->setText(decode(*bytes));
    return true;
}

int EditActions::focusedRowOrRefuse()
{
    const int row = m_grid.focusedRow();
    if (row < 0)
        ui::refuse(&m_grid, QStringLiteral("Click into a line of the grid first"));
    return row;
}

void EditActions::copyLine()
{
    const int row = focusedRowOrRefuse();
    if (row >= 0)
        copyFocusedLine(row);
}

void EditActions::cutLine()
{
    m_busy.whenIdle([this] {
        ScriptGrid &grid = m_grid;
        const int row = focusedRowOrRefuse();
        if (row < 0)
            return;
        const int column = grid.focusedColumn();
        if (copyFocusedLine(row)) {
            m_model.editor().cutLine(row);
            grid.focusRow(row, column);
        }
    });
}

void EditActions::pasteLines()
{
    m_busy.whenIdle([this] {
        const int row = focusedRowOrRefuse();
        if (row < 0)
            return;
        const auto bytes = encode(QGuiApplication::clipboard()->text());
        if (!bytes) {
            ui::showMessage(m_window, QStringLiteral("The clipboard holds a character that a Darwinia script "
                                                     "cannot hold (only the Windows-1252 code page). Nothing "
                                                     "was pasted."));
            return;
        }
        const ScriptDocument::Paste paste = m_model.editor().pasteLines(row, *bytes);
        if (paste.refused) {
            ui::showMessage(m_window, decode(withoutExiting(kTokenizerMessage)),
                            QStringLiteral("The clipboard holds a line of more than 21 words. Nothing was "
                                           "pasted."));
        } else if (paste.overflow > 0) {
            const QString lines = paste.overflow == 1
                                      ? QStringLiteral("1 line does not fit")
                                      : QStringLiteral("%1 lines do not fit").arg(paste.overflow);
            ui::showMessage(m_window, lines + QStringLiteral(": the script would go past line 100. Nothing "
                                                             "was pasted."));
        }
    });
}

void EditActions::moveLine(int direction)
{
    m_busy.whenIdle([this, direction] {
        ScriptGrid &grid = m_grid;
        const int row = grid.focusedRow();
        if (row < 0)
            return;
        const int column = grid.focusedColumn();
        if (m_model.editor().moveLine(row, direction))
            grid.focusRow(row + direction, column);
    });
}

} // namespace cw::gui
