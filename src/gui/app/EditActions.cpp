#include "gui/app/EditActions.h"

#include "core/catalogue/Tokenizer.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptFiles.h"
#include "gui/strings/StringsEditor.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>

namespace cw::gui {

EditActions::EditActions(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    // The buttons' own rules apply: a disabled button does nothing. Ctrl+S saves what
    // the page shown edits: the strings table on its page, else the open script to its
    // own file (whichever file File1 highlights).
    connect(add(QStringLiteral("saveScriptKey"), {QKeySequence(Qt::ControlModifier | Qt::Key_S)}),
            &QAction::triggered, this, [this, &c] {
                if (c.tabs->currentWidget() == c.tabFrame[3]) {
                    if (c.saveStrings->isEnabled())
                        m_window.stringsEditor().save();
                } else if (c.saveSc->isEnabled()) {
                    m_window.scriptFiles().saveOpenScript();
                }
            });
    connect(add(QStringLiteral("saveScriptAsKey"),
                {QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_S)}),
            &QAction::triggered, c.saveScAs, &QPushButton::click);
    connect(add(QStringLiteral("newScriptKey"), {QKeySequence(Qt::ControlModifier | Qt::Key_N)}),
            &QAction::triggered, c.newSc, &QPushButton::click);

    QUndoStack *undo = window.editor().undoStack();
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
        window.addAction(action);
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
    m_window.addAction(action);
    return action;
}

bool EditActions::copyFocusedLine(int row)
{
    const auto bytes = lineBytes(m_window.editor().document(), row);
    if (!bytes) {
        ui::showMessage(&m_window,
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
    const int row = m_window.grid().focusedRow();
    if (row < 0)
        ui::refuse(m_window.controls().grid, QStringLiteral("Click into a line of the grid first"));
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
    m_window.whenIdle([this] {
        ScriptGrid &grid = m_window.grid();
        const int row = focusedRowOrRefuse();
        if (row < 0)
            return;
        const int column = grid.focusedColumn();
        if (copyFocusedLine(row)) {
            m_window.editor().cutLine(row);
            grid.focusRow(row, column);
        }
    });
}

void EditActions::pasteLines()
{
    m_window.whenIdle([this] {
        const int row = focusedRowOrRefuse();
        if (row < 0)
            return;
        const auto bytes = encode(QGuiApplication::clipboard()->text());
        if (!bytes) {
            ui::showMessage(&m_window,
                            QStringLiteral("The clipboard holds a character that a Darwinia script "
                                           "cannot hold (only the Windows-1252 code page). Nothing "
                                           "was pasted."));
            return;
        }
        const ScriptDocument::Paste paste = m_window.editor().pasteLines(row, *bytes);
        if (paste.refused) {
            ui::showMessage(&m_window, decode(withoutExiting(kTokenizerMessage)),
                            QStringLiteral("The clipboard holds a line of more than 21 words. Nothing was "
                                           "pasted."));
        } else if (paste.overflow > 0) {
            const QString lines = paste.overflow == 1
                                      ? QStringLiteral("1 line does not fit")
                                      : QStringLiteral("%1 lines do not fit").arg(paste.overflow);
            ui::showMessage(&m_window, lines + QStringLiteral(": the script would go past line 100. Nothing "
                                                              "was pasted."));
        }
    });
}

void EditActions::moveLine(int direction)
{
    m_window.whenIdle([this, direction] {
        ScriptGrid &grid = m_window.grid();
        const int row = grid.focusedRow();
        if (row < 0)
            return;
        const int column = grid.focusedColumn();
        if (m_window.editor().moveLine(row, direction))
            grid.focusRow(row + direction, column);
    });
}

} // namespace cw::gui
