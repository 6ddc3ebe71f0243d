#include "core/script/ScriptRows.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Folding.h"
#include "core/catalogue/Tokenizer.h"
#include "core/script/ScriptLines.h"
#include "core/strings/StringsTable.h"
#include "core/text/LineReader.h"

namespace cw {

RowView showRow(const ScriptLineTable &table, int row, const Catalogue &catalogue,
                const StringsTable &strings)
{
    RowView view;
    const std::string &word = table.word(row);
    std::string folded = word;
    const int index = catalogue.findCommand(folded);
    const CommandDefinition &entry = catalogue.entry(index);
    view.commandIndex = index;
    view.knownCommand = index != 0 || word.empty() || foldedEqual(word, entry.name);
    view.commandText = view.knownCommand ? entry.name : word;
    view.commandTooltip = entry.description;

    const int count = entry.argumentCount;
    for (int k = 0; k < 4; ++k) {
        RowView::Field &field = view.fields[static_cast<std::size_t>(k)];
        const std::string &value = table.argument(row, k);
        if (k < count || !value.empty()) {
            field.visible = true;
            field.text = value;
            field.tooltip = entry.argumentLabels[static_cast<std::size_t>(k + 1)];
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

namespace {

// The line a row is written as, without its line end; empty for a row without a command.
std::string lineOf(const RowTexts &row)
{
    std::string line;
    if (row.command.empty())
        return line;
    line = row.command;
    for (const std::string &argument : row.arguments) {
        if (!argument.empty()) {
            line += ' ';
            line += argument;
        }
    }
    return line;
}

} // namespace

std::string writeScript(const std::vector<RowTexts> &rows)
{
    std::string bytes;
    for (const RowTexts &row : rows) {
        if (row.command.empty())
            continue;
        bytes += lineOf(row);
        bytes += "\r\n";
    }
    bytes += "\r\n";
    return bytes;
}

std::string rowsAsLines(const std::vector<RowTexts> &rows)
{
    std::string bytes;
    for (const RowTexts &row : rows) {
        bytes += lineOf(row);
        bytes += "\r\n";
    }
    return bytes;
}

int firstUnreadableRow(const std::vector<RowTexts> &rows)
{
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string line = lineOf(rows[r]);
        // A CR or LF inside a text would end the line early when it is read back;
        // the pieces are then lines of their own, each of which must split.
        LineReader reader(line, LineEnds::Any);
        std::string_view piece;
        while (reader.next(piece)) {
            if (!splitLine(piece, SplitMode::FullSplit))
                return static_cast<int>(r);
        }
    }
    return -1;
}

} // namespace cw
