#include "cli/Tools.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cw {
namespace {

struct RenameRun
{
    int status;
    std::string out;
    std::string err;
};

RenameRun renameIn(const test::TempDir &root, std::vector<std::string> args)
{
    args.insert(args.begin(), {"rename-key", "--root", test::utf8(root.path())});
    std::ostringstream out, err;
    const int status = cli::runTool(args, Whereabouts{}, out, err);
    return {status, out.str(), err.str()};
}

// The rename's rules are the core's; this is what the tool prints, writes and exits.
TEST(RenameKeyTool, printsEachLineChanged_writesUnlessDryRun_andRefusesByItsStatus)
{
    test::TempDir root;
    root.write("darwinia.exe", "stand-in\r\n");
    root.write("commands.txt", "name \"d\" count type label\r\nSay \"Speaks\" 1 4 \"Key\"\r\n");
    root.write("mods/m/scripts/a.txt", "Say hello\r\n");
    const std::string strings = "hello Hi\r\nbye Bye [hello]\r\n";
    root.write("mods/m/strings_default.txt", strings);
    const std::string printed = "mods/m/scripts/a.txt:1: Say hi\n"
                                "mods/m/strings_default.txt:1: hi Hi\n"
                                "mods/m/strings_default.txt:2: bye Bye [hi]\n";

    RenameRun run = renameIn(root, {"--dry-run", "m", "hello", "hi"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, printed);
    EXPECT_EQ(root.read("mods/m/strings_default.txt"), strings);

    for (const std::vector<std::string> &refused : {std::vector<std::string>{"m", "hello", "bye"},
                                                    {"m", "hello", "a b"},
                                                    {"m", "nothing", "x"},
                                                    {"m", "hello"}}) {
        run = renameIn(root, refused);
        EXPECT_EQ(run.status, 2) << refused.back();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
    }
    EXPECT_EQ(renameIn(root, {"m", "hello", "bye"}).err,
              "cuewright rename-key: another key of the mod is named \"bye\" already\n");

    run = renameIn(root, {"m", "hello", "hi"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, printed);
    EXPECT_EQ(root.read("mods/m/strings_default.txt"), "hi Hi\r\nbye Bye [hi]\r\n");
    EXPECT_EQ(root.read("mods/m/scripts/a.txt"), "Say hi\r\n");
}

} // namespace
} // namespace cw
