#pragma once

#include <QLabel>
#include <QPixmap>

namespace cw::gui {

// The three pictures that tell whether a part of a mod could be opened.
enum class Indicator { Neutral, Worked, Broken };

QPixmap indicatorPicture(Indicator indicator);
QPixmap launchPicture();

// A picture label showing one indicator; its dynamic property "state" names it
// ("neutral", "worked", "broken") for anything that cannot look at pixels.
class IndicatorLabel : public QLabel
{
    Q_OBJECT
public:
    IndicatorLabel(const QString &name, QWidget *parent);
    void setIndicator(Indicator indicator);
    Indicator indicator() const { return m_indicator; }

private:
    Indicator m_indicator = Indicator::Neutral;
};

} // namespace cw::gui
