#include "gui/strings/StringsEditor.h"

#include "core/io/Files.h"
#include "gui/app/Busy.h"
#include "gui/app/MainWindow.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"
#include "gui/workspace/ModWorkspace.h"

#include <QPushButton>

namespace cw::gui {

StringsEditor::StringsEditor(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    connect(c.saveStrings, &QPushButton::clicked, this, &StringsEditor::save);
    connect(c.stringsRevert, &QPushButton::clicked, this, &StringsEditor::revert);
}

void StringsEditor::save()
{
    AppState &state = m_window.state();
    if (state.busy)
        return;
    BusyScope busy(state.busy);
    const Controls &c = m_window.controls();
    const auto mod = m_window.workspace().selectedModFolder();
    if (!mod)
        return;
    const StringsTextEdit::Encoded text = c.stringsText->fileBytes();
    if (!text.bytes) {
        ui::showMessage(&m_window,
                        QStringLiteral("Line %1 holds a character that strings_default.txt cannot hold "
                                       "(only the Windows-1252 code page can be saved). Nothing was "
                                       "saved.")
                            .arg(text.badLine));
        return;
    }
    const std::string &bytes = *text.bytes;
    const std::filesystem::path file = findNoCase(*mod, "strings_default.txt");
    const std::filesystem::path backup = findNoCase(*mod, "strings_default.txt.bak");
    // Each file is replaced only once its new bytes are safely written; a failure is
    // reported and the other steps still run, as they always have.
    for (const std::filesystem::path &target : {backup, file}) {
        auto written = writeFileAtomically(target, bytes, m_window.gameRoot().root);
        if (!written) {
            ui::showMessage(&m_window,
                            QStringLiteral("%1 could not be saved: %2. The file is as it was.")
                                .arg(displayName(target), QString::fromStdString(written.error().reason)));
        }
    }
    state.refreshReason = RefreshReason::StringsSaved;
    m_window.workspace().openMod();
    state.refreshReason = RefreshReason::UserOrFolderAction;
    c.stringsText->setFocus();
}

void StringsEditor::revert()
{
    const Controls &c = m_window.controls();
    const auto mod = m_window.workspace().selectedModFolder();
    if (!mod)
        return;
    auto backup = readFile(findNoCase(*mod, "strings_default.txt.bak"));
    if (!backup) {
        // The editor keeps its text: emptied, a later Save Changes would wipe the
        // strings file and its backup.
        ui::showMessage(&m_window, QStringLiteral("Backup not found :("));
        return;
    }
    c.stringsText->setFileBytes(*backup);
}

} // namespace cw::gui
