#include "gui/model/StringsModel.h"

#include "gui/model/TextCodec.h"

namespace cw::gui {

StringsColumnModel::StringsColumnModel(Column column, QObject *parent)
    : QAbstractListModel(parent), m_column(column), m_table(std::make_shared<StringsTable>())
{
}

void StringsColumnModel::setTable(std::shared_ptr<const StringsTable> table)
{
    beginResetModel();
    m_table = std::move(table);
    endResetModel();
}

int StringsColumnModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table->size();
}

QVariant StringsColumnModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_table->size() ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return decode(m_column == Column::Names ? m_table->name(index.row()) : m_table->text(index.row()));
}

} // namespace cw::gui
