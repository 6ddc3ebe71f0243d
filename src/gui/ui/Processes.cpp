#include "gui/ui/Processes.h"

#include "core/workspace/GameLocation.h"
#include "core/workspace/ModLayout.h"
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
    return Launch{program, {displayName(file)}, {}};
}

std::optional<Launch> gameLaunch(const std::optional<std::filesystem::path> &gameFolder)
{
    const QString folder = gameFolder ? displayName(*gameFolder) : QString();
    const QString program = fromEnvironment("CUEWRIGHT_GAME");
    if (!program.isEmpty())
        return Launch{program, {}, folder};
    if (!gameFolder)
        return std::nullopt;
    const std::filesystem::path windowsProgram = findNoCase(*gameFolder, layout::kGameProgram);
#ifdef _WIN32
    return Launch{displayName(windowsProgram), {}, folder};
#else
    if (const auto native = nativeGameProgram(*gameFolder))
        return Launch{displayName(*native), {}, folder};
    return Launch{QStringLiteral("wine"), {displayName(windowsProgram)}, folder};
#endif
}

bool start(const Launch &launch)
{
    return QProcess::startDetached(launch.program, launch.arguments, launch.workingFolder);
}

} // namespace cw::gui::ui
