#include "GuiSupport.h"

#include "core/io/Files.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/script/ScriptCheck.h"
#include "gui/ui/ChooserComboBox.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

class ScriptCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.write("darwinia.exe", "stand-in\r\n");
        game.write("commands.txt",
                   readBytes(std::filesystem::path(CUEWRIGHT_SOURCE_DIR) / "examples/gameroot/commands.txt"));
        std::string script = "Say hello\r\nCamMove gate\r\n";
        for (int i = 2; i < 45; ++i)
            script += "WaitSay\r\n";
        script += "PurityControl\r\nSay nobody\r\n";
        game.write("mods/m/scripts/cutscene.txt", script);
        game.write("mods/m/scripts/clean.txt", "Say hello\r\nWaitSay\r\n");
        game.write("mods/m/strings_default.txt", "hello Hi there\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "m");
        window->selectPage(2);
    }

    void open(const QString &name)
    {
        auto *file1 = find<QListWidget>(*window, "File1");
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    QStringList findings() const
    {
        auto *list = find<QListWidget>(*window, "checkFindings");
        return list ? itemTexts(list) : QStringList{"<no list>"};
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
};

TEST_F(ScriptCheckTest, checkButton_standsBesideSaveScript_withItsTooltip)
{
    auto *check = find<QPushButton>(*window, "cmdcheck");
    auto *save = find<QPushButton>(*window, "savesc");
    ASSERT_TRUE(check && save);
    EXPECT_EQ(check->text(), "Check");
    EXPECT_EQ(check->toolTip(), "Shows what the game will do with this script");
    EXPECT_EQ(check->y(), save->y());
    EXPECT_LE(check->x() - (save->x() + save->width()), 4);
}

TEST_F(ScriptCheckTest, listsTheFindingsOfTheOpenScript_byLine)
{
    open("cutscene.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *dialog = find<QDialog>(*window, "checkDialog");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    const QStringList lines = findings();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("Line 2: error: CamMove needs 2 arguments")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Line 46: error: PurityControl")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("Line 47: warning: \"nobody\"")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("[missing-string]"));
}

TEST_F(ScriptCheckTest, doubleClickingAFinding_scrollsToItsRow_andFocusesItsCommand)
{
    open("cutscene.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *list = find<QListWidget>(*window, "checkFindings");
    ASSERT_TRUE(list);
    doubleClickListItem(list, 1); // line 46, out of view
    QScrollBar *bar = window->grid().scrollBar();
    EXPECT_LE(bar->value(), 45);
    EXPECT_GT(bar->value() + 20, 45);
    EXPECT_FALSE(window->grid().combo(45)->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), window->grid().combo(45));
    // A row already in view is not scrolled to.
    const int before = bar->value();
    doubleClickListItem(list, 2); // line 47
    EXPECT_EQ(bar->value(), before);
    EXPECT_EQ(QApplication::focusWidget(), window->grid().combo(46));
}

TEST_F(ScriptCheckTest, checksTheRowsAsEdited_notTheFileOnDisk)
{
    open("cutscene.txt");
    window->grid().field(1, 1)->setText("2");
    window->grid().pickCommand(45, 0);
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    ASSERT_EQ(findings().size(), 1);
    EXPECT_TRUE(findings()[0].startsWith("Line 47: "));
}

TEST_F(ScriptCheckTest, lineTheCodePageCannotHold_isAFindingOfItsOwn_amongTheOthers)
{
    open("cutscene.txt");
    window->grid().field(2, 0)->setText(QStringLiteral("caf\u00E9 \u0100"));
    DialogAnswerer answerer;
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
    const QStringList lines = findings();
    ASSERT_EQ(lines.size(), 4) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].startsWith("Line 2: error: CamMove")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("Line 3: error: ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("Windows-1252")) << lines[1].toStdString();
    EXPECT_FALSE(lines[1].contains("saved.")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("[not-encodable]")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("Line 46: error: PurityControl")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith("Line 47: warning: ")) << lines[3].toStdString();
}

TEST_F(ScriptCheckTest, closeButton_closesTheDialog)
{
    open("clean.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    auto *dialog = find<QDialog>(*window, "checkDialog");
    ASSERT_TRUE(dialog && dialog->isVisible());
    auto *close = find<QPushButton>(*dialog, "checkClose");
    ASSERT_TRUE(close);
    EXPECT_EQ(close->text(), "Close");
    clickButton(close);
    EXPECT_FALSE(dialog->isVisible());
    // It opens again on the next check.
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(ScriptCheckTest, cleanScript_saysThereIsNothingToFind)
{
    open("clean.txt");
    clickButton(find<QPushButton>(*window, "cmdcheck"));
    EXPECT_TRUE(findings().isEmpty());
    EXPECT_TRUE(find<QLabel>(*window, "checkSummary")->text().startsWith("No findings"));
    EXPECT_EQ(find<QDialog>(*window, "checkDialog")->windowTitle(), "Check - clean.txt");
}

} // namespace
} // namespace cw::test
