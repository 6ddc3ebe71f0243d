#include "gui/script/ScriptFiles.h"

#include "core/io/FileNames.h"
#include "core/io/FileStamp.h"
#include "core/io/Files.h"
#include "core/workspace/ModFiles.h"
#include "core/workspace/ModLayout.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/TextCodec.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"

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

} // namespace

ScriptFiles::ScriptFiles(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, ScriptBrowser &browser,
                         const Widgets &widgets, QWidget *messages)
    : m_model(model), m_busy(busy), m_guard(guard), m_browser(browser), w(widgets), m_messages(messages)
{
    // The second press deletes the open script only while the list shows it; opening a
    // mod or a script disarms a first press too.
    const auto disarm = [this] {
        setDeleteArmed(false);
    };
    connect(w.file1, &ListBox::itemSelectionChanged, this, disarm);
    connect(&m_model, &WindowModel::modOpening, this, disarm);
    connect(&m_model, &WindowModel::scriptOpened, this, disarm);
}

void ScriptFiles::setDeleteArmed(bool armed)
{
    m_deleteArmed = armed;
    w.deleteSc->setText(armed ? kArmedCaption : kDeleteCaption);
}

std::optional<std::string> ScriptFiles::documentBytes()
{
    auto bytes = scriptBytes(m_model.editor().document());
    if (!bytes) {
        ui::showMessage(m_messages, writeRefusal(bytes.error()));
        return std::nullopt;
    }
    return std::move(bytes).value();
}

bool ScriptFiles::writeDocument(const std::filesystem::path &path, const FileStamp &expected,
                                FileStamp *written)
{
    const auto bytes = documentBytes();
    if (!bytes)
        return false;
    auto done = m_model.files() ? m_model.files()->writeScript(path, *bytes, expected)
                                : Result<FileStamp, IoError>(IoError{"no mod is open", path});
    if (!done) {
        ui::showMessage(
            m_messages,
            ui::failureMessage(QStringLiteral("The script could not be saved as %1").arg(displayName(path)),
                               done.error()));
        return false;
    }
    if (written)
        *written = *done;
    return true;
}

std::optional<FileStamp> ScriptFiles::confirmDiskUnchanged()
{
    const DiskState disk = m_model.diskState(OpenFile::Script, Compare::Bytes);
    if (disk == DiskState::Unchanged)
        return m_model.stamp(OpenFile::Script);
    const ui::DiskAnswer answer =
        ui::askAboutChangeOnDisk(m_messages, m_model.scriptName(), disk == DiskState::Gone,
                                 QStringLiteral("the lines in the grid"), QStringLiteral("the grid"));
    if (answer == ui::DiskAnswer::Reload) {
        m_model.relistScripts();
        m_browser.open(m_model.scriptFile());
    }
    // Overwrite: written whatever the file holds now.
    return answer == ui::DiskAnswer::Overwrite ? std::optional<FileStamp>(FileStamp()) : std::nullopt;
}

bool ScriptFiles::confirmLosses()
{
    const QString losses = describeLosses(m_model.editor().document().lossesOnSave());
    if (losses.isEmpty())
        return true;
    return ui::ask(m_messages,
                   QStringLiteral("Saving %1 drops what the editor cannot hold. Save anyway?")
                       .arg(m_model.scriptName()),
                   QStringLiteral("Not kept: %1.").arg(losses), {{QMessageBox::Yes}, {QMessageBox::No}},
                   QMessageBox::No) == QMessageBox::Yes;
}

bool ScriptFiles::confirmReplacing(const std::filesystem::path &target)
{
    const QString lines = m_model.scriptOpen() ? QStringLiteral("the lines of %1").arg(m_model.scriptName())
                                               : QStringLiteral("the lines in the grid");
    return ui::ask(m_messages,
                   QStringLiteral("Replace %1 with %2?").arg(displayName(target.filename()), lines),
                   QString(), {{QMessageBox::Yes}, {QMessageBox::No}}, QMessageBox::No) == QMessageBox::Yes;
}

bool ScriptFiles::writeOpenScript()
{
    const auto expected = confirmDiskUnchanged();
    FileStamp written;
    if (!expected || !confirmLosses() || !writeDocument(m_model.scriptPath(), *expected, &written))
        return false;
    m_model.scriptWritten(written);
    return true;
}

bool ScriptFiles::saveBeforeReplacing()
{
    if (m_model.scriptOpen())
        return writeOpenScript();
    const ModFiles *files = m_model.files();
    if (!files || !files->scriptsFolder())
        return false;
    const auto name =
        askFileName(QStringLiteral("Save Script as..."), QStringLiteral("script.txt"), Taken::Refused);
    if (!name)
        return false;
    const auto bytes = documentBytes();
    if (!bytes)
        return false;
    if (auto created = files->createScript(*name, *bytes); !created) {
        ui::showMessage(m_messages, ui::failureMessage(QStringLiteral("The script could not be saved as %1")
                                                           .arg(displayName(std::string_view(*name))),
                                                       created.error()));
        return false;
    }
    m_model.editor().markSaved();
    return true;
}

void ScriptFiles::focusList2()
{
    if (!w.list2->isHidden())
        w.list2->setFocus();
}

void ScriptFiles::refreshAndReload(int position, Position rule)
{
    m_model.reopenMod(RefreshReason::ScriptFileAction);
    if (rule == Position::MovedBackAfterDelete) {
        const int wanted = position;
        position = std::min(position, w.file1->count() - 1);
        if (position < 0 && wanted >= 0)
            return;
    } else if (position >= w.file1->count()) {
        position = -1;
    }
    w.file1->setSelectedPosition(position);
    m_browser.openSelected();
    focusList2();
}

void ScriptFiles::refreshAndOpen(const std::string &fileName)
{
    m_model.reopenMod(RefreshReason::ScriptFileAction);
    m_browser.open(fileName);
    focusList2();
}

// The name a file action writes to, asked until it is one a script may have (and, for
// a new file, one no script of the mod has in any letter case); what is wrong with a name
// shows in the name dialog, with the name, for the user to mend.
std::optional<std::string> ScriptFiles::askFileName(const QString &title, const QString &proposed,
                                                    Taken taken)
{
    const ModFiles *files = m_model.files();
    const auto nameOf = [](const QString &answer) -> Result<std::string, QString> {
        const std::string typed = fileNameFrom(answer);
        if (const NameProblem problem = plainFileNameProblem(typed); problem != NameProblem::None)
            return nameRefusal(problem, answer);
        std::string name = withScriptExtension(typed);
        if (const NameProblem problem = plainFileNameProblem(name); problem != NameProblem::None)
            return nameRefusal(problem, displayName(std::string_view(name)));
        return name;
    };
    const auto refusal = [&](const QString &answer) {
        const auto name = nameOf(answer);
        if (!name)
            return name.error();
        if (taken == Taken::Refused && files) {
            if (const auto existing = files->scriptNamed(*name))
                return QStringLiteral("A script named %1 already exists")
                    .arg(displayName(existing->filename()));
        }
        return QString();
    };
    const QString answer = ui::askText(m_messages, title, kEntireFileName, proposed, refusal);
    auto name = nameOf(answer);
    if (!name) // cancelled: an empty name is refused in the dialog
        return std::nullopt;
    return std::move(name).value();
}

void ScriptFiles::saveOpenScript()
{
    if (!m_model.scriptOpen()) {
        saveScriptAs();
        return;
    }
    m_busy.whenIdle([this] {
        const std::string name = m_model.scriptFile();
        if (writeOpenScript())
            refreshAndOpen(name);
    });
}

void ScriptFiles::saveScript()
{
    m_busy.whenIdle([this] {
        const std::filesystem::path path = w.file1->selectedPath();
        if (path.empty()) {
            ui::refuse(w.saveSc, QStringLiteral("Select a script in the list first"));
            return;
        }
        const std::string name = w.file1->selectedFileName();
        if (path == m_model.scriptPath()) {
            if (writeOpenScript())
                refreshAndOpen(name);
            return;
        }
        if (confirmReplacing(path) && writeDocument(path, FileStamp()))
            refreshAndOpen(name);
    });
}

void ScriptFiles::saveScriptAs()
{
    m_busy.whenIdle([this] {
        const auto name =
            askFileName(QStringLiteral("Save Script as..."), m_model.scriptName(), Taken::Replaced);
        if (!name)
            return;
        // A script of that name in any letter case is the one replaced, under its own name;
        // so is a listed one whose name, not UTF-8, is shown as the name typed.
        const std::string listed = w.file1->nameShownAs(displayName(std::string_view(*name)));
        const std::filesystem::path path =
            listed.empty() ? findNoCase(w.file1->folder(), *name) : w.file1->folder() / pathFromName(listed);
        const std::string fileName = nameOf(path.filename());
        std::error_code code;
        const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, code));
        if (exists && m_model.scriptOpen() && path == m_model.scriptPath()) {
            if (writeOpenScript())
                refreshAndOpen(fileName);
            return;
        }
        if (exists && !confirmReplacing(path))
            return;
        if (writeDocument(path, FileStamp()))
            refreshAndOpen(fileName);
    });
}

void ScriptFiles::newScript()
{
    m_busy.whenIdle([this] {
        if (!m_guard.mayReplace(UnsavedChanges::Before::NewScript))
            return;
        // A new script never replaces a file, whatever the letter case of its name.
        const auto name =
            askFileName(QStringLiteral("New Script"), QStringLiteral("script.txt"), Taken::Refused);
        if (!name)
            return;
        const ModFiles *files = m_model.files();
        const std::filesystem::path path = w.file1->folder() / pathFromName(*name);
        auto created = files ? files->createScript(*name, layout::newScriptBytes())
                             : Result<FileStamp, IoError>(IoError{"no mod is open", path});
        if (!created) {
            ui::showMessage(m_messages,
                            ui::failureMessage(
                                QStringLiteral("The script %1 could not be created").arg(displayName(path)),
                                created.error()));
            return;
        }
        refreshAndReload(w.file1->selectedPosition());
    });
}

namespace {

// The desktop's trash as Qt offers it, for the core's delete: where the script went, an
// empty path where the system keeps its own record, nothing when it was not moved.
std::optional<std::filesystem::path> qtMoveToTrash(const std::filesystem::path &file)
{
    const QString source = QFile::decodeName(QByteArray::fromStdString(nameOf(file)));
    // Qt takes a name as text: one whose bytes the text does not give back would be
    // another file's name, so such a script is never handed over.
    if (QFile::encodeName(source).toStdString() != nameOf(file))
        return std::nullopt;
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Qt 6.4 cannot make the trash where the user's data folder is missing, and then
    // moves the file into a folder "files" of the current folder instead: the data
    // folder is made first.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
    QString inTrash;
    if (!QFile::moveToTrash(source, &inTrash))
        return std::nullopt;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return std::filesystem::path(); // the system's trash keeps its own record
#else
    return pathFromName(QFile::encodeName(inTrash).toStdString());
#endif
}

} // namespace

// Deleted scripts go to the desktop's trash, where the user can get them back; where
// it cannot take them, a script is deleted for good only when the user says so.
bool ScriptFiles::moveToTrash(const std::filesystem::path &path)
{
    const QString name = displayName(path.filename());
    const ModFiles &files = *m_model.files();
    auto trashed = files.trashScript(path, qtMoveToTrash);
    if (!trashed) {
        ui::showMessage(
            m_messages,
            ui::failureMessage(QStringLiteral("The script %1 could not be deleted").arg(displayName(path)),
                               trashed.error()));
        return false;
    }
    switch (trashed->outcome) {
    case Trashed::Outcome::InTrash:
        ui::note(w.deleteSc, QStringLiteral("%1 was moved to the trash, where it can be restored").arg(name));
        return true;
    case Trashed::Outcome::Stranded:
        ui::showMessage(m_messages,
                        QStringLiteral("%1 was moved to %2, where no trash can restore it, and could not be "
                                       "put back.")
                            .arg(name, displayName(trashed->where)),
                        QStringLiteral("Move it back into the scripts folder by hand."));
        return true;
    case Trashed::Outcome::NotMoved:
        break;
    }
    if (ui::ask(m_messages, QStringLiteral("%1 cannot be moved to the trash. Delete it for good?").arg(name),
                QStringLiteral("It cannot be brought back afterwards."),
                {{QMessageBox::Yes}, {QMessageBox::No}}, QMessageBox::No) != QMessageBox::Yes)
        return false;
    if (auto deleted = files.deleteScript(path); !deleted) {
        ui::showMessage(
            m_messages,
            ui::failureMessage(QStringLiteral("The script %1 could not be deleted").arg(displayName(path)),
                               deleted.error()));
        return false;
    }
    return true;
}

void ScriptFiles::deleteScript()
{
    m_busy.whenIdle([this] {
        const std::filesystem::path path = m_model.scriptPath();
        if (!m_model.scriptOpen() || !std::filesystem::is_regular_file(path)) {
            // No script open, or its file is gone already: there is nothing to delete.
            setDeleteArmed(false);
            ui::refuse(
                w.deleteSc,
                !m_model.scriptOpen()
                    ? QStringLiteral("Open a script first")
                    : QStringLiteral("%1 is not in the scripts folder any more").arg(m_model.scriptName()));
            return;
        }
        // Delete removes the open script: never while the list shows another one.
        if (w.file1->selectedPath() != path) {
            setDeleteArmed(false);
            ui::refuse(w.deleteSc, QStringLiteral("Delete Script deletes the open script, %1: select it in "
                                                  "the list first")
                                       .arg(m_model.scriptName()));
            return;
        }
        if (!m_deleteArmed) {
            setDeleteArmed(true);
            return;
        }
        if (!m_guard.mayReplace(UnsavedChanges::Before::DeletingScript))
            return;
        // Only a file of the mod goes to the trash: a link leading out of it does not.
        if (!m_model.files() || !moveToTrash(path)) {
            setDeleteArmed(false);
            return;
        }
        refreshAndReload(w.file1->selectedPosition(), Position::MovedBackAfterDelete);
    });
}

} // namespace cw::gui
