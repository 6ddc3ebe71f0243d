#include "cli/Tools.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cw {
namespace {

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

// Twelve lines: "one" to "twelve", each but the last with the blank of its "\n".
constexpr const char *kTwelve =
    "one\\ntwo\\nthree\\nfour\\nfive\\nsix\\nseven\\neight\\nnine\\nten\\neleven\\ntwelve";

class CaptionToolTest : public ::testing::Test
{
protected:
    CaptionToolTest()
    {
        // The mod's own base table is read, so a key no table holds is missing.
        dir.write("mods/Mod/language/english.txt", "part_gate the gate\n");
        dir.write("mods/Mod/strings_default.txt",
                  std::string("tall ") + kTwelve + "\r\nlong " + std::string(60, 'w') +
                      " and more\\nafter\r\nkeys Press [KEYSepulvedaHelp] at [part_gate] \xE9t\xE9\r\n"
                      "hang Press [KEYJump\r\nboth_kbd keys\r\n");
    }
    ToolRun caption(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"caption", "--profile", test::utf8(dir.path())});
        std::ostringstream out, err;
        const int status = cli::runTool(args, Whereabouts{}, out, err);
        return {status, out.str(), err.str()};
    }

    test::TempDir dir;
};

TEST_F(CaptionToolTest, theLinesThatShow_inEachMode)
{
    const ToolRun normal = caption({"Mod", "TALL"});
    EXPECT_EQ(normal.status, 0);
    EXPECT_EQ(normal.out, "two \nthree \nfour \nfive \nsix \nseven \neight \nnine \nten \neleven \ntwelve\n");
    EXPECT_EQ(normal.err, "cuewright caption: 1 more line scrolls away above these\n");
    const ToolRun cutscene = caption({"--cutscene", "Mod", "tall"});
    EXPECT_EQ(cutscene.out, "one \ntwo \nthree \nfour \nfive \nsix \nseven \neight \nnine \n");
    EXPECT_EQ(cutscene.err, "cuewright caption: 3 more lines fall off the bottom of the screen\n");
    // Markup expanded, the code page decoded.
    EXPECT_EQ(caption({"--normal", "Mod", "keys"}).out, "Press H at the gate \xC3\xA9t\xC3\xA9\n");
    EXPECT_EQ(caption({"Mod", "both"}).out, "keys\n");
}

TEST_F(CaptionToolTest, json_addsWhatIsHiddenAndLost)
{
    const ToolRun tall = caption({"--json", "--cutscene", "Mod", "tall"});
    EXPECT_EQ(tall.status, 0);
    EXPECT_EQ(tall.out,
              "{\"key\": \"tall\", \"mode\": \"cutscene\", \"lines\": [\"one \", \"two \", \"three \", "
              "\"four \", \"five \", \"six \", \"seven \", \"eight \", \"nine \"], \"off_screen\": "
              "[\"ten \", \"eleven \", \"twelve\"], \"lost\": [], \"long_words\": [], \"cut\": false}\n");
    const std::string w60(60, 'w');
    const ToolRun lost = caption({"--json", "--cutscene", "Mod", "long"});
    EXPECT_EQ(lost.out, "{\"key\": \"long\", \"mode\": \"cutscene\", \"lines\": [\"" + w60.substr(0, 53) +
                            "\", \"after\"], \"off_screen\": [], \"lost\": [\"wwwwwww and more \"], "
                            "\"long_words\": [\"" +
                            w60 + "\"], \"cut\": false}\n");
    EXPECT_NE(caption({"--json", "Mod", "tall"}).out.find("\"scrolled_away\": [\"one \"]"),
              std::string::npos);
}

TEST_F(CaptionToolTest, noCaption_orAWrongCommandLine_isStatus2)
{
    struct Case
    {
        std::vector<std::string> args;
        const char *message;
    };
    const Case cases[] = {
        {{"Mod", "nobody"}, "\"nobody\" is in none of the english strings the game loads for mods/Mod"},
        {{"Mod", "both_kbd"}, "the game never finds \"both_kbd\""},
        {{"Mod", "hang"}, "never closes it: the game hangs"},
        {{"Nomod", "tall"}, "Nomod"},
        {{"Mod"}, "expects MOD and KEY"},
        {{"--cutscene", "--normal", "Mod", "tall"}, "takes --cutscene or --normal, not both"},
        {{"--wide", "Mod", "tall"}, "--wide"},
    };
    for (const Case &c : cases) {
        const ToolRun run = caption(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_EQ(run.out, "") << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

} // namespace
} // namespace cw
