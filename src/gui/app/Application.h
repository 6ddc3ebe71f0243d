#pragma once

#include "core/util/Arguments.h"
#include "core/workspace/GameRoot.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cw::gui {

class MainWindow;

// Start-up: the checks of the game root and, when they pass, the window. A failed
// check shows its one message in a message box; the caller then ends the program
// with status 1.
struct Startup
{
    std::unique_ptr<MainWindow> window; // null when a check failed
    std::optional<StartupFailure> failure;
};

enum class GridTiming { BeforeShow, AfterFirstFrame };

Startup startUp(const std::filesystem::path &root, GridTiming gridTiming = GridTiming::BeforeShow);

// The options of the window program: ours, and the window system's own (-platform,
// -style, ...), which are handed to it untouched.
const ArgumentRules &windowArgumentRules();

struct WindowOptions
{
    std::optional<std::filesystem::path> root;
    std::string programName;                    // argv[0]
    std::vector<std::string> platformArguments; // the window system's options, in order
};

// The window's options from a command line parsed with windowArgumentRules().
WindowOptions windowOptions(const Arguments &parsed, std::string programName);

// Runs the window program: start-up, the event loop. Returns the exit status: 1 when
// start-up failed, 2 when no display could be opened.
int runApplication(const WindowOptions &options);

} // namespace cw::gui
