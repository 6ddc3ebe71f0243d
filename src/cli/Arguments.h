#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the command-line tools share: exit statuses and argument parsing.
namespace cw::cli {

constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUnusable = 2;

// Arguments after the tool name: options with and without a value, and the rest.
struct Arguments
{
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> flags;
    std::string problem;

    bool has(std::string_view flag) const;
};

Arguments parse(const std::vector<std::string> &args, std::initializer_list<std::string_view> valueOptions,
                std::initializer_list<std::string_view> flagOptions);

// Prints the problem and the usage; returns kExitUnusable.
int usageError(std::ostream &err, std::string_view tool, std::string_view problem);

// The game root of --root, or the default.
std::filesystem::path rootFrom(const Arguments &parsed, const std::filesystem::path &defaultRoot);

} // namespace cw::cli
