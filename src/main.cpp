#include "cli/Arguments.h"
#include "cli/Tools.h"
#include "core/io/Files.h"
#include "core/util/Arguments.h"
#include "core/util/Version.h"
#include "core/workspace/GameLocation.h"
#include "gui/app/Application.h"

#include <iostream>
#include <string>
#include <vector>

// The command line is read here, once, before any window-system object exists: a
// mistyped option is a usage error everywhere, with or without a display.
int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && cw::cli::isTool(args.front()))
        return cw::cli::runTool(args, cw::Whereabouts::ofThisProcess(), std::cout, std::cerr);

    const cw::Arguments parsed = cw::parseArguments(args, cw::gui::windowArgumentRules());
    std::string problem = parsed.problem;
    if (problem.empty() && !parsed.positional.empty())
        problem = "unexpected argument " + parsed.positional.front();
    if (problem.empty())
        problem = cw::locationOptionsProblem(parsed);
    if (problem.empty())
        problem = cw::gui::fontSizeProblem(parsed);
    if (!problem.empty())
        return cw::cli::usageError(std::cerr, "", problem);
    if (parsed.has("--help") || parsed.has("-h")) {
        std::cout << cw::cli::usage();
        return 0;
    }
    if (parsed.has("--version")) {
        std::cout << "cuewright " << cw::kVersion << "\n";
        return 0;
    }
    return cw::gui::runApplication(cw::gui::windowOptions(parsed, argc > 0 ? argv[0] : "cuewright"));
}
