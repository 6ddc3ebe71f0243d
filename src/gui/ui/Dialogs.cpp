#include "gui/ui/Dialogs.h"

#include "core/io/IoError.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
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

QMessageBox::StandardButton ask(QWidget *parent, const QString &question, const QString &informative,
                                std::initializer_list<Choice> choices, QMessageBox::StandardButton byDefault)
{
    QMessageBox box(QMessageBox::Question, kProgramTitle, question, QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("questionBox"));
    if (!informative.isEmpty())
        box.setInformativeText(informative);
    QMessageBox::StandardButtons buttons;
    for (const Choice &choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    for (const Choice &choice : choices) {
        if (!choice.caption.isEmpty())
            box.button(choice.button)->setText(choice.caption);
    }
    box.setDefaultButton(byDefault);
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString failureMessage(const QString &what, const IoError &error)
{
    QString message = what + QStringLiteral(": ") + QString::fromStdString(error.reason) + u'.';
    if (error.untouchedFile)
        message += QStringLiteral(" The file is as it was.");
    return message;
}

void note(QWidget *control, const QString &text)
{
    constexpr int kShownMilliseconds = 4000;
    if (!control)
        return;
    QWidget *at = control->isVisible() ? control : control->window();
    const QPoint where = at == control ? QPoint(0, control->height()) : QPoint(0, 0);
    QToolTip::showText(at->mapToGlobal(where), text, at, QRect(), kShownMilliseconds);
}

void beep()
{
    ++g_beeps;
    QApplication::beep();
}

void refuse(QWidget *control, const QString &reason)
{
    beep();
    note(control, reason);
}

int beepCount()
{
    return g_beeps;
}

} // namespace cw::gui::ui
