#include "gui/ui/FileListBox.h"

#include "core/io/Files.h"
#include "gui/ui/TextCodec.h"

namespace cw::gui {

FileListBox::FileListBox(const QString &name, const QString &pattern, QWidget *parent)
    : ListBox(name, parent), m_pattern(pattern.toStdString())
{
}

bool FileListBox::setFolder(const std::filesystem::path &folder)
{
    auto names = listFolder(folder, EntryKind::Files, m_pattern);
    if (!names)
        return false;
    m_folder = folder;
    showNames(std::move(names).value());
    return true;
}

void FileListBox::refresh()
{
    const std::string selected = selectedFileName();
    auto names = listFolder(m_folder, EntryKind::Files, m_pattern);
    if (!names)
        return;
    showNames(std::move(names).value());
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (!selected.empty() && m_names[i] == selected)
            setSelectedPosition(static_cast<int>(i));
    }
}

void FileListBox::showNames(std::vector<std::string> names)
{
    m_names = std::move(names);
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

} // namespace cw::gui
