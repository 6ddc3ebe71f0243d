#include "strings/StringsTextEdit.h"

#include <QKeyEvent>

namespace cw::gui {

StringsTextEdit::StringsTextEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("stringstext"));
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setToolTip(QStringLiteral(
        "Strings go here! use ` for tab as I can't stop it stealing tab to select other stuff"));
}

void StringsTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->text() == QStringLiteral("`")) {
        insertPlainText(QStringLiteral("\t"));
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace cw::gui
