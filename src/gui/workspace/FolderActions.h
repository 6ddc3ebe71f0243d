#pragma once

#include <QObject>

#include <filesystem>
#include <string_view>

namespace cw::gui {

class ListBox;
class MainWindow;

// The buttons that create a missing part of the open mod, open files in the text
// editor, and start the game.
class FolderActions : public QObject
{
    Q_OBJECT
public:
    explicit FolderActions(MainWindow &window);

    void makeScriptsFolder();
    void makeLevelsFolder();
    void makeStringsFile();
    void openSelectedMap();
    void openSelectedMission();
    void openSelectedRootFile();
    void openPreferences();
    void launchGame();

private:
    void makeFolder(std::string_view name, QWidget *button);
    bool strayStringsFile(const std::filesystem::path &mod);
    void openSelected(const ListBox *list, const std::filesystem::path &folder, QWidget *button,
                      const QString &what);

    MainWindow &m_window;
};

} // namespace cw::gui
