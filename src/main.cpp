#include "cli/Tools.h"
#include "core/io/Files.h"
#include "core/util/Version.h"
#include "gui/app/Application.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && cw::cli::isTool(args.front()))
        return cw::cli::runTool(args, cw::executableFolder(), std::cout, std::cerr);
    for (const std::string &arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << cw::cli::usage();
            return 0;
        }
        if (arg == "--version") {
            std::cout << "cuewright " << cw::kVersion << "\n";
            return 0;
        }
    }
    return cw::gui::runApplication(argc, argv);
}
