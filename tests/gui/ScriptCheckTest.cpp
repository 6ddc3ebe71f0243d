#include "GuiSupport.h"

#include "core/io/Files.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptCheck.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/workspace/ModWorkspace.h"

#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

class ScriptCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.write("darwinia.exe", "stand-in\r\n");
        game.write("commands.txt",
                   readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
        std::string script = "Say hello\r\nCamMove gate\r\n";
        for (int i = 2; i < 45; ++i)
            script += "WaitSay\r\n";
        script += "PurityControl\r\nSay nobody\r\n";
        game.write("mods/m/scripts/cutscene.txt", script);
        game.write("mods/m/scripts/clean.txt", "Say hello\r\nWaitSay\r\n");
        game.write("mods/m/strings_default.txt", "hello Hi there\r\n");
        // The game's own table can be read here, so a key no table holds is missing.
        game.write("data/language/english.txt", "greeting Hello\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "m");
        window->selectPage(2);
    }

    void open(const QString &name)
    {
        auto *file1 = find<QListView>(*window, "File1");
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    // The findings of the grid as it stands ("Line N: ..."), or of the files on disk.
    QStringList findings(bool onDisk = false) const
    {
        auto *list = find<QListWidget>(*window, "checkFindings");
        if (!list)
            return {"<no list>"};
        return itemTexts(list).filter(QRegularExpression(onDisk ? "^On disk" : "^Line "));
    }
    QString severity(int row) const { return window->grid().marker(row)->property("severity").toString(); }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
};

TEST_F(ScriptCheckTest, checkAndTimelineButtons_standBelowTheGrid_withTheirTooltips)
{
    auto *check = find<QPushButton>(*window, "cmdcheck");
    auto *timeline = find<QPushButton>(*window, "cmdtimeline");
    ASSERT_TRUE(check && timeline);
    EXPECT_EQ(check->text(), "Check");
    EXPECT_EQ(check->toolTip(), "Shows what the game will do with this script");
    EXPECT_EQ(timeline->text(), "Timeline");
    EXPECT_EQ(check->y(), timeline->y());
    EXPECT_GT(check->y(), window->grid().geometry().bottom());
    EXPECT_LE(timeline->x() - (check->x() + check->width()), 4);
}

TEST_F(ScriptCheckTest, listsTheFindingsOfTheOpenScript_byLine)
{
    open("cutscene.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *dialog = find<QWidget>(*window, "checkDialog");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    const QStringList lines = findings();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Line 2: error: CamMove needs 2 arguments")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Line 46: error: PurityControl")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("Line 47: warning: \"nobody\"")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("[missing-string]"));
}

TEST_F(ScriptCheckTest, doubleClickingAFinding_scrollsToItsRow_andFocusesItsCommand)
{
    open("cutscene.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *list = find<QListWidget>(*window, "checkFindings");
    ASSERT_TRUE(list);
    doubleClickListItem(list, 1); // line 46, out of view
    QScrollBar *bar = window->grid().scrollBar();
    EXPECT_LE(bar->value(), 45);
    EXPECT_GT(bar->value() + 20, 45);
    EXPECT_FALSE(window->grid().combo(45)->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), window->grid().combo(45));
    // A row already in view is not scrolled to.
    const int before = bar->value();
    doubleClickListItem(list, 2); // line 47
    EXPECT_EQ(bar->value(), before);
    EXPECT_EQ(QApplication::focusWidget(), window->grid().combo(46));
}

TEST_F(ScriptCheckTest, checksTheRowsAsEdited_notTheFileOnDisk)
{
    open("cutscene.txt");
    window->grid().field(1, 1)->setText("2");
    pickItem(window->grid().combo(45), 0);
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    ASSERT_EQ(findings().size(), 1);
    EXPECT_TRUE(findings()[0].startsWith("Line 47: "));
}

TEST_F(ScriptCheckTest, lineTheCodePageCannotHold_isAFindingOfItsOwn_amongTheOthers)
{
    open("cutscene.txt");
    window->grid().field(2, 0)->setText(QStringLiteral("caf\u00E9 \u0100"));
    DialogAnswerer answerer;
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
    const QStringList lines = findings();
    ASSERT_EQ(lines.size(), 4) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("Line 2: error: CamMove")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Line 3: error: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("Windows-1252")) << lines[1].toStdString();
    EXPECT_FALSE(lines[1].contains("saved.")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("[not-encodable]")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("Line 46: error: PurityControl")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith("Line 47: warning: ")) << lines[3].toStdString();
}

TEST_F(ScriptCheckTest, isAPanelOfTheWindow_thatClosesAndOpensAgainOnTheNextCheck)
{
    open("clean.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *panel = find<QDockWidget>(*window, "checkPanel");
    ASSERT_TRUE(panel && panel->isVisible());
    EXPECT_EQ(panel->widget(), find<QWidget>(*window, "checkDialog"));
    EXPECT_EQ(panel->windowTitle(), "Check - clean.txt");
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_TRUE(panel->isVisible());
}

TEST_F(ScriptCheckTest, cleanScript_saysThereIsNothingToFind)
{
    open("clean.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_TRUE(findings().isEmpty());
    EXPECT_TRUE(find<QLabel>(*window, "checkSummary")->text().startsWith("No findings"));
    EXPECT_EQ(find<QWidget>(*window, "checkDialog")->windowTitle(), "Check - clean.txt");
}

TEST_F(ScriptCheckTest, theFilesOnDiskAreListedToo_asCuewrightCheckReadsThem_andTheTitleCountsAll)
{
    open("cutscene.txt");
    window->grid().field(1, 1)->setText("2"); // the grid's CamMove has its two arguments now
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_EQ(findings().size(), 2);
    // The findings the grid shows too are listed and counted once.
    const QStringList onDisk = findings(true);
    ASSERT_EQ(onDisk.size(), 1) << onDisk.join(u'\n').toStdString();
    EXPECT_TRUE(onDisk[0].startsWith("On disk, line 2: error: CamMove needs 2 arguments"))
        << onDisk[0].toStdString();
    EXPECT_EQ(find<QWidget>(*window, "checkDialog")->windowTitle(),
              "Check - cutscene.txt: 2 errors, 1 warning, 0 notes");
}

TEST_F(ScriptCheckTest, markersFollowTheEdits_aMomentAfterTheLastChange)
{
    open("cutscene.txt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return severity(1) == "error"; }, 3000));
    EXPECT_EQ(severity(0), "none");
    EXPECT_EQ(severity(46), "warning");
    EXPECT_TRUE(window->grid().marker(1)->toolTip().contains("CamMove needs 2 arguments"));
    // The marker stands left of the line number, on its row.
    EXPECT_LT(window->grid().marker(1)->geometry().right(), window->grid().lineNumber(1)->x());
    EXPECT_EQ(window->grid().marker(1)->y(), window->grid().lineNumber(1)->y());

    typeInto(window->grid().field(1, 1), "2");
    EXPECT_EQ(severity(1), "error"); // not while typing
    ASSERT_TRUE(QTest::qWaitFor([&] { return severity(1) == "none"; }, 3000));

    // Inserting a line moves the findings with their lines.
    releaseMouse(window->grid().lineNumber(0), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return severity(47) == "warning"; }, 3000));
    EXPECT_EQ(severity(46), "error");
    // Scrolling moves the markers with their rows, and hides those out of view.
    window->grid().scrollBar()->setValue(30);
    EXPECT_FALSE(window->grid().marker(46)->isHidden());
    EXPECT_EQ(window->grid().marker(46)->y(), window->grid().lineNumber(46)->y());
    EXPECT_TRUE(window->grid().marker(1)->isHidden());
}

// A row's marker shows its gravest finding, and the keys follow the strings table the
// mod has now.
TEST_F(ScriptCheckTest, markersShowTheGravestFinding_andFollowTheStringsTableSaved)
{
    open("cutscene.txt");
    pickItem(window->grid().combo(1), 5); // CamBuildingFocus, short of arguments, "gate" no building
    ASSERT_TRUE(QTest::qWaitFor([&] { return severity(1) != "none"; }, 3000));
    EXPECT_EQ(severity(1), "error");
    EXPECT_TRUE(window->grid().marker(1)->toolTip().contains("not-a-number"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return severity(46) == "warning"; }, 3000));

    {
        DialogAnswerer discard;
        window->selectPage(3);
        auto *strings = find<QWidget>(*window, "stringstext");
        strings->setFocus();
        QTest::keyClicks(strings, "nobody Bye");
        QTest::keyClick(strings, Qt::Key_Return);
        clickButton(find<QPushButton>(*window, "savestrings"));
    }
    window->selectPage(2);
    open("cutscene.txt");
    EXPECT_TRUE(QTest::qWaitFor([&] { return severity(46) == "none"; }, 3000));
    EXPECT_EQ(severity(1), "error");
}

TEST_F(ScriptCheckTest, checkPanel_followsTheEdits)
{
    open("cutscene.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_EQ(findings().size(), 3);
    pickItem(window->grid().combo(45), 0); // PurityControl goes
    ASSERT_TRUE(QTest::qWaitFor([&] { return findings().size() == 2; }, 3000));
}

TEST_F(ScriptCheckTest, findingsCountedOnce_notesQuieter_atMostAThousandListed_andDiskReadOnlyWhenItChanges)
{
    std::string strings = "hello Hi there\r\n";
    for (int i = 0; i < 1200; ++i)
        strings += "again Once more\r\n";
    game.write("mods/m/strings_default.txt", strings);
    game.write("mods/m/scripts/notes.txt", "Wait\r\nWait 2\r\nWait\r\n");
    window->model().reopenMod(gui::RefreshReason::UserOrFolderAction);
    open("notes.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *list = find<QListWidget>(*window, "checkFindings");
    ASSERT_TRUE(list);
    EXPECT_EQ(find<QWidget>(*window, "checkDialog")->windowTitle(),
              "Check - notes.txt: 0 errors, 1199 warnings, 2 notes");
    ASSERT_EQ(list->count(), 1000);
    EXPECT_TRUE(find<QLabel>(*window, "checkSummary")
                    ->text()
                    .endsWith("the first 1000 of 1201 findings are listed."));
    // A finding wraps rather than scroll sideways.
    EXPECT_TRUE(list->wordWrap());
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(list->item(0)->data(gui::ScriptCheck::kSeverityRole).toString(), "note");
    EXPECT_EQ(list->item(2)->data(gui::ScriptCheck::kSeverityRole).toString(), "warning");
    EXPECT_NE(list->item(0)->foreground().color(), list->item(2)->foreground().color());
    EXPECT_NE(list->item(0)->icon().cacheKey(), list->item(2)->icon().cacheKey());
    EXPECT_EQ(severity(0), "note");

    // The file on disk is read again when it changes (opened, saved, changed by another
    // program), never at an edit.
    game.write("mods/m/scripts/notes.txt", "Nope\r\n");
    window->grid().field(1, 0)->setText(QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemTexts(list).filter("Line 2: ").size() == 1; }, 3000));
    EXPECT_TRUE(itemTexts(list).filter("unknown-command").isEmpty());
    window->scriptCheck().filesChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !itemTexts(list).filter("unknown-command").isEmpty(); }, 3000));
}

} // namespace
} // namespace cw::test
