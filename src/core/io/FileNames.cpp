#include "core/io/FileNames.h"

#include <string>

namespace cw {

NameProblem plainFileNameProblem(std::string_view name)
{
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
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    static constexpr std::string_view kDevices[] = {
        "con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4", "com5", "com6", "com7",
        "com8", "com9", "lpt1", "lpt2", "lpt3", "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (std::string_view device : kDevices) {
        if (stem == device)
            return NameProblem::DeviceName;
    }
    return NameProblem::None;
}

} // namespace cw
