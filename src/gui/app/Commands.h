#pragma once

class QAction;
class QPushButton;
class QWidget;

namespace cw::gui {

// The window's commands, one QAction each: a button and a key trigger the same action,
// and a command that may not be used now is a disabled action, which disables its
// button and its key alike. Opening a mod says which may be used (ModWorkspace).
struct Commands
{
    QAction *saveScript = nullptr;     // the file the script list highlights
    QAction *saveOpenScript = nullptr; // the open script to its own file; usable with Save Script
    QAction *saveScriptAs = nullptr;   // Ctrl+Shift+S
    QAction *newScript = nullptr;      // Ctrl+N
    QAction *deleteScript = nullptr;
    QAction *saveStrings = nullptr;
    QAction *revertStrings = nullptr;
    QAction *check = nullptr;
    QAction *timeline = nullptr;
    QAction *caption = nullptr;       // Ctrl+Shift+P: the caption as the player sees it
    QAction *saveShown = nullptr;     // Ctrl+S: the save of the page shown
    QAction *find = nullptr;          // Ctrl+F: find in the script
    QAction *findNext = nullptr;      // F3
    QAction *findPrevious = nullptr;  // Shift+F3
    QAction *findInMod = nullptr;     // Ctrl+Shift+F: find (and replace) in the mod's files
    QAction *undoModChange = nullptr; // Undo Replace in Mod
    QAction *renameKey = nullptr;     // F2: the strings key at the cursor, everywhere in the mod
};

// The commands of `window`, their keys active while it is; the script's and the strings'
// disabled until a mod is opened.
Commands makeCommands(QWidget *window);

// `button` triggers `action`, and is enabled exactly while the action is.
void bindButton(QPushButton *button, QAction *action);

} // namespace cw::gui
