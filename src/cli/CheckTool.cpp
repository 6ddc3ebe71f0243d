#include "cli/CheckTool.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/check/Checker.h"
#include "core/io/Files.h"
#include "core/workspace/GameRoot.h"

#include <ostream>

namespace cw::cli {
namespace {

struct Located
{
    std::string file; // relative to the game root, "/" between folders
    check::Finding finding;
};

void print(const Located &located, bool asJson, std::ostream &out)
{
    const check::Finding &f = located.finding;
    if (asJson) {
        out << json::Object()
                   .field("file", located.file)
                   .field("line", f.line)
                   .field("severity", check::severityName(f.severity))
                   .field("rule", f.rule)
                   .field("message", f.message)
                   .str()
            << "\n";
    } else {
        out << located.file << ":" << f.line << ": " << check::severityName(f.severity) << ": " << f.message
            << " [" << f.rule << "]\n";
    }
}

} // namespace

int runCheck(const std::vector<std::string> &args, const fs::path &defaultRoot, std::ostream &out,
             std::ostream &err)
{
    const Arguments parsed = parse(args, {"--root"}, {"--json"});
    if (!parsed.problem.empty())
        return usageError(err, "check", parsed.problem);
    if (parsed.positional.empty())
        return usageError(err, "check", "expects MOD and optionally SCRIPT names");
    const fs::path root = rootFrom(parsed, defaultRoot);
    auto catalogue = loadCatalogueOf(root);
    if (!catalogue) {
        err << "cuewright check: " << catalogue.error().detail << "\n";
        return kExitUnusable;
    }

    const fs::path modsFolder = findNoCase(root, "mods");
    const fs::path modFolder = findNoCase(modsFolder, parsed.positional.front());
    std::error_code code;
    if (!fs::is_directory(modFolder, code)) {
        err << "cuewright check: no mod folder " << nameOf(modFolder) << "\n";
        return kExitUnusable;
    }
    const std::string modPath = nameOf(modsFolder.filename()) + "/" + nameOf(modFolder.filename());
    const fs::path scriptsFolder = findNoCase(modFolder, "scripts");

    std::vector<std::string> scripts(parsed.positional.begin() + 1, parsed.positional.end());
    if (scripts.empty()) {
        auto listed = listFolder(scriptsFolder, EntryKind::Files, "*.txt");
        if (listed)
            scripts = std::move(listed).value();
    }

    const fs::path stringsPath = findNoCase(modFolder, "strings_default.txt");
    std::string stringsBytes;
    const bool hasStrings = fs::exists(stringsPath, code);
    if (hasStrings) {
        auto read = readFile(stringsPath);
        if (!read) {
            err << "cuewright check: cannot read " << nameOf(stringsPath) << ": " << read.error().reason
                << "\n";
            return kExitUnusable;
        }
        stringsBytes = std::move(read).value();
    }
    const check::GameStringKeys keys(stringsBytes);

    std::vector<Located> findings;
    for (const std::string &script : scripts) {
        const fs::path path = findNoCase(scriptsFolder, script);
        auto bytes = readFile(path);
        if (!bytes) {
            err << "cuewright check: cannot read " << nameOf(path) << ": " << bytes.error().reason << "\n";
            return kExitUnusable;
        }
        const std::string file =
            modPath + "/" + nameOf(scriptsFolder.filename()) + "/" + nameOf(path.filename());
        for (check::Finding &finding : check::checkScript(*bytes, *catalogue, keys))
            findings.push_back({file, std::move(finding)});
    }
    if (hasStrings) {
        const std::string file = modPath + "/" + nameOf(stringsPath.filename());
        for (check::Finding &finding : check::checkStrings(stringsBytes))
            findings.push_back({file, std::move(finding)});
    }

    bool anyError = false;
    for (const Located &located : findings) {
        print(located, parsed.has("--json"), out);
        anyError = anyError || located.finding.severity == check::Severity::Error;
    }
    return anyError ? kExitFindings : kExitOk;
}

} // namespace cw::cli
