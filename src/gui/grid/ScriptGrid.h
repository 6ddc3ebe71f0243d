#pragma once

#include "gui/grid/LineNumberLabel.h"
#include "gui/grid/RowMarker.h"

#include <QFrame>
#include <QString>

#include <limits>
#include <vector>

class QAbstractItemModel;
class QLineEdit;
class QScrollBar;

namespace cw::gui {

class ChooserComboBox;
class ScriptEditor;
class WindowModel;

// The editor grid (the frame "Frame1"): 100 fixed rows of line number, command
// chooser, four argument fields and strings chooser, as many of them on screen as the
// frame has room for (20 at the layout's size), moved by the scroll bar "VScroll1". The grid shows the script
// document of its editor and hands every edit the user makes to it; it holds no script of its own.
class ScriptGrid : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kRowCount = 100;
    // The rows on screen when the frame has the layout's size; a taller frame shows more.
    static constexpr int kLaidOutRows = 20;
    static constexpr int kFieldsPerRow = 4;
    static constexpr int kHiddenTop = 99999;
    // Every text the grid holds is saved whole, however long: no line edit of the grid
    // may cut what is typed, pasted or loaded into it.
    static constexpr int kUnlimitedLength = std::numeric_limits<int>::max();
    // A text longer than this (in UTF-8 bytes) shows its start in a read-only control:
    // laid out whole, texts of megabytes would take gigabytes and seconds. The document
    // keeps the text whole.
    static constexpr std::size_t kEditableBytes = 1024;

    // Shows the document of the model's editor; its choosers list the model's command
    // names (item i = entry i) and strings table's names.
    ScriptGrid(WindowModel &model, QWidget *parent);
    ~ScriptGrid() override;
    ScriptGrid(const ScriptGrid &) = delete;
    ScriptGrid &operator=(const ScriptGrid &) = delete;

    // Creates and lays out the 100 rows; the rest of the interface needs them.
    void buildRows();
    bool isBuilt() const { return !m_rows.empty(); }

    ChooserComboBox *combo(int row) const { return m_rows[static_cast<std::size_t>(row)].combo; }
    ChooserComboBox *stringsChooser(int row) const { return m_rows[static_cast<std::size_t>(row)].strings; }
    LineNumberLabel *lineNumber(int row) const { return m_rows[static_cast<std::size_t>(row)].number; }
    RowMarker *marker(int row) const { return m_rows[static_cast<std::size_t>(row)].marker; }
    // Shows the checker's findings row by row (one mark per row, 100 in all).
    void setMarks(const std::vector<RowMark> &marks);
    // Adds a line of its own to each line number's tooltip, after what it says of the
    // line actions (the time the line starts, say); an empty note adds nothing.
    void setLineNotes(const std::vector<QString> &notes);
    QLineEdit *field(int row, int k) const { return m_rows[static_cast<std::size_t>(row)].fields[k]; }
    QScrollBar *scrollBar() const { return m_scrollBar; }

    // One row, and room for its command and a field: the least a layout may leave it.
    QSize minimumSizeHint() const override;

    // How many rows the frame shows at its height, from kLaidOutRows to kRowCount.
    int visibleRows() const { return m_visibleRows; }
    // Moves every row to match the scroll bar: visibleRows() on screen, the rest hidden.
    void placeRows();
    // Scrolls, through the scroll bar, just far enough to put `row` on screen.
    void scrollToShow(int row);
    // Whether `row` is one of the rows the scroll bar puts on screen.
    bool isOnScreen(int row) const;
    // The row holding the keyboard focus, or -1.
    int focusedRow() const;
    // Gives the keyboard focus to a row's command chooser, or to its control that
    // stood where the focus was (`column` as focusedColumn() told), and shows the row.
    void focusRow(int row, int column = 0);
    // Which control of its row holds the focus: 0 command, 1 strings, 2 to 5 fields.
    int focusedColumn() const;

    // A program step that acts as the user does, through the document.
    void pickStringsEntry(int row, int index);

Q_SIGNALS:
    // The keyboard focus went into another row of the grid (-1: out of the grid).
    void focusedRowChanged(int row);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        LineNumberLabel *number = nullptr;
        RowMarker *marker = nullptr;
        ChooserComboBox *combo = nullptr;
        ChooserComboBox *strings = nullptr;
        QLineEdit *fields[kFieldsPerRow] = {};
        int top = 0; // twips
    };

    void buildRow(int row);
    void connectRow(int row);
    // Shows what the document holds in rows `first` to `last`.
    void showRows(int first, int last);
    void showRow(int row);
    void applyGeometry(int row);
    int across(int twips) const;
    void lineNumberReleased(int row, Qt::MouseButton button);
    bool commandEntered(int row);
    void offerNames(int row, int k);
    void focusMoved(QWidget *now);
    // The row a widget of the grid belongs to (a row's control or a part of one), or -1.
    int rowOf(const QWidget *widget) const;

    WindowModel &m_model;
    ScriptEditor &m_editor;
    QAbstractItemModel *m_commandNames;
    QAbstractItemModel *m_stringNames;
    QScrollBar *m_scrollBar;
    std::vector<Row> m_rows;
    // Set while the grid itself changes its controls: such changes are no edits.
    bool m_updating = false;
    // A focus change while rows are being placed comes from the placing itself, not
    // from the user: it asks for no row to be shown.
    bool m_placingRows = false;
    int m_focusedRow = -1;
    int m_visibleRows = kLaidOutRows;
    QString m_openedScript; // the path of the script the grid last opened
    QMetaObject::Connection m_focusWatch;
};

} // namespace cw::gui
