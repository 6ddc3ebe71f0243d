#include "core/script/ScriptDocument.h"

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Tokenizer.h"
#include "core/io/Files.h"
#include "core/strings/StringsTable.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"
#include "core/text/LineReader.h"

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
    return fill(readScript(bytes));
}

Result<ScriptReadReport, ScriptReadError> ScriptDocument::load(std::string &&bytes)
{
    auto read = readScript(bytes);
    // The file's bytes go as soon as the lines are split.
    std::string().swap(bytes);
    return fill(std::move(read));
}

Result<ScriptReadReport, ScriptReadError> ScriptDocument::fill(Result<ScriptRead, ScriptReadError> read)
{
    if (!read)
        return read.error();
    std::vector<LineWords> &lines = read->lines;
    for (int r = 0; r < kRows; ++r) {
        // Each line's texts are held once at a time: the row takes them from the read.
        fillRow(r, r < static_cast<int>(lines.size()) ? std::move(lines[static_cast<std::size_t>(r)])
                                                      : LineWords{});
    }
    markSaved();
    const ScriptReadReport &report = read->report;
    m_linesPast100 = report.linesInUsePast100;
    m_commandsPast100 = report.commandsPast100;
    for (const ScriptReadReport::ExtraWords &extra : report.wordsPastFourth)
        mutableRow(extra.line - 1).extraWords = utf8(extra.words);
    keepOriginalLines(report, 0);
    return std::move(read->report);
}

void ScriptDocument::keepOriginalLines(const ScriptReadReport &report, int firstRow)
{
    for (const ScriptReadReport::GluedHash &glued : report.gluedHash) {
        const int r = firstRow + glued.line - 1;
        if (r < kRows)
            mutableRow(r).originalLine = utf8(glued.text);
    }
}

void ScriptDocument::edited(int row)
{
    mutableRow(row).originalLine.clear();
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
    target.originalLine = source.originalLine;
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
    r.originalLine.clear();
}

// Sets a row up for one line as read, as the loader does. The command word is looked up
// without regard to case. A word that names no entry keeps its own text and its
// arguments, so that saving writes the line back as it was, and shows the fields up to
// its last argument, laid out for that many; an empty line is an empty row whatever
// entry 0 is. A first argument that names a strings entry takes the entry's own
// spelling. Only the fields shown get new tooltips.
void ScriptDocument::fillRow(int row, LineWords &&words)
{
    ScriptRow &r = mutableRow(row);
    r.originalLine.clear();
    const int index = m_catalogue.find(words[0]);
    // Entry 0 stands for "no command" only when the user picks it: a line names it only
    // by its own name, and an empty line is always an empty row.
    const bool known = !words[0].empty() && (index != 0 || foldedEqual(words[0], m_catalogue.entry(0).name));
    const EntryTexts &e = entry(known ? index : 0);
    int layout = 0;
    if (known) {
        r.selected = index;
        r.command = e.name;
        r.commandTooltip = e.description;
        layout = e.argumentCount;
    } else {
        r.selected = words[0].empty() && m_catalogue.entry(index).name.empty() ? 0 : -1;
        r.command = utf8(std::move(words[0]));
        r.commandTooltip.clear();
        for (int k = 0; k < kFields; ++k) {
            if (!words[static_cast<std::size_t>(k) + 1].empty())
                layout = k + 1;
        }
    }
    const bool strings = known && e.firstArgumentType == kTypeStringsEntry;
    const int found = strings ? m_strings->find(words[1]) : -1;
    for (int k = 0; k < kFields; ++k) {
        ScriptRow::Field &field = r.fields[static_cast<std::size_t>(k)];
        std::string &text = words[static_cast<std::size_t>(k) + 1];
        field.visible = known ? k < e.argumentCount || !text.empty() : k < layout;
        if (field.visible && !(strings && k == 0))
            field.tooltip = known ? e.labels[static_cast<std::size_t>(k) + 1] : SharedText();
        field.text = utf8(std::move(text));
    }
    layOutFields(row, layout);
    r.stringsVisible = strings;
    if (strings) {
        ScriptRow::Field &first = r.fields[0];
        first.visible = false;
        r.stringsSelected = found;
        // Picking the entry copies its own spelling into the argument.
        if (found >= 0)
            first.text = utf8(m_strings->name(found));
        r.stringsTooltip = found >= 0 ? SharedText(utf8(m_strings->text(found))) : SharedText();
        r.stringsText = first.text;
    }
}

RowsChange ScriptDocument::chooseCommand(int row, int entryIndex)
{
    return record([&] {
        ScriptRow &r = mutableRow(row);
        r.selected = entryIndex;
        if (r.command != entry(entryIndex).name)
            edited(row);
        r.command = entry(entryIndex).name;
        choose(row, entryIndex);
    });
}

RowsChange ScriptDocument::together(const std::function<void()> &edits)
{
    return record(edits);
}

RowsChange ScriptDocument::typeCommand(int row, std::string_view text)
{
    return record([&] {
        if (mutableRow(row).command != text)
            edited(row);
        mutableRow(row).command = text;
    });
}

RowsChange ScriptDocument::setArgument(int row, int k, std::string_view text)
{
    return record([&] {
        SharedText &field = mutableRow(row).fields[static_cast<std::size_t>(k)].text;
        if (field != text)
            edited(row);
        field = text;
    });
}

RowsChange ScriptDocument::typeStringsText(int row, std::string_view text)
{
    return record([&] {
        ScriptRow &r = mutableRow(row);
        if (r.fields[0].text != text)
            edited(row);
        r.stringsText = text;
        r.fields[0].text = text;
    });
}

RowsChange ScriptDocument::pickStringsEntry(int row, int index)
{
    return record([&] {
        const SharedText before = this->row(row).fields[0].text;
        pick(row, index);
        if (this->row(row).fields[0].text != before)
            edited(row);
    });
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
    auto read = readScript(bytes);
    if (!read) {
        paste.refused = true;
        return paste;
    }
    std::vector<LineWords> &lines = read->lines;
    const ScriptReadReport &report = read->report;
    paste.lines = report.linesInFile;
    // The last line in use after the paste, pasted or pushed down, must still fit.
    int lastInUse = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i][0].empty())
            lastInUse = row + static_cast<int>(i);
    }
    // Lines after those a read splits are never shown: one that is not blank is in use,
    // so that no command is dropped without a word.
    if (report.lastLineInUse > static_cast<int>(lines.size()))
        lastInUse = std::max(lastInUse, row + report.lastLineInUse - 1);
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
            fillRow(row + i, std::move(lines[static_cast<std::size_t>(i)]));
        for (const ScriptReadReport::ExtraWords &extra : report.wordsPastFourth) {
            if (row + extra.line - 1 < kRows)
                mutableRow(row + extra.line - 1).extraWords = utf8(extra.words);
        }
        keepOriginalLines(report, row);
    });
    return paste;
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
        if (!row(r).extraWords.empty() && !row(r).command.empty() && row(r).originalLine.empty())
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

bool startsWithBlank(std::string_view text)
{
    return !text.empty() && (text.front() == ' ' || text.front() == '\t');
}

// Appends the line a row is written as, in the row's own UTF-8 texts. The text after a
// "#" is what followed the "#" when the line was read, blanks included: it gets a
// separating blank only when it has none of its own, so that reading and writing a
// line again gives the same line.
void appendLine(std::string &out, const ScriptRow &row)
{
    if (row.command.empty())
        return;
    if (!row.originalLine.empty()) {
        out += row.originalLine.str();
        return;
    }
    out += row.command.str();
    bool afterHash = row.command == "#";
    for (const ScriptRow::Field &field : row.fields) {
        const std::string &argument = field.text;
        if (argument.empty())
            continue;
        if (!(afterHash && startsWithBlank(argument)))
            out += ' ';
        out += argument;
        afterHash = argument == "#";
    }
}

// Turns the UTF-8 text of `bytes` from `start` on into the code page of the files; false
// when it holds a character the code page cannot hold. Plain ASCII is the same in both
// and is left as it is, so that a line of megabytes is not copied.
bool encodeFrom(std::string &bytes, std::size_t start)
{
    const std::string_view text = std::string_view(bytes).substr(start);
    if (cp1252::isAscii(text))
        return true;
    auto encoded = cp1252::fromUtf8(text);
    if (!encoded)
        return false;
    bytes.replace(start, std::string::npos, *encoded);
    return true;
}

// Whether a written line reads back as the row it was written from: none of its pieces
// (a CR or LF in a text ends a line) holds more than 21 words.
bool readsBack(std::string_view line)
{
    LineReader reader(line, LineEnds::Any);
    std::string_view piece;
    while (reader.next(piece)) {
        if (!splitLine(piece, SplitMode::FullSplit))
            return false;
    }
    return true;
}

// The one way rows become a script file's bytes, for Save (scriptBytes) and fmt
// (takeScriptBytes). `written(r)` is told each row once its line is written.
template<class Written>
Result<std::string, ScriptWriteError> writeRows(const std::array<ScriptRow, ScriptDocument::kRows> &rows,
                                                Written written)
{
    std::string bytes;
    for (int r = 0; r < ScriptDocument::kRows; ++r) {
        const std::size_t start = bytes.size();
        appendLine(bytes, rows[static_cast<std::size_t>(r)]);
        if (bytes.size() > start) {
            if (!encodeFrom(bytes, start))
                return ScriptWriteError{ScriptWriteError::Cause::NotEncodable, r};
            if (!readsBack(std::string_view(bytes).substr(start)))
                return ScriptWriteError{ScriptWriteError::Cause::TooManyWords, r};
            bytes += "\r\n";
            if (bytes.size() + 2 > kMaxFileBytes)
                return ScriptWriteError{ScriptWriteError::Cause::TooLarge, r};
        }
        written(r);
    }
    bytes += "\r\n";
    return bytes;
}

} // namespace

Result<std::string, ScriptWriteError> scriptBytes(const ScriptDocument &document)
{
    return writeRows(document.rows(), [](int) {});
}

Result<std::string, ScriptWriteError> ScriptDocument::takeScriptBytes()
{
    // Each row goes once it is written, so that the rows and the file's bytes together
    // hold a script about once.
    return writeRows(m_rows, [this](int r) { mutableRow(r) = ScriptRow{}; });
}

std::string lineText(const ScriptRow &row)
{
    std::string line;
    appendLine(line, row);
    return line;
}

Result<std::string, ScriptWriteError> lineBytes(const ScriptDocument &document, int row)
{
    std::string line = lineText(document.row(row));
    if (!encodeFrom(line, 0))
        return ScriptWriteError{ScriptWriteError::Cause::NotEncodable, row};
    line += "\r\n";
    return line;
}

} // namespace cw
