#include "gui/grid/ScriptGrid.h"

#include "core/catalogue/Catalogue.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Geometry.h"
#include "gui/ui/TextCodec.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace cw::gui {
namespace {

constexpr int kControlHeight = 21; // pixels
constexpr int kRowsTop = 240;
constexpr int kRowHeight = 360;
constexpr int kNumberLeft = 480;
constexpr int kNumberWidth = 375;
constexpr int kComboLeft = 840;
constexpr int kComboWidth = 2415;
constexpr int kArgumentsLeft = 3360;
constexpr int kArgumentsWidth = 6135;
constexpr int kFieldPitch = 2040;
constexpr int kFieldWidth = 1935;

const QString kNumberTip = QStringLiteral("Left click to toggle empty lines, Right click to force add");

} // namespace

LineNumberLabel::LineNumberLabel(int row, QWidget *parent) : QLabel(parent), m_row(row)
{
    setObjectName(QStringLiteral("linenum_%1").arg(row));
    setText(QString::number(row + 1));
    setToolTip(kNumberTip);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void LineNumberLabel::mouseReleaseEvent(QMouseEvent *event)
{
    Q_EMIT released(m_row, event->button());
    event->accept();
}

ScriptGrid::ScriptGrid(const Catalogue &catalogue, QAbstractItemModel *commandNames,
                       QAbstractItemModel *stringNames, QAbstractItemModel *stringTexts, QWidget *parent)
    : QFrame(parent), m_commandNames(commandNames), m_stringNames(stringNames), m_stringTexts(stringTexts)
{
    setObjectName(QStringLiteral("Frame1"));
    m_commands.reserve(static_cast<std::size_t>(catalogue.entryCount()));
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const CommandDefinition &entry = catalogue.entry(i);
        CommandTexts texts;
        texts.name = decode(entry.name);
        texts.description = decode(entry.description);
        for (std::size_t slot = 0; slot < texts.labels.size(); ++slot)
            texts.labels[slot] = decode(entry.argumentLabels[slot]);
        texts.argumentCount = entry.argumentCount;
        texts.firstArgumentType = entry.argumentTypes[1];
        m_commands.push_back(std::move(texts));
    }

    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    m_scrollBar->setRange(0, kRowCount - kVisibleRows);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(1);
    placeTwips(m_scrollBar, 120, 240, 255, 7215);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this] {
        if (isBuilt())
            placeRows();
    });
    // Tab, Shift+Tab or a program step can put the focus into a row that is off screen,
    // where typing would change a line the user cannot see.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusMoved(now); });
}

void ScriptGrid::focusMoved(QWidget *now)
{
    if (m_placingRows || !isBuilt())
        return;
    const int row = rowOf(now);
    if (row >= 0)
        scrollToShow(row);
}

int ScriptGrid::rowOf(const QWidget *widget) const
{
    // A chooser's line edit belongs to the chooser: climb to the grid's child, but not
    // out of a window of its own (a chooser's open list is on screen with its row).
    while (widget && !widget->isWindow() && widget->parentWidget() != this)
        widget = widget->parentWidget();
    if (!widget || widget->isWindow())
        return -1;
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        const Row &r = m_rows[static_cast<std::size_t>(row)];
        if (widget == r.combo || widget == r.strings)
            return row;
        for (int k = 0; k < kFieldsPerRow; ++k) {
            if (widget == field(row, k))
                return row;
        }
    }
    return -1;
}

bool ScriptGrid::isOnScreen(int row) const
{
    const int first = m_scrollBar->value();
    return row >= first && row < first + kVisibleRows;
}

void ScriptGrid::scrollToShow(int row)
{
    if (isOnScreen(row))
        return;
    if (row < m_scrollBar->value())
        m_scrollBar->setValue(row);
    else
        m_scrollBar->setValue(row - (kVisibleRows - 1));
}

void ScriptGrid::buildRows()
{
    if (isBuilt())
        return;
    m_fields.resize(static_cast<std::size_t>(kRowCount * kFieldsPerRow));
    for (int k = 0; k < kRowCount * kFieldsPerRow; ++k) {
        Field &field = m_fields[static_cast<std::size_t>(k)];
        field.left = kArgumentsLeft + kFieldPitch * (k % kFieldsPerRow);
        field.width = kFieldWidth;
        field.top = kRowsTop + kRowHeight * (k / kFieldsPerRow);
    }
    m_rows.resize(kRowCount);
    // Created row by row so that the keyboard focus moves through a row's command
    // chooser, strings chooser and four argument fields, then on to the next row.
    for (int row = 0; row < kRowCount; ++row)
        buildRow(row);
    placeRows();
}

void ScriptGrid::buildRow(int row)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    r.number = new LineNumberLabel(row, this);
    connect(r.number, &LineNumberLabel::released, this, &ScriptGrid::lineNumberReleased);

    r.combo = new ChooserComboBox(QStringLiteral("Combo_%1").arg(row), m_commandNames, this);
    r.combo->setCurrentIndex(-1);
    connect(r.combo, &QComboBox::activated, this, [this, row] { chooseCommand(row); });

    r.strings = new ChooserComboBox(QStringLiteral("scriptcombos_%1").arg(row), m_stringNames, this);
    r.strings->setCurrentIndex(-1);
    r.strings->hide();
    connect(r.strings, &QComboBox::editTextChanged, this, [this, row] { stringsTextChanged(row); });
    connect(r.strings, &QComboBox::activated, this, [this, row] { stringsPicked(row); });

    for (int k = 0; k < kFieldsPerRow; ++k) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("qual_%1").arg(row * kFieldsPerRow + k));
        edit->setMaxLength(kUnlimitedLength);
        m_fields[fieldIndex(row, k)].edit = edit;
    }
    showArgFields(row, 0);
    setRowTop(row, kRowsTop + kRowHeight * row);
    for (int k = 0; k < kFieldsPerRow; ++k)
        applyFieldGeometry(row, k);
}

int ScriptGrid::selectedCommand(int row) const
{
    const int index = combo(row)->currentIndex();
    return index < 0 ? 0 : index;
}

void ScriptGrid::showArgFields(int row, int count)
{
    for (int k = 0; k < kFieldsPerRow; ++k) {
        QLineEdit *edit = field(row, k);
        edit->hide();
        if (k < count) {
            edit->show();
            edit->setToolTip(command(selectedCommand(row)).labels[static_cast<std::size_t>(k + 1)]);
        }
    }
}

void ScriptGrid::setRowTop(int row, int top)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    r.top = top;
    r.number->setGeometry(px(kNumberLeft), px(top), px(kNumberWidth), kControlHeight);
    r.combo->setGeometry(px(kComboLeft), px(top), px(kComboWidth), kControlHeight);
    r.strings->setGeometry(px(kArgumentsLeft), px(top), px(kArgumentsWidth), kControlHeight);
}

void ScriptGrid::applyFieldGeometry(int row, int k)
{
    const Field &f = m_fields[fieldIndex(row, k)];
    f.edit->setGeometry(px(f.left), px(f.top), px(f.width), kControlHeight);
}

void ScriptGrid::placeRows()
{
    const bool wasPlacing = m_placingRows;
    m_placingRows = true;
    // Typing into the row that holds the focus must not change a line out of sight: when
    // that row scrolls away, the grid takes the focus. (Qt would otherwise hand the focus
    // of a command chooser it hides to the next control, in the same hidden row.)
    if (const int focusedRow = rowOf(QApplication::focusWidget());
        focusedRow >= 0 && !isOnScreen(focusedRow)) {
        setFocus(Qt::OtherFocusReason);
    }
    for (int row = 0; row < kRowCount; ++row) {
        const int first = m_scrollBar->value();
        const int distance = row - first;
        const bool outside = row > first + kVisibleRows - 1 || row < first;
        setRowTop(row, outside ? kHiddenTop : kRowsTop + kRowHeight * distance);
        combo(row)->setVisible(!outside);
        const int offset = outside ? kHiddenTop : 0;
        for (int k = 0; k < kFieldsPerRow; ++k) {
            m_fields[fieldIndex(row, k)].top = offset + kRowsTop + kRowHeight * distance;
            applyFieldGeometry(row, k);
        }
    }
    m_placingRows = wasPlacing;
}

void ScriptGrid::layOutFields(int row, int count)
{
    struct Placement
    {
        int k, left, width; // left 0: keep the field's left edge
    };
    static const std::vector<Placement> kTable[] = {
        {},
        {{0, 0, 6135}},
        {{0, 0, 3015}, {1, 6480, 3015}},
        {{0, 0, 1935}, {1, 5400, 1935}, {2, 7440, 1935}},
        {{0, 0, 1455}, {1, 4920, 1455}, {2, 6480, 1455}, {3, 8040, 1455}},
    };
    if (count < 1 || count > 4)
        return;
    for (const Placement &p : kTable[count]) {
        Field &f = m_fields[fieldIndex(row, p.k)];
        if (p.left)
            f.left = p.left;
        f.width = p.width;
        applyFieldGeometry(row, p.k);
    }
}

GridTexts ScriptGrid::texts() const
{
    GridTexts result;
    result.rows.resize(kRowCount);
    for (int r = 0; r < kRowCount; ++r) {
        RowTexts row;
        bool encodable = true;
        const auto take = [&encodable](const QString &text, std::string &into) {
            auto bytes = encode(text);
            encodable = encodable && bytes.has_value();
            if (bytes)
                into = std::move(*bytes);
        };
        take(combo(r)->currentText(), row.command);
        for (int k = 0; k < kFieldsPerRow; ++k)
            take(field(r, k)->text(), row.arguments[static_cast<std::size_t>(k)]);
        if (encodable)
            result.rows[static_cast<std::size_t>(r)] = std::move(row);
        else
            result.unencodableRows.push_back(r);
    }
    return result;
}

void ScriptGrid::chooseCommand(int row)
{
    const int selected = selectedCommand(row);
    const CommandTexts &entry = command(selected);
    combo(row)->setToolTip(entry.description);
    const int count = selected != 0 ? entry.argumentCount : 0;
    showArgFields(row, count);
    layOutFields(row, count);
    if (entry.firstArgumentType == kTypeStringsEntry) {
        field(row, 0)->hide();
        stringsChooser(row)->show();
        stringsChooser(row)->setEditText(field(row, 0)->text());
    } else {
        stringsChooser(row)->hide();
    }
}

void ScriptGrid::pickCommand(int row, int index)
{
    {
        const QSignalBlocker quiet(combo(row));
        combo(row)->setCurrentIndex(index);
    }
    chooseCommand(row);
}

void ScriptGrid::stringsTextChanged(int row)
{
    if (m_stringsEchoSuppressed)
        return;
    field(row, 0)->setText(stringsChooser(row)->currentText());
}

void ScriptGrid::stringsPicked(int row)
{
    ChooserComboBox *chooser = stringsChooser(row);
    field(row, 0)->setText(chooser->currentText());
    const int index = chooser->currentIndex();
    // An entry that is not in the list shows no text as its tooltip.
    chooser->setToolTip(index >= 0 && index < m_stringTexts->rowCount()
                            ? m_stringTexts->index(index, 0).data().toString()
                            : QString());
}

void ScriptGrid::pickStringsEntry(int row, int index)
{
    ChooserComboBox *chooser = stringsChooser(row);
    if (index >= 0) {
        chooser->setCurrentIndex(index);
    } else {
        // Clearing the pick must not clear the value: argument 0 keeps it for saving.
        const QString text = chooser->currentText();
        const QSignalBlocker quiet(chooser);
        chooser->setCurrentIndex(-1);
        chooser->setEditText(text);
    }
    stringsPicked(row);
}

void ScriptGrid::restoreStringsTexts()
{
    for (int row = 0; row < kRowCount; ++row) {
        ChooserComboBox *chooser = stringsChooser(row);
        {
            const QSignalBlocker quiet(chooser);
            chooser->setCurrentIndex(-1);
        }
        chooser->setEditText(field(row, 0)->text());
    }
}

void ScriptGrid::copyRow(int from, int to)
{
    ChooserComboBox *source = stringsChooser(from);
    ChooserComboBox *target = stringsChooser(to);
    combo(to)->setEditText(combo(from)->currentText());
    target->setEditText(source->currentText());
    pickStringsEntry(to, source->currentIndex());
    // The pick shows the picked entry's own text; the line keeps the text it had.
    if (target->currentText() != source->currentText()) {
        const QSignalBlocker quiet(target);
        target->setEditText(source->currentText());
    }
    target->setVisible(!source->isHidden());
    for (int k = 0; k < kFieldsPerRow; ++k) {
        const Field &s = m_fields[fieldIndex(from, k)];
        Field &t = m_fields[fieldIndex(to, k)];
        t.edit->setText(s.edit->text());
        t.edit->setVisible(!s.edit->isHidden());
        t.width = s.width;
        t.left = s.left;
        applyFieldGeometry(to, k);
    }
}

void ScriptGrid::clearRow(int row)
{
    combo(row)->setEditText(QString());
    pickCommand(row, 0);
}

void ScriptGrid::insertRow(int row)
{
    for (int i = kRowCount - 1; i > row; --i)
        copyRow(i - 1, i);
    clearRow(row);
}

void ScriptGrid::removeRow(int row)
{
    for (int i = row; i < kRowCount - 1; ++i)
        copyRow(i + 1, i);
    clearRow(kRowCount - 1);
}

void ScriptGrid::lineNumberReleased(int row, Qt::MouseButton button)
{
    const bool empty = combo(row)->currentText().isEmpty();
    if (button == Qt::LeftButton && empty)
        removeRow(row);
    else if (button == Qt::LeftButton || button == Qt::RightButton)
        insertRow(row);
}

void ScriptGrid::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    const int steps = delta / 120 != 0 ? delta / 120 : (delta > 0 ? 1 : -1);
    m_scrollBar->setValue(m_scrollBar->value() - steps);
    event->accept();
}

} // namespace cw::gui
