#include "cli/ArgumentParser.h"
#include "cli/Arguments.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(Arguments, optionsValuesAndTheRest)
{
    const Arguments parsed = cli::parse({"fmt", "--root", "/g", "--in-place", "mod", "--", "-odd.txt"},
                                        {"--root"}, {"--in-place"});
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.values.at("--root"), "/g");
    EXPECT_TRUE(parsed.has("--in-place"));
    EXPECT_EQ(parsed.positional, std::vector<std::string>({"mod", "-odd.txt"}));
}

// "-" names no file here (the tools read no standard input), so it is a mistyped option.
TEST(Arguments, anythingStartingWithADash_isAnOption_aLoneDashToo)
{
    EXPECT_EQ(cli::parse({"fmt", "-"}, {"--root"}, {}).problem, "unknown option -");
    EXPECT_EQ(cli::parse({"fmt", "-x", "mod"}, {"--root"}, {}).problem, "unknown option -x");
    EXPECT_EQ(cli::parse({"fmt", "--root"}, {"--root"}, {}).problem, "--root needs a value");
}

// The window system's own options pass through with their values, in every spelling it
// takes; ours are read; anything else is still refused.
TEST(Arguments, foreignOptions_passThroughWithTheirValues)
{
    const ArgumentRules rules{{"--root"}, {"--version"}, {"-platform", "-style"}, {"-reverse"}};
    const std::vector<std::string> args = {"-platform",      "offscreen", "--root", "/g",
                                           "--style=fusion", "-reverse",  "-style", "windows"};
    const Arguments parsed = parseArguments(args, rules);
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(*parsed.value("--root"), "/g");
    EXPECT_EQ(parsed.foreign, std::vector<std::string>({"-platform", "offscreen", "--style=fusion",
                                                        "-reverse", "-style", "windows"}));
    EXPECT_EQ(parseArguments(std::vector<std::string>{"-platform"}, rules).problem,
              "-platform needs a value");
    EXPECT_EQ(parseArguments(std::vector<std::string>{"-plaform", "x"}, rules).problem,
              "unknown option -plaform");
    EXPECT_EQ(parseArguments(std::vector<std::string>{"help"}, rules).positional,
              std::vector<std::string>{"help"});
}

} // namespace
} // namespace cw
