#include "gui/ui/GrowingPage.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

namespace cw::gui {

GrowingPage::GrowingPage(QWidget *parent) : QWidget(parent) {}

GrowingPage::~GrowingPage() = default;

void GrowingPage::follow(QWidget *widget, int how, double widthShare)
{
    m_followers.push_back({widget, widget->geometry(), how, widthShare});
}

void GrowingPage::setCompactLayout(std::unique_ptr<QLayout> layout)
{
    m_compact = std::move(layout);
}

void GrowingPage::beforeCompactLayout(std::function<void(const QSize &)> adapt)
{
    m_adapt = std::move(adapt);
}

void GrowingPage::layOutCompactly()
{
    if (m_adapt)
        m_adapt(size());
    m_compact->invalidate();
    m_compact->setGeometry(rect());
}

void GrowingPage::setDesignSize(const QSize &size)
{
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const bool followed = std::any_of(m_followers.begin(), m_followers.end(),
                                          [child](const Follower &f) { return f.widget == child; });
        if (!followed)
            follow(child, Stay);
        // A control shown or hidden changes what the compact layout has to place.
        child->installEventFilter(this);
    }
    m_design = size;
    if (!m_compact)
        setMinimumSize(size);
    updateGeometry();
    relayout();
}

QSize GrowingPage::minimumSizeHint() const
{
    if (!m_design.isValid())
        return QWidget::minimumSizeHint();
    return m_compact ? m_compact->minimumSize().boundedTo(m_design) : m_design;
}

void GrowingPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

bool GrowingPage::eventFilter(QObject *watched, QEvent *event)
{
    if (m_compactNow && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        layOutCompactly();
    return QWidget::eventFilter(watched, event);
}

void GrowingPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    relayout();
}

// A page out of sight is placed when it is shown: a tab's page has no size of its own
// until then.
int GrowingPage::heightToGive() const
{
    int give = -1;
    for (const Follower &f : m_followers) {
        if (!(f.how & Lengthen))
            continue;
        const int least = std::max(f.widget->minimumSizeHint().height(), f.place.height() / 2);
        give = give < 0 ? f.place.height() - least : std::min(give, f.place.height() - least);
    }
    return std::max(0, give);
}

void GrowingPage::relayout()
{
    if (!m_design.isValid() || !isVisible())
        return;
    // A page a little short of its height (a bar of notices above it) keeps its layout,
    // its lists and grid a little shorter; more than they can give, or any width short,
    // and it is laid out compactly.
    m_compactNow = m_compact && (width() < m_design.width() || m_design.height() - height() > heightToGive());
    if (m_compactNow) {
        layOutCompactly();
        return;
    }
    const int dx = std::max(0, width() - m_design.width());
    const int dy = m_compact ? height() - m_design.height() : std::max(0, height() - m_design.height());
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
