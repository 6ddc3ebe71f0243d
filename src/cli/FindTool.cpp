#include "cli/FindTool.h"

#include "cli/Arguments.h"
#include "cli/Json.h"
#include "core/find/ModFind.h"
#include "core/io/Files.h"
#include "core/io/ModBoundary.h"

#include <ostream>

namespace cw::cli {

int runFind(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
            std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--json", "--case", "--word"});
    if (!parsed.problem.empty())
        return usageError(err, "find", parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, "find");
    if (parsed.positional.size() != 2)
        return usageError(err, "find", "expects MOD and TEXT");
    const std::optional<Workplace> place = workplaceFor("find", parsed, where, err);
    if (!place)
        return kExitUnusable;
    const std::optional<ToolMod> found =
        toolMod("find", place->location.folder, parsed.positional.front(), err);
    if (!found)
        return kExitUnusable;
    const find::Options options{parsed.has("--case"), parsed.has("--word")};
    const bool asJson = parsed.has("--json");
    const std::filesystem::path &mod = found->folder;
    const std::string &modPath = found->shownPath;
    const ModBoundary boundary(mod);
    bool matched = false;
    std::string block;
    for (const std::filesystem::path &file : find::searchedFiles(mod)) {
        auto bytes = readFile(file, boundary);
        if (!bytes) {
            err << "cuewright find: cannot read " << shownError(bytes.error()) << "\n";
            return kExitUnusable;
        }
        const std::string shown = modPath + "/" + shownPath(file.lexically_relative(mod).generic_string());
        for (const find::Match &match : find::findInFile(file, *bytes, parsed.positional[1], options)) {
            matched = true;
            if (asJson) {
                json::Object object(block);
                object.field("file", shown).field("line", match.line).field("text", match.text);
                object.endLine();
            } else {
                block += shown + ":" + std::to_string(match.line) + ": " + shownText(match.text) + "\n";
            }
        }
        out << block;
        block.clear();
    }
    return matched ? kExitOk : kExitFindings;
}

} // namespace cw::cli
