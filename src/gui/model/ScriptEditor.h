#pragma once

#include "core/find/ModFind.h"

#include "core/script/ScriptDocument.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string_view>

class QUndoStack;

namespace cw::gui {

// The script document with its undo history: every edit of the grid becomes one undo
// step (consecutive typing in one field merges into one), and loading a script starts
// a fresh history. Views listen to rowsChanged and show the rows named there.
class ScriptEditor : public QObject
{
    Q_OBJECT
public:
    ScriptEditor(const Catalogue &catalogue, QObject *parent);
    ~ScriptEditor() override;

    const ScriptDocument &document() const { return m_document; }
    const ScriptRow &row(int r) const { return m_document.row(r); }
    QUndoStack *undoStack() const { return m_undo; }

    // Loads a script's bytes into every row; nothing changes when a line is refused. The
    // bytes go as soon as they are split, so that a large script is not held twice.
    Result<ScriptReadReport, ScriptReadError> load(std::string &&bytes);
    // The strings table behind the strings choosers; starts a fresh history, since the
    // picks of earlier steps named entries of the old table.
    void setStrings(std::shared_ptr<const StringsTable> strings);

    void chooseCommand(int row, int entry);
    void typeCommand(int row, const QString &text);
    void setArgument(int row, int k, const QString &text);
    void typeStringsText(int row, const QString &text);
    void pickStringsEntry(int row, int index);
    void insertLine(int row);
    void removeLine(int row);
    // Moves a line one row up (-1) or down (+1); false at the edge.
    bool moveLine(int row, int direction);
    ScriptDocument::Paste pasteLines(int row, std::string_view bytes);
    // Copies a line and removes it, as one step.
    void cutLine(int row);
    // Puts `replacement` in place of the matches, as one undo step called `what`.
    void replaceMatches(const std::vector<find::RowMatch> &matches, const QString &replacement,
                        const QString &what);

    bool isModified() const { return m_document.isModified(); }
    // The rows are what the file now holds (after writing them).
    void markSaved();

Q_SIGNALS:
    void rowsChanged(int first, int last);
    void modifiedChanged(bool modified);

private:
    friend class RowsCommand;
    // Typing in one field merges; everything else is a step of its own.
    enum class Merge { None, Command, Argument, Strings };

    void push(RowsChange change, const QString &text, Merge merge = Merge::None, int row = 0, int field = 0);
    void applied(const RowsChange &change);
    void reportModified();

    ScriptDocument m_document;
    QUndoStack *m_undo;
    bool m_wasModified = false;
};

} // namespace cw::gui
