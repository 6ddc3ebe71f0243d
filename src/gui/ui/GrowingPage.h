#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace cw::gui {

// A page of controls at fixed places (the window's layout) that grows with its window:
// each control registered with follow() keeps its place at the page's design size and,
// as the page grows past it, widens, lengthens or moves by its share of the growth. A
// page never becomes smaller than its design size: whatever holds it scrolls instead.
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

    explicit GrowingPage(QWidget *parent = nullptr) : QWidget(parent) {}

    // How `widget`, at its place now, follows the page's growth: `widthShare` of the
    // growth in width widens or moves it (a half each, for two lists side by side); the
    // growth in height is all its own.
    void follow(QWidget *widget, int how, double widthShare = 1.0);
    // The size at which every control stands at its own place: the page's smallest.
    void setDesignSize(const QSize &size);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Follower
    {
        QWidget *widget;
        QRect place;
        int how;
        double widthShare;
    };
    void relayout();

    QSize m_design;
    std::vector<Follower> m_followers;
};

} // namespace cw::gui
