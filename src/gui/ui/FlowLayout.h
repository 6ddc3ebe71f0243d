#pragma once

#include <QLayout>

#include <vector>

namespace cw::gui::ui {

// A row of controls that wraps: each at its size hint, left to right, onto as many
// lines as the width needs (a row of buttons at a large font on a small screen).
class FlowLayout : public QLayout
{
public:
    explicit FlowLayout(int spacing) : m_spacing(spacing) {}
    ~FlowLayout() override;
    FlowLayout(const FlowLayout &) = delete;
    FlowLayout &operator=(const FlowLayout &) = delete;

    void addItem(QLayoutItem *item) override;
    int count() const override { return static_cast<int>(m_items.size()); }
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Places the items in `rect` (when `place`), and says how tall they stand.
    int flow(const QRect &rect, bool place) const;

    std::vector<QLayoutItem *> m_items;
    int m_spacing;
};

} // namespace cw::gui::ui
