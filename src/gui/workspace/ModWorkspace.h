#pragma once

#include <QObject>

#include <filesystem>
#include <optional>
#include <string>

namespace cw::gui {

class MainWindow;
enum class Indicator;

// Opening the mod selected in List1 (and opening it again after the program has
// changed its files), and the actions on the mod's folders.
class ModWorkspace : public QObject
{
    Q_OBJECT
public:
    explicit ModWorkspace(MainWindow &window);

    // Opens the mod selected in List1: lists its scripts, root files, maps and
    // missions, reads its strings table, and reports each of the three parts with
    // its indicator. The refresh reason of the window's state says what to keep.
    void openMod();

    // The folder of the mod selected in List1, if any.
    std::optional<std::filesystem::path> selectedModFolder() const;

private:
    void userSelectsMod();

    MainWindow &m_window;
};

} // namespace cw::gui
