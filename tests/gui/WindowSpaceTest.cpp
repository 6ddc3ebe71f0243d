// The window uses the room it has on the tests' three screens, at a small, a large and
// the largest font: every button of the page shown lies inside the window without
// scrolling, the grid's fields stand apart inside its frame, and a panel stands beside
// the grid, never over it.
#include "GuiSupport.h"

#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/WindowPlaces.h"

#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace cw::test {
namespace {

class WindowSpaceTest : public ::testing::TestWithParam<std::tuple<const char *, double>>
{
protected:
    void SetUp() override
    {
        QFont font = m_savedFont;
        font.setPointSizeF(std::get<1>(GetParam()));
        QApplication::setFont(font);
        game.write("darwinia.exe", "stand-in\r\n");
        game.write("commands.txt",
                   readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
        // Rows of one to four fields, with values past a command's arguments, and a
        // strings key beside a second argument.
        game.write("mods/m/scripts/mixed.txt", "# a comment\r\nCamMove gate 3 x slowly\r\n"
                                               "CamBuildingFocus 4 300 150\r\nSay K\r\n"
                                               "Wait 1 2\r\nSetMission m.txt\r\n");
        game.write("mods/m/strings_default.txt", "K Hello\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        QScreen *screen = nullptr;
        for (QScreen *s : QGuiApplication::screens())
            if (s->name() == QString::fromLatin1(std::get<0>(GetParam())))
                screen = s;
        ASSERT_TRUE(screen);
        window->setScreen(screen);
        window->move(screen->availableGeometry().topLeft());
        gui::ui::fitOnScreen(window.get(), gui::ui::kCommonFrame);
        QTest::qWait(20);
        openMod(*window, "m");
        window->selectPage(2);
        doubleClickListItem(find<QListView>(*window, "File1"), 0);
    }
    void TearDown() override
    {
        window.reset();
        QApplication::setFont(m_savedFont);
    }

    // What of the page shown lies outside the window, or scrolls.
    std::string outOfReach(int page) const
    {
        window->selectPage(page);
        QApplication::processEvents();
        std::string out;
        const auto *scroll = find<QScrollArea>(*window, ("pageScroll_" + std::to_string(page)).c_str());
        if (scroll->verticalScrollBar()->maximum() > 0 || scroll->horizontalScrollBar()->maximum() > 0)
            out += "page " + std::to_string(page) + " scrolls; ";
        for (const QPushButton *button :
             window->controls().tabFrame[static_cast<std::size_t>(page)]->findChildren<QPushButton *>()) {
            const QRect place(button->mapTo(window.get(), QPoint(0, 0)), button->size());
            if (button->isVisible() && !window->rect().contains(place))
                out += button->objectName().toStdString() + " outside the window (" +
                       std::to_string(place.bottom()) + " of " + std::to_string(window->height()) + "); ";
        }
        return out;
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;

private:
    QFont m_savedFont = QApplication::font();
};

TEST_P(WindowSpaceTest, everyButtonInReach_fieldsApartInsideTheGrid_andAPanelBesideIt)
{
    for (int page = 0; page < 4; ++page)
        EXPECT_EQ(outOfReach(page), "");

    window->selectPage(2);
    const gui::ScriptGrid &grid = window->grid();
    ASSERT_EQ(grid.field(1, 3)->text(), "slowly");
    for (int row = 0; row < std::min(grid.visibleRows(), 6); ++row) {
        std::vector<QRect> places{grid.combo(row)->geometry()};
        if (grid.stringsChooser(row)->isVisible())
            places.push_back(grid.stringsChooser(row)->geometry());
        for (int k = 0; k < 4; ++k)
            if (grid.field(row, k)->isVisible())
                places.push_back(grid.field(row, k)->geometry());
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_TRUE(grid.contentsRect().contains(places[i])) << "row " << row << ", control " << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(places[i].intersects(places[j])) << "row " << row << ": " << j << " and " << i;
        }
    }

    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *panel = find<QDockWidget>(*window, "checkPanel");
    ASSERT_TRUE(panel && panel->isVisible());
    QApplication::processEvents();
    // At 32 pt a 1024 x 600 screen has no room for the page and a panel below it: the
    // panel takes the least it can, and the page scrolls.
    if (std::get<0>(GetParam()) == std::string_view("c-small") && std::get<1>(GetParam()) > 16) {
        EXPECT_LE(panel->height(), panel->minimumSizeHint().height() + 1);
        return;
    }
    const QRect gridPlace(grid.mapTo(window.get(), QPoint(0, 0)), grid.size());
    EXPECT_FALSE(panel->geometry().intersects(gridPlace));
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->geometry()));
    EXPECT_EQ(outOfReach(2), "");
}

// The Timeline panel opened beside the Check panel shares its side in a tab; where the
// panels stand comes back with the window's state.
TEST(Panels, openOnTheSameSideInTabs_andComeBackWhereTheyWere)
{
    GameRootBuilder game;
    game.withBasics().withMod("m");
    QByteArray state;
    {
        auto window = openWindow(game.root());
        ASSERT_TRUE(window);
        window->selectPage(2);
        clickButton(find<QPushButton>(*window, "cmdcheck"));
        clickButton(find<QPushButton>(*window, "cmdtimeline"));
        auto *check = find<QDockWidget>(*window, "checkPanel");
        auto *timeline = find<QDockWidget>(*window, "timelinePanel");
        ASSERT_TRUE(check && timeline);
        EXPECT_EQ(window->dockWidgetArea(check), Qt::RightDockWidgetArea); // 1366 px leave 695 beside 671
        EXPECT_EQ(window->tabifiedDockWidgets(check), QList<QDockWidget *>({timeline}));
        window->addDockWidget(Qt::BottomDockWidgetArea, check); // the user moves it below
        state = window->saveState();
    }
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->restorePanels(state));
    auto *check = find<QDockWidget>(*window, "checkPanel");
    EXPECT_TRUE(check->isVisible());
    EXPECT_EQ(window->dockWidgetArea(check), Qt::BottomDockWidgetArea);
    EXPECT_TRUE(find<QDockWidget>(*window, "timelinePanel")->isVisible());
    // Its content is there, showing the grid as it is.
    EXPECT_EQ(find<QWidget>(*window, "checkDialog")->windowTitle(), "Check - the grid");
}

INSTANTIATE_TEST_SUITE_P(ScreensAndFonts, WindowSpaceTest,
                         ::testing::Combine(::testing::Values("a-laptop", "b-large", "c-small"),
                                            ::testing::Values(6.0, 16.0, 32.0)),
                         [](const auto &shown) {
                             return std::string(std::get<0>(shown.param)).substr(0, 1) + "_" +
                                    std::to_string(static_cast<int>(std::get<1>(shown.param))) + "pt";
                         });

} // namespace
} // namespace cw::test
