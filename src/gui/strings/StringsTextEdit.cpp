#include "gui/strings/StringsTextEdit.h"

#include "core/strings/StringsText.h"
#include "gui/ui/TextCodec.h"

#include <QKeyEvent>
#include <QTextDocument>

namespace cw::gui {

StringsTextEdit::StringsTextEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("stringstext"));
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setToolTip(QStringLiteral(
        "Strings go here! use ` for tab as I can't stop it stealing tab to select other stuff"));
}

QString StringsTextEdit::textFromBytes(std::string_view bytes)
{
    return decode(editorTextFromFile(bytes));
}

void StringsTextEdit::setFileBytes(std::string_view bytes)
{
    m_pendingBytes = std::string(bytes);
    if (isVisible())
        ensureLoaded();
}

void StringsTextEdit::ensureLoaded()
{
    if (!m_pendingBytes)
        return;
    std::string bytes = std::move(*m_pendingBytes);
    m_pendingBytes.reset();
    setPlainText(textFromBytes(bytes));
    document()->setModified(false);
}

bool StringsTextEdit::isModified() const
{
    // Text still waiting for its first showing is the file's, as set.
    return !m_pendingBytes && document()->isModified();
}

void StringsTextEdit::markSaved()
{
    document()->setModified(false);
}

QString StringsTextEdit::text()
{
    ensureLoaded();
    // The raw text keeps no-break spaces, which toPlainText() would turn into blanks.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    raw.replace(QChar::LineSeparator, u'\n');
    return raw;
}

void StringsTextEdit::showEvent(QShowEvent *event)
{
    ensureLoaded();
    QPlainTextEdit::showEvent(event);
}

StringsTextEdit::Encoded StringsTextEdit::fileBytes()
{
    const QString shown = text();
    Encoded result;
    qsizetype bad = -1;
    const auto bytes = encode(shown, &bad);
    if (!bytes) {
        result.badLine = 1 + static_cast<int>(QStringView(shown).left(bad).count(u'\n'));
        return result;
    }
    result.bytes = fileBytesFromEditorText(*bytes);
    return result;
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
