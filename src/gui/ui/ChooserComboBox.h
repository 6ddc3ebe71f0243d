#pragma once

#include <QComboBox>

namespace cw::gui {

// An editable drop-down list that behaves as the editor's choosers must: typing only
// changes its text (it never inserts into the list, never completes, and never picks
// an item by itself when editing ends), and the mouse wheel scrolls what is under it
// instead of changing the pick. The list is a model shared with other choosers.
class ChooserComboBox : public QComboBox
{
    Q_OBJECT
public:
    ChooserComboBox(const QString &name, QAbstractItemModel *sharedModel, QWidget *parent);

    void showPopup() override;

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    bool m_popupPrepared = false;
};

} // namespace cw::gui
