// The layout grows with the application's font, so that nothing is cut at larger
// fonts, and is exactly as laid out at the default one.
#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

// The application font for the length of a test.
class ScopedFont
{
public:
    explicit ScopedFont(double points) : m_saved(QApplication::font())
    {
        QFont font = m_saved;
        font.setPointSizeF(points);
        QApplication::setFont(font);
    }
    ~ScopedFont() { QApplication::setFont(m_saved); }
    ScopedFont(const ScopedFont &) = delete;
    ScopedFont &operator=(const ScopedFont &) = delete;

private:
    QFont m_saved;
};

class LayoutScaleTest : public ::testing::TestWithParam<double>
{
protected:
    void SetUp() override
    {
        game.withBasics().withMod("A mod with a rather long name");
        game.write("mods/A mod with a rather long name/scripts/a_script_with_a_long_name.txt", "One 1\r\n");
        game.write("mods/A mod with a rather long name/strings_default.txt", "K v\r\n");
    }

    GameRootBuilder game;
};

// Whether a control's text is wider or taller than the room it has: `margin` pixels a
// side are the control's own frame.
std::string cut(const QWidget *widget, const QString &text, int margin)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const QRect room = widget->contentsRect().adjusted(margin, 0, -margin, 0);
    if (width > room.width() || metrics.height() > room.height())
        return widget->objectName().toStdString() + ": " + std::to_string(width) + "x" +
               std::to_string(metrics.height()) + " in " + std::to_string(room.width()) + "x" +
               std::to_string(room.height());
    return {};
}

TEST_P(LayoutScaleTest, atLargerFonts_noCaptionIsCut_andTheGridShowsTheRowsItHasRoomFor)
{
    const ScopedFont appFont(GetParam());
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "A mod with a rather long name");
    for (int page = 0; page < 4; ++page) {
        window->selectPage(page);
        for (const QPushButton *button : window->findChildren<QPushButton *>()) {
            if (button->isVisible() && !button->text().isEmpty()) {
                const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
                EXPECT_EQ(cut(button, button->text(), 3 + icon / 2), "") << button->text().toStdString();
            }
        }
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (label->isVisible() && !label->text().isEmpty()) {
                // A tab's caption turns bold when its tab is chosen.
                QLabel bold(label->text());
                QFont font = label->font();
                font.setBold(label->objectName().startsWith(QStringLiteral("TabName_")));
                bold.setFont(font);
                bold.resize(label->size());
                bold.setContentsMargins(label->contentsMargins());
                EXPECT_EQ(cut(&bold, label->text(), 0), "") << label->text().toStdString();
            }
        }
    }
    window->selectPage(0);
    const auto *list1 = find<QListView>(*window, "List1");
    const QModelIndex first = list1->model()->index(0, 0);
    EXPECT_LE(list1->visualRect(first).right(), list1->viewport()->width());
    EXPECT_GE(list1->fontMetrics().horizontalAdvance(first.data().toString()),
              list1->fontMetrics().horizontalAdvance(QStringLiteral("A mod with")));

    window->selectPage(2);
    const gui::ScriptGrid &grid = window->grid();
    EXPECT_GE(grid.combo(0)->height(), grid.combo(0)->fontMetrics().height());
    const int rows = grid.visibleRows();
    EXPECT_FALSE(grid.combo(rows - 1)->isHidden());
    EXPECT_TRUE(grid.combo(rows)->isHidden());
    EXPECT_LE(grid.combo(rows - 1)->geometry().bottom(), grid.height());
    EXPECT_LE(grid.field(rows - 1, 0)->geometry().bottom(), grid.height());
}

INSTANTIATE_TEST_SUITE_P(Fonts, LayoutScaleTest, ::testing::Values(13.0, 16.0), [](const auto &font) {
    return std::to_string(static_cast<int>(font.param)) + "pt";
});

TEST(LayoutScale, atTheDefaultFont_theLayoutIsExactlyAsLaidOut)
{
    GameRootBuilder game;
    game.withBasics().withMod("m");
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    EXPECT_EQ(window->size(), QSize(10065 / 15, 10695 / 15));
    const gui::ScriptGrid &grid = window->grid();
    EXPECT_EQ(grid.combo(3)->geometry(), QRect(840 / 15, (240 + 360 * 3) / 15, 2415 / 15, 21));
    EXPECT_EQ(find<QPushButton>(*window, "savesc")->geometry(), QRect(2, 6, 80, 27));
}

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

// The window tests' primary screen is a laptop's 1366 x 768: at 16 pt the layout is
// 1193 x 1268, and the window opens cut to the screen, its pages laid out to fit it.
TEST_F(LayoutScaleTest, atSixteenPoints_theWindowOpensInsideALaptopScreen_andItsPagesDoNotScroll)
{
    const ScopedFont appFont(16);
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_EQ(window->screen()->name(), "a-laptop");
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));
    window->selectPage(2);
    auto *scroll = find<QScrollArea>(*window, "pageScroll_2");
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0);
    auto *check = find<QPushButton>(*window, "cmdcheck");
    EXPECT_TRUE(scroll->viewport()->rect().contains(
        QRect(check->mapTo(scroll->viewport(), QPoint(0, 0)), check->size())));
}

TEST_F(LayoutScaleTest, maximisedOnALargeScreen_theGridShowsMoreRows_andTheEditorsGrow)
{
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "A mod with a rather long name");
    window->selectPage(2);
    const QSize gridBefore = window->grid().size();
    window->selectPage(3);
    const QRect stringsBefore = find<QWidget>(*window, "stringstext")->geometry();
    window->selectPage(2);
    QScreen *large = screenNamed(QStringLiteral("b-large"));
    ASSERT_TRUE(large);
    window->setScreen(large);
    window->move(large->geometry().topLeft() + QPoint(40, 40));
    window->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->height() > 1000; }));

    const gui::ScriptGrid &grid = window->grid();
    const int rows = grid.visibleRows();
    EXPECT_GT(rows, gui::ScriptGrid::kLaidOutRows);
    EXPECT_EQ(grid.scrollBar()->maximum(), gui::ScriptGrid::kRowCount - rows);
    EXPECT_FALSE(grid.combo(rows - 1)->isHidden());
    EXPECT_TRUE(grid.combo(rows)->isHidden());
    EXPECT_LE(grid.combo(rows - 1)->geometry().bottom(), grid.height());
    // The grid takes the width too, and its fields with it.
    EXPECT_GT(grid.width(), gridBefore.width());
    EXPECT_GT(grid.field(0, 0)->width(), 409);
    EXPECT_LE(grid.field(0, 0)->geometry().right(), grid.width());
    // The rows scroll as before: the last row comes into view at the end of the range.
    window->grid().scrollBar()->setValue(grid.scrollBar()->maximum());
    EXPECT_FALSE(grid.combo(gui::ScriptGrid::kRowCount - 1)->isHidden());

    auto *check = find<QPushButton>(*window, "cmdcheck");
    EXPECT_GT(check->y(), grid.geometry().bottom());
    EXPECT_LT(check->geometry().bottom(), find<QScrollArea>(*window, "pageScroll_2")->viewport()->height());
    window->selectPage(3);
    const QRect strings = find<QWidget>(*window, "stringstext")->geometry();
    EXPECT_GT(strings.width(), stringsBefore.width());
    EXPECT_GT(strings.height(), stringsBefore.height());
}

TEST(LayoutScale, list2_showsEveryNameWhole_inColumnsAsWideAsTheirLongest)
{
    GameRootBuilder game;
    game.withBasics();
    for (const char *name : {"broken_cutscene.txt", "too_long_line.txt", "unix_line_ends.txt"})
        game.write(std::string("mods/m/scripts/") + name, "One 1\r\n");
    game.dir.makeFolder("mods/m/levels");
    game.write("mods/m/strings_default.txt", "K v\r\n");
    auto window = openWindow(game.root());
    ASSERT_TRUE(window);
    openMod(*window, "m");
    window->selectPage(2);
    clickButton(find<QPushButton>(*window, "listtoggle"));
    auto *list2 = find<QListView>(*window, "List2");
    ASSERT_EQ(list2->model()->rowCount(), 3);
    for (int i = 0; i < list2->model()->rowCount(); ++i) {
        const QModelIndex index = list2->model()->index(i, 0);
        const QString name = index.data().toString();
        EXPECT_GE(list2->visualRect(index).width(),
                  list2->itemDelegate()->sizeHint(QStyleOptionViewItem(), index).width())
            << name.toStdString();
    }
}

} // namespace
} // namespace cw::test
