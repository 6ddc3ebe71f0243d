#include "core/find/ModEdit.h"

#include "core/catalogue/Catalogue.h"
#include "core/check/Checker.h"
#include "core/io/Files.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"
#include "core/text/GameText.h"
#include "core/text/LineReader.h"
#include "core/workspace/ModFiles.h"

#include <algorithm>
#include <array>

namespace cw::find {
namespace {

// The names a Say finds a key under, and the ones the game builds them from.
constexpr std::array<std::string_view, 9> kKeyVariants = {
    "", "_kbd", "_xin", "_icons", "_1mb", "_icons_kbd", "_icons_xin", "_1mb_kbd", "_1mb_xin"};

bool endsWithNoCase(std::string_view word, std::string_view end)
{
    return word.size() >= end.size() && equalNoCase(word.substr(word.size() - end.size()), end);
}

// Whether `word` names `key` or one of its variants.
bool formOf(std::string_view word, std::string_view key)
{
    if (word.size() < key.size() || !equalNoCase(word.substr(0, key.size()), key))
        return false;
    const std::string_view rest = word.substr(key.size());
    return std::any_of(kKeyVariants.begin(), kKeyVariants.end(),
                       [&](std::string_view variant) { return equalNoCase(rest, variant); });
}

std::size_t offsetIn(std::string_view whole, std::string_view part)
{
    return static_cast<std::size_t>(part.data() - whole.data());
}

std::string spliced(std::string_view bytes, const std::vector<const Splice *> &splices, std::size_t base)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t at = 0;
    for (const Splice *splice : splices) {
        const std::size_t offset = splice->offset - base;
        out.append(bytes.substr(at, offset - at));
        out += splice->bytes;
        at = offset + splice->length;
    }
    out.append(bytes.substr(at));
    return out;
}

// A line's change from splices made at offsets within the line.
LineChange lineChange(std::string_view bytes, std::string_view line, int number, std::vector<Splice> splices)
{
    const std::size_t base = offsetIn(bytes, line);
    std::vector<const Splice *> inLine;
    for (Splice &splice : splices) {
        inLine.push_back(&splice);
        splice.offset += base;
    }
    LineChange change{number, cp1252::toUtf8(line), cp1252::toUtf8(spliced(line, inLine, base)), {}};
    change.splices = std::move(splices);
    return change;
}

// Plans a change line by line: `splicesOf` gives the splices of one line, at offsets
// within it, in order.
template<class SplicesOf>
std::optional<FileChange> planLines(const fs::path &file, ReadFile read, const SplicesOf &splicesOf)
{
    FileChange change{file, std::move(read.bytes), read.stamp, {}};
    LineReader reader(change.bytes, LineEnds::Any);
    std::string_view line;
    while (reader.next(line)) {
        std::vector<Splice> splices = splicesOf(line);
        if (!splices.empty())
            change.lines.push_back(lineChange(change.bytes, line, reader.lineNumber(), std::move(splices)));
    }
    if (change.lines.empty())
        return std::nullopt;
    return change;
}

ModChange planFiles(const ModFiles &files, const std::vector<fs::path> &searched, Replan replan)
{
    ModChange change;
    for (const fs::path &file : searched) {
        auto read = stamped(file, readFile(file, files.boundary()));
        if (!read) {
            change.unread.push_back(read.error());
            continue;
        }
        if (auto planned = replan(file, std::move(read).value()))
            change.files.push_back(std::move(*planned));
    }
    change.replan = std::move(replan);
    return change;
}

std::string quotedKey(std::string_view key)
{
    return "\"" + std::string(key) + "\"";
}

std::vector<CommandDefinition> keyCommands(const Catalogue &catalogue)
{
    int last = -1;
    for (int i = 0; i < catalogue.entryCount(); ++i) {
        const CommandDefinition &command = catalogue.entry(i);
        for (int k = 1; k <= 4 && k <= command.argumentCount; ++k) {
            if (command.argumentTypes[static_cast<std::size_t>(k)] == kTypeStringsEntry)
                last = i;
        }
    }
    std::vector<CommandDefinition> commands;
    for (int i = 0; i <= last; ++i)
        commands.push_back(catalogue.entry(i));
    return commands;
}

// How one key is renamed, in a strings file or a script.
struct KeyRename
{
    std::string from; // both in the code page
    std::string to;
    // The catalogue's entries up to the last that takes a strings key, so that a
    // command's first entry is the one found.
    std::vector<CommandDefinition> sayers;
    std::vector<fs::path> stringsFiles;

    Splice renamed(std::string_view line, std::string_view word) const
    {
        return {offsetIn(line, word), from.size(), to};
    }

    std::vector<Splice> inStringsLine(std::string_view line) const
    {
        std::vector<Splice> splices;
        const GameStringsLine read = readGameStringsLine(line);
        if (formOf(read.key, from))
            splices.push_back(renamed(line, read.key));
        // Phrases: "[name]", but not the key markers "[KEYx]" the game reads first.
        const std::string_view text = read.text;
        for (std::size_t open = text.find('['); open != std::string_view::npos;
             open = text.find('[', open + 1)) {
            const std::size_t close = text.find(']', open + 1);
            if (close == std::string_view::npos)
                break;
            const std::string_view marker = text.substr(open + 1, close - open - 1);
            if (!marker.starts_with("KEY") && formOf(marker, from))
                splices.push_back(renamed(line, marker));
            open = close;
        }
        return splices;
    }

    std::vector<Splice> inScriptLine(std::string_view line) const
    {
        std::vector<Splice> splices;
        const std::vector<std::string_view> words = gameWords(line);
        if (words.empty())
            return splices;
        // Looked up as the game does: the first entry of that name in any ASCII case.
        const auto command = std::find_if(sayers.begin(), sayers.end(), [&](const CommandDefinition &c) {
            return equalNoCase(c.name, words.front());
        });
        if (command == sayers.end())
            return splices;
        const std::size_t last = std::min<std::size_t>(words.size() - 1, 4);
        for (std::size_t k = 1; k <= last; ++k) {
            if (static_cast<int>(k) <= command->argumentCount &&
                command->argumentTypes[k] == kTypeStringsEntry && formOf(words[k], from))
                splices.push_back(renamed(line, words[k]));
        }
        return splices;
    }

    std::optional<FileChange> plan(const fs::path &file, ReadFile read) const
    {
        if (std::find(stringsFiles.begin(), stringsFiles.end(), file) != stringsFiles.end())
            return planLines(file, std::move(read),
                             [this](std::string_view line) { return inStringsLine(line); });
        return planLines(file, std::move(read), [this](std::string_view line) { return inScriptLine(line); });
    }
};

// Whether the mod's strings files define `from`, and whether another of their keys is
// named `to` already.
struct KeysFound
{
    bool defined = false;
    bool taken = false;
};

KeysFound keysIn(const ModFiles &files, const std::vector<fs::path> &stringsFiles, std::string_view from,
                 std::string_view to, bool sameKey)
{
    KeysFound found;
    for (const fs::path &file : stringsFiles) {
        auto bytes = readFile(file, files.boundary());
        if (!bytes)
            continue;
        LineReader reader(*bytes, LineEnds::Any);
        std::string_view line;
        while (reader.next(line)) {
            const std::string_view key = readGameStringsLine(line).key;
            if (formOf(key, from))
                found.defined = true;
            else if (!sameKey && formOf(key, to))
                found.taken = true;
        }
    }
    return found;
}

std::optional<std::string> renameProblem(const KeysFound &found, const GameStrings *strings,
                                         std::string_view oldKey, std::string_view newKey, bool sameKey)
{
    const auto gameHas = [&](std::string_view key) {
        return strings && strings->say(key).found == GameStrings::Found::Text;
    };
    if (!found.defined && gameHas(oldKey))
        return "only the game's own table defines " + quotedKey(oldKey) + ", so it is not renamed";
    if (!found.defined)
        return "no strings file of the mod defines " + quotedKey(oldKey);
    if (found.taken)
        return "another key of the mod is named " + quotedKey(newKey) + " already";
    if (!sameKey && gameHas(newKey))
        return "the game's own table has a key named " + quotedKey(newKey) + " already";
    return std::nullopt;
}

Result<FileStamp, IoError> writeOne(const ModFiles &files, const fs::path &file, std::string_view bytes,
                                    const FileStamp &expected, ChangeWritten &out)
{
    if (!sameFile(file, files.stringsFile()))
        return files.writeFile(file, bytes, expected);
    auto saved = files.writeStrings(bytes, expected);
    if (!saved)
        return saved.error();
    if (saved->backupFailed)
        out.backupFailed.push_back(*saved->backupFailed);
    return saved->stamp;
}

} // namespace

std::string FileChange::changedBytes() const
{
    std::vector<const Splice *> splices;
    for (const LineChange &line : lines) {
        for (const Splice &splice : line.splices)
            splices.push_back(&splice);
    }
    return spliced(bytes, splices, 0);
}

int ModChange::lineCount() const
{
    std::size_t count = 0;
    for (const FileChange &file : files)
        count += file.lines.size();
    return static_cast<int>(count);
}

Result<ModChange, std::string> planReplace(const ModFiles &files, std::string_view text,
                                           std::string_view replacement, const Options &options)
{
    const std::optional<std::string> wanted = cp1252::fromUtf8(text);
    const std::optional<std::string> with = cp1252::fromUtf8(replacement);
    if (text.empty())
        return std::string("there is no text to find");
    if (!wanted || !with)
        return std::string("the game's code page cannot hold ") + (wanted ? "the replacement" : "the text");
    Replan replan = [wanted = *wanted, with = *with, options](const fs::path &file, ReadFile read) {
        return planLines(file, std::move(read), [&](std::string_view line) {
            std::vector<Splice> splices;
            for (const std::size_t at : matchesIn(line, wanted, options))
                splices.push_back({at, wanted.size(), with});
            return splices;
        });
    };
    return planFiles(files, searchedFiles(files.folder()), std::move(replan));
}

std::optional<std::string> keyNameProblem(std::string_view name)
{
    const std::optional<std::string> bytes = cp1252::fromUtf8(name);
    if (name.empty())
        return std::string("a key needs a name");
    if (!bytes)
        return std::string("the game's code page cannot hold it");
    for (const char c : *bytes) {
        if (isGameSeparator(c) || static_cast<unsigned char>(c) < 0x20)
            return std::string("a key cannot hold a blank, \":\" or \",\"");
        if (c == '#')
            return std::string("a key cannot hold \"#\"");
        if (c == '[' || c == ']')
            return std::string("a key cannot hold \"[\" or \"]\"");
    }
    if (endsWithNoCase(*bytes, "_kbd") || endsWithNoCase(*bytes, "_xin"))
        return std::string("the game never looks up a key that ends in _kbd or _xin");
    return std::nullopt;
}

Result<ModChange, std::string> planRenameKey(const ModFiles &files, const Catalogue &catalogue,
                                             std::string_view oldKey, std::string_view newKey,
                                             const GameStrings *strings)
{
    if (const auto problem = keyNameProblem(newKey))
        return quotedKey(newKey) + " cannot be a key: " + *problem;
    const std::optional<std::string> from = cp1252::fromUtf8(oldKey);
    if (!from || from->empty())
        return "no strings file of the mod defines " + quotedKey(oldKey);
    const std::string to = *cp1252::fromUtf8(newKey);
    const bool sameKey = equalNoCase(*from, to);
    if (!sameKey && (formOf(to, *from) || formOf(*from, to)))
        return quotedKey(newKey) + " is a variant of " + quotedKey(oldKey) +
               ": one would be renamed with the other";
    KeyRename rename{*from, to, keyCommands(catalogue), check::modStringsFiles(files.folder())};
    const KeysFound found = keysIn(files, rename.stringsFiles, *from, to, sameKey);
    if (auto problem = renameProblem(found, strings, oldKey, newKey, sameKey))
        return std::move(*problem);
    std::vector<fs::path> searched = scriptFiles(files.folder());
    searched.insert(searched.end(), rename.stringsFiles.begin(), rename.stringsFiles.end());
    return planFiles(files, searched, [rename = std::move(rename)](const fs::path &file, ReadFile read) {
        return rename.plan(file, std::move(read));
    });
}

ChangeWritten writeChange(const ModFiles &files, const std::vector<FileChange> &change)
{
    ChangeWritten out;
    for (const FileChange &file : change) {
        auto written = writeOne(files, file.file, file.changedBytes(), file.stamp, out);
        if (written)
            out.written.push_back({file.file, file.bytes, *written});
        else
            out.failed.push_back(written.error());
    }
    return out;
}

Result<ChangeWritten, std::vector<std::filesystem::path>> undoChange(const ModFiles &files,
                                                                     const std::vector<WrittenFile> &written)
{
    std::vector<fs::path> changed;
    for (const WrittenFile &file : written) {
        if (diskState(file.file, file.written, Compare::Bytes) != DiskState::Unchanged)
            changed.push_back(file.file);
    }
    if (!changed.empty())
        return changed;
    ChangeWritten out;
    for (const WrittenFile &file : written) {
        // What undoing replaces is what the change wrote; kept, so that it can be put back.
        auto now = readFile(file.file, files.boundary());
        auto put = now ? writeOne(files, file.file, file.before, file.written, out)
                       : Result<FileStamp, IoError>(now.error());
        if (put)
            out.written.push_back({file.file, std::move(now).value(), *put});
        else
            out.failed.push_back(put.error());
    }
    return out;
}

} // namespace cw::find
