#pragma once

#include <QListWidget>

namespace cw::gui {

// A list whose selected position is its one current, selected row (-1 for none), as
// the program's lists work: a double click anywhere on it and the Enter key are
// reported even where no item is under the pointer.
class ListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ListBox(const QString &name, QWidget *parent);

    int selectedPosition() const;
    // Selects `position` (-1 clears the selection); false when no such position exists.
    bool setSelectedPosition(int position);
    QString selectedText() const;

Q_SIGNALS:
    void doubleClickedAnywhere();
    void enterPressed();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace cw::gui
