#include "core/script/ScriptRows.h"

#include "core/catalogue/Catalogue.h"
#include "core/text/Folding.h"
#include "core/catalogue/Tokenizer.h"
#include "core/script/ScriptLines.h"
#include "core/strings/StringsTable.h"
#include "core/text/LineReader.h"

namespace cw {

namespace {

// A word no catalogue entry names, or no word at all: the row shows what the line
// holds, laid out for the fields it shows, and nothing of any catalogue entry.
RowView rowAsWritten(const ScriptLineTable &table, int row, const std::string &word)
{
    RowView view;
    view.commandText = word;
    int shown = 0;
    for (int k = 0; k < 4; ++k) {
        if (!table.argument(row, k).empty())
            shown = k + 1;
    }
    for (int k = 0; k < shown; ++k) {
        RowView::Field &field = view.fields[static_cast<std::size_t>(k)];
        field.visible = true;
        field.text = table.argument(row, k);
    }
    view.layoutCount = shown;
    return view;
}

} // namespace

RowView showRow(const ScriptLineTable &table, int row, const Catalogue &catalogue,
                const StringsTable &strings)
{
    const std::string &word = table.word(row);
    const int index = catalogue.find(word);
    const CommandDefinition &entry = catalogue.entry(index);
    // Entry 0 stands for "no command" only when the user picks it: a line names it
    // only by its own name, and an empty line is always an empty row.
    const bool known = !word.empty() && (index != 0 || foldedEqual(word, entry.name));
    if (!known) {
        RowView view = rowAsWritten(table, row, word);
        view.knownCommand = word.empty() && entry.name.empty();
        return view;
    }

    RowView view;
    view.commandIndex = index;
    view.knownCommand = true;
    view.commandText = entry.name;
    view.commandTooltip = entry.description;

    const int count = entry.argumentCount;
    for (int k = 0; k < 4; ++k) {
        RowView::Field &field = view.fields[static_cast<std::size_t>(k)];
        const std::string &value = table.argument(row, k);
        if (k < count || !value.empty()) {
            field.visible = true;
            field.text = value;
            field.tooltip = entry.argumentLabels[static_cast<std::size_t>(k) + 1];
        }
    }
    view.layoutCount = count;

    if (entry.argumentTypes[1] == kTypeStringsEntry) {
        RowView::Field &first = view.fields[0];
        first.visible = false;
        view.stringsChooser = true;
        view.stringsText = first.text;
        view.stringsIndex = strings.find(first.text);
        if (view.stringsIndex >= 0) {
            // Picking the entry copies its own spelling into the argument.
            view.stringsText = strings.name(view.stringsIndex);
            first.text = view.stringsText;
            view.stringsTooltip = strings.text(view.stringsIndex);
        }
    }
    return view;
}

RowTexts textsOf(const RowView &view)
{
    RowTexts texts;
    texts.command = view.commandText;
    for (std::size_t k = 0; k < 4; ++k)
        texts.arguments[k] = view.fields[k].text;
    return texts;
}

RowTexts textsOf(RowView &&view)
{
    RowTexts texts;
    texts.command = std::move(view.commandText);
    for (std::size_t k = 0; k < 4; ++k)
        texts.arguments[k] = std::move(view.fields[k].text);
    return texts;
}

namespace {

bool startsWithBlank(std::string_view text)
{
    return !text.empty() && (text.front() == ' ' || text.front() == '\t');
}

// Appends the line a row is written as, without its line end; nothing for a row without
// a command. The text after a "#" (a comment row's text, or the argument after a "#"
// argument) is what followed the "#" when the line was read, blanks included: it gets a
// separating blank only when it has none of its own, so that reading and writing a
// line again gives the same line.
} // namespace

void appendScriptLine(std::string &out, const RowTexts &row)
{
    if (row.command.empty())
        return;
    out += row.command;
    bool afterHash = row.command == "#";
    for (const std::string &argument : row.arguments) {
        if (argument.empty())
            continue;
        if (!(afterHash && startsWithBlank(argument)))
            out += ' ';
        out += argument;
        afterHash = argument == "#";
    }
}

namespace {

std::string lineOf(const RowTexts &row)
{
    std::string line;
    appendScriptLine(line, row);
    return line;
}

} // namespace

bool readsBack(std::string_view line)
{
    // A CR or LF inside a text would end the line early when it is read back; the
    // pieces are then lines of their own, each of which must split.
    LineReader reader(line, LineEnds::Any);
    std::string_view piece;
    while (reader.next(piece)) {
        if (!splitLine(piece, SplitMode::FullSplit))
            return false;
    }
    return true;
}

std::string writeScript(const std::vector<RowTexts> &rows)
{
    // Sized once: a script of megabytes is not copied on every growth.
    std::size_t size = 2;
    for (const RowTexts &row : rows) {
        size += row.command.size() + 2;
        for (const std::string &argument : row.arguments)
            size += argument.size() + 1;
    }
    std::string bytes;
    bytes.reserve(size);
    for (const RowTexts &row : rows) {
        if (row.command.empty())
            continue;
        appendScriptLine(bytes, row);
        bytes += "\r\n";
    }
    bytes += "\r\n";
    return bytes;
}

std::string rowsAsLines(const std::vector<RowTexts> &rows)
{
    std::string bytes;
    for (const RowTexts &row : rows) {
        appendScriptLine(bytes, row);
        bytes += "\r\n";
    }
    return bytes;
}

int firstUnreadableRow(const std::vector<RowTexts> &rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (!readsBack(lineOf(rows[r])))
            return static_cast<int>(r);
    }
    return -1;
}

} // namespace cw
