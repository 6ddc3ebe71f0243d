#include "gui/app/DiskWatch.h"

#include "gui/model/WindowModel.h"

#include <QEvent>
#include <QWidget>

namespace cw::gui {

DiskWatch::DiskWatch(WindowModel &model, ui::Busy &busy, QWidget *window)
    : m_model(model), m_busy(busy), m_window(window)
{
    window->installEventFilter(this);
}

bool DiskWatch::eventFilter(QObject *watched, QEvent *event)
{
    // Looked at once the activation is over, so that a question it leads to never
    // stands inside the window system's event.
    if (watched == m_window && event->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, "look", Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void DiskWatch::look()
{
    m_busy.whenIdle([this] { m_model.lookAtDisk(); });
}

} // namespace cw::gui
