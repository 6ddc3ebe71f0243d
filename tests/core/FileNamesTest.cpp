#include "core/io/FileNames.h"

#include <gtest/gtest.h>

#include <string>

namespace cw {
namespace {

// Each refusal has one cause, which the user is told.
TEST(FileNames, eachUnfitNameHasItsCause)
{
    const std::pair<std::string, NameProblem> cases[] = {
        {"intro.txt", NameProblem::None},
        {"console.txt", NameProblem::None},
        {"", NameProblem::Empty},
        {"..", NameProblem::Reserved},
        {"a/b.txt", NameProblem::Reserved},
        {"what?.txt", NameProblem::Reserved},
        {"tab\tname", NameProblem::ControlCharacter},
        {"trailing.", NameProblem::TrailingBlankOrDot},
        {"trailing ", NameProblem::TrailingBlankOrDot},
        {"Lpt1.log", NameProblem::DeviceName},
        {std::string(256, 'x'), NameProblem::TooLong},
    };
    for (const auto &[name, problem] : cases)
        EXPECT_EQ(plainFileNameProblem(name), problem) << name;
}

} // namespace
} // namespace cw
