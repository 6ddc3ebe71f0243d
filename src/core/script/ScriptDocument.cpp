#include "core/script/ScriptDocument.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/Files.h"
#include "core/strings/StringsTable.h"
#include "core/text/Codepage.h"

#include <algorithm>
#include <utility>

namespace cw {
namespace {

std::string utf8(std::string_view bytes)
{
    return cp1252::toUtf8(bytes);
}

// Plain ASCII is UTF-8 already: it is moved, not copied, so that a line of megabytes
// is held once.
std::string utf8(std::string &&bytes)
{
    return cp1252::isAscii(bytes) ? std::move(bytes) : cp1252::toUtf8(bytes);
}

// The texts the writer reads of a row: its command and its four argument texts.
RowTexts textsOf(const ScriptRow &row)
{
    RowTexts texts{row.command, {}};
    for (std::size_t k = 0; k < row.fields.size(); ++k)
        texts.arguments[k] = row.fields[k].text;
    return texts;
}

} // namespace

ScriptDocument::ScriptDocument(const Catalogue &catalogue)
    : m_catalogue(catalogue), m_strings(std::make_shared<StringsTable>())
{
    m_entries.reserve(static_cast<std::size_t>(catalogue.entryCount()));
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const CommandDefinition &definition = catalogue.entry(i);
        EntryTexts texts;
        texts.name = utf8(definition.name);
        texts.description = utf8(definition.description);
        for (std::size_t slot = 0; slot < texts.labels.size(); ++slot)
            texts.labels[slot] = utf8(definition.argumentLabels[slot]);
        texts.argumentCount = definition.argumentCount;
        texts.firstArgumentType = definition.argumentTypes[1];
        m_entries.push_back(std::move(texts));
    }
    markSaved();
}

void ScriptDocument::setStrings(std::shared_ptr<const StringsTable> strings)
{
    m_strings = strings ? std::move(strings) : std::make_shared<StringsTable>();
    for (ScriptRow &row : m_rows) {
        row.stringsSelected = -1;
        row.stringsText = row.fields[0].text;
    }
}

Result<ScriptReadReport, ScriptReadError> ScriptDocument::load(std::string_view bytes)
{
    ScriptLineTable table;
    auto report = readScript(bytes, table);
    if (report)
        showTable(table, *report);
    return report;
}

Result<ScriptReadReport, ScriptReadError> ScriptDocument::load(std::string &&bytes)
{
    ScriptLineTable table;
    auto report = readScript(bytes, table);
    // The file's bytes go as soon as the table holds the lines.
    std::string().swap(bytes);
    if (report)
        showTable(table, *report);
    return report;
}

void ScriptDocument::showTable(ScriptLineTable &table, const ScriptReadReport &report)
{
    for (int r = 0; r < kRows; ++r) {
        RowView view = showRow(table, r, m_catalogue, *m_strings);
        // Each line's texts are held once at a time: the table's cells go as the row
        // takes them.
        for (int k = 0; k < ScriptLineTable::kCellsPerLine; ++k)
            std::string().swap(table.cell(ScriptLineTable::kCellsPerLine * r + k));
        showLine(r, std::move(view));
    }
    markSaved();
    m_linesPast100 = report.linesInUsePast100;
    m_commandsPast100 = report.commandsPast100;
    for (const ScriptReadReport::ExtraWords &extra : report.wordsPastFourth)
        mutableRow(extra.line - 1).extraWords = utf8(extra.words);
}

template<class Edit> RowsChange ScriptDocument::record(Edit edit)
{
    keepSavedLines();
    const std::array<ScriptRow, kRows> before = m_rows;
    edit();
    int first = 0;
    while (first < kRows &&
           before[static_cast<std::size_t>(first)] == m_rows[static_cast<std::size_t>(first)])
        ++first;
    if (first == kRows)
        return {};
    int last = kRows - 1;
    while (before[static_cast<std::size_t>(last)] == m_rows[static_cast<std::size_t>(last)])
        --last;
    RowsChange change;
    change.first = first;
    change.before.assign(before.begin() + first, before.begin() + last + 1);
    change.after.assign(m_rows.begin() + first, m_rows.begin() + last + 1);
    return change;
}

void ScriptDocument::undo(const RowsChange &change)
{
    keepSavedLines();
    std::copy(change.before.begin(), change.before.end(), m_rows.begin() + change.first);
}

void ScriptDocument::redo(const RowsChange &change)
{
    keepSavedLines();
    std::copy(change.after.begin(), change.after.end(), m_rows.begin() + change.first);
}

// A layout for one to four arguments places the fields it shows; other counts (none, or
// more than four) leave every field where it stood.
void ScriptDocument::layOutFields(int row, int count)
{
    if (count < 1 || count > kFields)
        return;
    for (int k = 0; k < count; ++k)
        mutableRow(row).fields[static_cast<std::size_t>(k)].laidOutFor = count;
}

// Sets a row up for the entry selected in its command chooser: its tooltip, the fields
// the entry takes with their labels and places, and the strings chooser in place of
// argument 0 for an entry whose first argument is a strings key. Texts stay.
void ScriptDocument::choose(int row, int selected)
{
    ScriptRow &r = mutableRow(row);
    const EntryTexts &e = entry(selected < 0 ? 0 : selected);
    r.commandTooltip = e.description;
    const int count = selected > 0 ? e.argumentCount : 0;
    for (int k = 0; k < kFields; ++k) {
        ScriptRow::Field &field = r.fields[static_cast<std::size_t>(k)];
        field.visible = k < count;
        if (field.visible)
            field.tooltip = e.labels[static_cast<std::size_t>(k) + 1];
    }
    layOutFields(row, count);
    if (e.firstArgumentType == kTypeStringsEntry) {
        r.fields[0].visible = false;
        r.stringsVisible = true;
        r.stringsText = r.fields[0].text;
    } else {
        r.stringsVisible = false;
    }
}

void ScriptDocument::pick(int row, int index)
{
    ScriptRow &r = mutableRow(row);
    if (index >= 0 && index < m_strings->size()) {
        r.stringsSelected = index;
        r.stringsText = utf8(m_strings->name(index));
        r.stringsTooltip = utf8(m_strings->text(index));
    } else {
        // No pick: the chooser keeps its text, which stays the value that is saved.
        r.stringsSelected = -1;
        r.stringsTooltip.clear();
    }
    r.fields[0].text = r.stringsText;
}

// A line moves by copying what its row shows into the next row; the command chooser's
// pick and the tooltips stay with the row they belong to.
void ScriptDocument::copyRow(int from, int to)
{
    const ScriptRow &source = row(from);
    ScriptRow &target = mutableRow(to);
    target.command = source.command;
    target.stringsText = source.stringsText;
    pick(to, source.stringsSelected);
    target.stringsText = source.stringsText;
    target.stringsVisible = source.stringsVisible;
    for (std::size_t k = 0; k < source.fields.size(); ++k) {
        target.fields[k].text = source.fields[k].text;
        target.fields[k].visible = source.fields[k].visible;
        target.fields[k].laidOutFor = source.fields[k].laidOutFor;
    }
    target.extraWords = source.extraWords;
}

// An emptied row shows no command, whatever entry 0 of the catalogue is, so that it is
// never written as a line; its texts stay behind its hidden fields.
void ScriptDocument::clearRow(int row)
{
    ScriptRow &r = mutableRow(row);
    r.selected = 0;
    r.command.clear();
    choose(row, 0);
    r.stringsVisible = false;
    r.extraWords.clear();
}

void ScriptDocument::showLine(int row, RowView &&view)
{
    ScriptRow &r = mutableRow(row);
    r.selected = view.knownCommand ? view.commandIndex : -1;
    r.command = utf8(std::move(view.commandText));
    r.commandTooltip = utf8(std::move(view.commandTooltip));
    for (std::size_t k = 0; k < r.fields.size(); ++k) {
        RowView::Field &shown = view.fields[k];
        ScriptRow::Field &field = r.fields[k];
        field.text = utf8(std::move(shown.text));
        if (shown.visible)
            field.tooltip = utf8(std::move(shown.tooltip));
        field.visible = shown.visible;
    }
    layOutFields(row, view.layoutCount);
    if (view.stringsChooser) {
        r.stringsSelected = view.stringsIndex;
        r.stringsText = utf8(std::move(view.stringsText));
        r.stringsTooltip = utf8(std::move(view.stringsTooltip));
        r.stringsVisible = true;
    } else {
        r.stringsVisible = false;
    }
}

RowsChange ScriptDocument::chooseCommand(int row, int entryIndex)
{
    return record([&] {
        ScriptRow &r = mutableRow(row);
        r.selected = entryIndex;
        r.command = entry(entryIndex).name;
        choose(row, entryIndex);
    });
}

RowsChange ScriptDocument::typeCommand(int row, std::string_view text)
{
    return record([&] { mutableRow(row).command = text; });
}

RowsChange ScriptDocument::setArgument(int row, int k, std::string_view text)
{
    return record([&] { mutableRow(row).fields[static_cast<std::size_t>(k)].text = text; });
}

RowsChange ScriptDocument::typeStringsText(int row, std::string_view text)
{
    return record([&] {
        ScriptRow &r = mutableRow(row);
        r.stringsText = text;
        r.fields[0].text = text;
    });
}

RowsChange ScriptDocument::pickStringsEntry(int row, int index)
{
    return record([&] { pick(row, index); });
}

RowsChange ScriptDocument::insertLine(int row)
{
    return record([&] {
        for (int i = kRows - 1; i > row; --i)
            copyRow(i - 1, i);
        clearRow(row);
    });
}

RowsChange ScriptDocument::removeLine(int row)
{
    return record([&] {
        for (int i = row; i < kRows - 1; ++i)
            copyRow(i + 1, i);
        clearRow(kRows - 1);
    });
}

RowsChange ScriptDocument::swapLines(int a, int b)
{
    return record([&] { std::swap(mutableRow(a), mutableRow(b)); });
}

ScriptDocument::Paste ScriptDocument::pasteLines(int row, std::string_view bytes)
{
    Paste paste;
    ScriptLineTable table;
    const auto report = readScript(bytes, table);
    if (!report) {
        paste.refused = true;
        return paste;
    }
    paste.lines = report->linesInFile;
    // The last line in use after the paste, pasted or pushed down, must still fit.
    int lastInUse = -1;
    for (int i = 0; i < paste.lines && i < ScriptLineTable::kMaxLines; ++i) {
        if (!showRow(table, i, m_catalogue, *m_strings).commandText.empty())
            lastInUse = row + i;
    }
    for (int r = row; r < kRows; ++r) {
        if (!this->row(r).command.empty())
            lastInUse = std::max(lastInUse, r + paste.lines);
    }
    paste.overflow = std::max(0, lastInUse - (kRows - 1));
    if (paste.overflow > 0 || paste.lines == 0)
        return paste;
    paste.change = record([&] {
        // Past kRows - row insertions every row from `row` on is empty already.
        for (int i = 0; i < std::min(paste.lines, kRows - row); ++i) {
            for (int r = kRows - 1; r > row; --r)
                copyRow(r - 1, r);
            clearRow(row);
        }
        for (int i = 0; i < paste.lines && row + i < kRows; ++i)
            showLine(row + i, showRow(table, i, m_catalogue, *m_strings));
        for (const ScriptReadReport::ExtraWords &extra : report->wordsPastFourth) {
            if (row + extra.line - 1 < kRows)
                mutableRow(row + extra.line - 1).extraWords = utf8(extra.words);
        }
    });
    return paste;
}

std::vector<RowTexts> ScriptDocument::texts() const
{
    std::vector<RowTexts> texts;
    texts.reserve(kRows);
    for (const ScriptRow &row : m_rows)
        texts.push_back(textsOf(row));
    return texts;
}

// The lines saving writes, each its command and its arguments that are not empty: two
// documents with the same lines write the same file.
std::vector<ScriptDocument::SavedLine> ScriptDocument::savedLines() const
{
    std::vector<SavedLine> lines;
    for (const ScriptRow &row : m_rows) {
        if (row.command.empty())
            continue;
        SavedLine line{row.command, {}};
        std::size_t k = 0;
        for (const ScriptRow::Field &field : row.fields) {
            if (!field.text.empty())
                line.arguments[k++] = field.text;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

bool ScriptDocument::isModified() const
{
    if (m_savedIsCurrent)
        return false;
    // Compared in place, so that an edit of a long line costs no copy of it.
    std::size_t line = 0;
    for (const ScriptRow &row : m_rows) {
        if (row.command.empty())
            continue;
        if (line >= m_saved.size() || row.command != m_saved[line].command)
            return true;
        std::size_t k = 0;
        for (const ScriptRow::Field &field : row.fields) {
            if (!field.text.empty() && field.text != m_saved[line].arguments[k++])
                return true;
        }
        if (k < 4 && !m_saved[line].arguments[k].empty())
            return true;
        ++line;
    }
    return line != m_saved.size();
}

void ScriptDocument::markSaved()
{
    // The rows are the saved state until the next edit, which takes a copy of their
    // lines first: a document that is only read and written (fmt) never holds two.
    std::vector<SavedLine>().swap(m_saved);
    m_savedIsCurrent = true;
    m_linesPast100 = 0;
    m_commandsPast100 = 0;
    for (ScriptRow &row : m_rows)
        row.extraWords.clear();
}

ScriptDocument::Losses ScriptDocument::lossesOnSave() const
{
    Losses losses{m_linesPast100, m_commandsPast100, {}};
    for (int r = 0; r < kRows; ++r) {
        if (!row(r).extraWords.empty() && !row(r).command.empty())
            losses.words.push_back({r, row(r).extraWords});
    }
    return losses;
}

void ScriptDocument::keepSavedLines()
{
    if (!m_savedIsCurrent)
        return;
    m_saved = savedLines();
    m_savedIsCurrent = false;
}

namespace {

// A text in the code page of the files, or nothing when it holds a character the code
// page cannot hold. Plain ASCII is the same in both and is moved, not copied.
std::optional<std::string> fileBytes(std::string &&text)
{
    if (cp1252::isAscii(text))
        return std::move(text);
    return cp1252::fromUtf8(text);
}

// A row's texts in the code page of the files, or nothing when one holds a character
// the code page cannot hold.
std::optional<RowTexts> encodeRow(RowTexts texts)
{
    auto command = fileBytes(std::move(texts.command));
    if (!command)
        return std::nullopt;
    texts.command = std::move(*command);
    for (std::string &text : texts.arguments) {
        auto argument = fileBytes(std::move(text));
        if (!argument)
            return std::nullopt;
        text = std::move(*argument);
    }
    return texts;
}

// The bytes of the rows whose texts `textsAt(r)` gives, r from 0 to 99, as Save Script
// writes them.
template<class TextsAt> Result<std::string, ScriptWriteError> writeRows(TextsAt textsAt)
{
    std::string bytes;
    for (int r = 0; r < ScriptDocument::kRows; ++r) {
        RowTexts texts = textsAt(r);
        if (texts.command.empty())
            continue;
        const auto encoded = encodeRow(std::move(texts));
        if (!encoded)
            return ScriptWriteError{ScriptWriteError::Cause::NotEncodable, r};
        const std::size_t start = bytes.size();
        appendScriptLine(bytes, *encoded);
        if (!readsBack(std::string_view(bytes).substr(start)))
            return ScriptWriteError{ScriptWriteError::Cause::TooManyWords, r};
        bytes += "\r\n";
        if (bytes.size() + 2 > kMaxFileBytes)
            return ScriptWriteError{ScriptWriteError::Cause::TooLarge, r};
    }
    bytes += "\r\n";
    return bytes;
}

} // namespace

Result<std::string, ScriptWriteError> scriptBytes(const ScriptDocument &document)
{
    return writeRows([&document](int r) { return textsOf(document.row(r)); });
}

Result<std::string, ScriptWriteError> ScriptDocument::takeScriptBytes()
{
    // Each row goes as it is written, so that the rows and the file's bytes together
    // hold a script about once.
    return writeRows([this](int r) {
        ScriptRow row = std::exchange(mutableRow(r), ScriptRow{});
        RowTexts texts{row.command.take(), {}};
        for (std::size_t k = 0; k < row.fields.size(); ++k)
            texts.arguments[k] = row.fields[k].text.take();
        return texts;
    });
}

Result<std::string, ScriptWriteError> lineBytes(const ScriptDocument &document, int row)
{
    const auto bytes = encodeRow(textsOf(document.row(row)));
    if (!bytes)
        return ScriptWriteError{ScriptWriteError::Cause::NotEncodable, row};
    if (bytes->command.empty())
        return std::string("\r\n");
    // The file of one line, without the empty line that ends every saved script.
    std::string line = writeScript({*bytes});
    line.resize(line.size() - 2);
    return line;
}

} // namespace cw
