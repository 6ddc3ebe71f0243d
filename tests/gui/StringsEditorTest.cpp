#include "GuiSupport.h"

#include "gui/grid/ScriptGrid.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

class StringsEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics();
        game.write("mods/alpha/scripts/a.txt", "Say LOC_A\r\n");
        game.dir.makeFolder("mods/alpha/levels");
        game.write("mods/alpha/strings_default.txt", "LOC_A Hello\r\n");
        game.write("mods/beta/strings_default.txt", "B b\r\n");
        game.write("mods/shouty/Strings_Default.TXT", "S s\r\n");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
        openMod(*window, "alpha");
        window->selectPage(3);
        editor = find<gui::StringsTextEdit>(*window, "stringstext");
        ASSERT_TRUE(editor);
    }

    std::filesystem::path mod() const { return game.root() / "mods" / "alpha"; }
    // Gives the mod "beta" a strings table of `lines` lines, ended in turn by CR LF, a lone CR
    // and a lone LF, with no-break spaces and accented letters in them; returns the text
    // the editor shows for it.
    QString writeBigMod(int lines)
    {
        std::string bytes;
        QString shown;
        static const char *const ends[] = {"\r\n", "\r", "\n"};
        for (int i = 0; i < lines; ++i) {
            const std::string number = std::to_string(i);
            bytes += "KEY_" + number + " caf\xE9\xA0" + number + ends[i % 3];
            shown += QStringLiteral("KEY_%1 caf\u00E9\u00A0%1\n").arg(i);
        }
        game.write("mods/beta/strings_default.txt", bytes);
        return shown;
    }
    std::string file() const { return readBytes(mod() / "strings_default.txt"); }
    std::string backup() const { return readBytes(mod() / "strings_default.txt.bak"); }
    void save() { clickButton(find<QPushButton>(*window, "savestrings")); }
    void revert() { clickButton(find<QPushButton>(*window, "stringsrevert")); }
    // Replaces the editor's text with `text`, typed as a user types it.
    void retype(const QString &text)
    {
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
    }
    QStringList stringNames() const { return stringsTableNames(*window); }
    bool temporaryFileLeft() const { return listing(mod()).find(".~cuewright-") != std::string::npos; }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
    gui::StringsTextEdit *editor = nullptr;
};

// The backup holds the text of the last save, so Revert to Backup brings it back.
TEST_F(StringsEditorTest, save_writesTheTextWithALineEnd_toTheTableAndItsBackup)
{
    retype("A x");
    save();
    EXPECT_EQ(file(), "A x\r\n");
    EXPECT_EQ(backup(), "A x\r\n");
    EXPECT_EQ(editor->strings().text(), "A x");
    EXPECT_FALSE(temporaryFileLeft());
}

TEST_F(StringsEditorTest, save_rebuildsTheTable_andEmptiesTheGrid_butKeepsTheEditorText)
{
    window->selectPage(2);
    doubleClickListItem(find<QListView>(*window, "File1"), 0);
    ASSERT_EQ(window->grid().combo(0)->currentText(), "Say");
    window->selectPage(3);
    retype("NEW one\r# note\rOTHER two");
    save();
    EXPECT_EQ(editor->strings().text(), "NEW one\n# note\nOTHER two");
    EXPECT_EQ(stringNames(), QStringList({"NEW", "OTHER"}));
    EXPECT_EQ(comboItems(find<QComboBox>(*window, "cmbstringspam")), QStringList({"one", "two"}));
    EXPECT_EQ(window->grid().combo(0)->currentText(), "");
    EXPECT_EQ(window->model().scriptName(), "");
    EXPECT_EQ(find<QWidget>(*window, "work_2")->property("state").toString(), "worked");
}

TEST_F(StringsEditorTest, openAndSaveAgain_leavesTheFileAsItWas)
{
    game.write("mods/alpha/strings_default.txt.bak", "OLDER backup\r\n");
    save();
    EXPECT_EQ(file(), "LOC_A Hello\r\n");
    EXPECT_EQ(backup(), "LOC_A Hello\r\n");
    openMod(*window, "beta");
    openMod(*window, "alpha");
    window->selectPage(3);
    EXPECT_EQ(editor->strings().text(), "LOC_A Hello\n");
    save();
    EXPECT_EQ(file(), "LOC_A Hello\r\n");
}

// Emptied, the editor would let the next Save Changes wipe the file and its backup.
TEST_F(StringsEditorTest, revertWithoutBackup_saysSo_andKeepsTheEditorsText)
{
    retype("LOC_A Hello\rLOC_B edited, unsaved");
    DialogAnswerer answerer;
    revert();
    EXPECT_EQ(answerer.messages, QStringList{"Backup not found :("});
    EXPECT_TRUE(answerer.informativeTexts.value(0).contains("strings_default.txt.bak"));
    EXPECT_EQ(editor->strings().text(), "LOC_A Hello\nLOC_B edited, unsaved");
    EXPECT_EQ(file(), "LOC_A Hello\r\n");
    save();
    EXPECT_EQ(file(), "LOC_A Hello\r\nLOC_B edited, unsaved\r\n");
    EXPECT_EQ(backup(), "LOC_A Hello\r\nLOC_B edited, unsaved\r\n");

    // A backup that is there but cannot be read is no backup either.
    std::filesystem::remove(mod() / "strings_default.txt.bak");
    game.dir.makeFolder("mods/alpha/strings_default.txt.bak");
    revert();
    EXPECT_EQ(answerer.messages.size(), 2);
    EXPECT_EQ(editor->strings().text(), "LOC_A Hello\nLOC_B edited, unsaved");
}

TEST_F(StringsEditorTest, revert_bringsBackTheLastSave_withoutTouchingTheTable)
{
    retype("A x");
    save();
    // What the backup holds comes back, whatever the table was built from.
    game.write("mods/alpha/strings_default.txt.bak", "Q q\r\nR r");
    revert();
    EXPECT_EQ(editor->strings().text(), "Q q\nR r");
    EXPECT_EQ(stringNames(), QStringList{"A"});
    EXPECT_EQ(file(), "A x\r\n");
    EXPECT_TRUE(window->isWindowModified());
}

// Unsaved edits are asked about (No by default), and a revert is one step of the
// editor's undo: Ctrl+Z brings the edits back.
TEST_F(StringsEditorTest, revertOverUnsavedEdits_asks_andIsOneUndoStep)
{
    retype("A x");
    save();
    retype("typed, unsaved");
    {
        DialogAnswerer answerer;
        answerer.queueButton(QMessageBox::No);
        revert();
        EXPECT_EQ(answerer.questions,
                  QStringList{"Replace your unsaved edits of strings_default.txt with the backup?"});
        EXPECT_EQ(editor->strings().text(), "typed, unsaved");
        answerer.queueButton(QMessageBox::Yes);
        revert();
        EXPECT_EQ(answerer.questions.size(), 2);
        EXPECT_EQ(editor->strings().text(), "A x\n");
    }
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->strings().text(), "typed, unsaved");
    // Typed away again, the text is the saved one: nothing to ask about.
    retype("A x");
    DialogAnswerer quiet;
    revert();
    EXPECT_TRUE(quiet.questions.isEmpty());
}

TEST_F(StringsEditorTest, graveAccentTypesATab_andTheTabKeyMovesTheFocus)
{
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    retype("K`a`b");
    EXPECT_EQ(editor->strings().text(), "K\ta\tb");
    ASSERT_TRUE(editor->hasFocus());
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_FALSE(editor->hasFocus());
    EXPECT_EQ(editor->strings().text(), "K\ta\tb");
    // The save gives the focus back to the editor.
    save();
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(file(), "K\ta\tb\r\n");

    // Pasted text is taken as it is.
    QGuiApplication::clipboard()->setText(QStringLiteral("`q"));
    QTest::keyClick(editor, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->strings().text(), "K\ta\tb`q");
}

TEST_F(StringsEditorTest, characterOutsideTheCodePage_isRefused_andNothingIsWritten)
{
    for (const QString &character : {QStringLiteral("\u0100"), QString::fromUtf8("\U0001F600")}) {
        DialogAnswerer answerer;
        retype("A x\rB ");
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, character, Qt::NoModifier);
        ASSERT_EQ(editor->strings().text(), "A x\nB " + character);
        save();
        ASSERT_EQ(answerer.messages.size(), 1);
        EXPECT_TRUE(answerer.messages.front().contains("Line 2")) << answerer.messages.front().toStdString();
        EXPECT_EQ(file(), "LOC_A Hello\r\n");
        EXPECT_EQ(backup(), "<missing>");
        EXPECT_EQ(editor->strings().text(), "A x\nB " + character);
        EXPECT_EQ(stringNames(), QStringList{"LOC_A"});
        EXPECT_FALSE(temporaryFileLeft());
    }
}

TEST_F(StringsEditorTest, stringsFileSpeltOtherwise_isSavedUnderItsOwnName)
{
    openMod(*window, "shouty");
    window->selectPage(3);
    retype("T t");
    save();
    EXPECT_EQ(listing(game.root() / "mods/shouty"), "Strings_Default.TXT strings_default.txt.bak");
    EXPECT_EQ(readBytes(game.root() / "mods/shouty/Strings_Default.TXT"), "T t\r\n");
    EXPECT_EQ(stringNames(), QStringList{"T"});
}

TEST_F(StringsEditorTest, backupThatCannotBeWritten_isReported_andTheFileIsStillSaved)
{
    game.dir.makeFolder("mods/alpha/strings_default.txt.bak");
    DialogAnswerer answerer;
    retype("A x");
    save();
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().contains("strings_default.txt.bak"));
    EXPECT_TRUE(std::filesystem::is_directory(mod() / "strings_default.txt.bak"));
    EXPECT_EQ(file(), "A x\r\n");
    EXPECT_EQ(stringNames(), QStringList{"A"});
    EXPECT_FALSE(temporaryFileLeft());
}

TEST_F(StringsEditorTest, fileThatCannotBeWritten_isReported_andTheEditorKeepsItsText)
{
    std::filesystem::remove(mod() / "strings_default.txt");
    game.dir.makeFolder("mods/alpha/strings_default.txt");
    DialogAnswerer answerer;
    answerer.queueButton(QMessageBox::Save); // Overwrite what another program put there
    retype("A x");
    save();
    ASSERT_EQ(answerer.questions.size(), 1);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().contains("strings_default.txt"));
    EXPECT_FALSE(answerer.messages.front().contains(".bak"));
    EXPECT_TRUE(std::filesystem::is_directory(mod() / "strings_default.txt"));
    EXPECT_EQ(backup(), "<missing>"); // a save that fails writes no backup either
    EXPECT_EQ(editor->strings().text(), "A x");
    EXPECT_FALSE(temporaryFileLeft());
}

TEST_F(StringsEditorTest, everyByteSurvivesLoadAndSave_andEveryLineEndIsSavedAsCrLf)
{
    // A0 and the whole upper half, the five bytes the code page leaves undefined among
    // them, come back as they were; lone CRs and LFs end lines, saved as CR LF.
    std::string content = "K a\nb\rc\xA0"
                          "d\r\n\r\r\n\n\r\n";
    std::string others;
    for (int value = 0; value < 256; ++value) {
        if (value != '\r' && value != '\n')
            others += static_cast<char>(value);
    }
    content += others + "\r\nlast\r";
    const std::string saved = "K a\r\nb\r\nc\xA0"
                              "d\r\n\r\n\r\n\r\n\r\n" +
                              others + "\r\nlast\r\n";
    game.write("mods/beta/strings_default.txt", content);
    openMod(*window, "beta");
    window->selectPage(3);
    save();
    EXPECT_EQ(readBytes(game.root() / "mods/beta/strings_default.txt"), saved);
    EXPECT_EQ(readBytes(game.root() / "mods/beta/strings_default.txt.bak"), saved);
    EXPECT_EQ(comboItems(find<QComboBox>(*window, "cmbstringlist")).value(0), "K");
}

TEST_F(StringsEditorTest, everyLineEnd_showsAsALineBreak)
{
    game.write("mods/beta/strings_default.txt", "A 1\n2\r\nB 3\r4");
    openMod(*window, "beta");
    window->selectPage(3);
    EXPECT_EQ(editor->strings().text(), "A 1\n2\nB 3\n4");
    EXPECT_EQ(editor->blockCount(), 4);
}

// The document is built off the GUI thread while the page is hidden, and holds the
// file's text as the page will show it, with nothing to undo and nothing modified.
TEST_F(StringsEditorTest, hiddenPage_getsTheFilesTextBuiltInTheBackground)
{
    const QString shown = writeBigMod(20000);
    openMod(*window, "beta");
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor->strings().isLoaded(); }, 20000));
    EXPECT_FALSE(editor->isVisible());
    QTextDocument *document = editor->document();
    EXPECT_EQ(document->blockCount(), 20001);
    EXPECT_EQ(document->findBlockByNumber(19999).text(), QStringLiteral("KEY_19999 caf\u00E9\u00A019999"));
    EXPECT_FALSE(document->isUndoAvailable());
    EXPECT_FALSE(editor->strings().isModified());
    EXPECT_EQ(document->defaultFont(), editor->font());
    EXPECT_EQ(editor->strings().text(), shown);
}

TEST_F(StringsEditorTest, pageShownWhileTheDocumentIsBuilt_waitsForItsWholeText)
{
    const QString shown = writeBigMod(20000);
    openMod(*window, "beta");
    QCoreApplication::processEvents(); // the build starts
    window->selectPage(3);
    EXPECT_TRUE(editor->strings().isLoaded());
    EXPECT_EQ(editor->blockCount(), 20001);
    EXPECT_EQ(editor->verticalScrollBar()->value(), 0); // the first line at the top
    EXPECT_EQ(editor->strings().text(), shown);
    EXPECT_FALSE(editor->strings().isModified());
}

// A build overtaken by the opening of another mod never replaces that mod's text, and
// one still running when the window closes ends with it.
TEST_F(StringsEditorTest, modOpenedWhileTheDocumentIsBuilt_keepsItsOwnText)
{
    writeBigMod(20000);
    openMod(*window, "beta");
    QCoreApplication::processEvents();
    openMod(*window, "shouty");
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor->strings().isLoaded(); }, 20000));
    QTest::qWait(50);
    window->selectPage(3);
    EXPECT_EQ(editor->strings().text(), "S s\n");
    EXPECT_EQ(editor->blockCount(), 2);

    window->selectPage(0);
    openMod(*window, "beta");
    QCoreApplication::processEvents();
    window.reset();
}

// Each mod's text shows from its first line, wherever the previous one was scrolled to.
TEST_F(StringsEditorTest, textOfTheNextMod_showsFromItsFirstLine)
{
    writeBigMod(20000);
    game.write("mods/shouty/Strings_Default.TXT", std::string(3000, 'x') + "\r\nS s\r\n");
    for (const char *mod : {"beta", "shouty", "beta"}) {
        SCOPED_TRACE(mod);
        openMod(*window, mod);
        window->selectPage(3);
        EXPECT_EQ(editor->verticalScrollBar()->value(), 0);
        EXPECT_EQ(editor->horizontalScrollBar()->value(), 0);
        EXPECT_EQ(editor->textCursor().position(), 0);
        // Both are long enough to scroll: one down, the other sideways.
        for (QScrollBar *bar : {editor->verticalScrollBar(), editor->horizontalScrollBar()})
            bar->setValue(bar->maximum());
        ASSERT_GT(editor->verticalScrollBar()->value() + editor->horizontalScrollBar()->value(), 0);
    }
}

TEST_F(StringsEditorTest, typingInTheBuiltDocument_isUndoneBackToTheFilesText_andNoFurther)
{
    const QString shown = writeBigMod(5000);
    openMod(*window, "beta");
    ASSERT_TRUE(QTest::qWaitFor([this] { return editor->strings().isLoaded(); }, 20000));
    window->selectPage(3);
    editor->setFocus();
    QTest::keyClicks(editor, "X`");
    EXPECT_EQ(editor->strings().text(), "X\t" + shown);
    EXPECT_TRUE(editor->strings().isModified());
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->strings().text(), shown);
    EXPECT_FALSE(editor->strings().isModified());
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->strings().text(), shown);
}

} // namespace
} // namespace cw::test
