// Ctrl+F finds in the open script: Enter and F3 go on, Shift+F3 back, the match focused
// and selected, the matches counted; Escape closes the bar.
#include "GuiSupport.h"

#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/script/FindBar.h"
#include "gui/ui/ChooserComboBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

TEST(FindBar, ctrlF_findsInTheScript_enterAndF3GoOn_shiftF3Back_escapeCloses)
{
    GameRootBuilder game;
    game.write("darwinia.exe", "stand-in\r\n");
    game.write("commands.txt",
               readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
    std::string script = "CamMove gate 3\r\n# the Gate opens\r\n";
    for (int i = 0; i < 40; ++i)
        script += "Wait 1\r\n";
    script += "CamCut gate\r\n";
    game.write("mods/m/scripts/a.txt", script);
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "m");
    window->selectPage(2);
    doubleClickListItem(find<QListView>(*window, "File1"), 0);
    window->selectPage(0);

    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    auto *bar = find<QWidget>(*window, "findBar");
    auto *text = find<QLineEdit>(*window, "findText");
    ASSERT_TRUE(bar && text);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(window->controls().tabs->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(), text);
    QTest::keyClicks(text, "GATE");
    EXPECT_EQ(find<QLabel>(*window, "findCount")->text(), "3 matches");

    const gui::ScriptGrid &grid = window->grid();
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), grid.field(0, 0));
    EXPECT_EQ(grid.field(0, 0)->selectedText(), "gate");
    EXPECT_EQ(find<QLabel>(*window, "findCount")->text(), "1 of 3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(grid.field(1, 0)->selectedText(), "Gate");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    EXPECT_EQ(QApplication::focusWidget(), grid.field(42, 0)); // scrolled into view
    EXPECT_TRUE(grid.isOnScreen(42));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3); // round to the first
    EXPECT_EQ(QApplication::focusWidget(), grid.field(0, 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3, Qt::ShiftModifier); // and back
    EXPECT_EQ(QApplication::focusWidget(), grid.field(42, 0));

    // Match case leaves the capital one out; the count follows an edit.
    text->setText("gate");
    find<QWidget>(*window, "findCase")->setProperty("checked", true);
    EXPECT_EQ(window->findBar().matchCount(), 2);
    window->grid().field(42, 0)->setText("wall");
    EXPECT_EQ(window->findBar().matchCount(), 1);

    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
}

TEST(FindBar, replaceTheSelectedMatch_orAllOfThem_asOneUndoStep)
{
    GameRootBuilder game;
    game.write("darwinia.exe", "stand-in\r\n");
    game.write("commands.txt",
               readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
    game.write("mods/m/scripts/a.txt", "CamMove gate 3\r\n# gate by gate\r\nCamCut gate\r\n");
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "m");
    window->selectPage(2);
    doubleClickListItem(find<QListView>(*window, "File1"), 0);
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(find<QLineEdit>(*window, "findText"), "gate");
    find<QLineEdit>(*window, "replaceText")->setText("gates");
    const gui::ScriptGrid &grid = window->grid();

    clickButton(find<QAbstractButton>(*window, "replaceOne")); // nothing selected: goes to the first
    EXPECT_EQ(grid.field(0, 0)->text(), "gate");
    clickButton(find<QAbstractButton>(*window, "replaceOne"));
    EXPECT_EQ(grid.field(0, 0)->text(), "gates");
    EXPECT_EQ(grid.field(1, 0)->selectedText(), "gate"); // on to the next, not into "gates"
    clickButton(find<QAbstractButton>(*window, "replaceAll"));
    EXPECT_EQ(grid.field(1, 0)->text(), " gates by gates");
    EXPECT_EQ(grid.field(2, 0)->text(), "gates");
    EXPECT_EQ(grid.field(0, 0)->text(), "gatess"); // "gates" holds "gate" too
    EXPECT_EQ(find<QLabel>(*window, "findCount")->text(), "4 replaced");
    // One undo takes back the whole Replace all, and only it.
    window->model().editor().undoStack()->undo();
    EXPECT_EQ(grid.field(0, 0)->text(), "gates");
    EXPECT_EQ(grid.field(2, 0)->text(), "gate");
}

} // namespace
} // namespace cw::test
