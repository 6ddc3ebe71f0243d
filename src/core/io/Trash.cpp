#include "core/io/Trash.h"

#include "core/io/Files.h"
#include "core/io/ModBoundary.h"

#include <optional>
#include <string>
#include <string_view>

namespace cw {
namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes a URL-escaped path stands for, or nothing when an escape is broken.
std::optional<std::string> unescaped(std::string_view escaped)
{
    std::string bytes;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] != '%') {
            bytes += escaped[i];
            continue;
        }
        if (i + 2 >= escaped.size())
            return std::nullopt;
        const int high = hexValue(escaped[i + 1]), low = hexValue(escaped[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

// The Path= of the [Trash Info] group, or nothing.
std::optional<std::string> pathOfInfo(const std::string &info)
{
    bool inGroup = false;
    std::size_t start = 0;
    while (start < info.size()) {
        std::size_t end = info.find('\n', start);
        if (end == std::string::npos)
            end = info.size();
        std::string_view line(info.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '[')
            inGroup = line == "[Trash Info]";
        else if (inGroup && line.substr(0, 5) == "Path=")
            return unescaped(line.substr(5));
        start = end + 1;
    }
    return std::nullopt;
}

// `path` with the links of its folder resolved; its own name kept, as the file it
// named is gone from there.
std::optional<fs::path> realFolderOf(const fs::path &path)
{
    std::error_code code;
    const fs::path folder = fs::canonical(path.parent_path(), code);
    if (code)
        return std::nullopt;
    return folder / path.filename();
}

} // namespace

bool isRestorableFromTrash(const fs::path &inTrash, const fs::path &original, const fs::path &modFolder)
{
    std::error_code code;
    if (!inTrash.is_absolute() || inTrash.parent_path().filename() != "files")
        return false;
    const fs::path trash = fs::canonical(inTrash.parent_path().parent_path(), code);
    const fs::path mod = fs::canonical(modFolder, code);
    if (trash.empty() || mod.empty() || liesInside(trash, mod))
        return false;
    const auto info = readFile(trash / "info" / (nameOf(inTrash.filename()) + ".trashinfo"));
    if (!info)
        return false;
    const auto written = pathOfInfo(*info);
    if (!written || written->empty())
        return false;
    fs::path named = pathFromName(*written);
    if (named.is_relative()) {
        // TOP/.Trash-UID, or TOP/.Trash/UID
        const fs::path above = trash.parent_path();
        named = (above.filename() == ".Trash" ? above.parent_path() : above) / named;
    }
    const auto was = realFolderOf(original), recorded = realFolderOf(named);
    return was && recorded && *was == *recorded;
}

} // namespace cw
