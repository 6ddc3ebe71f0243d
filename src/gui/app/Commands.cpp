#include "gui/app/Commands.h"

#include <QAction>
#include <QPushButton>
#include <QWidget>

namespace cw::gui {
namespace {

QAction *command(QWidget *window, const char *name, bool enabled, const QKeySequence &key = {})
{
    auto *action = new QAction(window);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    return action;
}

} // namespace

Commands makeCommands(QWidget *window)
{
    Commands c;
    c.saveScript = command(window, "saveScriptCommand", false);
    c.saveOpenScript = command(window, "saveOpenScriptCommand", false);
    QObject::connect(c.saveScript, &QAction::enabledChanged, c.saveOpenScript, &QAction::setEnabled);
    c.saveScriptAs = command(window, "saveScriptAsCommand", false,
                             QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_S));
    c.newScript = command(window, "newScriptCommand", false, QKeySequence(Qt::ControlModifier | Qt::Key_N));
    c.deleteScript = command(window, "deleteScriptCommand", false);
    c.saveStrings = command(window, "saveStringsCommand", false);
    c.revertStrings = command(window, "revertStringsCommand", false);
    c.check = command(window, "checkCommand", true);
    c.timeline = command(window, "timelineCommand", true);
    c.caption = command(window, "captionCommand", true,
                        QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_P));
    c.saveShown = command(window, "saveShownCommand", true, QKeySequence(Qt::ControlModifier | Qt::Key_S));
    c.find = command(window, "findCommand", true, QKeySequence(Qt::ControlModifier | Qt::Key_F));
    c.findNext = command(window, "findNextCommand", true, QKeySequence(Qt::Key_F3));
    c.findPrevious =
        command(window, "findPreviousCommand", true, QKeySequence(Qt::ShiftModifier | Qt::Key_F3));
    c.findInMod = command(window, "findInModCommand", false,
                          QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_F));
    c.undoModChange = command(window, "undoModChangeCommand", false);
    c.renameKey = command(window, "renameKeyCommand", false, QKeySequence(Qt::Key_F2));
    return c;
}

void bindButton(QPushButton *button, QAction *action)
{
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
}

} // namespace cw::gui
