#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "gui/ui/NoticeBar.h"
#include "gui/workspace/ModWorkspace.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace cw::test {
namespace {

class ScriptFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics();
        game.dir.makeFolder("mods/mod/scripts");
        game.dir.makeFolder("mods/mod/levels");
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
    }

    // Opens the window and the mod with the scripts written so far.
    void start()
    {
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "mod");
        window->selectPage(2);
        file1 = find<gui::FileListBox>(*window, "File1");
    }

    std::filesystem::path script(const std::string &name) const
    {
        return game.root() / "mods/mod/scripts" / name;
    }
    std::string bytesOf(const std::string &name) const { return readBytes(script(name)); }
    void open(const QString &name)
    {
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }
    QPushButton *button(const char *name) const
    {
        return find<QPushButton>(*window, QString::fromLatin1(name));
    }
    gui::ScriptGrid &grid() const { return window->grid(); }
    QString deleteCaption() const { return button("deletesc")->text(); }
    std::string scriptsFolder() const { return listing(game.root() / "mods/mod/scripts"); }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::FileListBox *file1 = nullptr;
};

TEST_F(ScriptFilesTest, saveScript_writesTheGridAsItsNormalForm_andReadsItBack)
{
    game.write("mods/mod/scripts/a.txt",
               "two   \"gate one\"\t2.5\r\n\r\n#note\r\nOne 1 # later\r\nMystery x\r\n");
    start();
    open("a.txt");
    grid().field(3, 0)->setText("7");
    clickButton(button("savesc"));
    // The trailing comment's remainder keeps its leading blank and gets no second one.
    EXPECT_EQ(bytesOf("a.txt"), "Two gate one 2.5\r\n# note\r\nOne 7 # later\r\nMystery x\r\n\r\n");
    // The grid shows the file as it reads back: the quoted argument is now two.
    EXPECT_EQ(grid().field(0, 1)->text(), "one");
    EXPECT_EQ(grid().field(0, 2)->text(), "2.5");
    EXPECT_EQ(window->windowTitle(), caption("mod - a.txt"));
    EXPECT_EQ(file1->selectedPosition(), 0);
    EXPECT_EQ(scriptsFolder(), "a.txt");
}

TEST_F(ScriptFilesTest, saveScript_writesOnlyRowsWithACommand_hiddenFieldsIncluded)
{
    game.write("mods/mod/scripts/a.txt", "");
    start();
    open("a.txt");
    clickButton(button("savesc"));
    EXPECT_EQ(bytesOf("a.txt"), "\r\n");

    pickItem(grid().combo(0), 5); // Four
    for (int k = 0; k < 4; ++k)
        grid().field(0, k)->setText(QString::number(k + 1));
    pickItem(grid().combo(0), 2); // One: fields 1 to 3 hidden, their texts kept
    pickItem(grid().combo(5), 3); // Two, with only its second field filled
    grid().field(5, 1)->setText("later");
    pickItem(grid().combo(7), 9); // a comment
    grid().field(7, 0)->setText("words \"and\" more");
    clickButton(button("savesc"));
    EXPECT_EQ(bytesOf("a.txt"), "One 1 2 3 4\r\nTwo later\r\n# words \"and\" more\r\n\r\n");
    // Read back, the later argument has moved into the first place.
    EXPECT_EQ(grid().field(1, 0)->text(), "later");
}

TEST_F(ScriptFilesTest, saveScript_writesIntoTheSelectedFile_evenIfAnotherIsLoaded_afterAsking)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    game.write("mods/mod/scripts/b.txt", "Two x y\r\n");
    start();
    open("a.txt");
    clickListItem(file1, 1);
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Yes);
    clickButton(button("savesc"));
    EXPECT_EQ(answerer.questions, QStringList{"Replace b.txt with the lines of a.txt?"});
    EXPECT_EQ(bytesOf("b.txt"), "One 1\r\n\r\n");
    EXPECT_EQ(bytesOf("a.txt"), "One 1\r\n");
    EXPECT_EQ(window->model().scriptName(), "b.txt");
}

TEST_F(ScriptFilesTest, saveScriptWithNothingSelected_beepsAndWritesNothing)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    const int beeps = gui::ui::beepCount();
    clickButton(button("savesc"));
    EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
    EXPECT_EQ(bytesOf("a.txt"), "One 1\r\n");
}

TEST_F(ScriptFilesTest, saveScriptAs_asksForTheName_andOpensTheSavedScript)
{
    for (const char *name : {"a.txt", "c.txt", "e.txt"})
        game.write(std::string("mods/mod/scripts/") + name, std::string("One ") + name[0] + "\r\n");
    start();
    open("e.txt");
    DialogAnswerer answerer;
    answerer.queueAnswer("b.txt");
    clickButton(button("savescas"));
    EXPECT_EQ(answerer.inputTitles, QStringList{"Save Script as..."});
    EXPECT_EQ(answerer.inputPrompts, QStringList{"Entire file name"});
    EXPECT_EQ(answerer.inputProposals, QStringList{"e.txt"});
    EXPECT_EQ(bytesOf("b.txt"), "One e\r\n\r\n");
    EXPECT_EQ(itemTexts(file1), QStringList({"a.txt", "b.txt", "c.txt", "e.txt"}));
    EXPECT_EQ(window->model().scriptName(), "b.txt");
    EXPECT_EQ(file1->selectedText(), "b.txt");
    EXPECT_EQ(window->windowTitle(), caption("mod - b.txt"));
    EXPECT_EQ(grid().field(0, 0)->text(), "e");
}

TEST_F(ScriptFilesTest, saveScriptAs_replacesAnExistingScriptWhenTold_andGivesNamesTheirTxt)
{
    game.write("mods/mod/scripts/a.txt", "One new\r\n");
    game.write("mods/mod/scripts/Old.txt", "One old\r\n");
    start();
    open("a.txt");
    DialogAnswerer answerer;
    answerer.queueAnswer("old.txt"); // the existing file, in another letter case
    answerer.queueButton(QMessageBox::No);
    clickButton(button("savescas"));
    EXPECT_EQ(answerer.questions, QStringList{"Replace Old.txt with the lines of a.txt?"});
    EXPECT_EQ(bytesOf("Old.txt"), "One old\r\n");
    answerer.queueAnswer("old.txt");
    answerer.queueButton(QMessageBox::Yes);
    clickButton(button("savescas"));
    EXPECT_EQ(bytesOf("Old.txt"), "One new\r\n\r\n");
    EXPECT_EQ(scriptsFolder(), "Old.txt a.txt");
    answerer.queueAnswer("notes");
    clickButton(button("savescas"));
    EXPECT_EQ(bytesOf("notes.txt"), "One new\r\n\r\n");
    EXPECT_EQ(itemTexts(file1), QStringList({"a.txt", "notes.txt", "Old.txt"}));
    EXPECT_EQ(file1->selectedText(), "notes.txt");
}

// A name in Windows-1252, as modders' files from Windows are named, is not UTF-8 on
// Linux: it opens, is proposed and is saved as its own bytes, never as the text shown.
TEST_F(ScriptFilesTest, aScriptNamedInWindows1252_opensAndIsSavedAsItself)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: the bytes are the system's to convert";
#endif
    game.write("mods/mod/scripts/caf\xE9.txt", "One 1\r\n");
    start();
    const QString shown = itemTexts(file1).value(0);
    open(shown);
    EXPECT_EQ(grid().field(0, 0)->text(), "1");
    grid().field(0, 0)->setText("2");
    DialogAnswerer answerer;
    answerer.queueAnswer(shown); // the proposal, as proposed
    clickButton(button("savescas"));
    EXPECT_EQ(answerer.inputProposals, QStringList{shown});
    EXPECT_EQ(answerer.questions, QStringList{});
    EXPECT_EQ(bytesOf("caf\xE9.txt"), "One 2\r\n\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(script("")), {}), 1);
    // Open 4 hax hands the text editor the name's own bytes.
    RecordingProgram editor("CUEWRIGHT_EDITOR");
    clickButton(button("scropen"));
    ASSERT_EQ(editor.starts(1).size(), 1);
    EXPECT_EQ(readBytes(editor.path().parent_path() / "record.txt"),
              "1|" + nameOf(script("caf\xE9.txt")) + "\n");
}

// A line whose word runs into a "#" is named in the notice bar on opening, and an edit
// elsewhere saves it exactly as it stood.
TEST_F(ScriptFilesTest, aWordGluedToAHash_isNoted_andItsLineSavedAsItStood)
{
    game.write("mods/mod/scripts/a.txt", "One 3#slowly\r\nOne 1\r\n");
    start();
    open("a.txt");
    auto *bar = find<gui::ui::NoticeBar>(*window, "noticeBar");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(bar->text().startsWith("a.txt: line 1 has a \"#\" glued to a word"))
        << bar->text().toStdString();
    grid().field(1, 0)->setText("2");
    clickButton(button("savesc"));
    EXPECT_EQ(bytesOf("a.txt"), "One 3#slowly\r\nOne 2\r\n\r\n");
}

TEST_F(ScriptFilesTest, saveScriptAs_refusesEmptyAndUnsafeNames_withTheBeep)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    open("a.txt");
    DialogAnswerer answerer;
    const int beeps = gui::ui::beepCount();
    clickButton(button("savescas")); // cancelled: nothing to refuse
    // An absolute name inside the test's own folder, where a wrong save would show.
    const std::filesystem::path absolute = game.root() / "abs.txt";
    const QString absoluteName = QString::fromStdString(absolute.string());
    const QStringList unsafe = {
        "",        "../escape.txt", "sub/x.txt", "sub\\x.txt", absoluteName,      "..", ".", "con.txt",
        "a:b.txt", "what?.txt",     "trail.",    "a\tb",       QString(300, u'x')};
    for (const QString &name : unsafe) {
        answerer.queueAnswer(name);
        clickButton(button("savescas"));
    }
    EXPECT_EQ(gui::ui::beepCount(), beeps + unsafe.size());
    EXPECT_EQ(scriptsFolder(), "a.txt");
    EXPECT_EQ(listing(game.root() / "mods/mod"), "levels scripts strings_default.txt");
    EXPECT_FALSE(std::filesystem::exists(absolute));
}

TEST_F(ScriptFilesTest, aCharacterTheCodePageCannotHold_isReported_andNothingWritten)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    open("a.txt");
    grid().field(0, 0)->setText(QStringLiteral("caf\u00E9 \u20AC fine"));
    pickItem(grid().combo(4), 2);
    grid().field(4, 0)->setText(QStringLiteral("\u0100 not in the code page"));
    DialogAnswerer answerer;
    clickButton(button("savesc"));
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().startsWith("Line 5 "));
    EXPECT_EQ(bytesOf("a.txt"), "One 1\r\n");
    EXPECT_EQ(grid().field(4, 0)->text(), QStringLiteral("\u0100 not in the code page"));

    grid().field(4, 0)->setText("fixed");
    clickButton(button("savesc"));
    EXPECT_EQ(bytesOf("a.txt"), "One caf\xE9 \x80 fine\r\nOne fixed\r\n\r\n");
}

// Texts of any length are kept and saved whole; past what a line edit lays out in good
// time the grid shows their start, read-only.
TEST_F(ScriptFilesTest, textsOfAHundredThousandCharacters_showTheirStart_andAreSavedWhole)
{
    const std::string word = "Long" + std::string(100'000, 'w');
    const std::string argument = "arg" + std::string(100'000, 'a');
    const std::string key = "key" + std::string(100'000, 'k');
    game.write("mods/mod/scripts/a.txt", word + " " + argument + "\r\nSay " + key + "\r\n");
    start();
    open("a.txt");
    const auto shownStart = [](QLineEdit *edit, const std::string &text) {
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_LT(edit->text().size(), 5000);
        EXPECT_TRUE(text.starts_with(edit->text().chopped(1).toStdString()));
        EXPECT_TRUE(edit->toolTip().contains(QStringLiteral("%1 bytes long").arg(text.size())));
    };
    shownStart(grid().combo(0)->lineEdit(), word);
    shownStart(grid().field(0, 0), argument);
    shownStart(grid().stringsChooser(1)->lineEdit(), key);
    EXPECT_FALSE(grid().field(1, 1)->isReadOnly());

    // Pasted, as a user would put such a text in.
    const std::string pasted = "pasted" + std::string(100'000, 'p');
    pickItem(grid().combo(2), 2);
    QGuiApplication::clipboard()->setText(QString::fromStdString(pasted));
    grid().field(2, 0)->setFocus();
    QTest::keyClick(grid().field(2, 0), Qt::Key_V, Qt::ControlModifier);
    shownStart(grid().field(2, 0), pasted);

    clickButton(button("savesc"));
    EXPECT_EQ(bytesOf("a.txt"), word + " " + argument + "\r\nSay " + key + "\r\nOne " + pasted + "\r\n\r\n");
}

TEST_F(ScriptFilesTest, aLineThatCouldNotBeReadBack_isNotSaved)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    open("a.txt");
    typeInto(grid().field(0, 0), " b c d e f g h i j k l m n o p q r s t u v");
    DialogAnswerer answerer;
    clickButton(button("savesc"));
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().startsWith("Line 1 "));
    EXPECT_EQ(bytesOf("a.txt"), "One 1\r\n");
}

TEST_F(ScriptFilesTest, failedWrite_isReported_theGridKept_andNoTemporaryFileLeft)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    game.dir.makeFolder("mods/mod/scripts/taken.txt");
    start();
    open("a.txt");
    grid().field(0, 0)->setText("edited");
    DialogAnswerer answerer;
    answerer.queueAnswer("taken.txt");
    answerer.queueButton(QMessageBox::Yes);
    clickButton(button("savescas"));
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().contains("taken.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(script("taken.txt")));
    EXPECT_EQ(grid().field(0, 0)->text(), "edited");
    EXPECT_EQ(scriptsFolder(), "a.txt taken.txt");
}

TEST_F(ScriptFilesTest, savingWithList2Shown_givesItTheFocus)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    open("a.txt");
    clickButton(button("listtoggle"));
    clickButton(button("savesc"));
    EXPECT_TRUE(find<QWidget>(*window, "List2")->hasFocus());
    EXPECT_FALSE(find<QWidget>(*window, "List2")->isHidden());
    // The re-open shows File1 again beside it.
    EXPECT_FALSE(file1->isHidden());
}

TEST_F(ScriptFilesTest, newScript_isOneHundredEmptyLines_andTheSelectedPositionIsOpenedAgain)
{
    game.write("mods/mod/scripts/b.txt", "One b\r\n");
    start();
    open("b.txt");
    DialogAnswerer answerer;
    answerer.queueAnswer("a.txt");
    clickButton(button("NewSc"));
    EXPECT_EQ(answerer.inputTitles, QStringList{"New Script"});
    EXPECT_EQ(answerer.inputPrompts, QStringList{"Entire file name"});
    EXPECT_EQ(answerer.inputProposals, QStringList{"script.txt"});
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "\r\n";
    EXPECT_EQ(bytesOf("a.txt"), hundred);
    // Position 0 now holds the new, empty script.
    EXPECT_EQ(window->model().scriptName(), "a.txt");
    EXPECT_EQ(grid().combo(0)->currentText(), "");

    open("b.txt");
    answerer.queueAnswer("c.txt");
    clickButton(button("NewSc"));
    EXPECT_EQ(window->model().scriptName(), "b.txt");
    EXPECT_EQ(itemTexts(file1), QStringList({"a.txt", "b.txt", "c.txt"}));
}

TEST_F(ScriptFilesTest, newScript_neverReplacesAFile_andNamesGetTheirTxt)
{
    game.write("mods/mod/scripts/b.txt", "One b\r\n");
    start();
    DialogAnswerer answerer;
    const int beeps = gui::ui::beepCount();
    for (const char *name : {"b.txt", "B.TXT", "../x.txt"}) {
        answerer.queueAnswer(QString::fromLatin1(name));
        clickButton(button("NewSc"));
    }
    EXPECT_EQ(gui::ui::beepCount(), beeps + 3);
    EXPECT_EQ(bytesOf("b.txt"), "One b\r\n");
    answerer.queueAnswer("draft");
    clickButton(button("NewSc"));
    EXPECT_EQ(scriptsFolder(), "b.txt draft.txt");
    EXPECT_EQ(itemTexts(file1), QStringList({"b.txt", "draft.txt"}));
    // Nothing was selected before, so nothing is selected or open after.
    EXPECT_EQ(file1->selectedPosition(), -1);
    EXPECT_EQ(window->model().scriptName(), "");
}

TEST_F(ScriptFilesTest, delete_armsOnTheFirstPress_andDeletesTheOpenScriptOnTheSecond)
{
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        game.write(std::string("mods/mod/scripts/") + name, "One 1\r\n");
    start();
    const int beeps = gui::ui::beepCount();
    clickButton(button("deletesc")); // no script open
    EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
    EXPECT_EQ(deleteCaption(), "Delete Script (dbl click)");

    open("b.txt");
    clickButton(button("deletesc"));
    EXPECT_EQ(deleteCaption(), "CLICK AGAIN TO DELETE");
    // Opening another script disarms it: the next press only arms again.
    open("c.txt");
    EXPECT_EQ(deleteCaption(), "Delete Script (dbl click)");
    clickButton(button("deletesc"));
    EXPECT_EQ(scriptsFolder(), "a.txt b.txt c.txt");
    // Editing and scrolling leave it armed; the edits are asked about first.
    grid().field(0, 0)->setText("edit");
    grid().scrollBar()->setValue(5);
    {
        DialogAnswerer answerer;
        answerer.queueButton(QMessageBox::Discard);
        answerer.queueButton(QMessageBox::Yes);
        clickButton(button("deletesc"));
        QStringList asked{"Save changes to c.txt before deleting the script?"};
        if (!systemHasTrash())
            asked << "c.txt cannot be moved to the trash. Delete it for good?";
        EXPECT_EQ(answerer.questions, asked);
    }
    EXPECT_EQ(scriptsFolder(), "a.txt b.txt");
    // The last of three was deleted: the new last one opens.
    EXPECT_EQ(window->model().scriptName(), "b.txt");
    EXPECT_EQ(file1->selectedPosition(), 1);
    EXPECT_EQ(deleteCaption(), "Delete Script (dbl click)");
}

// Delete removes the open script: never while the list shows another one, and a
// highlight moved elsewhere disarms a press already made.
TEST_F(ScriptFilesTest, delete_isRefusedWhileTheListHighlightsAnotherScript)
{
    for (const char *name : {"intro.txt", "finale.txt"})
        game.write(std::string("mods/mod/scripts/") + name, "One 1\r\n");
    start();
    open("intro.txt");
    clickButton(button("deletesc"));
    ASSERT_EQ(deleteCaption(), "CLICK AGAIN TO DELETE");
    clickListItem(file1, 0); // finale.txt
    EXPECT_EQ(deleteCaption(), "Delete Script (dbl click)");
    QToolTip::hideText();
    const int beeps = gui::ui::beepCount();
    clickButton(button("deletesc"));
    clickButton(button("deletesc"));
    EXPECT_EQ(gui::ui::beepCount(), beeps + 2);
    EXPECT_EQ(QToolTip::text(),
              "Delete Script deletes the open script, intro.txt: select it in the list first");
    EXPECT_EQ(scriptsFolder(), "finale.txt intro.txt");
}

TEST_F(ScriptFilesTest, delete_movesTheScriptToTheTrash_orAsksBeforeDeletingForGood)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    open("a.txt");
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash/files");
    const auto inTrash = [&] {
        return QDir(trash).entryList(QDir::Files).size();
    };
    const qsizetype before = inTrash();
    QToolTip::hideText();
    clickButton(button("deletesc"));
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Yes);
    clickButton(button("deletesc"));
    EXPECT_EQ(scriptsFolder(), "");
    if (systemHasTrash()) {
        EXPECT_EQ(inTrash(), before + 1);
        EXPECT_EQ(QToolTip::text(), "a.txt was moved to the trash, where it can be restored");
        EXPECT_EQ(answerer.questions, QStringList{});
    } else {
        EXPECT_EQ(answerer.questions, QStringList{"a.txt cannot be moved to the trash. Delete it for good?"});
        EXPECT_EQ(answerer.questionDetails, QStringList{"It cannot be brought back afterwards."});
    }
}

// Qt's trash takes a name as text, which cannot hold a name that is not UTF-8: such a
// script is asked about, and No keeps it.
TEST_F(ScriptFilesTest, delete_ofAScriptNamedInWindows1252_asksFirst_andNoKeepsIt)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: the bytes are the system's to convert";
#endif
    game.write("mods/mod/scripts/caf\xE9.txt", "One 1\r\n");
    game.write("mods/mod/scripts/caf\xEF\xBF\xBD.txt", "One 2\r\n"); // the name the text shows
    start();
    open(itemTexts(file1).value(0));
    ASSERT_EQ(window->model().scriptPath(), script("caf\xE9.txt"));
    clickButton(button("deletesc"));
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::No);
    clickButton(button("deletesc"));
    EXPECT_EQ(answerer.questions,
              QStringList{QString::fromUtf8("caf\xEF\xBF\xBD.txt cannot be moved to the trash. "
                                            "Delete it for good?")});
    EXPECT_EQ(bytesOf("caf\xE9.txt"), "One 1\r\n");
    EXPECT_EQ(bytesOf("caf\xEF\xBF\xBD.txt"), "One 2\r\n");
}

TEST_F(ScriptFilesTest, delete_isDisarmedByOpeningTheMod)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    start();
    open("a.txt");
    clickButton(button("deletesc"));
    ASSERT_EQ(deleteCaption(), "CLICK AGAIN TO DELETE");
    window->model().reopenMod(gui::RefreshReason::UserOrFolderAction);
    EXPECT_EQ(deleteCaption(), "Delete Script (dbl click)");
}

TEST_F(ScriptFilesTest, deletingTheOnlyScript_selectsNothing_andAFurtherPressBeeps)
{
    game.write("mods/mod/scripts/only.txt", "One 1\r\n");
    start();
    open("only.txt");
    clickButton(button("deletesc"));
    {
        DialogAnswerer answerer;
        answerer.queueButton(QMessageBox::Yes); // where there is no trash
        clickButton(button("deletesc"));
    }
    EXPECT_EQ(scriptsFolder(), "");
    EXPECT_EQ(file1->count(), 0);
    EXPECT_EQ(file1->selectedPosition(), -1);
    const int beeps = gui::ui::beepCount();
    clickButton(button("deletesc"));
    clickButton(button("deletesc"));
    EXPECT_EQ(gui::ui::beepCount(), beeps + 2);
    EXPECT_EQ(deleteCaption(), "Delete Script (dbl click)");
}

TEST_F(ScriptFilesTest, deletingAScriptWhoseFileIsGone_beeps)
{
    game.write("mods/mod/scripts/a.txt", "One 1\r\n");
    game.write("mods/mod/scripts/b.txt", "One 2\r\n");
    start();
    open("a.txt");
    clickButton(button("deletesc"));
    std::filesystem::remove(script("a.txt"));
    const int beeps = gui::ui::beepCount();
    clickButton(button("deletesc"));
    EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
    EXPECT_EQ(scriptsFolder(), "b.txt");
}

} // namespace
} // namespace cw::test
