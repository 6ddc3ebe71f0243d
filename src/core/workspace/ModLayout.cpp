#include "core/workspace/ModLayout.h"

namespace cw::layout {

std::string stringsFileFor(std::string_view language)
{
    return "strings_" + std::string(language) + ".txt";
}

std::string stringsBackupFile()
{
    return std::string(kStringsFile) + std::string(kBackupSuffix);
}

LevelFile classifyLevelFile(std::string_view name)
{
    const std::string_view start = name.substr(0, 3);
    if (start == "map")
        return LevelFile::Map;
    if (start == "mis")
        return LevelFile::Mission;
    return LevelFile::Other;
}

std::string newScriptBytes()
{
    std::string bytes;
    for (int line = 0; line < 100; ++line)
        bytes += "\r\n";
    return bytes;
}

std::string starterStringsBytes()
{
    return " \r\n";
}

} // namespace cw::layout
