#include "cli/CheckTool.h"
#include "core/workspace/ModLayout.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/check/Checker.h"
#include "core/io/Files.h"
#include "core/levels/Levels.h"
#include "core/strings/GameStrings.h"
#include "core/text/Codepage.h"
#include "core/workspace/GameRoot.h"

#include <optional>
#include <ostream>
#include <string_view>
#include <utility>
#include <vector>

namespace cw::cli {
namespace {

// Prints findings as they come, in the form compilers use or as JSON lines. `file` is
// UTF-8; the plain form escapes control characters, so that no name or word from a file
// can fake a line of output.
class Printer
{
public:
    Printer(std::ostream &out, bool asJson) : m_out(out), m_asJson(asJson) {}

    // `shownFile` is the file's name as print() shows it.
    void print(const std::string &file, const std::string &shownFile, const check::Finding &f)
    {
        // The note that keys are left to the game's own table is said once per mod.
        if (f.rule == kUncheckedKeys && std::exchange(m_notedUncheckedKeys, true))
            return;
        m_anyError = m_anyError || f.severity == check::Severity::Error;
        if (m_asJson) {
            json::Object(m_block)
                .field("file", file)
                .field("line", f.line)
                .field("severity", check::severityName(f.severity))
                .field("rule", f.rule)
                .field("message", f.message)
                .endLine();
        } else {
            m_block += shownFile;
            m_block += ':';
            m_block += std::to_string(f.line);
            m_block += ": ";
            m_block += check::severityName(f.severity);
            m_block += ": ";
            appendEscapedControls(m_block, f.message);
            m_block += " [";
            m_block += f.rule;
            m_block += "]\n";
        }
        // Findings leave in blocks: a file of a million findings prints in a moment.
        if (m_block.size() >= kBlock)
            flush();
    }
    // What is printed so far, out: at the end of each file.
    void flush()
    {
        m_out.write(m_block.data(), static_cast<std::streamsize>(m_block.size()));
        m_block.clear();
    }
    check::FindingSink sinkFor(const std::string &file)
    {
        return [this, &file, shown = escapeControls(file)](check::Finding &&finding) {
            print(file, shown, finding);
        };
    }
    bool anyError() const { return m_anyError; }

private:
    static constexpr std::string_view kUncheckedKeys = "game-strings-unread";
    static constexpr std::size_t kBlock = std::size_t{1} << 16;

    std::ostream &m_out;
    bool m_asJson;
    bool m_anyError = false;
    bool m_notedUncheckedKeys = false;
    std::string m_block;
};

// A file's name as findings show it: each folder's name and its own, as UTF-8.
// The scripts named after MOD, each checked before anything is read, or every script of
// the mod when none is named; nothing when a name is refused, said so on `err`.
std::optional<std::vector<fs::path>> scriptsToCheck(const Arguments &parsed, const fs::path &modFolder,
                                                    const fs::path &scriptsFolder, std::ostream &err)
{
    std::vector<fs::path> scripts;
    for (auto name = parsed.positional.begin() + 1; name != parsed.positional.end(); ++name) {
        auto script = scriptOf(modFolder, *name);
        if (!script) {
            err << "cuewright check: " << script.error() << "\n";
            return std::nullopt;
        }
        scripts.push_back(std::move(script).value());
    }
    if (parsed.positional.size() == 1) {
        auto listed = listFolder(scriptsFolder, EntryKind::Files, "*.txt");
        if (listed) {
            for (const std::string &name : *listed)
                scripts.push_back(scriptsFolder / pathFromName(name));
        }
    }
    return scripts;
}

// Where a mod's files are, and how findings name them.
struct ModFiles
{
    const fs::path &folder;
    const std::string &shownPath; // "mods/Garden Return"
    const fs::path &scriptsFolder;
    const ModBoundary &boundary;
};

// False when a file cannot be read, said so on `err`.
bool checkScripts(const std::vector<fs::path> &scripts, const ModFiles &mod, const Catalogue &catalogue,
                  const GameStrings &strings, const Levels &levels, Printer &printer, std::ostream &err)
{
    for (const fs::path &path : scripts) {
        auto bytes = readFile(path, mod.boundary);
        if (!bytes) {
            err << "cuewright check: cannot read " << shownError(bytes.error()) << "\n";
            return false;
        }
        const std::string file = mod.shownPath + "/" + shownName(mod.scriptsFolder) + "/" + shownName(path);
        check::checkScript(*bytes, catalogue, strings, {&levels, nameOf(path.filename())},
                           printer.sinkFor(file));
        printer.flush();
    }
    return true;
}

bool checkStringsFiles(const std::vector<fs::path> &stringsFiles, const ModFiles &mod,
                       const GameStrings &strings, Printer &printer, std::ostream &err)
{
    for (const fs::path &path : stringsFiles) {
        auto bytes = readFile(path, mod.boundary);
        if (!bytes) {
            err << "cuewright check: cannot read " << shownError(bytes.error()) << "\n";
            return false;
        }
        const bool inLanguage = path.parent_path() != mod.folder;
        const std::string file = mod.shownPath + "/" +
                                 (inLanguage ? shownName(path.parent_path()) + "/" : std::string()) +
                                 shownName(path);
        check::checkModStringsFile(path, *bytes, strings, printer.sinkFor(file));
        printer.flush();
    }
    return true;
}

} // namespace

int runCheck(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
             std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--json"});
    if (!parsed.problem.empty())
        return usageError(err, "check", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "check");
    if (parsed.positional.empty())
        return usageError(err, "check", "expects MOD and optionally SCRIPT names");
    const std::optional<Workplace> place = workplaceFor("check", parsed, where, err);
    if (!place)
        return kExitUnusable;
    const Catalogue &catalogue = place->catalogue;
    const std::optional<ToolMod> found =
        toolMod("check", place->location.folder, parsed.positional.front(), err);
    if (!found)
        return kExitUnusable;
    const fs::path &modFolder = found->folder;
    const std::string &modPath = found->shownPath;

    const fs::path scriptsFolder = findNoCase(modFolder, layout::kScriptsFolder);
    const auto scripts = scriptsToCheck(parsed, modFolder, scriptsFolder, err);
    if (!scripts)
        return kExitUnusable;

    // Every strings file is known to be readable before anything is printed; each is
    // read again when its turn comes, so that no more than one is held at a time.
    const ModBoundary mod(modFolder);
    const std::vector<fs::path> stringsFiles = check::modStringsFiles(modFolder);
    for (const fs::path &path : stringsFiles) {
        if (auto readable = readFile(path, mod); !readable) {
            err << "cuewright check: cannot read " << shownError(readable.error()) << "\n";
            return kExitUnusable;
        }
    }
    const GameStrings strings = GameStrings::load(place->location.folder, place->location.game, modFolder);
    const Levels levels = Levels::load(modFolder, place->location.game);

    Printer printer(out, parsed.has("--json"));
    const ModFiles files{modFolder, modPath, scriptsFolder, mod};
    if (!checkScripts(*scripts, files, catalogue, strings, levels, printer, err) ||
        !checkStringsFiles(stringsFiles, files, strings, printer, err))
        return kExitUnusable;
    return printer.anyError() ? kExitFindings : kExitOk;
}

} // namespace cw::cli
