#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>

// Starting the text editor and the game: always a program and an argument vector,
// never a command line for a shell, so no path is ever split or interpreted.
namespace cw::gui::ui {

struct Launch
{
    QString program;
    QStringList arguments;
};

// $CUEWRIGHT_EDITOR when set, else notepad on Windows, else xdg-open; `file` is
// its one argument.
Launch textEditorLaunch(const std::filesystem::path &file);

// $CUEWRIGHT_GAME when set (run with no arguments), else darwinia.exe of the game
// root on Windows, else wine with the full path of darwinia.exe.
Launch gameLaunch(const std::filesystem::path &gameExecutable);

// Starts the program without waiting for it, in the program's current folder.
// Returns false when it cannot be started.
bool start(const Launch &launch);

} // namespace cw::gui::ui
