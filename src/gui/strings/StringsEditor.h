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

    // Writes the editor's text to strings_default.txt, keeping the file as it was in
    // strings_default.txt.bak, then opens the mod again with the editor's text kept.
    void save();
    // Replaces the editor's text with the backup's.
    void revert();

    // Writes the backup and the strings table of the mod in `modFolder` from the
    // editor's text, after asking when another program changed the table since it was
    // read; false (after telling the user) when the table was not written.
    bool writeFiles(const std::filesystem::path &modFolder);
    // Reads the open mod's strings table into the editor again.
    bool reload();

private:
    // writeFiles without the question about another program's change.
    bool write(const std::filesystem::path &modFolder);
    // Whether strings_default.txt still holds what was read or saved; asks Overwrite,
    // Reload or Cancel when another program changed or removed it.
    bool confirmDiskUnchanged(const std::filesystem::path &file);

    MainWindow &m_window;
};

} // namespace cw::gui
