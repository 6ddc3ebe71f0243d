#pragma once

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <utility>

namespace cw {
struct FileStamp;
}

namespace cw::gui {

class ScriptBrowser;
class StringsEditor;
class WindowModel;
namespace ui {
class NoticeBar;
}

// Notices, whenever the window becomes active again, that another program (the text
// editor "Open 4 hax" started, say) changed the open script's file or the strings
// table: what the user has not edited is read again, with a message in the notice bar;
// edits stay, and the message says that the file changed. Each change is noted once.
class DiskWatch : public QObject
{
    Q_OBJECT
public:
    // Looks whenever `window` becomes active; tells what it found in `notices`.
    DiskWatch(WindowModel &model, ScriptBrowser &browser, StringsEditor &strings, QWidget *window,
              ui::NoticeBar *notices);

    // Looks at both files now (invoked by name, queued, after an activation).
    Q_INVOKABLE void look();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The size and time of a change already noted.
    using Seen = std::optional<std::pair<std::uintmax_t, std::filesystem::file_time_type>>;
    // A file the window shows, as it was last read or written, and what it takes to
    // read it again.
    struct Watched
    {
        std::filesystem::path path;
        FileStamp &stamp;
        QString name;
        Seen &seen;
        bool modified;  // it has edits the disk does not hold
        QString holder; // what holds them: "The grid", "The editor"
        std::function<bool()> reload;
    };
    void lookAtScript();
    void lookAtStrings();
    void lookAt(const Watched &file);
    // Whether the change now on disk at `path` was noted already; notes it as seen.
    static bool notedBefore(const std::filesystem::path &path, Seen &seen);

    WindowModel &m_model;
    ScriptBrowser &m_browser;
    StringsEditor &m_strings;
    QWidget *m_window;
    ui::NoticeBar *m_notices;
    Seen m_scriptSeen;
    Seen m_stringsSeen;
};

} // namespace cw::gui
