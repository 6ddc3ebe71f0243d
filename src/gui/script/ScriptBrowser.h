#pragma once

#include "core/io/FileStamp.h"
#include "core/script/ScriptLines.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

namespace cw::gui {

class MainWindow;

// The script lists File1 and List2 and what opens a script from them: the open
// action, the loader that fills the grid, and "Open 4 hax".
class ScriptBrowser : public QObject
{
    Q_OBJECT
public:
    explicit ScriptBrowser(MainWindow &window);

    // Opens the script selected in File1 into the grid (or empties the grid when
    // nothing is selected) and sets the caption. False when the file could not be
    // loaded; the grid, caption and script name then stay as they were, and File1 and
    // List2 select the script that is open again (nothing when none is).
    bool openFromList();

    // A script read into the document: what the reader said of it, and the stamp of
    // its file's bytes.
    struct Loaded
    {
        ScriptReadReport report;
        FileStamp onDisk;
    };
    // Reads the named script of File1's folder into the script document, which the
    // grid shows; an empty name resets every row. Nothing when it could not be read
    // (the user has been told why and the document is unchanged).
    std::optional<Loaded> loadScript(const std::string &fileName);

    // Opens the script selected in File1 in the text editor.
    void openInTextEditor();

private:
    void selectOpenScript();
    void userOpensFromFile1();
    void userOpensFromList2();

    MainWindow &m_window;
};

} // namespace cw::gui
