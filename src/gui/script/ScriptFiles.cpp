#include "gui/script/ScriptFiles.h"

#include "core/io/FileNames.h"
#include "core/io/FileStamp.h"
#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UnsavedChanges.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/script/ScriptCheck.h"
#include "gui/strings/StringsEditor.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/TextCodec.h"
#include "gui/workspace/ModWorkspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>

#include <algorithm>

namespace cw::gui {
namespace {

const QString kArmedCaption = QStringLiteral("CLICK AGAIN TO DELETE");
const QString kDeleteCaption = QStringLiteral("Delete Script (dbl click)");
const QString kEntireFileName = QStringLiteral("Entire file name");

// One wording for each reason a typed name cannot be a script's.
QString nameRefusal(NameProblem problem, const QString &name)
{
    switch (problem) {
    case NameProblem::None:
        break;
    case NameProblem::Empty:
        return QStringLiteral("A script needs a name");
    case NameProblem::Reserved:
        return QStringLiteral("A script name cannot hold \\ / : * ? \" < > | or be . or ..");
    case NameProblem::ControlCharacter:
        return QStringLiteral("A script name cannot hold tabs or other control characters");
    case NameProblem::TrailingBlankOrDot:
        return QStringLiteral("A script name cannot end in a blank or a dot");
    case NameProblem::DeviceName:
        return QStringLiteral("%1 is a name Windows keeps for a device").arg(name);
    case NameProblem::TooLong:
        return QStringLiteral("A script name can be at most 255 bytes long");
    }
    return {};
}

QString writeRefusal(const ScriptWriteError &error)
{
    switch (error.cause) {
    case ScriptWriteError::Cause::NotEncodable:
        return QStringLiteral("Line %1 holds a character that a Darwinia script cannot hold (only the "
                              "Windows-1252 code page can be saved). Nothing was saved.")
            .arg(error.row + 1);
    case ScriptWriteError::Cause::TooManyWords:
        return QStringLiteral("Line %1 would hold more than 21 words, and a script with such a line "
                              "cannot be opened again. Nothing was saved.")
            .arg(error.row + 1);
    case ScriptWriteError::Cause::TooLarge:
        return QStringLiteral("The script would be larger than %1 MB, the largest script Cuewright "
                              "opens, so it could never be opened again. Nothing was saved.")
            .arg(kMaxFileBytes / (std::uintmax_t{1024} * 1024));
    }
    return {};
}

// "5", "5 and 9", "5, 9 and 12": the lines a message is about.
QString lineList(const std::vector<int> &lines)
{
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += i + 1 == lines.size() ? QStringLiteral(" and ") : QStringLiteral(", ");
        text += QString::number(lines[i]);
    }
    return text;
}

} // namespace

QString describeLosses(const ScriptDocument::Losses &losses)
{
    QStringList parts;
    if (losses.lines > 0) {
        parts << (losses.lines == 1 ? QStringLiteral("1 line after line 100")
                                    : QStringLiteral("%1 lines after line 100").arg(losses.lines)) +
                     QStringLiteral(" (%1 of them %2)")
                         .arg(losses.commands)
                         .arg(losses.commands == 1 ? QStringLiteral("a command")
                                                   : QStringLiteral("commands"));
    }
    if (!losses.words.empty()) {
        std::vector<int> lines;
        for (const ScriptDocument::Losses::Words &words : losses.words)
            lines.push_back(words.row + 1);
        // A word of megabytes makes no message of megabytes.
        constexpr qsizetype kShownCharacters = 40;
        QString first = QString::fromStdString(losses.words.front().words);
        if (first.size() > kShownCharacters)
            first = first.left(kShownCharacters) + QStringLiteral("...");
        parts << QStringLiteral("the words after the fourth argument on line%1 %2 (\"%3\"%4)")
                     .arg(lines.size() == 1 ? QString() : QStringLiteral("s"), lineList(lines), first,
                          lines.size() == 1 ? QString() : QStringLiteral(", ..."));
    }
    return parts.join(QStringLiteral("; and "));
}

ScriptFiles::ScriptFiles(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    connect(c.saveSc, &QPushButton::clicked, this, &ScriptFiles::saveScript);
    connect(c.saveScAs, &QPushButton::clicked, this, &ScriptFiles::saveScriptAs);
    connect(c.newSc, &QPushButton::clicked, this, &ScriptFiles::newScript);
    connect(c.deleteSc, &QPushButton::clicked, this, &ScriptFiles::deleteScript);
    // The second press deletes the open script only while the list shows it.
    connect(c.file1, &ListBox::itemSelectionChanged, this, &ScriptFiles::disarmDelete);
}

void ScriptFiles::setDeleteArmed(bool armed)
{
    m_deleteArmed = armed;
    m_window.controls().deleteSc->setText(armed ? kArmedCaption : kDeleteCaption);
}

bool ScriptFiles::writeDocument(const std::filesystem::path &path, FileStamp *written)
{
    const auto bytes = scriptBytes(m_window.editor().document());
    if (!bytes) {
        ui::showMessage(&m_window, writeRefusal(bytes.error()));
        return false;
    }
    // A script lies in the scripts folder of its mod, which bounds what may be written.
    auto done = writeFileAtomically(path, *bytes, ModBoundary(path.parent_path().parent_path()));
    if (!done) {
        ui::showMessage(
            &m_window,
            ui::failureMessage(QStringLiteral("The script could not be saved as %1").arg(displayName(path)),
                               done.error()));
        return false;
    }
    if (written)
        *written = FileStamp::of(path, *bytes);
    m_window.scriptCheck().filesChanged();
    return true;
}

bool ScriptFiles::confirmDiskUnchanged()
{
    AppState &state = m_window.state();
    const DiskState disk = diskState(state.openScriptPath(), state.scriptOnDisk, Compare::Bytes);
    if (disk == DiskState::Unchanged)
        return true;
    const QString name = state.currentScriptName;
    const bool gone = disk == DiskState::Gone;
    const QMessageBox::StandardButton answer =
        gone ? ui::ask(&m_window,
                       QStringLiteral("%1 is no longer on disk: another program removed or renamed it "
                                      "since Cuewright read it.")
                           .arg(name),
                       QStringLiteral("Overwrite saves the lines in the grid as %1 again.").arg(name),
                       {{QMessageBox::Save, QStringLiteral("&Overwrite")}, {QMessageBox::Cancel}},
                       QMessageBox::Cancel)
             : ui::ask(&m_window,
                       QStringLiteral("%1 has been changed by another program since Cuewright read or "
                                      "saved it.")
                           .arg(name),
                       QStringLiteral("Overwrite replaces that change with the lines in the grid; Reload "
                                      "shows the file as it is now, without the grid's edits."),
                       {{QMessageBox::Save, QStringLiteral("&Overwrite")},
                        {QMessageBox::Reset, QStringLiteral("&Reload")},
                        {QMessageBox::Cancel}},
                       QMessageBox::Cancel);
    if (answer == QMessageBox::Reset)
        reloadOpenScript();
    return answer == QMessageBox::Save;
}

bool ScriptFiles::confirmLosses()
{
    const QString losses = describeLosses(m_window.editor().document().lossesOnSave());
    if (losses.isEmpty())
        return true;
    return ui::ask(&m_window,
                   QStringLiteral("Saving %1 drops what the editor cannot hold. Save anyway?")
                       .arg(m_window.state().currentScriptName),
                   QStringLiteral("Not kept: %1.").arg(losses), {{QMessageBox::Yes}, {QMessageBox::No}},
                   QMessageBox::No) == QMessageBox::Yes;
}

bool ScriptFiles::confirmReplacing(const std::filesystem::path &target)
{
    const AppState &state = m_window.state();
    const QString lines = state.scriptOpen() ? QStringLiteral("the lines of %1").arg(state.currentScriptName)
                                             : QStringLiteral("the lines in the grid");
    return ui::ask(&m_window,
                   QStringLiteral("Replace %1 with %2?").arg(displayName(target.filename()), lines),
                   QString(), {{QMessageBox::Yes}, {QMessageBox::No}}, QMessageBox::No) == QMessageBox::Yes;
}

bool ScriptFiles::writeOpenScript()
{
    AppState &state = m_window.state();
    if (!confirmDiskUnchanged() || !confirmLosses())
        return false;
    if (!writeDocument(state.openScriptPath(), &state.scriptOnDisk))
        return false;
    m_window.editor().markSaved();
    return true;
}

bool ScriptFiles::reloadOpenScript()
{
    const Controls &c = m_window.controls();
    const AppState &state = m_window.state();
    if (!state.scriptOpen())
        return false;
    c.file1->refresh();
    const std::vector<std::string> &names = c.file1->fileNames();
    const auto found = std::find(names.begin(), names.end(), state.currentScriptFile);
    if (found == names.end() || c.file1->folder() != state.currentScriptFolder)
        return false;
    c.file1->setSelectedPosition(static_cast<int>(found - names.begin()));
    return m_window.browser().openFromList();
}

void ScriptFiles::refreshAndReload(int position, Position rule)
{
    const Controls &c = m_window.controls();
    m_window.workspace().openMod(RefreshReason::ScriptFileAction);
    if (rule == Position::MovedBackAfterDelete) {
        const int wanted = position;
        position = std::min(position, c.file1->count() - 1);
        if (position < 0 && wanted >= 0)
            return;
    } else if (position >= c.file1->count()) {
        position = -1;
    }
    c.file1->setSelectedPosition(position);
    m_window.browser().openFromList();
    c.file1->refresh();
    if (!c.list2->isHidden())
        c.list2->setFocus();
}

void ScriptFiles::refreshAndOpen(const std::string &fileName)
{
    const Controls &c = m_window.controls();
    m_window.workspace().openMod(RefreshReason::ScriptFileAction);
    const std::vector<std::string> &names = c.file1->fileNames();
    const auto found = std::find(names.begin(), names.end(), fileName);
    c.file1->setSelectedPosition(found == names.end() ? -1 : static_cast<int>(found - names.begin()));
    m_window.browser().openFromList();
    if (!c.list2->isHidden())
        c.list2->setFocus();
}

std::optional<std::string> ScriptFiles::askFileName(const QString &title, const QString &proposed,
                                                    QWidget *at)
{
    const QString answer = ui::askText(&m_window, title, kEntireFileName, proposed);
    const std::string typed = fileNameFrom(answer);
    if (const NameProblem problem = plainFileNameProblem(typed); problem != NameProblem::None) {
        ui::refuse(at, nameRefusal(problem, answer));
        return std::nullopt;
    }
    std::string name = withScriptExtension(typed);
    if (const NameProblem problem = plainFileNameProblem(name); problem != NameProblem::None) {
        ui::refuse(at, nameRefusal(problem, displayName(std::string_view(name))));
        return std::nullopt;
    }
    return name;
}

void ScriptFiles::saveOpenScript()
{
    if (!m_window.state().scriptOpen()) {
        saveScriptAs();
        return;
    }
    m_window.whenIdle([this] {
        const std::string name = m_window.state().currentScriptFile;
        if (writeOpenScript())
            refreshAndOpen(name);
    });
}

void ScriptFiles::saveScript()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        const AppState &state = m_window.state();
        const std::filesystem::path path = c.file1->selectedPath();
        if (path.empty()) {
            ui::refuse(c.saveSc, QStringLiteral("Select a script in the list first"));
            return;
        }
        const std::string name = c.file1->selectedFileName();
        if (state.scriptOpen() && name == state.currentScriptFile &&
            c.file1->folder() == state.currentScriptFolder) {
            if (writeOpenScript())
                refreshAndOpen(name);
            return;
        }
        if (confirmReplacing(path) && writeDocument(path))
            refreshAndOpen(name);
    });
}

void ScriptFiles::saveScriptAs()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        const AppState &state = m_window.state();
        const auto name =
            askFileName(QStringLiteral("Save Script as..."), state.currentScriptName, c.saveScAs);
        if (!name)
            return;
        // A script of that name in any letter case is the one replaced, under its own name.
        const std::filesystem::path path = findNoCase(c.file1->folder(), *name);
        const std::string fileName = nameOf(path.filename());
        std::error_code code;
        const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, code));
        if (exists && state.scriptOpen() && path == state.openScriptPath()) {
            if (writeOpenScript())
                refreshAndOpen(fileName);
            return;
        }
        if (exists && !confirmReplacing(path))
            return;
        if (writeDocument(path))
            refreshAndOpen(fileName);
    });
}

void ScriptFiles::newScript()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::NewScript))
            return;
        const auto name = askFileName(QStringLiteral("New Script"), QStringLiteral("script.txt"), c.newSc);
        if (!name)
            return;
        const std::filesystem::path path = c.file1->folder() / pathFromName(*name);
        // A new script never replaces a file, whatever the letter case of its name.
        if (const auto existing = findNoCase(c.file1->folder(), *name);
            existing != path || std::filesystem::exists(path)) {
            ui::refuse(
                c.newSc,
                QStringLiteral("A script named %1 already exists").arg(displayName(existing.filename())));
            return;
        }
        auto created = createFileAtomically(path, layout::newScriptBytes(),
                                            ModBoundary(c.file1->folder().parent_path()));
        if (!created) {
            ui::showMessage(&m_window,
                            ui::failureMessage(
                                QStringLiteral("The script %1 could not be created").arg(displayName(path)),
                                created.error()));
            return;
        }
        refreshAndReload(c.file1->selectedPosition());
    });
}

// Deleted scripts go to the desktop's trash, where the user can get them back; where
// it cannot take them, a script is deleted for good only when the user says so.
bool ScriptFiles::moveToTrash(const std::filesystem::path &path)
{
    const QString name = displayName(path.filename());
    const QString source = QFile::decodeName(QByteArray::fromStdString(nameOf(path)));
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Qt 6.4 cannot make the trash where the user's data folder is missing, and then
    // moves the file into a folder "files" of the current folder instead: the data
    // folder is made first, and a file that went anywhere but into a trash comes back.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
    QString inTrash;
    if (QFile::moveToTrash(source, &inTrash)) {
        if (inTrash.isEmpty() || QFileInfo(inTrash).isAbsolute()) {
            ui::note(m_window.controls().deleteSc,
                     QStringLiteral("%1 was moved to the trash, where it can be restored").arg(name));
            return true;
        }
        QFile::rename(inTrash, source);
    }
    if (ui::ask(&m_window, QStringLiteral("%1 cannot be moved to the trash. Delete it for good?").arg(name),
                QStringLiteral("It cannot be brought back afterwards."),
                {{QMessageBox::Yes}, {QMessageBox::No}}, QMessageBox::No) != QMessageBox::Yes)
        return false;
    auto deleted = deleteFile(path, ModBoundary(path.parent_path().parent_path()));
    if (!deleted) {
        ui::showMessage(
            &m_window,
            ui::failureMessage(QStringLiteral("The script %1 could not be deleted").arg(displayName(path)),
                               deleted.error()));
        return false;
    }
    return true;
}

void ScriptFiles::deleteScript()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        const AppState &state = m_window.state();
        const std::filesystem::path path = state.openScriptPath();
        if (!state.scriptOpen() || !std::filesystem::is_regular_file(path)) {
            // No script open, or its file is gone already: there is nothing to delete.
            setDeleteArmed(false);
            ui::refuse(c.deleteSc, !state.scriptOpen()
                                       ? QStringLiteral("Open a script first")
                                       : QStringLiteral("%1 is not in the scripts folder any more")
                                             .arg(state.currentScriptName));
            return;
        }
        // Delete removes the open script: never while the list shows another one.
        if (c.file1->selectedFileName() != state.currentScriptFile ||
            c.file1->folder() != state.currentScriptFolder) {
            setDeleteArmed(false);
            ui::refuse(c.deleteSc, QStringLiteral("Delete Script deletes the open script, %1: select it in "
                                                  "the list first")
                                       .arg(state.currentScriptName));
            return;
        }
        if (!m_deleteArmed) {
            setDeleteArmed(true);
            return;
        }
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::DeletingScript))
            return;
        // Only a file of the mod goes to the trash: a link leading out of it does not.
        const auto deletable = ModBoundary(state.currentScriptFolder.parent_path()).deletable(path);
        if (!deletable) {
            ui::showMessage(&m_window,
                            ui::failureMessage(
                                QStringLiteral("The script %1 could not be deleted").arg(displayName(path)),
                                deletable.error()));
            setDeleteArmed(false);
            return;
        }
        if (!moveToTrash(*deletable)) {
            setDeleteArmed(false);
            return;
        }
        refreshAndReload(c.file1->selectedPosition(), Position::MovedBackAfterDelete);
    });
}

} // namespace cw::gui
