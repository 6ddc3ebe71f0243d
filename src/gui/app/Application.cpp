#include "gui/app/Application.h"

#include "core/util/Version.h"
#include "gui/app/MainWindow.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>

namespace cw::gui {
namespace {

constexpr int kExitFailedStartup = 1;
constexpr int kExitUsage = 2;

// Prints a moment of start-up on the monotonic clock, for the benchmark program,
// which starts this program with CUEWRIGHT_STARTUP_PROBE set and reads the lines.
void probe(const char *what)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::fprintf(stderr, "cuewright-probe %s %lld\n", what,
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fflush(stderr);
}

} // namespace

Startup startUp(const std::filesystem::path &root, GridTiming gridTiming)
{
    Startup result;
    auto gameRoot = openGameRoot(root);
    if (!gameRoot) {
        result.failure = gameRoot.error();
        ui::showMessage(nullptr, QString::fromStdString(gameRoot.error().message));
        return result;
    }
    result.window = std::make_unique<MainWindow>(std::move(gameRoot).value(),
                                                 gridTiming == GridTiming::BeforeShow
                                                     ? MainWindow::GridBuild::Now
                                                     : MainWindow::GridBuild::AfterFirstFrame);
    return result;
}

const ArgumentRules &windowArgumentRules()
{
    static const ArgumentRules rules{
        {"--root"},
        {"--help", "-h", "--version"},
        {"-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-qwindowicon",
         "-qwindowtitle", "-session", "-style", "-stylesheet", "-display", "-geometry", "-title", "-name",
         "-visual", "-qmljsdebugger"},
        {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync", "-testability"},
    };
    return rules;
}

WindowOptions windowOptions(const Arguments &parsed, std::string programName)
{
    WindowOptions options;
    if (const std::string *root = parsed.value("--root"))
        options.root = pathFromName(*root);
    options.programName = std::move(programName);
    options.platformArguments = parsed.foreign;
    return options;
}

namespace {

// Qt ends the program when no platform plugin can connect to a display. While the
// application object is being made, its messages are held back, and such an end is
// turned into one line that says what happened and what still works.
bool g_constructing = false;
std::vector<QString> g_heldMessages;

void startupMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg && g_constructing) {
        std::fprintf(stderr, "cuewright: no display could be opened, so the window cannot start; the "
                             "command-line tools (tokens, commands, fmt, check) work without one\n");
        std::fflush(stderr);
        std::_Exit(kExitUsage);
    }
    if (g_constructing) {
        g_heldMessages.push_back(message);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int runApplication(const WindowOptions &options)
{
    // QApplication keeps argc and argv for its life.
    std::vector<std::string> arguments{options.programName};
    arguments.insert(arguments.end(), options.platformArguments.begin(), options.platformArguments.end());
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());

    // Tests run this inside their own application object.
    std::optional<QApplication> ownApplication;
    if (!QCoreApplication::instance()) {
        const QtMessageHandler previous = qInstallMessageHandler(startupMessages);
        g_constructing = true;
        ownApplication.emplace(argc, argv.data());
        g_constructing = false;
        qInstallMessageHandler(previous);
        for (const QString &message : g_heldMessages)
            qWarning("%s", qPrintable(message));
        g_heldMessages.clear();
    }
    QApplication::setApplicationName(QStringLiteral("Cuewright"));
    QApplication::setApplicationVersion(
        QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())));
    const std::filesystem::path root = options.root.value_or(executableFolder());

    const bool probing = qEnvironmentVariableIsSet("CUEWRIGHT_STARTUP_PROBE");
    Startup startup = startUp(root, GridTiming::AfterFirstFrame);
    if (!startup.window) {
        std::cerr << "cuewright: " << startup.failure->detail << "\n";
        return kExitFailedStartup;
    }
    MainWindow &window = *startup.window;
    QObject::connect(&window, &MainWindow::firstFrameShown, [probing] {
        if (probing)
            probe("first-frame");
    });
    QObject::connect(&window, &MainWindow::gridBuilt, [&window, probing](bool ok) {
        if (!ok) {
            ui::showMessage(&window,
                            QString::fromStdString(std::string(startupMessage(StartupStage::Layout))));
            QApplication::exit(kExitFailedStartup);
            return;
        }
        if (probing) {
            probe("grid-built");
            QApplication::exit(0);
        }
    });
    window.show();
    return QApplication::exec();
}

} // namespace cw::gui
