#include "gui/script/ScriptFiles.h"

#include "core/io/FileNames.h"
#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UnsavedChanges.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/TextCodec.h"
#include "gui/workspace/ModWorkspace.h"

#include <QLineEdit>
#include <QPushButton>

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

} // namespace

ScriptFiles::ScriptFiles(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    connect(c.saveSc, &QPushButton::clicked, this, &ScriptFiles::saveScript);
    connect(c.saveScAs, &QPushButton::clicked, this, &ScriptFiles::saveScriptAs);
    connect(c.newSc, &QPushButton::clicked, this, &ScriptFiles::newScript);
    connect(c.deleteSc, &QPushButton::clicked, this, &ScriptFiles::deleteScript);
}

bool ScriptFiles::writeDocument(const std::filesystem::path &path)
{
    const auto bytes = scriptBytes(m_window.editor().document());
    if (!bytes) {
        const ScriptWriteError &error = bytes.error();
        ui::showMessage(
            &m_window,
            error.cause == ScriptWriteError::Cause::NotEncodable
                ? QStringLiteral("Line %1 holds a character that a Darwinia script cannot hold (only "
                                 "the Windows-1252 code page can be saved). Nothing was saved.")
                      .arg(error.row + 1)
                : QStringLiteral("Line %1 would hold more than 21 words, and a script with such a "
                                 "line cannot be opened again. Nothing was saved.")
                      .arg(error.row + 1));
        return false;
    }
    auto written = writeFileAtomically(path, *bytes, ModBoundary(m_window.state().openModFolder));
    if (!written) {
        ui::showMessage(&m_window,
                        QStringLiteral("The script could not be saved as %1: %2. The file is as it was.")
                            .arg(displayName(path), QString::fromStdString(written.error().reason)));
        return false;
    }
    return true;
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

std::optional<std::string> ScriptFiles::askFileName(const QString &title, const QString &proposed,
                                                    QWidget *at)
{
    const QString answer = ui::askText(&m_window, title, kEntireFileName, proposed);
    const std::string name = fileNameFrom(answer);
    if (const NameProblem problem = plainFileNameProblem(name); problem != NameProblem::None) {
        ui::refuse(at, nameRefusal(problem, answer));
        return std::nullopt;
    }
    return name;
}

void ScriptFiles::saveScript()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        const std::filesystem::path path = c.file1->selectedPath();
        if (path.empty()) {
            ui::refuse(c.saveSc, QStringLiteral("Select a script in the list first"));
            return;
        }
        if (writeDocument(path))
            refreshAndReload(c.file1->selectedPosition());
    });
}

void ScriptFiles::saveScriptAs()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        const auto name =
            askFileName(QStringLiteral("Save Script as..."), m_window.state().currentScriptName, c.saveScAs);
        if (!name)
            return;
        // An existing script of that name, in any letter case, is replaced.
        if (writeDocument(findNoCase(c.file1->folder(), *name)))
            refreshAndReload(c.file1->selectedPosition());
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
        auto created =
            createFileAtomically(path, layout::newScriptBytes(), ModBoundary(m_window.state().openModFolder));
        if (!created) {
            ui::showMessage(&m_window,
                            QStringLiteral("The script %1 could not be created: %2")
                                .arg(displayName(path), QString::fromStdString(created.error().reason)));
            return;
        }
        refreshAndReload(c.file1->selectedPosition());
    });
}

void ScriptFiles::deleteScript()
{
    m_window.whenIdle([this] {
        const Controls &c = m_window.controls();
        const AppState &state = m_window.state();
        const std::filesystem::path path = c.file1->folder() / pathFromName(state.currentScriptFile);
        if (state.currentScriptFile.empty() || !std::filesystem::is_regular_file(path)) {
            // No script open, or its file is gone already: there is nothing to delete.
            c.deleteSc->setText(kDeleteCaption);
            ui::refuse(c.deleteSc, state.currentScriptFile.empty()
                                       ? QStringLiteral("Open a script first")
                                       : QStringLiteral("%1 is not in the scripts folder any more")
                                             .arg(state.currentScriptName));
            return;
        }
        if (c.deleteSc->text() != kArmedCaption) {
            c.deleteSc->setText(kArmedCaption);
            return;
        }
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::DeletingScript))
            return;
        auto deleted = deleteFile(path, ModBoundary(m_window.state().openModFolder));
        if (!deleted) {
            ui::showMessage(&m_window,
                            QStringLiteral("The script %1 could not be deleted: %2")
                                .arg(displayName(path), QString::fromStdString(deleted.error().reason)));
            c.deleteSc->setText(kDeleteCaption);
            return;
        }
        refreshAndReload(c.file1->selectedPosition(), Position::MovedBackAfterDelete);
    });
}

} // namespace cw::gui
