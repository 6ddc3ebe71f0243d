#include "gui/app/UnsavedChanges.h"

#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/script/ScriptFiles.h"
#include "gui/strings/StringsEditor.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"

#include <QPushButton>

namespace cw::gui {
namespace {

QString phrase(UnsavedChanges::Before before)
{
    switch (before) {
    case UnsavedChanges::Before::OpeningScript:
        return QStringLiteral("opening another script");
    case UnsavedChanges::Before::OpeningMod:
        return QStringLiteral("opening another mod");
    case UnsavedChanges::Before::ReopeningMod:
        return QStringLiteral("opening the mod again");
    case UnsavedChanges::Before::NewScript:
        return QStringLiteral("making a new script");
    case UnsavedChanges::Before::DeletingScript:
        return QStringLiteral("deleting the script");
    case UnsavedChanges::Before::SavingStrings:
        return QStringLiteral("saving the strings table");
    case UnsavedChanges::Before::Closing:
        return QStringLiteral("closing");
    }
    return {};
}

} // namespace

bool UnsavedChanges::mayReplace(Before before)
{
    const QString what = phrase(before);
    if (!mayReplaceGrid(what))
        return false;
    // Only another mod, the same mod read again and closing replace the strings editor's text.
    const bool stringsGo =
        before == Before::OpeningMod || before == Before::ReopeningMod || before == Before::Closing;
    return !stringsGo || mayReplaceStrings(what);
}

QMessageBox::StandardButton UnsavedChanges::ask(const QString &question, const QString &informative,
                                                bool canSave)
{
    return canSave ? ui::ask(&m_window, question, informative,
                             {{QMessageBox::Save}, {QMessageBox::Discard}, {QMessageBox::Cancel}},
                             QMessageBox::Save)
                   : ui::ask(&m_window, question, informative,
                             {{QMessageBox::Discard}, {QMessageBox::Cancel}}, QMessageBox::Cancel);
}

// The scripts folder of the open mod, where the lines of a grid that holds no script can
// be saved as a new script; empty when there is none.
std::filesystem::path UnsavedChanges::scriptsFolder() const
{
    const AppState &state = m_window.state();
    if (state.openModFolder.empty())
        return {};
    std::filesystem::path folder = findNoCase(state.openModFolder, layout::kScriptsFolder);
    std::error_code code;
    return std::filesystem::is_directory(folder, code) ? folder : std::filesystem::path();
}

bool UnsavedChanges::mayReplaceGrid(const QString &what)
{
    ScriptEditor &editor = m_window.editor();
    if (!editor.isModified())
        return true;
    const AppState &state = m_window.state();
    const std::filesystem::path folder = state.scriptOpen() ? std::filesystem::path() : scriptsFolder();
    const bool canSave = state.scriptOpen() || !folder.empty();
    const QString question =
        state.scriptOpen()
            ? QStringLiteral("Save changes to %1 before %2?").arg(state.currentScriptName, what)
            : QStringLiteral("Save the lines in the grid as a script before %1?").arg(what);
    const QString why = canSave ? QString()
                                : QStringLiteral("They cannot be saved: the mod has no scripts folder to "
                                                 "hold them.");
    const auto answer = ask(question, why, canSave);
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    // The open script's own file, whatever File1 highlights now.
    ScriptFiles &files = m_window.scriptFiles();
    if (state.scriptOpen())
        return files.writeOpenScript();
    const auto name = files.askFileName(QStringLiteral("Save Script as..."), QStringLiteral("script.txt"),
                                        m_window.controls().saveScAs);
    if (!name)
        return false;
    const std::filesystem::path path = findNoCase(folder, *name);
    std::error_code code;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, code))) {
        ui::refuse(m_window.controls().saveScAs,
                   QStringLiteral("A script named %1 already exists").arg(displayName(path.filename())));
        return false;
    }
    if (!files.writeDocument(path))
        return false;
    editor.markSaved();
    return true;
}

bool UnsavedChanges::mayReplaceStrings(const QString &what)
{
    const Controls &c = m_window.controls();
    if (!c.stringsText->isModified())
        return true;
    const auto answer = ask(QStringLiteral("Save changes to %1 before %2?")
                                .arg(QString::fromLatin1(layout::kStringsFile.data(),
                                                         static_cast<qsizetype>(layout::kStringsFile.size())),
                                     what),
                            QString(), true);
    if (answer == QMessageBox::Discard)
        return true;
    return answer == QMessageBox::Save && m_window.stringsEditor().writeFiles(m_window.state().openModFolder);
}

} // namespace cw::gui
