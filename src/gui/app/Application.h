#pragma once

namespace cw::gui {

// Runs the window program: command line, start-up checks, the window, the event loop.
int runApplication(int argc, char **argv);

} // namespace cw::gui
