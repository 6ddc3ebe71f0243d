// What a folder holds: its files or folders in the file lists' order, why it cannot be
// listed, and an entry found without regard to letter case.
#include "core/io/Files.h"

#include "core/io/FileNames.h"
#include "core/io/IoFaults.h"
#include "core/io/SystemFiles.h"
#include "core/text/Folding.h"

#include <algorithm>

namespace cw {

std::optional<IoError> folderProblem(const fs::path &folder)
{
    std::error_code code;
    const fs::file_status status = fs::status(folder, code);
    if (status.type() == fs::file_type::not_found)
        return IoError{"there is no such folder", folder};
    if (code)
        return IoError{"it cannot be read: " + code.message(), folder};
    if (!fs::is_directory(status))
        return IoError{"it is a file, not a folder", folder};
    if (const IoFaultForTesting *fault = folderFaultFor(folder))
        return IoError{"it cannot be read: " + std::string(std::strerror(fault->error)), folder};
    const fs::directory_iterator listing(folder, code);
    if (code)
        return IoError{"it cannot be read: " + code.message(), folder};
    return std::nullopt;
}

Result<std::vector<std::string>, IoError> listFolder(const fs::path &folder, EntryKind kind,
                                                     std::string_view pattern)
{
    std::error_code code;
    if (!fs::is_directory(folder, code))
        return IoError{code ? code.message() : "it is not an existing folder", folder};
    fs::directory_iterator it(folder, code);
    if (code)
        return os::errorFrom(code, folder);
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(code)) {
        if (code)
            return os::errorFrom(code, folder);
        std::error_code typeCode;
        // Sockets, FIFOs and devices are no files of a mod: reading one could block.
        const bool wanted =
            kind == EntryKind::Folders ? it->is_directory(typeCode) : it->is_regular_file(typeCode);
        if (!wanted || os::isHidden(it->path()))
            continue;
        std::string name = nameOf(it->path().filename());
        if (matchesPattern(name, pattern))
            names.push_back(std::move(name));
    }
    if (code)
        return os::errorFrom(code, folder);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return lessNoCase(a, b) || (!lessNoCase(b, a) && a < b);
    });
    return names;
}

bool sameFile(const fs::path &a, const fs::path &b)
{
    std::error_code code;
    return a == b || (fs::equivalent(a, b, code) && !code);
}

fs::path findNoCase(const fs::path &folder, std::string_view name)
{
    std::error_code code;
    fs::path exact = folder / pathFromName(name);
#ifndef _WIN32
    if (fs::exists(exact, code))
        return exact;
#endif
    // On Windows every spelling exists, so the folder's own spelling is looked up: the
    // paths shown and printed are then those of Linux.
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::string entry = nameOf(it->path().filename());
        if (entry == name)
            return exact;
        if (equalNoCase(entry, name))
            matches.push_back(std::move(entry));
    }
    if (matches.empty())
        return exact;
    std::sort(matches.begin(), matches.end());
    return folder / pathFromName(matches.front());
}

} // namespace cw
