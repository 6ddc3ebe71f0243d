#include "gui/timeline/CaptionPreview.h"

#include "core/text/Codepage.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace cw::gui {
namespace {

constexpr double kScreenHeight = kCaptionScreenHeight;
constexpr double kBoxLeft = (CaptionPreview::kScreenWidth - kCaptionBoxWidth) / 2;
constexpr double kMargin = 8;
constexpr double kPortraitWidth = 80;
constexpr double kPortraitHeight = 100;
constexpr double kTextLeft = kBoxLeft + kMargin + kPortraitWidth + kMargin;
constexpr double kHintSize = 7;

// The game's font: monospaced, each glyph 0.6 times its size wide, at `size` units of
// a screen drawn `scale` pixels per unit.
QFont gameFont(double size, double scale)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(std::max(1, static_cast<int>(size * scale)));
    const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('M'));
    if (advance > 0)
        font.setStretch(
            std::clamp(static_cast<int>(100 * kCaptionGlyphWidth * size * scale / advance), 1, 4000));
    return font;
}

// White text with a one-unit dark outline, its top at `top`.
void outlined(QPainter &painter, QPointF topLeft, const QString &text, double scale, double opacity)
{
    const double ascent = QFontMetricsF(painter.font()).ascent();
    const QPointF at(topLeft.x() * scale, topLeft.y() * scale + ascent);
    painter.setOpacity(opacity);
    painter.setPen(QColor(0, 0, 0));
    for (const QPointF offset : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
        painter.drawText(at + offset * std::max(1.0, scale), text);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(at, text);
    painter.setOpacity(1);
}

} // namespace

CaptionPreview::CaptionPreview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("captionCanvas"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void CaptionPreview::setScene(timeline::CaptionScene scene, const QString &hint)
{
    m_scene = std::move(scene);
    m_hint = hint;
    update();
}

QSize CaptionPreview::sizeHint() const
{
    return {400, heightForWidth(400)};
}

QSize CaptionPreview::minimumSizeHint() const
{
    return {160, heightForWidth(160)};
}

int CaptionPreview::heightForWidth(int width) const
{
    return static_cast<int>(width * kScreenHeight / kScreenWidth);
}

void CaptionPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const double scale = std::min(width() / kScreenWidth, height() / kScreenHeight);
    // The game's screen, as large as the panel lets it be, in its middle.
    painter.translate((width() - kScreenWidth * scale) / 2, (height() - kScreenHeight * scale) / 2);
    painter.setClipRect(QRectF(0, 0, kScreenWidth * scale, kScreenHeight * scale));
    painter.fillRect(QRectF(0, 0, kScreenWidth * scale, kScreenHeight * scale), QColor(0x20, 0x24, 0x20));
    const bool normal = m_scene.mode == CaptionMode::Normal;
    const CaptionBox &box = captionBox(m_scene.mode);
    const double lines = static_cast<double>(m_scene.lines.size());
    if (normal) {
        const double top = kNormalFirstLineY - kNormalLineStep * (kNormalMaxLines - 1) - kMargin;
        QLinearGradient blue(0, top * scale, 0, kScreenHeight * scale);
        blue.setColorAt(0, QColor::fromRgbF(0.1F, 0.1F, 0.5F, 0.2F));
        blue.setColorAt(1, QColor::fromRgbF(0.1F, 0.1F, 0.5F, 0.9F));
        painter.fillRect(
            QRectF(kBoxLeft * scale, top * scale, kCaptionBoxWidth * scale, (kScreenHeight - top) * scale),
            blue);
    }
    // The portrait is the game's art: only where it goes is drawn.
    const double portraitTop = normal ? kScreenHeight - kMargin - kPortraitHeight : box.firstLineY;
    painter.setPen(QColor(0xa0, 0xa0, 0xa0));
    painter.drawRect(QRectF((kBoxLeft + kMargin) * scale, portraitTop * scale, kPortraitWidth * scale,
                            kPortraitHeight * scale));
    painter.setFont(gameFont(box.textSize, scale));
    for (std::size_t i = 0; i < m_scene.lines.size(); ++i) {
        const timeline::SceneLine &line = m_scene.lines[i];
        // Normal mode stacks up from its lowest line, cutscene mode runs down.
        const double top = normal ? box.firstLineY - box.lineStep * (lines - 1 - static_cast<double>(i))
                                  : box.firstLineY + box.lineStep * static_cast<double>(i);
        if (normal && line.first)
            outlined(painter, {kTextLeft - 2 * kCaptionGlyphWidth * box.textSize, top}, QStringLiteral(">"),
                     scale, line.opacity);
        outlined(painter, {kTextLeft, top}, QString::fromStdString(cp1252::toUtf8(line.text)), scale,
                 line.opacity);
    }
    if (!m_hint.isEmpty()) {
        painter.setFont(gameFont(kHintSize, scale));
        const double hintWidth =
            QFontMetricsF(painter.font()).horizontalAdvance(m_hint) / std::max(scale, 0.01);
        outlined(painter, {kBoxLeft + kCaptionBoxWidth - kMargin - hintWidth, kScreenHeight - kHintSize - 2},
                 m_hint, scale, 1);
    }
}

} // namespace cw::gui
