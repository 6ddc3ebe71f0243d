#pragma once

#include <QLabel>
#include <QString>

namespace cw::gui {

// A line number that reports which mouse button was released over it.
class LineNumberLabel : public QLabel
{
    Q_OBJECT
public:
    LineNumberLabel(int row, QWidget *parent);

    // The tooltip says what clicking the number does, then the note when there is one.
    void setNote(const QString &note);

Q_SIGNALS:
    void released(int row, Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_row;
};

} // namespace cw::gui
