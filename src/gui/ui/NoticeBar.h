#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QToolButton;

namespace cw::gui::ui {

// A message about something the user should know but need not answer (another program
// changed a file the window shows, say), in a bar above the page shown, as text editors
// show theirs: it stays until the user dismisses it or a newer one takes its place,
// and wraps its text rather than widening the window.
class NoticeBar : public QFrame
{
    Q_OBJECT
public:
    explicit NoticeBar(QWidget *parent);

    void notify(const QString &text);
    void dismiss();
    // The message shown, empty while the bar is hidden.
    QString text() const;

private:
    QLabel *m_text;
    QToolButton *m_dismiss;
};

// What the bar says when another program changed or removed a file the window shows
// (`name`): it is gone, it was read again, or the edits of `holder` ("The grid", "The
// editor") were kept over the change.
enum class ChangeTaken { Gone, ReadAgain, EditsKept };
QString changeOnDiskNotice(const QString &name, ChangeTaken taken, const QString &holder = QString());

} // namespace cw::gui::ui
