#pragma once

#include <QPlainTextEdit>

namespace cw::gui {

class StringsText;

// The strings editor "stringstext": shows and edits the strings editor's text, which the
// window model holds. The Tab key moves the focus, as everywhere in the window, so a
// typed grave accent becomes a tab instead; pasted text is taken as it is. Shown, it
// makes sure its text is in place (a text built in the background is waited for).
class StringsTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    StringsTextEdit(StringsText &text, QWidget *parent);

    StringsText &strings() const { return m_text; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    StringsText &m_text;
};

} // namespace cw::gui
