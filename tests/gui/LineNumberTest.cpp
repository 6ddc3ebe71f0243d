#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"

#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

// Indexes of the test catalogue.
enum Command { kOne = 2, kTwo = 3, kFour = 5, kSay = 7 };

// "One 1" .. "One count", one per line; `blankFirst` makes the first line empty.
std::string numberedLines(int count, bool blankFirst = false)
{
    std::string bytes = blankFirst ? "\r\n" : "";
    for (int i = blankFirst ? 2 : 1; i <= count; ++i)
        bytes += "One " + std::to_string(i) + "\r\n";
    return bytes;
}

class LineNumberTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics();
        game.dir.makeFolder("mods/m/levels");
        game.write("mods/m/strings_default.txt", "GREETING Hello\r\nFAREWELL Bye\r\n");
        game.write("mods/m/scripts/full.txt", numberedLines(100));
        game.write("mods/m/scripts/gap.txt", numberedLines(100, true));
        game.write("mods/m/scripts/most.txt", numberedLines(99));
        game.write("mods/m/scripts/mixed.txt", "One 1\r\n"
                                               "\r\n"
                                               "Two gate 2.5\r\n"
                                               "Four 4 1.5 lake 9\r\n"
                                               "Say FAREWELL\r\n"
                                               "Say nowhere\r\n"
                                               "Say GREETING\r\n"
                                               "FlyAround lake 3\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "m");
        window->selectPage(2);
        grid = &window->grid();
    }

    void open(const QString &name)
    {
        auto *file1 = find<QListView>(*window, "File1");
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
        ASSERT_EQ(window->model().scriptName(), name);
    }

    void release(int r, Qt::MouseButton button)
    {
        releaseMouse(find<QWidget>(*window, QStringLiteral("linenum_%1").arg(r)), button);
    }

    std::string row(int r) const { return describeRow(*window, r); }
    std::vector<std::string> allRows() const
    {
        std::vector<std::string> rows;
        for (int r = 0; r < gui::ScriptGrid::kRowCount; ++r)
            rows.push_back(row(r));
        return rows;
    }
    // Left edges and widths of a row's four fields, in pixels.
    std::vector<int> layout(int r) const
    {
        std::vector<int> values;
        // The shown fields: a hidden one's place is nobody's business.
        for (int k = 0; k < 4; ++k) {
            if (grid->field(r, k)->isHidden())
                continue;
            values.push_back(grid->field(r, k)->x());
            values.push_back(grid->field(r, k)->width());
        }
        return values;
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::ScriptGrid *grid = nullptr;
};

TEST_F(LineNumberTest, leftClickOnAnEmptyRow_pullsEveryLineUp_andEmptiesRow100)
{
    open("gap.txt");
    ASSERT_EQ(row(0), "|-,-,-,-|-");
    release(0, Qt::LeftButton);
    for (int r = 0; r < 99; ++r)
        ASSERT_EQ(row(r), "One|" + std::to_string(r + 2) + ",-,-,-|-") << r;
    EXPECT_EQ(row(99), "|-,-,-,-|-");
    // A cleared row hides its fields but keeps what they held.
    EXPECT_EQ(grid->field(99, 0)->text(), "100");
}

TEST_F(LineNumberTest, leftClickOnALine_pushesLinesDown_intoAnEmptyLastRow)
{
    open("most.txt");
    release(4, Qt::LeftButton);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(row(r), "One|" + std::to_string(r + 1) + ",-,-,-|-") << r;
    EXPECT_EQ(row(4), "|-,-,-,-|-");
    EXPECT_EQ(grid->combo(4)->toolTip(), "");
    for (int r = 5; r < 100; ++r)
        ASSERT_EQ(row(r), "One|" + std::to_string(r) + ",-,-,-|-") << r;
}

// Line 100 would be pushed out of the grid and lost at the next save.
TEST_F(LineNumberTest, insertWhileLine100HoldsACommand_isRefusedWithANoteAtTheNumber)
{
    open("full.txt");
    const std::vector<std::string> before = allRows();
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        QToolTip::hideText();
        const int beeps = gui::ui::beepCount();
        release(4, button);
        EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
        EXPECT_TRUE(QToolTip::text().startsWith("Line 100 holds a command"))
            << QToolTip::text().toStdString();
        EXPECT_EQ(allRows(), before);
    }
}

TEST_F(LineNumberTest, rightClick_insertsEvenBeforeAnEmptyRow)
{
    open("mixed.txt");
    const std::vector<std::string> before = allRows();
    release(1, Qt::RightButton);
    const std::vector<std::string> after = allRows();
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], "|-,-,-,-|-");
    for (int r = 2; r < 100; ++r)
        ASSERT_EQ(after[static_cast<std::size_t>(r)], before[static_cast<std::size_t>(r - 1)]) << r;
}

TEST_F(LineNumberTest, emptyRow100_isClearedInPlace_byEitherButton)
{
    open("most.txt");
    grid->scrollBar()->setValue(80);
    release(99, Qt::RightButton);
    EXPECT_EQ(row(99), "|-,-,-,-|-");
    EXPECT_EQ(row(98), "One|99,-,-,-|-");
    EXPECT_EQ(row(0), "One|1,-,-,-|-");

    // A left click removes it: nothing follows it, so it is cleared again.
    release(99, Qt::LeftButton);
    EXPECT_EQ(row(99), "|-,-,-,-|-");
    EXPECT_EQ(row(98), "One|99,-,-,-|-");
}

TEST_F(LineNumberTest, middleClick_changesNothing)
{
    open("mixed.txt");
    const std::vector<std::string> before = allRows();
    release(0, Qt::MiddleButton); // a line
    release(1, Qt::MiddleButton); // an empty row
    EXPECT_EQ(allRows(), before);
}

TEST_F(LineNumberTest, insertedRow_keepsTheMovedLinesTexts_forTheNextCommandChosen)
{
    open("mixed.txt");
    release(3, Qt::LeftButton);
    ASSERT_EQ(row(4), "Four|4,1.5,lake,9|-");
    ASSERT_EQ(row(3), "|-,-,-,-|-");
    pickItem(grid->combo(3), kFour);
    EXPECT_EQ(row(3), "Four|4,1.5,lake,9|-");
}

TEST_F(LineNumberTest, movedLines_bringTheirFieldLayout_toTheirNewRow)
{
    open("mixed.txt");
    // Inserting before row 1 moves "Two" (row 3) onto the row that held "Four".
    release(0, Qt::RightButton);
    ASSERT_EQ(row(3), "Two|gate,2.5,-,-|-");
    EXPECT_EQ(layout(3), std::vector<int>({224, 201, 432, 201}));
    ASSERT_EQ(row(4), "Four|4,1.5,lake,9|-");
    EXPECT_EQ(layout(4), std::vector<int>({224, 97, 328, 97, 432, 97, 536, 97}));
    // Fields change their places within the row, never their row.
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(grid->field(3, k)->y(), grid->combo(3)->y()) << k;

    // Removing the two empty rows above pulls both lines up onto rows laid out otherwise.
    release(0, Qt::LeftButton);
    release(1, Qt::LeftButton);
    ASSERT_EQ(row(1), "Two|gate,2.5,-,-|-");
    EXPECT_EQ(layout(1), std::vector<int>({224, 201, 432, 201}));
    ASSERT_EQ(row(2), "Four|4,1.5,lake,9|-");
    EXPECT_EQ(layout(2), std::vector<int>({224, 97, 328, 97, 432, 97, 536, 97}));
}

TEST_F(LineNumberTest, movedStringsKeyLines_keepTheirChooserPickAndText)
{
    open("mixed.txt");
    ASSERT_EQ(grid->stringsChooser(4)->currentIndex(), 1);
    // Rows 5 to 7 receive lines whose picks differ from what they showed.
    release(4, Qt::RightButton);
    EXPECT_EQ(row(4), "|-,-,-,-|-");
    EXPECT_EQ(row(5), "Say|-,-,-,-|FAREWELL");
    EXPECT_EQ(grid->stringsChooser(5)->currentIndex(), 1);
    EXPECT_EQ(grid->stringsChooser(5)->toolTip(), "Bye");
    EXPECT_EQ(grid->field(5, 0)->text(), "FAREWELL");
    EXPECT_EQ(row(6), "Say|-,-,-,-|nowhere");
    EXPECT_EQ(grid->stringsChooser(6)->currentIndex(), -1);
    EXPECT_EQ(grid->field(6, 0)->text(), "nowhere");
    EXPECT_EQ(row(7), "Say|-,-,-,-|GREETING");
    EXPECT_EQ(grid->stringsChooser(7)->currentIndex(), 0);
    // An unknown command moves as its text.
    EXPECT_EQ(row(8), "FlyAround|lake,3,-,-|-");

    // Pulled back up: a key that is not in the table replaces a picked one, and back.
    release(4, Qt::LeftButton);
    EXPECT_EQ(row(4), "Say|-,-,-,-|FAREWELL");
    EXPECT_EQ(grid->stringsChooser(4)->currentIndex(), 1);
    EXPECT_EQ(row(5), "Say|-,-,-,-|nowhere");
    EXPECT_EQ(grid->stringsChooser(5)->currentIndex(), -1);
    EXPECT_EQ(grid->field(5, 0)->text(), "nowhere");
    EXPECT_EQ(grid->stringsChooser(5)->toolTip(), "");
    EXPECT_EQ(row(6), "Say|-,-,-,-|GREETING");
    EXPECT_EQ(grid->stringsChooser(6)->currentIndex(), 0);
    EXPECT_EQ(grid->stringsChooser(6)->toolTip(), "Hello");
    EXPECT_EQ(row(7), "FlyAround|lake,3,-,-|-");
}

TEST_F(LineNumberTest, typedLines_moveWithTheirTypedTexts)
{
    pickItem(grid->combo(0), kTwo);
    typeInto(grid->field(0, 0), "tower");
    typeInto(grid->field(0, 1), "7");
    pickItem(grid->combo(1), kSay);
    typeInto(grid->stringsChooser(1), "GREET");
    // A picked entry whose text was typed on keeps the typed text.
    pickItem(grid->combo(2), kSay);
    pickItem(grid->stringsChooser(2), 1);
    QTest::keyClick(grid->stringsChooser(2), Qt::Key_End);
    typeInto(grid->stringsChooser(2), "_2");
    ASSERT_EQ(grid->field(2, 0)->text(), "FAREWELL_2");

    release(0, Qt::LeftButton);
    EXPECT_EQ(row(0), "|-,-,-,-|-");
    EXPECT_EQ(row(1), "Two|tower,7,-,-|-");
    EXPECT_EQ(row(2), "Say|-,-,-,-|GREET");
    EXPECT_EQ(grid->field(2, 0)->text(), "GREET");
    EXPECT_EQ(row(3), "Say|-,-,-,-|FAREWELL_2");
    EXPECT_EQ(grid->field(3, 0)->text(), "FAREWELL_2");

    release(0, Qt::LeftButton);
    EXPECT_EQ(row(0), "Two|tower,7,-,-|-");
    EXPECT_EQ(row(1), "Say|-,-,-,-|GREET");
    EXPECT_EQ(row(2), "Say|-,-,-,-|FAREWELL_2");
    pickItem(grid->combo(0), kOne);
    EXPECT_EQ(row(0), "One|tower,-,-,-|-");
}

TEST_F(LineNumberTest, scrolledGrid_movesLinesButNotTheControls)
{
    open("most.txt");
    grid->scrollBar()->setValue(10);
    release(10, Qt::LeftButton); // the top row on screen
    EXPECT_EQ(grid->scrollBar()->value(), 10);
    EXPECT_EQ(row(10), "|-,-,-,-|-");
    EXPECT_EQ(row(11), "One|11,-,-,-|-");
    EXPECT_EQ(grid->field(11, 0)->y(), 16 + 24);
    EXPECT_EQ(grid->combo(11)->y(), 16 + 24);
    EXPECT_TRUE(grid->combo(9)->isHidden());
    EXPECT_TRUE(grid->combo(30)->isHidden());
    EXPECT_GT(grid->field(30, 0)->y(), 6667);
    // Nothing is written until the user saves.
    EXPECT_EQ(readBytes(game.root() / "mods/m/scripts/most.txt"), numberedLines(99));
}

} // namespace
} // namespace cw::test
