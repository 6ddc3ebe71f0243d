#pragma once

#include <QObject>

#include <filesystem>
#include <optional>
#include <utility>

namespace cw {
struct FileStamp;
}

namespace cw::gui {

class MainWindow;

// Notices, whenever the window becomes active again, that another program (the text
// editor "Open 4 hax" started, say) changed the open script's file or the strings
// table: what the user has not edited is read again, with a short note; edits stay,
// and the note says that the file changed. Each change is noted once.
class DiskWatch : public QObject
{
    Q_OBJECT
public:
    explicit DiskWatch(MainWindow &window);

    // Looks at both files now (invoked by name, queued, after an activation).
    Q_INVOKABLE void look();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The size and time of a change already noted.
    using Seen = std::optional<std::pair<std::uintmax_t, std::filesystem::file_time_type>>;
    void lookAtScript();
    void lookAtStrings();
    // Whether the change now on disk at `path` was noted already; notes it as seen.
    static bool notedBefore(const std::filesystem::path &path, Seen &seen);

    MainWindow &m_window;
    Seen m_scriptSeen;
    Seen m_stringsSeen;
};

} // namespace cw::gui
