#pragma once

#include <filesystem>

namespace cw {

namespace fs = std::filesystem;

// Whether a script the desktop moved to `inTrash` (TRASH/files/NAME, as the
// freedesktop.org trash keeps it) can be restored from there: the trash lies outside
// `modFolder`, where the file would not ship with the mod, and its info file
// TRASH/info/NAME.trashinfo names `original`, the path the file had, without which no
// trash can put it back. A trash of a top folder keeps the path relative to that folder.
bool isRestorableFromTrash(const fs::path &inTrash, const fs::path &original, const fs::path &modFolder);

} // namespace cw
