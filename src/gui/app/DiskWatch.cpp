#include "gui/app/DiskWatch.h"

#include "core/io/FileStamp.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsText.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/strings/StringsEditor.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"

#include <QEvent>

namespace cw::gui {

DiskWatch::DiskWatch(WindowModel &model, ScriptBrowser &browser, StringsEditor &strings, QWidget *window,
                     QWidget *scriptList, QWidget *stringsText)
    : m_model(model), m_browser(browser), m_strings(strings), m_window(window), m_scriptList(scriptList),
      m_stringsText(stringsText)
{
    window->installEventFilter(this);
}

bool DiskWatch::eventFilter(QObject *watched, QEvent *event)
{
    // Looked at once the activation is over, so that a question it leads to never
    // stands inside the window system's event.
    if (watched == m_window && event->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, "look", Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void DiskWatch::look()
{
    m_model.whenIdle([this] {
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
    if (!m_model.scriptOpen())
        return;
    const std::filesystem::path path = m_model.scriptPath();
    QWidget *at = m_scriptList;
    switch (diskState(path, m_model.scriptOnDisk(), Compare::SizeAndTime)) {
    case DiskState::Unchanged:
        m_scriptSeen.reset();
        return;
    case DiskState::Gone:
        if (!notedBefore(path, m_scriptSeen))
            ui::note(at, QStringLiteral("%1 is no longer on disk: another program removed or renamed it")
                             .arg(m_model.scriptName()));
        return;
    case DiskState::Changed:
        break;
    }
    // A change is taken up once: a file that cannot be read again (the editor refuses
    // its lines, say) is not tried and reported at every activation.
    if (notedBefore(path, m_scriptSeen))
        return;
    const QString name = m_model.scriptName();
    if (!m_model.editor().isModified()) {
        m_model.relistScripts();
        if (m_browser.open(m_model.scriptFile())) {
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
    if (!m_model.modOpen() || !m_model.stringsOnDisk().known)
        return;
    const std::filesystem::path path = m_model.stringsFile();
    QWidget *editor = m_stringsText;
    const QString name = displayName(path.filename());
    switch (diskState(path, m_model.stringsOnDisk(), Compare::SizeAndTime)) {
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
    if (!m_model.stringsText().isModified()) {
        if (m_strings.reload()) {
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
