#pragma once

#include "core/script/ScriptRows.h"

#include <QFrame>
#include <QLabel>
#include <QString>

#include <array>
#include <limits>
#include <vector>

class QAbstractItemModel;
class QLineEdit;
class QScrollBar;

namespace cw {
class Catalogue;
}

namespace cw::gui {

class ChooserComboBox;

// A line number that reports which mouse button was released over it.
class LineNumberLabel : public QLabel
{
    Q_OBJECT
public:
    LineNumberLabel(int row, QWidget *parent);

Q_SIGNALS:
    void released(int row, Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_row;
};

// The texts of one catalogue entry as the grid shows them.
struct CommandTexts
{
    QString name;
    QString description;
    std::array<QString, 5> labels;
    int argumentCount = 0;
    int firstArgumentType = 0;
};

// The grid as the writer reads it, in the code page of the files. A row holding a
// character the code page cannot hold is left empty in `rows` and named in
// `unencodableRows`; what that means (no save, a finding) is for the caller to say.
struct GridTexts
{
    std::vector<RowTexts> rows;       // one per grid row
    std::vector<int> unencodableRows; // 0-based, ascending
};

// The editor grid (the frame "Frame1"): 100 fixed rows of line number, command
// chooser, four argument fields and strings chooser, 20 of them on screen, moved by
// the scroll bar "VScroll1". The rows are the open script: loading writes them,
// editing changes them, saving reads them. Positions are kept in twips.
class ScriptGrid : public QFrame
{
    Q_OBJECT
public:
    static constexpr int kRowCount = 100;
    static constexpr int kVisibleRows = 20;
    static constexpr int kFieldsPerRow = 4;
    static constexpr int kHiddenTop = 99999;
    // Every text the grid holds is saved whole, however long: no line edit of the grid
    // may cut what is typed, pasted or loaded into it.
    static constexpr int kUnlimitedLength = std::numeric_limits<int>::max();

    // `commandNames` lists the catalogue names (item i = entry i); `stringNames` and
    // `stringTexts` are the strings table's names and texts, item by item in step.
    ScriptGrid(const Catalogue &catalogue, QAbstractItemModel *commandNames, QAbstractItemModel *stringNames,
               QAbstractItemModel *stringTexts, QWidget *parent);

    // Creates and lays out the 100 rows; the rest of the interface needs them.
    void buildRows();
    bool isBuilt() const { return !m_rows.empty(); }

    ChooserComboBox *combo(int row) const { return m_rows[static_cast<std::size_t>(row)].combo; }
    ChooserComboBox *stringsChooser(int row) const { return m_rows[static_cast<std::size_t>(row)].strings; }
    LineNumberLabel *lineNumber(int row) const { return m_rows[static_cast<std::size_t>(row)].number; }
    QLineEdit *field(int row, int k) const { return m_fields[fieldIndex(row, k)].edit; }
    QScrollBar *scrollBar() const { return m_scrollBar; }
    const CommandTexts &command(int index) const { return m_commands[static_cast<std::size_t>(index)]; }
    int commandCount() const { return static_cast<int>(m_commands.size()); }

    // Shows the first `count` argument fields of a row with the labels of the entry
    // selected in its command chooser, and hides the others; texts are kept.
    void showArgFields(int row, int count);
    // Moves every row to match the scroll bar: 20 rows on screen, the rest hidden.
    void placeRows();
    // Scrolls, through the scroll bar, just far enough to put `row` on screen.
    void scrollToShow(int row);
    // Whether `row` is one of the 20 rows the scroll bar puts on screen.
    bool isOnScreen(int row) const;
    // Sets a row up for the command selected in its chooser.
    void chooseCommand(int row);
    // A program step that selects item `index` of a row's command chooser.
    void pickCommand(int row, int index);
    // A program step that selects item `index` (-1: none) of a row's strings chooser.
    void pickStringsEntry(int row, int index);
    // Sizes and places a row's argument fields for `count` arguments.
    void layOutFields(int row, int count);

    // Reads every row as the writer needs it; shows nothing and changes nothing.
    GridTexts texts() const;

    // Line-number actions.
    void lineNumberReleased(int row, Qt::MouseButton button);
    void insertRow(int row);
    void removeRow(int row);
    void copyRow(int from, int to);
    void clearRow(int row);

    // Runs `swapModels` (which replaces the strings table behind the strings
    // choosers) without letting the choosers' reset reach the argument fields, then
    // puts each row's argument 0 back as its strings chooser's text.
    template<class Swap> void replaceStrings(Swap swapModels)
    {
        m_stringsEchoSuppressed = true;
        swapModels();
        m_stringsEchoSuppressed = false;
        restoreStringsTexts();
    }

    // Field geometry in twips, for the layout rules and their tests.
    int fieldLeft(int row, int k) const { return m_fields[fieldIndex(row, k)].left; }
    int fieldWidth(int row, int k) const { return m_fields[fieldIndex(row, k)].width; }

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    struct Row
    {
        LineNumberLabel *number = nullptr;
        ChooserComboBox *combo = nullptr;
        ChooserComboBox *strings = nullptr;
        int top = 0; // twips
    };
    struct Field
    {
        QLineEdit *edit = nullptr;
        int left = 0;  // twips
        int width = 0; // twips
        int top = 0;   // twips
    };

    static std::size_t fieldIndex(int row, int k)
    {
        return static_cast<std::size_t>(row * kFieldsPerRow + k);
    }
    void buildRow(int row);
    void stringsTextChanged(int row);
    void stringsPicked(int row);
    void restoreStringsTexts();
    void focusMoved(QWidget *now);
    // The row a widget of the grid belongs to (a row's control or a part of one), or -1.
    int rowOf(const QWidget *widget) const;
    void applyFieldGeometry(int row, int k);
    void setRowTop(int row, int top);
    int selectedCommand(int row) const;

    std::vector<CommandTexts> m_commands;
    QAbstractItemModel *m_commandNames;
    QAbstractItemModel *m_stringNames;
    QAbstractItemModel *m_stringTexts;
    QScrollBar *m_scrollBar;
    std::vector<Row> m_rows;
    std::vector<Field> m_fields;
    bool m_stringsEchoSuppressed = false;
    // A focus change while rows are being placed comes from the placing itself, not
    // from the user: it asks for no row to be shown.
    bool m_placingRows = false;
};

} // namespace cw::gui
