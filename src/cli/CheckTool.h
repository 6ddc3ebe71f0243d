#pragma once

#include "core/workspace/GameLocation.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// cuewright check [--root DIR | --profile DIR [--game DIR]] [--json] MOD [SCRIPT...]:
// the findings of the game-aware checker for the mod's scripts (all, or the ones named)
// and every strings file of the mod, one per line in the form compilers use, or as JSON
// objects. Exit status 0 without errors (warnings and notes never fail it), 1 with one,
// 2 when the mod cannot be read.
int runCheck(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
             std::ostream &err);

} // namespace cw::cli
