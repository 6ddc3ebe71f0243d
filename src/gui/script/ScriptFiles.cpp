#include "gui/script/ScriptFiles.h"

#include "core/io/Files.h"
#include "gui/app/Busy.h"
#include "gui/app/MainWindow.h"
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
const QString kEntireFileName = QStringLiteral("Entire file name");

// A new script: one empty line for each grid row.
std::string emptyScript()
{
    std::string bytes;
    for (int i = 0; i < ScriptGrid::kRowCount; ++i)
        bytes += "\r\n";
    return bytes;
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

std::optional<std::vector<RowTexts>> ScriptFiles::rowsToSave()
{
    GridTexts grid = m_window.grid().texts();
    if (!grid.unencodableRows.empty()) {
        ui::showMessage(&m_window, QStringLiteral("Line %1 holds a character that a Darwinia script cannot "
                                                  "hold (only the Windows-1252 code page can be saved). "
                                                  "Nothing was saved.")
                                       .arg(grid.unencodableRows.front() + 1));
        return std::nullopt;
    }
    return std::move(grid.rows);
}

bool ScriptFiles::writeGrid(const std::filesystem::path &path)
{
    const auto rows = rowsToSave();
    if (!rows)
        return false;
    if (const int row = firstUnreadableRow(*rows); row >= 0) {
        ui::showMessage(&m_window,
                        QStringLiteral("Line %1 would hold more than 21 words, and a script with such a "
                                       "line cannot be opened again. Nothing was saved.")
                            .arg(row + 1));
        return false;
    }
    auto written = writeFileAtomically(path, writeScript(*rows), m_window.gameRoot().root);
    if (!written) {
        ui::showMessage(&m_window,
                        QStringLiteral("The script could not be saved as %1: %2. The file is as it was.")
                            .arg(displayName(path), QString::fromStdString(written.error().reason)));
        return false;
    }
    return true;
}

void ScriptFiles::refreshAndReload(int position)
{
    const Controls &c = m_window.controls();
    AppState &state = m_window.state();
    state.refreshReason = RefreshReason::ScriptFileAction;
    m_window.workspace().openMod();
    state.refreshReason = RefreshReason::UserOrFolderAction;
    c.file1->setSelectedPosition(position < c.file1->count() ? position : -1);
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
    AppState &state = m_window.state();
    if (state.busy)
        return;
    BusyScope busy(state.busy);
    const Controls &c = m_window.controls();
    const std::filesystem::path path = c.file1->selectedPath();
    if (path.empty()) {
        ui::beep();
        return;
    }
    if (writeGrid(path))
        refreshAndReload(c.file1->selectedPosition());
}

void ScriptFiles::saveScriptAs()
{
    AppState &state = m_window.state();
    if (state.busy)
        return;
    BusyScope busy(state.busy);
    const Controls &c = m_window.controls();
    const auto name = askFileName(QStringLiteral("Save Script as..."), state.currentScriptName);
    if (!name)
        return;
    // An existing script of that name, in any letter case, is replaced.
    if (writeGrid(findNoCase(c.file1->folder(), *name)))
        refreshAndReload(c.file1->selectedPosition());
}

void ScriptFiles::newScript()
{
    AppState &state = m_window.state();
    if (state.busy)
        return;
    BusyScope busy(state.busy);
    const Controls &c = m_window.controls();
    const auto name = askFileName(QStringLiteral("New Script"), QStringLiteral("script.txt"));
    if (!name)
        return;
    const std::filesystem::path path = c.file1->folder() / pathFromName(*name);
    // A new script never replaces a file, whatever the letter case of its name.
    if (findNoCase(c.file1->folder(), *name) != path || std::filesystem::exists(path)) {
        ui::beep();
        return;
    }
    auto created = createFileAtomically(path, emptyScript(), m_window.gameRoot().root);
    if (!created) {
        ui::showMessage(&m_window,
                        QStringLiteral("The script %1 could not be created: %2")
                            .arg(displayName(path), QString::fromStdString(created.error().reason)));
        return;
    }
    refreshAndReload(c.file1->selectedPosition());
}

void ScriptFiles::deleteScript()
{
    AppState &state = m_window.state();
    if (state.busy)
        return;
    BusyScope busy(state.busy);
    const Controls &c = m_window.controls();
    const std::filesystem::path path = c.file1->folder() / pathFromName(state.currentScriptFile);
    if (state.currentScriptFile.empty() || !std::filesystem::is_regular_file(path)) {
        // No script open, or its file is gone already: there is nothing to delete.
        c.deleteSc->setText(QStringLiteral("Delete Script (dbl click)"));
        ui::beep();
        return;
    }
    if (c.deleteSc->text() != kArmedCaption) {
        c.deleteSc->setText(kArmedCaption);
        return;
    }
    auto deleted = deleteFile(path);
    if (!deleted) {
        ui::showMessage(&m_window,
                        QStringLiteral("The script %1 could not be deleted: %2")
                            .arg(displayName(path), QString::fromStdString(deleted.error().reason)));
        c.deleteSc->setText(QStringLiteral("Delete Script (dbl click)"));
        return;
    }
    state.savedFilePosition = c.file1->selectedPosition();
    state.refreshReason = RefreshReason::ScriptFileAction;
    m_window.workspace().openMod();
    state.refreshReason = RefreshReason::UserOrFolderAction;
    // A position past the end of the shorter list moves back to its new last entry;
    // with no script left, nothing is selected or opened.
    int position = state.savedFilePosition;
    while (position >= c.file1->count())
        --position;
    if (position < 0 && state.savedFilePosition >= 0)
        return;
    c.file1->setSelectedPosition(position);
    m_window.browser().openFromList();
    c.file1->refresh();
    if (!c.list2->isHidden())
        c.list2->setFocus();
}

} // namespace cw::gui
