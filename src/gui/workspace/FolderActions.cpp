#include "gui/workspace/FolderActions.h"

#include "core/io/Files.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UnsavedChanges.h"
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

void FolderActions::makeFolder(std::string_view name, QWidget *button)
{
    m_window.whenIdle([this, name, button] {
        const auto mod = m_window.workspace().selectedModFolder();
        const QString folder = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        if (!mod) {
            ui::refuse(button, QStringLiteral("Open a mod first"));
            return;
        }
        // A folder of that name in any letter case counts as there already.
        if (std::filesystem::exists(findNoCase(*mod, name))) {
            ui::refuse(button, QStringLiteral("The mod has a %1 folder already").arg(folder));
            return;
        }
        if (!m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::ReopeningMod))
            return;
        if (auto made = createFolder(*mod / pathFromName(name), ModBoundary(*mod)); !made) {
            ui::refuse(button, QStringLiteral("The %1 folder could not be made: %2")
                                   .arg(folder, QString::fromStdString(made.error().reason)));
            return;
        }
        m_window.workspace().openMod(RefreshReason::UserOrFolderAction);
    });
}

void FolderActions::makeScriptsFolder()
{
    makeFolder(layout::kScriptsFolder, m_window.controls().cmdScripts);
}

void FolderActions::makeLevelsFolder()
{
    makeFolder(layout::kLevelsFolder, m_window.controls().cmdLevels);
}

void FolderActions::makeStringsFile()
{
    m_window.whenIdle([this] {
        const auto mod = m_window.workspace().selectedModFolder();
        if (!mod) {
            ui::refuse(m_window.controls().cmdStrings, QStringLiteral("Open a mod first"));
            return;
        }
        if (strayStringsFile(*mod) ||
            !m_window.unsavedChanges().mayReplace(UnsavedChanges::Before::ReopeningMod))
            return;
        const std::filesystem::path path = *mod / pathFromName(layout::kStringsFile);
        auto written = createFileAtomically(path, layout::starterStringsBytes(), ModBoundary(*mod));
        if (!written) {
            ui::beep();
            ui::showMessage(&m_window, ui::failureMessage(
                                           QStringLiteral("%1 could not be written").arg(displayName(path)),
                                           written.error()));
            return;
        }
        m_window.workspace().openMod(RefreshReason::UserOrFolderAction);
    });
}

// A strings file that exists, in any letter case, holds the mod's texts even when it
// could not be read (no permission, a folder in the way): it is never replaced. True
// (after telling the user) when one stands there.
bool FolderActions::strayStringsFile(const std::filesystem::path &mod)
{
    const std::filesystem::path existing = findNoCase(mod, layout::kStringsFile);
    std::error_code error;
    if (std::filesystem::symlink_status(existing, error).type() == std::filesystem::file_type::not_found)
        return false;
    const auto read = readFile(existing, ModBoundary(mod));
    const QString why = read ? QStringLiteral("exists already")
                             : QStringLiteral("exists already but could not be read: %1")
                                   .arg(QString::fromStdString(read.error().reason));
    ui::beep();
    ui::showMessage(&m_window,
                    QStringLiteral("%1 %2. Make File does not replace it.").arg(displayName(existing), why));
    return true;
}

void FolderActions::openSelected(const ListBox *list, const std::filesystem::path &folder, QWidget *button,
                                 const QString &what)
{
    if (list->selectedPosition() < 0) {
        ui::refuse(button, QStringLiteral("Select a %1 in the list first").arg(what));
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
    openSelected(c.listMaps, c.stealthLevels->folder(), c.cmdMapOpen, QStringLiteral("map"));
}

void FolderActions::openSelectedMission()
{
    const Controls &c = m_window.controls();
    openSelected(c.listMissions, c.stealthLevels->folder(), c.cmdMissionOpen, QStringLiteral("mission"));
}

void FolderActions::openSelectedRootFile()
{
    const Controls &c = m_window.controls();
    openSelected(c.rootFiles, c.rootFiles->folder(), c.cmdRootOpen, QStringLiteral("file"));
}

void FolderActions::openPreferences()
{
    // The game keeps its preferences beside mods: in the game root, or in the profile.
    // Failures are ignored: the preferences are the game's business, and a text editor
    // that does not start says so itself.
    ui::start(ui::textEditorLaunch(findNoCase(m_window.gameRoot().root, layout::kPreferencesFile)));
}

void FolderActions::launchGame()
{
    // A game that cannot be started is the game's business, as its own launcher would
    // show; but with no game folder known nothing was even tried, and the user is told.
    const auto launch = ui::gameLaunch(m_window.gameRoot().game);
    if (!launch) {
        ui::showMessage(&m_window,
                        QStringLiteral("Cuewright does not know where Darwinia is installed, so it "
                                       "cannot launch it."),
                        QStringLiteral("Start Cuewright with --game DIR, DIR being the game's folder; it is "
                                       "remembered for the next start."));
        return;
    }
    ui::start(*launch);
}

} // namespace cw::gui
