#include "core/io/Files.h"
#include "core/io/IoFaults.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace cw {
namespace {

using test::readBytes;
using test::TempDir;

using Names = std::vector<std::string>;

Names list(const fs::path &folder, EntryKind kind = EntryKind::Files, std::string_view pattern = "*")
{
    auto names = listFolder(folder, kind, pattern);
    EXPECT_TRUE(names.ok());
    return names ? *names : Names{};
}

TEST(AtomicWrite, createsAndReplacesWithExactBytes)
{
    TempDir dir;
    const fs::path target = dir / "intro.txt";
    ASSERT_TRUE(writeFileAtomically(target, test::bytes("A\r\n\0\xFF"), ModBoundary(dir.path())).ok());
    EXPECT_EQ(readBytes(target), test::bytes("A\r\n\0\xFF"));
    ASSERT_TRUE(writeFileAtomically(target, "", ModBoundary(dir.path())).ok());
    EXPECT_EQ(readBytes(target), "");
    EXPECT_EQ(test::listing(dir.path()), "intro.txt");
}

TEST(AtomicWrite, failures_leaveTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    dir.makeFolder("scripts/taken.txt");
    const auto intoFolder = writeFileAtomically(dir / "scripts/taken.txt", "x", ModBoundary(dir.path()));
    ASSERT_FALSE(intoFolder.ok());
    EXPECT_NE(intoFolder.error().reason.find("folder"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir / "scripts/taken.txt"));

    TempDir bare;
    const auto noFolder = writeFileAtomically(bare / "scripts/a.txt", "x", ModBoundary(bare.path()));
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(test::listing(bare.path()), "");
    EXPECT_EQ(test::listing(dir / "scripts"), "taken.txt");
}

TEST(ReadFile, readsBytes_andRefusesFoldersAndMissingFiles)
{
    TempDir dir;
    dir.write("a.txt", test::bytes("x\0y"));
    EXPECT_EQ(*readFile(dir / "a.txt"), test::bytes("x\0y"));
    EXPECT_FALSE(readFile(dir / "missing.txt").ok());
    EXPECT_FALSE(readFile(dir.path()).ok());
    EXPECT_EQ(*fileHasContent(dir / "a.txt"), true);
    dir.write("empty", "");
    EXPECT_EQ(*fileHasContent(dir / "empty"), false);
    EXPECT_FALSE(fileHasContent(dir / "missing").ok());
}

TEST(SameFile, onePathOrTwoSpellingsOfOneEntry_neverTwoFilesOrNothing)
{
    TempDir dir;
    const auto a = dir.write("a.txt", "A");
    const auto b = dir.write("b.txt", "A");
    dir.makeFolder("sub");
    EXPECT_TRUE(sameFile(a, a));
    EXPECT_TRUE(sameFile(a, dir / "sub/../a.txt"));
    EXPECT_FALSE(sameFile(a, b)); // the same bytes, another file
    EXPECT_FALSE(sameFile(dir / "missing.txt", dir / "sub/../missing.txt"));
}

TEST(ListFolder, sortsWithoutCaseByteByByte_andLeavesOutHiddenEntries)
{
    TempDir dir;
    for (const char *name : {"empty.txt", "e.txt", "B.txt", "a.TXT", ".hidden.txt", "notes.doc", "_x.txt"})
        dir.write(name, "x");
    dir.makeFolder("sub.txt");
    EXPECT_EQ(list(dir.path()), Names({"_x.txt", "a.TXT", "B.txt", "e.txt", "empty.txt", "notes.doc"}));
    EXPECT_EQ(list(dir.path(), EntryKind::Files, "*.txt"),
              Names({"_x.txt", "a.TXT", "B.txt", "e.txt", "empty.txt"}));
    EXPECT_EQ(list(dir.path(), EntryKind::Folders), Names{"sub.txt"});
    EXPECT_FALSE(listFolder(dir / "nowhere", EntryKind::Files).ok());
    EXPECT_FALSE(listFolder(dir / "e.txt", EntryKind::Files).ok());
}

TEST(ListFolder, namesThatDifferOnlyInCase_keepAStableOrder)
{
    TempDir dir;
    if (!test::caseSensitiveFileSystem(dir.path()))
        GTEST_SKIP() << "this file system keeps one file for names that differ only in case";
    dir.write("b.txt", "");
    dir.write("B.txt", "");
    EXPECT_EQ(list(dir.path()), Names({"B.txt", "b.txt"}));
}

// A file system that ignores case (Windows) finds "Mods" as "mods" by itself, but the
// folder's own spelling is what the program names, as on Linux. Where case counts,
// "mods" and "Mods" are two folders and the exact spelling wins.
TEST(FindNoCase, prefersTheExactSpelling_thenAnyCase)
{
    TempDir dir;
    dir.makeFolder("Mods");
    EXPECT_EQ(findNoCase(dir.path(), "mods"), dir / "Mods");
    EXPECT_EQ(findNoCase(dir.path(), "MODS"), dir / "Mods");
    dir.makeFolder("mods");
    if (test::caseSensitiveFileSystem(dir.path())) {
        EXPECT_EQ(findNoCase(dir.path(), "mods"), dir / "mods");
        EXPECT_EQ(test::listing(dir.path()), "Mods mods");
    } else {
        EXPECT_EQ(findNoCase(dir.path(), "mods"), dir / "Mods");
        EXPECT_EQ(test::listing(dir.path()), "Mods");
    }
    EXPECT_EQ(findNoCase(dir.path(), "scripts"), dir / "scripts");
    EXPECT_EQ(findNoCase(dir / "nowhere", "x"), dir / "nowhere" / "x");
}

TEST(FolderAndFileActions, createAndDelete)
{
    TempDir dir;
    EXPECT_TRUE(createFolder(dir / "scripts", ModBoundary(dir.path())).ok());
    EXPECT_FALSE(createFolder(dir / "scripts", ModBoundary(dir.path())).ok());
    EXPECT_FALSE(createFolder(dir / "no/parent", ModBoundary(dir.path())).ok());
    dir.write("a.txt", "x");
    EXPECT_TRUE(deleteFile(dir / "a.txt", ModBoundary(dir.path())).ok());
    EXPECT_FALSE(deleteFile(dir / "a.txt", ModBoundary(dir.path())).ok());
    EXPECT_FALSE(deleteFile(dir / "scripts", ModBoundary(dir.path())).ok());
    EXPECT_TRUE(fs::is_directory(dir / "scripts"));
}

} // namespace
} // namespace cw

namespace cw {
namespace {

TEST(CreateFileAtomically, createsOnlyWhereNothingIsYet)
{
    TempDir dir;
    ASSERT_TRUE(createFileAtomically(dir / "new.txt", "\r\n", ModBoundary(dir.path())).ok());
    EXPECT_EQ(readBytes(dir / "new.txt"), "\r\n");
    const auto again = createFileAtomically(dir / "new.txt", "other", ModBoundary(dir.path()));
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(readBytes(dir / "new.txt"), "\r\n");
    dir.makeFolder("folder.txt");
    EXPECT_FALSE(createFileAtomically(dir / "folder.txt", "x", ModBoundary(dir.path())).ok());
    EXPECT_FALSE(createFileAtomically(dir / "missing/x.txt", "x", ModBoundary(dir.path())).ok());
    EXPECT_EQ(test::listing(dir.path()), "folder.txt new.txt");
}

} // namespace
} // namespace cw

#include "support/Faults.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace cw {
namespace {

TEST(FileFailures, fullDisk_failsTheWritePartWay_andLeavesTheOldFile)
{
    TempDir dir;
    const auto folder = dir.makeFolder("scripts");
    dir.write("scripts/a.txt", "old bytes\r\n");
    const std::string big(10000, 'x');
    {
        test::FullDisk full(folder, 4096);
        const auto written = writeFileAtomically(folder / "a.txt", big, ModBoundary(dir.path()));
        ASSERT_FALSE(written.ok()) << full.how();
        EXPECT_NE(written.error().reason.find("space"), std::string::npos) << written.error().reason;
        EXPECT_EQ(readBytes(folder / "a.txt"), "old bytes\r\n") << full.how();
        EXPECT_FALSE(test::holdsTemporaryFile(folder)) << full.how();
        EXPECT_FALSE(createFileAtomically(folder / "b.txt", big, ModBoundary(dir.path())).ok());
        EXPECT_FALSE(fs::exists(folder / "b.txt"));
        // What fits is written.
        EXPECT_TRUE(writeFileAtomically(folder / "a.txt", "small\r\n", ModBoundary(dir.path())).ok())
            << full.how();
        EXPECT_EQ(readBytes(folder / "a.txt"), "small\r\n");
    }
}

TEST(FileFailures, unwritableFolder_refusesEveryWrite_andKeepsItsFiles)
{
    TempDir dir;
    const auto folder = dir.makeFolder("scripts");
    dir.write("scripts/a.txt", "old\r\n");
    test::UnwritableFolder unwritable(folder);
    EXPECT_FALSE(writeFileAtomically(folder / "a.txt", "new", ModBoundary(dir.path())).ok())
        << unwritable.how();
    EXPECT_FALSE(createFileAtomically(folder / "b.txt", "new", ModBoundary(dir.path())).ok())
        << unwritable.how();
    EXPECT_EQ(readBytes(folder / "a.txt"), "old\r\n");
    EXPECT_EQ(test::listing(folder), "a.txt");
}

#ifndef _WIN32
// Windows keeps no FIFOs or devices in a folder.
TEST(FileFailures, specialFiles_areNeitherListedNorRead)
{
    TempDir dir;
    dir.write("a.txt", "x");
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(list(dir.path(), EntryKind::Files, "*.txt"), Names{"a.txt"});
    const auto read = readFile(dir / "pipe.txt");
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().reason, "it is not a regular file");
    EXPECT_FALSE(fileHasContent(dir / "pipe.txt").ok());
}
#endif

TEST(FileFailures, readFault_isReportedWithItsReason)
{
    TempDir dir;
    dir.write("a.txt", "x");
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0});
    const auto read = readFile(dir / "a.txt");
    setIoFaultForTesting(std::nullopt);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().reason, "Permission denied");
}

} // namespace
} // namespace cw

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cw {
namespace {

#ifndef _WIN32
// Windows has no mode bits, owners or umask; what it has instead, the read-only
// attribute, is tested below with the permission bits.

// The mask a process starts with on most systems; the old file's bits must win over it.
class Umask
{
public:
    explicit Umask(mode_t mask) : m_previous(::umask(mask)) {}
    ~Umask() { ::umask(m_previous); }

private:
    mode_t m_previous;
};

mode_t modeOf(const fs::path &path)
{
    struct stat info
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

TEST(AtomicWrite, keepsTheModeBitsExactly_whateverTheUmask)
{
    TempDir dir;
    const Umask mask(022);
    for (const mode_t mode : {0664, 0600, 0660, 0755}) {
        const fs::path target = dir.write("s.txt", "old");
        ASSERT_EQ(::chmod(target.c_str(), mode), 0);
        ASSERT_TRUE(writeFileAtomically(target, "new", ModBoundary(dir.path())).ok());
        EXPECT_EQ(modeOf(target), mode) << std::oct << mode;
    }
    // A new file is made as any program makes one.
    ASSERT_TRUE(writeFileAtomically(dir / "fresh.txt", "x", ModBoundary(dir.path())).ok());
    EXPECT_EQ(modeOf(dir / "fresh.txt"), 0644u);
}

TEST(AtomicWrite, keepsOwnerAndGroup_whereTheProcessMay)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    TempDir dir;
    const fs::path target = dir.write("s.txt", "old");
    ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
    ASSERT_TRUE(writeFileAtomically(target, "new", ModBoundary(dir.path())).ok());
    struct stat info
    {
    };
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 1234u);
    EXPECT_EQ(info.st_gid, 5678u);
}

#endif

// Root passes every permission check, so the permission bits alone must stop it. On
// Windows, taking away the write bits sets the read-only attribute.
TEST(AtomicWrite, readOnlyFile_isRefused_andKeptAsItWas)
{
    using fs::perms;
    TempDir dir;
    const fs::path target = dir.write("s.txt", "old");
    for (const perms mode :
         {perms::owner_read | perms::group_read | perms::others_read, perms::owner_read, perms::none}) {
        fs::permissions(target, mode);
        const auto written = writeFileAtomically(target, "new", ModBoundary(dir.path()));
        ASSERT_FALSE(written.ok()) << static_cast<unsigned>(mode);
        EXPECT_EQ(written.error().reason, "it is read-only");
        const perms kept = fs::status(target).permissions();
        EXPECT_EQ(kept & perms::owner_write, perms::none);
#ifndef _WIN32
        EXPECT_EQ(kept, mode);
#endif
    }
    fs::permissions(target, perms::owner_read | perms::owner_write);
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(test::listing(dir.path()), "s.txt");
}

// What the manual promises about hard links: the saved name gets a file of its own.
TEST(AtomicWrite, otherHardLinksOfTheFile_keepTheOldContent)
{
    TempDir dir;
    const fs::path target = dir.write("a.txt", "old");
    fs::create_hard_link(target, dir / "b.txt");
    ASSERT_TRUE(writeFileAtomically(target, "new", ModBoundary(dir.path())).ok());
    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(readBytes(dir / "b.txt"), "old");
}

TEST(AtomicWrite, removesStaleTemporaryFilesOfItsOwnNaming_andNothingElse)
{
    TempDir dir;
    const auto age = [&dir](const char *name, std::chrono::seconds old) {
        const fs::path path = dir.write(name, "left behind");
        fs::last_write_time(path, fs::file_time_type::clock::now() - old);
    };
    age(".~cuewright-0badc0de.tmp", std::chrono::seconds(120)); // a killed save
    age(".~cuewright-12345678.tmp", std::chrono::seconds(5));   // a save still running
    age(".~cuewright-notours1.tmp", std::chrono::seconds(120));
    age(".~cuewright-0badc0de.tmp.txt", std::chrono::seconds(120));
    age("intro.txt", std::chrono::seconds(120));
    dir.makeFolder(".~cuewright-00000000.tmp");

    ASSERT_TRUE(writeFileAtomically(dir / "a.txt", "x", ModBoundary(dir.path())).ok());
    EXPECT_EQ(test::listing(dir.path()), ".~cuewright-00000000.tmp .~cuewright-0badc0de.tmp.txt "
                                         ".~cuewright-12345678.tmp .~cuewright-notours1.tmp a.txt intro.txt");
}

TEST(AtomicWrite, failedFlush_reportsTheFailure_andKeepsTheOldFile)
{
    TempDir dir;
    const fs::path target = dir.write("a.txt", "old");
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Flush, EIO, 0, target});
    const auto written = writeFileAtomically(target, "new", ModBoundary(dir.path()));
    const auto created = createFileAtomically(dir / "b.txt", "new", ModBoundary(dir.path()));
    setIoFaultForTesting(std::nullopt);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().reason, std::strerror(EIO));
    EXPECT_TRUE(created.ok()) << "the fault was for a.txt alone";
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(test::listing(dir.path()), "a.txt b.txt");
}

TEST(ReadFile, refusesFilesPastTheLimit_withoutReadingThem)
{
    TempDir dir;
    const fs::path limit = dir.write("limit.txt", "");
    fs::resize_file(limit, kMaxFileBytes);
    const auto read = readFile(limit);
    ASSERT_TRUE(read.ok()) << read.error().reason;
    EXPECT_EQ(read->size(), kMaxFileBytes);

    const fs::path over = dir.write("over.txt", "");
    fs::resize_file(over, kMaxFileBytes + 1);
    // A size whose low 32 bits are 0. Sparse on Linux; the Windows runtime refuses a
    // size past the disk's free space, so there it is 4 GB.
    const fs::path huge = dir.write("huge.txt", "");
#ifdef _WIN32
    fs::resize_file(huge, std::uintmax_t(4) << 30);
#else
    fs::resize_file(huge, std::uintmax_t(100) << 30);
#endif
    for (const fs::path &path : {over, huge}) {
        const auto refused = readFile(path);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error().reason,
                  "it is larger than 16 MB, far more than any script or strings table; it was not opened");
    }
}

TEST(IoErrors, carryTheirPath_andAreDescribedAsPathAndReason)
{
    TempDir dir;
#ifdef _WIN32
    // Every name is Unicode there.
    const fs::path missing = dir / "caf\xC3\xA9.txt";
#else
    // A name that is not UTF-8 is shown decoded from Windows-1252.
    const fs::path missing = dir / "caf\xE9.txt";
#endif
    const auto read = readFile(missing);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().path, missing);
    EXPECT_EQ(describe(read.error()), test::utf8(dir / "caf\xC3\xA9.txt") + ": " + read.error().reason);

    dir.write("a.txt", "x");
    EXPECT_EQ(createFileAtomically(dir / "a.txt", "y", ModBoundary(dir.path())).error().path, dir / "a.txt");
    EXPECT_EQ(deleteFile(dir / "gone.txt", ModBoundary(dir.path())).error().path, dir / "gone.txt");
    EXPECT_EQ(createFolder(dir / "a.txt", ModBoundary(dir.path())).error().path, dir / "a.txt");
    EXPECT_EQ(listFolder(dir / "nowhere", EntryKind::Files).error().path, dir / "nowhere");
    EXPECT_EQ(describe(IoError{"no path", {}}), "no path");
}

} // namespace
} // namespace cw

namespace cw {
namespace {

// The window says "The file is as it was." after a failed write only where a file stood
// at the target and the failure left it so: not for a new name, not for a folder.
TEST(IoErrors, sayTheFileIsUntouched_onlyWhereAFileStoodThere)
{
    TempDir dir;
    const ModBoundary mod(dir.path());
    const fs::path old = dir.write("scripts/old.txt", "old");
    dir.makeFolder("scripts/folder.txt");
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Write, ENOSPC, 1});
    const auto replaced = writeFileAtomically(old, "new", mod);
    const auto newName = writeFileAtomically(dir / "scripts/new.txt", "new", mod);
    setIoFaultForTesting(std::nullopt);
    EXPECT_TRUE(replaced.error().untouchedFile);
    EXPECT_FALSE(newName.error().untouchedFile);
    EXPECT_FALSE(writeFileAtomically(dir / "scripts/folder.txt", "new", mod).error().untouchedFile);
    EXPECT_TRUE(createFileAtomically(old, "new", mod).error().untouchedFile);
    EXPECT_EQ(readBytes(old), "old");
}

} // namespace
} // namespace cw

namespace cw {
namespace {

// The last step of each action, refused by the system: reported, never taken for
// success, and nothing is left half done.
TEST(FileFailures, aRefusedRenameLinkOrRemove_isReported_andChangesNothing)
{
    TempDir dir;
    const ModBoundary mod(dir.path());
    const fs::path old = dir.write("scripts/old.txt", "old");
    const fs::path fresh = dir / "scripts/fresh.txt";
    const struct
    {
        IoFaultForTesting::Kind kind;
        std::function<Result<Done, IoError>()> act;
    } cases[] = {
        {IoFaultForTesting::Kind::Rename,
         [&] {
             return writeFileAtomically(old, "new", mod);
         }},
        {IoFaultForTesting::Kind::Link,
         [&] {
             return createFileAtomically(fresh, "new", mod);
         }},
        {IoFaultForTesting::Kind::Remove,
         [&] {
             return deleteFile(old, mod);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        setIoFaultForTesting(IoFaultForTesting{c.kind, EIO, 0});
        const auto done = c.act();
        setIoFaultForTesting(std::nullopt);
        ASSERT_FALSE(done.ok());
        EXPECT_EQ(done.error().reason, std::strerror(EIO));
        EXPECT_EQ(test::listing(old.parent_path()), "old.txt");
        EXPECT_EQ(readBytes(old), "old");
    }
}

// A write loop that stops short of the end, or writes past it, shows at the edges:
// room for all but the last byte fails the save, and the shortest texts are exact.
TEST(FileFailures, roomForAllButTheLastByte_failsTheSave_andTinyFilesAreExact)
{
    TempDir dir;
    const ModBoundary mod(dir.path());
    const fs::path script = dir.write("scripts/a.txt", "old");
    const std::string text = "One 1\r\n";
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Write, ENOSPC, text.size() - 1});
    const auto short1 = writeFileAtomically(script, text, mod);
    const auto exact = writeFileAtomically(dir / "scripts/b.txt", text.substr(0, text.size() - 1), mod);
    setIoFaultForTesting(std::nullopt);
    EXPECT_FALSE(short1.ok());
    EXPECT_EQ(readBytes(script), "old");
    ASSERT_TRUE(exact.ok()) << exact.error().reason;
    EXPECT_EQ(readBytes(dir / "scripts/b.txt"), text.substr(0, text.size() - 1));
    for (const std::string &bytes : {std::string("x"), std::string()}) {
        ASSERT_TRUE(writeFileAtomically(script, bytes, mod).ok());
        EXPECT_EQ(readBytes(script), bytes);
    }
    EXPECT_EQ(test::listing(script.parent_path()), "a.txt b.txt");
}

#ifndef _WIN32
// The program started gets each argument as its bytes, a name that is not UTF-8
// included, in the folder it was given; what cannot start is a failure, not a start.
TEST(StartProgram, passesEachArgumentAsItsBytes_inItsFolder_andReportsWhatCannotStart)
{
    TempDir dir;
    const fs::path odd = dir.write("map_caf\xE9.txt", "");
    const fs::path out = dir / "out.txt";
    const auto started = startProgram(
        "sh", {"-c", "printf '%s|%s' \"$1\" \"$(pwd -P)\" > out.tmp && mv out.tmp out.txt", "sh", odd},
        dir.path());
    ASSERT_TRUE(started.ok()) << started.error().reason;
    for (int i = 0; i < 500 && !fs::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readBytes(out), nameOf(odd) + "|" + nameOf(fs::canonical(dir.path())));

    const auto missing = startProgram("cuewright-no-such-program", {}, {});
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().reason, "there is no such program");
    EXPECT_FALSE(startProgram("/bin/sh", {"-c", "true"}, dir / "no such folder").ok());
    EXPECT_FALSE(startProgram(odd, {}, {}).ok()) << "not executable";
}
#endif

} // namespace
} // namespace cw
