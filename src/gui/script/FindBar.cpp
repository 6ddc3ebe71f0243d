#include "gui/script/FindBar.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/ChooserComboBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <tuple>

namespace cw::gui {
namespace {

QLineEdit *editAt(const ScriptGrid &grid, int row, int column)
{
    if (column == 0)
        return grid.combo(row)->lineEdit();
    if (column == 1)
        return grid.stringsChooser(row)->lineEdit();
    return grid.field(row, column - 2);
}

// Where a byte offset of a control's text (as the document holds it, in UTF-8) falls
// among the characters the control shows.
int characterIndex(const QLineEdit *edit, std::size_t offset)
{
    return static_cast<int>(
        QString::fromUtf8(edit->text().toUtf8().left(static_cast<qsizetype>(offset))).size());
}

// A match's place in the order of the rows.
auto orderOf(const find::RowMatch &m)
{
    return std::make_tuple(m.row, m.column, m.offset);
}

QToolButton *arrow(QWidget *parent, const char *name, const QString &text, const QString &tip)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

} // namespace

FindBar::FindBar(WindowModel &model, ScriptGrid &grid, QWidget *parent)
    : QWidget(parent), m_model(model), m_grid(grid), m_text(new QLineEdit(this)),
      m_case(new QCheckBox(QStringLiteral("Match case"), this)),
      m_word(new QCheckBox(QStringLiteral("Whole word"), this)), m_count(new QLabel(this)),
      m_replacement(new QLineEdit(this))
{
    setObjectName(QStringLiteral("findBar"));
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setPlaceholderText(QStringLiteral("Find in the script"));
    m_text->setClearButtonEnabled(true);
    m_case->setObjectName(QStringLiteral("findCase"));
    m_word->setObjectName(QStringLiteral("findWord"));
    m_count->setObjectName(QStringLiteral("findCount"));
    QToolButton *before =
        arrow(this, "findPrevious", QStringLiteral("\u2191"), QStringLiteral("The match before (Shift+F3)"));
    QToolButton *after =
        arrow(this, "findNext", QStringLiteral("\u2193"), QStringLiteral("The next match (F3)"));
    QToolButton *shut = arrow(this, "findClose", QStringLiteral("\u00d7"), QStringLiteral("Close (Escape)"));
    m_replacement->setObjectName(QStringLiteral("replaceText"));
    m_replacement->setPlaceholderText(QStringLiteral("Replace with"));
    QToolButton *one = arrow(this, "replaceOne", QStringLiteral("Replace"),
                             QStringLiteral("Replaces the match selected, and goes to the next"));
    QToolButton *all = arrow(this, "replaceAll", QStringLiteral("Replace all"),
                             QStringLiteral("Replaces every match in the script (one undo step)"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral("Find:"), this));
    layout->addWidget(m_text, 1);
    layout->addWidget(before);
    layout->addWidget(after);
    layout->addWidget(m_case);
    layout->addWidget(m_word);
    layout->addWidget(m_count);
    layout->addWidget(m_replacement, 1);
    layout->addWidget(one);
    layout->addWidget(all);
    layout->addWidget(shut);
    m_text->installEventFilter(this);
    connect(m_text, &QLineEdit::textChanged, this, &FindBar::search);
    connect(m_case, &QCheckBox::toggled, this, &FindBar::search);
    connect(m_word, &QCheckBox::toggled, this, &FindBar::search);
    connect(before, &QToolButton::clicked, this, &FindBar::previous);
    connect(after, &QToolButton::clicked, this, &FindBar::next);
    connect(shut, &QToolButton::clicked, this, &FindBar::close);
    connect(one, &QToolButton::clicked, this, &FindBar::replaceOne);
    connect(all, &QToolButton::clicked, this, &FindBar::replaceAll);
    m_replacement->installEventFilter(this);
    // The matches follow the rows as they are edited, undone or loaded.
    connect(&m_model.editor(), &ScriptEditor::rowsChanged, this, [this] {
        if (isVisible())
            search();
    });
    hide();
}

void FindBar::open()
{
    show();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
    search();
}

void FindBar::close()
{
    hide();
    const int row = m_grid.focusedRow();
    m_grid.focusRow(row >= 0 ? row : m_grid.scrollBar()->value());
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_text || watched == m_replacement) && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            (key->modifiers() & Qt::ShiftModifier) ? previous() : next();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::search()
{
    if (!m_grid.isBuilt())
        return;
    m_matches = find::findInRows(m_model.editor().document(), m_text->text().toStdString(),
                                 {m_case->isChecked(), m_word->isChecked()});
    showCount(-1);
}

void FindBar::showCount(int current)
{
    const int count = matchCount();
    if (m_text->text().isEmpty())
        m_count->clear();
    else if (count == 0)
        m_count->setText(QStringLiteral("No matches"));
    else if (current < 0)
        m_count->setText(count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count));
    else
        m_count->setText(QStringLiteral("%1 of %2").arg(current + 1).arg(count));
}

std::optional<find::RowMatch> FindBar::focusPlace() const
{
    const int row = m_grid.focusedRow();
    if (row < 0)
        return m_last;
    const int column = m_grid.focusedColumn();
    const QLineEdit *edit = editAt(m_grid, row, column);
    const int at = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    return find::RowMatch{row, column, static_cast<std::size_t>(edit->text().left(at).toUtf8().size()), 0};
}

void FindBar::next()
{
    if (m_matches.empty())
        return;
    const std::optional<find::RowMatch> from = focusPlace();
    std::size_t index = 0;
    if (from) {
        const auto after = std::find_if(m_matches.begin(), m_matches.end(),
                                        [&](const find::RowMatch &m) { return orderOf(m) > orderOf(*from); });
        index = after == m_matches.end() ? 0 : static_cast<std::size_t>(after - m_matches.begin());
    }
    goTo(index);
}

void FindBar::previous()
{
    if (m_matches.empty())
        return;
    const std::optional<find::RowMatch> from = focusPlace();
    std::size_t index = m_matches.size() - 1;
    if (from) {
        const auto before = std::find_if(m_matches.rbegin(), m_matches.rend(), [&](const find::RowMatch &m) {
            return orderOf(m) < orderOf(*from);
        });
        if (before != m_matches.rend())
            index = static_cast<std::size_t>(m_matches.rend() - before) - 1;
    }
    goTo(index);
}

void FindBar::goTo(std::size_t index)
{
    const find::RowMatch &match = m_matches[index];
    m_grid.focusRow(match.row, match.column);
    QLineEdit *edit = editAt(m_grid, match.row, match.column);
    const int start = characterIndex(edit, match.offset);
    const int length = characterIndex(edit, match.offset + match.length) - start;
    edit->setSelection(start, length);
    m_last = match;
    showCount(static_cast<int>(index));
}

void FindBar::replaceOne()
{
    const std::optional<find::RowMatch> selected = focusPlace();
    const auto match = std::find_if(m_matches.begin(), m_matches.end(), [&](const find::RowMatch &m) {
        return selected && m.row == selected->row && m.column == selected->column &&
               m.offset == selected->offset;
    });
    if (match == m_matches.end()) {
        next();
        return;
    }
    const find::RowMatch replaced = *match;
    const QString replacement = m_replacement->text();
    m_model.editor().replaceMatches({replaced}, replacement, QStringLiteral("Replace"));
    // On from just after what was put in: a replacement that holds the text is not
    // found again.
    QLineEdit *edit = editAt(m_grid, replaced.row, replaced.column);
    edit->setCursorPosition(characterIndex(edit, replaced.offset) + static_cast<int>(replacement.size()));
    m_last = find::RowMatch{replaced.row, replaced.column,
                            replaced.offset + static_cast<std::size_t>(replacement.toUtf8().size()), 0};
    next();
}

void FindBar::replaceAll()
{
    if (m_matches.empty())
        return;
    const int count = matchCount();
    m_model.editor().replaceMatches(m_matches, m_replacement->text(), QStringLiteral("Replace All"));
    m_count->setText(count == 1 ? QStringLiteral("1 replaced") : QStringLiteral("%1 replaced").arg(count));
}

} // namespace cw::gui
