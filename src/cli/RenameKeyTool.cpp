#include "cli/RenameKeyTool.h"

#include "cli/Arguments.h"
#include "core/find/ModEdit.h"
#include "core/strings/GameStrings.h"
#include "core/workspace/ModFiles.h"

#include <ostream>

namespace cw::cli {
namespace {

constexpr std::string_view kTool = "rename-key";

// Every file and line the change rewrites, as they will read.
void printChange(const find::ModChange &change, const ToolMod &mod, std::ostream &out)
{
    std::string block;
    for (const find::FileChange &file : change.files) {
        const std::string shown =
            mod.shownPath + "/" + shownPath(file.file.lexically_relative(mod.folder).generic_string());
        for (const find::LineChange &line : file.lines)
            block += shown + ":" + std::to_string(line.line) + ": " + shownText(line.after) + "\n";
        out << block;
        block.clear();
    }
}

int written(const find::ChangeWritten &done, std::ostream &err)
{
    for (const IoError &backup : done.backupFailed)
        err << "cuewright rename-key: the strings table is written, but not its backup " << shownError(backup)
            << "\n";
    for (const IoError &failed : done.failed)
        err << "cuewright rename-key: cannot write " << shownError(failed) << "\n";
    return done.failed.empty() ? kExitOk : kExitUnusable;
}

} // namespace

int runRenameKey(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                 std::ostream &err)
{
    const Arguments parsed = parseWithLocation(args, {"--dry-run"});
    if (!parsed.problem.empty())
        return usageError(err, kTool, parsed.problem);
    if (parsed.has("--help"))
        return toolHelp(out, kTool);
    if (parsed.positional.size() != 3)
        return usageError(err, kTool, "expects MOD, OLD and NEW");
    const std::optional<Workplace> place = workplaceFor(kTool, parsed, where, err);
    if (!place)
        return kExitUnusable;
    const std::optional<ToolMod> mod = toolMod(kTool, place->location.folder, parsed.positional[0], err);
    if (!mod)
        return kExitUnusable;
    const GameStrings strings = GameStrings::load(place->location.folder, place->location.game, mod->folder);
    const ModFiles files(mod->folder);
    const auto change =
        find::planRenameKey(files, place->catalogue, parsed.positional[1], parsed.positional[2], &strings);
    if (!change) {
        err << "cuewright rename-key: " << shownText(change.error()) << "\n";
        return kExitUnusable;
    }
    // A file that cannot be read might use the key: renaming everywhere else would
    // leave the mod half renamed.
    if (!change->unread.empty()) {
        err << "cuewright rename-key: cannot read " << shownError(change->unread.front())
            << "; nothing is renamed\n";
        return kExitUnusable;
    }
    printChange(*change, *mod, out);
    if (parsed.has("--dry-run"))
        return kExitOk;
    return written(find::writeChange(files, change->files), err);
}

} // namespace cw::cli
