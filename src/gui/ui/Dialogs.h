#pragma once

#include <QString>

class QWidget;

// Message box, input box and beep: the program's only ways of talking to the user
// outside its window.
namespace cw::gui::ui {

inline const QString kProgramTitle = QStringLiteral("Cuewright");

// A modal message box with the program's title, `text` and one OK button;
// `informative`, when given, says more under the text (where, which file).
void showMessage(QWidget *parent, const QString &text, const QString &informative = QString());

// A modal input box; Cancel gives the empty text.
QString askText(QWidget *parent, const QString &title, const QString &prompt, const QString &proposed);

// The warning beep of a refused action.
void beep();

// A refused action: the beep, and its reason shown for a few seconds at the control that
// was used, where the user looks. No box to click away: the user goes on at once.
void refuse(QWidget *control, const QString &reason);

// How many times beep() has sounded in this process; lets tests hear it.
int beepCount();

} // namespace cw::gui::ui
