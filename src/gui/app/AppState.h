#pragma once

#include "core/script/ScriptLines.h"
#include "core/util/Version.h"

#include <QString>

#include <string>

namespace cw::gui {

// Why the open mod is being opened again; tells openMod which parts to leave alone.
enum class RefreshReason {
    UserOrFolderAction = 0, // everything is (re)loaded
    ScriptFileAction = 1,   // save, save as, new, delete: the strings side and the grid stay
    StringsSaved = 3,       // the strings editor keeps its text; lists and grid are refilled
};

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
    RefreshReason refreshReason = RefreshReason::UserOrFolderAction;
    QString currentScriptName;
    std::string currentScriptFile; // the same name as the file system spells it
    int savedFilePosition = 0;
    ScriptLineTable lineTable;
    // True while a mod opens or a script loads; user requests for another one are
    // ignored meanwhile.
    bool busy = false;
};

} // namespace cw::gui
