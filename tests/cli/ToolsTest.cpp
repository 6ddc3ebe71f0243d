#include "cli/Tools.h"

#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace cw {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

ToolRun run(std::vector<std::string> args, const Whereabouts &where = {})
{
    std::ostringstream out, err;
    const int status = cli::runTool(args, where, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> outputLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

const fs::path kExampleRoot = fs::path(CUEWRIGHT_SOURCE_DIR) / "examples" / "gameroot";

TEST(TokensTool, printsEachLinesSlots_asJsonLines)
{
    TempDir dir;
    const auto file =
        dir.write("script.txt", "Foo \"a b\" 3\r\n\r\n\tFoo\t\t7\t\r\nFoo ab#cd\rFoo \"ab cd\r\n#note");
    const ToolRun result = run({"tokens", test::utf8(file)});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(
        outputLines(result.out),
        std::vector<std::string>(
            {R"({"line": 1, "slots": ["Foo", "a b", "3"]})", R"({"line": 2, "slots": []})",
             R"({"line": 3, "slots": ["Foo", "7"]})", R"({"line": 4, "slots": ["Foo", "ab", "#", "cd"]})",
             R"({"line": 5, "slots": ["Foo", "ab c"]})", R"({"line": 6, "slots": ["#", "note"]})"}));
}

TEST(TokensTool, keyAndRestMode_decodesTheCodePage_andReportsRefusedLines)
{
    TempDir dir;
    const auto strings =
        dir.write("strings.txt", "KEY  Some text, # here  \r\n#KEY text\r\nCAF\xC9 caf\xE9 \x93ok\x94\r\n");
    const ToolRun keyed = run({"tokens", "--strings", test::utf8(strings)});
    EXPECT_EQ(keyed.status, 0);
    EXPECT_EQ(
        outputLines(keyed.out),
        std::vector<std::string>(
            {R"({"line": 1, "slots": ["KEY", "Some text, # here  "]})", R"({"line": 2, "slots": []})",
             "{\"line\": 3, \"slots\": [\"CAF\xC3\x89\", \"caf\xC3\xA9 \xE2\x80\x9Cok\xE2\x80\x9D\"]}"}));

    const auto tooLong = dir.write("long.txt", "a b\na b c d e f g h i j k l m n o p q r s t u v\n");
    const ToolRun refused = run({"tokens", test::utf8(tooLong)});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(
        refused.out,
        "{\"line\": 1, \"slots\": [\"a\", \"b\"]}\n"
        "{\"line\": 2, \"error\": \"Crazy broken detected! Usually caused by opening Insurrection or other "
        "non lamewindows formatted files!\"}\n");
}

TEST(TokensTool, usageAndUnreadableFiles_exitWithStatusTwo)
{
    EXPECT_EQ(run({"tokens"}).status, 2);
    EXPECT_EQ(run({"tokens", "--bogus", "x"}).status, 2);
    const ToolRun missing = run({"tokens", "/nonexistent/file.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("/nonexistent/file.txt"), std::string::npos);
}

// A slip is one line: what is wrong, and where the whole help is. A slip before --help
// is still one.
TEST(ToolSlips, sayWhatIsWrongInOneLine_andExitWithStatusTwo)
{
    const struct
    {
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {{}, "cuewright: no tool named"},
        {{"tokens", "--bogus", "x"}, "cuewright tokens: unknown option --bogus"},
        {{"commands", "file.txt"}, "cuewright commands: takes no file names"},
        {{"fmt", "mod"}, "cuewright fmt: expects MOD and SCRIPT"},
        {{"check", "--root"}, "cuewright check: --root needs a value"},
        {{"timeline", "--bogus", "--help"}, "cuewright timeline: unknown option --bogus"},
    };
    for (const auto &c : cases) {
        const ToolRun slip = run(c.args);
        EXPECT_EQ(slip.status, 2) << c.says;
        EXPECT_EQ(slip.out, "");
        EXPECT_EQ(slip.err, c.says + "; see cuewright --help\n");
    }
}

// TOOL --help prints the tool's part of the whole help, complete, and how the tools
// find the game for those that look for it.
TEST(ToolHelp, isTheToolsOwnLinesOfTheWholeHelp)
{
    const std::string whole = cli::usage();
    const std::string findingTheGame = whole.substr(whole.find("The tools look for the game"));
    for (const std::string tool : {"tokens", "commands", "fmt", "check", "timeline"}) {
        SCOPED_TRACE(tool);
        const ToolRun help = run({tool, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        const bool findsTheGame = tool != "tokens";
        const std::string head = "Usage:\n  cuewright " + tool + " ";
        ASSERT_EQ(help.out.rfind(head, 0), 0u) << help.out;
        ASSERT_EQ(help.out.ends_with(findingTheGame), findsTheGame) << help.out;
        const std::size_t usageLine = std::string_view("Usage:\n").size();
        const std::string part = help.out.substr(usageLine, help.out.size() - usageLine -
                                                                (findsTheGame ? findingTheGame.size() : 0));
        const std::size_t at = whole.find(part);
        ASSERT_NE(at, std::string::npos) << part;
        // Nothing of it left out: the whole help goes on with the next form.
        EXPECT_EQ(whole.compare(at + part.size(), 12, "  cuewright "), 0) << part;
    }
}

TEST(CommandsTool, listsTheExampleCatalogue_emptyEntryCommandsAndComment)
{
    const ToolRun result = run({"commands", "--root", test::utf8(kExampleRoot)});
    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = outputLines(result.out);
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines.front(),
              R"({"index": 0, "name": "", "description": "", "count": 0, "types": [0, 0, 0, 0], )"
              R"("labels": ["", "", "", ""]})");
    EXPECT_NE(lines[1].find(R"("name": "CamCut")"), std::string::npos);
    EXPECT_NE(lines[12].find(R"("name": "Say")"), std::string::npos);
    EXPECT_NE(lines[12].find(R"("types": [4, 0, 0, 0])"), std::string::npos);
    EXPECT_EQ(lines.back(), R"({"index": 44, "name": "#", "description": "Comment", "count": 1, )"
                            R"("types": [3, 0, 0, 0], "labels": ["Comment Text", "", "", ""]})");
}

TEST(CommandsTool, usesTheGameRootItRunsIn_andReportsABrokenFileWithItsLine)
{
    TempDir dir;
    dir.write("darwinia.exe", "x");
    dir.makeFolder("mods");
    dir.write("commands.txt", "header\r\nWait w 1 2 s\r\nSay s x\r\n");
    const Whereabouts inRoot{dir.path(), {}, {}};
    const ToolRun broken = run({"commands"}, inRoot);
    EXPECT_EQ(broken.status, 2);
    EXPECT_EQ(broken.out, "");
    EXPECT_NE(broken.err.find((dir / "commands.txt").string() + ": line 3"), std::string::npos) << broken.err;

    dir.write("commands.txt", "header\r\nWait w 1 2 s\r\n");
    const ToolRun fine = run({"commands"}, inRoot);
    EXPECT_EQ(fine.status, 0);
    EXPECT_EQ(outputLines(fine.out).size(), 2u);

    // A root that is not there is reported as such, not by the catalogue missing in it.
    const ToolRun missing = run({"commands", "--root", test::utf8(dir / "nowhere")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find(test::native(dir / "nowhere") + ": there is no such folder"),
              std::string::npos)
        << missing.err;
}

class FmtTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write("commands.txt", "header\r\n\r\nWait w 1 2 Seconds\r\nSay s 1 4 Key\r\n");
        dir.write("Mods/mod/Strings_Default.txt", "GREETING Hello\r\n");
    }
    ToolRun fmt(std::vector<std::string> extra)
    {
        std::vector<std::string> args = {"fmt", "--root", test::utf8(dir.path())};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }
    TempDir dir;
};

TEST_F(FmtTool, printsWhatSaveScriptWouldWrite_leavingTheFileAlone)
{
    const std::string original = "wait   2\r\n\r\nsay greeting\r\n#note\r\nOdd \"a b\"\r\n";
    dir.write("Mods/mod/Scripts/intro.txt", original);
    const ToolRun result = fmt({"mod", "intro.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "Wait 2\r\nSay GREETING\r\n# note\r\nOdd a b\r\n\r\n");
    EXPECT_EQ(test::readBytes(dir / "Mods/mod/Scripts/intro.txt"), original);
}

TEST_F(FmtTool, inPlace_replacesTheFile)
{
    dir.write("Mods/mod/Scripts/intro.txt", "wait 2\r\nsay greeting");
    EXPECT_EQ(fmt({"--in-place", "mod", "intro.txt"}).status, 0);
    EXPECT_EQ(test::readBytes(dir / "Mods/mod/Scripts/intro.txt"), "Wait 2\r\nSay GREETING\r\n\r\n");
    EXPECT_EQ(test::listing(dir / "Mods/mod/Scripts"), "intro.txt");
}

TEST_F(FmtTool, scriptsOfMoreThan100Lines_areNotRewrittenInPlace)
{
    std::string long_;
    for (int i = 0; i < 120; ++i)
        long_ += "Wait 1\r\n";
    dir.write("Mods/mod/Scripts/long.txt", long_);
    const ToolRun refused = fmt({"--in-place", "mod", "long.txt"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("120 lines"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir / "Mods/mod/Scripts/long.txt"), long_);
    const ToolRun printed = fmt({"mod", "long.txt"});
    EXPECT_EQ(printed.status, 0);
    EXPECT_EQ(std::count(printed.out.begin(), printed.out.end(), '\n'), 101);
}

TEST_F(FmtTool, unreadableOrRefusedScripts_exitWithStatusTwo)
{
    EXPECT_EQ(fmt({"mod", "missing.txt"}).status, 2);
    EXPECT_EQ(fmt({"mod"}).status, 2);
    const std::string tooLong = "Wait 1\na b c d e f g h i j k l m n o p q r s t u v\n";
    dir.write("Mods/mod/Scripts/long.txt", tooLong);
    const ToolRun refused = fmt({"--in-place", "mod", "long.txt"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("long.txt:2: Crazy broken detected!"), std::string::npos) << refused.err;
    EXPECT_EQ(test::readBytes(dir / "Mods/mod/Scripts/long.txt"), tooLong);

    // A quoted argument of many words would make a line the editor cannot read back.
    const std::string manyWords = "Wait \"a b c d e f g h i j k l m n o p q r s t u\"\r\n";
    dir.write("Mods/mod/Scripts/words.txt", manyWords);
    const ToolRun unwritable = fmt({"--in-place", "mod", "words.txt"});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("words.txt:1:"), std::string::npos) << unwritable.err;
    EXPECT_EQ(test::readBytes(dir / "Mods/mod/Scripts/words.txt"), manyWords);
}

// Every file of a game root and beside it, with its bytes: what a refused run must
// leave as it was.
std::string snapshot(const fs::path &folder)
{
    std::string all;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        all += test::utf8(entry.path()) + "\n";
        if (entry.is_regular_file())
            all += test::readBytes(entry.path()) + "\n";
    }
    return all;
}

TEST_F(FmtTool, scriptAndModMustBePlainNamesOfAModAndItsScripts_elseNothingIsTouched)
{
    dir.write("Mods/mod/Scripts/intro.txt", "wait 2\r\n");
    dir.makeFolder("Mods/mod/Scripts/folder.txt");
    dir.write("Mods/mod/Scripts/sub/deep.txt", "wait 3\r\n");
    dir.write("outside.txt", "say greeting\r\n");
    const std::string before = snapshot(dir.path());
    const std::string mod = test::utf8(dir / "Mods/mod");
    const struct
    {
        std::string mod, script, says;
    } cases[] = {
        {"mod", "../Strings_Default.txt", "SCRIPT must be"},
        {"mod", test::utf8(dir / "outside.txt"), "SCRIPT must be"},
        {"mod", "sub/deep.txt", "SCRIPT must be"},
        {"mod", "sub\\deep.txt", "SCRIPT must be"},
        {"mod", "..", "SCRIPT must be"},
        {"mod", ".", "SCRIPT must be"},
        {"mod", "", "SCRIPT must be"},
        {"mod", "folder.txt", "no script file"},
        {"mod", "missing.txt", "no script file"},
        {"..", "intro.txt", "MOD must be"},
        {mod, "intro.txt", "MOD must be"},
        {"mod/Scripts", "intro.txt", "MOD must be"},
        {"", "intro.txt", "MOD must be"},
        {"nomod", "intro.txt", "no mod folder"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mod + " " + c.script);
        for (const bool inPlace : {true, false}) {
            const ToolRun result = fmt(inPlace ? std::vector<std::string>{"--in-place", c.mod, c.script}
                                               : std::vector<std::string>{c.mod, c.script});
            EXPECT_EQ(result.status, 2);
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        }
        const ToolRun checked = run({"check", "--root", test::utf8(dir.path()), c.mod, c.script});
        EXPECT_EQ(checked.status, 2);
        EXPECT_EQ(checked.out, "");
        EXPECT_NE(checked.err.find(c.says), std::string::npos) << checked.err;
    }
    EXPECT_EQ(snapshot(dir.path()), before);
    // The names the editor itself uses still work, in any letter case.
    EXPECT_EQ(fmt({"--in-place", "MOD", "INTRO.TXT"}).status, 0);
    EXPECT_EQ(test::readBytes(dir / "Mods/mod/Scripts/intro.txt"), "Wait 2\r\n\r\n");
}

// Formatting goes on without the table, but says so: the keys' spelling is then not
// what the editor would write.
TEST_F(FmtTool, stringsTableThatCannotBeRead_isReported_andKeysStayAsWritten)
{
    dir.write("Mods/mod/Scripts/intro.txt", "say greeting\r\n");
    const fs::path strings = dir / "Mods/mod/Strings_Default.txt";
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Read, EACCES, 0, strings});
    const ToolRun result = fmt({"mod", "intro.txt"});
    setIoFaultForTesting(std::nullopt);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "Say greeting\r\n\r\n");
    EXPECT_NE(result.err.find(test::native(strings) + ": Permission denied; keys stay as they are written"),
              std::string::npos)
        << result.err;
}

// A line the editor refuses is named where people look for it, as the window names it.
TEST_F(FmtTool, refusedLine_isNamedByFileAndLineOnStandardError)
{
    const std::string tooLong = "Wait 1\r\na b c d e f g h i j k l m n o p q r s t u v\r\n";
    dir.write("Mods/mod/Scripts/long.txt", tooLong);
    const std::string note = "long.txt, line 2: more than 21 words on one line";
    const ToolRun formatted = fmt({"mod", "long.txt"});
    EXPECT_EQ(formatted.status, 2);
    EXPECT_NE(formatted.err.find(note), std::string::npos) << formatted.err;
    const ToolRun tokens = run({"tokens", test::utf8(dir / "Mods/mod/Scripts/long.txt")});
    EXPECT_EQ(tokens.status, 1);
    EXPECT_EQ(tokens.err, note + "\n");
}

} // namespace
} // namespace cw

namespace cw {
namespace {

// A game root whose folder has a blank and accents, and a mod and a script named with
// accents. The tools take names as UTF-8 on every system (on Windows main() makes
// them so) and print them as UTF-8.
class ToolNames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir.write(kRoot + "/commands.txt", "header\r\n\r\nWait w 1 2 Seconds\r\nSay s 1 4 Key\r\n");
        dir.write(kMod + "/strings_default.txt", "GREETING Hello\r\n");
        dir.write(kMod + "/scripts/d\xC3\xA9"
                         "but.txt",
                  "say greeting\r\nwait 2\r\nWait\r\n");
    }
    std::string root() const { return test::utf8(dir / kRoot); }

    const std::string kRoot = "Jeux \xC3\x89t\xC3\xA9/gameroot";
    const std::string kMod = kRoot + "/mods/Caf\xC3\xA9";
    TempDir dir;
};

TEST_F(ToolNames, rootAndModNamedWithAccentsAndBlanks_workForEveryTool)
{
    const ToolRun commands = run({"commands", "--root", root()});
    EXPECT_EQ(commands.status, 0) << commands.err;
    EXPECT_EQ(outputLines(commands.out).size(), 4u);

    const ToolRun tokens = run({"tokens", test::utf8(dir / (kMod + "/scripts/d\xC3\xA9"
                                                                   "but.txt"))});
    EXPECT_EQ(tokens.status, 0) << tokens.err;
    EXPECT_EQ(outputLines(tokens.out).front(), R"({"line": 1, "slots": ["say", "greeting"]})");

    const ToolRun checked = run({"check", "--root", root(), "Caf\xC3\xA9"});
    EXPECT_EQ(checked.status, 0) << checked.err;
    ASSERT_EQ(outputLines(checked.out).size(), 1u) << checked.out;
    EXPECT_EQ(checked.out.substr(0, checked.out.find(": ")), "mods/Caf\xC3\xA9/scripts/d\xC3\xA9"
                                                             "but.txt:3");

    const std::string formatted = "Say GREETING\r\nWait 2\r\nWait\r\n\r\n";
    const ToolRun printed = run({"fmt", "--root", root(), "caf\xC3\xA9",
                                 "D\xC3\xA9"
                                 "BUT.TXT"});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.out, formatted);
    const ToolRun inPlace = run({"fmt", "--root", root(), "--in-place", "Caf\xC3\xA9",
                                 "d\xC3\xA9"
                                 "but.txt"});
    EXPECT_EQ(inPlace.status, 0) << inPlace.err;
    EXPECT_EQ(test::readBytes(dir / (kMod + "/scripts/d\xC3\xA9"
                                            "but.txt")),
              formatted);
}

} // namespace
} // namespace cw
