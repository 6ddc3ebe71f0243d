#include "gui/app/Application.h"

#include "cli/LocationOptions.h"
#include "core/catalogue/Tokenizer.h"
#include "core/util/Version.h"
#include "gui/app/MainWindow.h"
#include "gui/model/TextCodec.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/Processors.h"
#include "gui/ui/WindowPlaces.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <thread>

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

const QString kWhatToPick = QStringLiteral("A game folder holds darwinia.exe, mods and commands.txt; a "
                                           "profile holds mods and preferences.txt.");

// The folder a start-up check was about, and the check's cause: a folder found by the
// search may be one the user did not think of.
QString startupInformative(const GameLocation &location, const StartupFailure &failure)
{
    return QStringLiteral("%1: %2\n%3")
        .arg(location.kind == LayoutKind::GameRoot ? QStringLiteral("Game folder")
                                                   : QStringLiteral("Profile"),
             displayName(location.folder), QString::fromStdString(failure.detail));
}

// Start-up on the location; a failed check shows its message, as it is when the program
// ends, or, for a folder the user picked, without "Exiting..." since the chooser asks
// again.
Startup startAt(const GameLocation &location, const std::filesystem::path &programFolder,
                GridTiming gridTiming, bool picked)
{
    Startup result;
    auto gameRoot = openLocation(location, programFolder);
    if (!gameRoot) {
        const StartupFailure &failure = gameRoot.error();
        result.failure = failure;
        if (picked)
            ui::showMessage(nullptr, QString::fromStdString(std::string(withoutExiting(failure.message))),
                            startupInformative(location, failure) + QStringLiteral("\n\n") + kWhatToPick +
                                QStringLiteral(" Pick another folder, or Cancel to end."));
        else
            ui::showMessage(nullptr, QString::fromStdString(failure.message),
                            startupInformative(location, failure));
        return result;
    }
    result.window = std::make_unique<MainWindow>(std::move(gameRoot).value(), gridTiming);
    return result;
}

} // namespace

Startup startUp(const std::filesystem::path &root, GridTiming gridTiming)
{
    return startUp(gameRootAt(root), std::filesystem::path(), gridTiming);
}

Startup startUp(const GameLocation &location, const std::filesystem::path &programFolder,
                GridTiming gridTiming)
{
    return startAt(location, programFolder, gridTiming, false);
}

const ArgumentRules &windowArgumentRules()
{
    static const ArgumentRules rules{
        {"--root", "--profile", "--game", "--font-size"},
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
    options.location = locationFromOptions(parsed);
    options.game = gameFromOptions(parsed);
    options.programName = std::move(programName);
    options.platformArguments = parsed.foreign;
    if (const std::string *size = parsed.value("--font-size"))
        options.fontSize = std::strtod(size->c_str(), nullptr);
    return options;
}

std::string fontSizeProblem(const Arguments &parsed)
{
    const std::string *size = parsed.value("--font-size");
    if (!size)
        return {};
    char *end = nullptr;
    const double points = std::strtod(size->c_str(), &end);
    if (size->empty() || *end != '\0' || !(points >= kSmallestFontSize && points <= kLargestFontSize))
        return "--font-size needs a size in points from 6 to 32, not " + *size;
    return {};
}

namespace {

// Where the location used last is kept. Paths are kept as the system's bytes, so that
// a name in no particular encoding comes back as it was.
const QString kLayoutKey = QStringLiteral("location/layout");
const QString kFolderKey = QStringLiteral("location/folder");
const QString kGameKey = QStringLiteral("location/game");

std::optional<std::filesystem::path> pathSetting(QSettings &settings, const QString &key)
{
    const QByteArray name = settings.value(key).toByteArray();
    if (name.isEmpty())
        return std::nullopt;
    return pathFromName(std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
}

// Writes only what changed: every start remembers its location, and a setting written
// is a file synced to disk, milliseconds the first frame would wait for.
void setIfChanged(QSettings &settings, const QString &key, const QVariant &value)
{
    if (settings.value(key) != value)
        settings.setValue(key, value);
}

void setPathSetting(QSettings &settings, const QString &key, const std::filesystem::path &path)
{
    setIfChanged(settings, key, QByteArray::fromStdString(nameOf(path)));
}

} // namespace

std::optional<GameLocation> rememberedLocation(QSettings &settings)
{
    const QString layout = settings.value(kLayoutKey).toString();
    const std::optional<std::filesystem::path> folder = pathSetting(settings, kFolderKey);
    if (!folder)
        return std::nullopt;
    if (layout == QStringLiteral("root"))
        return gameRootAt(*folder);
    if (layout == QStringLiteral("profile"))
        return profileAt(*folder);
    return std::nullopt;
}

std::optional<std::filesystem::path> rememberedGame(QSettings &settings)
{
    return pathSetting(settings, kGameKey);
}

void rememberLocation(QSettings &settings, const GameLocation &location)
{
    const bool isRoot = location.kind == LayoutKind::GameRoot;
    setIfChanged(settings, kLayoutKey, isRoot ? QStringLiteral("root") : QStringLiteral("profile"));
    setPathSetting(settings, kFolderKey, location.folder);
    // A game root is its own game; the game folder kept is a profile's.
    if (!isRoot && location.game)
        setPathSetting(settings, kGameKey, *location.game);
    settings.sync();
}

std::optional<GameLocation> askForLocation(const std::filesystem::path &startFolder)
{
    // Qt's own dialog rather than the desktop's: the same on every desktop, and one a
    // test can answer.
    QFileDialog dialog(nullptr, QStringLiteral("Where are your Darwinia mods?"), displayName(startFolder));
    dialog.setObjectName(QStringLiteral("gameFolderChooser"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The game's profile folders are hidden ones (~/.darwinia).
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    // Below Qt's own fields, what the folder to pick holds.
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout())) {
        auto *hint = new QLabel(kWhatToPick, &dialog);
        hint->setObjectName(QStringLiteral("chooserHint"));
        hint->setWordWrap(true);
        grid->addWidget(hint, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // Qt answers with "/" on every system; messages about the folder show it as the
    // system writes paths, never "C:/Games/Darwinia\mods".
    return locationOfChosenFolder(
        pathFromName(fileNameFrom(QDir::toNativeSeparators(dialog.selectedFiles().front()))));
}

namespace {

// Start-up on a location named or found, or picked in the chooser; remembered once it
// passes.
Startup startCompleted(GameLocation location, const WindowOptions &options, const Whereabouts &where,
                       QSettings &settings, GridTiming gridTiming, bool picked)
{
    // --game completes a profile however it was found; a game root is its own game.
    if (location.kind == LayoutKind::Profile && !location.game)
        location.game = options.game;
    const GameLocation complete = withGameFolder(std::move(location), rememberedGame(settings), where);
    Startup startup = startAt(complete, where.programFolder, gridTiming, picked);
    if (startup.window)
        rememberLocation(settings, complete);
    return startup;
}

} // namespace

Startup startWindow(const WindowOptions &options, const Whereabouts &where, QSettings &settings,
                    GridTiming gridTiming)
{
    std::optional<GameLocation> location = options.location;
    if (!location)
        location = findGameLocation(where, rememberedLocation(settings));
    if (location)
        return startCompleted(std::move(location).value(), options, where, settings, gridTiming, false);
    // Nothing found: the user is asked until a folder they pick passes start-up, or
    // they cancel. A wrong pick is said why, and the chooser opens where it was left.
    std::filesystem::path startFolder = where.home.empty() ? where.currentFolder : where.home;
    for (;;) {
        std::optional<GameLocation> picked = askForLocation(startFolder);
        if (!picked)
            return Startup{};
        startFolder = picked->folder;
        Startup startup =
            startCompleted(std::move(picked).value(), options, where, settings, gridTiming, true);
        if (startup.window)
            return startup;
    }
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
    QSettings settings(QStringLiteral("Cuewright"), QStringLiteral("Cuewright"));
    return runApplication(options, Whereabouts::ofThisProcess(), settings);
}

namespace {

void setUpApplication(const WindowOptions &options)
{
    if (options.fontSize) {
        QFont font = QApplication::font();
        font.setPointSizeF(*options.fontSize);
        QApplication::setFont(font);
    }
    QApplication::setApplicationName(QStringLiteral("Cuewright"));
    QApplication::setApplicationVersion(
        QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size())));
    // Lets desktops match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.cuewright.Cuewright"));
}

// Reading the system's fonts takes milliseconds that the window's first text would wait
// for: a thread reads them while the window is being made (Qt's font database is
// thread-safe; the first text that needs a font waits for it). The calling thread stays
// busy making the window, so the reading goes to another processor, where it starts at
// once.
std::jthread startReadingFonts()
{
    std::jthread fonts([] { (void)QFontDatabase::families(); });
    ui::moveToAnotherProcessor(fonts.native_handle());
    return fonts;
}

// Qt's raster engine splits a fill whose clip is many rectangles (the tab frame around
// the page, a page behind its lists) across the global thread pool and waits for it, and
// the pool makes its threads on first use: in the first frame, threads made then were
// seen to keep it waiting up to 5 ms before they ran. Made now, they are waiting in the
// pool by the time the window is painted.
void startPaintThreads()
{
    QThreadPool *pool = QThreadPool::globalInstance();
    for (int i = 0; i < pool->maxThreadCount(); ++i)
        pool->start([] {});
}

const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kScreenKey = QStringLiteral("window/screen");
const QString kPanelsKey = QStringLiteral("window/panels");

// The window opens where the user left it, as large as they left it, unless the screen
// it stood on is gone: then it opens as it does the first time.
void restorePlace(MainWindow &window, const QSettings &settings)
{
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    const QString screenName = settings.value(kScreenKey).toString();
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool screenThere = std::any_of(screens.begin(), screens.end(),
                                         [&](const QScreen *s) { return s->name() == screenName; });
    if (geometry.isEmpty() || !screenThere || !window.restoreGeometry(geometry))
        return;
    ui::fitOnScreen(&window, ui::kCommonFrame);
    // The panels stand where the user left them, open or closed.
    const QByteArray panels = settings.value(kPanelsKey).toByteArray();
    if (!panels.isEmpty())
        window.restorePanels(panels);
}

void rememberPlace(const MainWindow &window, QSettings &settings)
{
    settings.setValue(kGeometryKey, window.saveGeometry());
    settings.setValue(kPanelsKey, window.saveState());
    settings.setValue(kScreenKey, window.screen() ? window.screen()->name() : QString());
}

} // namespace

int runApplication(const WindowOptions &options, const Whereabouts &where, QSettings &settings)
{
    // QApplication keeps argc and argv for its life.
    std::vector<std::string> arguments{options.programName};
    arguments.insert(arguments.end(), options.platformArguments.begin(), options.platformArguments.end());
    std::vector<char *> argv;
    argv.reserve(arguments.size() + 1);
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
    setUpApplication(options);
    const std::jthread fonts = startReadingFonts();
    startPaintThreads();

    const bool probing = qEnvironmentVariableIsSet("CUEWRIGHT_STARTUP_PROBE");
    Startup startup = startWindow(options, where, settings, GridTiming::AfterFirstFrame);
    if (!startup.window) {
        // A cancelled chooser ends the program quietly.
        if (startup.failure)
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
    restorePlace(window, settings);
    window.show();
    const int exitCode = QApplication::exec();
    rememberPlace(window, settings);
    return exitCode;
}

} // namespace cw::gui
