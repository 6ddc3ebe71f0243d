#include "gui/ui/Dialogs.h"

#include "core/io/IoError.h"

#include "gui/ui/Geometry.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QToolTip>

#include <algorithm>

namespace cw::gui::ui {
namespace {
int g_beeps = 0;
// Pixels at the default font beside a dialog's title (the frame's icon and buttons) and
// beside a line of its text (the dialog's margins and a line edit's frame).
constexpr int kTitleAllowance = 150;
constexpr int kTextAllowance = 60;

// The width a dialog needs for its title to stand whole in its frame, beside the frame's
// own buttons, and for each line of `texts`; never wider than most of its screen. Qt
// sizes a message box by its text alone and an input box at some 200 pixels, so that a
// window manager cut their titles ("Save S… t as…").
int neededWidth(const QWidget &dialog, const QString &title, const QStringList &texts)
{
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    int need = QFontMetrics(titleFont).horizontalAdvance(title) + scaled(kTitleAllowance);
    const QFontMetrics metrics(dialog.font());
    for (const QString &text : texts)
        for (const QString &line : text.split(u'\n'))
            need = std::max(need, metrics.horizontalAdvance(line) + scaled(kTextAllowance));
    if (const QScreen *screen = dialog.screen())
        need = std::min(need, screen->availableGeometry().width() * 9 / 10);
    return need;
}

// Makes a dialog at least `width` wide. Message and input boxes size themselves from their
// layouts, over any minimum width set on them: a spacer under everything holds them open.
void widen(QDialog &dialog, int width)
{
    // An input box makes its layout when first asked for its size.
    (void)dialog.minimumSizeHint();
    auto *spacer = new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    else if (auto *box = qobject_cast<QBoxLayout *>(dialog.layout()))
        box->addSpacerItem(spacer);
    else {
        delete spacer;
        dialog.setMinimumWidth(width);
    }
}

// Qt's own captions of these answers carry no mnemonics on most desktops.
QString captionWithMnemonic(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Save:
        return QStringLiteral("&Save");
    case QMessageBox::Discard:
        return QStringLiteral("&Discard");
    case QMessageBox::Yes:
        return QStringLiteral("&Yes");
    case QMessageBox::No:
        return QStringLiteral("&No");
    default:
        return {};
    }
}

// A modal dialog takes the activation from the window it is asked over. Where the
// window system does not hand it back when the dialog closes (the offscreen platform,
// a desktop without a window manager), the window's own keys, Ctrl+S among them, would
// reach nothing until the user clicked into the window: typing still goes to the
// focused field, so a save pressed then was simply lost.
class ActivationBack
{
public:
    explicit ActivationBack(QWidget *parent) : m_window(parent ? parent->window() : nullptr) {}
    ~ActivationBack()
    {
        QWidget *window = m_window.data();
        if (window != nullptr && window->isVisible() && !window->isActiveWindow())
            window->activateWindow();
    }
    ActivationBack(const ActivationBack &) = delete;
    ActivationBack &operator=(const ActivationBack &) = delete;

private:
    QPointer<QWidget> m_window;
};

} // namespace

void showMessage(QWidget *parent, const QString &text, const QString &informative)
{
    QMessageBox box(QMessageBox::NoIcon, kProgramTitle, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    if (!informative.isEmpty())
        box.setInformativeText(informative);
    widen(box, neededWidth(box, box.windowTitle(), {}));
    const ActivationBack back(parent);
    box.exec();
}

QString askText(QWidget *parent, const QString &title, const QString &prompt, const QString &proposed,
                const std::function<QString(const QString &)> &refusal)
{
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(proposed);
    widen(dialog, neededWidth(dialog, title, {prompt, proposed}));
    const ActivationBack back(parent);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return {};
        const QString reason = refusal ? refusal(dialog.textValue()) : QString();
        if (reason.isEmpty())
            return dialog.textValue();
        beep();
        dialog.setLabelText(prompt + QStringLiteral("\n\n") + reason);
    }
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
        const QString caption =
            choice.caption.isEmpty() ? captionWithMnemonic(choice.button) : choice.caption;
        if (!caption.isEmpty())
            box.button(choice.button)->setText(caption);
    }
    widen(box, neededWidth(box, box.windowTitle(), {}));
    box.setDefaultButton(byDefault);
    box.setEscapeButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No);
    const ActivationBack back(parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

DiskAnswer askAboutChangeOnDisk(QWidget *parent, const QString &name, bool gone, const QString &edits,
                                const QString &holder)
{
    const QMessageBox::StandardButton answer =
        gone ? ask(parent,
                   QStringLiteral("%1 is no longer on disk: another program removed or renamed it since "
                                  "Cuewright read it.")
                       .arg(name),
                   QStringLiteral("Overwrite saves %1 as %2 again.").arg(edits, name),
                   {{QMessageBox::Save, QStringLiteral("&Overwrite")}, {QMessageBox::Cancel}},
                   QMessageBox::Cancel)
             : ask(parent,
                   QStringLiteral("%1 has been changed by another program since Cuewright read or saved it.")
                       .arg(name),
                   QStringLiteral("Overwrite replaces that change with %1; Reload shows the file as it is "
                                  "now, without %2's edits.")
                       .arg(edits, holder),
                   {{QMessageBox::Save, QStringLiteral("&Overwrite")},
                    {QMessageBox::Reset, QStringLiteral("&Reload")},
                    {QMessageBox::Cancel}},
                   QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Save:
        return DiskAnswer::Overwrite;
    case QMessageBox::Reset:
        return DiskAnswer::Reload;
    default:
        return DiskAnswer::Cancel;
    }
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
    // A note on a control out of sight would be a note nobody reads: it is a message.
    if (!control->isVisible()) {
        showMessage(control->window(), text);
        return;
    }
    QToolTip::showText(control->mapToGlobal(QPoint(0, control->height())), text, control, QRect(),
                       kShownMilliseconds);
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

UnsavedQuestion::Answer UnsavedQuestionBox::ask(const QString &question, const QString &why, bool canSave)
{
    const QMessageBox::StandardButton answer =
        canSave
            ? ui::ask(m_parent, question, why,
                      {{QMessageBox::Save}, {QMessageBox::Discard}, {QMessageBox::Cancel}}, QMessageBox::Save)
            : ui::ask(m_parent, question, why, {{QMessageBox::Discard}, {QMessageBox::Cancel}},
                      QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

} // namespace cw::gui::ui
