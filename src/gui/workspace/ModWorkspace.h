#pragma once

#include <QObject>

#include <filesystem>
#include <optional>
#include <string>

namespace cw::gui {

class MainWindow;
struct Controls;

// Why the open mod is opened: says which parts of the window to leave as they are.
enum class RefreshReason {
    UserOrFolderAction, // everything is (re)loaded: the user picked the mod, or a folder was made
    ScriptFileAction,   // save, save as, new, delete: the strings side and the grid stay
    StringsSaved,       // the strings editor keeps its text; lists and grid are refilled
};

// Opening the mod selected in List1 (and opening it again after the program has
// changed its files).
class ModWorkspace : public QObject
{
    Q_OBJECT
public:
    explicit ModWorkspace(MainWindow &window);

    // Opens the mod selected in List1: lists its scripts, root files, maps and
    // missions, reads its strings table, and reports each of the three parts with its
    // indicator. `reason` says what to keep.
    void openMod(RefreshReason reason);

    // The folder of the mod selected in List1, if any.
    std::optional<std::filesystem::path> selectedModFolder() const;

private:
    // The phases of an opening: each reports through its indicator; a failure in one
    // does not stop the next.
    class Opening;

    void userSelectsMod();

    MainWindow &m_window;
};

} // namespace cw::gui
