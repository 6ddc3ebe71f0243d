#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

using gui::ScriptGrid;

// Indexes of the test catalogue.
enum Command {
    kEmpty = 0,
    kNone = 1,
    kOne = 2,
    kTwo = 3,
    kThree = 4,
    kFour = 5,
    kSeven = 6,
    kSay = 7,
    kSayTwo = 8,
    kComment = 9
};

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics().withMod("alpha");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        window->selectPage(2);
        grid = &window->grid();
    }

    QComboBox *combo(int r) const { return find<QComboBox>(*window, QStringLiteral("Combo_%1").arg(r)); }
    QComboBox *strings(int r) const
    {
        return find<QComboBox>(*window, QStringLiteral("scriptcombos_%1").arg(r));
    }
    QLineEdit *qual(int k) const { return find<QLineEdit>(*window, QStringLiteral("qual_%1").arg(k)); }
    QWidget *number(int r) const { return find<QWidget>(*window, QStringLiteral("linenum_%1").arg(r)); }

    // Shown fields of a row as "0123" with '-' for hidden ones.
    std::string shownFields(int r) const
    {
        std::string shown;
        for (int k = 0; k < 4; ++k)
            shown += qual(4 * r + k)->isHidden() ? '-' : static_cast<char>('0' + k);
        return shown;
    }
    // Left edges and widths of a row's four fields, in pixels.
    std::vector<int> layout(int r) const
    {
        std::vector<int> values;
        // The shown fields: a hidden one's place is nobody's business.
        for (int k = 0; k < 4; ++k) {
            if (qual(4 * r + k)->isHidden())
                continue;
            values.push_back(qual(4 * r + k)->x());
            values.push_back(qual(4 * r + k)->width());
        }
        return values;
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    ScriptGrid *grid = nullptr;
};

TEST_F(GridTest, hundredRowsOfNamedControls_listingTheCatalogue)
{
    for (int r = 0; r < 100; ++r) {
        ASSERT_TRUE(combo(r) && strings(r) && number(r)) << r;
        EXPECT_EQ(static_cast<QLabel *>(number(r))->text(), QString::number(r + 1));
        EXPECT_EQ(number(r)->toolTip(), "Left click to toggle empty lines, Right click to force add");
        EXPECT_EQ(combo(r)->count(), 10);
        EXPECT_EQ(combo(r)->currentText(), "");
        EXPECT_EQ(combo(r)->currentIndex(), -1);
        EXPECT_TRUE(strings(r)->isHidden());
        EXPECT_EQ(shownFields(r), "----");
    }
    ASSERT_TRUE(qual(399));
    EXPECT_EQ(combo(0)->itemText(kSay), "Say");
    EXPECT_EQ(combo(0)->itemText(kComment), "#");
    EXPECT_EQ(combo(0)->itemText(kEmpty), "");
}

TEST_F(GridTest, keyboardOrder_commandStringsThenFourFields_rowAfterRow)
{
    std::vector<QString> order;
    QWidget *w = combo(0);
    for (int steps = 0; steps < 2000 && order.size() < 13; ++steps) {
        const QString name = w->objectName();
        if (name.startsWith("Combo_") || name.startsWith("scriptcombos_") || name.startsWith("qual_"))
            order.push_back(name);
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(order, std::vector<QString>({"Combo_0", "scriptcombos_0", "qual_0", "qual_1", "qual_2",
                                           "qual_3", "Combo_1", "scriptcombos_1", "qual_4", "qual_5",
                                           "qual_6", "qual_7", "Combo_2"}));
}

TEST_F(GridTest, placeRows_showsTwentyRowsFromTheScrollValue)
{
    QScrollBar *bar = find<QScrollBar>(*window, "VScroll1");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 80);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->pageStep(), 1);
    EXPECT_EQ(bar->geometry(), QRect(8, 16, 17, 481));

    for (int r = 0; r < 20; ++r) {
        EXPECT_EQ(combo(r)->geometry().topLeft(), QPoint(56, 16 + 24 * r)) << r;
        EXPECT_EQ(number(r)->y(), 16 + 24 * r);
        EXPECT_FALSE(combo(r)->isHidden());
    }
    for (int r = 20; r < 100; ++r) {
        EXPECT_TRUE(combo(r)->isHidden()) << r;
        EXPECT_EQ(combo(r)->y(), 6667);
        EXPECT_EQ(strings(r)->y(), 6667);
        EXPECT_GT(qual(4 * r)->y(), 6667);
    }

    bar->setValue(1);
    EXPECT_TRUE(combo(0)->isHidden());
    EXPECT_EQ(combo(0)->y(), 6667);
    EXPECT_FALSE(combo(20)->isHidden());
    EXPECT_EQ(combo(20)->y(), 472);
    EXPECT_EQ(qual(80)->y(), 472);

    bar->setValue(80);
    EXPECT_TRUE(combo(79)->isHidden());
    for (int r = 80; r < 100; ++r)
        EXPECT_EQ(combo(r)->y(), 16 + 24 * (r - 80)) << r;
    // The last row stands 360 x 99 twips below where the first row stood at 0.
    bar->setValue(0);
    const int firstTop = combo(0)->y();
    bar->setValue(80);
    EXPECT_EQ(combo(99)->y() + 24 * 80, firstTop + 360 * 99 / 15);
}

TEST_F(GridTest, scrolling_movesRowsWithoutChangingTheirContent)
{
    pickItem(combo(25), kTwo);
    qual(100)->setText("mount");
    QScrollBar *bar = grid->scrollBar();
    bar->setValue(10);
    EXPECT_EQ(combo(25)->y(), 16 + 24 * 15);
    EXPECT_EQ(shownFields(25), "01--");
    EXPECT_EQ(qual(100)->text(), "mount");
    EXPECT_EQ(combo(25)->currentText(), "Two");
    // A row scrolled out and back in looks as before; its strings chooser stays hidden.
    bar->setValue(30);
    bar->setValue(10);
    EXPECT_EQ(shownFields(25), "01--");
    EXPECT_TRUE(strings(25)->isHidden());
}

TEST_F(GridTest, mouseWheelOverTheGrid_scrollsInsteadOfChangingCommands)
{
    pickItem(combo(3), kOne);
    QWheelEvent wheel(QPointF(80, 90), combo(3)->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo(3), &wheel);
    EXPECT_EQ(combo(3)->currentIndex(), kOne);
    EXPECT_EQ(grid->scrollBar()->value(), 1);
}

TEST_F(GridTest, wheelMovementOfLessThanOneNotch_stillScrollsOneRow)
{
    QScrollBar *bar = grid->scrollBar();
    const auto turn = [&](int angle) {
        QWheelEvent wheel(QPointF(80, 90), combo(0)->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &wheel);
        return bar->value();
    };
    EXPECT_EQ(turn(-40), 1);
    EXPECT_EQ(turn(-40), 2);
    EXPECT_EQ(turn(40), 1);
    EXPECT_EQ(turn(-240), 3);
    EXPECT_EQ(turn(0), 3);
}

// Typing into a row the grid does not show would change a line the user cannot see.
TEST_F(GridTest, focusEnteringARowOffScreen_scrollsJustFarEnoughToShowIt)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QScrollBar *bar = grid->scrollBar();
    for (int r : {19, 20, 39, 40, 90})
        pickItem(grid->combo(r), kFour);

    // Tab from the last row on screen into the first one below it.
    QTest::mouseClick(qual(4 * 19 + 3), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), qual(4 * 19 + 3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), qual(4 * 20));
    EXPECT_EQ(bar->value(), 1);
    EXPECT_FALSE(combo(20)->isHidden());
    EXPECT_LT(qual(4 * 20)->y() + qual(4 * 20)->height(), grid->height());
    QTest::keyClicks(QApplication::focusWidget(), "typed");
    EXPECT_EQ(qual(4 * 20)->text(), "typed");

    // Shift+Tab from the first row on screen into the one above it.
    bar->setValue(40);
    QTest::mouseClick(combo(40), Qt::LeftButton);
    ASSERT_EQ(QApplication::focusWidget(), combo(40));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), qual(4 * 39 + 3));
    EXPECT_EQ(bar->value(), 39);

    // Any other way in, such as a program step; a row on screen is not scrolled to.
    qual(4 * 90 + 1)->setFocus();
    EXPECT_EQ(bar->value(), 71);
    combo(80)->setFocus();
    EXPECT_EQ(bar->value(), 71);
}

// The wheel and the scroll bar move rows away from the focus: the scroll stands, and
// typing changes no line out of sight.
TEST_F(GridTest, scrollingTheFocusedRowAway_standsAndLeavesNoFocusInIt)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    pickItem(combo(0), kFour);
    combo(0)->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), combo(0));
    QWheelEvent wheel(QPointF(80, 90), combo(1)->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo(1), &wheel);
    EXPECT_EQ(grid->scrollBar()->value(), 1);
    QTest::keyClicks(QApplication::focusWidget(), "x");
    EXPECT_EQ(combo(0)->currentText(), "Four");
    EXPECT_EQ(qual(0)->text(), "");

    grid->scrollBar()->setValue(0);
    typeInto(qual(3), "kept");
    grid->scrollBar()->setValue(10);
    EXPECT_EQ(grid->scrollBar()->value(), 10);
    QTest::keyClicks(QApplication::focusWidget(), "x");
    EXPECT_EQ(qual(3)->text(), "kept");
}

TEST_F(GridTest, chooseCommand_showsSizesAndLabelsTheFields)
{
    pickItem(combo(0), kNone);
    EXPECT_EQ(shownFields(0), "----");
    EXPECT_EQ(combo(0)->toolTip(), "Takes nothing");

    pickItem(combo(0), kOne);
    EXPECT_EQ(shownFields(0), "0---");
    EXPECT_EQ(qual(0)->width(), 409);
    EXPECT_EQ(qual(0)->x(), 224);
    EXPECT_EQ(qual(0)->toolTip(), "Amount - Integer");

    pickItem(combo(1), kTwo);
    EXPECT_EQ(shownFields(1), "01--");
    EXPECT_EQ(layout(1), std::vector<int>({224, 201, 432, 201}));
    EXPECT_EQ(qual(5)->toolTip(), "Seconds - Float");

    pickItem(combo(2), kThree);
    EXPECT_EQ(shownFields(2), "012-");
    EXPECT_EQ(layout(2), std::vector<int>({224, 129, 360, 129, 496, 129}));

    pickItem(combo(3), kFour);
    EXPECT_EQ(shownFields(3), "0123");
    EXPECT_EQ(layout(3), std::vector<int>({224, 97, 328, 97, 432, 97, 536, 97}));
    EXPECT_EQ(qual(15)->toolTip(), "D - Integer");
    EXPECT_EQ(combo(3)->toolTip(), "Takes four");
}

TEST_F(GridTest, fieldsAreLaidOutForWhatTheRowShows_neverOverOneAnother)
{
    // A count above four shows all four side by side, whatever the row showed before.
    pickItem(combo(4), kTwo);
    pickItem(combo(4), kSeven);
    EXPECT_EQ(shownFields(4), "0123");
    EXPECT_EQ(layout(4), std::vector<int>({224, 97, 328, 97, 432, 97, 536, 97}));
    // Going back to fewer fields lays them out for those.
    pickItem(combo(4), kTwo);
    EXPECT_EQ(layout(4), std::vector<int>({224, 201, 432, 201}));
}

TEST_F(GridTest, entryZeroAndTheComment_behaveAsTheirEntriesSay)
{
    pickItem(combo(5), kFour);
    pickItem(combo(5), kEmpty);
    EXPECT_EQ(shownFields(5), "----");
    EXPECT_EQ(combo(5)->toolTip(), "");
    pickItem(combo(5), kComment);
    EXPECT_EQ(shownFields(5), "0---");
    EXPECT_EQ(qual(20)->width(), 409);
    EXPECT_EQ(qual(20)->toolTip(), "Comment Text");
    EXPECT_EQ(combo(5)->toolTip(), "Comment");
}

TEST_F(GridTest, changingCommand_keepsEveryFieldsText)
{
    pickItem(combo(6), kFour);
    const QStringList texts = {"4", "1.5", "lake", "9"};
    for (int k = 0; k < 4; ++k)
        typeInto(qual(24 + k), texts[k]);
    pickItem(combo(6), kOne);
    EXPECT_EQ(shownFields(6), "0---");
    pickItem(combo(6), kFour);
    EXPECT_EQ(shownFields(6), "0123");
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(qual(24 + k)->text(), texts[k]);
}

TEST_F(GridTest, stringsEntryFirstArgument_putsTheStringsChooserInPlaceOfFieldZero)
{
    qual(28)->setText("LOC_A");
    pickItem(combo(7), kSayTwo);
    EXPECT_EQ(shownFields(7), "-1--");
    EXPECT_FALSE(strings(7)->isHidden());
    // The chooser stands where field 0 would, beside field 1.
    EXPECT_EQ(strings(7)->geometry(), QRect(224, 16 + 24 * 7, 201, 21));
    EXPECT_EQ(qual(29)->geometry().topLeft(), QPoint(432, 16 + 24 * 7));
    EXPECT_EQ(qual(29)->width(), 201);
    EXPECT_EQ(strings(7)->currentText(), "LOC_A");

    pickItem(combo(7), kTwo);
    EXPECT_TRUE(strings(7)->isHidden());
    EXPECT_EQ(shownFields(7), "01--");
    EXPECT_EQ(qual(28)->text(), "LOC_A");
}

TEST_F(GridTest, typingIntoTheStringsChooser_isMirroredIntoFieldZero_andNeverInserted)
{
    pickItem(combo(8), kSay);
    typeInto(strings(8), "x");
    EXPECT_EQ(qual(32)->text(), "x");
    QTest::keyClick(strings(8), Qt::Key_Return);
    strings(8)->clearFocus();
    EXPECT_EQ(strings(8)->count(), 0);
    EXPECT_EQ(strings(8)->currentText(), "x");
    EXPECT_EQ(qual(32)->text(), "x");
}

TEST_F(GridTest, typingIntoTheCommandChooser_changesOnlyItsText_andEnterPicksTheCommandItNames)
{
    typeInto(combo(9), "four");
    combo(10)->setFocus();
    EXPECT_EQ(combo(9)->currentText(), "four");
    EXPECT_EQ(combo(9)->currentIndex(), -1);
    EXPECT_EQ(shownFields(9), "----");

    // Compared as the loader compares command words: the catalogue's own name comes.
    QTest::keyClick(combo(9), Qt::Key_Return);
    EXPECT_EQ(combo(9)->currentText(), "Four");
    EXPECT_EQ(combo(9)->currentIndex(), kFour);
    EXPECT_EQ(shownFields(9), "0123");

    // Any other text stays as typed, and nothing enters the list.
    typeInto(combo(11), "Fours");
    QTest::keyClick(combo(11), Qt::Key_Return);
    EXPECT_EQ(combo(11)->currentText(), "Fours");
    EXPECT_EQ(shownFields(11), "----");
    EXPECT_EQ(combo(9)->count(), 10);
}

TEST_F(GridTest, pickByAProgramStep_runsChooseCommand)
{
    pickItem(grid->combo(11), kThree);
    EXPECT_EQ(combo(11)->currentText(), "Three");
    EXPECT_EQ(shownFields(11), "012-");
}

} // namespace
} // namespace cw::test
