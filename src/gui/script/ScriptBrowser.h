#pragma once

#include "core/io/FileStamp.h"
#include "core/script/ScriptDocument.h"
#include "gui/ui/Busy.h"

#include <QObject>
#include <QString>

#include <string>

class QPushButton;
class QWidget;

namespace cw::gui {

class FileListBox;
class UnsavedChanges;
class WindowModel;
namespace ui {
class NoticeBar;
}

// What of the script as it was read saving would not keep, in words, for the note at
// loading and the question before a save: empty when the grid holds it all.
QString describeLosses(const ScriptDocument::Losses &losses);

// The script lists File1 and List2 and what opens a script from them into the grid,
// with what the user is told on the way; and "Open 4 hax".
class ScriptBrowser : public QObject
{
    Q_OBJECT
public:
    ScriptBrowser(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, FileListBox *file1,
                  FileListBox *list2, QPushButton *scrOpen, QWidget *messages, ui::NoticeBar *notices);

    // Opens the script selected in File1 (or empties the grid when nothing is selected).
    // False when the file could not be opened; the grid and the script stay as they
    // were, and File1 and List2 select the open script again (nothing when none is).
    bool openSelected();
    // Opens the script `fileName` of the listed scripts folder, selecting it in File1.
    bool open(const std::string &fileName);
    // Selects the open script in File1 and List2 (nothing when none is open or listed).
    void selectOpenScript();

    // Opens the script selected in File1 in the text editor.
    void openInTextEditor();

private:
    void takeUpChangeOnDisk(DiskState state);
    void userOpensFromFile1();
    void userOpensFromList2();

    WindowModel &m_model;
    ui::Busy &m_busy;
    UnsavedChanges &m_guard;
    FileListBox *m_file1;
    FileListBox *m_list2;
    QPushButton *m_scrOpen;
    QWidget *m_messages;
    ui::NoticeBar *m_notices;
};

} // namespace cw::gui
