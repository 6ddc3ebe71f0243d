#pragma once

#include <QWidget>

namespace cw::gui {

class MainWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
};

} // namespace cw::gui
