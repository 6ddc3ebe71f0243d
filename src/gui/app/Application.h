#pragma once

#include "cli/ArgumentParser.h"
#include "core/workspace/GameRoot.h"
#include "gui/app/GridTiming.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSettings;

namespace cw::gui {

class MainWindow;

// Start-up: the checks of the game root or profile and, when they pass, the window. A
// failed check shows its one message in a message box; the caller then ends the
// program with status 1.
struct Startup
{
    std::unique_ptr<MainWindow> window; // null when a check failed or the user gave up
    std::optional<StartupFailure> failure;
};

// On a game root in the Windows layout.
Startup startUp(const std::filesystem::path &root, GridTiming gridTiming = GridTiming::BeforeShow);
// On a game root or a profile; `programFolder` holds the program, for the shipped catalogue.
Startup startUp(const GameLocation &location, const std::filesystem::path &programFolder,
                GridTiming gridTiming = GridTiming::BeforeShow);

// The options of the window program: ours, and the window system's own (-platform,
// -style, ...), which are handed to it untouched.
const ArgumentRules &windowArgumentRules();

struct WindowOptions
{
    std::optional<GameLocation> location;       // --root, or --profile with --game
    std::optional<std::filesystem::path> game;  // --game
    std::string programName;                    // argv[0]
    std::vector<std::string> platformArguments; // the window system's options, in order
    std::optional<double> fontSize;             // --font-size, in points
};

// The font sizes --font-size takes, in points.
inline constexpr double kSmallestFontSize = 6;
inline constexpr double kLargestFontSize = 32;

// What is wrong with --font-size, for people; empty when it is absent or fine.
std::string fontSizeProblem(const Arguments &parsed);

// The window's options from a command line parsed with windowArgumentRules().
WindowOptions windowOptions(const Arguments &parsed, std::string programName);

// The game root or profile used last, as rememberLocation() keeps it, when there is one.
std::optional<GameLocation> rememberedLocation(QSettings &settings);
// The folder of the game used last, when one was known.
std::optional<std::filesystem::path> rememberedGame(QSettings &settings);
// Keeps the location for the next start without options, with its game folder when
// known (else the one kept before stays).
void rememberLocation(QSettings &settings, const GameLocation &location);

// The folder chooser of a start that found nothing, titled "Where are your Darwinia
// mods?", opening at `startFolder`, and saying what a game folder and a profile hold.
// Nothing when the user cancels it.
std::optional<GameLocation> askForLocation(const std::filesystem::path &startFolder);

// Where the window opens and the start-up there: the location the options name, else
// the one the search finds (findGameLocation), else the one the user picks, asked
// again after each pick that fails start-up; a profile gets its game folder from
// --game, the settings or the usual places. After a successful start-up the location
// is remembered in `settings`. When the user cancels the chooser, neither window nor
// failure is returned.
Startup startWindow(const WindowOptions &options, const Whereabouts &where, QSettings &settings,
                    GridTiming gridTiming = GridTiming::BeforeShow);

// Runs the window program: start-up, the event loop. Returns the exit status: 1 when
// start-up failed or the chooser was cancelled, 2 when no display could be opened.
// The first form looks from this process, with the settings of organization and
// application "Cuewright".
int runApplication(const WindowOptions &options);
int runApplication(const WindowOptions &options, const Whereabouts &where, QSettings &settings);

} // namespace cw::gui
