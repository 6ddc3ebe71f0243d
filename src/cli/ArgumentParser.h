#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// What a command line may hold besides plain words: options of our own with and without
// a value, and options that belong to someone else (the window system's), which are
// handed on untouched, with their value, in either "-opt value" or "-opt=value" form
// and with one or two dashes.
struct ArgumentRules
{
    std::vector<std::string_view> values;
    std::vector<std::string_view> flags;
    std::vector<std::string_view> foreignValues;
    std::vector<std::string_view> foreignFlags;
};

struct Arguments
{
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::vector<std::string> flags;
    std::vector<std::string> foreign; // as given, in order
    std::string problem;              // for people; empty when the command line is fine

    bool has(std::string_view flag) const;
    // The value of an option, or nothing.
    const std::string *value(std::string_view option) const;
};

// The one parser of every command line. Anything that starts with "-" is an option
// ("-" alone too) unless it follows "--"; an option nobody knows is a problem.
Arguments parseArguments(std::span<const std::string> args, const ArgumentRules &rules);

} // namespace cw
