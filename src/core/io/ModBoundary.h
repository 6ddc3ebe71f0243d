#pragma once

#include "core/io/IoError.h"
#include "core/util/Result.h"

namespace cw {

// Where the program may act on the files of one mod. Every write, create and delete,
// and every read of a mod's own file, is checked against the boundary of its mod at the
// moment it acts, so that a link swapped in after a file was opened is caught as well
// as one shipped in a mod; the action then walks down from the real mod folder to the
// target's folder without following a link and acts relative to that folder, so that
// a link swapped in between the check and the action is refused too:
//
// - the path names an entry directly in the mod folder (the strings table, its backup,
//   a folder Make Folder makes), directly in the mod's scripts folder, or directly in
//   its language or levels folder (tables and levels the game reads, which the
//   program only reads);
// - with every link resolved, it lies inside the real path of the mod folder. The mod
//   folder itself may be a link, as when a modder keeps a mod in a working copy
//   elsewhere and links it into mods. A link inside the mod may lead anywhere inside
//   it; one that leads out of it, a folder of the path that does, and a link to
//   nothing are refused, saying where they lead.
//
// The game's own data (commands.txt, the game folder's files, preferences.txt) belongs
// to no mod and is read without a boundary.
class ModBoundary
{
public:
    explicit ModBoundary(fs::path modFolder) : m_modFolder(std::move(modFolder)) {}

    const fs::path &modFolder() const { return m_modFolder; }

    // Where an action on a path lands, every link resolved.
    struct Target
    {
        fs::path entry; // the entry the path names, in the real path of its folder
        fs::path file;  // what reading or writing reaches: the entry, or where its link leads
        fs::file_type type = fs::file_type::not_found; // of `file`
        bool isLink = false;                           // the entry is a link (leading inside the mod)
        fs::path realMod; // the real path of the mod folder, in which `entry` and `file` lie
    };

    // The target of `path`, or why no action of the program may touch it.
    Result<Target, IoError> resolve(const fs::path &path) const;

    // The target of `path` when it may be deleted: it resolves inside the mod and is a
    // regular file or a link to one; its `entry` is what goes (a link itself, not what
    // it leads to). Checked before a script goes to the desktop's trash, too.
    Result<Target, IoError> deletable(const fs::path &path) const;

private:
    fs::path m_modFolder;
};

// Whether `inner` lies inside `outer` (both absolute and free of links), `outer`
// itself included.
bool liesInside(const fs::path &inner, const fs::path &outer);

} // namespace cw
