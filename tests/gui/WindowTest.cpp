#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/Pictures.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics().withMod("alpha");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
    }

    QLabel *caption(int i) const { return find<QLabel>(*window, QStringLiteral("TabName_%1").arg(i)); }
    QWidget *page(int i) const { return find<QWidget>(*window, QStringLiteral("TabFrame_%1").arg(i)); }
    QPushButton *button(const char *name) const
    {
        return find<QPushButton>(*window, QString::fromLatin1(name));
    }

    // Which pages are visible and which captions bold, as "v.b" per tab.
    std::string tabState() const
    {
        std::string state;
        for (int i = 0; i < 4; ++i) {
            state += page(i)->isVisible() ? 'V' : '-';
            state += caption(i)->font().bold() ? 'B' : '-';
            state += ' ';
        }
        return state;
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
};

TEST_F(WindowTest, fourTabPages_mainModPageFirstAndBold)
{
    const QStringList captions = {"Main Mod Page", "Maps and Missions", "Scripts", "Strings_Default"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(caption(i));
        ASSERT_TRUE(page(i));
        EXPECT_EQ(caption(i)->text(), captions[i]);
    }
    EXPECT_EQ(tabState(), "VB -- -- -- ");
}

TEST_F(WindowTest, screenReadersCanNameEveryTabAndEveryControlOfTheGrid)
{
    const QStringList captions = {"Main Mod Page", "Maps and Missions", "Scripts", "Strings_Default"};
    auto *tabs = find<QTabWidget>(*window, "tabPages");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabBar()->accessibleTabName(i), captions[i]);
        // Drawn once: by the caption, not again by the tab.
        EXPECT_EQ(tabs->tabText(i), "");
    }
    const gui::ScriptGrid &grid = window->grid();
    EXPECT_EQ(grid.combo(11)->accessibleName(), "Line 12 command");
    EXPECT_EQ(grid.field(11, 1)->accessibleName(), "Line 12 argument 2");
    EXPECT_EQ(grid.stringsChooser(99)->accessibleName(), "Line 100 strings key");
    EXPECT_EQ(grid.lineNumber(0)->accessibleName(), "Line 1 number");
}

TEST_F(WindowTest, clickingCaptionsAndTabsSwitchesPages_andNothingElse)
{
    const QString titleBefore = window->windowTitle();
    QTest::mouseClick(caption(2), Qt::LeftButton);
    EXPECT_EQ(tabState(), "-- -- VB -- ");
    auto *tabs = find<QTabWidget>(*window, "tabPages");
    QTabBar *bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(3).center());
    EXPECT_EQ(tabState(), "-- -- -- VB ");
    // The selected tab again: the same state.
    QTest::mouseClick(caption(3), Qt::LeftButton);
    EXPECT_EQ(tabState(), "-- -- -- VB ");
    EXPECT_EQ(window->windowTitle(), titleBefore);
    EXPECT_EQ(find<QListView>(*window, "List1")->model()->rowCount(), 1);
}

TEST_F(WindowTest, controlsStartInTheirInitialState)
{
    for (const char *name :
         {"rootfiles", "cmdrootopen", "cmdsripts", "cmdlevels", "cmdstrings", "savestrings", "stringsrevert",
          "listtoggle", "savescas", "deletesc", "NewSc", "savesc", "scropen"}) {
        auto *widget = find<QWidget>(*window, QString::fromLatin1(name));
        ASSERT_TRUE(widget) << name;
        EXPECT_FALSE(widget->isEnabled()) << name;
    }
    for (const char *name : {"cmdmapopen", "cmdmissionopen", "cmdprefs", "Command2", "List1"})
        EXPECT_TRUE(find<QWidget>(*window, QString::fromLatin1(name))->isEnabled()) << name;
    for (const char *name : {"File1", "List2", "stringstext", "stealthlevels", "imgworked", "imgbroke",
                             "cmbstringlist", "cmbstringspam", "Dir1", "Image2"})
        EXPECT_TRUE(find<QWidget>(*window, QString::fromLatin1(name))->isHidden()) << name;
    for (int i = 0; i < 3; ++i) {
        auto *indicator = find<gui::IndicatorLabel>(*window, QStringLiteral("work_%1").arg(i));
        ASSERT_TRUE(indicator);
        EXPECT_EQ(indicator->property("state").toString(), "neutral");
    }
}

TEST_F(WindowTest, buttonsCarryTheirCaptionsAndTooltips)
{
    struct Expected
    {
        const char *name, *caption, *tip;
    };
    const Expected expected[] = {
        {"cmdsripts", "Make Folder", "Makes a scripts folder in your mod"},
        {"cmdlevels", "Make Folder", "Makes a levels folder in your mod (you probably already have this)"},
        {"cmdstrings", "Make File", "Makes a strings_default.txt"},
        {"cmdmapopen", "Open selected map file", "Opens selected map in notepad"},
        {"cmdmissionopen", "Open selected mission file", "Opens selected mission in notepad"},
        {"cmdrootopen", "Open", "Opens selected file in notepad"},
        {"cmdprefs", "Open preferences.txt", "Opens preferencex.txt for haxing"},
        {"Command2", "Launch Darwinia", "Runs Darwinia"},
        {"savesc", "Save Script", "Saves script as the name selected with the file box below"},
        {"savescas", "Save Script As", "Saves the script as a different file name of your choice"},
        {"NewSc", "New Script", "Creates a new script file (doesn't clear current script)"},
        {"deletesc", "Delete Script (dbl click)", "Deletes the selected script (requires two presses)"},
        {"listtoggle", "Toggle List Method", "Changes from Verticle to Horizontal scrolling"},
        {"savestrings", "Save Changes", "Saves changes to strings_default"},
        {"stringsrevert", "Revert to Backup",
         "Reverts to a back up OR does something crazy, I have no idea, don't press this button!"},
    };
    for (const Expected &e : expected) {
        QPushButton *b = button(e.name);
        ASSERT_TRUE(b) << e.name;
        EXPECT_EQ(b->text(), QString::fromLatin1(e.caption)) << e.name;
        EXPECT_EQ(b->toolTip(), QString::fromLatin1(e.tip)) << e.name;
    }
    EXPECT_EQ(button("scropen")->text(), "Open 4 hax");
    EXPECT_EQ(find<QWidget>(*window, "List2")->toolTip(), "Double click to open script");
    EXPECT_EQ(find<QWidget>(*window, "stringstext")->toolTip(),
              "Strings go here! use ` for tab as I can't stop it stealing tab to select other stuff");
}

TEST_F(WindowTest, listToggle_switchesBetweenTheTwoScriptLists)
{
    auto *file1 = find<QWidget>(*window, "File1");
    auto *list2 = find<QWidget>(*window, "List2");
    // Both start hidden; the toggle acts on whichever is shown.
    button("listtoggle")->setEnabled(true);
    window->selectPage(2);
    file1->show();
    clickButton(button("listtoggle"));
    EXPECT_TRUE(file1->isHidden());
    EXPECT_FALSE(list2->isHidden());
    clickButton(button("listtoggle"));
    EXPECT_FALSE(file1->isHidden());
    EXPECT_TRUE(list2->isHidden());
    EXPECT_EQ(file1->geometry(), list2->geometry());
    EXPECT_EQ(file1->geometry(), QRect(0, 40, 625, 100));
}

// The harness itself: a box that no test answers must not hang the run. Reported here
// through the watchdog's seam instead of failing this test.
TEST(ModalWatchdogTest, unansweredBoxes_areReportedByTheirText_andClosed)
{
    QStringList reports;
    const ModalWatchdog watchdog(std::chrono::milliseconds(200),
                                 [&](const QString &text) { reports << text; });
    gui::ui::showMessage(nullptr, QStringLiteral("Nobody expects this box"), QStringLiteral("line 3"));
    const QString answer = gui::ui::askText(nullptr, QStringLiteral("Unexpected"), QStringLiteral("Name it"),
                                            QStringLiteral("proposed"));
    EXPECT_EQ(answer, "");
    EXPECT_EQ(reports, QStringList({"Nobody expects this box / line 3", "Unexpected: Name it"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A box that a test expects is left to its answerer.
    DialogAnswerer answerer;
    gui::ui::showMessage(nullptr, QStringLiteral("Expected"));
    EXPECT_EQ(answerer.messages, QStringList{"Expected"});
    EXPECT_EQ(reports.size(), 2);
}

// A command's button and its key are one action: the button is enabled exactly while
// the action is, and the key of a command that may not be used does nothing.
TEST(Commands, aButtonIsEnabledWithItsCommand_andADisabledCommandsKeyDoesNothing)
{
    GameRootBuilder game;
    game.withBasics();
    game.write("mods/mod/scripts/intro.txt", "One 1\r\n");
    game.write("mods/mod/strings_default.txt", "A 1\r\n");
    const auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto *saveAs = find<QAction>(*window, "saveScriptAsCommand");
    auto *button = find<QPushButton>(*window, "savescas");
    ASSERT_TRUE(saveAs && button);
    EXPECT_FALSE(saveAs->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    {
        DialogAnswerer nothingAsked;
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(nothingAsked.inputTitles.isEmpty());
    }
    openMod(*window, "mod");
    EXPECT_TRUE(saveAs->isEnabled());
    EXPECT_TRUE(button->isEnabled());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    DialogAnswerer answerer; // cancels the name box
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(answerer.inputTitles, QStringList{"Save Script as..."});
}

} // namespace
} // namespace cw::test
