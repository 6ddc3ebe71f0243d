#include "gui/workspace/FolderActions.h"

#include "core/io/Files.h"
#include "core/workspace/ModFiles.h"
#include "core/workspace/ModLayout.h"
#include "gui/model/TextCodec.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Processes.h"

#include <QPushButton>

namespace cw::gui {

FolderActions::FolderActions(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard,
                             const Widgets &widgets, QWidget *messages)
    : m_model(model), m_busy(busy), m_guard(guard), w(widgets), m_messages(messages)
{
    connect(w.cmdScripts, &QPushButton::clicked, this, &FolderActions::makeScriptsFolder);
    connect(w.cmdLevels, &QPushButton::clicked, this, &FolderActions::makeLevelsFolder);
    connect(w.cmdStrings, &QPushButton::clicked, this, &FolderActions::makeStringsFile);
    connect(w.cmdMapOpen, &QPushButton::clicked, this,
            [this] { openSelected(w.listMaps, w.cmdMapOpen, QStringLiteral("map")); });
    connect(w.cmdMissionOpen, &QPushButton::clicked, this,
            [this] { openSelected(w.listMissions, w.cmdMissionOpen, QStringLiteral("mission")); });
    connect(w.cmdRootOpen, &QPushButton::clicked, this,
            [this] { openSelected(w.rootFiles, w.cmdRootOpen, QStringLiteral("file")); });
    connect(w.cmdPrefs, &QPushButton::clicked, this, &FolderActions::openPreferences);
    connect(w.command2, &QPushButton::clicked, this, &FolderActions::launchGame);
}

void FolderActions::makeFolder(std::string_view name, QWidget *button)
{
    m_busy.whenIdle([this, name, button] {
        const ModFiles *files = m_model.files();
        const QString folder = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        if (!files) {
            ui::refuse(button, QStringLiteral("Open a mod first"));
            return;
        }
        // A folder of that name in any letter case counts as there already.
        if (files->existing(name)) {
            ui::refuse(button, QStringLiteral("The mod has a %1 folder already").arg(folder));
            return;
        }
        if (!m_guard.mayReplace(UnsavedChanges::Before::ReopeningMod))
            return;
        if (auto made = files->makeFolder(name); !made) {
            ui::refuse(button, QStringLiteral("The %1 folder could not be made: %2")
                                   .arg(folder, QString::fromStdString(made.error().reason)));
            return;
        }
        m_model.reopenMod(RefreshReason::UserOrFolderAction);
    });
}

void FolderActions::makeScriptsFolder()
{
    makeFolder(layout::kScriptsFolder, w.cmdScripts);
}

void FolderActions::makeLevelsFolder()
{
    makeFolder(layout::kLevelsFolder, w.cmdLevels);
}

void FolderActions::makeStringsFile()
{
    m_busy.whenIdle([this] {
        const ModFiles *files = m_model.files();
        if (!files) {
            ui::refuse(w.cmdStrings, QStringLiteral("Open a mod first"));
            return;
        }
        if (strayStringsFile(*files) || !m_guard.mayReplace(UnsavedChanges::Before::ReopeningMod))
            return;
        const std::filesystem::path path = files->folder() / pathFromName(layout::kStringsFile);
        auto written = files->createStrings();
        if (!written) {
            ui::beep();
            ui::showMessage(m_messages, ui::failureMessage(
                                            QStringLiteral("%1 could not be written").arg(displayName(path)),
                                            written.error()));
            return;
        }
        m_model.reopenMod(RefreshReason::UserOrFolderAction);
    });
}

// A strings file that exists, in any letter case, holds the mod's texts even when it
// could not be read (no permission, a folder in the way): it is never replaced. True
// (after telling the user) when one stands there.
bool FolderActions::strayStringsFile(const ModFiles &files)
{
    const auto existing = files.existing(layout::kStringsFile);
    if (!existing)
        return false;
    const auto read = files.readStrings();
    const QString why = read ? QStringLiteral("exists already")
                             : QStringLiteral("exists already but could not be read: %1")
                                   .arg(QString::fromStdString(read.error().reason));
    ui::beep();
    ui::showMessage(m_messages,
                    QStringLiteral("%1 %2. Make File does not replace it.").arg(displayName(*existing), why));
    return true;
}

void FolderActions::openSelected(const FileListBox *list, QWidget *button, const QString &what)
{
    const std::filesystem::path path = list->selectedPath();
    if (path.empty()) {
        ui::refuse(button, QStringLiteral("Select a %1 in the list first").arg(what));
        return;
    }
    if (!ui::start(ui::textEditorLaunch(path)))
        ui::showMessage(
            m_messages,
            QStringLiteral("The text editor could not be started for %1.").arg(displayName(path)));
}

void FolderActions::openPreferences()
{
    // The game keeps its preferences beside mods: in the game root, or in the profile.
    // Failures are ignored: the preferences are the game's business, and a text editor
    // that does not start says so itself.
    ui::start(ui::textEditorLaunch(findNoCase(m_model.gameRoot().root, layout::kPreferencesFile)));
}

void FolderActions::launchGame()
{
    // A game that cannot be started is the game's business, as its own launcher would
    // show; but with no game folder known nothing was even tried, and the user is told.
    const auto launch = ui::gameLaunch(m_model.gameRoot().game);
    if (!launch) {
        ui::showMessage(m_messages,
                        QStringLiteral("Cuewright does not know where Darwinia is installed, so it "
                                       "cannot launch it."),
                        QStringLiteral("Start Cuewright with --game DIR, DIR being the game's folder; it is "
                                       "remembered for the next start."));
        return;
    }
    ui::start(*launch);
}

} // namespace cw::gui
