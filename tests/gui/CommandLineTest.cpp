// The program's command line, run as a user runs it: a process of its own, here without
// any display, as over SSH or in CI.
#include "core/util/Version.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

struct Finished
{
    int status = -1;
    QString out;
    QString err;
};

Finished runWithoutDisplay(const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CUEWRIGHT_PROGRAM), arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << arguments.join(u' ').toStdString();
    Finished run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST(CommandLine, mistypedArguments_printTheUsageAndExitWithTwo_withoutADisplay)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("help")}, QStringList{QStringLiteral("--rot")},
          QStringList{QStringLiteral("--root")},
          QStringList{QStringLiteral("--font-size"), QStringLiteral("40")},
          QStringList{QStringLiteral("--font-size"), QStringLiteral("big")}}) {
        const Finished run = runWithoutDisplay(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("Usage:"))) << run.err.toStdString();
    }
    EXPECT_TRUE(
        runWithoutDisplay({QStringLiteral("--font-size"), QStringLiteral("40")})
            .err.startsWith(QStringLiteral("cuewright: --font-size needs a size in points from 6 to 32")));
}

TEST(CommandLine, windowWithoutADisplay_saysSoInOneLine_andExitsWithTwo)
{
    const Finished run = runWithoutDisplay(
        {QStringLiteral("--root"), QStringLiteral(CUEWRIGHT_SOURCE_DIR "/examples/gameroot")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              QStringLiteral("cuewright: no display could be opened, so the window cannot start; the "
                             "command-line tools (tokens, commands, fmt, check) work without one\n"));
}

TEST(CommandLine, versionAndHelp_needNoDisplay_andTheWindowSystemsOptionsAreAccepted)
{
    const Finished version =
        runWithoutDisplay({QStringLiteral("-style=fusion"), QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out,
              QStringLiteral("cuewright %1\n")
                  .arg(QString::fromLatin1(kVersion.data(), static_cast<qsizetype>(kVersion.size()))));
    const Finished help = runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage:")));
}

} // namespace
} // namespace cw::test
