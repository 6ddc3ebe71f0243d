#include "gui/ui/FileListBox.h"

#include "core/io/Files.h"
#include "gui/model/TextCodec.h"

#include <algorithm>

namespace cw::gui {

FileListBox::FileListBox(const QString &name, QWidget *parent) : ListBox(name, parent) {}

void FileListBox::setNames(const std::filesystem::path &folder, const std::vector<std::string> &names)
{
    m_folder = folder;
    m_names = names;
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(m_names.size()));
    for (const std::string &name : m_names)
        texts.append(displayName(std::string_view(name)));
    clear();
    addItems(texts);
    setSelectedPosition(-1);
}

std::string FileListBox::selectedFileName() const
{
    const int position = selectedPosition();
    return position >= 0 ? m_names[static_cast<std::size_t>(position)] : std::string();
}

std::filesystem::path FileListBox::selectedPath() const
{
    const std::string name = selectedFileName();
    return name.empty() ? std::filesystem::path() : m_folder / pathFromName(name);
}

void FileListBox::selectName(const std::string &name)
{
    const auto found = std::find(m_names.begin(), m_names.end(), name);
    setSelectedPosition(name.empty() || found == m_names.end() ? -1
                                                               : static_cast<int>(found - m_names.begin()));
}

std::string FileListBox::nameShownAs(const QString &shown) const
{
    for (const std::string &name : m_names) {
        if (displayName(std::string_view(name)).compare(shown, Qt::CaseInsensitive) == 0)
            return name;
    }
    return {};
}

} // namespace cw::gui
