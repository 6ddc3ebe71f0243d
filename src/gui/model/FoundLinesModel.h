#pragma once

#include <QAbstractItemModel>
#include <QString>

#include <filesystem>
#include <vector>

namespace cw::gui {

// The lines a search of the mod found, or that a change of its files will rewrite, as
// a tree: each file, then its lines. The lines of a change have check boxes (a file's
// box stands for all its lines, partly checked when some are), and only checked lines
// are written. A mod's 50,000 matches cost one small record each, not a widget.
class FoundLinesModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Role { LineRole = Qt::UserRole }; // int: a line's number, from 1; 0 for a file

    struct Line
    {
        int number = 0;
        QString text;
        QString tip;
        bool checked = true;
    };
    struct File
    {
        std::filesystem::path path;
        QString shown; // as the mod names it: "scripts/intro.txt"
        std::vector<Line> lines;
        int checked = 0; // how many of the lines
    };

    explicit FoundLinesModel(QObject *parent = nullptr);

    // Shows `files`, every line checked when `checkable`, else without check boxes.
    void setFiles(std::vector<File> files, bool checkable);
    const std::vector<File> &files() const { return m_files; }
    bool checkable() const { return m_checkable; }
    int lineCount() const { return m_lineCount; }
    int checkedCount() const;
    // The file and the line an index stands for: the line is null for a file's row.
    const File *fileAt(const QModelIndex &index) const;
    const Line *lineAt(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

Q_SIGNALS:
    // A check box changed.
    void checksChanged();

private:
    // A file's row holds 0 in its index; a line's row the number of its file plus 1.
    static constexpr quintptr kFileRow = 0;
    static std::size_t fileNumber(const QModelIndex &index);
    QVariant fileData(const File &file, int role) const;
    QVariant lineData(const Line &line, int role) const;

    std::vector<File> m_files;
    bool m_checkable = false;
    int m_lineCount = 0;
};

} // namespace cw::gui
