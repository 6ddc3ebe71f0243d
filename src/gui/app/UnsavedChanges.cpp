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

QMessageBox::StandardButton UnsavedChanges::ask(const QString &question, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(QMessageBox::Question, ui::kProgramTitle, question, buttons, &m_window);
    box.setObjectName(QStringLiteral("questionBox"));
    if (buttons.testFlag(QMessageBox::Save))
        box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

// The lines of a grid that holds no script can be saved only where a script can be
// made: in the open mod's scripts folder, under a name the user gives.
std::filesystem::path UnsavedChanges::newScriptPath()
{
    const AppState &state = m_window.state();
    if (state.openModFolder.empty())
        return {};
    const std::filesystem::path folder = findNoCase(state.openModFolder, layout::kScriptsFolder);
    std::error_code code;
    if (!std::filesystem::is_directory(folder, code))
        return {};
    const auto name = m_window.scriptFiles().askFileName(
        QStringLiteral("Save Script as..."), QStringLiteral("script.txt"), m_window.controls().saveScAs);
    return name ? findNoCase(folder, *name) : std::filesystem::path();
}

bool UnsavedChanges::mayReplaceGrid(const QString &what)
{
    ScriptEditor &editor = m_window.editor();
    if (!editor.isModified())
        return true;
    const AppState &state = m_window.state();
    const bool scriptOpen = !state.currentScriptFile.empty();
    const QString question =
        scriptOpen ? QStringLiteral("Save changes to %1 before %2?").arg(state.currentScriptName, what)
                   : QStringLiteral("Save the lines in the grid as a script before %1?").arg(what);
    const bool canSave = scriptOpen || !state.openModFolder.empty();
    const auto answer = ask(question, canSave ? QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel
                                              : QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    // The open script's own file, whatever File1 highlights now.
    const std::filesystem::path path =
        scriptOpen ? state.currentScriptFolder / pathFromName(state.currentScriptFile) : newScriptPath();
    if (path.empty() || !m_window.scriptFiles().writeDocument(path))
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
                            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Discard)
        return true;
    return answer == QMessageBox::Save && m_window.stringsEditor().writeFiles(m_window.state().openModFolder);
}

} // namespace cw::gui
