#pragma once

#include "core/find/ModFind.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace cw::gui {

class ScriptGrid;
class WindowModel;

// Find in the script ("findBar", above the grid, Ctrl+F): the text is matched in what
// the rows show (command names, arguments, comments, strings keys), as plain text, in
// any letter case unless "Match case", inside words unless "Whole word". Enter and F3 go
// to the next match, Shift+Enter and Shift+F3 to the one before, from wherever the
// keyboard focus is; the match is focused, selected and scrolled into view. The bar
// counts the matches and follows the edits; Escape closes it. "Replace" puts the
// replacement in place of the match selected, "Replace all" in place of every match, as
// one undo step.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    FindBar(WindowModel &model, ScriptGrid &grid, QWidget *parent);

    // Shows the bar with its text selected, for typing over it.
    void open();
    void close();
    void next();
    void previous();
    // Replaces the match that is selected, if one is, and goes to the next.
    void replaceOne();
    // Replaces every match, as one undo step.
    void replaceAll();
    int matchCount() const { return static_cast<int>(m_matches.size()); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search();
    void goTo(std::size_t index);
    void showCount(int current);
    // Where the keyboard focus is in the grid, as a match would say it; or nothing.
    std::optional<find::RowMatch> focusPlace() const;

    WindowModel &m_model;
    ScriptGrid &m_grid;
    QLineEdit *m_text;
    QCheckBox *m_case;
    QCheckBox *m_word;
    QLabel *m_count;
    QLineEdit *m_replacement;
    std::vector<find::RowMatch> m_matches;
    // The match gone to last: where the next search goes on from while the keyboard
    // focus is in the bar.
    std::optional<find::RowMatch> m_last;
};

} // namespace cw::gui
