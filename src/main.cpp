#include "cli/ArgumentParser.h"
#include "cli/Arguments.h"
#include "cli/LocationOptions.h"
#include "cli/Tools.h"
#include "core/io/Files.h"
#include "core/util/Version.h"
#include "core/workspace/GameLocation.h"
#include "gui/app/Application.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>
#endif

namespace {

// The command line as UTF-8, the program's one encoding for names, with the program's
// own name first. Windows hands main() the arguments in the ANSI code page, which
// cannot hold every name (a mod called "Café" on a Greek system, any letter outside
// the code page), so there they are read again from the UTF-16 command line.
std::vector<std::string> commandLine(int argc, char **argv)
{
#ifdef _WIN32
    int count = 0;
    LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        std::vector<std::string> args;
        for (int i = 0; i < count; ++i) {
            const int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, utf8.data(), length, nullptr, nullptr);
            utf8.resize(utf8.size() - 1); // the terminating NUL
            args.push_back(std::move(utf8));
        }
        LocalFree(wide);
        return args;
    }
#endif
    std::vector<std::string> args(argv, argv + argc);
    if (args.empty())
        args.emplace_back("cuewright");
    return args;
}

#ifdef _WIN32
// A console program started from the Explorer gets a console window of its own; the
// window program has no use for it, so it goes. One started from a command prompt
// shares the prompt's console, which stays.
void releaseOwnConsole()
{
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
}
#else
void releaseOwnConsole() {}
#endif

} // namespace

// The command line is read here, once, before any window-system object exists: a
// mistyped option is a usage error everywhere, with or without a display.
int main(int argc, char **argv)
{
    cw::cli::writeStandardStreamsAsBytes();
    const std::vector<std::string> line = commandLine(argc, argv);
    const std::vector<std::string> args(line.begin() + 1, line.end());
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
    releaseOwnConsole();
    return cw::gui::runApplication(cw::gui::windowOptions(parsed, line.front()));
}
