#include "GuiSupport.h"

#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "gui/grid/ScriptGrid.h"
#include "gui/strings/StringsTextEdit.h"
#include "gui/ui/ChooserComboBox.h"
#include "gui/ui/Dialogs.h"
#include "gui/ui/FileListBox.h"
#include "support/Faults.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <vector>

namespace cw::test {
namespace {

namespace fs = std::filesystem;

// What stands at a path, so that "as before" also covers folders and absent files.
std::string stateOf(const fs::path &path)
{
    return fs::is_directory(path) ? std::string("<folder>") : readBytes(path);
}

QString argumentText(int row, int k)
{
    return QStringLiteral("r%1k%2-").arg(row).arg(k) + QString(50, u'w');
}

// A game root with one mod for the script writes, and two mods whose folders hold
// files only, for the strings writes: a small disk can only stand in for such a folder.
class Editor
{
public:
    Editor()
    {
        game.withBasics();
        game.write("mods/mod/scripts/a.txt", "One 1\r\n");
        game.write("mods/mod/scripts/b.txt", "Two x y\r\n");
        game.dir.makeFolder("mods/mod/levels");
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
        game.write("mods/words/strings_default.txt", "GREETING Hello\r\n");
        game.write("mods/bare/readme.txt", "notes\r\n");
    }

    bool start(const std::string &mod)
    {
        window = openWindow(game.root());
        if (window)
            openMod(*window, QString::fromStdString(mod));
        return window != nullptr;
    }

    fs::path mod(const std::string &name) const { return game.root() / "mods" / name; }
    QPushButton *button(const char *name) const
    {
        return find<QPushButton>(*window, QString::fromLatin1(name));
    }
    gui::StringsTextEdit *strings() const { return find<gui::StringsTextEdit>(*window, "stringstext"); }
    QString indicator() const { return find<QWidget>(*window, "work_2")->property("state").toString(); }

    void openScript(const QString &name)
    {
        window->selectPage(2);
        auto *file1 = find<gui::FileListBox>(*window, "File1");
        doubleClickListItem(file1, static_cast<int>(itemTexts(file1).indexOf(name)));
    }

    // Every row a command with four long arguments: far more than a small disk takes.
    void fillGrid()
    {
        for (int r = 0; r < gui::ScriptGrid::kRowCount; ++r) {
            pickItem(window->grid().combo(r), 5);
            for (int k = 0; k < gui::ScriptGrid::kFieldsPerRow; ++k)
                window->grid().field(r, k)->setText(argumentText(r, k));
        }
    }

    // The bytes Save Script writes for the filled grid.
    static std::string filledGridBytes()
    {
        std::string bytes;
        for (int r = 0; r < gui::ScriptGrid::kRowCount; ++r) {
            bytes += "Four";
            for (int k = 0; k < gui::ScriptGrid::kFieldsPerRow; ++k)
                bytes += " " + argumentText(r, k).toStdString();
            bytes += "\r\n";
        }
        return bytes + "\r\n";
    }

    QStringList gridContent() const
    {
        QStringList content;
        for (int r = 0; r < gui::ScriptGrid::kRowCount; ++r)
            content << QString::fromStdString(describeRow(*window, r));
        return content << window->windowTitle() << window->model().scriptName();
    }

    // Forty-odd kilobytes loaded, then a line typed at the end.
    void fillStringsEditor()
    {
        window->selectPage(3);
        std::string bytes;
        for (int i = 0; i < 600; ++i)
            bytes +=
                "KEY_" + std::to_string(i) + " a text long enough that six hundred fill a small disk\r\n";
        strings()->strings().setFileBytes(bytes);
        strings()->setFocus();
        QTest::keyClick(strings(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(strings(), "EDITED by hand");
    }

    GameRootBuilder game;
    std::unique_ptr<gui::MainWindow> window;
};

// The steps of each write: what is edited before it, the press, and what the user
// had in front of them, which a failed write must leave as it was.
void openAndFillGrid(Editor &e)
{
    e.openScript("a.txt");
    e.fillGrid();
}
void fillStrings(Editor &e)
{
    e.fillStringsEditor();
}
void showMainPage(Editor &e)
{
    e.window->selectPage(0);
}
// A file that another program removed or replaced by a folder is asked about first:
// the user answers Overwrite, so that the write itself fails.
void pressSaveScript(Editor &e, DialogAnswerer &answerer)
{
    answerer.queueButton(QMessageBox::Save);
    clickButton(e.button("savesc"));
}
void pressSaveScriptAsB(Editor &e, DialogAnswerer &answerer)
{
    answerer.queueAnswer("b.txt");
    answerer.queueButton(QMessageBox::Yes); // replace b.txt, where it still stands
    clickButton(e.button("savescas"));
}
void pressNewScript(Editor &e, DialogAnswerer &answerer)
{
    answerer.queueAnswer("new.txt");
    clickButton(e.button("NewSc"));
}
void pressSaveStrings(Editor &e, DialogAnswerer &answerer)
{
    answerer.queueButton(QMessageBox::Save);
    clickButton(e.button("savestrings"));
}
void pressMakeFile(Editor &e, DialogAnswerer &)
{
    clickButton(e.button("cmdstrings"));
}
QStringList grid(Editor &e)
{
    return e.gridContent();
}
QStringList stringsText(Editor &e)
{
    return {e.strings()->strings().text()};
}
QStringList stringsPart(Editor &e)
{
    return {e.indicator(), e.button("cmdstrings")->isEnabled() ? "enabled" : "disabled"};
}

// One write of the program, from the opening of its mod to the press that writes.
struct Operation
{
    const char *name;
    const char *mod;
    const char *folder; // where it writes, inside the mod
    std::size_t room;   // left on a full disk: less than it writes
    std::vector<std::string> targets;
    int beeps;
    void (*prepare)(Editor &);
    void (*press)(Editor &, DialogAnswerer &);
    QStringList (*content)(Editor &);
    const char *edited; // a text that the preparation put into the content
    // The targets a failure is reported for, when not all of them: a strings save stops
    // at the table, as the backup is written only after it.
    std::vector<std::string> reported = {};
};

const std::vector<std::string> kStringsFiles = {"strings_default.txt.bak", "strings_default.txt"};

// A new script (200 bytes) and Make File (3) fail on a full disk only without room.
// clang-format off
const Operation kSaveScript{"SaveScript", "mod", "scripts", 4096, {"a.txt"}, 0,
                            openAndFillGrid, pressSaveScript, grid, "r99k3-"};
const Operation kSaveScriptAs{"SaveScriptAs", "mod", "scripts", 4096, {"b.txt"}, 0,
                              openAndFillGrid, pressSaveScriptAsB, grid, "r99k3-"};
const Operation kNewScript{"NewScript", "mod", "scripts", 0, {"new.txt"}, 0,
                           openAndFillGrid, pressNewScript, grid, "r99k3-"};
const Operation kSaveStrings{"SaveStrings", "words", "", 0, kStringsFiles, 0,
                             fillStrings, pressSaveStrings, stringsText, "EDITED by hand",
                             {"strings_default.txt"}};
const Operation kMakeFile{"MakeFile", "bare", "", 0, {"strings_default.txt"}, 1,
                          showMainPage, pressMakeFile, stringsPart, "broken"};
// clang-format on

struct Applied
{
    std::shared_ptr<void> hold; // the failure lasts as long as this lives
    std::string how;
};

struct Failure
{
    const char *name;
    Applied (*apply)(const fs::path &folder, const std::vector<std::string> &targets, std::size_t room);
};

const Failure kDiskFull{"DiskFull",
                        [](const fs::path &folder, const std::vector<std::string> &, std::size_t room) {
                            auto full = std::make_shared<FullDisk>(folder, room);
                            return Applied{full, full->how()};
                        }};

struct Case
{
    const Operation *operation;
    const Failure *failure;
};

void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.operation->name << " / " << c.failure->name;
}

std::vector<Case> everyWriteAgainstEveryFailure()
{
    std::vector<Case> cases;
    for (const Operation *operation :
         {&kSaveScript, &kSaveScriptAs, &kNewScript, &kSaveStrings, &kMakeFile}) {
        // Each failure of the disk against each action is the core's to test (the
        // ModFiles table); here each write's failure is wired to its message once.
        cases.push_back({operation, &kDiskFull});
    }
    return cases;
}

class EachWrite : public ::testing::TestWithParam<Case>
{
protected:
    Editor editor;
};

TEST_P(EachWrite, failing_keepsTheFilesAndTheContent_andTellsTheUserWhichFile)
{
    const Operation &operation = *GetParam().operation;
    ASSERT_TRUE(editor.start(operation.mod));
    operation.prepare(editor);
    const QStringList content = operation.content(editor);
    ASSERT_TRUE(content.join(u'\n').contains(QString::fromLatin1(operation.edited)));

    const fs::path folder = editor.mod(operation.mod) / operation.folder;
    const Applied failure = GetParam().failure->apply(folder, operation.targets, operation.room);
    SCOPED_TRACE("failure made by " + failure.how);
    std::vector<std::string> before;
    for (const std::string &target : operation.targets)
        before.push_back(stateOf(folder / target));

    DialogAnswerer answerer;
    const int beeps = gui::ui::beepCount();
    operation.press(editor, answerer);

    for (std::size_t i = 0; i < operation.targets.size(); ++i)
        EXPECT_EQ(stateOf(folder / operation.targets[i]), before[i]) << operation.targets[i];
    EXPECT_FALSE(holdsTemporaryFile(folder)) << listing(folder);

    // One message for each file, naming it; the longest name that fits is the one
    // meant, as strings_default.txt is part of its backup's name.
    QStringList named;
    for (const QString &message : answerer.messages) {
        QString target;
        for (const std::string &name : operation.targets) {
            const QString path = QString::fromStdString((folder / name).string());
            if (message.contains(path) && path.size() > target.size())
                target = path;
        }
        named << target;
    }
    QStringList expected;
    for (const std::string &name : operation.reported.empty() ? operation.targets : operation.reported)
        expected << QString::fromStdString((folder / name).string());
    named.sort();
    expected.sort();
    EXPECT_EQ(named, expected) << answerer.messages.join(u'\n').toStdString();
    EXPECT_EQ(gui::ui::beepCount(), beeps + operation.beeps);

    EXPECT_EQ(operation.content(editor), content);
}

std::string caseName(const ::testing::TestParamInfo<Case> &tested)
{
    return std::string(tested.param.operation->name) + "_" + tested.param.failure->name;
}

INSTANTIATE_TEST_SUITE_P(WriteFailures, EachWrite, ::testing::ValuesIn(everyWriteAgainstEveryFailure()),
                         caseName);

class WriteFailures : public ::testing::Test
{
protected:
    Editor editor;
};

TEST_F(WriteFailures, newScriptNamedLikeAFolderMadeSinceTheListing_isRefusedWithTheBeep)
{
    ASSERT_TRUE(editor.start("mod"));
    editor.openScript("a.txt");
    editor.fillGrid();
    const QStringList grid = editor.gridContent();
    const fs::path scripts = editor.mod("mod") / "scripts";
    const struct
    {
        const char *folderName;
        const char *listingAfter;
    } cases[] = {{"new.txt", "a.txt b.txt new.txt"}, {"NEW.TXT", "NEW.TXT a.txt b.txt"}};
    for (const auto &[folderName, listingAfter] : cases) {
        SCOPED_TRACE(folderName);
        fs::create_directory(scripts / folderName);
        DialogAnswerer answerer;
        const int beeps = gui::ui::beepCount();
        answerer.queueAnswer("new.txt");
        clickButton(editor.button("NewSc"));
        EXPECT_EQ(gui::ui::beepCount(), beeps + 1);
        EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
        EXPECT_TRUE(fs::is_empty(scripts / folderName));
        EXPECT_EQ(listing(scripts), listingAfter);
        EXPECT_EQ(editor.gridContent(), grid);
        fs::remove(scripts / folderName);
    }
}

TEST_F(WriteFailures, stringsSaveOnAFullDisk_keepsTheOldFileAndBackup_andNamesOnlyTheTable)
{
    // Two pages of text: the disk holds the old file and its backup, and no more than a
    // page of the new text.
    const std::string line = "KEY a line of some sixty bytes to fill two pages with text\r\n";
    std::string bytes;
    while (bytes.size() < 6000)
        bytes += line;
    editor.game.write("mods/words/strings_default.txt", bytes);
    editor.game.write("mods/words/strings_default.txt.bak", "KEY the last save\r\n");
    ASSERT_TRUE(editor.start("words"));
    editor.window->selectPage(3);
    editor.strings()->setFocus();
    QTest::keyClick(editor.strings(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(editor.strings(), "EDITED");
    const QString text = editor.strings()->strings().text();
    const fs::path mod = editor.mod("words");
    FullDisk full(mod, 4096);
    DialogAnswerer answerer;
    clickButton(editor.button("savestrings"));
    EXPECT_EQ(readBytes(mod / "strings_default.txt.bak"), "KEY the last save\r\n");
    EXPECT_EQ(readBytes(mod / "strings_default.txt"), bytes);
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(answerer.messages.front().startsWith(
        QString::fromStdString((mod / "strings_default.txt").string()) + " could not be saved"))
        << answerer.messages.front().toStdString();
    EXPECT_FALSE(holdsTemporaryFile(mod));
    EXPECT_EQ(editor.strings()->strings().text(), text);
}

TEST_F(WriteFailures, makeFileOverAnUnreadableStringsFile_inAReadOnlyFolder_keepsTheOldBytes)
{
    const std::string old = "KEY only the game can read this\r\n";
    editor.game.write("mods/bare/strings_default.txt", old);
    ASSERT_TRUE(editor.start("mod"));
    {
        // Every read fails while it lives, as for a file root may not read either.
        const auto unreadable =
            std::shared_ptr<void>(nullptr, [](void *) { setIoFaultForTesting(std::nullopt); });
        setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0});
        openMod(*editor.window, "bare");
    }
    ASSERT_EQ(editor.indicator(), "broken");
    ASSERT_TRUE(editor.button("cmdstrings")->isEnabled());

    const fs::path mod = editor.mod("bare");
    UnwritableFolder unwritable(mod);
    DialogAnswerer answerer;
    editor.window->selectPage(0);
    clickButton(editor.button("cmdstrings"));
    EXPECT_EQ(readBytes(mod / "strings_default.txt"), old) << unwritable.how();
    EXPECT_EQ(listing(mod), "readme.txt strings_default.txt");
    ASSERT_EQ(answerer.messages.size(), 1);
    EXPECT_TRUE(
        answerer.messages.front().contains(QString::fromStdString((mod / "strings_default.txt").string())));
    EXPECT_EQ(editor.indicator(), "broken");
}

TEST_F(WriteFailures, saveScriptAfterAFullDiskHasRoomAgain_writesTheWholeKeptGrid)
{
    ASSERT_TRUE(editor.start("mod"));
    editor.openScript("a.txt");
    editor.fillGrid();
    const fs::path scripts = editor.mod("mod") / "scripts";
    {
        DialogAnswerer answerer;
        FullDisk full(scripts, 4096);
        clickButton(editor.button("savesc"));
        ASSERT_EQ(answerer.messages.size(), 1) << full.how();
    }
    DialogAnswerer answerer;
    clickButton(editor.button("savesc"));
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join(u'\n').toStdString();
    EXPECT_EQ(readBytes(scripts / "a.txt"), Editor::filledGridBytes());
    EXPECT_EQ(listing(scripts), "a.txt b.txt");
    EXPECT_EQ(describeRow(*editor.window, 99),
              "Four|" + argumentText(99, 0).toStdString() + "," + argumentText(99, 1).toStdString() + "," +
                  argumentText(99, 2).toStdString() + "," + argumentText(99, 3).toStdString() + "|-");
}

} // namespace
} // namespace cw::test
