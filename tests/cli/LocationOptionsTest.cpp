#include "cli/LocationOptions.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

// A location as a failure shows it: "root r", "profile p game g", or "none".
std::string shown(const std::optional<GameLocation> &location)
{
    if (!location)
        return "none";
    std::string text =
        (location->kind == LayoutKind::GameRoot ? "root " : "profile ") + location->folder.string();
    if (location->game)
        text += " game " + location->game->string();
    return text;
}

TEST(LocationOptions, nameARootOrAProfile_andRootGoesWithNeitherOther)
{
    const auto parsed = [](std::vector<std::string> args) {
        return parseArguments(args, ArgumentRules{{"--root", "--profile", "--game"}, {}, {}, {}});
    };
    EXPECT_EQ(shown(locationFromOptions(parsed({"--root", "r"}))), shown(gameRootAt("r")));
    EXPECT_EQ(shown(locationFromOptions(parsed({"--profile", "p", "--game", "g"}))),
              shown(profileAt("p", fs::path("g"))));
    EXPECT_EQ(shown(locationFromOptions(parsed({"--game", "g"}))), "none");
    EXPECT_EQ(gameFromOptions(parsed({"--game", "g"})), fs::path("g"));
    EXPECT_EQ(locationOptionsProblem(parsed({"--profile", "p", "--game", "g"})), "");
    EXPECT_NE(locationOptionsProblem(parsed({"--root", "r", "--profile", "p"})), "");
    EXPECT_NE(locationOptionsProblem(parsed({"--root", "r", "--game", "g"})), "");
}

} // namespace
} // namespace cw
