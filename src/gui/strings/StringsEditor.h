#pragma once

#include "core/io/FileStamp.h"
#include "gui/ui/Busy.h"

#include <QObject>

#include <filesystem>
#include <optional>

class QPushButton;
class QWidget;

namespace cw::gui {

class UnsavedChanges;
class WindowModel;
namespace ui {
class NoticeBar;
}

// "Save Changes" and "Revert to Backup" of the strings editor, and what another program
// changes in the strings table meanwhile.
class StringsEditor : public QObject
{
    Q_OBJECT
public:
    StringsEditor(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, QWidget *stringsText,
                  QWidget *messages, ui::NoticeBar *notices);

    // Writes the editor's text to strings_default.txt and to its backup
    // strings_default.txt.bak, then opens the mod again with the editor's text kept.
    void save();
    // Replaces the editor's text with the backup's, as one step of its undo, after asking
    // when that would replace unsaved edits.
    void revert();

    // Writes the backup and the strings table of the open mod from the editor's text,
    // after asking when another program changed the table since it was read; false
    // (after telling the user) when the table was not written.
    bool writeFiles();
    // Reads the open mod's strings table into the editor again.
    bool reload();

private:
    // The stamp a save may write over: what was read or saved when strings_default.txt
    // still holds it, none (write anyway) when the user answers Overwrite to another
    // program's change, nothing when the save is not to go on (Reload, Cancel).
    std::optional<FileStamp> confirmDiskUnchanged();
    // writeFiles without the question about another program's change.
    bool write(const FileStamp &expected);
    void takeUpChangeOnDisk(DiskState state);

    WindowModel &m_model;
    ui::Busy &m_busy;
    UnsavedChanges &m_guard;
    QWidget *m_stringsText;
    QWidget *m_messages;
    ui::NoticeBar *m_notices;
};

} // namespace cw::gui
