#include "GuiSupport.h"

#include "core/catalogue/Tokenizer.h"
#include "gui/app/Application.h"
#include "gui/app/MainWindow.h"
#include "gui/model/WindowModel.h"
#include "gui/ui/ListBox.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

// Starts up on the root and returns the messages shown; expects start-up to fail.
QStringList failedStartUp(const std::filesystem::path &root)
{
    DialogAnswerer answerer;
    gui::Startup startup = gui::startUp(root);
    EXPECT_FALSE(startup.window);
    return answerer.messages;
}

TEST(StartUp, eachFailedCheckShowsOnlyItsOwnMessage_inTheFixedOrder)
{
    GameRootBuilder game;
    // Nothing at all: only the game-root message, although mods and commands.txt
    // are missing too.
    EXPECT_EQ(
        failedStartUp(game.root()),
        QStringList{
            "I don't think I'm in the Darwinia root directory as I can't find Darwinia.exe! Exiting..."});

    game.write("darwinia.exe", "");
    EXPECT_EQ(
        failedStartUp(game.root()),
        QStringList{
            "I don't think I'm in the Darwinia root directory as I can't find Darwinia.exe! Exiting..."});

    game.write("darwinia.exe", "x");
    game.write("mods", "a file named mods");
    EXPECT_EQ(failedStartUp(game.root()), QStringList{"No mods folder found, please create one! Exiting..."});

    std::filesystem::remove(game.root() / "mods");
    game.dir.makeFolder("mods");
    EXPECT_EQ(failedStartUp(game.root()),
              QStringList{"No mods found in mods folder! Please create one or something! Exiting..."});

    game.withMod("alpha");
    EXPECT_EQ(failedStartUp(game.root()),
              QStringList{"commands.txt not found in local folder, please recheck! Exiting..."});

    game.write("commands.txt", "");
    EXPECT_EQ(failedStartUp(game.root()),
              QStringList{"Error found in commands.txt, please recheck formatting and syntax! Exiting..."});

    game.write("commands.txt", "header\r\nSay s one\r\n");
    EXPECT_EQ(failedStartUp(game.root()),
              QStringList{"Error found in commands.txt, please recheck formatting and syntax! Exiting..."});
}

TEST(StartUp, catalogueLineOfMoreThan21Tokens_endsWithTheTokenizersMessage)
{
    GameRootBuilder game;
    game.withBasics().withMod("alpha");
    std::string line = "Too";
    for (int i = 0; i < 21; ++i)
        line += " x";
    game.write("commands.txt", "header\r\n" + line + "\r\n");
    EXPECT_EQ(failedStartUp(game.root()), QStringList{QString::fromLatin1(kTokenizerMessage.data())});
}

TEST(StartUp, catalogueOf100CommandLinesStarts_and101DoNot)
{
    GameRootBuilder game;
    game.withBasics().withMod("alpha");
    std::string lines = "header\r\n";
    for (int i = 0; i < 100; ++i)
        lines += "C" + std::to_string(i) + " d 0\r\n";
    game.write("commands.txt", lines);
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    EXPECT_EQ(find<QComboBox>(*window, "Combo_0")->count(), 101);

    game.write("commands.txt", lines + "C100 d 0\r\n");
    EXPECT_EQ(failedStartUp(game.root()),
              QStringList{"Error found in commands.txt, please recheck formatting and syntax! Exiting..."});
}

TEST(StartUp, failedCheck_endsTheProgramWithStatusOne_namingTheFolderBelowItsMessage)
{
    GameRootBuilder game;
    DialogAnswerer answerer;
    const std::vector<std::string> args = {"--root", game.root().string()};
    const Arguments parsed = parseArguments(args, gui::windowArgumentRules());
    EXPECT_EQ(gui::runApplication(gui::windowOptions(parsed, "cuewright")), 1);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.informativeTexts.front().startsWith("Game folder: " +
                                                             QString::fromStdString(game.root().string())));
}

TEST(StartUp, headerOnlyCatalogue_listsOnlyTheCommentEntry)
{
    GameRootBuilder game;
    game.withBasics().withMod("alpha");
    game.write("commands.txt", "header only\r\n");
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    auto *combo = find<QComboBox>(*window, "Combo_42");
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "#");
}

TEST(StartUp, windowOpensWithCaption_modsInOrder_andNothingSelected)
{
    GameRootBuilder game;
    game.withBasics().withMod("beta").withMod("Alpha").withMod("e").withMod("empty");
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), "Form1");
    EXPECT_EQ(window->windowTitle(), caption(""));
    EXPECT_EQ(window->width(), 10065 / 15);
    auto *list1 = find<gui::ListBox>(*window, "List1");
    ASSERT_TRUE(list1);
    EXPECT_EQ(itemTexts(list1), QStringList({"Alpha", "beta", "e", "empty"}));
    EXPECT_EQ(list1->selectedPosition(), -1);
    EXPECT_EQ(list1->toolTip(), "Mod list - double click to open");
}

// Started as the program starts, the first frame holds the first page and the tabs; the
// other pages, the parts and the grid follow it, laid out as if built before it.
TEST(StartUp, afterTheFirstFrame_theOtherPagesAreBuilt_andWork)
{
    GameRootBuilder game;
    game.withBasics().withMod("m");
    game.write("mods/m/scripts/a.txt", "One 1\r\n");
    gui::Startup startup = gui::startUp(game.root(), gui::GridTiming::AfterFirstFrame);
    ASSERT_TRUE(startup.window);
    gui::MainWindow &window = *startup.window;
    EXPECT_TRUE(find<gui::ListBox>(window, "List1"));
    EXPECT_FALSE(window.findChild<QWidget *>(QStringLiteral("savesc")));
    bool built = false;
    QObject::connect(&window, &gui::MainWindow::gridBuilt, [&built](bool ok) { built = ok; });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return built; }, 5000));
    window.selectPage(2);
    QApplication::processEvents();
    EXPECT_EQ(find<QPushButton>(window, "savesc")->geometry(), QRect(2, 6, 80, 27));
    openMod(window, "m");
    window.selectPage(2);
    doubleClickListItem(find<QListView>(window, "File1"), 0);
    EXPECT_EQ(window.model().scriptName(), "a.txt");
}

// The first page is made before the tabs that hold it, the other pages after the first
// frame: the Tab key still goes through the first page's controls in the page's order,
// then the tab bar and the page's scroll area, and back.
TEST(StartUp, tabKeyGoesThroughTheFirstPageInItsOrder)
{
    GameRootBuilder game;
    game.withBasics().withMod("m");
    gui::Startup startup = gui::startUp(game.root(), gui::GridTiming::AfterFirstFrame);
    ASSERT_TRUE(startup.window);
    gui::MainWindow &window = *startup.window;
    bool built = false;
    QObject::connect(&window, &gui::MainWindow::gridBuilt, [&built](bool ok) { built = ok; });
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return built; }, 5000));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    find<QWidget>(window, "List1")->setFocus(Qt::OtherFocusReason);
    QStringList visited{QApplication::focusWidget()->objectName()};
    // The tab bar's scroll buttons are there only where its captions do not fit (Wine
    // measures text wider than Windows draws it): they are no part of the page's order.
    for (int i = 0; i < 10 && visited.size() < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName();
        if (name != QStringLiteral("ScrollLeftButton") && name != QStringLiteral("ScrollRightButton"))
            visited << name;
    }
    // The folder buttons and the root files wait for a mod to be opened.
    EXPECT_EQ(visited, QStringList({"List1", "Command2", "cmdprefs", "TabTop", "pageScroll_0", "List1"}));
}

TEST(StartUp, profileWithoutTheGame_opensOnItsMods_withTheShippedCatalogue)
{
    TempDir dir;
    dir.write("usr/share/cuewright/commands.txt", kTestCommands);
    const std::filesystem::path program = dir / "usr/bin";
    const GameLocation profile = profileAt(dir / "profile");
    dir.makeFolder("profile");
    {
        DialogAnswerer answerer;
        EXPECT_FALSE(gui::startUp(profile, program).window);
        EXPECT_EQ(answerer.messages, QStringList{"No mods folder found, please create one! Exiting..."});
    }
    dir.makeFolder("profile/mods/beta");
    dir.makeFolder("profile/mods/alpha");
    gui::Startup startup = gui::startUp(profile, program);
    ASSERT_TRUE(startup.window) << startup.failure->detail;
    EXPECT_EQ(itemTexts(find<QListView>(*startup.window, "List1")), QStringList({"alpha", "beta"}));
    EXPECT_EQ(comboItems(find<QComboBox>(*startup.window, "Combo_0")).size(), 10);
}

TEST(StartUp, fixedNamesAreFoundWithoutRegardToCase)
{
    GameRootBuilder game;
    game.write("Darwinia.EXE", "x");
    game.write("COMMANDS.txt", kTestCommands);
    game.dir.makeFolder("MODS/one");
    EXPECT_TRUE(openWindow(game.root()));
}

} // namespace
} // namespace cw::test
