#pragma once

#include "gui/ui/Busy.h"
#include <QObject>

#include <filesystem>
#include <string_view>

class QPushButton;
class QWidget;

namespace cw {
class ModFiles;
}

namespace cw::gui {

class FileListBox;
class UnsavedChanges;
class WindowModel;

// The buttons that create a missing part of the open mod, open files in the text
// editor, and start the game.
class FolderActions : public QObject
{
    Q_OBJECT
public:
    struct Widgets
    {
        QPushButton *cmdScripts = nullptr;
        QPushButton *cmdLevels = nullptr;
        QPushButton *cmdStrings = nullptr;
        QPushButton *cmdMapOpen = nullptr;
        QPushButton *cmdMissionOpen = nullptr;
        QPushButton *cmdRootOpen = nullptr;
        QPushButton *cmdPrefs = nullptr;
        QPushButton *command2 = nullptr;
        FileListBox *listMaps = nullptr;
        FileListBox *listMissions = nullptr;
        FileListBox *rootFiles = nullptr;
    };

    FolderActions(WindowModel &model, ui::Busy &busy, UnsavedChanges &guard, const Widgets &widgets,
                  QWidget *messages);

    void makeScriptsFolder();
    void makeLevelsFolder();
    void makeStringsFile();
    void openPreferences();
    void launchGame();

private:
    void makeFolder(std::string_view name, QWidget *button);
    bool strayStringsFile(const ModFiles &files);
    void openSelected(const FileListBox *list, QWidget *button, const QString &what);

    WindowModel &m_model;
    ui::Busy &m_busy;
    UnsavedChanges &m_guard;
    Widgets w;
    QWidget *m_messages;
};

} // namespace cw::gui
