#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

class Catalogue;
class ScriptLineTable;
class StringsTable;

// How one grid row shows one script line, as the loader sets it up.
struct RowView
{
    struct Field
    {
        bool visible = false;
        std::string text;
        std::string tooltip;
    };

    std::string commandText;
    int commandIndex = 0;     // catalogue entry whose definition the row uses
    bool knownCommand = true; // false: shown as written, no entry's definition (a word no
                              // entry names, or an empty line where entry 0 has a name)
    std::string commandTooltip;
    std::array<Field, 4> fields;
    int layoutCount = 0; // argument count the fields are laid out for
    bool stringsChooser = false;
    std::string stringsText;
    int stringsIndex = -1; // entry of the strings table picked, or -1
    std::string stringsTooltip;
};

// The row for grid row `row` (0 to 99) from the loader's table. The command word is
// looked up without regard to case. A word that names no entry keeps its own text and
// its arguments, so that saving writes the line back as it was, and shows the fields
// up to its last argument, laid out for that many; an empty line is an empty row
// whatever entry 0 is. A first argument that names a strings entry takes the entry's
// own spelling.
RowView showRow(const ScriptLineTable &table, int row, const Catalogue &catalogue,
                const StringsTable &strings);

// What the writer reads from a row: the command chooser's text and the texts of the
// four argument fields, hidden ones included.
struct RowTexts
{
    std::string command;
    std::array<std::string, 4> arguments;
};

// The bytes of a script saved from the grid: one line per row with a command text,
// each non-empty argument after one space, CR LF after each line, then one more CR LF.
// The text after a "#" (the command of a comment row, or an argument) gets no space of
// its own when it starts with a blank or tab already: "#note" is written "# note" and
// "# lead" stays "# lead".
std::string writeScript(const std::vector<RowTexts> &rows);

// Appends the line one row is written as, without its line end; nothing for a row
// without a command. The text after a "#" (a comment row's text, or the argument after
// a "#" argument) gets a separating blank only when it has none of its own.
void appendScriptLine(std::string &out, const RowTexts &row);

// Whether a written line reads back as the row it was written from: none of its pieces
// (a CR or LF in a text ends a line) holds more than 21 words.
bool readsBack(std::string_view line);

// The grid as lines, row r on line r + 1 and a row without a command as an empty
// line, each ended by CR LF: what the rows say, at the line numbers the user sees.
std::string rowsAsLines(const std::vector<RowTexts> &rows);

// The first row whose written line the editor could not read back (more than 21
// tokens, say from an argument of many words), or -1. Such a script must not be
// saved: it would never open again.
int firstUnreadableRow(const std::vector<RowTexts> &rows);

// Row texts as the grid holds them after showRow.
RowTexts textsOf(const RowView &view);
RowTexts textsOf(RowView &&view);

} // namespace cw
