#include "cli/LocationOptions.h"

namespace cw {

std::string locationOptionsProblem(const Arguments &parsed)
{
    if (parsed.value("--root") && parsed.value("--profile"))
        return "--root and --profile name two different places; give one of them";
    if (parsed.value("--root") && parsed.value("--game"))
        return "--game goes with --profile: a game root given with --root is its own game folder";
    return {};
}

std::optional<GameLocation> locationFromOptions(const Arguments &parsed)
{
    if (const std::string *root = parsed.value("--root"))
        return gameRootAt(pathFromName(*root));
    if (const std::string *profile = parsed.value("--profile"))
        return profileAt(pathFromName(*profile), gameFromOptions(parsed));
    return std::nullopt;
}

std::optional<fs::path> gameFromOptions(const Arguments &parsed)
{
    if (const std::string *game = parsed.value("--game"))
        return pathFromName(*game);
    return std::nullopt;
}

} // namespace cw
