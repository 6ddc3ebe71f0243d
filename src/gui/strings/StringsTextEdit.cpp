#include "gui/strings/StringsTextEdit.h"

#include "gui/ui/TextCodec.h"

#include <QKeyEvent>
#include <QTextDocument>

namespace cw::gui {
namespace {

constexpr char16_t kLoneCarriageReturn = u'\u240D';
constexpr char16_t kLoneLineFeed = u'\u240A';

} // namespace

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
    QString text = decode(bytes);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            out.append(u'\n');
            ++i;
        } else if (c == u'\r') {
            out.append(QChar(kLoneCarriageReturn));
        } else if (c == u'\n') {
            out.append(QChar(kLoneLineFeed));
        } else {
            out.append(c);
        }
    }
    return out;
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
    const std::string bytes = std::move(*m_pendingBytes);
    m_pendingBytes.reset();
    setPlainText(textFromBytes(bytes));
}

QString StringsTextEdit::text()
{
    ensureLoaded();
    // The raw text keeps no-break spaces, which toPlainText() would turn into blanks.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    return raw;
}

void StringsTextEdit::showEvent(QShowEvent *event)
{
    ensureLoaded();
    QPlainTextEdit::showEvent(event);
}

StringsTextEdit::Encoded StringsTextEdit::fileBytes()
{
    ensureLoaded();
    // The raw text keeps no-break spaces, which toPlainText() would turn into blanks.
    const QString raw = document()->toRawText();
    QString text;
    text.reserve(raw.size() + raw.size() / 16);
    for (const QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            text.append(QStringLiteral("\r\n"));
        else if (c == QChar(kLoneCarriageReturn))
            text.append(u'\r');
        else if (c == QChar(kLoneLineFeed))
            text.append(u'\n');
        else
            text.append(c);
    }
    Encoded result;
    qsizetype bad = -1;
    result.bytes = encode(text, &bad);
    if (!result.bytes) {
        int line = 1;
        for (qsizetype i = 0; i < bad; ++i) {
            if (text.at(i) == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++line;
        }
        result.badLine = line;
    }
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
