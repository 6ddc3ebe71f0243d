#pragma once

#include <QListView>

namespace cw::gui {

// A view of a list model whose selected position is its one current, selected row (-1
// for none), as the program's lists work: a double click anywhere on it and the Enter
// key are reported even where no item is under the pointer.
class ListBox : public QListView
{
    Q_OBJECT
public:
    explicit ListBox(const QString &name, QWidget *parent);

    void setModel(QAbstractItemModel *model) override;
    int count() const;
    int selectedPosition() const;
    // Selects `position` (-1 clears the selection); false when no such position exists.
    bool setSelectedPosition(int position);
    QString selectedText() const;

Q_SIGNALS:
    void itemSelectionChanged();
    void doubleClickedAnywhere();
    void enterPressed();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace cw::gui
