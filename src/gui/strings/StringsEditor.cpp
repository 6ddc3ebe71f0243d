#include "gui/strings/StringsEditor.h"

#include "core/io/FileStamp.h"
#include "core/io/Files.h"
#include "core/io/ModBoundary.h"
#include "core/workspace/ModLayout.h"
#include "gui/model/StringsText.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"

#include <QPushButton>

namespace cw::gui {

StringsEditor::StringsEditor(WindowModel &model, UnsavedChanges &guard, QPushButton *saveStrings,
                             QPushButton *stringsRevert, QWidget *stringsText, QWidget *messages)
    : m_model(model), m_guard(guard), m_stringsText(stringsText), m_messages(messages)
{
    connect(saveStrings, &QPushButton::clicked, this, &StringsEditor::save);
    connect(stringsRevert, &QPushButton::clicked, this, &StringsEditor::revert);
}

bool StringsEditor::confirmDiskUnchanged()
{
    const std::filesystem::path file = m_model.stringsFile();
    FileStamp &stamp = m_model.stringsOnDisk();
    const DiskState disk = diskState(file, stamp, Compare::Bytes);
    if (disk == DiskState::Unchanged)
        return true;
    const ui::DiskAnswer answer =
        ui::askAboutChangeOnDisk(m_messages, displayName(file.filename()), disk == DiskState::Gone,
                                 QStringLiteral("the editor's text"), QStringLiteral("the editor"));
    if (answer == ui::DiskAnswer::Reload)
        reload();
    return answer == ui::DiskAnswer::Overwrite;
}

bool StringsEditor::writeFiles()
{
    return confirmDiskUnchanged() && write();
}

bool StringsEditor::write()
{
    const std::filesystem::path &modFolder = m_model.modFolder();
    const StringsText::Encoded text = m_model.stringsText().fileBytes();
    if (!text.bytes) {
        ui::showMessage(m_messages,
                        QStringLiteral("Line %1 holds a character that strings_default.txt cannot hold "
                                       "(only the Windows-1252 code page can be saved). Nothing was "
                                       "saved.")
                            .arg(text.badLine));
        return false;
    }
    const std::filesystem::path file = findNoCase(modFolder, layout::kStringsFile);
    const std::filesystem::path backup = findNoCase(modFolder, layout::stringsBackupFile());
    // The backup holds what the table holds after this save, so that Revert to Backup
    // brings back the text of the last save. It is written once the table is: a save
    // that fails leaves both files as they were. A backup that cannot be written is
    // reported, and the table stays saved: the user asked for the table.
    const ModBoundary mod(modFolder);
    if (auto written = writeFileAtomically(file, *text.bytes, mod); !written) {
        ui::showMessage(m_messages,
                        ui::failureMessage(QStringLiteral("%1 could not be saved").arg(displayName(file)),
                                           written.error()));
        return false;
    }
    if (auto written = writeFileAtomically(backup, *text.bytes, mod); !written) {
        ui::showMessage(m_messages,
                        ui::failureMessage(QStringLiteral("%1 could not be saved").arg(displayName(backup)),
                                           written.error()));
    }
    m_model.stringsWritten(FileStamp::of(file, *text.bytes));
    return true;
}

bool StringsEditor::reload()
{
    const std::filesystem::path &mod = m_model.modFolder();
    if (mod.empty())
        return false;
    const std::filesystem::path file = findNoCase(mod, layout::kStringsFile);
    auto bytes = readFile(file, ModBoundary(mod));
    if (!bytes) {
        ui::showMessage(m_messages, ui::failureMessage(
                                        QStringLiteral("%1 could not be read again").arg(displayName(file)),
                                        bytes.error()));
        return false;
    }
    m_model.stringsText().setFileBytes(*bytes);
    m_model.stringsText().ensureLoaded();
    m_model.stringsReread(FileStamp::of(file, *bytes));
    return true;
}

void StringsEditor::save()
{
    m_model.whenIdle([this] {
        if (!m_model.modOpen() || !confirmDiskUnchanged() ||
            !m_guard.mayReplace(UnsavedChanges::Before::SavingStrings))
            return;
        // A table that cannot be written still opens the mod again, from the files.
        write();
        m_model.reopenMod(RefreshReason::StringsSaved);
        m_stringsText->setFocus();
    });
}

void StringsEditor::revert()
{
    const std::filesystem::path &mod = m_model.modFolder();
    if (mod.empty())
        return;
    auto backup = readFile(findNoCase(mod, layout::stringsBackupFile()), ModBoundary(mod));
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
