#include "gui/grid/ScriptGrid.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/levels/ScriptPlaces.h"
#include "core/script/ScriptDocument.h"
#include "core/text/Codepage.h"
#include "core/text/GameText.h"
#include "gui/grid/FieldPlaces.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/TextCodec.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/Geometry.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QCompleter>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QWheelEvent>

#include <algorithm>

namespace cw::gui {
namespace {

constexpr int kControlHeight = 21; // pixels at the default font
constexpr int kRowsTop = 240;
constexpr int kRowHeight = 360;
constexpr int kScrollBarHeight = 7215; // with kLaidOutRows rows on screen
// The frame's height, in twips, around its rows: above the first and below the last.
constexpr int kFrameMargins = 420;
constexpr int kNumberLeft = 480;
constexpr int kNumberWidth = 375;
constexpr int kComboLeft = 840;
constexpr int kComboWidth = 2415;
constexpr int kArgumentsLeft = 3360;
constexpr int kArgumentsRight = kArgumentsLeft + 6135;
// The grid's width in the layout, in pixels: wider or narrower, its columns follow.
constexpr int kLaidOutWidth = 664;
// The narrowest the grid may be laid out, in twips: its columns share what is left of
// it past the line numbers.
constexpr int kMinimumWidth = 4000;
// The marker stands in the gap between the scroll bar (which ends at 375) and the line
// number (which starts at 480), so that no control of a row moves for it.
constexpr int kMarkerLeft = 390;
constexpr int kMarkerWidth = 75;

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a control of the grid shows of a text: the text itself, or, past
// ScriptGrid::kEditableBytes, its start, read-only. Qt lays out a line edit's whole
// text, some thirty bytes and much time per character, and no word of a real script
// comes near that length; the document keeps the whole text, which saving writes.
struct Shown
{
    QString text;
    bool whole = true;
};

Shown shownText(const std::string &text)
{
    if (text.size() <= ScriptGrid::kEditableBytes)
        return {fromUtf8(text), true};
    std::size_t cut = ScriptGrid::kEditableBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut; // not inside a character
    return {QString::fromUtf8(text.data(), static_cast<qsizetype>(cut)) + QStringLiteral("\u2026"), false};
}

QString tooLongNote(const std::string &text)
{
    return QStringLiteral("This text is %1 bytes long, too long to edit here; it is kept and saved whole. "
                          "Open the script in a text editor (Open 4 hax) to change it.")
        .arg(text.size());
}

// Shows a text in a line edit (a field, or a chooser's), leaving one that already
// shows it alone, so that the cursor of the one the user types into stays where it is.
void showText(QLineEdit *edit, const std::string &text, const QString &tooltip)
{
    const Shown shown = shownText(text);
    if (edit->text() != shown.text) {
        edit->setText(shown.text);
        edit->setCursorPosition(0);
    }
    edit->setReadOnly(!shown.whole);
    edit->setToolTip(shown.whole ? tooltip
                                 : (tooltip.isEmpty() ? QString() : tooltip + QStringLiteral("\n")) +
                                       tooLongNote(text));
}

// The keys the window answers for the whole grid: undo and redo of the document, and
// the line keys. The grid's line edits would otherwise take them for themselves (their
// own undo knows nothing of the document).
bool isUndoKey(const QKeyEvent *key)
{
    const QKeyCombination combination = key->keyCombination();
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

bool isLineKey(const QKeyEvent *key)
{
    const QKeyCombination combination = key->keyCombination();
    const Qt::KeyboardModifiers controlShift = Qt::ControlModifier | Qt::ShiftModifier;
    for (Qt::Key letter : {Qt::Key_C, Qt::Key_X, Qt::Key_V}) {
        if (combination == QKeyCombination(controlShift, letter))
            return true;
    }
    return combination == QKeyCombination(Qt::AltModifier, Qt::Key_Up) ||
           combination == QKeyCombination(Qt::AltModifier, Qt::Key_Down);
}

} // namespace

ScriptGrid::ScriptGrid(WindowModel &model, QWidget *parent)
    : QFrame(parent), m_model(model), m_editor(model.editor()), m_commandNames(model.commandNames()),
      m_stringNames(model.stringNames())
{
    setObjectName(QStringLiteral("Frame1"));
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    m_scrollBar->setRange(0, kRowCount - kLaidOutRows);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setPageStep(1);
    placeTwips(m_scrollBar, 120, kRowsTop, 255, kScrollBarHeight);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this] {
        if (isBuilt())
            placeRows();
    });
    connect(&m_editor, &ScriptEditor::rowsChanged, this, [this](int first, int last) {
        if (isBuilt())
            showRows(first, last);
    });
    // Another script opens at its first line (the one open before is read again, after
    // a change on disk, where the user was in it).
    connect(&model, &WindowModel::scriptOpened, this, [this] {
        const QString opened = m_model.scriptOpen() ? displayName(m_model.scriptPath()) : QString();
        if (opened != m_openedScript)
            m_scrollBar->setValue(0);
        m_openedScript = opened;
    });
    // Replacing the model behind the strings choosers resets each of them: no edits.
    connect(&model, &WindowModel::stringsTableAboutToChange, this, [this] { m_updating = true; });
    connect(&model, &WindowModel::stringsTableChanged, this, [this] {
        m_updating = false;
        if (isBuilt())
            showRows(0, kRowCount - 1);
    });
    // Tab, Shift+Tab or a program step can put the focus into a row that is off screen,
    // where typing would change a line the user cannot see.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget *, QWidget *now) { focusMoved(now); });
}

// The rows' controls are destroyed after this body, by QWidget, and each hands the
// focus on as it goes: by then this is no ScriptGrid to tell.
ScriptGrid::~ScriptGrid()
{
    disconnect(m_focusWatch);
}

void ScriptGrid::buildRows()
{
    if (isBuilt())
        return;
    m_rows.resize(kRowCount);
    // Created row by row so that the keyboard focus moves through a row's command
    // chooser, strings chooser and four argument fields, then on to the next row.
    for (int row = 0; row < kRowCount; ++row)
        buildRow(row);
    placeRows();
    showRows(0, kRowCount - 1);
}

void ScriptGrid::buildRow(int row)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    // Screen readers name each control by its line and role, as the user sees them.
    const QString line = QStringLiteral("Line %1 ").arg(row + 1);
    r.number = new LineNumberLabel(row, this);
    r.number->setAccessibleName(line + QStringLiteral("number"));
    r.marker = new RowMarker(row, this);
    r.marker->setAccessibleName(line + QStringLiteral("findings"));
    r.combo = new ChooserComboBox(QStringLiteral("Combo_%1").arg(row), m_commandNames, this);
    r.combo->setCurrentIndex(-1);
    r.combo->setAccessibleName(line + QStringLiteral("command"));
    r.strings = new ChooserComboBox(QStringLiteral("scriptcombos_%1").arg(row), m_stringNames, this);
    r.strings->setCurrentIndex(-1);
    r.strings->setAccessibleName(line + QStringLiteral("strings key"));
    r.strings->hide();
    for (int k = 0; k < kFieldsPerRow; ++k) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("qual_%1").arg(row * kFieldsPerRow + k));
        edit->setMaxLength(kUnlimitedLength);
        edit->setAccessibleName(line + QStringLiteral("argument %1").arg(k + 1));
        edit->hide();
        r.fields[k] = edit;
    }
    connectRow(row);
}

void ScriptGrid::connectRow(int row)
{
    Row &r = m_rows[static_cast<std::size_t>(row)];
    connect(r.number, &LineNumberLabel::released, this, &ScriptGrid::lineNumberReleased);
    // Typing reaches the document as typing; what the grid sets itself does not.
    connect(r.combo, &QComboBox::activated, this, [this, row](int index) {
        if (!m_updating)
            m_editor.chooseCommand(row, index);
    });
    connect(r.combo->lineEdit(), &QLineEdit::textEdited, this,
            [this, row](const QString &text) { m_editor.typeCommand(row, text); });
    connect(r.strings, &QComboBox::activated, this, [this, row](int index) {
        if (!m_updating)
            m_editor.pickStringsEntry(row, index);
    });
    connect(r.strings->lineEdit(), &QLineEdit::textEdited, this,
            [this, row](const QString &text) { m_editor.typeStringsText(row, text); });
    for (int k = 0; k < kFieldsPerRow; ++k) {
        connect(r.fields[k], &QLineEdit::textChanged, this, [this, row, k](const QString &text) {
            if (!m_updating)
                m_editor.setArgument(row, k, text);
        });
        r.fields[k]->installEventFilter(this);
    }
    r.combo->installEventFilter(this);
    r.strings->installEventFilter(this);
}

void ScriptGrid::showRows(int first, int last)
{
    const bool was = m_updating;
    m_updating = true;
    for (int row = first; row <= last; ++row)
        showRow(row);
    m_updating = was;
}

// A text the grid puts into a control shows its beginning, however long.
void ScriptGrid::showRow(int row)
{
    const ScriptRow &line = m_editor.row(row);
    Row &r = m_rows[static_cast<std::size_t>(row)];
    if (r.combo->currentIndex() != line.selected)
        r.combo->setCurrentIndex(line.selected);
    showText(r.combo->lineEdit(), line.command, fromUtf8(line.commandTooltip));
    r.combo->setToolTip(r.combo->lineEdit()->toolTip());
    for (int k = 0; k < kFieldsPerRow; ++k) {
        const ScriptRow::Field &field = line.fields[static_cast<std::size_t>(k)];
        showText(r.fields[k], field.text, fromUtf8(field.tooltip));
        r.fields[k]->setVisible(field.visible);
    }
    const int stringsIndex = line.stringsSelected < m_stringNames->rowCount() ? line.stringsSelected : -1;
    if (r.strings->currentIndex() != stringsIndex)
        r.strings->setCurrentIndex(stringsIndex);
    showText(r.strings->lineEdit(), line.stringsText, fromUtf8(line.stringsTooltip));
    r.strings->setToolTip(r.strings->lineEdit()->toolTip());
    r.strings->setVisible(line.stringsVisible);
    applyGeometry(row);
}

// Where a left edge of the layout (in twips) stands in a grid of the width it has: the
// command column and the argument area grow with the grid (or give up room in a narrower
// one) in the layout's proportions; at the layout's width every edge is exactly its own.
int ScriptGrid::across(int twips) const
{
    const int edge = px(twips);
    if (twips <= kComboLeft)
        return edge;
    const double share = static_cast<double>(twips - kComboLeft) / (kArgumentsRight - kComboLeft);
    return edge + static_cast<int>(std::lround(share * (width() - scaled(kLaidOutWidth))));
}

void ScriptGrid::applyGeometry(int row)
{
    const Row &r = m_rows[static_cast<std::size_t>(row)];
    const auto place = [this](QWidget *control, int left, int top, int width) {
        const int x = across(left);
        control->setGeometry(x, top, std::max(1, across(left + width) - x), scaled(kControlHeight));
    };
    r.number->setGeometry(px(kNumberLeft), px(r.top), px(kNumberWidth), scaled(kControlHeight));
    r.marker->setGeometry(px(kMarkerLeft), px(r.top), px(kMarkerWidth), scaled(kControlHeight));
    place(r.combo, kComboLeft, px(r.top), kComboWidth);
    const ScriptRow &line = m_editor.row(row);
    bool shown[kFieldsPerRow] = {};
    for (int k = 0; k < kFieldsPerRow; ++k)
        shown[k] = line.fields[static_cast<std::size_t>(k)].visible;
    shown[0] = shown[0] || line.stringsVisible;
    const int count = fieldCount(shown);
    // The strings chooser stands in argument field 0's place.
    const FieldPlace first = fieldPlace(0, count);
    place(r.strings, first.left, px(r.top), first.width);
    // The fields of a row out of view stand the hidden distance below their own place.
    const int distance = row - m_scrollBar->value();
    const int fieldTop = (isOnScreen(row) ? 0 : kHiddenTop) + kRowsTop + kRowHeight * distance;
    for (int k = 0; k < kFieldsPerRow; ++k) {
        const FieldPlace field = fieldPlace(k, count);
        place(r.fields[k], field.left, px(fieldTop), field.width);
    }
}

void ScriptGrid::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // Rows fill the frame's height: more in a taller frame, fewer in one shorter than the
    // layout's (on a small screen at a large font), never none. (Rounding to pixels at
    // other scales can leave the layout's own height a hair short of 20: a pixel more
    // is allowed for.)
    const int twipsHigh = static_cast<int>((height() + 1) * kTwipsPerPixel / layoutScale());
    const int fit = std::clamp((twipsHigh - kFrameMargins) / kRowHeight, 1, kRowCount);
    const bool otherRows = fit != m_visibleRows;
    if (otherRows) {
        m_visibleRows = fit;
        placeTwips(m_scrollBar, 120, kRowsTop, 255, kScrollBarHeight + kRowHeight * (fit - kLaidOutRows));
        // The value the shorter range clamps is placed below, once.
        const QSignalBlocker blocker(m_scrollBar);
        m_scrollBar->setRange(0, kRowCount - fit);
    }
    // A wider or narrower frame moves every column; the rows are placed once for both.
    if (isBuilt() && (otherRows || event->size().width() != event->oldSize().width()))
        placeRows();
}

void ScriptGrid::placeRows()
{
    const bool wasPlacing = m_placingRows;
    m_placingRows = true;
    // Typing into the row that holds the focus must not change a line out of sight: when
    // that row scrolls away, the grid takes the focus. (Qt would otherwise hand the focus
    // of a command chooser it hides to the next control, in the same hidden row.)
    if (const int focused = focusedRow(); focused >= 0 && !isOnScreen(focused))
        setFocus(Qt::OtherFocusReason);
    for (int row = 0; row < kRowCount; ++row) {
        Row &r = m_rows[static_cast<std::size_t>(row)];
        const bool onScreen = isOnScreen(row);
        r.top = onScreen ? kRowsTop + kRowHeight * (row - m_scrollBar->value()) : kHiddenTop;
        r.combo->setVisible(onScreen);
        r.marker->setVisible(onScreen);
        applyGeometry(row);
    }
    m_placingRows = wasPlacing;
}

QSize ScriptGrid::minimumSizeHint() const
{
    return {px(kMinimumWidth), px(kFrameMargins + kRowHeight)};
}

bool ScriptGrid::isOnScreen(int row) const
{
    const int first = m_scrollBar->value();
    return row >= first && row < first + m_visibleRows;
}

void ScriptGrid::scrollToShow(int row)
{
    if (isOnScreen(row))
        return;
    if (row < m_scrollBar->value())
        m_scrollBar->setValue(row);
    else
        m_scrollBar->setValue(row - (m_visibleRows - 1));
}

void ScriptGrid::focusMoved(QWidget *now)
{
    if (!isBuilt())
        return;
    const int row = rowOf(now);
    if (row != m_focusedRow && (row >= 0 || (now && now->window() == window()))) {
        m_focusedRow = row;
        Q_EMIT focusedRowChanged(row);
    }
    if (!m_placingRows && row >= 0)
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
        for (QLineEdit *field : r.fields) {
            if (widget == field)
                return row;
        }
    }
    return -1;
}

int ScriptGrid::focusedRow() const
{
    return isBuilt() ? rowOf(QApplication::focusWidget()) : -1;
}

int ScriptGrid::focusedColumn() const
{
    const int row = focusedRow();
    if (row < 0)
        return 0;
    const QWidget *focus = QApplication::focusWidget();
    const Row &r = m_rows[static_cast<std::size_t>(row)];
    if (focus == r.strings || r.strings->isAncestorOf(focus))
        return 1;
    for (int k = 0; k < kFieldsPerRow; ++k) {
        if (focus == r.fields[k])
            return 2 + k;
    }
    return 0;
}

void ScriptGrid::focusRow(int row, int column)
{
    scrollToShow(row);
    const Row &r = m_rows[static_cast<std::size_t>(row)];
    QWidget *target = column == 1 ? static_cast<QWidget *>(r.strings)
                      : column >= 2 && column < 2 + kFieldsPerRow
                          ? static_cast<QWidget *>(r.fields[column - 2])
                          : static_cast<QWidget *>(r.combo);
    (target->isVisible() ? target : static_cast<QWidget *>(r.combo))->setFocus(Qt::OtherFocusReason);
}

void ScriptGrid::setLineNotes(const std::vector<QString> &notes)
{
    for (std::size_t row = 0; row < notes.size() && row < m_rows.size(); ++row)
        m_rows[row].number->setNote(notes[row]);
}

void ScriptGrid::setMarks(const std::vector<RowMark> &marks)
{
    for (std::size_t row = 0; row < marks.size() && row < m_rows.size(); ++row)
        m_rows[row].marker->setMark(marks[row]);
}

void ScriptGrid::pickStringsEntry(int row, int index)
{
    m_editor.pickStringsEntry(row, index);
}

void ScriptGrid::lineNumberReleased(int row, Qt::MouseButton button)
{
    const bool empty = m_editor.row(row).command.empty();
    if (button == Qt::LeftButton && empty) {
        m_editor.removeLine(row);
    } else if (button == Qt::LeftButton || button == Qt::RightButton) {
        // An insert pushes line 100 out of the grid, and a save would lose it.
        if (m_editor.document().lastRowInUse()) {
            ui::refuse(lineNumber(row), QStringLiteral("Line 100 holds a command, which inserting a line "
                                                       "would push out: remove a line first"));
            return;
        }
        m_editor.insertLine(row);
    }
}

// Enter in a command chooser picks the command its text names, compared as the loader
// compares command words; any other text stays as typed.
bool ScriptGrid::commandEntered(int row)
{
    const auto bytes = encode(combo(row)->currentText());
    if (!bytes)
        return true;
    const int entry = m_editor.document().catalogue().find(*bytes);
    if (entry > 0)
        m_editor.chooseCommand(row, entry);
    return true;
}

// An argument that names something of the levels offers the names known where its
// line runs, as the user starts typing it. The completer only suggests: what is typed
// or picked reaches the document as any typing does.
void ScriptGrid::offerNames(int row, int k)
{
    QLineEdit *edit = m_rows[static_cast<std::size_t>(row)].fields[k];
    const std::string text = lineText(m_editor.row(row));
    const std::vector<std::string_view> words = gameWords(text);
    const NameKind kind = words.empty() ? NameKind::None : nameKindOf(words.front(), k);
    // The last offer goes once its events are over: the completer may be the one that
    // gave the focus back. Its model goes with it.
    if (QCompleter *old = edit->completer()) {
        edit->setCompleter(nullptr);
        old->deleteLater();
    }
    if (kind == NameKind::None)
        return;
    const std::shared_ptr<const Levels> levels = m_model.levels();
    ScriptPlaces places(levels.get(), m_model.scriptOpen() ? nameOf(m_model.scriptPath().filename()) : "");
    for (int before = 0; before < row; ++before)
        places.pass(gameWords(lineText(m_editor.row(before))));
    auto *completer = new QCompleter(this);
    auto *names = new QStandardItemModel(completer);
    for (const OfferedName &offered : offeredNames(places, kind)) {
        const QString name = fromUtf8(cp1252::toUtf8(offered.name));
        auto *item = new QStandardItem(offered.what.empty() ? name
                                                            : name + QStringLiteral("  ") +
                                                                  fromUtf8(cp1252::toUtf8(offered.what)));
        item->setData(name, Qt::UserRole);
        names->appendRow(item);
    }
    completer->setModel(names);
    completer->setObjectName(QStringLiteral("names_%1").arg(row * kFieldsPerRow + k));
    completer->setCompletionRole(Qt::UserRole);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    edit->setCompleter(completer);
}

bool ScriptGrid::eventFilter(QObject *watched, QEvent *event)
{
    // Focus back from a completer's list is the same offer going on.
    if (event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason) {
        const int row = rowOf(qobject_cast<QWidget *>(watched));
        for (int k = 0; row >= 0 && k < kFieldsPerRow; ++k) {
            if (watched == m_rows[static_cast<std::size_t>(row)].fields[k])
                offerNames(row, k);
        }
    }
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
    if (!key)
        return QFrame::eventFilter(watched, event);
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (isUndoKey(keyEvent) || isLineKey(keyEvent)) {
        // Left to the window's shortcuts, whether or not they can act now.
        if (event->type() == QEvent::ShortcutOverride)
            keyEvent->ignore();
        return true;
    }
    const bool enter = keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter;
    if (event->type() == QEvent::KeyPress && enter && (keyEvent->modifiers() & ~Qt::KeypadModifier) == 0) {
        const int row = rowOf(qobject_cast<QWidget *>(watched));
        if (row >= 0 && watched == combo(row))
            return commandEntered(row);
    }
    return QFrame::eventFilter(watched, event);
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
