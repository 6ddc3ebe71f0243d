#pragma once

#include "core/workspace/GameLocation.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// cuewright caption [--root DIR | --profile DIR [--game DIR]] [--cutscene | --normal]
// [--json] MOD KEY: the lines of the caption a `Say KEY` shows in the mod, as the game
// wraps them in its box (normal mode unless --cutscene), one per line; or one JSON
// object with them and what scrolls away, falls off the screen or is lost. Exit status
// 0; 2 when the mod cannot be read or the game would show no caption for KEY.
int runCaption(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
               std::ostream &err);

} // namespace cw::cli
