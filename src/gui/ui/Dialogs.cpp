#include "gui/ui/Dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QToolTip>

namespace cw::gui::ui {
namespace {
int g_beeps = 0;
}

void showMessage(QWidget *parent, const QString &text, const QString &informative)
{
    QMessageBox box(QMessageBox::NoIcon, kProgramTitle, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    if (!informative.isEmpty())
        box.setInformativeText(informative);
    box.exec();
}

QString askText(QWidget *parent, const QString &title, const QString &prompt, const QString &proposed)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(proposed);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void beep()
{
    ++g_beeps;
    QApplication::beep();
}

void refuse(QWidget *control, const QString &reason)
{
    beep();
    if (!control)
        return;
    constexpr int kShownMilliseconds = 4000;
    QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), reason, control, QRect(),
                       kShownMilliseconds);
}

int beepCount()
{
    return g_beeps;
}

} // namespace cw::gui::ui
