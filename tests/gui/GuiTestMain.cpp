// One application object for all window tests, on the offscreen platform with three
// screens (a laptop's, the primary one; a large one; a small one) unless the caller
// chose another platform, with the standard paths of Qt's test mode, and a watchdog
// that fails a test which meets a modal dialog nobody answers instead of letting it
// wait for ever.
#include "GuiSupport.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The offscreen platform reports each window feature it lacks; those lines say
// nothing about the program.
QtMessageHandler g_standardHandler = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    if (g_standardHandler)
        g_standardHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Names sort in the order Qt makes them: the offscreen platform's primary screen is
// the first name.
constexpr const char *kScreens = R"({ "screens": [
  { "name": "a-laptop", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
  { "name": "b-large", "x": 1366, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
  { "name": "c-small", "x": 3286, "y": 0, "width": 1024, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
] })";

// Qt splits the platform's options at every colon, so on Windows, where an absolute
// path starts with a drive letter and a colon, the file goes in the current folder
// under a relative name.
std::filesystem::path writeScreens()
{
    const std::string name =
        "cuewright-gui-tests-screens-" + std::to_string(QCoreApplication::applicationPid()) + ".json";
#ifdef _WIN32
    const std::filesystem::path path = name;
#else
    const auto path = std::filesystem::temp_directory_path() / name;
#endif
    std::ofstream(path) << kScreens;
    return path;
}

} // namespace

int main(int argc, char **argv)
{
    g_standardHandler = qInstallMessageHandler(quietMessages);
    // "-platform offscreen" (or none chosen) becomes the offscreen platform with the
    // screens above; another platform is left as chosen.
    std::vector<char *> arguments;
    bool offscreen =
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qgetenv("QT_QPA_PLATFORM") == "offscreen";
    for (int i = 0; i < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform" && i + 1 < argc) {
            offscreen = std::string_view(argv[i + 1]) == "offscreen";
            if (offscreen) {
                ++i;
                continue;
            }
        }
        arguments.push_back(argv[i]);
    }
    std::filesystem::path screens;
    if (offscreen) {
        screens = writeScreens();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QByteArray::fromStdString(screens.string()));
    }
    argc = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    argv = arguments.data();
    // Settings a test leaves behind go to a folder of their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (!screens.empty())
        std::filesystem::remove(screens);
    const cw::test::ModalWatchdog watchdog;
    return RUN_ALL_TESTS();
}
