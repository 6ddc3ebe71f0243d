#include "gui/ui/Geometry.h"

#include <cmath>

namespace cw::gui {
namespace {

double g_scale = 1.0;

} // namespace

double layoutScale()
{
    return g_scale;
}

void setLayoutScale(double scale)
{
    g_scale = scale > 0 ? scale : 1.0;
}

double scaleForFont(const QFont &font)
{
    // A font given in pixels: 12 pixels are 9 points at 96 dots per inch.
    const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    return points > 0 ? points / kDefaultPointSize : 1.0;
}

int px(int twips)
{
    return static_cast<int>(std::lround(twips * g_scale / kTwipsPerPixel));
}

int scaled(int pixels)
{
    return static_cast<int>(std::lround(pixels * g_scale));
}

void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(scaled(left), scaled(top), scaled(width), scaled(height));
}

} // namespace cw::gui
