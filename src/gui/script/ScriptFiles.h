#pragma once

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

    // Writes the open document to `path` as Save Script writes it; false (after telling
    // the user why) when it could not be written.
    bool writeDocument(const std::filesystem::path &path);
    // The name typed into an input box, or nothing when it is empty or no plain file
    // name (the user is then told why, at the control `at`).
    std::optional<std::string> askFileName(const QString &title, const QString &proposed, QWidget *at);

private:
    // After a delete, a position past the end of the shorter list moves back to its
    // new last entry; with no script left nothing is selected or opened. Otherwise a
    // position that no longer exists selects nothing.
    enum class Position { Kept, MovedBackAfterDelete };
    // Opens the mod again for a script action, selects `position` in File1 and opens
    // what is there.
    void refreshAndReload(int position, Position rule = Position::Kept);

    MainWindow &m_window;
};

} // namespace cw::gui
