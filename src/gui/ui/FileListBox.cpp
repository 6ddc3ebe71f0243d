#include "gui/ui/FileListBox.h"

#include "gui/model/FileListModel.h"

namespace cw::gui {

FileListBox::FileListBox(const QString &name, QWidget *parent) : ListBox(name, parent) {}

void FileListBox::setFiles(FileListModel *files)
{
    m_files = files;
    setModel(files);
}

const std::filesystem::path &FileListBox::folder() const
{
    return m_files->folder();
}

std::string FileListBox::selectedFileName() const
{
    return m_files->name(selectedPosition());
}

std::filesystem::path FileListBox::selectedPath() const
{
    return m_files->path(selectedPosition());
}

void FileListBox::selectName(const std::string &name)
{
    setSelectedPosition(m_files->rowOf(name));
}

std::string FileListBox::nameShownAs(const QString &shown) const
{
    return m_files->nameShownAs(shown);
}

} // namespace cw::gui
