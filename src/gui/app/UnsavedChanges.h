#pragma once

#include <QMessageBox>
#include <QString>

#include <filesystem>

namespace cw::gui {

class MainWindow;

// The guard before anything replaces what the user has not saved: the grid's edits
// (before another script, another mod, a new or deleted script, a strings save, or
// closing the window) and the strings editor's text (before another mod or closing).
// It asks Save, Discard or Cancel; Save writes the open script to its own file (and the
// strings table of the open mod), as their buttons would.
class UnsavedChanges
{
public:
    enum class Before {
        OpeningScript,
        OpeningMod,
        ReopeningMod, // a folder action opens the mod again, from its files
        NewScript,
        DeletingScript,
        SavingStrings,
        Closing,
    };

    explicit UnsavedChanges(MainWindow &window) : m_window(window) {}

    // True when the action may go on: nothing was unsaved, or it was saved or discarded.
    bool mayReplace(Before before);

private:
    bool mayReplaceGrid(const QString &before);
    bool mayReplaceStrings(const QString &before);
    QMessageBox::StandardButton ask(const QString &question, const QString &informative, bool canSave);
    std::filesystem::path scriptsFolder() const;

    MainWindow &m_window;
};

} // namespace cw::gui
