#pragma once

#include "core/io/FileStamp.h"
#include "core/io/IoError.h"
#include "core/io/ModBoundary.h"
#include "core/util/Result.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cw {

// A file as it was read: its bytes, and their stamp, which a later write over it is
// checked against.
struct ReadFile
{
    std::string bytes;
    FileStamp stamp;
};

// The bytes a read gave, stamped as the file `path` now is.
Result<ReadFile, IoError> stamped(const fs::path &path, Result<std::string, IoError> read);

// What became of a script sent to the trash.
struct Trashed
{
    enum class Outcome {
        InTrash,  // in a trash that can restore it
        NotMoved, // it is where it was: no trash took it (or it was put back)
        Stranded, // moved where no trash can restore it, and it could not be put back
    };
    Outcome outcome;
    fs::path where; // where a stranded script now is
};

// The desktop's trash, as the window's toolkit offers it: moves `file` there and says
// where it went, an empty path when the system keeps its own record of it (Windows,
// macOS), nothing when it was not moved. The core writes no trash of its own.
using MoveToTrash = std::function<std::optional<fs::path>(const fs::path &file)>;

// The files of one mod and everything the program does to them: its scripts, its
// strings table and the table's backup, and the folders and the starter table it
// makes. Every action is bounded by the mod (ModBoundary), whatever path it is given;
// a write over a file is refused when the file no longer holds what its stamp says
// (another program changed or removed it), unless the stamp is of nothing read (an
// unknown stamp: "write anyway"). Each returns the stamp of what it wrote, or why it
// could not. Questions are the window's: it asks them first, and these refuse on their
// own what the questions protect, should the disk change in between.
class ModFiles
{
public:
    explicit ModFiles(fs::path modFolder);

    const fs::path &folder() const { return m_boundary.modFolder(); }
    const ModBoundary &boundary() const { return m_boundary; }

    // The entry of the mod folder named `name` in any letter case (Windows names them),
    // or nothing.
    std::optional<fs::path> existing(std::string_view name) const;
    // The scripts folder, in whatever letter case it has; nothing when there is none.
    std::optional<fs::path> scriptsFolder() const;
    fs::path stringsFile() const;
    fs::path stringsBackup() const;
    // The script of the scripts folder named `name` in any letter case, or nothing.
    std::optional<fs::path> scriptNamed(std::string_view name) const;

    Result<ReadFile, IoError> readScript(const fs::path &script) const;
    // Replaces the script (or writes it anew) with `bytes`, when it still holds what
    // `expected` stamps.
    Result<FileStamp, IoError> writeScript(const fs::path &script, std::string_view bytes,
                                           const FileStamp &expected) const;
    // Replaces any other file of the mod with `bytes`, when it still holds what
    // `expected` stamps.
    Result<FileStamp, IoError> writeFile(const fs::path &file, std::string_view bytes,
                                         const FileStamp &expected) const;
    // A new script named `name` in the scripts folder, never over a file of that name
    // in any letter case.
    Result<FileStamp, IoError> createScript(std::string_view name, std::string_view bytes) const;
    // Sends the script to the trash through `moveToTrash`; one that went where no trash
    // can restore it (a trash inside the mod, or one without its record) is put back.
    Result<Trashed, IoError> trashScript(const fs::path &script, const MoveToTrash &moveToTrash) const;
    // Deletes the script for good.
    Result<Done, IoError> deleteScript(const fs::path &script) const;

    Result<ReadFile, IoError> readStrings() const;
    Result<std::string, IoError> readStringsBackup() const;
    // What a save of the strings table did: the table's stamp, and why the backup, written
    // after it, could not be.
    struct StringsSaved
    {
        FileStamp stamp;
        std::optional<IoError> backupFailed;
    };
    // Writes `bytes` to the table, when it still holds what `expected` stamps, and then
    // to its backup, so that the backup holds the text of the last save. A table that
    // cannot be written leaves both files as they were.
    Result<StringsSaved, IoError> writeStrings(std::string_view bytes, const FileStamp &expected) const;
    // The starter table, where no strings file stands in any letter case.
    Result<FileStamp, IoError> createStrings() const;

    // One of the mod's folders (scripts, levels), where none of that name stands in any
    // letter case.
    Result<Done, IoError> makeFolder(std::string_view name) const;

private:
    Result<Done, IoError> unchangedOnDisk(const fs::path &file, const FileStamp &expected) const;

    ModBoundary m_boundary;
};

} // namespace cw
