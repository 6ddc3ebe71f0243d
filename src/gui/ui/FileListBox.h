#pragma once

#include "gui/ui/ListBox.h"

#include <filesystem>
#include <string>
#include <vector>

namespace cw::gui {

// A list of the files of one folder that match a pattern. Setting the folder lists
// it at once: files only, hidden ones left out, sorted without regard to case, and
// nothing selected. A folder that cannot be listed leaves the previous folder and
// entries in place.
class FileListBox : public ListBox
{
    Q_OBJECT
public:
    FileListBox(const QString &name, const QString &pattern, QWidget *parent);

    bool setFolder(const std::filesystem::path &folder);
    const std::filesystem::path &folder() const { return m_folder; }

    // Lists the folder again, keeping the selected file selected when it is still there.
    void refresh();

    // Names as the file system spells them, in list order.
    const std::vector<std::string> &fileNames() const { return m_names; }
    // The selected file's name, empty when none is selected.
    std::string selectedFileName() const;
    std::filesystem::path selectedPath() const;

private:
    void showNames(std::vector<std::string> names);

    std::string m_pattern;
    std::filesystem::path m_folder;
    std::vector<std::string> m_names;
};

} // namespace cw::gui
