#include "cli/Arguments.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(Arguments, optionsValuesAndTheRest)
{
    const cli::Arguments parsed = cli::parse({"fmt", "--root", "/g", "--in-place", "mod", "--", "-odd.txt"},
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

} // namespace
} // namespace cw
