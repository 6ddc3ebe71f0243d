// What the model keeps of the open files on disk, without a window: each change another
// program makes is announced once, and what is read or written again starts afresh.
#include "GuiSupport.h"

#include "gui/model/ScriptEditor.h"
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

} // namespace
} // namespace cw::test
