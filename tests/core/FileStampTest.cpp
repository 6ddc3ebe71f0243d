#include "core/io/FileStamp.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

using std::filesystem::last_write_time;

// What another program does to the file after it was stamped, and what each way of
// comparing then says.
struct Case
{
    const char *what;
    void (*change)(const test::TempDir &dir, const std::filesystem::path &file);
    DiskState bytes;
    DiskState sizeAndTime;
};

const Case kCases[] = {
    {"nothing", [](const test::TempDir &, const std::filesystem::path &) {}, DiskState::Unchanged,
     DiskState::Unchanged},
    {"other bytes of another size",
     [](const test::TempDir &dir, const std::filesystem::path &) { dir.write("a.txt", "Wait 20\r\n"); },
     DiskState::Changed, DiskState::Changed},
    // The same size at the same time: only the bytes tell.
    {"other bytes of the same size, time put back",
     [](const test::TempDir &dir, const std::filesystem::path &file) {
         const auto time = last_write_time(file);
         dir.write("a.txt", "Wait 3\r\n");
         last_write_time(file, time);
     },
     DiskState::Changed, DiskState::Unchanged},
    {"the same bytes written again later",
     [](const test::TempDir &dir, const std::filesystem::path &file) {
         dir.write("a.txt", "Wait 2\r\n");
         last_write_time(file, last_write_time(file) + std::chrono::seconds(5));
     },
     DiskState::Unchanged, DiskState::Unchanged},
    {"removed",
     [](const test::TempDir &, const std::filesystem::path &file) { std::filesystem::remove(file); },
     DiskState::Gone, DiskState::Gone},
};

TEST(FileStamp, tellsAnotherProgramsChangeFromNone)
{
    for (const Case &c : kCases) {
        for (const Compare compare : {Compare::Bytes, Compare::SizeAndTime}) {
            test::TempDir dir;
            const auto file = dir.write("a.txt", "Wait 2\r\n");
            FileStamp stamp = FileStamp::of(file, "Wait 2\r\n");
            c.change(dir, file);
            EXPECT_EQ(diskState(file, stamp, compare), compare == Compare::Bytes ? c.bytes : c.sizeAndTime)
                << c.what << (compare == Compare::Bytes ? ", by bytes" : ", by size and time");
        }
    }
}

TEST(FileStamp, aTouchedFileFoundUnchangedByItsBytes_isUnchangedByItsTimeOnceRetimed)
{
    test::TempDir dir;
    const auto file = dir.write("a.txt", "Wait 2\r\n");
    FileStamp stamp = FileStamp::of(file, "Wait 2\r\n");
    last_write_time(file, last_write_time(file) + std::chrono::seconds(5));
    ASSERT_EQ(diskState(file, stamp, Compare::Bytes), DiskState::Unchanged);
    EXPECT_NE(stamp.modified, last_write_time(file)); // comparing changes nothing
    stamp = stamp.retimed(file);
    EXPECT_EQ(stamp.modified, last_write_time(file));
    EXPECT_EQ(diskState(file, stamp, Compare::SizeAndTime), DiskState::Unchanged);
    // A stamp of nothing read yet never stands in the way.
    FileStamp none;
    EXPECT_EQ(diskState(dir / "missing.txt", none, Compare::Bytes), DiskState::Unchanged);
}

} // namespace
} // namespace cw
