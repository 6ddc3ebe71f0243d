#pragma once

#include "gui/ui/ListBox.h"

#include <filesystem>
#include <string>
#include <vector>

namespace cw::gui {

// A list of the files of one folder: names as the file system spells them (bytes), shown
// decoded. Whoever lists the folder gives it the names; setting them selects nothing.
class FileListBox : public ListBox
{
    Q_OBJECT
public:
    FileListBox(const QString &name, QWidget *parent);

    void setNames(const std::filesystem::path &folder, const std::vector<std::string> &names);
    const std::filesystem::path &folder() const { return m_folder; }

    // The selected file's name, empty when none is selected.
    std::string selectedFileName() const;
    std::filesystem::path selectedPath() const;
    // Selects the file of that name; nothing when there is none.
    void selectName(const std::string &name);
    // The name of the listed file shown as `shown` (letter case aside), or empty: a name
    // the user types as it is shown stands for the file's own bytes, which need not be
    // UTF-8.
    std::string nameShownAs(const QString &shown) const;

private:
    std::filesystem::path m_folder;
    std::vector<std::string> m_names;
};

} // namespace cw::gui
