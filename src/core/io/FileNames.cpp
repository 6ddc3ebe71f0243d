#include "core/io/FileNames.h"

#include "core/text/Folding.h"

#include <string>

namespace cw {
namespace {

NameProblem singleEntryProblem(std::string_view name)
{
    if (name.empty())
        return NameProblem::Empty;
    if (name == "." || name == "..")
        return NameProblem::Reserved;
#ifdef _WIN32
    constexpr std::string_view kSeparators = "/\\:";
#else
    constexpr std::string_view kSeparators = "/\\";
#endif
    if (name.find_first_of(kSeparators) != std::string_view::npos)
        return NameProblem::Reserved;
    if (name.find('\0') != std::string_view::npos)
        return NameProblem::ControlCharacter;
    return NameProblem::None;
}

} // namespace

NameProblem plainFileNameProblem(std::string_view name, NameRules rules)
{
    if (rules == NameRules::ThisSystem)
        return singleEntryProblem(name);
    if (name.empty())
        return NameProblem::Empty;
    if (name.size() > 255)
        return NameProblem::TooLong;
    if (name == "." || name == "..")
        return NameProblem::Reserved;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32)
            return NameProblem::ControlCharacter;
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return NameProblem::Reserved;
    }
    if (name.back() == ' ' || name.back() == '.')
        return NameProblem::TrailingBlankOrDot;
    // Device names are refused with any extension ("con.txt" too).
    std::string stem(name.substr(0, name.find('.')));
    for (char &c : stem)
        c = lowerAscii(c);
    static constexpr std::string_view kDevices[] = {
        "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
        "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (std::string_view device : kDevices) {
        if (stem == device)
            return NameProblem::DeviceName;
    }
    return NameProblem::None;
}

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one backtrack point for the last '*'.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::string withScriptExtension(std::string_view name)
{
    constexpr std::string_view kExtension = ".txt";
    std::string result(name);
    if (name.size() < kExtension.size() ||
        !equalNoCase(name.substr(name.size() - kExtension.size()), kExtension))
        result += kExtension;
    return result;
}

} // namespace cw
