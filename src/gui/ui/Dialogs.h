#pragma once

#include "gui/model/UnsavedChanges.h"

#include <QMessageBox>
#include <QString>

#include <functional>
#include <initializer_list>

class QWidget;

namespace cw {
struct IoError;
}

// Message box, input box and beep: the program's only ways of talking to the user
// outside its window.
namespace cw::gui::ui {

inline const QString kProgramTitle = QStringLiteral("Cuewright");

// A modal message box with the program's title, `text` and one OK button;
// `informative`, when given, says more under the text (where, which file).
void showMessage(QWidget *parent, const QString &text, const QString &informative = QString());

// A modal input box; Cancel gives the empty text.
// A name the answer may not be: what `refusal` says of it (nothing when it may be) shows
// in the dialog, under the prompt, with a beep and the answer still in its field, until
// the user gives one that may be, or cancels.
QString askText(QWidget *parent, const QString &title, const QString &prompt, const QString &proposed,
                const std::function<QString(const QString &)> &refusal = {});

// One answer of a question: a standard button, with a caption of its own when given.
struct Choice
{
    QMessageBox::StandardButton button;
    QString caption = QString();
};

// A modal question (its object name is "questionBox") with the program's title and one
// button per choice; `byDefault` is the answer Enter gives, Cancel (or else No) the one
// Escape gives. Returns the button pressed.
QMessageBox::StandardButton ask(QWidget *parent, const QString &question, const QString &informative,
                                std::initializer_list<Choice> choices, QMessageBox::StandardButton byDefault);

// What to do with a file another program changed or removed since it was read or saved.
enum class DiskAnswer {
    Overwrite,
    Reload, // offered only while the file is still there
    Cancel
};
// Asks it about the file `name`, whose edits are `edits` ("the lines in the grid",
// "the editor's text"), held by `holder` ("the grid", "the editor").
DiskAnswer askAboutChangeOnDisk(QWidget *parent, const QString &name, bool gone, const QString &edits,
                                const QString &holder);

// The guard's question about unsaved edits, as a modal question over `parent`: Save,
// Discard and Cancel, or Discard and Cancel when nothing can be saved.
class UnsavedQuestionBox : public UnsavedQuestion
{
public:
    explicit UnsavedQuestionBox(QWidget *parent) : m_parent(parent) {}
    Answer ask(const QString &question, const QString &why, bool canSave) override;

private:
    QWidget *m_parent;
};

// The window's message for a failed file operation: "WHAT: REASON.", and " The file
// is as it was." only where a file stood there and the failure left it untouched.
QString failureMessage(const QString &what, const IoError &error);

// A short note shown for a few seconds at a control (at the window's top when the
// control is not on screen), for something the user should know but need not answer.
void note(QWidget *control, const QString &text);

// The warning beep of a refused action.
void beep();

// A refused action: the beep, and its reason shown for a few seconds at the control that
// was used, where the user looks. No box to click away: the user goes on at once.
void refuse(QWidget *control, const QString &reason);

// How many times beep() has sounded in this process; lets tests hear it.
int beepCount();

} // namespace cw::gui::ui
