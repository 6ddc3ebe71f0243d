#include "gui/ui/Processes.h"

#include "core/io/Files.h"
#include "core/workspace/GameLocation.h"
#include "core/workspace/ModLayout.h"

#include <QProcess>
#include <QtGlobal>

namespace cw::gui::ui {
namespace {

// An environment variable as a name of the system's own: bytes on POSIX, wide on Windows.
std::filesystem::path fromEnvironment(const char *name)
{
#ifdef _WIN32
    return qEnvironmentVariable(name).toStdWString();
#else
    return qgetenv(name).toStdString();
#endif
}

} // namespace

Launch textEditorLaunch(const std::filesystem::path &file)
{
    std::filesystem::path program = fromEnvironment("CUEWRIGHT_EDITOR");
    if (program.empty()) {
#ifdef _WIN32
        program = "notepad";
#else
        program = "xdg-open";
#endif
    }
    return Launch{program, {file}, {}};
}

std::optional<Launch> gameLaunch(const std::optional<std::filesystem::path> &gameFolder)
{
    const std::filesystem::path folder = gameFolder.value_or(std::filesystem::path());
    const std::filesystem::path program = fromEnvironment("CUEWRIGHT_GAME");
    if (!program.empty())
        return Launch{program, {}, folder};
    if (!gameFolder)
        return std::nullopt;
    const std::filesystem::path windowsProgram = findNoCase(*gameFolder, layout::kGameProgram);
#ifdef _WIN32
    return Launch{windowsProgram, {}, folder};
#else
    if (const auto native = nativeGameProgram(*gameFolder))
        return Launch{*native, {}, folder};
    return Launch{"wine", {windowsProgram}, folder};
#endif
}

bool start(const Launch &launch)
{
#ifdef _WIN32
    // A wide name holds every name Windows has, and QString holds every wide name.
    const auto text = [](const std::filesystem::path &path) {
        return QString::fromStdWString(path.native());
    };
    QStringList arguments;
    for (const std::filesystem::path &argument : launch.arguments)
        arguments.append(text(argument));
    return QProcess::startDetached(text(launch.program), arguments, text(launch.workingFolder));
#else
    // QProcess takes only QString, which cannot hold a name that is not UTF-8.
    return startProgram(launch.program, launch.arguments, launch.workingFolder).ok();
#endif
}

} // namespace cw::gui::ui
