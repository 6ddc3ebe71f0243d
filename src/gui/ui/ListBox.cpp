#include "gui/ui/ListBox.h"

#include <QKeyEvent>

namespace cw::gui {

ListBox::ListBox(const QString &name, QWidget *parent) : QListView(parent)
{
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void ListBox::setModel(QAbstractItemModel *model)
{
    QListView::setModel(model);
    // A new list selects nothing, as the program's lists always started.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { setSelectedPosition(-1); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListBox::itemSelectionChanged);
}

int ListBox::count() const
{
    return model() ? model()->rowCount() : 0;
}

int ListBox::selectedPosition() const
{
    if (!selectionModel())
        return -1;
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() && selectionModel()->isSelected(current) ? current.row() : -1;
}

bool ListBox::setSelectedPosition(int position)
{
    if (position < -1 || position >= count())
        return false;
    if (position == -1) {
        selectionModel()->clear();
    } else {
        selectionModel()->setCurrentIndex(model()->index(position, 0), QItemSelectionModel::ClearAndSelect);
    }
    return true;
}

QString ListBox::selectedText() const
{
    const int position = selectedPosition();
    return position >= 0 ? model()->index(position, 0).data().toString() : QString();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    Q_EMIT doubleClickedAnywhere();
}

void ListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT enterPressed();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace cw::gui
