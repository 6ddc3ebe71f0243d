#pragma once

#include <QPlainTextEdit>

namespace cw::gui {

// The strings editor. The Tab key moves the focus, as everywhere in the window, so a
// typed grave accent becomes a tab instead; pasted text is taken as it is.
class StringsTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit StringsTextEdit(QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace cw::gui
