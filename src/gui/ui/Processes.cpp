#include "gui/ui/Processes.h"

#include "gui/ui/TextCodec.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace cw::gui::ui {
namespace {

QString fromEnvironment(const char *name)
{
    return QProcessEnvironment::systemEnvironment().value(QString::fromLatin1(name));
}

} // namespace

Launch textEditorLaunch(const std::filesystem::path &file)
{
    QString program = fromEnvironment("CUEWRIGHT_EDITOR");
    if (program.isEmpty()) {
#ifdef _WIN32
        program = QStringLiteral("notepad");
#else
        program = QStringLiteral("xdg-open");
#endif
    }
    return Launch{program, {displayName(file)}};
}

Launch gameLaunch(const std::filesystem::path &gameExecutable)
{
    const QString program = fromEnvironment("CUEWRIGHT_GAME");
    if (!program.isEmpty())
        return Launch{program, {}};
#ifdef _WIN32
    return Launch{displayName(gameExecutable), {}};
#else
    return Launch{QStringLiteral("wine"), {displayName(gameExecutable)}};
#endif
}

bool start(const Launch &launch)
{
    return QProcess::startDetached(launch.program, launch.arguments);
}

} // namespace cw::gui::ui
