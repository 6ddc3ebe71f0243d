#include "gui/ui/ToolWindow.h"

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
}

} // namespace
} // namespace cw::gui
