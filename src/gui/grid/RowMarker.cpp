#include "gui/grid/RowMarker.h"

#include <QPainter>

#include <algorithm>

namespace cw::gui {

RowMarker::RowMarker(int row, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mark_%1").arg(row));
    setProperty("severity", QStringLiteral("none"));
}

void RowMarker::setMark(const RowMark &mark)
{
    if (mark.severity != m_severity) {
        m_severity = mark.severity;
        const char *name = m_severity == RowMark::Severity::Error     ? "error"
                           : m_severity == RowMark::Severity::Warning ? "warning"
                           : m_severity == RowMark::Severity::Note    ? "note"
                                                                      : "none";
        setProperty("severity", QString::fromLatin1(name));
        update();
    }
    setToolTip(mark.findings);
}

void RowMarker::paintEvent(QPaintEvent *)
{
    if (m_severity == RowMark::Severity::None)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    if (m_severity == RowMark::Severity::Note) {
        // Worth knowing, not wrong: a small grey dot, quieter than either bar.
        const qreal side = std::min(width(), height());
        painter.setBrush(QColor(0x8a, 0x8a, 0x8a));
        painter.drawEllipse(QRectF((width() - side) / 2, (height() - side) / 2, side, side));
        return;
    }
    const bool error = m_severity == RowMark::Severity::Error;
    // An error is a full red bar, a warning a shorter amber one: told apart by shape as
    // well as by colour.
    const QColor colour = error ? QColor(0xd0, 0x2a, 0x1e) : QColor(0xe0, 0x9a, 0x10);
    const int inset = error ? 1 : height() / 4;
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(0, inset, width(), height() - 2 * inset), 1.5, 1.5);
}

} // namespace cw::gui
