#include "gui/ui/ListBox.h"

#include <QKeyEvent>

namespace cw::gui {

ListBox::ListBox(const QString &name, QWidget *parent) : QListWidget(parent)
{
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

int ListBox::selectedPosition() const
{
    const int row = currentRow();
    return row >= 0 && item(row)->isSelected() ? row : -1;
}

bool ListBox::setSelectedPosition(int position)
{
    if (position < -1 || position >= count())
        return false;
    if (position == -1) {
        setCurrentRow(-1);
        clearSelection();
    } else {
        setCurrentRow(position, QItemSelectionModel::ClearAndSelect);
    }
    return true;
}

QString ListBox::selectedText() const
{
    const int position = selectedPosition();
    return position >= 0 ? item(position)->text() : QString();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    Q_EMIT doubleClickedAnywhere();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

} // namespace cw::gui
