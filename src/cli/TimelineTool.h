#pragma once

#include "core/workspace/GameLocation.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// cuewright timeline [--root DIR | --profile DIR [--game DIR]] [--json] MOD SCRIPT:
// when each line of the mod's script runs, as the game plays it, one line per line
// that holds a command, then the total; or the same as JSON objects. Exit status 0;
// 2 when the mod or the script cannot be read.
int runTimeline(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                std::ostream &err);

} // namespace cw::cli
