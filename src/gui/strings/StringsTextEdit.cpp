#include "gui/strings/StringsTextEdit.h"

#include "gui/model/StringsText.h"

#include <QKeyEvent>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>

namespace cw::gui {

StringsTextEdit::StringsTextEdit(StringsText &text, QWidget *parent) : QPlainTextEdit(parent), m_text(text)
{
    setObjectName(QStringLiteral("stringstext"));
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setToolTip(QStringLiteral(
        "Strings go here! use ` for tab as I can't stop it stealing tab to select other stuff"));
    m_text.setLayoutMaker([](QTextDocument *document) -> QAbstractTextDocumentLayout * {
        return new QPlainTextDocumentLayout(document);
    });
    m_text.setFont(font());
    setDocument(m_text.document());
    connect(&m_text, &StringsText::documentReplaced, this, &QPlainTextEdit::setDocument);
    // A text set while the page is shown is put in place at once.
    connect(&m_text, &StringsText::bytesSet, this, [this] {
        if (isVisible())
            m_text.ensureLoaded();
    });
}

void StringsTextEdit::showEvent(QShowEvent *event)
{
    m_text.ensureLoaded();
    QPlainTextEdit::showEvent(event);
}

void StringsTextEdit::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_text.setFont(font());
    QPlainTextEdit::changeEvent(event);
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
