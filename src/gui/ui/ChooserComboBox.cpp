#include "gui/ui/ChooserComboBox.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QWheelEvent>

#include <limits>

namespace cw::gui {

ChooserComboBox::ChooserComboBox(const QString &name, QAbstractItemModel *sharedModel, QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(name);
    // Model first, then our own line edit, then no completer: in this order the
    // chooser is built without the completer and size computations that would
    // otherwise make 200 choosers cost several times as much.
    setModel(sharedModel);
    auto *edit = new QLineEdit(this);
    // A command word or strings key is saved whole, however long.
    edit->setMaxLength(std::numeric_limits<int>::max());
    setLineEdit(edit);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // When editing ends, QComboBox selects the item whose text equals the typed one,
    // which would choose a command the user has not picked.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
}

void ChooserComboBox::showPopup()
{
    if (!m_popupPrepared) {
        // Lists of tens of thousands of strings keys open at once only when the view
        // need not measure every row.
        if (auto *list = qobject_cast<QListView *>(view()))
            list->setUniformItemSizes(true);
        m_popupPrepared = true;
    }
    QComboBox::showPopup();
}

void ChooserComboBox::wheelEvent(QWheelEvent *event)
{
    // Handed to the parent explicitly (the grid scrolls with it); when the parent
    // accepts it, Qt propagates it no further.
    event->ignore();
    if (QWidget *parent = parentWidget()) {
        QWheelEvent forwarded(mapTo(parent, event->position()), event->globalPosition(), event->pixelDelta(),
                              event->angleDelta(), event->buttons(), event->modifiers(), event->phase(),
                              event->inverted(), event->source());
        QCoreApplication::sendEvent(parent, &forwarded);
        event->setAccepted(forwarded.isAccepted());
    }
}

} // namespace cw::gui
