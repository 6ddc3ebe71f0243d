#pragma once

#include "core/script/ScriptLines.h"
#include "core/text/SharedText.h"
#include "core/util/Result.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class Catalogue;
class StringsTable;

// One line of the script as its grid row shows it: what the command chooser, the four
// argument fields and the strings chooser hold, which of them are shown, their tooltips
// and which layout placed each argument field. Texts are UTF-8, converted once when a
// row is filled from a file, so that a row can hold what the user typed even when the
// code page cannot (saving refuses such a row; checking reports it). Texts are shared
// between copies of a row, so that an undo step costs what it changes, not the
// megabytes a row may hold.
struct ScriptRow
{
    struct Field
    {
        SharedText text;
        bool visible = false;
        SharedText tooltip;
        // The argument count (1 to 4) of the layout that last placed the field, or 0 for
        // the place every field has when the window starts. Where that is on screen is
        // the grid's business; the field keeps it as the line moves.
        int laidOutFor = 0;

        bool operator==(const Field &) const = default;
    };

    SharedText command;
    int selected = -1; // the command chooser's selected catalogue entry, -1 for none
    SharedText commandTooltip;
    std::array<Field, 4> fields;
    bool stringsVisible = false;
    SharedText stringsText;
    int stringsSelected = -1; // entry of the strings table, -1 for none
    SharedText stringsTooltip;
    // Words the line held after its fourth argument, which no field can hold and saving
    // drops; kept with the line wherever it moves, so that the save can ask first.
    SharedText extraWords;
    // The line as its file held it, where a "#" glued to a word makes the game read it
    // otherwise than the row's texts written with blanks between them: written back as
    // it is until the row is edited. Kept with the line wherever it moves.
    SharedText originalLine;

    bool operator==(const ScriptRow &) const = default;
};

// What one edit did to the rows: the rows from `first` on, before and after. Enough to
// undo and redo the edit exactly; empty when the edit changed nothing.
struct RowsChange
{
    int first = 0;
    std::vector<ScriptRow> before;
    std::vector<ScriptRow> after;

    bool empty() const { return before.empty(); }
    int last() const { return first + static_cast<int>(before.size()) - 1; }
};

// Why a document cannot become script bytes, and where.
struct ScriptWriteError
{
    enum class Cause {
        NotEncodable, // a character the code page cannot hold
        TooManyWords, // a line that would hold more than 21 words once written
        TooLarge,     // more bytes than a script may have to be opened again
    };
    Cause cause;
    int row = 0; // 0-based
};

// The open script behind the editor grid: 100 rows and every operation the window
// performs on them, with the rules of choosing a command, the strings chooser, and
// inserting and removing lines. The grid only shows it; every edit goes through it.
class ScriptDocument
{
public:
    static constexpr int kRows = 100;
    static constexpr int kFields = 4;

    explicit ScriptDocument(const Catalogue &catalogue);

    const ScriptRow &row(int r) const { return m_rows[static_cast<std::size_t>(r)]; }
    const std::array<ScriptRow, kRows> &rows() const { return m_rows; }
    const Catalogue &catalogue() const { return m_catalogue; }

    // The strings table behind the strings choosers. Replacing it drops every strings
    // chooser's pick and shows argument 0 as its text, as refilling the choosers does.
    void setStrings(std::shared_ptr<const StringsTable> strings);
    const StringsTable &strings() const { return *m_strings; }

    // Reads a script's bytes as the loader does and shows them in all 100 rows. On a
    // line the tokenizer refuses nothing changes. The result is the new saved state.
    Result<ScriptReadReport, ScriptReadError> load(std::string_view bytes);
    // The same, letting go of the bytes as soon as they are split: a script of megabytes
    // is then never held three times.
    Result<ScriptReadReport, ScriptReadError> load(std::string &&bytes);

    // The edits. Each returns what it changed, for undo and redo.
    // The user picks entry `entry` of a row's command chooser.
    RowsChange chooseCommand(int row, int entry);
    // The user types into a row's command chooser: only its text changes.
    RowsChange typeCommand(int row, std::string_view text);
    RowsChange setArgument(int row, int k, std::string_view text);
    // The user types into a row's strings chooser, which mirrors into argument 0.
    RowsChange typeStringsText(int row, std::string_view text);
    // The user (or a program step) picks entry `index` of the strings table, -1 for none.
    RowsChange pickStringsEntry(int row, int index);
    // Pushes the lines from `row` down by one (the last one drops) and empties `row`.
    RowsChange insertLine(int row);
    // Pulls the lines after `row` up by one; the last row becomes empty.
    RowsChange removeLine(int row);
    // Exchanges two lines, each keeping everything it shows.
    RowsChange swapLines(int a, int b);
    // Any of the edits above, made by `edits`, as one change (a Replace All).
    RowsChange together(const std::function<void()> &edits);
    // Inserts the lines of a script's bytes before `row`, read as a script file is. The
    // rows pushed past the last one must be empty; otherwise nothing changes and the
    // result says how many lines do not fit.
    struct Paste
    {
        RowsChange change;
        int lines = 0;        // lines read from the bytes
        int overflow = 0;     // lines that do not fit; nothing was pasted when above 0
        bool refused = false; // a line the tokenizer refuses; nothing was pasted
    };
    Paste pasteLines(int row, std::string_view bytes);

    void undo(const RowsChange &change);
    void redo(const RowsChange &change);

    // Whether saving would write something other than what was last loaded or saved.
    bool isModified() const;
    // The rows are now what their file holds: the new saved state, with nothing of the
    // file left that saving could drop.
    void markSaved();

    // What of the script as it was read saving would not keep: the lines after the
    // 100th, and the words after the fourth argument of the rows that still hold some.
    struct Losses
    {
        int lines = 0;    // lines in use after the 100th
        int commands = 0; // of those, the ones that are no comment
        struct Words
        {
            int row = 0; // 0-based
            std::string words;
        };
        std::vector<Words> words;

        bool any() const { return lines > 0 || !words.empty(); }
    };
    Losses lossesOnSave() const;

    // Whether inserting a line would push out a command from the last row.
    bool lastRowInUse() const { return !m_rows.back().command.empty(); }

    // The bytes scriptBytes() gives, taking the rows apart as they are written: for a
    // document that is not used afterwards (fmt), so that a large script is not held
    // twice. The document is left with empty rows.
    Result<std::string, ScriptWriteError> takeScriptBytes();

private:
    // UTF-8 texts of one catalogue entry, as the rows show them.
    struct EntryTexts
    {
        SharedText name;
        SharedText description;
        std::array<SharedText, 5> labels;
        int argumentCount = 0;
        int firstArgumentType = 0;
    };

    ScriptRow &mutableRow(int r) { return m_rows[static_cast<std::size_t>(r)]; }
    const EntryTexts &entry(int index) const { return m_entries[static_cast<std::size_t>(index)]; }
    template<class Edit> RowsChange record(Edit edit);
    void choose(int row, int entry);
    void pick(int row, int index);
    void copyRow(int from, int to);
    void clearRow(int row);
    Result<ScriptReadReport, ScriptReadError> fill(Result<ScriptRead, ScriptReadError> read);
    void fillRow(int row, LineWords &&words);
    void layOutFields(int row, int count);
    // The user changed what the row says: it is written from its texts from now on.
    void edited(int row);
    void keepOriginalLines(const ScriptReadReport &report, int firstRow);
    // A line as saving writes it: its command and its arguments that are not empty,
    // sharing the rows' texts.
    struct SavedLine
    {
        SharedText command;
        std::array<SharedText, kFields> arguments;
    };
    std::vector<SavedLine> savedLines() const;
    void keepSavedLines();

    const Catalogue &m_catalogue;
    std::vector<EntryTexts> m_entries;
    std::shared_ptr<const StringsTable> m_strings;
    std::array<ScriptRow, kRows> m_rows;
    // savedLines() when last loaded or saved; while no edit has been made since, the
    // rows themselves are that state and this is empty.
    std::vector<SavedLine> m_saved;
    bool m_savedIsCurrent = true;
    // Lines after the 100th that the file held when read.
    int m_linesPast100 = 0;
    int m_commandsPast100 = 0;
};

// The bytes Save Script writes for a document: one line per row with a command, each
// non-empty argument after one space, CR LF after each line, then one more CR LF. The
// text after a "#" (a comment row's text, or the argument after a "#" argument) gets a
// separating blank only when it has none of its own, so that a file saved again stays
// as it is: "#note" is written "# note" and "# lead" stays "# lead". Refuses a row with
// a character the code page cannot hold, a line that would not read back as the row it
// was written from (more than 21 words), and a script larger than the editor opens.
Result<std::string, ScriptWriteError> scriptBytes(const ScriptDocument &document);

// One row as script text, as Save Script would write it, ended by CR LF; a row without a
// command is an empty line. Only a character the code page cannot hold refuses it.
Result<std::string, ScriptWriteError> lineBytes(const ScriptDocument &document, int row);

// The line a row is written as, in the row's own UTF-8 texts and without a line end;
// empty for a row without a command.
std::string lineText(const ScriptRow &row);

} // namespace cw
