#pragma once

#include <QAbstractListModel>

#include <filesystem>
#include <string>
#include <vector>

namespace cw::gui {

// The files of one folder as a list: names as the file system spells them (bytes),
// shown decoded, and kept as bytes in NameRole, so that every action on a listed file
// acts on that very file whatever its name's bytes are. The views that show it store
// nothing of it.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { NameRole = Qt::UserRole }; // QByteArray: the name's bytes

    explicit FileListModel(QObject *parent = nullptr);

    void setNames(const std::filesystem::path &folder, std::vector<std::string> names);
    const std::filesystem::path &folder() const { return m_folder; }
    int count() const { return static_cast<int>(m_names.size()); }
    // The name at `row`, empty outside the list.
    std::string name(int row) const;
    // The path of the file at `row`, empty outside the list.
    std::filesystem::path path(int row) const;
    // The row of the file of that name, -1 when there is none.
    int rowOf(const std::string &name) const;
    // The name of the listed file shown as `shown` (letter case aside), or empty: a name
    // the user types as it is shown stands for the file's own bytes, which need not be
    // UTF-8.
    std::string nameShownAs(const QString &shown) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    std::filesystem::path m_folder;
    std::vector<std::string> m_names;
    QStringList m_shown;
};

} // namespace cw::gui
