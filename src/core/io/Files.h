#pragma once

#include "core/io/IoError.h"
#include "core/io/ModBoundary.h"
#include "core/util/Result.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// The largest script, strings table or commands.txt the program opens. Real scripts
// are a few KB and real strings tables well under 1 MB; a file past this is a mistake
// or an attack, and reading it whole could exhaust the memory.
inline constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{16} * 1024 * 1024;

// The whole content of a regular file, as bytes. A file larger than kMaxFileBytes is
// refused without being read, and running out of memory is a failure like any other.
// The first form reads the game's own data; a file of a mod is read within the mod's
// boundary, so that a link leading out of the mod is refused.
Result<std::string, IoError> readFile(const fs::path &path);
Result<std::string, IoError> readFile(const fs::path &path, const ModBoundary &boundary);

// The first byte of a file, or nothing for an empty one; proves a file can be read
// without reading all of it.
Result<bool, IoError> fileHasContent(const fs::path &path);

// Replaces (or creates) `path` with exactly `bytes`, never leaving a half-written or
// missing file: the bytes go to a hidden temporary file in the same folder, which is
// flushed to disk and then renamed over the target. On any failure the target is as
// it was and the temporary file is gone.
//
// Only what `boundary` allows is written, checked as the write starts. A link inside
// the mod is followed: its target is the file replaced, so the link stays a link. A
// read-only file is refused, not replaced. The replacement keeps the old file's
// permission bits exactly, and its owner and group where the process may set them;
// other hard links of the old file keep the old content. A successful write also
// removes temporary files that killed writes left in the folder over a minute ago.
Result<Done, IoError> writeFileAtomically(const fs::path &path, std::string_view bytes,
                                          const ModBoundary &boundary);

// Like writeFileAtomically, but never replaces anything: fails when `path` exists (a
// link to nothing counts), also when it appears while the bytes are being written.
Result<Done, IoError> createFileAtomically(const fs::path &path, std::string_view bytes,
                                           const ModBoundary &boundary);

// Creates one folder where `boundary` allows; fails when anything stands there already
// or its parent does not exist.
Result<Done, IoError> createFolder(const fs::path &path, const ModBoundary &boundary);

// Deletes one file where `boundary` allows (see ModBoundary::deletable); fails when it
// is missing or cannot be removed. A link is removed, not the file it leads to.
Result<Done, IoError> deleteFile(const fs::path &path, const ModBoundary &boundary);

// Why `folder` cannot be listed: it does not exist, is no folder, or cannot be read
// (no permission); nothing when it can. Says which of the game's folders is at fault
// before anything looks inside.
std::optional<IoError> folderProblem(const fs::path &folder);

// The entry of `folder` named `name` without regard to ASCII letter case: the exact
// spelling when it exists, else the first match in listing order, else folder/name.
// Fixed names of the game (mods, scripts, strings_default.txt...) come from Windows,
// where case does not matter.
fs::path findNoCase(const fs::path &folder, std::string_view name);

// Whether `a` and `b` name the same file: the same path, or two spellings of one entry
// (letter case on Windows, a link); a path to nothing is only itself.
bool sameFile(const fs::path &a, const fs::path &b);

enum class EntryKind { Files, Folders };

// Names of the visible files (or folders) of `folder` matching `pattern`, sorted with
// lessNoCase. Hidden entries (a leading dot; hidden or system on Windows) are left
// out. Fails when `folder` is not an existing folder.
Result<std::vector<std::string>, IoError> listFolder(const fs::path &folder, EntryKind kind,
                                                     std::string_view pattern = "*");

#ifndef _WIN32
// Starts `program` (found on PATH when its name has no slash) with exactly these
// arguments, in `workingFolder` unless that is empty, without waiting for it and
// without it becoming a child of this program. Every name goes as its bytes, so a file
// whose name is not UTF-8 reaches the program as itself. Fails when the program cannot
// be found or started, or the folder cannot be entered. (Windows names are wide
// strings, which Qt passes on exactly.)
Result<Done, IoError> startProgram(const fs::path &program, const std::vector<fs::path> &arguments,
                                   const fs::path &workingFolder);
#endif

// The folder of the running program, the default game root.
fs::path executableFolder();

// A file name from the operating system as bytes for the rest of the program, and back.
std::string nameOf(const fs::path &path);
fs::path pathFromName(std::string_view name);

} // namespace cw
