#pragma once

#include "core/io/FileStamp.h"
#include "gui/ui/Busy.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>

class QPushButton;
class QWidget;

namespace cw::gui {

class FileListBox;
class ScriptBrowser;
class UnsavedChanges;
class WindowModel;

// The buttons and keys that write or remove script files: Save Script, Save Script As,
// New Script, the two-press Delete Script and Ctrl+S. No save or delete replaces or drops
// anything but the open script without a question that names it: another file, a change
// another program made on disk, lines and words the grid cannot hold. Each writes through
// the core and tells the model what the file now holds.
class ScriptFiles : public QObject
{
    Q_OBJECT
public:
    struct Widgets
    {
        QPushButton *saveSc = nullptr;
        QPushButton *saveScAs = nullptr;
        QPushButton *newSc = nullptr;
        QPushButton *deleteSc = nullptr;
        FileListBox *file1 = nullptr;
        FileListBox *list2 = nullptr;
    };

    ScriptFiles(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, ScriptBrowser &browser,
                const Widgets &widgets, QWidget *messages);

    // Save Script: the file File1 highlights, after asking when that is not the open script.
    void saveScript();
    void saveScriptAs();
    void newScript();
    void deleteScript();
    // Ctrl+S: the open script to its own file, whatever File1 highlights; Save Script As
    // when no script is open.
    void saveOpenScript();
    // The guard's Save: the open script to its own file, or, with none open, the grid as
    // a new script under a name the user gives; false when nothing was written.
    bool saveBeforeReplacing();

    // Writes the grid over the open script's own file, after the questions that protect
    // what it would replace; false when nothing was written.
    bool writeOpenScript();

private:
    // The bytes Save Script writes of the document, or nothing (after telling the user
    // why) when the document cannot be saved as a script.
    std::optional<std::string> documentBytes();
    // Writes the document to `path` as Save Script writes it, when the file still holds
    // what `expected` stamps (a stamp of nothing: whatever it holds); false (after
    // telling the user why) when it could not be written. `written`, when given,
    // receives the stamp of the bytes written.
    bool writeDocument(const std::filesystem::path &path, const FileStamp &expected,
                       FileStamp *written = nullptr);
    // The name typed into an input box, with ".txt" added when it has no such ending, or
    // nothing when it is empty or no plain file name (the user is then told why, at the
    // control `at`).
    // Whether a script of the name asked for may be there already (and is replaced).
    enum class Taken { Replaced, Refused };
    std::optional<std::string> askFileName(const QString &title, const QString &proposed, Taken taken);
    // After a delete, a position past the end of the shorter list moves back to its new
    // last entry; with no script left nothing is selected or opened. Otherwise a position
    // that no longer exists selects nothing.
    enum class Position { Kept, MovedBackAfterDelete };
    // Opens the mod again for a script action, selects `position` in File1 and opens
    // what is there.
    void refreshAndReload(int position, Position rule = Position::Kept);
    // Opens the mod again and opens the script `fileName` of its scripts folder.
    void refreshAndOpen(const std::string &fileName);
    bool confirmReplacing(const std::filesystem::path &target);
    // The stamp a save may write over: what was read or saved when the open script's
    // file still holds it, none (write anyway) when the user answers Overwrite to
    // another program's change, nothing when the save is not to go on.
    std::optional<FileStamp> confirmDiskUnchanged();
    // Whether the user lets a save drop what the grid cannot hold.
    bool confirmLosses();
    bool moveToTrash(const std::filesystem::path &path);
    void setDeleteArmed(bool armed);
    void focusList2();

    WindowModel &m_model;
    ui::Busy &m_busy;
    UnsavedChanges &m_guard;
    ScriptBrowser &m_browser;
    Widgets w;
    QWidget *m_messages;
    bool m_deleteArmed = false;
};

} // namespace cw::gui
