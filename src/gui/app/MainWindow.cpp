#include "app/MainWindow.h"

namespace cw::gui {

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Cuewright v0.6.1 - "));
    resize(10065 / 15, 10695 / 15);
}

} // namespace cw::gui
