// What the model keeps of the open files on disk, without a window: each change another
// program makes is announced once, and what is read or written again starts afresh.
#include "GuiSupport.h"

#include "gui/model/FileListModel.h"
#include "gui/model/ScriptEditor.h"
#include "gui/model/StringsText.h"
#include "gui/model/UnsavedChanges.h"
#include "gui/model/WindowModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace cw::test {
namespace {

TEST(WindowModelOnDisk, eachChangeIsAnnouncedOnce_untilTheFileIsReadOrWrittenAgain)
{
    GameRootBuilder game;
    game.withBasics();
    game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
    game.write("mods/mod/scripts/intro.txt", "One 1\r\n");
    auto root = openGameRoot(game.root());
    ASSERT_TRUE(root.ok());
    gui::WindowModel model(std::move(root).value());
    model.openMod(0, gui::RefreshReason::UserOrFolderAction);
    ASSERT_TRUE(model.openScript("intro.txt").ok());
    QSignalSpy announced(&model, &gui::WindowModel::changedOnDisk);

    model.lookAtDisk();
    EXPECT_EQ(announced.count(), 0);
    game.write("mods/mod/scripts/intro.txt", "Two far 3\r\n");
    model.lookAtDisk();
    model.lookAtDisk();
    ASSERT_EQ(announced.count(), 1);
    EXPECT_EQ(announced.at(0).at(0).value<gui::OpenFile>(), gui::OpenFile::Script);
    EXPECT_EQ(announced.at(0).at(1).value<DiskState>(), DiskState::Changed);
    // Comparing changes nothing the model keeps: the save still sees the change.
    EXPECT_EQ(model.diskState(gui::OpenFile::Script, Compare::Bytes), DiskState::Changed);

    // Another change of the same file is news again; one read again is not.
    game.write("mods/mod/scripts/intro.txt", "Two far 30\r\n");
    model.lookAtDisk();
    EXPECT_EQ(announced.count(), 2);
    ASSERT_TRUE(model.openScript("intro.txt").ok());
    model.lookAtDisk();
    EXPECT_EQ(announced.count(), 2);

    std::filesystem::remove(game.root() / "mods/mod/strings_default.txt");
    model.lookAtDisk();
    model.lookAtDisk();
    ASSERT_EQ(announced.count(), 3);
    EXPECT_EQ(announced.at(2).at(0).value<gui::OpenFile>(), gui::OpenFile::Strings);
    EXPECT_EQ(announced.at(2).at(1).value<DiskState>(), DiskState::Gone);
}

// A listed name stays its bytes: shown as the system decodes it (a name that is not
// UTF-8 with a replacement character), and found again by its bytes or by the text
// shown, in any letter case.
TEST(FileListModel, keepsEachNameAsItsBytes_andFindsItByThemOrByItsText)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are UTF-16: the bytes are the system's to convert";
#endif
    gui::FileListModel files;
    files.setNames("scripts", {"caf\xE9.txt", "Intro.txt"});
    ASSERT_EQ(files.rowCount(), 2);
    const QModelIndex first = files.index(0, 0);
    EXPECT_EQ(first.data().toString(), QString::fromUtf8("caf\xEF\xBF\xBD.txt"));
    EXPECT_EQ(first.data(gui::FileListModel::NameRole).toByteArray(), QByteArray("caf\xE9.txt"));
    EXPECT_EQ(files.path(0), std::filesystem::path("scripts") / pathFromName("caf\xE9.txt"));
    EXPECT_EQ(files.rowOf("Intro.txt"), 1);
    EXPECT_EQ(files.rowOf("intro.txt"), -1);
    EXPECT_EQ(files.nameShownAs(QString::fromUtf8("CAF\xEF\xBF\xBD.TXT")), "caf\xE9.txt");
    EXPECT_EQ(files.name(2), "");
    EXPECT_EQ(files.path(-1), std::filesystem::path());
}

// Answers the guard's questions from a list, recording each.
class ScriptedQuestion : public gui::UnsavedQuestion
{
public:
    explicit ScriptedQuestion(std::vector<Answer> answers) : m_answers(std::move(answers)) {}
    Answer ask(const QString &question, const QString &why, bool canSave) override
    {
        asked << question + (why.isEmpty() ? QString() : " | " + why) + (canSave ? "" : " (no Save)");
        return m_answers.empty() ? Answer::Cancel : m_answers[asked.size() - 1];
    }
    QStringList asked;

private:
    std::vector<Answer> m_answers;
};

// Which edits the guard asks about before each action, what each answer lets happen,
// and which save it runs.
TEST(UnsavedChangesGuard, asksAboutWhatTheActionWouldReplace_andDoesWhatTheAnswerSays)
{
    using Answer = gui::UnsavedQuestion::Answer;
    using Before = gui::UnsavedChanges::Before;
    const struct
    {
        const char *what;
        bool gridEdited, stringsEdited;
        Before before;
        std::vector<Answer> answers;
        bool saveSucceeds;
        QStringList asked;
        bool mayGoOn;
        QStringList saved;
    } cases[] = {
        {"nothing edited", false, false, Before::OpeningMod, {}, true, {}, true, {}},
        {"grid, Discard",
         true,
         false,
         Before::OpeningScript,
         {Answer::Discard},
         true,
         {"Save changes to intro.txt before opening another script?"},
         true,
         {}},
        {"grid, Save",
         true,
         false,
         Before::NewScript,
         {Answer::Save},
         true,
         {"Save changes to intro.txt before making a new script?"},
         true,
         {"script"}},
        {"grid, Save that fails",
         true,
         false,
         Before::DeletingScript,
         {Answer::Save},
         false,
         {"Save changes to intro.txt before deleting the script?"},
         false,
         {"script"}},
        {"grid, Cancel",
         true,
         false,
         Before::Closing,
         {Answer::Cancel},
         true,
         {"Save changes to intro.txt before closing?"},
         false,
         {}},
        // Another script replaces the grid only: the strings editor's text stays.
        {"strings before another script", false, true, Before::OpeningScript, {}, true, {}, true, {}},
        {"both before another mod",
         true,
         true,
         Before::OpeningMod,
         {Answer::Save, Answer::Discard},
         true,
         {"Save changes to intro.txt before opening another mod?",
          "Save changes to strings_default.txt before opening another mod?"},
         true,
         {"script"}},
        {"strings, Save",
         false,
         true,
         Before::ReopeningMod,
         {Answer::Save},
         true,
         {"Save changes to strings_default.txt before opening the mod again?"},
         true,
         {"strings"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        GameRootBuilder game;
        game.withBasics();
        game.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
        game.write("mods/mod/scripts/intro.txt", "One 1\r\n");
        gui::WindowModel model(openGameRoot(game.root()).value());
        model.openMod(0, gui::RefreshReason::UserOrFolderAction);
        ASSERT_TRUE(model.openScript("intro.txt").ok());
        if (c.gridEdited)
            model.editor().setArgument(0, 0, QStringLiteral("2"));
        if (c.stringsEdited)
            model.stringsText().setModified(true);
        ScriptedQuestion question(c.answers);
        gui::UnsavedChanges guard(model, question);
        QStringList saved;
        guard.setSaves(
            [&] {
                saved << "script";
                return c.saveSucceeds;
            },
            [&] {
                saved << "strings";
                return c.saveSucceeds;
            });
        EXPECT_EQ(guard.mayReplace(c.before), c.mayGoOn);
        EXPECT_EQ(question.asked, c.asked);
        EXPECT_EQ(saved, c.saved);
    }
}

// Lines that belong to no script can be saved only into the mod's scripts folder: the
// question says so, and offers no Save, where the mod has none.
TEST(UnsavedChangesGuard, linesOfNoScriptInAModWithoutAScriptsFolder_offerNoSave)
{
    GameRootBuilder game;
    game.withBasics();
    game.write("mods/bare/strings_default.txt", "GREETING Hello\r\n");
    gui::WindowModel model(openGameRoot(game.root()).value());
    model.openMod(0, gui::RefreshReason::UserOrFolderAction);
    ASSERT_FALSE(model.scriptOpen());
    model.editor().chooseCommand(0, 1);
    ScriptedQuestion question({});
    gui::UnsavedChanges guard(model, question);
    EXPECT_FALSE(guard.mayReplace(gui::UnsavedChanges::Before::Closing));
    EXPECT_EQ(question.asked,
              QStringList{"Save the lines in the grid as a script before closing? | They cannot be "
                          "saved: the mod has no scripts folder to hold them. (no Save)"});
}

} // namespace
} // namespace cw::test
