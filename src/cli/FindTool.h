#pragma once

#include "core/workspace/GameLocation.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// cuewright find [--root DIR | --profile DIR [--game DIR]] [--json] [--case] [--word] MOD TEXT:
// each line of the mod's scripts and strings files that holds TEXT (plain text, in any
// letter case unless --case, inside words too unless --word), as "file:line: text" or as
// JSON objects. Exit status 0 when something matched, 1 when nothing did, 2 when the mod
// cannot be read.
int runFind(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
            std::ostream &err);

} // namespace cw::cli
