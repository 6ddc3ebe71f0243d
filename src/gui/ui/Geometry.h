#pragma once

#include <QRect>
#include <QWidget>

// Positions are given in twips (1/1440 inch), the unit of the window's layout; 15 twips
// make one pixel at 96 dots per inch, and Qt's high-DPI scaling does the rest.
namespace cw::gui {

constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips)
{
    // Rounded to the nearest pixel, halves away from zero.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(px(left), px(top), px(width), px(height));
}

} // namespace cw::gui
