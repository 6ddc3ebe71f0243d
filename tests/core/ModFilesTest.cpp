// Every action on a mod's files against every failure the disk can make, what each
// refuses when another program changed the file meanwhile, and where a deleted script
// may go.
#include "core/workspace/ModFiles.h"

#include "core/io/Files.h"
#include "support/Faults.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

namespace cw {
namespace {

using test::readBytes;
using test::TempDir;

std::string stateOf(const fs::path &path)
{
    return fs::is_directory(path) ? std::string("<folder>") : readBytes(path);
}

// A mod "m" with a script (unless its folder is to hold files only, as a small disk
// mounted over it needs) and a strings table; the text of every write is two pages, more
// than a small disk holds.
struct Mod
{
    explicit Mod(bool withScripts = true)
    {
        if (withScripts)
            dir.write("m/scripts/a.txt", "One 1\r\n");
        dir.write("m/strings_default.txt", "KEY old\r\n");
        dir.write("m/strings_default.txt.bak", "KEY older\r\n");
    }
    TempDir dir;
    ModFiles files{dir / "m"};
    const std::string text = std::string(6000, 'x') + "\r\n";
};

struct Action
{
    const char *name;
    const char *folder;               // where it writes, in the mod
    std::vector<std::string> targets; // what it writes there
    std::function<Result<Done, IoError>(Mod &)> act;
};

template<class T> Result<Done, IoError> done(const Result<T, IoError> &result)
{
    if (!result)
        return result.error();
    return Done{};
}

const Action kActions[] = {
    {"WriteScript",
     "scripts",
     {"a.txt"},
     [](Mod &m) {
         return done(m.files.writeScript(m.dir / "m/scripts/a.txt", m.text,
                                         FileStamp::of(m.dir / "m/scripts/a.txt", "One 1\r\n")));
     }},
    {"CreateScript",
     "scripts",
     {"new.txt"},
     [](Mod &m) {
         return done(m.files.createScript("new.txt", m.text));
     }},
    {"WriteStrings",
     "",
     {"strings_default.txt", "strings_default.txt.bak"},
     [](Mod &m) {
         return done(m.files.writeStrings(m.text, FileStamp()));
     }},
    {"MakeFolder",
     "",
     {"levels"},
     [](Mod &m) {
         return m.files.makeFolder("levels");
     }},
};

// A failure of the disk in the folder an action writes to, and how this machine made
// it; what it holds lives as long as the failure.
struct Made
{
    std::shared_ptr<void> hold;
    std::string how;
};

struct Failure
{
    const char *name;
    std::function<Made(const fs::path &folder, const std::vector<std::string> &targets)> make;
};

const Failure kFailures[] = {
    {"ReadOnlyFolder",
     [](const fs::path &folder, const std::vector<std::string> &) {
         auto unwritable = std::make_shared<test::UnwritableFolder>(folder);
         return Made{unwritable, unwritable->how()};
     }},
    {"DiskFull",
     [](const fs::path &folder, const std::vector<std::string> &) {
         auto full = std::make_shared<test::FullDisk>(folder, 4096);
         return Made{full, full->how()};
     }},
    {"FolderGone",
     [](const fs::path &folder, const std::vector<std::string> &) {
         fs::remove_all(folder);
         return Made{nullptr, "removed"};
     }},
    {"FolderInTheWay",
     [](const fs::path &folder, const std::vector<std::string> &targets) {
         for (const std::string &target : targets) {
             fs::remove(folder / target);
             fs::create_directory(folder / target);
         }
         return Made{nullptr, "folder"};
     }},
};

TEST(ModFiles, everyActionOnAFailingDisk_isRefused_naming_andKeepingItsTarget)
{
    for (const Action &action : kActions) {
        for (const Failure &failure : kFailures) {
            // A folder is made wherever the folder may be written to: only a read-only or a
            // vanished mod refuses it (a full disk keeps room for a folder, and one that
            // stands there already is refused before anything is made).
            if (action.name == std::string("MakeFolder") && failure.name != std::string("ReadOnlyFolder") &&
                failure.name != std::string("FolderGone"))
                continue;
            SCOPED_TRACE(std::string(action.name) + " / " + failure.name);
            Mod mod(*action.folder != '\0');
            const fs::path folder = mod.dir / "m" / action.folder;
            const Made made = failure.make(folder, action.targets);
            // The seam fails the writing of files, not the making of a folder.
            if (made.how == "seam" && action.name == std::string("MakeFolder"))
                continue;
            SCOPED_TRACE("failure made by " + made.how);
            std::vector<std::string> before;
            for (const std::string &target : action.targets)
                before.push_back(stateOf(folder / target));

            const auto result = action.act(mod);

            ASSERT_FALSE(result.ok());
            EXPECT_EQ(result.error().path, folder / action.targets.front()) << result.error().reason;
            for (std::size_t i = 0; i < action.targets.size(); ++i)
                EXPECT_EQ(stateOf(folder / action.targets[i]), before[i]) << action.targets[i];
            if (fs::exists(folder)) {
                EXPECT_FALSE(test::holdsTemporaryFile(folder));
            }
        }
    }
}

// What another program did to a file since it was read stops a write over it, unless
// the write is told to go ahead (a stamp of nothing); the other program's bytes stay.
TEST(ModFiles, aWriteOverAFileAnotherProgramChanged_isRefused_unlessToldToGoAhead)
{
    Mod mod;
    const fs::path script = mod.dir / "m/scripts/a.txt";
    const auto read = mod.files.readScript(script);
    ASSERT_TRUE(read.ok());
    mod.dir.write("m/scripts/a.txt", "Two far 3\r\n");
    const auto changed = mod.files.writeScript(script, "One 2\r\n", read->stamp);
    ASSERT_FALSE(changed.ok());
    EXPECT_TRUE(changed.error().untouchedFile);
    EXPECT_EQ(readBytes(script), "Two far 3\r\n");

    const auto strings = mod.files.readStrings();
    ASSERT_TRUE(strings.ok());
    fs::remove(mod.files.stringsFile());
    EXPECT_FALSE(mod.files.writeStrings("KEY new\r\n", strings->stamp).ok());
    EXPECT_FALSE(fs::exists(mod.files.stringsFile()));

    const auto written = mod.files.writeScript(script, "One 2\r\n", FileStamp());
    ASSERT_TRUE(written.ok());
    EXPECT_EQ(readBytes(script), "One 2\r\n");
    // The stamp returned is what the next write is checked against.
    EXPECT_TRUE(mod.files.writeScript(script, "One 3\r\n", *written).ok());
}

TEST(ModFiles, theStringsSave_writesTheTableThenTheSameBytesToItsBackup)
{
    Mod mod;
    const auto saved = mod.files.writeStrings("KEY new\r\n", FileStamp());
    ASSERT_TRUE(saved.ok());
    EXPECT_FALSE(saved->backupFailed);
    EXPECT_EQ(readBytes(mod.files.stringsFile()), "KEY new\r\n");
    EXPECT_EQ(*mod.files.readStringsBackup(), "KEY new\r\n");
    // A backup that cannot be written is said; the table is saved all the same.
    fs::remove(mod.files.stringsBackup());
    fs::create_directory(mod.files.stringsBackup());
    const auto withoutBackup = mod.files.writeStrings("KEY newer\r\n", saved->stamp);
    ASSERT_TRUE(withoutBackup.ok());
    ASSERT_TRUE(withoutBackup->backupFailed);
    EXPECT_EQ(withoutBackup->backupFailed->path, mod.files.stringsBackup());
    EXPECT_EQ(readBytes(mod.files.stringsFile()), "KEY newer\r\n");
}

// Nothing the program makes takes the place of what stands there in another letter
// case, and nothing outside the mod is written through it.
TEST(ModFiles, whatItMakes_neverReplacesANameInAnyLetterCase_norLeavesTheMod)
{
    Mod mod;
    mod.dir.makeFolder("m/Levels");
    mod.dir.write("m/scripts/Intro.txt", "One 1\r\n");
    mod.dir.write("root.txt", "the game's\r\n");
    EXPECT_FALSE(mod.files.createScript("INTRO.TXT", "x").ok());
    EXPECT_FALSE(mod.files.makeFolder("levels").ok());
    EXPECT_FALSE(mod.files.createStrings().ok());
    EXPECT_EQ(readBytes(mod.dir / "m/scripts/Intro.txt"), "One 1\r\n");
    EXPECT_EQ(readBytes(mod.files.stringsFile()), "KEY old\r\n");
    EXPECT_FALSE(mod.files.writeScript(mod.dir / "root.txt", "x", FileStamp()).ok());
    EXPECT_EQ(readBytes(mod.dir / "root.txt"), "the game's\r\n");

    Mod bare;
    fs::remove(bare.files.stringsFile());
    const auto made = bare.files.createStrings();
    ASSERT_TRUE(made.ok());
    EXPECT_EQ(readBytes(bare.files.stringsFile()), " \r\n");
}

// The trash is the window's; the core counts a move only where a trash can restore the
// script, and puts back what went anywhere else.
TEST(ModFiles, aDeletedScript_isInATrashThatRestoresIt_orPutBack_orSaidWhereItIs)
{
    const auto moveInto = [](const fs::path &trash, bool withInfo) {
        return [trash, withInfo](const fs::path &file) -> std::optional<fs::path> {
            fs::create_directories(trash / "files");
            fs::create_directories(trash / "info");
            const fs::path inTrash = trash / "files" / file.filename();
            if (withInfo) {
                std::ofstream(trash / "info" / (file.filename().string() + ".trashinfo"))
                    << "[Trash Info]\nPath=" << file.string() << "\n";
            }
            fs::rename(file, inTrash);
            return inTrash;
        };
    };
    {
        Mod mod;
        const fs::path script = mod.dir / "m/scripts/a.txt";
        const auto gone = mod.files.trashScript(script, moveInto(mod.dir / "home/Trash", true));
        ASSERT_TRUE(gone.ok());
        EXPECT_EQ(gone->outcome, Trashed::Outcome::InTrash);
        EXPECT_FALSE(fs::exists(script));
    }
    for (const bool insideTheMod : {true, false}) {
        SCOPED_TRACE(insideTheMod ? "a trash inside the mod" : "a trash without its record");
        Mod mod;
        const fs::path script = mod.dir / "m/scripts/a.txt";
        const fs::path trash = insideTheMod ? mod.dir / "m/.Trash-0" : mod.dir / "home/Trash";
        const auto back = mod.files.trashScript(script, moveInto(trash, insideTheMod));
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back->outcome, Trashed::Outcome::NotMoved);
        EXPECT_EQ(readBytes(script), "One 1\r\n");
    }
    {
        Mod mod;
        const fs::path script = mod.dir / "m/scripts/a.txt";
        const auto untouched = mod.files.trashScript(script, [](const fs::path &) { return std::nullopt; });
        ASSERT_TRUE(untouched.ok());
        EXPECT_EQ(untouched->outcome, Trashed::Outcome::NotMoved);
        // A file that took the name meanwhile is never replaced by the one put back.
        const auto stranded =
            mod.files.trashScript(script, [&](const fs::path &file) -> std::optional<fs::path> {
                const fs::path elsewhere = mod.dir / "elsewhere.txt";
                fs::rename(file, elsewhere);
                mod.dir.write("m/scripts/a.txt", "Two new 2\r\n");
                return elsewhere;
            });
        ASSERT_TRUE(stranded.ok());
        EXPECT_EQ(stranded->outcome, Trashed::Outcome::Stranded);
        EXPECT_EQ(stranded->where, mod.dir / "elsewhere.txt");
        EXPECT_EQ(readBytes(script), "Two new 2\r\n");
        EXPECT_EQ(readBytes(mod.dir / "elsewhere.txt"), "One 1\r\n");
    }
}

} // namespace
} // namespace cw
