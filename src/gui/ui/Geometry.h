#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>

// Positions are given in twips (1/1440 inch), the unit of the window's layout; 15 twips
// make one pixel at 96 dots per inch, and Qt's high-DPI scaling does the rest. The
// layout grows and shrinks with the application's font: at the default font of 9 points
// it is exactly as laid out, and at a font of n points it is n / 9 times as large, so
// that no caption or text is cut at larger fonts (--font-size, or the desktop's).
namespace cw::gui {

constexpr int kTwipsPerPixel = 15;
constexpr double kDefaultPointSize = 9;

// The scale of every position and size of the window: 1 at the default font.
double layoutScale();
void setLayoutScale(double scale);
// The scale for a font: its size over the default size.
double scaleForFont(const QFont &font);

// Twips to pixels, at the layout's scale; halves round away from zero.
int px(int twips);
// Pixels of the layout at the default font, at the layout's scale.
int scaled(int pixels);

void placeTwips(QWidget *widget, int left, int top, int width, int height);
// Places a widget by pixels of the layout at the default font.
void place(QWidget *widget, int left, int top, int width, int height);

} // namespace cw::gui
