// The Caption panel: the focused row's caption in Sepulveda's box, following each edit,
// and played at the game's speed. How a caption is laid out and timed is the core's.
#include "GuiSupport.h"

#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ScriptCaption.h"
#include "gui/script/ScriptTimeline.h"
#include "gui/timeline/CaptionPreview.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QListView>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

struct CaptionedScript
{
    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;

    CaptionedScript()
    {
        game.withBasics().withMod("m");
        game.write("mods/m/scripts/a.txt", "Say hello\r\nOne 1\r\nSay bye\r\n");
        game.write("mods/m/strings_default.txt", "hello Hello there\r\nbye Good bye\r\n");
        window = openWindow(game.root());
        openMod(*window, "m");
        window->selectPage(2);
        doubleClickListItem(find<QListView>(*window, "File1"), 0);
        window->timeline().timeNow();
    }

    gui::ScriptCaption &caption() const { return window->captionPreview(); }
    // The box's lines as drawn, top to bottom.
    std::vector<std::string> shown() const
    {
        std::vector<std::string> lines;
        for (const auto &line : caption().preview()->scene().lines)
            lines.push_back(line.text);
        return lines;
    }
};

TEST(CaptionPanel, ctrlShiftP_showsTheFocusedRowsCaption_andFollowsEachEditAtOnce)
{
    CaptionedScript t;
    t.window->grid().focusRow(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(t.caption().panel()->isVisible());
    // The row says nothing: the box shows the caption said last before it.
    EXPECT_EQ(t.shown(), std::vector<std::string>{"Hello there"});
    EXPECT_EQ(find<QLabel>(*t.window, "captionStatus")->text(),
              "Line 1, in cutscene mode (the camera leaves the mode open here).");

    // In normal mode the older caption stays above the newer.
    find<QComboBox>(*t.window, "captionMode")->setCurrentIndex(1);
    t.window->grid().focusRow(2);
    EXPECT_EQ(t.shown(), (std::vector<std::string>{"Hello there", "Good bye"}));
    t.window->model().editor().typeStringsText(2, QStringLiteral("hello"));
    EXPECT_EQ(t.shown(), (std::vector<std::string>{"Hello there", "Hello there"}));
}

// Playing types at TextSpeed / 0.6 characters a second (25 at the default 15); Space
// pauses and goes on, the grid follows the caption shown, Escape stops.
TEST(CaptionPanel, playFromHere_typesAtTheGamesSpeed_spacePauses_escapeStops)
{
    CaptionedScript t;
    qint64 now = 0;
    t.caption().setClock([&now] { return now; });
    t.window->grid().focusRow(0);
    t.caption().play();
    ASSERT_TRUE(t.caption().playing());
    EXPECT_EQ(t.shown(), std::vector<std::string>{""});
    now = 200;
    QTest::qWait(3 * gui::ScriptCaption::kFrameMilliseconds);
    EXPECT_EQ(t.shown(), std::vector<std::string>{"Hello"});

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(t.caption().paused());
    now = 5000;
    QTest::qWait(3 * gui::ScriptCaption::kFrameMilliseconds);
    EXPECT_EQ(t.shown(), std::vector<std::string>{"Hello"});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(t.caption().paused());

    // The second caption begins after the line between them has waited its frame.
    now = 5000 + 1200;
    QTest::qWait(3 * gui::ScriptCaption::kFrameMilliseconds);
    EXPECT_EQ(t.shown().back().substr(0, 4), "Good");
    EXPECT_EQ(t.window->grid().focusedRow(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(t.caption().playing());
}

} // namespace
} // namespace cw::test
