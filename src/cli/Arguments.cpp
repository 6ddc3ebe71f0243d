#include "cli/Arguments.h"
#include "core/workspace/ModLayout.h"

#include "cli/Tools.h"
#include "core/io/Files.h"
#include "core/text/Codepage.h"

#include <ostream>

namespace cw::cli {

Arguments parse(const std::vector<std::string> &args, std::initializer_list<std::string_view> valueOptions,
                std::initializer_list<std::string_view> flagOptions)
{
    const std::span<const std::string> afterTool =
        args.empty() ? std::span<const std::string>() : std::span<const std::string>(args).subspan(1);
    return parseArguments(afterTool, ArgumentRules{valueOptions, flagOptions, {}, {}});
}

int usageError(std::ostream &err, std::string_view tool, std::string_view problem)
{
    err << "cuewright" << (tool.empty() ? "" : " ") << tool << ": " << shownText(problem) << "\n" << usage();
    return kExitUnusable;
}

std::filesystem::path rootFrom(const Arguments &parsed, const std::filesystem::path &defaultRoot)
{
    const auto root = parsed.values.find("--root");
    return root == parsed.values.end() ? defaultRoot : pathFromName(root->second);
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

Result<std::filesystem::path, std::string> modFolderOf(const std::filesystem::path &root,
                                                       std::string_view mod)
{
    if (!isSingleName(mod))
        return "MOD must be the name of a folder in mods, not \"" + shownText(mod) + "\"";
    const std::filesystem::path modsFolder = findNoCase(root, layout::kModsFolder);
    const std::filesystem::path folder = findNoCase(modsFolder, mod);
    std::error_code code;
    if (!std::filesystem::is_directory(folder, code))
        return "no mod folder " + shownPath(folder);
    return folder;
}

Result<std::filesystem::path, std::string> scriptOf(const std::filesystem::path &modFolder,
                                                    std::string_view script)
{
    if (!isSingleName(script))
        return "SCRIPT must be the name of a file in the mod's scripts folder, not \"" + shownText(script) +
               "\"";
    const std::filesystem::path path = findNoCase(findNoCase(modFolder, layout::kScriptsFolder), script);
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code))
        return "no script file " + shownPath(path);
    return path;
}

} // namespace cw::cli
