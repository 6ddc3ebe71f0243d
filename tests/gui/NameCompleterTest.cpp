// An argument naming something of the levels offers the names known where its line
// runs. Which names those are is the core's to test; here, that the field offers them
// and that a picked name reaches the row as typing does.
#include "GuiSupport.h"

#include "core/script/ScriptDocument.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"

#include <QAbstractItemModel>
#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace cw::test {

TEST(NameCompleter, anArgumentOffersTheNamesOfWhereItsLineRuns_andAPickIsTyping)
{
    GameRootBuilder game;
    game.write("darwinia.exe", "stand-in\r\n");
    game.write("commands.txt",
               readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
    game.write("mods/m/scripts/scene.txt", "EnterLocation yard\r\nHighlight 1\r\nWait 2\r\n");
    game.write("mods/m/levels/game.txt", "Locations_StartDefinition\r\n0 1 map_garden.txt null\r\n"
                                         "1 1 map_yard.txt null\r\nLocations_EndDefinition\r\n");
    game.write("mods/m/levels/map_garden.txt", "Buildings_StartDefinition\r\nIncubator 4 0 0\r\n");
    game.write("mods/m/levels/map_yard.txt", "Buildings_StartDefinition\r\nTrunkPort 12 0 0\r\n");
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "m");
    window->selectPage(2);
    doubleClickListItem(find<QListView>(*window, "File1"), 0);

    QLineEdit *building = window->grid().field(1, 0);
    building->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return building->completer() != nullptr; }, 1000));
    const QAbstractItemModel *names = building->completer()->model();
    ASSERT_EQ(names->rowCount(), 1); // the yard's, where EnterLocation took the line
    EXPECT_EQ(names->index(0, 0).data().toString(), "12  TrunkPort");

    building->selectAll();
    QTest::keyClicks(building, "1");
    QTest::keyClick(building->completer()->popup(), Qt::Key_Down);
    QTest::keyClick(building->completer()->popup(), Qt::Key_Return);
    EXPECT_EQ(building->text(), "12");
    EXPECT_EQ(lineText(window->model().editor().row(1)), "Highlight 12");
    EXPECT_TRUE(window->model().editor().undoStack()->canUndo());

    // A plain number offers nothing.
    QLineEdit *seconds = window->grid().field(2, 0);
    seconds->setFocus();
    QTest::qWait(50);
    EXPECT_EQ(seconds->completer(), nullptr);
}

} // namespace cw::test
