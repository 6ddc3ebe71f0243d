#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// Starting the text editor and the game: always a program and an argument vector,
// never a command line for a shell, so no path is ever split or interpreted. Every
// name is kept as the system's own, so a file whose name is not UTF-8 opens as itself.
namespace cw::gui::ui {

struct Launch
{
    std::filesystem::path program; // found on PATH when it names no folder
    std::vector<std::filesystem::path> arguments;
    std::filesystem::path workingFolder; // empty: the program's current folder
};

// $CUEWRIGHT_EDITOR when set, else notepad on Windows, else xdg-open; `file` is
// its one argument.
Launch textEditorLaunch(const std::filesystem::path &file);

// The game, started in its own folder, where it finds its data folder:
// $CUEWRIGHT_GAME when set (run with no arguments), else darwinia.exe of the game
// folder on Windows, else the game's native program there (nativeGameProgram), else
// wine with the full path of darwinia.exe. Nothing when no game folder is known and
// $CUEWRIGHT_GAME is not set; a program named by it starts in the current folder then.
std::optional<Launch> gameLaunch(const std::optional<std::filesystem::path> &gameFolder);

// Starts the program without waiting for it, in its working folder. Returns false
// when it cannot be started.
bool start(const Launch &launch);

} // namespace cw::gui::ui
