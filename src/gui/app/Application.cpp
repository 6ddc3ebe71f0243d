#include "app/Application.h"

#include "app/MainWindow.h"

#include <QApplication>

namespace cw::gui {

int runApplication(int argc, char **argv)
{
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    return app.exec();
}

} // namespace cw::gui
