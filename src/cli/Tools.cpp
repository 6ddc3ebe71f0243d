#include "cli/Tools.h"
#include "core/workspace/ModLayout.h"

#include "cli/Arguments.h"
#include "cli/CaptionTool.h"
#include "cli/CheckTool.h"
#include "cli/FindTool.h"
#include "cli/Json.h"
#include "cli/LocationOptions.h"
#include "cli/RenameKeyTool.h"
#include "cli/TimelineTool.h"
#include "core/catalogue/Tokenizer.h"
#include "core/io/Files.h"
#include "core/script/ScriptDocument.h"
#include "core/script/ScriptLines.h"
#include "core/strings/StringsTable.h"
#include "core/text/Codepage.h"
#include "core/text/LineReader.h"
#include "core/workspace/GameRoot.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <optional>
#include <ostream>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace cw::cli {
namespace {

std::vector<std::string> slotsAsUtf8(const TokenSlots &slots)
{
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(slots.usedCount()));
    for (int i = 0; i < slots.usedCount(); ++i)
        out.push_back(cp1252::toUtf8(slots[i]));
    return out;
}

int runTokens(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    const Arguments parsed = parse(args, {}, {"--strings"});
    if (!parsed.problem.empty())
        return usageError(err, "tokens", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "tokens");
    if (parsed.positional.size() != 1)
        return usageError(err, "tokens", "expects exactly one FILE");
    const fs::path file = pathFromName(parsed.positional.front());
    auto bytes = readFile(file);
    if (!bytes) {
        err << "cuewright tokens: cannot read " << shownError(bytes.error()) << "\n";
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
            err << refusedLineNote(shownPath(file.filename()), reader.lineNumber()) << "\n";
        }
        out << object.str() << "\n";
    }
    return refused ? kExitFindings : kExitOk;
}

// The catalogue the commands tool lists: that of the location found, or with no game
// root or profile anywhere, the game folder's or the one shipped with the program, so
// that the catalogue can be looked at before any game is installed.
Result<fs::path, std::string> commandsCatalogue(const Arguments &parsed, const Whereabouts &where)
{
    const std::optional<GameLocation> location = toolLocation(parsed, where);
    if (location) {
        if (const auto problem = folderProblem(location->folder))
            return shownError(*problem);
    }
    const std::optional<fs::path> file =
        location ? catalogueFileOf(*location, where.programFolder)
                 : catalogueFileWithout(gameFromOptions(parsed), where.programFolder);
    if (!file) {
        std::string looked = "no catalogue found: the one shipped with the program is missing from ";
        const auto shipped = shippedCatalogues(where.programFolder);
        for (std::size_t i = 0; i < shipped.size(); ++i)
            looked += (i ? " and " : "") + shownPath(shipped[i]);
        return looked;
    }
    return *file;
}

int runCommands(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--which"});
    if (!parsed.problem.empty())
        return usageError(err, "commands", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "commands");
    if (!parsed.positional.empty())
        return usageError(err, "commands", "takes no file names");
    const auto file = commandsCatalogue(parsed, where);
    if (!file) {
        err << "cuewright commands: " << file.error() << "\n";
        return kExitUnusable;
    }
    if (parsed.has("--which")) {
        std::error_code code;
        if (!fs::is_regular_file(*file, code)) {
            err << "cuewright commands: " << shownError(IoError{"there is no such file", *file}) << "\n";
            return kExitUnusable;
        }
        out << shownText(nameOf(*file)) << "\n";
        return kExitOk;
    }
    auto catalogue = loadCatalogueFile(*file);
    if (!catalogue) {
        err << "cuewright commands: " << escapeControls(catalogue.error().detail) << "\n";
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

// Reads a script into the document as the editor loads it; says why on `err` when it
// cannot. The file's bytes go as soon as they are split, each row takes its texts from
// the split lines as it goes, and writing takes the rows apart again, so that a script
// is held about twice at any one time.
std::optional<ScriptReadReport> loadScript(const fs::path &script, const ModBoundary &mod,
                                           ScriptDocument &document, std::ostream &err)
{
    auto bytes = readFile(script, mod);
    if (!bytes) {
        err << "cuewright fmt: cannot read " << shownError(bytes.error()) << "\n";
        return std::nullopt;
    }
    auto report = document.load(std::move(bytes).value());
    if (!report) {
        err << shownPath(script) << ":" << report.error().line << ": "
            << withoutExiting(report.error().message) << "\n"
            << refusedLineNote(shownPath(script.filename()), report.error().line) << "\n";
        return std::nullopt;
    }
    return report.value();
}

// The mod's strings table. Without one, keys stay as they are written; one that exists
// but cannot be read is said so, since the keys' spelling then differs from the editor's.
StringsTable modStrings(const fs::path &modFolder, std::ostream &err)
{
    const fs::path path = findNoCase(modFolder, layout::kStringsFile);
    std::error_code code;
    if (!fs::exists(path, code))
        return StringsTable();
    auto bytes = readFile(path, ModBoundary(modFolder));
    if (!bytes) {
        err << "cuewright fmt: cannot read " << shownError(bytes.error())
            << "; keys stay as they are written\n";
        return StringsTable();
    }
    return StringsTable(std::move(bytes).value());
}

// Says on `err` what of the script the editor cannot keep; true when lines in use past
// the 100th would be lost.
bool reportLosses(const fs::path &script, const ScriptReadReport &report, bool inPlace, std::ostream &err)
{
    for (const ScriptReadReport::ExtraWords &extra : report.wordsPastFourth) {
        err << shownPath(script) << ":" << extra.line
            << ": the editor keeps four arguments; the words after them are not written: "
            << shownText(extra.words) << "\n";
    }
    if (!report.losesLinesPast100())
        return false;
    err << shownPath(script) << ": " << report.linesInFile << " lines; the editor keeps only the first 100"
        << (inPlace ? ", so the file was left as it is\n" : "\n");
    return true;
}

std::string_view writeErrorText(ScriptWriteError::Cause cause)
{
    return cause == ScriptWriteError::Cause::TooManyWords
               ? ": the line would hold more than 21 tokens once written\n"
           : cause == ScriptWriteError::Cause::TooLarge
               ? ": the script would grow past the largest file the editor opens\n"
               : ": the line holds a character the file's code page cannot hold\n";
}

int runFmt(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
           std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--in-place"});
    if (!parsed.problem.empty())
        return usageError(err, "fmt", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "fmt");
    if (parsed.positional.size() != 2)
        return usageError(err, "fmt", "expects MOD and SCRIPT");
    const std::optional<Workplace> place = workplaceFor("fmt", parsed, where, err);
    if (!place)
        return kExitUnusable;
    const fs::path &root = place->location.folder;
    const Catalogue &catalogue = place->catalogue;
    auto modFolder = modFolderOf(root, parsed.positional[0]);
    if (!modFolder) {
        err << "cuewright fmt: " << modFolder.error() << "\n";
        return kExitUnusable;
    }
    auto script = scriptOf(*modFolder, parsed.positional[1]);
    if (!script) {
        err << "cuewright fmt: " << script.error() << "\n";
        return kExitUnusable;
    }
    ScriptDocument document(catalogue);
    document.setStrings(std::make_shared<const StringsTable>(modStrings(*modFolder, err)));
    const ModBoundary mod(*modFolder);
    const auto report = loadScript(*script, mod, document, err);
    if (!report)
        return kExitUnusable;
    const bool inPlace = parsed.has("--in-place");
    if (reportLosses(*script, *report, inPlace, err) && inPlace)
        return kExitFindings;
    auto formatted = document.takeScriptBytes();
    if (!formatted) {
        err << shownPath(*script) << ":" << formatted.error().row + 1
            << writeErrorText(formatted.error().cause);
        return kExitUnusable;
    }
    if (!inPlace) {
        out << *formatted;
        return kExitOk;
    }
    auto written = writeFileAtomically(*script, *formatted, mod);
    if (!written) {
        err << "cuewright fmt: cannot write " << shownError(written.error())
            << (written.error().untouchedFile ? "; the file is as it was\n" : "\n");
        return kExitUnusable;
    }
    return kExitOk;
}

int runNamedTool(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                 std::ostream &err)
{
    if (args.front() == "tokens")
        return runTokens(args, out, err);
    if (args.front() == "commands")
        return runCommands(args, where, out, err);
    if (args.front() == "fmt")
        return runFmt(args, where, out, err);
    if (args.front() == "check")
        return runCheck(args, where, out, err);
    if (args.front() == "timeline")
        return runTimeline(args, where, out, err);
    if (args.front() == "find")
        return runFind(args, where, out, err);
    if (args.front() == "rename-key")
        return runRenameKey(args, where, out, err);
    if (args.front() == "caption")
        return runCaption(args, where, out, err);
    return usageError(err, args.front(), "is not a tool");
}

// The help, form by form of the command line, the window's first (its tool empty);
// `cuewright TOOL --help` prints the tool's form alone, with how the tools find the game
// when the tool looks for it.
struct UsageForm
{
    std::string_view tool;
    std::string_view text;
    bool findsTheGame;
};

constexpr UsageForm kUsageForms[] = {
    {"",
     "  cuewright [--root DIR | --profile DIR [--game DIR]] [--font-size POINTS]\n"
     "                                    open the editor on a Darwinia game root\n"
     "                                    (the Windows layout: darwinia.exe and mods\n"
     "                                    in DIR) or on a profile folder holding mods;\n"
     "                                    --game DIR: the folder of the game itself.\n"
     "                                    Without them: the current folder, the place\n"
     "                                    used last, the game's profile folder, or ask.\n"
     "                                    --font-size: the window's text size, from 6\n"
     "                                    to 32 points; the layout grows with it\n",
     false},
    {"tokens",
     "  cuewright tokens [--strings] FILE how the editor splits each line of FILE,\n"
     "                                    as JSON lines; --strings: key and rest\n",
     false},
    {"commands",
     "  cuewright commands [--root DIR | --profile DIR [--game DIR]] [--which]\n"
     "                                    the command catalogue, as JSON lines;\n"
     "                                    --which: the path of its file\n",
     true},
    {"fmt",
     "  cuewright fmt [--root DIR | --profile DIR [--game DIR]] [--in-place] MOD SCRIPT\n"
     "                                    the script as Save Script would write it\n"
     "                                    after opening it in the editor\n",
     true},
    {"check",
     "  cuewright check [--root DIR | --profile DIR [--game DIR]] [--json] MOD [SCRIPT...]\n"
     "                                    what the game will do with the mod's scripts\n"
     "                                    and strings files: errors, warnings and\n"
     "                                    notes, one per line; exit 1 on errors only\n",
     true},
    {"timeline",
     "  cuewright timeline [--root DIR | --profile DIR [--game DIR]] [--json]\n"
     "                    [--start location|world-map] MOD SCRIPT\n"
     "                                    when each line of the script runs as the game\n"
     "                                    plays it, and how long it lasts; --start says\n"
     "                                    where the script starts (by default, where its\n"
     "                                    first location command says)\n",
     true},
    {"find",
     "  cuewright find [--root DIR | --profile DIR [--game DIR]] [--json] [--case] [--word]\n"
     "                MOD TEXT            each line of the mod's scripts and strings\n"
     "                                    files that holds TEXT, as file:line: text;\n"
     "                                    --case: letter case counts; --word: whole\n"
     "                                    words only; exit 1 when nothing matched\n",
     true},
    {"rename-key",
     "  cuewright rename-key [--root DIR | --profile DIR [--game DIR]] [--dry-run]\n"
     "                MOD OLD NEW         rename the strings key OLD to NEW in every\n"
     "                                    strings file, phrase and script of the mod,\n"
     "                                    printing each line changed as file:line: text;\n"
     "                                    --dry-run: write nothing\n",
     true},
    {"caption",
     "  cuewright caption [--root DIR | --profile DIR [--game DIR]] [--cutscene | --normal]\n"
     "                   [--json] MOD KEY the lines of the caption Say KEY shows, as the\n"
     "                                    game wraps them in its box (--normal, the\n"
     "                                    default, or --cutscene); --json adds what\n"
     "                                    scrolls away, falls off the screen or is lost\n",
     true},
};

constexpr std::string_view kHelpLine = "  cuewright --help | --version\n";

constexpr std::string_view kFindingTheGame =
    "The tools look for the game as the editor does, but never ask and remember\n"
    "nothing: without --root or --profile they use the current folder when it is a\n"
    "game root, else the game's profile folder (~/.darwinia/full on Linux).\n";

} // namespace

std::string usage()
{
    std::string text = "Usage:\n";
    for (const UsageForm &form : kUsageForms)
        text += form.text;
    return text + std::string(kHelpLine) + std::string(kFindingTheGame);
}

std::string toolUsage(std::string_view tool)
{
    for (const UsageForm &form : kUsageForms) {
        if (!tool.empty() && form.tool == tool)
            return "Usage:\n" + std::string(form.text) +
                   (form.findsTheGame ? std::string(kFindingTheGame) : "");
    }
    return usage();
}

bool isTool(std::string_view word)
{
    return word == "tokens" || word == "commands" || word == "fmt" || word == "check" || word == "timeline" ||
           word == "find" || word == "rename-key" || word == "caption";
}

int runTool(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
            std::ostream &err)
{
    if (args.empty())
        return usageError(err, "", "no tool named");
#ifdef __GLIBC__
    // A script passes from bytes to lines to rows to bytes again, each large text freed
    // as the next holds it. glibc raises its mmap threshold with every large block
    // freed and keeps the later ones on its heap, so a 16 MB script would cost four
    // times its size instead of two; large blocks go back to the system at once instead.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    try {
        return runNamedTool(args, where, out, err);
    } catch (const std::bad_alloc &) {
        // Files are limited far below what memory holds, but a machine may still run out.
        err << "cuewright " << shownText(args.front()) << ": there is not enough memory\n";
        return kExitUnusable;
    } catch (const std::exception &failure) {
        // The core reports what it expects as values; anything else it throws (a name
        // the file system cannot take, a folder that vanished while being listed) still
        // ends the tool with its message, never with an abort.
        err << "cuewright " << shownText(args.front()) << ": " << shownText(failure.what()) << "\n";
        return kExitUnusable;
    }
}

void writeStandardStreamsAsBytes()
{
#ifdef _WIN32
    // In text mode the C runtime of Windows writes every LF as CR LF, so a script's
    // CR LF would come out as CR CR LF.
    std::fflush(stdout);
    std::fflush(stderr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

} // namespace cw::cli
