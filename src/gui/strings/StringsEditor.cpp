#include "gui/strings/StringsEditor.h"

#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UnsavedChanges.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"
#include "gui/workspace/ModWorkspace.h"

#include <QPushButton>
#include <QTextDocument>

namespace cw::gui {

StringsEditor::StringsEditor(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    connect(c.saveStrings, &QPushButton::clicked, this, &StringsEditor::save);
    connect(c.stringsRevert, &QPushButton::clicked, this, &StringsEditor::revert);
}

bool StringsEditor::writeFiles(const std::filesystem::path &modFolder)
{
    const Controls &c = m_window.controls();
    const StringsTextEdit::Encoded text = c.stringsText->fileBytes();
    if (!text.bytes) {
        ui::showMessage(&m_window,
                        QStringLiteral("Line %1 holds a character that strings_default.txt cannot hold "
                                       "(only the Windows-1252 code page can be saved). Nothing was "
                                       "saved.")
                            .arg(text.badLine));
        return false;
    }
    const std::filesystem::path file = findNoCase(modFolder, layout::kStringsFile);
    const std::filesystem::path backup = findNoCase(modFolder, layout::stringsBackupFile());
    // Each file is replaced only once its new bytes are safely written. A backup that
    // cannot be written is reported, and the table is still saved: the user asked for
    // the table.
    bool saved = false;
    for (const std::filesystem::path &target : {backup, file}) {
        auto written = writeFileAtomically(target, *text.bytes, ModBoundary(modFolder));
        if (!written) {
            ui::showMessage(&m_window,
                            QStringLiteral("%1 could not be saved: %2. The file is as it was.")
                                .arg(displayName(target), QString::fromStdString(written.error().reason)));
        }
        saved = written.ok();
    }
    if (saved)
        c.stringsText->markSaved();
    return saved;
}

void StringsEditor::save()
{
    m_window.whenIdle([this] {
        const auto mod = m_window.workspace().selectedModFolder();
        if (!mod || !m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::SavingStrings))
            return;
        writeFiles(*mod);
        m_window.workspace().openMod(RefreshReason::StringsSaved);
        m_window.controls().stringsText->setFocus();
    });
}

void StringsEditor::revert()
{
    const Controls &c = m_window.controls();
    const auto mod = m_window.workspace().selectedModFolder();
    if (!mod)
        return;
    auto backup = readFile(findNoCase(*mod, layout::stringsBackupFile()), ModBoundary(*mod));
    if (!backup) {
        // The editor keeps its text: emptied, a later Save Changes would wipe the
        // strings file and its backup.
        ui::showMessage(&m_window, QStringLiteral("Backup not found :("));
        return;
    }
    // The backup's text is not yet the table's: it is an unsaved change.
    c.stringsText->setFileBytes(*backup);
    c.stringsText->ensureLoaded();
    c.stringsText->document()->setModified(true);
}

} // namespace cw::gui
