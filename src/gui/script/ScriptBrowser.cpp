#include "gui/script/ScriptBrowser.h"

#include "core/catalogue/Tokenizer.h"
#include "core/io/Files.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UnsavedChanges.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptCheck.h"
#include "gui/script/ScriptFiles.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Processes.h"
#include "gui/ui/TextCodec.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace cw::gui {
ScriptBrowser::ScriptBrowser(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    connect(c.file1, &ListBox::doubleClickedAnywhere, this, &ScriptBrowser::userOpensFromFile1);
    connect(c.file1, &ListBox::enterPressed, this, &ScriptBrowser::userOpensFromFile1);
    connect(c.list2, &ListBox::doubleClickedAnywhere, this, &ScriptBrowser::userOpensFromList2);
    connect(c.scrOpen, &QPushButton::clicked, this, &ScriptBrowser::openInTextEditor);
}

void ScriptBrowser::userOpensFromFile1()
{
    m_window.whenIdle([this] {
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::OpeningScript)) {
            selectOpenScript();
            return;
        }
        openFromList();
    });
}

void ScriptBrowser::userOpensFromList2()
{
    m_window.whenIdle([this] {
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::OpeningScript)) {
            selectOpenScript();
            return;
        }
        const Controls &c = m_window.controls();
        c.file1->setSelectedPosition(c.list2->selectedPosition());
        openFromList();
    });
}

bool ScriptBrowser::openFromList()
{
    const Controls &c = m_window.controls();
    const std::string fileName = c.file1->selectedFileName();
    const auto loaded = loadScript(fileName);
    if (!loaded) {
        selectOpenScript();
        return false;
    }
    AppState &state = m_window.state();
    state.currentScriptName = displayName(std::string_view(fileName));
    state.currentScriptFile = fileName;
    state.currentScriptFolder = c.file1->folder();
    state.scriptOnDisk = loaded->onDisk;
    c.list2->setSelectedPosition(c.file1->selectedPosition());
    m_window.scriptCheck().filesChanged();
    m_window.setCaption(state.captionPrefix + state.currentModName + QStringLiteral(" - ") +
                        state.currentScriptName);
    const QString losses = describeLosses(m_window.editor().document().lossesOnSave());
    if (!losses.isEmpty()) {
        ui::showMessage(&m_window,
                        QStringLiteral("%1 holds more than the editor can: saving it will not keep %2.")
                            .arg(state.currentScriptName, losses),
                        loaded->report.losesLinesPast100()
                            ? QStringLiteral("It has %1 lines; only the first 100 can be edited.")
                                  .arg(loaded->report.linesInFile)
                            : QStringLiteral("A line holds at most a command and four arguments."));
    }
    return true;
}

void ScriptBrowser::selectOpenScript()
{
    // Save Script writes to the file selected in File1: a file that was refused must not
    // stay selected while the grid still shows another script.
    const Controls &c = m_window.controls();
    const std::string &open = m_window.state().currentScriptFile;
    const std::vector<std::string> &names = c.file1->fileNames();
    const auto found = std::find(names.begin(), names.end(), open);
    const int position = open.empty() || found == names.end() ? -1 : static_cast<int>(found - names.begin());
    c.file1->setSelectedPosition(position);
    if (!c.list2->setSelectedPosition(position))
        c.list2->setSelectedPosition(-1);
}

std::optional<ScriptBrowser::Loaded> ScriptBrowser::loadScript(const std::string &fileName)
{
    const Controls &c = m_window.controls();
    m_window.scriptFiles().disarmDelete();

    std::string bytes;
    FileStamp onDisk;
    if (!fileName.empty()) {
        const std::filesystem::path path = c.file1->folder() / pathFromName(fileName);
        auto read = readFile(path, ModBoundary(c.file1->folder().parent_path()));
        if (!read) {
            ui::showMessage(
                &m_window,
                ui::failureMessage(QStringLiteral("The script %1 could not be read").arg(displayName(path)),
                                   read.error()));
            return std::nullopt;
        }
        bytes = std::move(read).value();
        onDisk = FileStamp::of(path, bytes);
    }
    m_window.ensureGridBuilt();
    auto report = m_window.editor().load(bytes);
    if (!report) {
        // The load is abandoned; the grid keeps the script it shows.
        const std::string where =
            refusedLineNote(displayName(std::string_view(fileName)).toStdString(), report.error().line);
        ui::showMessage(&m_window, decode(withoutExiting(report.error().message)),
                        QString::fromStdString(where));
        return std::nullopt;
    }
    return Loaded{std::move(report).value(), onDisk};
}

void ScriptBrowser::openInTextEditor()
{
    const Controls &c = m_window.controls();
    const std::filesystem::path path = c.file1->selectedPath();
    if (path.empty()) {
        ui::refuse(c.scrOpen, QStringLiteral("Select a script in the list first"));
        return;
    }
    if (!ui::start(ui::textEditorLaunch(path))) {
        ui::showMessage(
            &m_window, QStringLiteral("The text editor could not be started for %1.").arg(displayName(path)));
    }
}

} // namespace cw::gui
