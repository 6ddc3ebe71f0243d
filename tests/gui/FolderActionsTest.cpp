#include "GuiSupport.h"

#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"

#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

namespace cw::test {
namespace {

const std::string kOddName = "it's a $(mod); `x`";

class FolderActionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.withBasics().withMod("bare");
        game.write("mods/full/scripts/a.txt", "One 1\r\n");
        game.write("mods/full/levels/map01.txt", "");
        game.write("mods/full/strings_default.txt", "K v\r\n");
        game.write("mods/" + kOddName + "/Levels/map01.txt", "");
        game.write("mods/" + kOddName + "/Levels/mission one.txt", "");
        game.write("mods/" + kOddName + "/read me.txt", "");
        game.dir.makeFolder("mods/blocked/strings_default.txt");
        game.write("PREFERENCES.txt", "");
        window = openWindow(game.root());
        ASSERT_TRUE(window);
    }

    std::filesystem::path mod(const std::string &name) const { return game.root() / "mods" / name; }
    QString path(const std::filesystem::path &file) const { return nativePath(file); }
    // Presses a button on the page that holds it, as a user does.
    void press(const char *name)
    {
        const bool onLevelsPage = QByteArray(name) == "cmdmapopen" || QByteArray(name) == "cmdmissionopen";
        window->selectPage(onLevelsPage ? 1 : 0);
        clickButton(find<QPushButton>(*window, name));
    }
    QString indicator(int i) const
    {
        return find<QWidget>(*window, QStringLiteral("work_%1").arg(i))->property("state").toString();
    }
    QStringList indicators() const { return {indicator(0), indicator(1), indicator(2)}; }
    bool enabled(const char *name) const { return find<QWidget>(*window, name)->isEnabled(); }
    int count(const char *comboName) const { return find<QComboBox>(*window, comboName)->count(); }
    void select(const char *listName, int row)
    {
        window->selectPage(QByteArray(listName) == "rootfiles" ? 0 : 1);
        clickListItem(find<QListView>(*window, listName), row);
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
};

TEST_F(FolderActionsTest, makeFolder_createsThePart_andOpensTheModAgain)
{
    openMod(*window, "bare");
    ASSERT_EQ(indicators(), QStringList({"broken", "broken", "broken"}));
    press("cmdsripts");
    EXPECT_TRUE(std::filesystem::is_directory(mod("bare") / "scripts"));
    EXPECT_EQ(indicators(), QStringList({"worked", "broken", "broken"}));
    for (const char *name : {"NewSc", "savesc", "scropen", "listtoggle", "savescas", "deletesc"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_FALSE(enabled("cmdsripts"));
    EXPECT_TRUE(enabled("cmdlevels"));
    EXPECT_FALSE(find<QWidget>(*window, "File1")->isHidden());

    press("cmdlevels");
    EXPECT_TRUE(std::filesystem::is_directory(mod("bare") / "levels"));
    EXPECT_EQ(indicators(), QStringList({"worked", "worked", "broken"}));
    EXPECT_FALSE(enabled("cmdlevels"));
    EXPECT_TRUE(enabled("cmdstrings"));
    EXPECT_EQ(window->windowTitle(), caption("bare"));
}

TEST_F(FolderActionsTest, makeFolder_whereOneExistsInAnyCase_onlyBeeps)
{
    openMod(*window, "bare");
    // Made behind the program's back, so the buttons are still enabled.
    game.dir.makeFolder("mods/bare/Scripts");
    game.dir.makeFolder("mods/bare/LEVELS");
    int reopened = 0;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&] { ++reopened; });
    const int beeps = gui::ui::beepCount();
    press("cmdsripts");
    press("cmdlevels");
    EXPECT_EQ(gui::ui::beepCount(), beeps + 2);
    EXPECT_EQ(reopened, 0);
    EXPECT_EQ(listing(mod("bare")), "LEVELS Scripts");
    EXPECT_EQ(indicators(), QStringList({"broken", "broken", "broken"}));
    EXPECT_TRUE(enabled("cmdsripts"));
    EXPECT_TRUE(enabled("cmdlevels"));
    EXPECT_FALSE(enabled("NewSc"));

    // A mod folder that has gone is not made again.
    std::filesystem::remove_all(mod("bare"));
    press("cmdsripts");
    EXPECT_EQ(gui::ui::beepCount(), beeps + 3);
    EXPECT_FALSE(std::filesystem::exists(mod("bare")));
    EXPECT_EQ(reopened, 0);
}

TEST_F(FolderActionsTest, makeFile_writesOneBlankLine_andTheStringsPartOpensEmpty)
{
    openMod(*window, "full");
    openMod(*window, "bare");
    ASSERT_EQ(count("cmbstringlist"), 1); // the table of the mod opened before
    press("cmdstrings");
    EXPECT_EQ(readBytes(mod("bare") / "strings_default.txt"), " \r\n");
    EXPECT_EQ(find<gui::StringsTextEdit>(*window, "stringstext")->strings().text(), " \n");
    EXPECT_EQ(count("cmbstringlist"), 0);
    EXPECT_EQ(count("cmbstringspam"), 0);
    EXPECT_EQ(count("scriptcombos_0"), 0);
    EXPECT_EQ(count("scriptcombos_99"), 0);
    EXPECT_EQ(indicator(2), "worked");
    EXPECT_FALSE(enabled("cmdstrings"));
    EXPECT_TRUE(enabled("savestrings"));
}

// A strings file that could not be read still holds the mod's texts: Make File says
// why it does nothing rather than replace it, whatever stands there.
TEST_F(FolderActionsTest, makeFile_neverReplacesAnExistingStringsFile_andSaysWhy)
{
    openMod(*window, "bare");
    // Made behind the program's back (in another spelling), so the button is enabled.
    game.write("mods/bare/Strings_Default.TXT", "OLD x\r\n");
    int reopened = 0;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&] { ++reopened; });
    DialogAnswerer answerer;
    const int beeps = gui::ui::beepCount();
    {
        // It cannot be read, as for a file of mode 000 (the tests may run as root).
        const auto unreadable =
            std::shared_ptr<void>(nullptr, [](void *) { setIoFaultForTesting(std::nullopt); });
        setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0});
        press("cmdstrings");
    }
    // Readable now, yet still not replaced.
    press("cmdstrings");
    EXPECT_EQ(listing(mod("bare")), "Strings_Default.TXT");
    EXPECT_EQ(readBytes(mod("bare") / "Strings_Default.TXT"), "OLD x\r\n");
    const QString file = path(mod("bare") / "Strings_Default.TXT");
    EXPECT_EQ(answerer.messages,
              QStringList({file + " exists already but could not be read: Permission denied. Make File does "
                                  "not replace it.",
                           file + " exists already. Make File does not replace it."}));
    EXPECT_EQ(gui::ui::beepCount(), beeps + 2);
    EXPECT_EQ(reopened, 0);
    EXPECT_EQ(indicator(2), "broken");
}

TEST_F(FolderActionsTest, makeFile_whereAFolderStands_saysSo_andLeavesIt)
{
    openMod(*window, "blocked");
    ASSERT_EQ(indicator(2), "broken");
    int reopened = 0;
    QObject::connect(window.get(), &QWidget::windowTitleChanged, [&] { ++reopened; });
    DialogAnswerer answerer;
    const int beeps = gui::ui::beepCount();
    press("cmdstrings");
    EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
    EXPECT_EQ(reopened, 0);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().startsWith(path(mod("blocked") / "strings_default.txt") +
                                                     " exists already but could not be read: "))
        << answerer.messages.front().toStdString();
    EXPECT_TRUE(std::filesystem::is_directory(mod("blocked") / "strings_default.txt"));
    EXPECT_EQ(listing(mod("blocked")), "strings_default.txt");
    EXPECT_EQ(indicator(2), "broken");
}

TEST_F(FolderActionsTest, openWithNothingSelected_beepsAndStartsNothing)
{
    RecordingProgram editor("CUEWRIGHT_EDITOR");
    openMod(*window, "full");
    const int beeps = gui::ui::beepCount();
    press("cmdmapopen");
    press("cmdmissionopen"); // an empty list
    press("cmdrootopen");
    EXPECT_EQ(gui::ui::beepCount(), beeps + 3);
    EXPECT_TRUE(editor.startsSoFar().isEmpty());
}

TEST_F(FolderActionsTest, openSelected_givesTheEditorTheWholePathAsOneArgument)
{
    RecordingProgram editor("CUEWRIGHT_EDITOR");
    openMod(*window, QString::fromStdString(kOddName));
    select("listmaps", 0);
    press("cmdmapopen");
    select("listmissions", 0);
    press("cmdmissionopen");
    select("rootfiles", 0);
    press("cmdrootopen");
    // Three programs started at once record themselves in the order they get to run.
    QStringList starts = editor.starts(3);
    starts.sort();
    EXPECT_EQ(starts, QStringList({"1|" + path(mod(kOddName) / "Levels" / "map01.txt"),
                                   "1|" + path(mod(kOddName) / "Levels" / "mission one.txt"),
                                   "1|" + path(mod(kOddName) / "read me.txt")}));
}

// Levels are opened by the names' bytes: a map named in Windows-1252 is the file
// itself, not a name rebuilt from the text the list shows.
TEST_F(FolderActionsTest, aMapNamedInWindows1252_isTheFileItself)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: the bytes are the system's to convert";
#endif
    game.write("mods/full/levels/map_caf\xE9.txt", "");
    openMod(*window, "full");
    auto *maps = find<gui::FileListBox>(*window, "listmaps");
    ASSERT_EQ(maps->count(), 2);
    select("listmaps", 1);
    EXPECT_EQ(maps->selectedPath(), mod("full") / "levels" / "map_caf\xE9.txt");
    // The text editor gets the name's own bytes, not the text the list shows.
    RecordingProgram editor("CUEWRIGHT_EDITOR");
    press("cmdmapopen");
    ASSERT_EQ(editor.starts(1).size(), 1);
    EXPECT_EQ(readBytes(editor.path().parent_path() / "record.txt"),
              "1|" + nameOf(mod("full") / "levels" / "map_caf\xE9.txt") + "\n");
}

TEST_F(FolderActionsTest, openPreferences_opensTheGameRootsFile_evenWhenMissing)
{
    RecordingProgram editor("CUEWRIGHT_EDITOR");
    press("cmdprefs");
    EXPECT_EQ(editor.starts(1), QStringList{"1|" + path(game.root() / "PREFERENCES.txt")});
    std::filesystem::remove(game.root() / "PREFERENCES.txt");
    press("cmdprefs");
    EXPECT_EQ(editor.starts(2), QStringList({"1|" + path(game.root() / "PREFERENCES.txt"),
                                             "1|" + path(game.root() / "preferences.txt")}));
}

TEST_F(FolderActionsTest, launchTwice_startsTwoGames_withoutArguments)
{
    StandIn darwinia("game");
    ScopedVariable gameProgram("CUEWRIGHT_GAME", darwinia.program());
    press("Command2");
    press("Command2");
    EXPECT_EQ(darwinia.starts(2), QStringList({"0", "0"}));
}

#ifdef _WIN32
// The game is the game root's own darwinia.exe, started in the game root, where it
// finds its data. (The editor is Notepad, which Windows finds in its own folder before
// any other: see the launch tests of the platform layer.)
TEST_F(FolderActionsTest, withoutAGameChosen_theGameRootsDarwiniaStarts_inTheGameRoot)
{
    const StandIn darwinia(game.root(), "darwinia.exe");
    ScopedVariable noGame("CUEWRIGHT_GAME", std::nullopt);
    press("Command2");
    EXPECT_EQ(darwinia.starts(1), QStringList{"0"});
    EXPECT_EQ(darwinia.workingFolders(1), QStringList{path(game.root())});
}
#else
TEST_F(FolderActionsTest, withoutProgramsChosen_filesGoToXdgOpen_andTheGameRunsUnderWine)
{
    StandIn wine("wine");
    StandIn xdgOpen("xdg-open");
    ScopedVariable searchPath("PATH", wine.folder() + ":" + xdgOpen.folder() + ":" + qgetenv("PATH"));
    ScopedVariable noGame("CUEWRIGHT_GAME", std::nullopt);
    ScopedVariable noEditor("CUEWRIGHT_EDITOR", std::nullopt);
    press("Command2");
    press("cmdprefs");
    EXPECT_EQ(wine.starts(1), QStringList{"1|" + path(game.root() / "darwinia.exe")});
    EXPECT_EQ(xdgOpen.starts(1), QStringList{"1|" + path(game.root() / "PREFERENCES.txt")});
}
#endif

TEST_F(FolderActionsTest, programsThatCannotStart_areReportedForFilesOnly)
{
    ScopedVariable noEditor("CUEWRIGHT_EDITOR", "/nonexistent/editor");
    ScopedVariable noGame("CUEWRIGHT_GAME", "/nonexistent/game");
    openMod(*window, QString::fromStdString(kOddName));
    DialogAnswerer answerer;
    select("listmaps", 0);
    press("cmdmapopen");
    select("listmissions", 0);
    press("cmdmissionopen");
    select("rootfiles", 0);
    press("cmdrootopen");
    ASSERT_EQ(answerer.messages.size(), 3);
    EXPECT_TRUE(answerer.messages[0].contains(path(mod(kOddName) / "Levels" / "map01.txt")));
    EXPECT_TRUE(answerer.messages[1].contains(path(mod(kOddName) / "Levels" / "mission one.txt")));
    EXPECT_TRUE(answerer.messages[2].contains(path(mod(kOddName) / "read me.txt")));

    press("cmdprefs");
    press("Command2");
    QTest::qWait(50);
    EXPECT_EQ(answerer.messages.size(), 3);
}

} // namespace
} // namespace cw::test
