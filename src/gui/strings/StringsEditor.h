#pragma once

#include <QObject>

#include <filesystem>

namespace cw::gui {

class MainWindow;

// "Save Changes" and "Revert to Backup" of the strings editor.
class StringsEditor : public QObject
{
    Q_OBJECT
public:
    explicit StringsEditor(MainWindow &window);

    // Writes the editor's text and one line end to strings_default.txt.bak and to
    // strings_default.txt, then opens the mod again with the editor's text kept.
    void save();
    // Replaces the editor's text with the backup's.
    void revert();

    // Writes the backup and the strings table of the mod in `modFolder` from the
    // editor's text; false (after telling the user) when the table was not written.
    bool writeFiles(const std::filesystem::path &modFolder);

private:
    MainWindow &m_window;
};

} // namespace cw::gui
