// The program's command line, run as a user runs it: a process of its own, here without
// any display, as over SSH or in CI.
#include "core/util/Version.h"
#include "support/TempDir.h"

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
    QByteArray bytes; // standard output as it came
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
    run.bytes = process.readAllStandardOutput();
    run.out = QString::fromUtf8(run.bytes);
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// A slip says what is wrong in one line, not in the whole help.
TEST(CommandLine, mistypedArguments_sayWhatIsWrongInOneLineAndExitWithTwo_withoutADisplay)
{
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("help")}, QStringList{QStringLiteral("--rot")},
          QStringList{QStringLiteral("--root")},
          QStringList{QStringLiteral("--font-size"), QStringLiteral("40")},
          QStringList{QStringLiteral("--font-size"), QStringLiteral("big")}}) {
        const Finished run = runWithoutDisplay(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("cuewright: "))) << run.err.toStdString();
        EXPECT_TRUE(run.err.endsWith(QStringLiteral("; see cuewright --help\n"))) << run.err.toStdString();
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    }
    EXPECT_TRUE(
        runWithoutDisplay({QStringLiteral("--font-size"), QStringLiteral("40")})
            .err.startsWith(QStringLiteral("cuewright: --font-size needs a size in points from 6 to 32")));
}

#ifndef _WIN32
// Windows always has a display.
TEST(CommandLine, windowWithoutADisplay_saysSoInOneLine_andExitsWithTwo)
{
    const Finished run = runWithoutDisplay(
        {QStringLiteral("--root"), QStringLiteral(CUEWRIGHT_SOURCE_DIR "/examples/gameroot")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              QStringLiteral("cuewright: no display could be opened, so the window cannot start; the "
                             "command-line tools (tokens, commands, fmt, check) work without one\n"));
}
#endif

// The command line as the system hands it over: on Windows in UTF-16, which the
// program turns into UTF-8 once, for names outside the ANSI code page (Greek letters
// are not in Windows-1252, the code page of Western systems) as for accented ones; and
// standard output carries the tools' bytes unchanged (fmt's CR LF is not made
// CR CR LF).
TEST(CommandLine, namesOutsideTheCodePage_reachTheTools_andTheirOutputIsTheirBytes)
{
    TempDir dir;
    const std::string root = "Jeux \xC3\x89t\xC3\xA9/gameroot";
    dir.write(root + "/commands.txt", "header\r\n\r\nWait w 1 2 Seconds\r\nSay s 1 4 Key\r\n");
    for (const char *mod : {"Caf\xC3\xA9", "\xCE\xA9mega"}) {
        dir.write(root + "/mods/" + mod + "/strings_default.txt", "GREETING Hello\r\n");
        dir.write(root + "/mods/" + mod + "/scripts/intro.txt", "say greeting\r\nwait 2\r\n");
    }
    const QString rootArgument = QString::fromStdString(utf8(dir / root));
    for (const QString &mod : {QString::fromUtf8("Caf\xC3\xA9"), QString::fromUtf8("\xCE\xA9mega")}) {
        const Finished formatted = runWithoutDisplay({QStringLiteral("fmt"), QStringLiteral("--root"),
                                                      rootArgument, mod, QStringLiteral("intro.txt")});
        EXPECT_EQ(formatted.status, 0) << formatted.err.toStdString();
        EXPECT_EQ(formatted.bytes, QByteArray("Say GREETING\r\nWait 2\r\n\r\n"));
    }
    dir.write(root + "/mods/\xCE\xA9mega/scripts/intro.txt", "Say\r\n");
    const Finished checked = runWithoutDisplay(
        {QStringLiteral("check"), QStringLiteral("--root"), rootArgument, QString::fromUtf8("\xCE\xA9mega")});
    EXPECT_EQ(checked.status, 1) << checked.err.toStdString();
    EXPECT_TRUE(checked.out.startsWith(QString::fromUtf8("mods/\xCE\xA9mega/scripts/intro.txt:1: ")))
        << checked.out.toStdString();
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
