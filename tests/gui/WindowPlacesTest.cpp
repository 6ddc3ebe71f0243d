#include "gui/ui/WindowPlaces.h"

#include <gtest/gtest.h>

namespace cw::gui {
namespace {

// A panel docks right of the grid where the screen leaves 420 px beside the window's
// laid-out width, else below it; it takes its room from the screen, as far as there is
// any, before it takes any from the grid.
TEST(PanelPlace, besideTheGridWhereTheScreenHasRoom_andTheWindowGrowsForIt)
{
    EXPECT_EQ(ui::panelSide(1366, 671), ui::PanelSide::Right);
    EXPECT_EQ(ui::panelSide(1091, 671), ui::PanelSide::Right);
    EXPECT_EQ(ui::panelSide(1090, 671), ui::PanelSide::Bottom);
    EXPECT_EQ(ui::panelSide(1024, 671), ui::PanelSide::Bottom);
    EXPECT_EQ(ui::panelSide(1366, 1193), ui::PanelSide::Bottom); // 16 pt on a laptop
    const struct
    {
        const char *what;
        QRect frame;
        ui::PanelSide side;
        QRect room;
        QRect expected;
    } cases[] = {
        {"room on the right", QRect(100, 0, 687, 753), ui::PanelSide::Right, QRect(0, 0, 1366, 768),
         QRect(100, 0, 1107, 753)},
        {"moved left to keep the panel on the screen", QRect(600, 0, 687, 753), ui::PanelSide::Right,
         QRect(0, 0, 1366, 768), QRect(259, 0, 1107, 753)},
        {"as wide as the screen, no wider", QRect(0, 0, 1200, 700), ui::PanelSide::Right,
         QRect(0, 0, 1366, 768), QRect(0, 0, 1366, 700)},
        {"below, moved up", QRect(0, 200, 687, 300), ui::PanelSide::Bottom, QRect(0, 0, 1024, 600),
         QRect(0, 40, 687, 560)},
        {"no room at all: the window stays", QRect(0, 0, 1024, 600), ui::PanelSide::Bottom,
         QRect(0, 0, 1024, 600), QRect(0, 0, 1024, 600)},
        {"larger than the screen: never cut by it", QRect(0, 0, 1400, 900), ui::PanelSide::Right,
         QRect(0, 0, 1366, 768), QRect(0, 0, 1400, 900)},
    };
    for (const auto &c : cases) {
        const int extent = c.side == ui::PanelSide::Right ? 420 : 260;
        EXPECT_EQ(ui::roomForPanel(c.frame, c.side, extent, c.room), c.expected) << c.what;
    }
}

// The main window, frame included, lies inside the screen's available area whatever
// size the font made it, moved as little as it takes.
TEST(WindowPlace, theMainWindowIsCutToTheScreen_andMovedInsideIt)
{
    const struct
    {
        const char *what;
        QRect wanted;
        QRect room;
        QRect expected;
    } cases[] = {
        {"fits where it is", QRect(100, 10, 687, 753), QRect(0, 0, 1366, 768), QRect(100, 10, 687, 753)},
        {"16 pt on a laptop", QRect(0, 0, 1209, 1308), QRect(0, 0, 1366, 740), QRect(0, 0, 1209, 740)},
        {"32 pt on a small screen", QRect(-50, -50, 2402, 2576), QRect(0, 0, 1024, 600),
         QRect(0, 0, 1024, 600)},
        {"off the right of a second screen", QRect(3000, 100, 687, 753), QRect(1366, 0, 1920, 1170),
         QRect(2599, 100, 687, 753)},
        {"a panel above the room", QRect(0, 0, 687, 753), QRect(0, 30, 1024, 570), QRect(0, 30, 687, 570)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ui::onScreenPlace(c.wanted, c.room), c.expected) << c.what;
}

} // namespace
} // namespace cw::gui
