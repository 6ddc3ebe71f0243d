#pragma once

#include "core/script/ScriptRows.h"

#include <QObject>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace cw::gui {

class MainWindow;

// The buttons that write or remove script files: Save Script, Save Script As, New
// Script and the two-press Delete Script. Each ends by opening the mod again and the
// script at the list position selected before.
class ScriptFiles : public QObject
{
    Q_OBJECT
public:
    explicit ScriptFiles(MainWindow &window);

    void saveScript();
    void saveScriptAs();
    void newScript();
    void deleteScript();

private:
    // The grid's rows for a save; nothing when a row holds a character the code page
    // cannot hold (the user has been told which, in the words of a save).
    std::optional<std::vector<RowTexts>> rowsToSave();
    // Writes the grid to `path`; false (after telling the user) when it failed.
    bool writeGrid(const std::filesystem::path &path);
    // Opens the mod again for a script action, selects `position` in File1 and opens
    // what is there.
    void refreshAndReload(int position);
    // The name typed into an input box, or nothing (after the beep) when it is empty
    // or no plain file name.
    std::optional<std::string> askFileName(const QString &title, const QString &proposed);

    MainWindow &m_window;
};

} // namespace cw::gui
