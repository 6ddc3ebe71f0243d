#include "cli/ArgumentParser.h"

#include <algorithm>

namespace cw {
namespace {

bool listed(const std::vector<std::string_view> &options, std::string_view arg)
{
    return std::find(options.begin(), options.end(), arg) != options.end();
}

// "--style=fusion" and "-style" both name "-style".
std::string_view foreignName(std::string_view arg)
{
    if (arg.size() > 2 && arg.substr(0, 2) == "--")
        arg.remove_prefix(1);
    return arg.substr(0, arg.find('='));
}

} // namespace

bool Arguments::has(std::string_view flag) const
{
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

const std::string *Arguments::value(std::string_view option) const
{
    const auto found = values.find(option);
    return found == values.end() ? nullptr : &found->second;
}

Arguments parseArguments(std::span<const std::string> args, const ArgumentRules &rules)
{
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--") {
            parsed.positional.insert(parsed.positional.end(), args.begin() + static_cast<long>(i) + 1,
                                     args.end());
            break;
        }
        if (arg.empty() || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        if (listed(rules.flags, arg)) {
            parsed.flags.push_back(arg);
            continue;
        }
        const bool ownValue = listed(rules.values, arg);
        const std::string_view foreign = foreignName(arg);
        const bool foreignValue = listed(rules.foreignValues, foreign);
        if (!ownValue && !foreignValue) {
            if (!listed(rules.foreignFlags, foreign)) {
                parsed.problem = "unknown option " + arg;
                return parsed;
            }
            parsed.foreign.push_back(arg);
            continue;
        }
        const bool valueAttached = foreignValue && arg.find('=') != std::string::npos;
        if (!valueAttached && i + 1 >= args.size()) {
            parsed.problem = arg + " needs a value";
            return parsed;
        }
        if (ownValue) {
            parsed.values[arg] = args[++i];
        } else {
            parsed.foreign.push_back(arg);
            if (!valueAttached)
                parsed.foreign.push_back(args[++i]);
        }
    }
    return parsed;
}

} // namespace cw
