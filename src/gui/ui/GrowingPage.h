#pragma once

#include <QLayout>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

namespace cw::gui {

// A page of controls at fixed places (the window's layout) that grows with its window:
// each control registered with follow() keeps its place at the page's design size and,
// as the page grows past it, widens, lengthens or moves by its share of the growth.
// Smaller than its design size (a large font, a small screen, a panel beside it), the
// page hands its controls to its compact layout, where each takes its size hint and the
// lists and the grid give up room first, so that every button stays in sight; without
// one, it never becomes smaller than its design size and whatever holds it scrolls.
class GrowingPage : public QWidget
{
    Q_OBJECT
public:
    enum Follow {
        Stay = 0,
        Widen = 1,     // its width grows with the page's
        MoveRight = 2, // it moves right as the page widens
        Lengthen = 4,  // its height grows with the page's
        MoveDown = 8,  // it moves down as the page lengthens
    };

    explicit GrowingPage(QWidget *parent = nullptr);
    ~GrowingPage() override;

    // How `widget`, at its place now, follows the page's growth: `widthShare` of the
    // growth in width widens or moves it (a half each, for two lists side by side); the
    // growth in height is all its own.
    void follow(QWidget *widget, int how, double widthShare = 1.0);
    // The layout of the page's controls below its design size; the page owns it.
    void setCompactLayout(std::unique_ptr<QLayout> layout);
    // Called with the page's size before the compact layout places the controls: it may
    // turn the layout to suit the size.
    void beforeCompactLayout(std::function<void(const QSize &)> adapt);
    // The size at which every control stands at its own place. Every control of the
    // page not followed stays at its place now.
    void setDesignSize(const QSize &size);
    bool isCompact() const { return m_compactNow; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Follower
    {
        QWidget *widget;
        QRect place;
        int how;
        double widthShare;
    };
    void relayout();
    void layOutCompactly();
    // How much shorter than its design the page may be with every control at its place:
    // what the shortest of its lengthening controls can give up, down to half its height.
    int heightToGive() const;

    QSize m_design;
    std::vector<Follower> m_followers;
    std::unique_ptr<QLayout> m_compact;
    std::function<void(const QSize &)> m_adapt;
    bool m_compactNow = false;
};

} // namespace cw::gui
