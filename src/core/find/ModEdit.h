#pragma once

#include "core/find/ModFind.h"
#include "core/io/FileStamp.h"
#include "core/io/IoError.h"
#include "core/util/Result.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cw {
class Catalogue;
class GameStrings;
class ModFiles;
struct ReadFile;
} // namespace cw

// Changes to many files of a mod at once (a replace, a strings key's rename), planned
// from what the files hold, shown before anything is written, then written through the
// mod's files and undone as one. Only the bytes a change names are rewritten: every
// other byte of a file, its line ends and the game's column alignment, stays.
namespace cw::find {

// Bytes of a file to put in place of `length` bytes at `offset`.
struct Splice
{
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string bytes;

    bool operator==(const Splice &) const = default;
};

// One line a change rewrites, with how it reads before and after (UTF-8, for people)
// and its splices, left to right.
struct LineChange
{
    int line = 0; // from 1
    std::string before;
    std::string after;
    std::vector<Splice> splices;
};

// The lines a change rewrites in one file, planned from `bytes` as read.
struct FileChange
{
    std::filesystem::path file;
    std::string bytes;
    FileStamp stamp;
    std::vector<LineChange> lines;

    // The file's bytes with every line's splices made.
    std::string changedBytes() const;
};

// The same change planned again for one file as it is now: for a file another program
// changed since the plan. Nothing when it no longer holds anything to change.
using Replan = std::function<std::optional<FileChange>(const std::filesystem::path &file, ReadFile read)>;

struct ModChange
{
    std::vector<FileChange> files; // in the order find searches them
    std::vector<IoError> unread;   // files that could not be read, so nothing is planned in them
    Replan replan;

    int lineCount() const;
};

// Every match of `text` in the mod's scripts and strings files (as find finds them),
// replaced by `replacement`; both UTF-8. Refused when the game's code page cannot hold
// either, or `text` is empty.
Result<ModChange, std::string> planReplace(const ModFiles &files, std::string_view text,
                                           std::string_view replacement, const Options &options);

// Why `name` (UTF-8) cannot be a strings key, for people; nothing when it can. A key
// is one word as the game reads its strings files, which a "[name]" phrase can name.
std::optional<std::string> keyNameProblem(std::string_view name);

// The strings key `oldKey` renamed `newKey` (both UTF-8) wherever the mod uses it: its
// definition in every strings file of the mod (strings_default.txt, strings_<language>.txt,
// language/<language>.txt), with its _kbd, _xin, _icons and _1mb variants; each "[key]"
// phrase inside a text; and each script argument of the catalogue's "Strings_Default
// entry" type that names it; keys in any ASCII letter case, as the game looks them up.
// Refused, with the reason, when the new name is not a valid key, another key of the
// mod (or of `strings`, the game's tables, when given) has it already, or no strings
// file of the mod defines the old key.
Result<ModChange, std::string> planRenameKey(const ModFiles &files, const Catalogue &catalogue,
                                             std::string_view oldKey, std::string_view newKey,
                                             const GameStrings *strings);

// A file written by a change, with what it held before, so that it can be put back.
struct WrittenFile
{
    std::filesystem::path file;
    std::string before;
    FileStamp written;
};

struct ChangeWritten
{
    std::vector<WrittenFile> written;
    // What could not be written, and why; an error with untouchedFile changed on disk
    // since the plan (or failed with the file as it was).
    std::vector<IoError> failed;
    // A strings table written whose backup could not be.
    std::vector<IoError> backupFailed;
};

// Writes each file's change, when it still holds the bytes planned from. The strings
// table goes with its backup, as its save does.
ChangeWritten writeChange(const ModFiles &files, const std::vector<FileChange> &change);

// Puts back what `written` replaced, only when none of those files changed since it
// was written: otherwise nothing is written and the files that changed are the error.
Result<ChangeWritten, std::vector<std::filesystem::path>> undoChange(const ModFiles &files,
                                                                     const std::vector<WrittenFile> &written);

} // namespace cw::find
