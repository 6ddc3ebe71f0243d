#include "gui/ui/Pictures.h"

#include "gui/ui/Geometry.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace cw::gui {
namespace {

// Drawn on a square of this side at the default font, and as much larger as the layout
// is, sharp on screens of every pixel ratio.
constexpr int kSize = 20;

QPixmap drawn(const QColor &fill, const std::function<void(QPainter &)> &mark)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    const int side = scaled(kSize);
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<qreal>(side) / kSize, static_cast<qreal>(side) / kSize);
    painter.setPen(QPen(fill.darker(140), 1.5));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(1.5, 1.5, kSize - 3, kSize - 3));
    painter.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    mark(painter);
    return pixmap;
}

const char *stateName(Indicator indicator)
{
    switch (indicator) {
    case Indicator::Worked:
        return "worked";
    case Indicator::Broken:
        return "broken";
    case Indicator::Neutral:
        break;
    }
    return "neutral";
}

QPixmap drawIndicator(Indicator indicator)
{
    switch (indicator) {
    case Indicator::Worked:
        return drawn(QColor(0x2e, 0x9d, 0x4a), [](QPainter &p) {
            QPainterPath tick;
            tick.moveTo(5.5, 10.5);
            tick.lineTo(8.5, 13.5);
            tick.lineTo(14.5, 6.5);
            p.drawPath(tick);
        });
    case Indicator::Broken:
        return drawn(QColor(0xc6, 0x2f, 0x2f), [](QPainter &p) {
            p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
            p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
        });
    case Indicator::Neutral:
        break;
    }
    return drawn(QColor(0x9a, 0x9a, 0x9a), [](QPainter &p) { p.drawLine(QPointF(6, 10), QPointF(14, 10)); });
}

} // namespace

QPixmap indicatorPicture(Indicator indicator)
{
    // Kept while the layout's scale stays: drawn once a scale, not once a mod opened.
    static double scaleDrawn = 0;
    static QPixmap pictures[3];
    if (scaleDrawn != layoutScale()) {
        scaleDrawn = layoutScale();
        for (Indicator each : {Indicator::Neutral, Indicator::Worked, Indicator::Broken})
            pictures[static_cast<int>(each)] = drawIndicator(each);
    }
    return pictures[static_cast<int>(indicator)];
}

QPixmap launchPicture()
{
    return drawn(QColor(0x3a, 0x6e, 0xb5), [](QPainter &p) {
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(8, 6), QPointF(14.5, 10), QPointF(8, 14)}));
    });
}

IndicatorLabel::IndicatorLabel(const QString &name, QWidget *parent) : QLabel(parent)
{
    setObjectName(name);
    setIndicator(Indicator::Neutral);
}

void IndicatorLabel::setIndicator(Indicator indicator)
{
    m_indicator = indicator;
    setPixmap(indicatorPicture(indicator));
    setProperty("state", QString::fromLatin1(stateName(indicator)));
}

} // namespace cw::gui
