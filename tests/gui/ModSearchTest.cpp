// Find, replace and rename across the mod, through the panel's controls: the rules of
// what matches and what a change writes are the core's; these check the wiring.
#include "GuiSupport.h"

#include "gui/app/MainWindow.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/model/FoundLinesModel.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/WindowModel.h"
#include "gui/script/ModSearch.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

struct SearchedMod
{
    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;

    SearchedMod()
    {
        game.withBasics().withMod("m");
        game.write("mods/m/scripts/a.txt", "Say hello\r\nTwo gate 3\r\n");
        game.write("mods/m/scripts/b.txt", "One 1\r\nOne 2\r\nTwo gate  4\r\nTwo Gate 5\r\n");
        game.write("mods/m/strings_default.txt", "hello The gate opens\r\nbye [hello] again\r\n");
        window = openWindow(game.root());
        openMod(*window, "m");
        window->selectPage(2);
        doubleClickListItem(find<QListView>(*window, "File1"), 0); // a.txt
    }

    gui::ModSearch &search() const { return window->modSearch(); }
    gui::FoundLinesModel &results() const { return search().results(); }

    // Waits for the search or plan under way to be shown.
    bool shown(QSignalSpy &spy) const { return !spy.isEmpty() || spy.wait(5000); }

    QModelIndex line(int file, int row) const { return results().index(row, 0, results().index(file, 0)); }

    void doubleClickLine(int file, int row) const
    {
        auto *tree = find<QTreeView>(*window, "modFindResults");
        ASSERT_TRUE(tree);
        tree->expandAll();
        tree->scrollTo(line(file, row));
        const QPoint at = tree->visualRect(line(file, row)).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
};

TEST(ModSearch, ctrlShiftF_findsInTheModOffTheWindowsThread_doubleClickOpensTheLine)
{
    SearchedMod t;
    QTest::keyClick(t.window.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(t.search().panel()->isVisible());
    auto *text = find<QLineEdit>(*t.window, "modFindText");
    ASSERT_TRUE(text);
    EXPECT_EQ(QApplication::focusWidget(), text);
    QSignalSpy searched(&t.search(), &gui::ModSearch::searched);
    QTest::keyClicks(text, "gate");
    QTest::keyClick(text, Qt::Key_Return);
    ASSERT_TRUE(t.shown(searched));
    ASSERT_EQ(t.results().rowCount(), 3);
    EXPECT_EQ(t.results().data(t.results().index(1, 0), Qt::DisplayRole).toString(), "scripts/b.txt (2)");
    EXPECT_EQ(t.results().data(t.line(1, 1), Qt::DisplayRole).toString(), "4: Two Gate 5");
    EXPECT_EQ(find<QLabel>(*t.window, "modFindSummary")->text(),
              "4 lines in 3 files hold \"gate\" (double click a line to open it):");

    // Another script opens at the line, the grid's edits asked about first.
    t.window->model().editor().setArgument(1, 1, "9");
    DialogAnswerer answerer; // Discard
    t.doubleClickLine(1, 1);
    EXPECT_EQ(answerer.questions, QStringList{"Save changes to a.txt before opening another script?"});
    EXPECT_EQ(t.window->model().scriptName(), "b.txt");
    // The question box took the activation away: the focus is the window's, to come back to.
    const QWidget *focus = t.window->focusWidget();
    const QWidget *chooser = t.window->grid().combo(3);
    EXPECT_TRUE(focus == chooser || chooser->isAncestorOf(focus));

    // A line of the strings table shows on its page, at its line.
    t.doubleClickLine(2, 0);
    EXPECT_EQ(t.window->controls().tabs->currentIndex(), 3);
    EXPECT_EQ(t.window->controls().stringsText->textCursor().blockNumber(), 0);
}

// A replace lists every line first; only the checked lines are written, the open script
// is read again, and Undo Replace in Mod puts every byte back.
TEST(ModSearch, replaceInTheMod_writesTheCheckedLines_andIsUndoneAsOne)
{
    SearchedMod t;
    const std::string strings = t.game.dir.read("mods/m/strings_default.txt");
    t.search().open(QStringLiteral("gate"));
    typeInto(find<QLineEdit>(*t.window, "modReplaceText"), QStringLiteral("door"));
    QSignalSpy planned(&t.search(), &gui::ModSearch::searched);
    clickButton(find<QAbstractButton>(*t.window, "modReplacePreview"));
    ASSERT_TRUE(t.shown(planned));
    ASSERT_EQ(t.results().checkedCount(), 4);
    EXPECT_EQ(t.results().data(t.line(0, 0), Qt::DisplayRole).toString(),
              "2: Two gate 3  \u2192  Two door 3");
    // The strings file stays as it is: its box unchecked.
    t.results().setData(t.results().index(2, 0), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(t.results().checkedCount(), 3);

    clickButton(find<QAbstractButton>(*t.window, "modReplaceGo"));
    EXPECT_EQ(t.game.dir.read("mods/m/scripts/a.txt"), "Say hello\r\nTwo door 3\r\n");
    EXPECT_EQ(t.game.dir.read("mods/m/scripts/b.txt"), "One 1\r\nOne 2\r\nTwo door  4\r\nTwo door 5\r\n");
    EXPECT_EQ(t.game.dir.read("mods/m/strings_default.txt"), strings);
    EXPECT_EQ(describeRow(*t.window, 1).substr(0, 8), "Two|door");
    EXPECT_EQ(find<QLabel>(*t.window, "modFindSummary")->text(), "Replaced in 3 lines of 2 files.");

    auto *undo = find<QAbstractButton>(*t.window, "modUndo");
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo Replace in Mod");
    clickButton(undo);
    EXPECT_EQ(t.game.dir.read("mods/m/scripts/a.txt"), "Say hello\r\nTwo gate 3\r\n");
    EXPECT_EQ(t.game.dir.read("mods/m/scripts/b.txt"), "One 1\r\nOne 2\r\nTwo gate  4\r\nTwo Gate 5\r\n");
    EXPECT_EQ(describeRow(*t.window, 1).substr(0, 8), "Two|gate");
    EXPECT_FALSE(undo->isEnabled());
}

// F2 on a row that says a key asks for the new name, refusing one taken in the dialog;
// the plan is shown, and Rename writes it everywhere, the strings table read again.
TEST(ModSearch, f2OnASayRow_renamesTheKey_afterTheNameAndThePlan)
{
    SearchedMod t;
    t.window->grid().focusRow(0, 1);
    DialogAnswerer answerer;
    answerer.queueAnswer(QStringLiteral("bye"));
    answerer.queueAnswer(QStringLiteral("greeting"));
    QSignalSpy planned(&t.search(), &gui::ModSearch::searched);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    EXPECT_EQ(answerer.inputProposals.value(0), "hello");
    EXPECT_EQ(answerer.inputPrompts.value(1).section(QStringLiteral("\n\n"), 1),
              "Another key of the mod is named \"bye\" already.");
    ASSERT_TRUE(t.shown(planned));
    EXPECT_EQ(t.results().lineCount(), 3);
    auto *apply = find<QAbstractButton>(*t.window, "modReplaceGo");
    EXPECT_EQ(apply->text(), "Rename");
    clickButton(apply);
    EXPECT_EQ(t.game.dir.read("mods/m/scripts/a.txt"), "Say greeting\r\nTwo gate 3\r\n");
    EXPECT_EQ(t.game.dir.read("mods/m/strings_default.txt"),
              "greeting The gate opens\r\nbye [greeting] again\r\n");
    EXPECT_EQ(t.window->model().scriptName(), "a.txt");
    EXPECT_EQ(describeRow(*t.window, 0), "Say|-,-,-,-|greeting");
    EXPECT_TRUE(t.window->controls().stringsText->toPlainText().startsWith("greeting The gate"));
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
}

} // namespace
} // namespace cw::test
