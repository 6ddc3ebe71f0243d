#include "gui/ui/GrowingPage.h"

#include <algorithm>
#include <cmath>

namespace cw::gui {

void GrowingPage::follow(QWidget *widget, int how, double widthShare)
{
    m_followers.push_back({widget, widget->geometry(), how, widthShare});
}

void GrowingPage::setDesignSize(const QSize &size)
{
    m_design = size;
    setMinimumSize(size);
    relayout();
}

void GrowingPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void GrowingPage::relayout()
{
    if (!m_design.isValid())
        return;
    const int dx = std::max(0, width() - m_design.width());
    const int dy = std::max(0, height() - m_design.height());
    for (const Follower &f : m_followers) {
        const int wider = static_cast<int>(std::lround(dx * f.widthShare));
        QRect place = f.place;
        if (f.how & MoveRight)
            place.translate(wider, 0);
        if (f.how & Widen)
            place.setWidth(place.width() + wider);
        if (f.how & MoveDown)
            place.translate(0, dy);
        if (f.how & Lengthen)
            place.setHeight(place.height() + dy);
        if (f.widget->geometry() != place)
            f.widget->setGeometry(place);
    }
}

} // namespace cw::gui
