#pragma once

#include "core/workspace/GameLocation.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace cw::cli {

// cuewright rename-key [--root DIR | --profile DIR [--game DIR]] [--dry-run] MOD OLD NEW:
// renames the strings key OLD to NEW wherever the mod uses it (its definitions and
// their variants in every strings file, "[OLD]" phrases, script arguments that name a
// strings key), printing each line changed as "file:line: text"; --dry-run writes
// nothing. Exit status 0 when renamed; 2, with the reason, when NEW is taken or not a
// valid key, no strings file of the mod defines OLD, or a file cannot be read or written.
int runRenameKey(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
                 std::ostream &err);

} // namespace cw::cli
