#include "cli/Tools.h"

#include "cli/Arguments.h"
#include "cli/CheckTool.h"
#include "cli/Json.h"
#include "core/catalogue/Tokenizer.h"
#include "core/io/Files.h"
#include "core/script/ScriptLines.h"
#include "core/script/ScriptRows.h"
#include "core/strings/StringsTable.h"
#include "core/text/Codepage.h"
#include "core/text/LineReader.h"
#include "core/workspace/GameRoot.h"

#include <ostream>

namespace cw::cli {
namespace {

std::vector<std::string> slotsAsUtf8(const TokenSlots &slots)
{
    std::vector<std::string> out;
    for (int i = 0; i < slots.usedCount(); ++i)
        out.push_back(cp1252::toUtf8(slots[i]));
    return out;
}

int runTokens(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const Arguments parsed = parse(args, {}, {"--strings"});
    if (!parsed.problem.empty())
        return usageError(err, "tokens", parsed.problem);
    if (parsed.positional.size() != 1)
        return usageError(err, "tokens", "expects exactly one FILE");
    const fs::path file = pathFromName(parsed.positional.front());
    auto bytes = readFile(file);
    if (!bytes) {
        err << "cuewright tokens: cannot read " << parsed.positional.front() << ": " << bytes.error().reason
            << "\n";
        return kExitUnusable;
    }
    const SplitMode mode = parsed.has("--strings") ? SplitMode::KeyAndRest : SplitMode::FullSplit;
    bool refused = false;
    LineReader reader(*bytes, LineEnds::Any);
    std::string_view line;
    while (reader.next(line)) {
        json::Object object;
        object.field("line", reader.lineNumber());
        auto split = splitLine(line, mode);
        if (split) {
            object.field("slots", slotsAsUtf8(*split));
        } else {
            refused = true;
            object.field("error", cp1252::toUtf8(withoutExiting(split.error().message)));
        }
        out << object.str() << "\n";
    }
    return refused ? kExitFindings : kExitOk;
}

int runCommands(const std::vector<std::string> &args, const fs::path &defaultRoot, std::ostream &out,
                std::ostream &err)
{
    const Arguments parsed = parse(args, {"--root"}, {});
    if (!parsed.problem.empty())
        return usageError(err, "commands", parsed.problem);
    if (!parsed.positional.empty())
        return usageError(err, "commands", "takes no file names");
    auto catalogue = loadCatalogueOf(rootFrom(parsed, defaultRoot));
    if (!catalogue) {
        err << "cuewright commands: " << catalogue.error().detail << "\n";
        return kExitUnusable;
    }
    for (int index = 0; index < catalogue->entryCount(); ++index) {
        const CommandDefinition &entry = catalogue->entry(index);
        std::vector<int> types;
        std::vector<std::string> labels;
        for (std::size_t slot = 1; slot <= 4; ++slot) {
            types.push_back(entry.argumentTypes[slot]);
            labels.push_back(cp1252::toUtf8(entry.argumentLabels[slot]));
        }
        out << json::Object()
                   .field("index", index)
                   .field("name", cp1252::toUtf8(entry.name))
                   .field("description", cp1252::toUtf8(entry.description))
                   .field("count", entry.argumentCount)
                   .field("types", types)
                   .field("labels", labels)
                   .str()
            << "\n";
    }
    return kExitOk;
}

// The script and strings table of one mod, found as the editor finds them.
struct ModFiles
{
    fs::path script;
    fs::path strings;
};

ModFiles modFiles(const fs::path &root, const std::string &mod, const std::string &script)
{
    const fs::path modFolder = findNoCase(findNoCase(root, "mods"), mod);
    return ModFiles{findNoCase(findNoCase(modFolder, "scripts"), script),
                    findNoCase(modFolder, "strings_default.txt")};
}

int runFmt(const std::vector<std::string> &args, const fs::path &defaultRoot, std::ostream &out,
           std::ostream &err)
{
    const Arguments parsed = parse(args, {"--root"}, {"--in-place"});
    if (!parsed.problem.empty())
        return usageError(err, "fmt", parsed.problem);
    if (parsed.positional.size() != 2)
        return usageError(err, "fmt", "expects MOD and SCRIPT");
    const fs::path root = rootFrom(parsed, defaultRoot);
    auto catalogue = loadCatalogueOf(root);
    if (!catalogue) {
        err << "cuewright fmt: " << catalogue.error().detail << "\n";
        return kExitUnusable;
    }
    const ModFiles files = modFiles(root, parsed.positional[0], parsed.positional[1]);
    auto bytes = readFile(files.script);
    if (!bytes) {
        err << "cuewright fmt: cannot read " << nameOf(files.script) << ": " << bytes.error().reason << "\n";
        return kExitUnusable;
    }
    // Without a strings table, keys stay as they are written.
    auto stringsBytes = readFile(files.strings);
    const StringsTable strings(stringsBytes ? std::move(stringsBytes).value() : std::string());

    ScriptLineTable table;
    auto report = readScript(*bytes, table);
    if (!report) {
        err << nameOf(files.script) << ":" << report.error().line << ": "
            << withoutExiting(report.error().message) << "\n";
        return kExitUnusable;
    }
    const bool inPlace = parsed.has("--in-place");
    if (report->losesLinesPast100()) {
        err << nameOf(files.script) << ": " << report->linesInFile
            << " lines; the editor keeps only the first 100"
            << (inPlace ? ", so the file was left as it is\n" : "\n");
        if (inPlace)
            return kExitFindings;
    }
    std::vector<RowTexts> rows;
    for (int row = 0; row < 100; ++row)
        rows.push_back(textsOf(showRow(table, row, *catalogue, strings)));
    if (const int row = firstUnreadableRow(rows); row >= 0) {
        err << nameOf(files.script) << ":" << row + 1
            << ": the line would hold more than 21 tokens once written\n";
        return kExitUnusable;
    }
    const std::string formatted = writeScript(rows);
    if (!inPlace) {
        out << formatted;
        return kExitOk;
    }
    auto written = writeFileAtomically(files.script, formatted, root);
    if (!written) {
        err << "cuewright fmt: cannot write " << nameOf(files.script) << ": " << written.error().reason
            << "\n";
        return kExitUnusable;
    }
    return kExitOk;
}

} // namespace

std::string usage()
{
    return "Usage:\n"
           "  cuewright [--root DIR]            open the editor on a Darwinia game root\n"
           "                                    (default: the folder of the program)\n"
           "  cuewright tokens [--strings] FILE how the editor splits each line of FILE,\n"
           "                                    as JSON lines; --strings: key and rest\n"
           "  cuewright commands [--root DIR]   the command catalogue of commands.txt,\n"
           "                                    as JSON lines\n"
           "  cuewright fmt [--root DIR] [--in-place] MOD SCRIPT\n"
           "                                    the script as Save Script would write it\n"
           "                                    after opening it in the editor\n"
           "  cuewright check [--root DIR] [--json] MOD [SCRIPT...]\n"
           "                                    what the game will do with the mod's scripts\n"
           "                                    and strings table, one finding per line\n"
           "  cuewright --help | --version\n";
}

bool isTool(std::string_view word)
{
    return word == "tokens" || word == "commands" || word == "fmt" || word == "check";
}

int runTool(const std::vector<std::string> &args, const fs::path &defaultRoot, std::ostream &out,
            std::ostream &err)
{
    if (args.empty())
        return usageError(err, "", "no tool named");
    if (args.front() == "tokens")
        return runTokens(args, out, err);
    if (args.front() == "commands")
        return runCommands(args, defaultRoot, out, err);
    if (args.front() == "fmt")
        return runFmt(args, defaultRoot, out, err);
    if (args.front() == "check")
        return runCheck(args, defaultRoot, out, err);
    return usageError(err, args.front(), "is not a tool");
}

} // namespace cw::cli
