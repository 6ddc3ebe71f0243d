#pragma once

#include "core/strings/StringsTable.h"

#include <QAbstractListModel>

#include <memory>

namespace cw::gui {

// One column of the strings table (names or texts) as a list model. All 100 strings
// choosers and the hidden lists share it; texts are decoded only when a view asks,
// so even 50,000 entries cost no copies.
class StringsColumnModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum class Column { Names, Texts };

    StringsColumnModel(Column column, QObject *parent);

    void setTable(std::shared_ptr<const StringsTable> table);
    const StringsTable &table() const { return *m_table; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    Column m_column;
    std::shared_ptr<const StringsTable> m_table;
};

} // namespace cw::gui
