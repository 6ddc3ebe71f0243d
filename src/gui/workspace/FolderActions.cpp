#include "gui/workspace/FolderActions.h"

#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/Busy.h"
#include "gui/app/MainWindow.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Processes.h"
#include "gui/ui/TextCodec.h"
#include "gui/workspace/ModWorkspace.h"

#include <QPushButton>

namespace cw::gui {

FolderActions::FolderActions(MainWindow &window) : m_window(window)
{
    const Controls &c = window.controls();
    connect(c.cmdScripts, &QPushButton::clicked, this, &FolderActions::makeScriptsFolder);
    connect(c.cmdLevels, &QPushButton::clicked, this, &FolderActions::makeLevelsFolder);
    connect(c.cmdStrings, &QPushButton::clicked, this, &FolderActions::makeStringsFile);
    connect(c.cmdMapOpen, &QPushButton::clicked, this, &FolderActions::openSelectedMap);
    connect(c.cmdMissionOpen, &QPushButton::clicked, this, &FolderActions::openSelectedMission);
    connect(c.cmdRootOpen, &QPushButton::clicked, this, &FolderActions::openSelectedRootFile);
    connect(c.cmdPrefs, &QPushButton::clicked, this, &FolderActions::openPreferences);
    connect(c.command2, &QPushButton::clicked, this, &FolderActions::launchGame);
}

void FolderActions::openModAgain()
{
    AppState &state = m_window.state();
    BusyScope busy(state.busy);
    state.refreshReason = RefreshReason::UserOrFolderAction;
    m_window.workspace().openMod();
}

void FolderActions::makeFolder(const char *name)
{
    if (m_window.state().busy)
        return;
    const auto mod = m_window.workspace().selectedModFolder();
    // A folder of that name in any letter case counts as there already.
    const bool exists = mod && std::filesystem::exists(findNoCase(*mod, name));
    if (!mod || exists || !createFolder(*mod / name)) {
        ui::beep();
        return;
    }
    openModAgain();
}

void FolderActions::makeScriptsFolder()
{
    makeFolder("scripts");
}

void FolderActions::makeLevelsFolder()
{
    makeFolder("levels");
}

void FolderActions::makeStringsFile()
{
    if (m_window.state().busy)
        return;
    const auto mod = m_window.workspace().selectedModFolder();
    if (!mod) {
        ui::beep();
        return;
    }
    // Replaces a strings file that exists but could not be read, in its own spelling.
    const std::filesystem::path path = findNoCase(*mod, "strings_default.txt");
    auto written = writeFileAtomically(path, " \r\n", m_window.gameRoot().root);
    if (!written) {
        ui::beep();
        ui::showMessage(&m_window,
                        QStringLiteral("%1 could not be written: %2")
                            .arg(displayName(path), QString::fromStdString(written.error().reason)));
        return;
    }
    openModAgain();
}

void FolderActions::openSelected(const ListBox *list, const std::filesystem::path &folder)
{
    if (list->selectedPosition() < 0) {
        ui::beep();
        return;
    }
    const auto *files = qobject_cast<const FileListBox *>(list);
    const std::filesystem::path path =
        files ? files->selectedPath() : folder / pathFromName(fileNameFrom(list->selectedText()));
    if (!ui::start(ui::textEditorLaunch(path)))
        ui::showMessage(
            &m_window, QStringLiteral("The text editor could not be started for %1.").arg(displayName(path)));
}

void FolderActions::openSelectedMap()
{
    const Controls &c = m_window.controls();
    openSelected(c.listMaps, c.stealthLevels->folder());
}

void FolderActions::openSelectedMission()
{
    const Controls &c = m_window.controls();
    openSelected(c.listMissions, c.stealthLevels->folder());
}

void FolderActions::openSelectedRootFile()
{
    const Controls &c = m_window.controls();
    openSelected(c.rootFiles, c.rootFiles->folder());
}

void FolderActions::openPreferences()
{
    // The game keeps its preferences beside mods: in the game root, or in the profile.
    // Failures are ignored: the button has always done nothing when it cannot start.
    ui::start(ui::textEditorLaunch(findNoCase(m_window.gameRoot().root, layout::kPreferencesFile)));
}

void FolderActions::launchGame()
{
    // With no game folder known there is nothing to start, as when a start fails.
    if (const auto launch = ui::gameLaunch(m_window.gameRoot().game))
        ui::start(*launch);
}

} // namespace cw::gui
