#include "gui/ui/WindowPlaces.h"

#include <gtest/gtest.h>

namespace cw::gui {
namespace {

// Where a tool window goes beside the main window: right, else left, else below, else
// over the main window in the corner farthest from the grid; always on the screen.
TEST(ToolWindowPlace, besideTheMainWindowWhereThereIsRoom_elseOverItFarFromTheGrid)
{
    const QSize tool(400, 300);
    const QRect grid(10, 150, 650, 500); // the grid's place on the screen, in the main window
    const struct
    {
        const char *what;
        QRect main;
        QRect room;
        QPoint expected;
    } cases[] = {
        {"room on the right", QRect(0, 0, 671, 713), QRect(0, 0, 1600, 900), QPoint(678, 0)},
        {"room on the left only", QRect(900, 0, 671, 713), QRect(0, 0, 1600, 900), QPoint(492, 0)},
        {"room below only", QRect(100, 0, 671, 500), QRect(0, 0, 900, 900), QPoint(100, 507)},
        {"slid up to stay on the screen", QRect(0, 700, 671, 200), QRect(0, 0, 1600, 900), QPoint(678, 600)},
        // Nowhere beside it: over the top left of the main window, far from the grid at
        // its bottom right, and inside the screen.
        {"no room beside it", QRect(0, 0, 1024, 600), QRect(0, 0, 1024, 600), QPoint(0, 0)},
    };
    for (const auto &c : cases) {
        const QRect avoid =
            c.what == std::string_view("no room beside it") ? QRect(500, 300, 500, 290) : grid;
        const QRect place = ui::toolWindowPlace(c.main, tool, c.room, avoid);
        EXPECT_EQ(place.topLeft(), c.expected) << c.what;
        EXPECT_TRUE(c.room.contains(place)) << c.what;
    }
    // Taller than the screen: cut to it (and over the main window, for want of room, on
    // the side away from the grid's centre).
    EXPECT_EQ(ui::toolWindowPlace(QRect(0, 0, 671, 713), QSize(400, 900), QRect(0, 0, 1024, 600), grid),
              QRect(271, 0, 400, 600));
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
