#include "gui/grid/LineNumberLabel.h"

#include <QMouseEvent>

namespace cw::gui {
namespace {

const QString kNumberTip = QStringLiteral("Left click to toggle empty lines, Right click to force add");

} // namespace

LineNumberLabel::LineNumberLabel(int row, QWidget *parent) : QLabel(parent), m_row(row)
{
    setObjectName(QStringLiteral("linenum_%1").arg(row));
    setText(QString::number(row + 1));
    setToolTip(kNumberTip);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void LineNumberLabel::setNote(const QString &note)
{
    setToolTip(note.isEmpty() ? kNumberTip : kNumberTip + QStringLiteral("\n") + note);
}

void LineNumberLabel::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT released(m_row, event->button());
    event->accept();
}

} // namespace cw::gui
