// The window on each layout of the game: where it opens without options, what it asks
// and remembers, and where it starts the game and which preferences it opens.
#include "GuiSupport.h"

#include "gui/app/Application.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

namespace fs = std::filesystem;

// Answers the folder chooser while it lives: records its title and hint and gives it
// the queued folder, or cancels it when none is queued.
class ChooserAnswerer
{
public:
    ChooserAnswerer()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    void queueAnswer(const fs::path &folder) { m_answers.push_back(folder); }
    QStringList titles;
    QStringList hints;

private:
    void poll()
    {
        auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        titles.append(chooser->windowTitle());
        if (const auto *hint = chooser->findChild<QLabel *>(QStringLiteral("chooserHint")))
            hints.append(hint->text());
        if (m_answers.empty()) {
            chooser->reject();
            return;
        }
        // Typed into the name field, as a user may: selectFile() leaves the field alone
        // while it has the focus, and the chooser would then answer its own folder.
        const QString answer = QString::fromStdString(m_answers.front().string());
        chooser->selectFile(answer);
        if (auto *name = chooser->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(answer);
        m_answers.erase(m_answers.begin());
        // As the dialog's Choose button does.
        static_cast<QDialog *>(chooser)->accept();
    }

    QTimer m_timer;
    std::vector<fs::path> m_answers;
};

// A machine with nothing of the game where the search looks: the window runs in
// `work`, the home has no profile, and the program's catalogue is installed under
// `usr`. The settings are a file of the test's own. A chooser nobody expects is
// cancelled (and seen in `chooser.titles`) rather than left waiting.
class GameLocationWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.makeFolder("work");
        dir.makeFolder("home");
        dir.write("usr/share/cuewright/commands.txt", kTestCommands);
        dir.makeFolder("profile/mods/alpha");
        dir.write("profile/preferences.txt", "");
    }

    Whereabouts where() const
    {
        return Whereabouts{dir / "work", dir / "home", dir / "usr/bin", Platform::Linux};
    }

    std::unique_ptr<gui::MainWindow> start(const gui::WindowOptions &options = {})
    {
        gui::Startup startup = gui::startWindow(options, where(), settings);
        if (startup.window) {
            startup.window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(startup.window.get()));
        }
        return std::move(startup.window);
    }

    // A program that appends the folder it runs in to `record`.
    fs::path folderRecorder(const std::string &relative, const std::string &record) const
    {
        const fs::path program =
            dir.write(relative, "#!/bin/sh\npwd -P >> '" + (dir / record).string() + "'\n");
        fs::permissions(program, fs::perms::owner_all);
        return program;
    }
    // The folders recorded so far, waiting up to five seconds for the first.
    std::string recorded(const std::string &record) const
    {
        for (int i = 0; i < 500 && !fs::exists(dir / record); ++i)
            QTest::qWait(10);
        QTest::qWait(50);
        return readBytes(dir / record);
    }
    std::string canonical(const std::string &relative) const
    {
        return fs::canonical(dir / relative).string();
    }

    TempDir dir;
    ChooserAnswerer chooser;
    QSettings settings{QString::fromStdString((dir / "settings.ini").string()), QSettings::IniFormat};
};

TEST_F(GameLocationWindow, nothingFound_asksForTheMods_andRemembersTheAnswer)
{
    chooser.queueAnswer(dir / "profile");
    ASSERT_TRUE(start());
    EXPECT_EQ(chooser.titles, QStringList{"Where are your Darwinia mods?"});
    chooser.titles.clear();
    auto window = start();
    ASSERT_TRUE(window);
    EXPECT_TRUE(chooser.titles.isEmpty());
    EXPECT_EQ(window->model().gameRoot().root, dir / "profile");
    EXPECT_EQ(itemTexts(find<QListView>(*window, "List1")), QStringList{"alpha"});
    EXPECT_EQ(window->model().gameRoot().layout, LayoutKind::Profile);
}

TEST_F(GameLocationWindow, wrongPick_saysWhy_andAsksAgain)
{
    DialogAnswerer messages;
    chooser.queueAnswer(dir / "work");
    chooser.queueAnswer(dir / "profile");
    auto window = start();
    ASSERT_TRUE(window) << messages.messages.join(u'\n').toStdString();
    EXPECT_EQ(window->model().gameRoot().root, dir / "profile");
    EXPECT_EQ(chooser.titles.size(), 2);
    EXPECT_EQ(chooser.hints,
              QStringList(2, "A game folder holds darwinia.exe, mods and commands.txt; a profile "
                             "holds mods and preferences.txt."));
    ASSERT_EQ(messages.messages, QStringList{"No mods folder found, please create one!"});
    EXPECT_TRUE(messages.informativeTexts.front().startsWith("Profile: " +
                                                             QString::fromStdString((dir / "work").string())))
        << messages.informativeTexts.front().toStdString();
}

// Runs the program until its window is on the screen, lets `act` see it, then closes it.
int runUntilShown(const gui::WindowOptions &options, const Whereabouts &where, QSettings &settings,
                  const std::function<void(QWidget &)> &act)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == "Form1" && top->isVisible() && top->windowHandle() &&
                top->windowHandle()->isExposed()) {
                poll.stop();
                act(*top);
                top->close();
                return;
            }
        }
    });
    poll.start(10);
    return gui::runApplication(options, where, settings);
}

TEST_F(GameLocationWindow, theWindowOpensWhereItWasLeft_unlessTheScreenItStoodOnIsGone)
{
    gui::WindowOptions options;
    options.location = profileAt(dir / "profile");
    const QRect left(200, 100, 700, 600);
    ASSERT_EQ(runUntilShown(options, where(), settings, [&](QWidget &window) { window.setGeometry(left); }),
              0);
    QRect seen;
    ASSERT_EQ(runUntilShown(options, where(), settings, [&](QWidget &window) { seen = window.geometry(); }),
              0);
    EXPECT_EQ(seen, left);

    settings.setValue("window/screen", "a screen since unplugged");
    ASSERT_EQ(runUntilShown(options, where(), settings, [&](QWidget &window) { seen = window.geometry(); }),
              0);
    EXPECT_EQ(seen.size(), QSize(10065 / 15, 10695 / 15));
}

TEST_F(GameLocationWindow, cancellingTheChooser_endsTheProgramQuietlyWithStatusOne)
{
    DialogAnswerer messages;
    EXPECT_EQ(gui::runApplication(gui::WindowOptions{}, where(), settings), 1);
    EXPECT_EQ(chooser.titles.size(), 1);
    EXPECT_TRUE(messages.messages.isEmpty());
    EXPECT_TRUE(settings.allKeys().isEmpty());
}

TEST_F(GameLocationWindow, rememberedGameFolder_comesBackWithTheProfile)
{
    dir.makeFolder("game");
    gui::WindowOptions options;
    options.location = profileAt(dir / "profile");
    options.game = dir / "game";
    ASSERT_TRUE(start(options));
    auto window = start();
    ASSERT_TRUE(window);
    EXPECT_TRUE(chooser.titles.isEmpty());
    EXPECT_EQ(window->model().gameRoot().root, dir / "profile");
    EXPECT_EQ(window->model().gameRoot().game, dir / "game");
}

#ifndef _WIN32
TEST_F(GameLocationWindow, launch_startsTheGameInItsOwnFolder_theNativeProgramBeforeWine)
{
    dir.makeFolder("game/data");
    const fs::path chosen = folderRecorder("chosen/game.sh", "chosen.txt");
    gui::WindowOptions options;
    options.location = profileAt(dir / "profile", dir / "game");
    auto window = start(options);
    ASSERT_TRUE(window);
    {
        ScopedVariable game("CUEWRIGHT_GAME", QByteArray::fromStdString(chosen.string()));
        clickButton(find<QPushButton>(*window, "Command2"));
        EXPECT_EQ(recorded("chosen.txt"), canonical("game") + "\n");
    }
    StandIn wine("wine");
    ScopedVariable searchPath("PATH", wine.folder() + ":" + qgetenv("PATH"));
    ScopedVariable noGame("CUEWRIGHT_GAME", std::nullopt);
    folderRecorder("game/darwinia.bin.x86", "native.txt");
    clickButton(find<QPushButton>(*window, "Command2"));
    EXPECT_EQ(recorded("native.txt"), canonical("game") + "\n");
    EXPECT_TRUE(wine.startsSoFar().isEmpty());
}

TEST_F(GameLocationWindow, withoutAGameFolder_launchSaysSo_andPreferencesAreTheProfiles)
{
    RecordingProgram editor("CUEWRIGHT_EDITOR");
    StandIn wine("wine");
    ScopedVariable searchPath("PATH", wine.folder() + ":" + qgetenv("PATH"));
    ScopedVariable noGame("CUEWRIGHT_GAME", std::nullopt);
    gui::WindowOptions options;
    options.location = profileAt(dir / "profile");
    auto window = start(options);
    ASSERT_TRUE(window);
    ASSERT_EQ(window->model().gameRoot().game, std::nullopt);
    {
        DialogAnswerer messages;
        clickButton(find<QPushButton>(*window, "Command2"));
        EXPECT_EQ(
            messages.messages,
            QStringList{"Cuewright does not know where Darwinia is installed, so it cannot launch it."});
    }
    clickButton(find<QPushButton>(*window, "cmdprefs"));
    EXPECT_EQ(editor.starts(1),
              QStringList{"1|" + QString::fromStdString((dir / "profile/preferences.txt").string())});
    EXPECT_TRUE(wine.startsSoFar().isEmpty());
}
#endif

} // namespace
} // namespace cw::test
