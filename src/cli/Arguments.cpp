#include "cli/Arguments.h"
#include "core/workspace/ModLayout.h"

#include "cli/LocationOptions.h"
#include "cli/Tools.h"
#include "core/io/FileNames.h"
#include "core/io/Files.h"
#include "core/text/Codepage.h"
#include "core/workspace/GameRoot.h"

#include <ostream>

namespace cw::cli {
namespace {

// Whether a name given on the command line names one entry of a folder.
bool namesOneEntry(std::string_view name)
{
    return plainFileNameProblem(name, NameRules::ThisSystem) == NameProblem::None;
}

Arguments parseAfterTool(const std::vector<std::string> &args, std::vector<std::string_view> valueOptions,
                         std::initializer_list<std::string_view> flagOptions)
{
    const std::span<const std::string> afterTool =
        args.empty() ? std::span<const std::string>() : std::span<const std::string>(args).subspan(1);
    std::vector<std::string_view> flags(flagOptions);
    flags.emplace_back("--help");
    return parseArguments(afterTool, ArgumentRules{std::move(valueOptions), std::move(flags), {}, {}});
}

} // namespace

Arguments parse(const std::vector<std::string> &args, std::initializer_list<std::string_view> valueOptions,
                std::initializer_list<std::string_view> flagOptions)
{
    return parseAfterTool(args, valueOptions, flagOptions);
}

Arguments parseWithLocation(const std::vector<std::string> &args,
                            std::initializer_list<std::string_view> flagOptions)
{
    return parseWithLocation(args, {}, flagOptions);
}

Arguments parseWithLocation(const std::vector<std::string> &args, std::vector<std::string_view> valueOptions,
                            std::initializer_list<std::string_view> flagOptions)
{
    valueOptions.insert(valueOptions.end(), {"--root", "--profile", "--game"});
    Arguments parsed = parseAfterTool(args, std::move(valueOptions), flagOptions);
    if (parsed.problem.empty())
        parsed.problem = locationOptionsProblem(parsed);
    return parsed;
}

int usageError(std::ostream &err, std::string_view tool, std::string_view problem)
{
    // The whole help would bury the one line that says what went wrong.
    err << "cuewright" << (tool.empty() ? "" : " ") << tool << ": " << shownText(problem)
        << "; see cuewright --help\n";
    return kExitUnusable;
}

int toolHelp(std::ostream &out, std::string_view tool)
{
    out << toolUsage(tool);
    return kExitOk;
}

std::optional<GameLocation> toolLocation(const Arguments &parsed, const Whereabouts &where)
{
    std::optional<GameLocation> location = locationFromOptions(parsed);
    if (!location)
        location = findGameLocation(where, std::nullopt);
    if (!location)
        return std::nullopt;
    if (location->kind == LayoutKind::Profile && !location->game)
        location->game = gameFromOptions(parsed);
    return withGameFolder(std::move(location).value(), std::nullopt, where);
}

std::string noLocationMessage(const Whereabouts &where)
{
    std::string looked = "no game root here (" + shownPath(where.currentFolder) + ")";
    const std::vector<std::filesystem::path> profiles = nativeProfileFolders(where);
    if (!profiles.empty()) {
        looked += " and no profile at ";
        for (std::size_t i = 0; i < profiles.size(); ++i)
            looked += (i ? ", " : "") + shownPath(profiles[i]);
    }
    return looked + "; name one with --root DIR (the game's folder holding darwinia.exe and mods) or "
                    "--profile DIR (a folder holding mods)";
}

std::optional<Workplace> workplaceFor(std::string_view tool, const Arguments &parsed,
                                      const Whereabouts &where, std::ostream &err)
{
    std::optional<GameLocation> location = toolLocation(parsed, where);
    if (!location) {
        err << "cuewright " << tool << ": " << noLocationMessage(where) << "\n";
        return std::nullopt;
    }
    // A folder the options name that is missing or unreadable is the problem to report,
    // not the catalogue that could then not be found in it.
    if (const auto problem = folderProblem(location->folder)) {
        err << "cuewright " << tool << ": " << shownError(*problem) << "\n";
        return std::nullopt;
    }
    auto opened = loadCatalogueFor(*location, where.programFolder);
    if (!opened) {
        err << "cuewright " << tool << ": " << escapeControls(opened.error().detail) << "\n";
        return std::nullopt;
    }
    return Workplace{std::move(location).value(), std::move(opened).value()};
}

std::string shownText(std::string_view bytes)
{
    return escapeControls(nameAsUtf8(bytes));
}

std::string shownPath(const std::filesystem::path &path)
{
    return shownText(nameOf(path));
}

std::string shownError(const IoError &error)
{
    return escapeControls(describe(error));
}

std::optional<ToolMod> toolMod(std::string_view tool, const std::filesystem::path &root, std::string_view mod,
                               std::ostream &err)
{
    auto folder = modFolderOf(root, mod);
    if (!folder) {
        err << "cuewright " << tool << ": " << folder.error() << "\n";
        return std::nullopt;
    }
    std::string shown = shownName(folder->parent_path()) + "/" + shownName(*folder);
    return ToolMod{std::move(folder).value(), std::move(shown)};
}

std::string shownName(const std::filesystem::path &path)
{
    return nameAsUtf8(nameOf(path.filename()));
}

Result<std::filesystem::path, std::string> modFolderOf(const std::filesystem::path &root,
                                                       std::string_view mod)
{
    if (!namesOneEntry(mod))
        return "MOD must be the name of a folder in mods, not \"" + shownText(mod) + "\"";
    const std::filesystem::path modsFolder = findNoCase(root, layout::kModsFolder);
    if (const auto problem = folderProblem(modsFolder))
        return shownError(*problem);
    const std::filesystem::path folder = findNoCase(modsFolder, mod);
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(folder, code);
    if (code && status.type() != std::filesystem::file_type::not_found)
        return "cannot read " + shownError(IoError{code.message(), folder});
    if (!std::filesystem::is_directory(status))
        return "no mod folder " + shownPath(folder);
    return folder;
}

Result<std::filesystem::path, std::string> scriptOf(const std::filesystem::path &modFolder,
                                                    std::string_view script)
{
    if (!namesOneEntry(script))
        return "SCRIPT must be the name of a file in the mod's scripts folder, not \"" + shownText(script) +
               "\"";
    const std::filesystem::path path = findNoCase(findNoCase(modFolder, layout::kScriptsFolder), script);
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code))
        return "no script file " + shownPath(path);
    return path;
}

} // namespace cw::cli
