#pragma once

#include "gui/ui/Busy.h"
#include <QObject>

class QWidget;

namespace cw::gui {

class WindowModel;

// Looks at the open files whenever the window becomes active again: another program
// (the text editor "Open 4 hax" started, say) may have changed them meanwhile. What was
// found is the model's to announce, and the parts that show each file take it up.
class DiskWatch : public QObject
{
    Q_OBJECT
public:
    DiskWatch(WindowModel &model, ui::Busy &busy, QWidget *window);

    // Looks now (invoked by name, queued, after an activation).
    Q_INVOKABLE void look();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowModel &m_model;
    ui::Busy &m_busy;
    QWidget *m_window;
};

} // namespace cw::gui
