#pragma once

#include <QObject>

namespace cw::gui {

class MainWindow;

// "Save Changes" and "Revert to Backup" of the strings editor.
class StringsEditor : public QObject
{
    Q_OBJECT
public:
    explicit StringsEditor(MainWindow &window);

    // Writes the editor's text and one line end to strings_default.txt.bak and to
    // strings_default.txt, then opens the mod again with the editor's text kept.
    void save();
    // Replaces the editor's text with the backup's; when the backup cannot be read,
    // says so and leaves the text as it was.
    void revert();

private:
    MainWindow &m_window;
};

} // namespace cw::gui
