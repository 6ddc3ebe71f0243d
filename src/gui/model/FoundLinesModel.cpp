#include "gui/model/FoundLinesModel.h"

#include <numeric>

namespace cw::gui {

FoundLinesModel::FoundLinesModel(QObject *parent) : QAbstractItemModel(parent) {}

void FoundLinesModel::setFiles(std::vector<File> files, bool checkable)
{
    beginResetModel();
    m_files = std::move(files);
    m_checkable = checkable;
    m_lineCount = 0;
    for (File &file : m_files) {
        for (Line &line : file.lines)
            line.checked = checkable;
        file.checked = checkable ? static_cast<int>(file.lines.size()) : 0;
        m_lineCount += static_cast<int>(file.lines.size());
    }
    endResetModel();
}

int FoundLinesModel::checkedCount() const
{
    return std::accumulate(m_files.begin(), m_files.end(), 0,
                           [](int sum, const File &file) { return sum + file.checked; });
}

std::size_t FoundLinesModel::fileNumber(const QModelIndex &index)
{
    return index.internalId() == kFileRow ? static_cast<std::size_t>(index.row())
                                          : static_cast<std::size_t>(index.internalId() - 1);
}

const FoundLinesModel::File *FoundLinesModel::fileAt(const QModelIndex &index) const
{
    return index.isValid() ? &m_files[fileNumber(index)] : nullptr;
}

const FoundLinesModel::Line *FoundLinesModel::lineAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.internalId() == kFileRow)
        return nullptr;
    return &fileAt(index)->lines[static_cast<std::size_t>(index.row())];
}

QModelIndex FoundLinesModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, kFileRow);
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex FoundLinesModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == kFileRow)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kFileRow);
}

int FoundLinesModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return static_cast<int>(m_files.size());
    if (parent.internalId() != kFileRow || parent.column() != 0)
        return 0;
    return static_cast<int>(m_files[static_cast<std::size_t>(parent.row())].lines.size());
}

int FoundLinesModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FoundLinesModel::fileData(const File &file, int role) const
{
    const int count = static_cast<int>(file.lines.size());
    switch (role) {
    case Qt::DisplayRole:
        return QStringLiteral("%1 (%2)").arg(file.shown).arg(count);
    case Qt::ToolTipRole:
        return file.shown;
    case Qt::CheckStateRole:
        if (!m_checkable)
            return {};
        return file.checked == count ? Qt::Checked : file.checked == 0 ? Qt::Unchecked : Qt::PartiallyChecked;
    case LineRole:
        return 0;
    default:
        return {};
    }
}

QVariant FoundLinesModel::lineData(const Line &line, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return QStringLiteral("%1: %2").arg(line.number).arg(line.text);
    case Qt::ToolTipRole:
        return line.tip.isEmpty() ? line.text : line.tip;
    case Qt::CheckStateRole:
        if (!m_checkable)
            return {};
        return line.checked ? Qt::Checked : Qt::Unchecked;
    case LineRole:
        return line.number;
    default:
        return {};
    }
}

QVariant FoundLinesModel::data(const QModelIndex &index, int role) const
{
    if (const Line *line = lineAt(index))
        return lineData(*line, role);
    if (const File *file = fileAt(index))
        return fileData(*file, role);
    return {};
}

bool FoundLinesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_checkable || role != Qt::CheckStateRole || !index.isValid())
        return false;
    const bool checked = value.toInt() != Qt::Unchecked;
    File &file = m_files[fileNumber(index)];
    if (index.internalId() == kFileRow) {
        for (Line &line : file.lines)
            line.checked = checked;
        file.checked = checked ? static_cast<int>(file.lines.size()) : 0;
        Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
        if (!file.lines.empty())
            Q_EMIT dataChanged(this->index(0, 0, index),
                               this->index(static_cast<int>(file.lines.size()) - 1, 0, index),
                               {Qt::CheckStateRole});
    } else {
        Line &line = file.lines[static_cast<std::size_t>(index.row())];
        if (line.checked == checked)
            return true;
        line.checked = checked;
        file.checked += checked ? 1 : -1;
        Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
        const QModelIndex fileIndex = parent(index);
        Q_EMIT dataChanged(fileIndex, fileIndex, {Qt::CheckStateRole});
    }
    Q_EMIT checksChanged();
    return true;
}

Qt::ItemFlags FoundLinesModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_checkable)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

} // namespace cw::gui
