// No save replaces anything but the open script without a question that names it, and
// each answer does what it says. The rules of what is asked live in the window's
// actions; these tests press the keys and buttons a user presses.
#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/NoticeBar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace cw::test {
namespace {

constexpr const char *kIntro = "One 1\r\n";
constexpr const char *kFinale = "Two gate 2\r\n";
constexpr const char *kEdited = "One 15\r\n\r\n"; // intro.txt as the grid saves it

// A mod with two scripts, intro.txt open in the grid with an edit in it.
class SavingQuestions
{
public:
    void start()
    {
        game.withBasics();
        game.dir.makeFolder("mods/mod/levels");
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
        game.write("mods/mod/scripts/intro.txt", kIntro);
        game.write("mods/mod/scripts/finale.txt", kFinale);
        game.write("mods/bare/strings_default.txt", "GREETING Hello\r\n");
        game.write("mods/other/scripts/taken.txt", kFinale);
        game.write("mods/other/strings_default.txt", "GREETING Hello\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        openMod(*window, "mod");
        window->selectPage(2);
        file1 = find<gui::FileListBox>(*window, "File1");
        open("intro.txt");
        QLineEdit *field = window->grid().field(0, 0);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, "5");
    }

    void open(const QString &name)
    {
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    void highlight(const QString &name)
    {
        clickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    void ctrlS()
    {
        // A message box shown on the way took the window's activation, and shortcuts
        // reach only the active window.
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window->grid().field(0, 0), Qt::Key_S, Qt::ControlModifier);
    }
    void press(const char *button) { clickButton(find<QPushButton>(*window, QString::fromLatin1(button))); }
    void saveAs(const QString &name)
    {
        m_answerer->queueAnswer(name);
        press("savescas");
    }
    std::filesystem::path script(const std::string &name) const
    {
        return game.root() / "mods/mod/scripts" / name;
    }
    std::string bytesOf(const std::string &name) const { return readBytes(script(name)); }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::FileListBox *file1 = nullptr;
    DialogAnswerer *m_answerer = nullptr;
};

class SavingQuestionsTest : public SavingQuestions, public ::testing::Test
{
protected:
    void SetUp() override { start(); }
};

struct Case
{
    const char *what;
    std::function<void(SavingQuestions &)> act;
    QList<QMessageBox::StandardButton> answers;
    QStringList questions;
    std::map<std::string, std::string> files; // in the scripts folder, after
    const char *open;                         // the open script, after
    const char *selected;                     // what File1 highlights, after
    bool modified;                            // whether the grid still holds unsaved edits
};

const QString kChanged =
    QStringLiteral("intro.txt has been changed by another program since Cuewright read or "
                   "saved it.");

TEST(SavingQuestionsTable, eachSaveAsksOnlyWhenItWouldReplaceSomethingElse)
{
    const Case cases[] = {
        {"Ctrl+S writes the open script, whatever File1 highlights",
         [](SavingQuestions &t) {
             t.highlight("finale.txt");
             t.ctrlS();
         },
         {},
         {},
         {{"intro.txt", kEdited}, {"finale.txt", kFinale}},
         "intro.txt",
         "intro.txt",
         false},
        {"Save Script on another highlighted script, answered No",
         [](SavingQuestions &t) {
             t.highlight("finale.txt");
             t.press("savesc");
         },
         {QMessageBox::No},
         {"Replace finale.txt with the lines of intro.txt?"},
         {{"intro.txt", kIntro}, {"finale.txt", kFinale}},
         "intro.txt",
         "finale.txt",
         true},
        {"Save Script on another highlighted script, answered Yes",
         [](SavingQuestions &t) {
             t.highlight("finale.txt");
             t.press("savesc");
         },
         {QMessageBox::Yes},
         {"Replace finale.txt with the lines of intro.txt?"},
         {{"intro.txt", kIntro}, {"finale.txt", kEdited}},
         "finale.txt",
         "finale.txt",
         false},
        {"Save Script As an existing script, answered No",
         [](SavingQuestions &t) { t.saveAs("FINALE.txt"); },
         {QMessageBox::No},
         {"Replace finale.txt with the lines of intro.txt?"},
         {{"intro.txt", kIntro}, {"finale.txt", kFinale}},
         "intro.txt",
         "intro.txt",
         true},
        {"Save Script As a new name without .txt",
         [](SavingQuestions &t) { t.saveAs("first_scene"); },
         {},
         {},
         {{"intro.txt", kIntro}, {"first_scene.txt", kEdited}},
         "first_scene.txt",
         "first_scene.txt",
         false},
        {"Save Script As the open script's own name",
         [](SavingQuestions &t) { t.saveAs("intro.txt"); },
         {},
         {},
         {{"intro.txt", kEdited}},
         "intro.txt",
         "intro.txt",
         false},
        {"changed on disk, Cancel",
         [](SavingQuestions &t) {
             t.game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
             t.ctrlS();
         },
         {QMessageBox::Cancel},
         {kChanged},
         {{"intro.txt", "Two far 3\r\n"}},
         "intro.txt",
         "intro.txt",
         true},
        {"changed on disk, Overwrite",
         [](SavingQuestions &t) {
             t.game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
             t.ctrlS();
         },
         {QMessageBox::Save},
         {kChanged},
         {{"intro.txt", kEdited}},
         "intro.txt",
         "intro.txt",
         false},
        {"changed on disk, Reload",
         [](SavingQuestions &t) {
             t.game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
             t.ctrlS();
             EXPECT_EQ(describeRow(*t.window, 0), "Two|far,3,-,-|-");
         },
         {QMessageBox::Reset},
         {kChanged},
         {{"intro.txt", "Two far 3\r\n"}},
         "intro.txt",
         "intro.txt",
         false},
        {"Ctrl+S twice: the second finds the file as the first left it",
         [](SavingQuestions &t) {
             t.ctrlS();
             EXPECT_FALSE(t.window->windowTitle().endsWith(" *"));
             t.ctrlS();
         },
         {},
         {},
         {{"intro.txt", kEdited}},
         "intro.txt",
         "intro.txt",
         false},
        {"New Script: Save, then the name cancelled; a later change on disk is still seen",
         [](SavingQuestions &t) {
             t.press("NewSc"); // no name queued: the name box is cancelled
             EXPECT_FALSE(t.window->windowTitle().endsWith(" *"));
             t.press("NewSc");
             t.game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
             QEvent activated(QEvent::WindowActivate); // back from the other program
             QApplication::sendEvent(t.window.get(), &activated);
             QTest::qWait(20);
             EXPECT_EQ(describeRow(*t.window, 0), "Two|far,3,-,-|-");
         },
         {QMessageBox::Save},
         {"Save changes to intro.txt before making a new script?"},
         {{"intro.txt", "Two far 3\r\n"}},
         "intro.txt",
         "intro.txt",
         false},
        {"removed on disk, Overwrite",
         [](SavingQuestions &t) {
             std::filesystem::remove(t.script("intro.txt"));
             t.press("savesc");
         },
         {QMessageBox::Save},
         {"intro.txt is no longer on disk: another program removed or renamed it since Cuewright read it."},
         {{"intro.txt", kEdited}},
         "intro.txt",
         "intro.txt",
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SavingQuestions t;
        t.start();
        DialogAnswerer answerer;
        t.m_answerer = &answerer;
        for (const QMessageBox::StandardButton answer : c.answers)
            answerer.queueButton(answer);
        c.act(t);
        EXPECT_EQ(answerer.questions, c.questions);
        EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
        for (const auto &[name, bytes] : c.files)
            EXPECT_EQ(t.bytesOf(name), bytes) << name;
        EXPECT_EQ(t.window->model().scriptName(), c.open);
        EXPECT_EQ(t.file1->selectedText(), c.selected);
        EXPECT_EQ(t.window->isWindowModified(), c.modified);
    }
}

// Lines past 100 and words past the fourth argument are never dropped without asking.
TEST_F(SavingQuestionsTest, aSaveThatDropsWhatTheGridCannotHold_asksFirst_defaultNo)
{
    std::string script = "Four 4 180.0 60.0 9 # look here\r\n";
    for (int line = 2; line <= 100; ++line)
        script += "One " + std::to_string(line) + "\r\n";
    script += "One 101\r\n# a note\r\n";
    game.write("mods/mod/scripts/long.txt", script);
    window->model().relistScripts();
    {
        DialogAnswerer opening; // discards the edit of intro.txt, answers the note on long.txt
        open("long.txt");
        ASSERT_EQ(opening.messages.size(), 1);
    }
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::No);
    ctrlS();
    EXPECT_EQ(answerer.questions,
              QStringList{"Saving long.txt drops what the editor cannot hold. Save anyway?"});
    EXPECT_EQ(answerer.questionDetails.value(0),
              "Not kept: 2 lines after line 100 (1 of them a command); and the words after the fourth "
              "argument on line 1 (\"# look here\").");
    EXPECT_EQ(bytesOf("long.txt"), script);
    answerer.queueButton(QMessageBox::Yes);
    ctrlS();
    EXPECT_EQ(bytesOf("long.txt").substr(0, 20), "Four 4 180.0 60.0 9\r");
    // Saved, the file holds only what the grid holds: nothing more to ask.
    ctrlS();
    EXPECT_EQ(answerer.questions.size(), 2);
}

TEST_F(SavingQuestionsTest, ctrlSOnTheStringsPage_savesTheStringsTable)
{
    window->selectPage(3);
    auto *strings = find<gui::StringsTextEdit>(*window, "stringstext");
    strings->setFocus();
    QTest::keyClick(strings, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(strings, "FAREWELL Bye");
    DialogAnswerer answerer; // the grid's edits: Discard, as the save empties the grid
    QTest::keyClick(strings, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readBytes(game.root() / "mods/mod/strings_default.txt"), "GREETING Hello\r\nFAREWELL Bye\r\n");
    EXPECT_EQ(bytesOf("intro.txt"), kIntro);
}

TEST_F(SavingQuestionsTest, theStringsTableChangedOnDisk_isAskedAbout_andCancelKeepsEverything)
{
    window->selectPage(3);
    auto *strings = find<gui::StringsTextEdit>(*window, "stringstext");
    strings->setFocus();
    QTest::keyClicks(strings, "X");
    game.write("mods/mod/strings_default.txt", "OTHER program\r\n");
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Cancel);
    press("savestrings");
    EXPECT_EQ(answerer.questions, QStringList{"strings_default.txt has been changed by another program since "
                                              "Cuewright read or saved it."});
    EXPECT_EQ(readBytes(game.root() / "mods/mod/strings_default.txt"), "OTHER program\r\n");
    // Nothing was opened again: the grid keeps the script and its edits.
    EXPECT_EQ(window->model().scriptName(), "intro.txt");
    EXPECT_TRUE(window->isWindowModified());
}

// Lines that belong to no script are saved under a new name only: the name of a script
// that exists is refused, and that script is left as it was.
TEST_F(SavingQuestionsTest, guardsSaveOfLinesWithoutAScript_refusesTheNameOfAnExistingScript)
{
    {
        DialogAnswerer discarding; // the edit of intro.txt
        openMod(*window, "other");
    }
    window->selectPage(2);
    ASSERT_FALSE(window->model().scriptOpen());
    pickItem(window->grid().combo(0), 2);
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Save);
    answerer.queueAnswer("taken.txt");
    const int beeps = gui::ui::beepCount();
    open("taken.txt");
    EXPECT_EQ(answerer.questions, QStringList{"Save the lines in the grid as a script before opening another "
                                              "script?"});
    EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
    EXPECT_EQ(readBytes(game.root() / "mods/other/scripts/taken.txt"), kFinale);
    EXPECT_FALSE(window->model().scriptOpen());
    EXPECT_TRUE(window->isWindowModified());
}

// With no scripts folder the lines cannot be saved: the question says so, without Save.
TEST_F(SavingQuestionsTest, guardWithoutAScriptsFolder_offersDiscardAndCancel_andSaysWhy)
{
    DialogAnswerer answerer; // discards the edit of intro.txt
    openMod(*window, "bare");
    window->selectPage(2);
    pickItem(window->grid().combo(0), 2);
    answerer.queueButton(QMessageBox::Cancel);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(answerer.questions.size(), 2);
    EXPECT_EQ(answerer.questions.last(), "Save the lines in the grid as a script before closing?");
    EXPECT_EQ(answerer.questionDetails.last(),
              "They cannot be saved: the mod has no scripts folder to hold them.");
}

// Coming back from another program: an unedited script is read again, edits stay. Each
// is said in the notice bar, which stays until dismissed and never widens the window.
TEST_F(SavingQuestionsTest, changesMadeWhileAway_areReadAgainWhenUnedited_andOnlyNotedOverEdits)
{
    auto *bar = find<gui::ui::NoticeBar>(*window, "noticeBar");
    ASSERT_TRUE(bar);
    const auto cameBack = [this] {
        QEvent activated(QEvent::WindowActivate);
        QApplication::sendEvent(window.get(), &activated);
        QTest::qWait(20);
    };
    game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
    cameBack();
    EXPECT_TRUE(bar->text().startsWith("intro.txt was changed by another program. The grid keeps your edits"))
        << bar->text().toStdString();
    EXPECT_EQ(describeRow(*window, 0), "One|15,-,-,-|-");
    // Noted once: coming back again says nothing new.
    bar->dismiss();
    cameBack();
    EXPECT_EQ(bar->text(), "");

    const int width = window->width();
    DialogAnswerer answerer; // Discard the edits
    open("finale.txt");
    game.write("mods/mod/scripts/finale.txt", "One 7\r\n");
    cameBack();
    EXPECT_EQ(bar->text(), "finale.txt was changed by another program and has been read again");
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(window->width(), width);
    EXPECT_EQ(describeRow(*window, 0), "One|7,-,-,-|-");
    EXPECT_FALSE(window->isWindowModified());
    clickButton(find<QWidget>(*window, "noticeDismiss"));
    EXPECT_FALSE(bar->isVisible());
}

// A question asked over the window took its activation for good where the window
// system does not give it back, and the window's keys then reached nothing: Ctrl+S on
// the strings page, after a question about the script and another about opening one,
// saved nothing and said nothing.
TEST_F(SavingQuestionsTest, ctrlSAfterQuestions_stillSaves_theWindowIsActiveAgain)
{
    {
        DialogAnswerer answerer;
        game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
        answerer.queueButton(QMessageBox::Cancel);
        ctrlS();
        ASSERT_EQ(answerer.questions, QStringList{kChanged});
        answerer.queueButton(QMessageBox::Discard);
        open("finale.txt");
        ASSERT_EQ(window->model().scriptName(), "finale.txt");
    }
    // The event loop runs before the user's next key.
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), window.get());
    window->selectPage(3);
    auto *strings = find<gui::StringsTextEdit>(*window, "stringstext");
    strings->setFocus();
    QTest::keyClick(strings, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(strings, "FAREWELL Bye");
    QTest::keyClick(strings, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(readBytes(game.root() / "mods/mod/strings_default.txt"), "GREETING Hello\r\nFAREWELL Bye\r\n");
}

} // namespace
} // namespace cw::test
