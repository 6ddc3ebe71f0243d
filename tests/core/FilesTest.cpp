#include "core/io/Files.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

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
    ASSERT_TRUE(writeFileAtomically(target, test::bytes("A\r\n\0\xFF")).ok());
    EXPECT_EQ(readBytes(target), test::bytes("A\r\n\0\xFF"));
    ASSERT_TRUE(writeFileAtomically(target, "").ok());
    EXPECT_EQ(readBytes(target), "");
    EXPECT_EQ(test::listing(dir.path()), "intro.txt");
}

TEST(AtomicWrite, keepsThePermissionsOfTheFileItReplaces)
{
    TempDir dir;
    const fs::path target = dir.write("s.txt", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(writeFileAtomically(target, "new").ok());
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(AtomicWrite, failures_leaveTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    dir.makeFolder("scripts/taken.txt");
    const auto intoFolder = writeFileAtomically(dir / "scripts/taken.txt", "x");
    ASSERT_FALSE(intoFolder.ok());
    EXPECT_NE(intoFolder.error().reason.find("folder"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(dir / "scripts/taken.txt"));

    const auto noFolder = writeFileAtomically(dir / "gone/a.txt", "x");
    ASSERT_FALSE(noFolder.ok());
    EXPECT_FALSE(fs::exists(dir / "gone"));
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
    dir.write("b.txt", "");
    dir.write("B.txt", "");
    EXPECT_EQ(list(dir.path()), Names({"B.txt", "b.txt"}));
}

TEST(MatchesPattern, wildcardsWithoutCase)
{
    EXPECT_TRUE(matchesPattern("intro.txt", "*.txt"));
    EXPECT_TRUE(matchesPattern("INTRO.TXT", "*.txt"));
    EXPECT_TRUE(matchesPattern(".txt", "*.txt"));
    EXPECT_FALSE(matchesPattern("intro.txt.bak", "*.txt"));
    EXPECT_FALSE(matchesPattern("intro.tx", "*.txt"));
    EXPECT_TRUE(matchesPattern("a.b.txt", "*.txt"));
    EXPECT_TRUE(matchesPattern("anything", "*"));
    EXPECT_TRUE(matchesPattern("map1", "map?"));
    EXPECT_FALSE(matchesPattern("map", "map?"));
}

TEST(FindNoCase, prefersTheExactSpelling_thenAnyCase)
{
    TempDir dir;
    dir.makeFolder("Mods");
    EXPECT_EQ(findNoCase(dir.path(), "mods"), dir / "Mods");
    dir.makeFolder("mods");
    EXPECT_EQ(findNoCase(dir.path(), "mods"), dir / "mods");
    EXPECT_EQ(findNoCase(dir.path(), "scripts"), dir / "scripts");
    EXPECT_EQ(findNoCase(dir / "nowhere", "x"), dir / "nowhere" / "x");
}

TEST(FolderAndFileActions, createAndDelete)
{
    TempDir dir;
    EXPECT_TRUE(createFolder(dir / "scripts").ok());
    EXPECT_FALSE(createFolder(dir / "scripts").ok());
    EXPECT_FALSE(createFolder(dir / "no/parent").ok());
    dir.write("a.txt", "x");
    EXPECT_TRUE(deleteFile(dir / "a.txt").ok());
    EXPECT_FALSE(deleteFile(dir / "a.txt").ok());
    EXPECT_FALSE(deleteFile(dir / "scripts").ok());
    EXPECT_TRUE(fs::is_directory(dir / "scripts"));
}

} // namespace
} // namespace cw

namespace cw {
namespace {

TEST(PlainFileName, acceptsOrdinaryNames_andRefusesAnythingThatLeavesTheFolder)
{
    for (const char *name : {"intro.txt", "Intro Two.txt", "no_extension", ".hidden.txt", "caf\xC3\xA9.txt",
                             "console.txt", "com10.txt", "a.b.c"})
        EXPECT_TRUE(isPlainFileName(name)) << name;
    for (const char *name :
         {"",          ".",         "..",        "../x.txt", "a/b.txt", "a\\b.txt", "/abs.txt",
          "C:x.txt",   "a<b",       "a>b",       "a\"b",     "a|b",     "a?b",      "a*b",
          "tab\tname", "trailing.", "trailing ", "CON",      "con.txt", "Lpt1.log", "nul"})
        EXPECT_FALSE(isPlainFileName(name)) << name;
    EXPECT_TRUE(isPlainFileName(std::string(255, 'x')));
    EXPECT_FALSE(isPlainFileName(std::string(256, 'x')));
}

TEST(CreateFileAtomically, createsOnlyWhereNothingIsYet)
{
    TempDir dir;
    ASSERT_TRUE(createFileAtomically(dir / "new.txt", "\r\n").ok());
    EXPECT_EQ(readBytes(dir / "new.txt"), "\r\n");
    const auto again = createFileAtomically(dir / "new.txt", "other");
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(readBytes(dir / "new.txt"), "\r\n");
    dir.makeFolder("folder.txt");
    EXPECT_FALSE(createFileAtomically(dir / "folder.txt", "x").ok());
    EXPECT_FALSE(createFileAtomically(dir / "missing/x.txt", "x").ok());
    EXPECT_EQ(test::listing(dir.path()), "folder.txt new.txt");
}

} // namespace
} // namespace cw

#include "support/Faults.h"

#include <sys/stat.h>

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
        const auto written = writeFileAtomically(folder / "a.txt", big);
        ASSERT_FALSE(written.ok()) << full.how();
        EXPECT_NE(written.error().reason.find("space"), std::string::npos) << written.error().reason;
        EXPECT_EQ(readBytes(folder / "a.txt"), "old bytes\r\n") << full.how();
        EXPECT_FALSE(test::holdsTemporaryFile(folder)) << full.how();
        EXPECT_FALSE(createFileAtomically(folder / "b.txt", big).ok());
        EXPECT_FALSE(fs::exists(folder / "b.txt"));
        // What fits is written.
        EXPECT_TRUE(writeFileAtomically(folder / "a.txt", "small\r\n").ok()) << full.how();
        EXPECT_EQ(readBytes(folder / "a.txt"), "small\r\n");
    }
}

TEST(FileFailures, unwritableFolder_refusesEveryWrite_andKeepsItsFiles)
{
    TempDir dir;
    const auto folder = dir.makeFolder("scripts");
    dir.write("scripts/a.txt", "old\r\n");
    test::UnwritableFolder unwritable(folder);
    EXPECT_FALSE(writeFileAtomically(folder / "a.txt", "new").ok()) << unwritable.how();
    EXPECT_FALSE(createFileAtomically(folder / "b.txt", "new").ok()) << unwritable.how();
    EXPECT_EQ(readBytes(folder / "a.txt"), "old\r\n");
    EXPECT_EQ(test::listing(folder), "a.txt");
}

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
