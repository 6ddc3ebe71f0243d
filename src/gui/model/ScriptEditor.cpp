#include "gui/model/ScriptEditor.h"

#include <QUndoCommand>
#include <QUndoStack>

namespace cw::gui {

// One undo step: the rows an edit changed, before and after. The edit has been made
// when the step is pushed, so its first redo only tells the views.
class RowsCommand : public QUndoCommand
{
public:
    RowsCommand(ScriptEditor &editor, RowsChange change, const QString &text, int mergeId, int key)
        : QUndoCommand(text), m_editor(editor), m_change(std::move(change)), m_mergeId(mergeId), m_key(key)
    {
    }

    void redo() override
    {
        if (m_done)
            m_editor.m_document.redo(m_change);
        m_done = true;
        m_editor.applied(m_change);
    }
    void undo() override
    {
        m_editor.m_document.undo(m_change);
        m_editor.applied(m_change);
    }
    int id() const override { return m_mergeId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const RowsCommand *>(other);
        if (next->m_key != m_key || next->m_change.first != m_change.first ||
            next->m_change.before.size() != m_change.before.size())
            return false;
        m_change.after = next->m_change.after;
        // Typing that ends where it began (a letter typed and taken back) leaves no step:
        // the stack drops an obsolete command instead of keeping an undo that does nothing.
        setObsolete(m_change.after == m_change.before);
        return true;
    }

private:
    ScriptEditor &m_editor;
    RowsChange m_change;
    int m_mergeId;
    int m_key;
    bool m_done = false;
};

ScriptEditor::ScriptEditor(const Catalogue &catalogue, QObject *parent)
    : QObject(parent), m_document(catalogue), m_undo(new QUndoStack(this))
{
}

ScriptEditor::~ScriptEditor() = default;

Result<ScriptReadReport, ScriptReadError> ScriptEditor::load(std::string &&bytes)
{
    auto report = m_document.load(std::move(bytes));
    if (!report)
        return report;
    m_undo->clear();
    Q_EMIT rowsChanged(0, ScriptDocument::kRows - 1);
    reportModified();
    return report;
}

void ScriptEditor::setStrings(std::shared_ptr<const StringsTable> strings)
{
    m_document.setStrings(std::move(strings));
    m_undo->clear();
    Q_EMIT rowsChanged(0, ScriptDocument::kRows - 1);
}

void ScriptEditor::markSaved()
{
    m_document.markSaved();
    reportModified();
}

void ScriptEditor::push(RowsChange change, const QString &text, Merge merge, int row, int field)
{
    if (change.empty())
        return;
    const int mergeId = merge == Merge::None ? -1 : 1;
    const int key = ((row * 8) + field) * 4 + static_cast<int>(merge);
    m_undo->push(new RowsCommand(*this, std::move(change), text, mergeId, key));
}

void ScriptEditor::applied(const RowsChange &change)
{
    Q_EMIT rowsChanged(change.first, change.last());
    reportModified();
}

void ScriptEditor::reportModified()
{
    const bool modified = m_document.isModified();
    if (modified == m_wasModified)
        return;
    m_wasModified = modified;
    Q_EMIT modifiedChanged(modified);
}

void ScriptEditor::chooseCommand(int row, int entry)
{
    push(m_document.chooseCommand(row, entry), tr("Choose Command"));
}

void ScriptEditor::typeCommand(int row, const QString &text)
{
    push(m_document.typeCommand(row, text.toStdString()), tr("Typing"), Merge::Command, row);
}

void ScriptEditor::setArgument(int row, int k, const QString &text)
{
    push(m_document.setArgument(row, k, text.toStdString()), tr("Typing"), Merge::Argument, row, k);
}

void ScriptEditor::typeStringsText(int row, const QString &text)
{
    push(m_document.typeStringsText(row, text.toStdString()), tr("Typing"), Merge::Strings, row);
}

void ScriptEditor::pickStringsEntry(int row, int index)
{
    push(m_document.pickStringsEntry(row, index), tr("Choose String"));
}

void ScriptEditor::insertLine(int row)
{
    push(m_document.insertLine(row), tr("Insert Line"));
}

void ScriptEditor::removeLine(int row)
{
    push(m_document.removeLine(row), tr("Remove Line"));
}

void ScriptEditor::cutLine(int row)
{
    push(m_document.removeLine(row), tr("Cut Line"));
}

void ScriptEditor::replaceMatches(const std::vector<find::RowMatch> &matches, const QString &replacement,
                                  const QString &what)
{
    push(find::replaceInRows(m_document, matches, replacement.toStdString()), what);
}

bool ScriptEditor::moveLine(int row, int direction)
{
    const int other = row + direction;
    if (other < 0 || other >= ScriptDocument::kRows)
        return false;
    push(m_document.swapLines(row, other), tr("Move Line"));
    return true;
}

ScriptDocument::Paste ScriptEditor::pasteLines(int row, std::string_view bytes)
{
    ScriptDocument::Paste paste = m_document.pasteLines(row, bytes);
    push(std::move(paste.change), tr("Paste Lines"));
    return paste;
}

} // namespace cw::gui
