#include "core/io/ModBoundary.h"

#include "core/io/Files.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"
#include "core/workspace/ModLayout.h"

#include <optional>
#include <vector>

namespace cw {
namespace {

std::string shown(const fs::path &path)
{
    return nameAsUtf8(nameOf(path));
}

// The names of `path` below `folder`, compared name by name as they are written;
// nothing when `path` does not start with `folder` or leaves it by "." or "..".
std::optional<std::vector<fs::path>> namesBelow(const fs::path &path, const fs::path &folder)
{
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (f->empty() && std::next(f) == folder.end())
            break;
        if (p == path.end() || *p != *f)
            return std::nullopt;
    }
    std::vector<fs::path> names;
    for (; p != path.end(); ++p) {
        if (p->empty() || *p == "." || *p == "..")
            return std::nullopt;
        names.push_back(*p);
    }
    return names;
}

// A file of the mod is the mod folder's own (one name below it), a script, a table of
// its language folder or a level file (two, the first that folder in any letter case).
bool isPlaceOfModFiles(const std::vector<fs::path> &names)
{
    return names.size() == 1 ||
           (names.size() == 2 && (equalNoCase(nameOf(names.front()), layout::kScriptsFolder) ||
                                  equalNoCase(nameOf(names.front()), layout::kLanguageFolder) ||
                                  equalNoCase(nameOf(names.front()), layout::kLevelsFolder)));
}

} // namespace

// Whether `inner` lies inside `outer` (both absolute and free of links), `outer`
// itself included.
bool liesInside(const fs::path &inner, const fs::path &outer)
{
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty() && std::next(o) == outer.end())
            break; // a trailing separator
        if (i == inner.end() || *i != *o)
            return false;
    }
    return true;
}

Result<ModBoundary::Target, IoError> ModBoundary::resolve(const fs::path &path) const
{
    const auto names = namesBelow(path, m_modFolder);
    if (!names || !isPlaceOfModFiles(*names))
        return IoError{"it is neither in the mod folder " + shown(m_modFolder) +
                           " nor in its scripts, language or levels folder",
                       path};
    std::error_code code;
    const fs::path realMod = fs::canonical(m_modFolder, code);
    if (code || !fs::is_directory(realMod, code))
        return IoError{"its mod folder " + shown(m_modFolder) + " does not exist", path};

    fs::path realFolder = realMod;
    if (names->size() == 2) {
        const fs::path folder = m_modFolder / names->front();
        realFolder = fs::canonical(folder, code);
        if (code || !fs::is_directory(realFolder, code))
            return IoError{"the folder " + shown(folder) + " does not exist", path};
        if (!liesInside(realFolder, realMod))
            return IoError{"its folder " + shown(folder) + " leads to " + shown(realFolder) +
                               ", outside the mod folder " + shown(m_modFolder),
                           path};
    }

    Target target;
    target.realMod = realMod;
    target.entry = realFolder / names->back();
    const fs::file_status entry = fs::symlink_status(target.entry, code);
    if (code && entry.type() != fs::file_type::not_found)
        return IoError{code.message(), path};
    target.isLink = fs::is_symlink(entry);
    if (!target.isLink) {
        target.file = target.entry;
        target.type = entry.type();
        return target;
    }
    const fs::path written = fs::read_symlink(target.entry, code);
    target.file = fs::canonical(target.entry, code);
    if (code)
        return IoError{"it is a link to " + shown(written) + ", which does not exist", path};
    if (!liesInside(target.file, realMod))
        return IoError{
            "it is a link to " + shown(target.file) + ", outside the mod folder " + shown(m_modFolder), path};
    target.type = fs::status(target.file, code).type();
    return target;
}

Result<ModBoundary::Target, IoError> ModBoundary::deletable(const fs::path &path) const
{
    auto target = resolve(path);
    if (!target)
        return target.error();
    switch (target->type) {
    case fs::file_type::regular:
        return target;
    case fs::file_type::not_found:
        return IoError{"the file does not exist", path};
    case fs::file_type::directory:
        return IoError{"it is a folder, not a file", path};
    default:
        return IoError{"it is not a regular file", path};
    }
}

} // namespace cw
