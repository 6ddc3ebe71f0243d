#pragma once

#include "cli/ArgumentParser.h"
#include "core/workspace/GameLocation.h"

#include <optional>
#include <string>

namespace cw {

// The options --root DIR, --profile DIR and --game DIR of the window and the tools.
// --root names a game root in the Windows layout, which is its own game folder, so it
// goes with neither of the others; the problem is empty when the options are fine.
std::string locationOptionsProblem(const Arguments &parsed);

// The location the options name, or nothing when they name none. --game alone only
// completes a profile found otherwise.
std::optional<GameLocation> locationFromOptions(const Arguments &parsed);
std::optional<fs::path> gameFromOptions(const Arguments &parsed);

} // namespace cw
