// The Timeline button, its window following the grid, and a click on a block going to
// its row. The times themselves are the model's, tested in the core.
#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptTimeline.h"
#include "gui/timeline/TimelineView.h"
#include "gui/ui/ChooserComboBox.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {

TEST(TimelineWindow, followsTheGrid_andAClickedBlockFocusesItsRow)
{
    GameRootBuilder game;
    game.write("darwinia.exe", "stand-in\r\n");
    game.write("commands.txt",
               readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
    game.write("mods/m/scripts/scene.txt", "Say K\r\nWaitSay\r\nWait 2\r\nCamMove m 4\r\nWaitCam\r\n");
    game.write("mods/m/strings_default.txt", "K " + std::string(30, 'x') + "\r\n");
    game.write("data/language/english.txt", "OTHER text\r\n"); // the game's table, readable here
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "m");
    window->selectPage(2);
    doubleClickListItem(find<QListView>(*window, "File1"), 0);

    clickButton(find<QPushButton>(*window, "cmdtimeline"));
    auto *view = find<QWidget>(*window, "timelineView");
    ASSERT_TRUE(view && view->isVisible());
    // The camera's mode at the start is not known: K lasts 2.2 to 3.2 s.
    EXPECT_EQ(view->windowTitle(), "Timeline - scene.txt: 8.3 s to 9.3 s");
    EXPECT_TRUE(window->grid().lineNumber(2)->toolTip().endsWith(
        "Starts at 0:02.233 to 0:03.233 as the game plays the script."))
        << window->grid().lineNumber(2)->toolTip().toStdString();

    // Waiting a second longer moves everything after it, a moment after the edit.
    QLineEdit *seconds = window->grid().field(2, 0);
    seconds->setFocus();
    QTest::keyClick(seconds, Qt::Key_End);
    QTest::keyClick(seconds, Qt::Key_Backspace);
    QTest::keyClicks(seconds, "3");
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return view->windowTitle() == "Timeline - scene.txt: 9.3 s to 10.3 s"; }, 3000))
        << view->windowTitle().toStdString();

    // Saying where the script starts times it again from there.
    auto *timelineView = qobject_cast<gui::TimelineView *>(view);
    ASSERT_TRUE(timelineView);
    EXPECT_FALSE(timelineView->timeline().startsOnWorldMap);
    auto *start = find<QComboBox>(*view, "timelineStart");
    ASSERT_TRUE(start);
    start->setCurrentIndex(2);
    Q_EMIT start->activated(2);
    EXPECT_TRUE(timelineView->timeline().startsOnWorldMap);
    start->setCurrentIndex(1); // in a location, where the camera glides
    Q_EMIT start->activated(1);

    QAbstractButton *glide = nullptr;
    for (QAbstractButton *block : view->findChildren<QAbstractButton *>()) {
        if (block->accessibleName().startsWith("Line 4, CamMove"))
            glide = block;
    }
    ASSERT_TRUE(glide);
    QTest::mouseClick(glide, Qt::LeftButton);
    // The main window takes the activation back; its focus is in the block's row.
    EXPECT_EQ(window->focusWidget(), window->grid().combo(3));
}

} // namespace cw::test
