#include "gui/script/ScriptFiles.h"

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
    auto written = writeFileAtomically(path, *bytes, m_window.gameRoot().root);
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

std::optional<std::string> ScriptFiles::askFileName(const QString &title, const QString &proposed)
{
    const QString answer = ui::askText(&m_window, title, kEntireFileName, proposed);
    const std::string name = fileNameFrom(answer);
    if (answer.isEmpty() || !isPlainFileName(name)) {
        ui::beep();
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
            ui::beep();
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
            askFileName(QStringLiteral("Save Script as..."), m_window.state().currentScriptName);
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
        const auto name = askFileName(QStringLiteral("New Script"), QStringLiteral("script.txt"));
        if (!name)
            return;
        const std::filesystem::path path = c.file1->folder() / pathFromName(*name);
        // A new script never replaces a file, whatever the letter case of its name.
        if (findNoCase(c.file1->folder(), *name) != path || std::filesystem::exists(path)) {
            ui::beep();
            return;
        }
        auto created = createFileAtomically(path, layout::newScriptBytes(), m_window.gameRoot().root);
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
            ui::beep();
            return;
        }
        if (c.deleteSc->text() != kArmedCaption) {
            c.deleteSc->setText(kArmedCaption);
            return;
        }
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::DeletingScript))
            return;
        auto deleted = deleteFile(path);
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
