#pragma once

#include "gui/ui/ListBox.h"

#include <filesystem>
#include <string>

namespace cw::gui {

class FileListModel;

// A view of the files of one folder (a FileListModel): the selected file is read from
// the model, by its name's bytes, never from the text shown.
class FileListBox : public ListBox
{
    Q_OBJECT
public:
    FileListBox(const QString &name, QWidget *parent);

    void setFiles(FileListModel *files);
    const FileListModel &files() const { return *m_files; }
    const std::filesystem::path &folder() const;

    // The selected file's name, empty when none is selected.
    std::string selectedFileName() const;
    std::filesystem::path selectedPath() const;
    // Selects the file of that name; nothing when there is none.
    void selectName(const std::string &name);
    // As FileListModel::nameShownAs.
    std::string nameShownAs(const QString &shown) const;

private:
    FileListModel *m_files = nullptr;
};

} // namespace cw::gui
