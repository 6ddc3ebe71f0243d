#pragma once

#include "core/workspace/GameLocation.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// The command-line tools. They use only the core: no window system is touched, so
// they run over SSH and in CI.
namespace cw::cli {

// Whether `word` (the first argument) names a tool.
bool isTool(std::string_view word);

// Runs the tool named by args[0] with the remaining arguments and returns the exit
// status. Without --root or --profile the tools look for the game from `where`.
int runTool(const std::vector<std::string> &args, const Whereabouts &where, std::ostream &out,
            std::ostream &err);

// Makes the process's standard output and error take the program's bytes as they
// are, so that it prints the same bytes on every system (on Windows they would
// otherwise turn each LF into CR LF). Called once, before anything is printed.
void writeStandardStreamsAsBytes();

// The text of --help, shared with the window program's own options.
std::string usage();
// The part of it about one tool: its lines, and how the tools find the game when the
// tool looks for it; all of it for a word that names no tool.
std::string toolUsage(std::string_view tool);

} // namespace cw::cli
