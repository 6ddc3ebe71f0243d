#include "gui/app/DiskWatch.h"

#include "core/io/FileStamp.h"
#include "core/workspace/ModLayout.h"
#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptEditor.h"
#include "gui/script/ScriptFiles.h"
#include "gui/strings/StringsEditor.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/TextCodec.h"

#include <QEvent>

namespace cw::gui {

DiskWatch::DiskWatch(MainWindow &window) : m_window(window)
{
    window.installEventFilter(this);
}

bool DiskWatch::eventFilter(QObject *watched, QEvent *event)
{
    // Looked at once the activation is over, so that a question it leads to never
    // stands inside the window system's event.
    if (watched == &m_window && event->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, "look", Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void DiskWatch::look()
{
    m_window.whenIdle([this] {
        lookAtScript();
        lookAtStrings();
    });
}

bool DiskWatch::notedBefore(const std::filesystem::path &path, Seen &seen)
{
    std::error_code code;
    const auto now =
        std::make_pair(std::filesystem::file_size(path, code), std::filesystem::last_write_time(path, code));
    const bool noted = seen == now;
    seen = now;
    return noted;
}

void DiskWatch::lookAtScript()
{
    AppState &state = m_window.state();
    if (!state.scriptOpen())
        return;
    const std::filesystem::path path = state.openScriptPath();
    QWidget *at = m_window.controls().file1;
    switch (diskState(path, state.scriptOnDisk, Compare::SizeAndTime)) {
    case DiskState::Unchanged:
        m_scriptSeen.reset();
        return;
    case DiskState::Gone:
        if (!notedBefore(path, m_scriptSeen))
            ui::note(at, QStringLiteral("%1 is no longer on disk: another program removed or renamed it")
                             .arg(state.currentScriptName));
        return;
    case DiskState::Changed:
        break;
    }
    // A change is taken up once: a file that cannot be read again (the editor refuses
    // its lines, say) is not tried and reported at every activation.
    if (notedBefore(path, m_scriptSeen))
        return;
    const QString name = state.currentScriptName;
    if (!m_window.editor().isModified()) {
        if (m_window.scriptFiles().reloadOpenScript()) {
            m_scriptSeen.reset();
            ui::note(at,
                     QStringLiteral("%1 was changed by another program and has been read again").arg(name));
        }
        return;
    }
    ui::note(at, QStringLiteral("%1 was changed by another program. The grid keeps your edits; saving "
                                "asks before it replaces that change")
                     .arg(name));
}

void DiskWatch::lookAtStrings()
{
    AppState &state = m_window.state();
    if (state.openModFolder.empty() || !state.stringsOnDisk.known)
        return;
    const std::filesystem::path path = findNoCase(state.openModFolder, layout::kStringsFile);
    StringsTextEdit *editor = m_window.controls().stringsText;
    const QString name = displayName(path.filename());
    switch (diskState(path, state.stringsOnDisk, Compare::SizeAndTime)) {
    case DiskState::Unchanged:
        m_stringsSeen.reset();
        return;
    case DiskState::Gone:
        if (!notedBefore(path, m_stringsSeen))
            ui::note(
                editor,
                QStringLiteral("%1 is no longer on disk: another program removed or renamed it").arg(name));
        return;
    case DiskState::Changed:
        break;
    }
    if (notedBefore(path, m_stringsSeen))
        return;
    if (!editor->isModified()) {
        if (m_window.stringsEditor().reload()) {
            m_stringsSeen.reset();
            ui::note(editor,
                     QStringLiteral("%1 was changed by another program and has been read again").arg(name));
        }
        return;
    }
    ui::note(editor, QStringLiteral("%1 was changed by another program. The editor keeps your edits; "
                                    "saving asks before it replaces that change")
                         .arg(name));
}

} // namespace cw::gui
