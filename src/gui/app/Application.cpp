#include "gui/app/Application.h"

#include "cli/Tools.h"
#include "core/util/Version.h"
#include "gui/app/MainWindow.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/TextCodec.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
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

int runApplication(int argc, char **argv)
{
    // Tests run this inside their own application object.
    std::optional<QApplication> ownApplication;
    if (!QCoreApplication::instance())
        ownApplication.emplace(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cuewright"));
    QApplication::setApplicationVersion(
        QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())));

    // Qt has taken its own options out of argv by now.
    std::filesystem::path root = executableFolder();
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--root" && i + 1 < argc) {
            root = std::filesystem::path(argv[++i]);
        } else {
            std::cerr << "cuewright: unexpected argument " << argument << "\n" << cli::usage();
            return kExitUsage;
        }
    }

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
