#include "cli/Tools.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cw {
namespace {

struct FindRun
{
    int status;
    std::string out;
    std::string err;
};

FindRun findIn(const test::TempDir &root, std::vector<std::string> args)
{
    args.insert(args.begin(), {"find", "--root", test::utf8(root.path())});
    std::ostringstream out, err;
    const int status = cli::runTool(args, Whereabouts{}, out, err);
    return {status, out.str(), err.str()};
}

TEST(FindTool, printsEachMatchingLine_asFileLineText_orJson_andSaysByItsStatus)
{
    test::TempDir root;
    root.write("darwinia.exe", "stand-in\r\n");
    root.write("commands.txt", "name \"d\" count type label\r\nWait \"Waits\" 1 1 \"Seconds\"\r\n");
    root.write("mods/m/scripts/a.txt", "CamMove gate 3\r\n# the Gate\r\n");
    root.write("mods/m/strings_default.txt", "gate_open The caf\xE9 gate\r\n");
    const struct
    {
        std::vector<std::string> args;
        int status;
        std::string out;
    } cases[] = {
        {{"m", "gate"},
         0,
         "mods/m/scripts/a.txt:1: CamMove gate 3\nmods/m/scripts/a.txt:2: # the Gate\n"
         "mods/m/strings_default.txt:1: gate_open The caf\xC3\xA9 gate\n"},
        {{"--case", "m", "Gate"}, 0, "mods/m/scripts/a.txt:2: # the Gate\n"},
        {{"--word", "m", "gate"},
         0,
         "mods/m/scripts/a.txt:1: CamMove gate 3\nmods/m/scripts/a.txt:2: # the Gate\n"
         "mods/m/strings_default.txt:1: gate_open The caf\xC3\xA9 gate\n"},
        {{"--word", "m", "open"}, 1, ""},
        {{"--json", "m", "CAF\xC3\x89"},
         0,
         "{\"file\": \"mods/m/strings_default.txt\", \"line\": 1, \"text\": \"gate_open The caf\xC3\xA9 "
         "gate\"}\n"},
        {{"m", "nowhere"}, 1, ""},
        {{"other", "gate"}, 2, ""},
        {{"m"}, 2, ""},
    };
    for (const auto &c : cases) {
        const FindRun run = findIn(root, c.args);
        EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
        EXPECT_EQ(run.out, c.out) << c.args.back();
    }
}

} // namespace
} // namespace cw
