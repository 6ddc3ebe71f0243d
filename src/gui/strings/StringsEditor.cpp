#include "gui/strings/StringsEditor.h"

#include "core/io/FileStamp.h"
#include "core/io/Files.h"
#include "core/workspace/ModFiles.h"
#include "gui/model/StringsText.h"
#include "gui/model/TextCodec.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/NoticeBar.h"

#include <QPushButton>

namespace cw::gui {

StringsEditor::StringsEditor(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, QWidget *stringsText,
                             QWidget *messages, ui::NoticeBar *notices)
    : m_model(model), m_busy(busy), m_guard(guard), m_stringsText(stringsText), m_messages(messages),
      m_notices(notices)
{
    connect(&m_model, &WindowModel::changedOnDisk, this, [this](OpenFile file, DiskState state) {
        if (file == OpenFile::Strings)
            takeUpChangeOnDisk(state);
    });
}

// An unedited table is read again; edits stay, and the bar says the file changed.
void StringsEditor::takeUpChangeOnDisk(DiskState state)
{
    const QString name = displayName(m_model.stringsFile().filename());
    if (state == DiskState::Gone)
        m_notices->notify(ui::changeOnDiskNotice(name, ui::ChangeTaken::Gone));
    else if (m_model.edited(OpenFile::Strings))
        m_notices->notify(
            ui::changeOnDiskNotice(name, ui::ChangeTaken::EditsKept, QStringLiteral("The editor")));
    else if (reload())
        m_notices->notify(ui::changeOnDiskNotice(name, ui::ChangeTaken::ReadAgain));
}

std::optional<FileStamp> StringsEditor::confirmDiskUnchanged()
{
    const DiskState disk = m_model.diskState(OpenFile::Strings, Compare::Bytes);
    if (disk == DiskState::Unchanged)
        return m_model.stamp(OpenFile::Strings);
    const ui::DiskAnswer answer = ui::askAboutChangeOnDisk(
        m_messages, displayName(m_model.stringsFile().filename()), disk == DiskState::Gone,
        QStringLiteral("the editor's text"), QStringLiteral("the editor"));
    if (answer == ui::DiskAnswer::Reload)
        reload();
    // Overwrite: written whatever the file holds now.
    return answer == ui::DiskAnswer::Overwrite ? std::optional<FileStamp>(FileStamp()) : std::nullopt;
}

bool StringsEditor::writeFiles()
{
    const auto expected = confirmDiskUnchanged();
    return expected && write(*expected);
}

bool StringsEditor::write(const FileStamp &expected)
{
    const StringsText::Encoded text = m_model.stringsText().fileBytes();
    if (!text.bytes) {
        ui::showMessage(m_messages,
                        QStringLiteral("Line %1 holds a character that strings_default.txt cannot hold "
                                       "(only the Windows-1252 code page can be saved). Nothing was "
                                       "saved.")
                            .arg(text.badLine));
        return false;
    }
    const ModFiles &files = *m_model.files();
    // A backup that cannot be written is reported, and the table stays saved: the user
    // asked for the table.
    auto saved = files.writeStrings(*text.bytes, expected);
    if (!saved) {
        ui::showMessage(
            m_messages,
            ui::failureMessage(QStringLiteral("%1 could not be saved").arg(displayName(files.stringsFile())),
                               saved.error()));
        return false;
    }
    if (saved->backupFailed) {
        ui::showMessage(m_messages,
                        ui::failureMessage(
                            QStringLiteral("%1 could not be saved").arg(displayName(files.stringsBackup())),
                            *saved->backupFailed));
    }
    m_model.stringsWritten(saved->stamp);
    return true;
}

bool StringsEditor::reload()
{
    const ModFiles *files = m_model.files();
    if (!files)
        return false;
    auto read = files->readStrings();
    if (!read) {
        ui::showMessage(
            m_messages,
            ui::failureMessage(
                QStringLiteral("%1 could not be read again").arg(displayName(files->stringsFile())),
                read.error()));
        return false;
    }
    m_model.stringsReread(*read);
    return true;
}

void StringsEditor::save()
{
    m_busy.whenIdle([this] {
        if (!m_model.modOpen())
            return;
        const auto expected = confirmDiskUnchanged();
        if (!expected || !m_guard.mayReplace(UnsavedChanges::Before::SavingStrings))
            return;
        // A table that cannot be written still opens the mod again, from the files.
        write(*expected);
        m_model.reopenMod(RefreshReason::StringsSaved);
        m_stringsText->setFocus();
    });
}

void StringsEditor::revert()
{
    const ModFiles *files = m_model.files();
    if (!files)
        return;
    auto backup = files->readStringsBackup();
    if (!backup) {
        // The editor keeps its text: emptied, a later Save Changes would wipe the
        // strings file and its backup.
        ui::showMessage(m_messages, QStringLiteral("Backup not found :("),
                        QString::fromStdString(describe(backup.error())));
        return;
    }
    StringsText &text = m_model.stringsText();
    if (text.differsFromFile() &&
        ui::ask(m_messages,
                QStringLiteral("Replace your unsaved edits of %1 with the backup?")
                    .arg(displayName(m_model.stringsFile().filename())),
                QString(), {{QMessageBox::Yes}, {QMessageBox::No}}, QMessageBox::No) != QMessageBox::Yes)
        return;
    // One edit of the editor: Ctrl+Z brings back what the backup replaced. The backup's
    // text is not yet the table's, so it stands as an unsaved change.
    text.replaceText(*backup);
}

} // namespace cw::gui
