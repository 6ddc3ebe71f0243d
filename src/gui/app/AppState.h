#pragma once

#include "core/io/FileStamp.h"
#include "core/io/Files.h"
#include "core/util/Version.h"

#include <QString>

#include <filesystem>
#include <string>

namespace cw::gui {

// "Cuewright vVERSION - ": the window caption starts with it, whatever is open.
inline QString captionPrefix()
{
    return QStringLiteral("Cuewright v") +
           QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())) +
           QStringLiteral(" - ");
}

// The state that lives beside the controls for the life of the window.
struct AppState
{
    QString captionPrefix = gui::captionPrefix();
    QString currentModName;
    // The mod whose files the window shows and edits: its folder and its position in
    // List1 (-1 and empty before any mod is opened). The selection of List1 may already
    // name another one while the user is asked about unsaved edits.
    std::filesystem::path openModFolder;
    int openModPosition = -1;
    QString currentScriptName;
    std::string currentScriptFile;             // the same name as the file system spells it
    std::filesystem::path currentScriptFolder; // where it was read from
    // What the open script's file and the open mod's strings table held when they were
    // last read or written, to notice another program's change before writing over it.
    FileStamp scriptOnDisk;
    FileStamp stringsOnDisk;
    // True while a mod opens or a script loads; user requests for another one are
    // ignored meanwhile.
    bool busy = false;

    bool scriptOpen() const { return !currentScriptFile.empty(); }
    std::filesystem::path openScriptPath() const;
};

inline std::filesystem::path AppState::openScriptPath() const
{
    return currentScriptFolder / pathFromName(currentScriptFile);
}

} // namespace cw::gui
