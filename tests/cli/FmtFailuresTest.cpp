#include "cli/Tools.h"

#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "support/Faults.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <sstream>

namespace cw {
namespace {

namespace fs = std::filesystem;
using test::FullDisk;
using test::TempDir;
using test::UnwritableFolder;

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

std::string argument(int line, int k)
{
    return "l" + std::to_string(line) + "k" + std::to_string(k) + "-" + std::string(50, 'w');
}

// A script of 100 lines of four long arguments, spaced and spelt as a modder might:
// fmt rewrites every line, and its output is far bigger than a small disk's room.
std::string untidyScript()
{
    std::string bytes;
    for (int line = 0; line < 100; ++line) {
        bytes += "four ";
        for (int k = 0; k < 4; ++k)
            bytes += "  " + argument(line, k);
        bytes += "\r\n";
    }
    return bytes;
}

std::string tidyScript()
{
    std::string bytes;
    for (int line = 0; line < 100; ++line) {
        bytes += "Four";
        for (int k = 0; k < 4; ++k)
            bytes += " " + argument(line, k);
        bytes += "\r\n";
    }
    return bytes + "\r\n";
}

class FmtFailures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write("commands.txt", "header\r\n\r\nWait w 1 2 Seconds\r\nFour f 4 1 A 2 B 3 C 1 D\r\n");
        dir.write("mods/mod/strings_default.txt", "GREETING Hello\r\n");
        dir.write("mods/mod/scripts/a.txt", untidyScript());
    }

    ToolRun fmtInPlace(const std::string &script)
    {
        std::ostringstream out, err;
        const int status = cli::runTool(
            {"fmt", "--root", test::utf8(dir.path()), "--in-place", "mod", script}, {}, out, err);
        return {status, out.str(), err.str()};
    }
    fs::path scripts() const { return dir / "mods/mod/scripts"; }

    TempDir dir;
};

TEST_F(FmtFailures, writeThatFails_exitsWithTwo_namingTheScript_andLeavesItAsItWas)
{
    const struct
    {
        const char *what;
        std::shared_ptr<void> (*fail)(const fs::path &folder, std::string &how);
    } cases[] = {
        {"read-only folder",
         [](const fs::path &folder, std::string &how) {
             auto unwritable = std::make_shared<UnwritableFolder>(folder);
             how = unwritable->how();
             return std::shared_ptr<void>(unwritable);
         }},
        {"full disk",
         [](const fs::path &folder, std::string &how) {
             auto full = std::make_shared<FullDisk>(folder, 4096);
             how = full->how();
             return std::shared_ptr<void>(full);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        dir.write("mods/mod/scripts/a.txt", untidyScript());
        {
            std::string how;
            const auto failure = c.fail(scripts(), how);
            SCOPED_TRACE("made by " + how);
            const ToolRun run = fmtInPlace("a.txt");
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find("cannot write " + test::native(scripts() / "a.txt")), std::string::npos)
                << run.err;
            EXPECT_EQ(test::readBytes(scripts() / "a.txt"), untidyScript());
            EXPECT_FALSE(test::holdsTemporaryFile(scripts())) << test::listing(scripts());
        }
        // Without the failure the same run writes the whole script.
        const ToolRun run = fmtInPlace("a.txt");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(test::readBytes(scripts() / "a.txt"), tidyScript());
    }
}

// fmt reads and writes one path in one run, so a folder standing where the script
// should be, or a scripts folder gone, stops it at the read.
TEST_F(FmtFailures, scriptThatCannotBeRead_exitsWithTwo_andNothingIsWritten)
{
    const struct
    {
        const char *what;
        std::string script;
        std::shared_ptr<void> (*fail)(const fs::path &scripts);
        std::string named; // what the error stream must name
    } cases[] = {
        {"a folder", "a.txt",
         [](const fs::path &folder) {
             fs::remove(folder / "a.txt");
             fs::create_directory(folder / "a.txt");
             return std::shared_ptr<void>();
         },
         test::native(scripts() / "a.txt")},
        {"a missing script", "gone.txt", [](const fs::path &) { return std::shared_ptr<void>(); },
         test::native(scripts() / "gone.txt")},
        {"a missing scripts folder", "a.txt",
         [](const fs::path &folder) {
             fs::remove_all(folder);
             return std::shared_ptr<void>();
         },
         test::native(scripts() / "a.txt")},
        // The fault fails every read, so commands.txt is the first to go.
        {"an unreadable script", "a.txt",
         [](const fs::path &) {
             setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0});
             return std::shared_ptr<void>(nullptr, [](void *) { setIoFaultForTesting(std::nullopt); });
         },
         "commands.txt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(scripts());
        dir.write("mods/mod/scripts/a.txt", untidyScript());
        ToolRun run{};
        std::string folder;
        {
            const auto failure = c.fail(scripts());
            folder = test::listing(dir / "mods/mod") + " | " + test::listing(scripts());
            run = fmtInPlace(c.script);
        }
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        EXPECT_EQ(test::listing(dir / "mods/mod") + " | " + test::listing(scripts()), folder);
        if (fs::is_regular_file(scripts() / "a.txt")) {
            EXPECT_EQ(test::readBytes(scripts() / "a.txt"), untidyScript());
        }
    }
}

} // namespace
} // namespace cw
