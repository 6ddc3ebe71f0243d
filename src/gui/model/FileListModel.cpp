#include "gui/model/FileListModel.h"

#include "core/io/Files.h"
#include "gui/model/TextCodec.h"

#include <algorithm>

namespace cw::gui {

FileListModel::FileListModel(QObject *parent) : QAbstractListModel(parent) {}

void FileListModel::setNames(const std::filesystem::path &folder, std::vector<std::string> names)
{
    beginResetModel();
    m_folder = folder;
    m_names = std::move(names);
    m_shown.clear();
    m_shown.reserve(static_cast<qsizetype>(m_names.size()));
    for (const std::string &name : m_names)
        m_shown.append(displayName(std::string_view(name)));
    endResetModel();
}

std::string FileListModel::name(int row) const
{
    return row >= 0 && row < count() ? m_names[static_cast<std::size_t>(row)] : std::string();
}

std::filesystem::path FileListModel::path(int row) const
{
    const std::string file = name(row);
    return file.empty() ? std::filesystem::path() : m_folder / pathFromName(file);
}

int FileListModel::rowOf(const std::string &name) const
{
    const auto found = std::find(m_names.begin(), m_names.end(), name);
    return name.empty() || found == m_names.end() ? -1 : static_cast<int>(found - m_names.begin());
}

std::string FileListModel::nameShownAs(const QString &shown) const
{
    for (int row = 0; row < count(); ++row) {
        if (m_shown[row].compare(shown, Qt::CaseInsensitive) == 0)
            return m_names[static_cast<std::size_t>(row)];
    }
    return {};
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole)
        return m_shown[index.row()];
    if (role == NameRole)
        return QByteArray::fromStdString(m_names[static_cast<std::size_t>(index.row())]);
    return {};
}

} // namespace cw::gui
