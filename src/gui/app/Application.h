#pragma once

#include "core/workspace/GameRoot.h"

#include <memory>
#include <optional>

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

// Runs the window program: command line, start-up, the event loop. Returns the exit
// status.
int runApplication(int argc, char **argv);

} // namespace cw::gui
