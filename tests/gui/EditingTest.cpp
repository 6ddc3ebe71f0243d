// Editing without fear: undo and redo, the guard before unsaved edits are replaced,
// the keys of the window and the line clipboard, driven with real keys.
#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/model/ScriptEditor.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/FileListBox.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>

#include <functional>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

constexpr const char *kIntro = "One 1\r\nTwo gate 2\r\n# note\r\nSay GREETING\r\n";

class EditingTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        game.withBasics();
        game.dir.makeFolder("mods/mod/levels");
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
        game.write("mods/mod/scripts/a.txt", kIntro);
        game.write("mods/mod/scripts/b.txt", "None\r\n");
        // Its line is saved as the file holds it until the row is edited.
        game.write("mods/mod/scripts/glued.txt", "One 3#slowly\r\n");
        game.write("mods/other/strings_default.txt", "OTHER Hi\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        openMod(*window, "mod");
        window->selectPage(2);
        file1 = find<gui::FileListBox>(*window, "File1");
        open("a.txt");
    }

    void open(const QString &name)
    {
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    gui::ScriptGrid &grid() const { return window->grid(); }
    // Every row as the user sees it: texts, which controls show, their places and tooltips.
    QStringList rows() const
    {
        QStringList out;
        for (int r = 0; r < gui::ScriptGrid::kRowCount; ++r) {
            QString row = QString::fromStdString(describeRow(*window, r)) + u'|' + grid().combo(r)->toolTip();
            for (int k = 0; k < gui::ScriptGrid::kFieldsPerRow; ++k) {
                const QLineEdit *field = grid().field(r, k);
                row += QStringLiteral("|%1,%2,%3").arg(field->x()).arg(field->width()).arg(field->toolTip());
            }
            out << row;
        }
        return out;
    }
    // Types at the end of a field's text (a loaded text shows its beginning).
    static void typeAtEnd(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, text);
    }
    void key(QWidget *widget, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(widget, key, modifiers);
    }
    std::string bytesOf(const char *name) const { return readBytes(game.root() / "mods/mod/scripts" / name); }
    QString title() const { return window->windowTitle(); }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::FileListBox *file1 = nullptr;
};

TEST_F(EditingTest, typingIsOneUndoStep_andTheCaptionSaysWhileTheGridDiffers)
{
    const QStringList before = rows();
    EXPECT_EQ(title(), caption("mod - a.txt"));
    EXPECT_FALSE(window->isWindowModified());

    QLineEdit *field = grid().field(1, 1);
    typeAtEnd(field, "5");
    typeAtEnd(field, "0");
    EXPECT_EQ(field->text(), "250");
    EXPECT_EQ(title(), caption("mod - a.txt *"));
    EXPECT_TRUE(window->isWindowModified());

    key(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "2");
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(title(), caption("mod - a.txt"));

    key(field, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "250");
    key(field, Qt::Key_Z, Qt::ControlModifier);
    key(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(field->text(), "250");
}

// Typing taken back leaves no undo step: a merged step that changes nothing is dropped.
// One that does change something stays, an edit of a line Save would have written as
// its file held it too: afterwards Save writes the row's words instead.
TEST_F(EditingTest, typingTakenBack_leavesNoUndoStep_unlessTheRowStillDiffers)
{
    const auto typeAndTakeBack = [this](QLineEdit *edit, const QString &typed, int backspaces) {
        typeAtEnd(edit, typed);
        for (int i = 0; i < backspaces; ++i)
            key(edit, Qt::Key_Backspace, Qt::NoModifier);
    };
    struct Case
    {
        const char *what;
        const char *script;
        std::function<void()> edit;
        int steps;
    };
    const Case cases[] = {
        {"a field", "a.txt", [&] { typeAndTakeBack(grid().field(1, 0), "xy", 2); }, 0},
        {"a command chooser", "a.txt", [&] { typeAndTakeBack(grid().combo(0)->lineEdit(), "x", 1); }, 0},
        {"half taken back", "a.txt", [&] { typeAndTakeBack(grid().field(1, 0), "xy", 1); }, 1},
        {"after a step in another field", "a.txt",
         [&] {
             typeAtEnd(grid().field(1, 1), "5");
             typeAndTakeBack(grid().field(1, 0), "x", 1);
         },
         1},
        {"a line kept as its file held it", "glued.txt", [&] { typeAndTakeBack(grid().field(0, 0), "x", 1); },
         1},
    };
    QUndoStack *undo = window->model().editor().undoStack();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        {
            DialogAnswerer answerer; // Discard, for what the case before left unsaved
            open("b.txt");
            open(c.script);
        }
        const QStringList before = rows();
        c.edit();
        EXPECT_EQ(undo->count(), c.steps);
        if (c.steps == 0) {
            EXPECT_FALSE(window->isWindowModified());
        }
        while (undo->canUndo())
            undo->undo();
        EXPECT_EQ(rows(), before);
    }
}

TEST_F(EditingTest, aLineRemovedOrInsertedByTheLineNumbers_comesBackExactlyWithUndo)
{
    const QStringList before = rows();
    releaseMouse(grid().lineNumber(0), Qt::LeftButton); // not empty: inserts a line
    EXPECT_EQ(grid().combo(1)->currentText(), "One");
    releaseMouse(grid().lineNumber(0), Qt::LeftButton); // now empty: removes it
    releaseMouse(grid().lineNumber(2), Qt::LeftButton); // a comment: inserts
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), before);
    // Undo never touches files.
    EXPECT_EQ(bytesOf("a.txt"), kIntro);
}

TEST_F(EditingTest, pickingACommand_isUndoneWithItsFieldsTheirPlacesAndTooltips)
{
    const QStringList before = rows();
    pickItem(grid().combo(1), 5); // Four
    EXPECT_EQ(grid().combo(1)->currentText(), "Four");
    key(grid().combo(1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rows(), before);
}

TEST_F(EditingTest, loadingAScript_startsAFreshHistory)
{
    typeAtEnd(grid().field(1, 1), "9");
    {
        DialogAnswerer answerer; // Discard
        open("b.txt");
    }
    EXPECT_FALSE(window->model().editor().undoStack()->canUndo());
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid().combo(0)->currentText(), "None");
}

TEST_F(EditingTest, openingAnotherScript_withUnsavedEdits_asksAndEachAnswerDoesWhatItSays)
{
    typeAtEnd(grid().field(1, 1), "9");
    {
        DialogAnswerer answerer;
        answerer.queueButton(QMessageBox::Cancel);
        open("b.txt");
        EXPECT_EQ(answerer.questions, QStringList{"Save changes to a.txt before opening another script?"});
    }
    EXPECT_EQ(grid().field(1, 1)->text(), "29");
    EXPECT_EQ(title(), caption("mod - a.txt *"));
    EXPECT_EQ(file1->selectedText(), "a.txt");
    EXPECT_EQ(bytesOf("a.txt"), kIntro);

    {
        DialogAnswerer answerer;
        answerer.queueButton(QMessageBox::Save);
        open("b.txt");
    }
    // Written to the open script's own file, although File1 highlighted b.txt.
    EXPECT_EQ(bytesOf("a.txt"), "One 1\r\nTwo gate 29\r\n# note\r\nSay GREETING\r\n\r\n");
    EXPECT_EQ(bytesOf("b.txt"), "None\r\n");
    EXPECT_EQ(title(), caption("mod - b.txt"));

    typeAtEnd(grid().field(0, 0), "x");
    {
        DialogAnswerer answerer;
        answerer.queueButton(QMessageBox::Discard);
        open("a.txt");
    }
    EXPECT_EQ(bytesOf("b.txt"), "None\r\n");
    EXPECT_EQ(title(), caption("mod - a.txt"));
}

TEST_F(EditingTest, pickingAnotherMod_withUnsavedEdits_cancelledKeepsTheModSelected)
{
    typeAtEnd(grid().field(1, 1), "9");
    auto *list1 = find<gui::ListBox>(*window, "List1");
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Cancel);
    openMod(*window, "other");
    EXPECT_EQ(answerer.questions, QStringList{"Save changes to a.txt before opening another mod?"});
    EXPECT_EQ(list1->selectedText(), "mod");
    EXPECT_EQ(title(), caption("mod - a.txt *"));
    EXPECT_EQ(grid().field(1, 1)->text(), "29");

    answerer.queueButton(QMessageBox::Discard);
    openMod(*window, "other");
    EXPECT_EQ(title(), caption("other"));
}

TEST_F(EditingTest, stringsEditorsUnsavedText_isAskedAboutBeforeAnotherMod)
{
    window->selectPage(3);
    auto *strings = find<gui::StringsTextEdit>(*window, "stringstext");
    typeInto(strings, "X");
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Save);
    openMod(*window, "other");
    EXPECT_EQ(answerer.questions,
              QStringList{"Save changes to strings_default.txt before opening another mod?"});
    EXPECT_EQ(readBytes(game.root() / "mods/mod/strings_default.txt"), "XGREETING Hello\r\n");
}

TEST_F(EditingTest, closingWithUnsavedEdits_cancelledStaysOpen_savedWritesAndCloses)
{
    typeAtEnd(grid().field(1, 1), "9");
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    answerer.queueButton(QMessageBox::Save);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(answerer.questions.size(), 2);
    EXPECT_EQ(answerer.questions.last(), "Save changes to a.txt before closing?");
    EXPECT_EQ(bytesOf("a.txt"), "One 1\r\nTwo gate 29\r\n# note\r\nSay GREETING\r\n\r\n");
}

// Each answer of the guard does what it says, and what counts as unsaved afterwards is
// exactly what was not written.
TEST_F(EditingTest, guardAnswers_leaveUnsavedExactlyWhatWasNotWritten)
{
    const auto strings = [](EditingTest &t) {
        return find<gui::StringsTextEdit>(*t.window, "stringstext");
    };
    const auto typeStrings = [strings](EditingTest &t) {
        t.window->selectPage(3);
        strings(t)->setFocus();
        QTest::keyClicks(strings(t), "X");
    };
    const auto readOnly = [](const std::filesystem::path &file) {
        std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    };
    const struct
    {
        const char *what;
        std::function<void(EditingTest &, DialogAnswerer &)> act;
        QStringList questions;
        std::function<void(EditingTest &)> check;
    } cases[] = {
        {"closing with unsaved strings text asks about it",
         [typeStrings](EditingTest &t, DialogAnswerer &a) {
             typeStrings(t);
             a.queueButton(QMessageBox::Cancel);
             EXPECT_FALSE(t.window->close());
         },
         {"Save changes to strings_default.txt before closing?"},
         [](EditingTest &) {
         }},
        {"Cancel in the strings question writes nothing and keeps the mod",
         [typeStrings](EditingTest &t, DialogAnswerer &a) {
             typeStrings(t);
             a.queueButton(QMessageBox::Cancel);
             openMod(*t.window, "other");
         },
         {"Save changes to strings_default.txt before opening another mod?"},
         [](EditingTest &t) {
             EXPECT_EQ(readBytes(t.game.root() / "mods/mod/strings_default.txt"), "GREETING Hello\r\n");
             // The strings editor's edits are unsaved, and the caption says so.
             EXPECT_EQ(t.title(), caption("mod - a.txt *"));
         }},
        {"after Save Changes another mod opens without a question",
         [typeStrings](EditingTest &t, DialogAnswerer &) {
             typeStrings(t);
             clickButton(find<QPushButton>(*t.window, "savestrings"));
             openMod(*t.window, "other");
         },
         {},
         [](EditingTest &t) {
             EXPECT_EQ(t.title(), caption("other"));
         }},
        {"after Revert to Backup closing asks",
         [](EditingTest &t, DialogAnswerer &a) {
             t.game.write("mods/mod/strings_default.txt.bak", "OLD text\r\n");
             t.window->selectPage(3);
             clickButton(find<QPushButton>(*t.window, "stringsrevert"));
             a.queueButton(QMessageBox::Cancel);
             EXPECT_FALSE(t.window->close());
         },
         {"Save changes to strings_default.txt before closing?"},
         [](EditingTest &) {
         }},
        {"a Save that fails closes nothing and keeps the edits unsaved",
         [readOnly](EditingTest &t, DialogAnswerer &a) {
             typeAtEnd(t.grid().field(1, 1), "9");
             readOnly(t.game.root() / "mods/mod/scripts/a.txt");
             a.queueButton(QMessageBox::Save);
             EXPECT_FALSE(t.window->close());
         },
         {"Save changes to a.txt before closing?"},
         [](EditingTest &t) {
             EXPECT_EQ(t.bytesOf("a.txt"), kIntro);
             EXPECT_EQ(t.title(), caption("mod - a.txt *"));
         }},
        {"a backup written but a table refused keeps the text unsaved",
         [typeStrings, readOnly](EditingTest &t, DialogAnswerer &a) {
             typeStrings(t);
             readOnly(t.game.root() / "mods/mod/strings_default.txt");
             a.queueButton(QMessageBox::Save);
             openMod(*t.window, "other");
         },
         {"Save changes to strings_default.txt before opening another mod?"},
         [strings](EditingTest &t) {
             EXPECT_EQ(readBytes(t.game.root() / "mods/mod/strings_default.txt"), "GREETING Hello\r\n");
             EXPECT_TRUE(strings(t)->strings().isModified());
             EXPECT_EQ(t.title(), caption("mod - a.txt *"));
         }},
        {"Save, then no name for the lines of no script: they stay unsaved",
         [](EditingTest &t, DialogAnswerer &a) {
             openMod(*t.window, "other");
             openMod(*t.window, "mod"); // no script open
             pickItem(t.grid().combo(1), 2);
             a.queueButton(QMessageBox::Save); // and the name asked for next is cancelled
             openMod(*t.window, "other");
         },
         {"Save the lines in the grid as a script before opening another mod?"},
         [](EditingTest &t) {
             EXPECT_EQ(t.title(), caption("mod *"));
         }},
    };
    // Each case in a window of its own, set up as every test of this file is.
    struct Fresh : EditingTest
    {
        void TestBody() override {}
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Fresh t;
        t.SetUp();
        DialogAnswerer answerer;
        c.act(t, answerer);
        EXPECT_EQ(answerer.questions, c.questions);
        c.check(t);
    }
}

TEST_F(EditingTest, ctrlS_savesTheScript)
{
    typeAtEnd(grid().field(0, 0), "0");
    key(grid().field(0, 0), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(bytesOf("a.txt"), "One 10\r\nTwo gate 2\r\n# note\r\nSay GREETING\r\n\r\n");
    EXPECT_EQ(title(), caption("mod - a.txt"));
}

TEST_F(EditingTest, lineClipboard_copiesCutsAndPastesScriptText_eachOneUndoStep)
{
    grid().combo(1)->setFocus();
    key(grid().combo(1), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Two gate 2\r\n");

    // Three lines with LF ends, before the focused row.
    QGuiApplication::clipboard()->setText(QStringLiteral("one 7\nTwo a b\n#x\n"));
    key(grid().combo(1), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(describeRow(*window, 1), "One|7,-,-,-|-");
    EXPECT_EQ(describeRow(*window, 2), "Two|a,b,-,-|-");
    EXPECT_EQ(describeRow(*window, 3), "#|x,-,-,-|-");
    EXPECT_EQ(describeRow(*window, 4), "Two|gate,2,-,-|-");
    key(grid().combo(1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(describeRow(*window, 1), "Two|gate,2,-,-|-");

    grid().combo(0)->setFocus();
    key(grid().combo(0), Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "One 1\r\n");
    EXPECT_EQ(describeRow(*window, 0), "Two|gate,2,-,-|-");
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(describeRow(*window, 0), "One|1,-,-,-|-");
}

TEST_F(EditingTest, lineKeysAtTheEdges_firstLineUncopyableLineAndOneLineTooMany)
{
    grid().combo(0)->setFocus();
    key(grid().combo(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "One 1\r\n");

    // A line the clipboard cannot carry as script text is not cut either.
    grid().field(1, 0)->setText(QStringLiteral("\u0100"));
    const QStringList before = rows();
    {
        DialogAnswerer answerer;
        grid().combo(1)->setFocus();
        key(grid().combo(1), Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(answerer.messages.size(), 1);
    }
    EXPECT_EQ(rows(), before);

    // The message box took the window's activation, and shortcuts reach only the active window.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    pickItem(grid().combo(99), 1);
    QGuiApplication::clipboard()->setText(QStringLiteral("One 1\n"));
    DialogAnswerer answerer;
    grid().combo(3)->setFocus();
    key(grid().combo(3), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(answerer.messages,
              QStringList{"1 line does not fit: the script would go past line 100. Nothing was pasted."});
}

TEST_F(EditingTest, typingIntoTwoFieldsOfOneRow_isTwoUndoSteps)
{
    typeAtEnd(grid().field(1, 0), "x");
    typeAtEnd(grid().field(1, 1), "y");
    key(grid().field(1, 1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(describeRow(*window, 1), "Two|gatex,2,-,-|-");
    key(grid().field(1, 1), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(describeRow(*window, 1), "Two|gate,2,-,-|-");
}

TEST_F(EditingTest, pasteThatWouldPushLinesPastTheLast_isRefusedAndChangesNothing)
{
    pickItem(grid().combo(98), 1); // None, near the end
    grid().combo(3)->setFocus();
    const QStringList before = rows();
    QGuiApplication::clipboard()->setText(QStringLiteral("One 1\nOne 2\nOne 3\n"));
    DialogAnswerer answerer;
    key(grid().combo(3), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(answerer.messages,
              QStringList{"2 lines do not fit: the script would go past line 100. Nothing was pasted."});
    EXPECT_EQ(rows(), before);
}

TEST_F(EditingTest, altUpAndDown_moveTheFocusedLine_andTheFocusGoesWithIt)
{
    grid().field(1, 0)->setFocus();
    key(grid().field(1, 0), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(describeRow(*window, 2), "Two|gate,2,-,-|-");
    EXPECT_EQ(describeRow(*window, 1), "#| note,-,-,-|-");
    EXPECT_EQ(QApplication::focusWidget(), grid().field(2, 0));
    key(grid().field(2, 0), Qt::Key_Up, Qt::AltModifier);
    key(grid().field(1, 0), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(describeRow(*window, 0), "Two|gate,2,-,-|-");
    EXPECT_EQ(describeRow(*window, 1), "One|1,-,-,-|-");
}

TEST_F(EditingTest, upAndDownInACommandChooser_pickTheNeighbours_eachOneUndoStep)
{
    key(grid().combo(0), Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(describeRow(*window, 0), "Two|1,,-,-|-");
    key(grid().combo(0), Qt::Key_Up, Qt::NoModifier);
    key(grid().combo(0), Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(describeRow(*window, 0), "None|-,-,-,-|-");
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    key(grid().combo(0), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(describeRow(*window, 0), "One|1,-,-,-|-");
}

} // namespace
} // namespace cw::test
