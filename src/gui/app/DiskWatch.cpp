#include "gui/app/DiskWatch.h"

#include "core/io/FileStamp.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsText.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptBrowser.h"
#include "gui/strings/StringsEditor.h"
#include "gui/ui/NoticeBar.h"
#include "gui/ui/TextCodec.h"

#include <QEvent>

#include <functional>

namespace cw::gui {

DiskWatch::DiskWatch(WindowModel &model, ScriptBrowser &browser, StringsEditor &strings, QWidget *window,
                     ui::NoticeBar *notices)
    : m_model(model), m_browser(browser), m_strings(strings), m_window(window), m_notices(notices)
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
    lookAt({m_model.scriptPath(), m_model.scriptOnDisk(), m_model.scriptName(), m_scriptSeen,
            m_model.editor().isModified(), QStringLiteral("The grid"), [this] {
                m_model.relistScripts();
                return m_browser.open(m_model.scriptFile());
            }});
}

void DiskWatch::lookAtStrings()
{
    if (!m_model.modOpen() || !m_model.stringsOnDisk().known)
        return;
    const std::filesystem::path path = m_model.stringsFile();
    lookAt({path, m_model.stringsOnDisk(), displayName(path.filename()), m_stringsSeen,
            m_model.stringsText().isModified(), QStringLiteral("The editor"), [this] {
                return m_strings.reload();
            }});
}

void DiskWatch::lookAt(const Watched &file)
{
    switch (diskState(file.path, file.stamp, Compare::SizeAndTime)) {
    case DiskState::Unchanged:
        file.seen.reset();
        return;
    case DiskState::Gone:
        if (!notedBefore(file.path, file.seen))
            m_notices->notify(QStringLiteral("%1 is no longer on disk: another program removed or renamed it")
                                  .arg(file.name));
        return;
    case DiskState::Changed:
        break;
    }
    // A change is taken up once: a file that cannot be read again (the editor refuses
    // its lines, say) is not tried and reported at every activation.
    if (notedBefore(file.path, file.seen))
        return;
    if (!file.modified) {
        if (file.reload()) {
            file.seen.reset();
            m_notices->notify(
                QStringLiteral("%1 was changed by another program and has been read again").arg(file.name));
        }
        return;
    }
    m_notices->notify(QStringLiteral("%1 was changed by another program. %2 keeps your edits; saving asks "
                                     "before it replaces that change")
                          .arg(file.name, file.holder));
}

} // namespace cw::gui
