// One application object for all window tests, on the offscreen platform unless the
// caller chose another one, with the standard paths of Qt's test mode, and a watchdog
// that fails a test which meets a modal dialog nobody answers instead of letting it
// wait for ever.
#include "GuiSupport.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>

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

} // namespace

int main(int argc, char **argv)
{
    g_standardHandler = qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings a test leaves behind go to a folder of their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const cw::test::ModalWatchdog watchdog;
    return RUN_ALL_TESTS();
}
