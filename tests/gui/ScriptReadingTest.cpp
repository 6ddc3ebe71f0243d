#include "GuiSupport.h"

#include "gui/ui/FileListBox.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

// How the window reads scripts: what the game and text editors write opens as they
// show it.
class ScriptReadingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics();
        game.write("commands.txt", std::string(kTestCommands) + "Wait \"Pause\" 1 2 Seconds\r\n");
        game.dir.makeFolder("mods/mod/levels");
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
    }

    void start()
    {
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "mod");
        window->selectPage(2);
        file1 = find<gui::FileListBox>(*window, "File1");
    }
    void open(const QString &name)
    {
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    QLineEdit *qual(int index) const
    {
        return find<QLineEdit>(*window, QStringLiteral("qual_%1").arg(index));
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::FileListBox *file1 = nullptr;
};

TEST_F(ScriptReadingTest, scriptWithLfLineEnds_opensLineByLine_andSavesWithCrLf)
{
    std::string lf, crLf;
    for (int n = 1; n <= 15; ++n) {
        lf += "Wait " + std::to_string(n) + "\n";
        crLf += "Wait " + std::to_string(n) + "\r\n";
    }
    game.write("mods/mod/scripts/unix.txt", lf);
    start();
    DialogAnswerer answerer;
    open("unix.txt");
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(" | ").toStdString();
    EXPECT_EQ(window->windowTitle(), caption("mod - unix.txt"));
    for (int r = 0; r < 15; ++r)
        EXPECT_EQ(describeRow(*window, r), "Wait|" + std::to_string(r + 1) + ",-,-,-|-");
    EXPECT_EQ(describeRow(*window, 15), "|-,-,-,-|-");

    clickButton(find<QPushButton>(*window, "savesc"));
    EXPECT_EQ(readBytes(game.root() / "mods/mod/scripts/unix.txt"), crLf + "\r\n");
}

// The fields of a word no command has are laid out for the fields it shows, as a
// command of that many arguments lays them out, whatever the row showed before.
TEST_F(ScriptReadingTest, unknownCommandWord_laysOutItsFieldsWithoutOverlap)
{
    game.write("mods/mod/scripts/a_one.txt", "One 1\r\n");
    game.write("mods/mod/scripts/b_unknown.txt", "CamMov gate 2\r\n");
    start();
    open("a_one.txt");
    ASSERT_EQ(qual(0)->width(), 6135 / 15);
    open("b_unknown.txt");
    ASSERT_EQ(describeRow(*window, 0), "CamMov|gate,2,-,-|-");
    EXPECT_EQ(qual(0)->width(), 3015 / 15);
    EXPECT_EQ(qual(1)->x(), 6480 / 15);
    EXPECT_EQ(qual(1)->width(), 3015 / 15);
    EXPECT_LE(qual(0)->geometry().right(), qual(1)->geometry().left());
}

} // namespace
} // namespace cw::test
