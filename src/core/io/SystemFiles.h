#pragma once

// What the core's file functions need of each system, for them alone:
// SystemFilesPosix.cpp and SystemFilesWindows.cpp each hold one system's half. Last, the
// small pieces those functions share.
#include "core/io/IoError.h"
#include "core/util/Result.h"

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace cw::os {

// Writes some of the bytes; the count written, or -1 with errno set.
long long writeSome(int fd, const char *data, std::size_t size);
// 0, or -1 with errno set.
int flushToDisk(int fd);
int closeFile(int fd);

// What a replacement keeps of the file it replaces. Windows keeps no mode bits or owner
// in the file that a replacement could lose (the folder's permissions apply to the new
// file); only its read-only attribute matters, and a read-only file is refused.
struct Identity
{
#ifndef _WIN32
    mode_t mode;
    uid_t owner;
    gid_t group;
#endif
};

// Gives a new file the old one's identity; false with errno set when it cannot.
bool keepIdentity(int fd, const Identity &keep);

// A file opened for reading, -1 with errno set when it cannot be: without waiting for a
// writer (a FIFO opens at once and is then refused as no regular file).
int openRead(const fs::path &path);
// Reads some bytes; the count read (0 at the end), or -1 with errno set.
long long readSome(int fd, char *data, std::size_t size);

// What an open file is, or nothing with errno set.
struct OpenFileInfo
{
    fs::file_type type;
    std::uintmax_t size;
};
std::optional<OpenFileInfo> infoOf(int fd);

// A folder held open while the program acts in it, so that every action lands in this
// folder however its path changes meanwhile: a folder on the way swapped for a link
// after the boundary checked the path leads nowhere else. On POSIX the actions are
// taken relative to the folder's descriptor and never follow a link at the name they
// act on; on Windows each folder on the way is held open without leave to rename or
// delete it, and none of them may be a reparse point.
class Folder
{
public:
    // Opens `top`, whose last name must not be a link, and walks down `below` one name
    // at a time, a link at any step refused; nothing with errno set (ELOOP for a link,
    // ENOTDIR for a file) when a step cannot be taken.
    static std::optional<Folder> open(const fs::path &top, const fs::path &below);

    Folder(Folder &&other) noexcept;
    Folder &operator=(Folder &&other) noexcept;
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    ~Folder();

    // The path the folder had when it was opened, for messages.
    const fs::path &path() const { return m_path; }

    // The entry `name` of this folder is never followed when it is a link.
    // A new file created exclusively for writing, or a file opened for reading, as
    // os::openRead; -1 with errno set when it cannot be.
    int openNew(const fs::path &name) const;
    int openRead(const fs::path &name) const;
    // The type of the entry itself (a link is a symlink), not_found when there is none.
    fs::file_type typeOf(const fs::path &name) const;
    // The identity of the regular file `name`, or nothing with errno set; whether the
    // user made it read-only.
    std::optional<Identity> identityOf(const fs::path &name) const;
    bool isReadOnly(const fs::path &name, const Identity &identity) const;

    // Each an empty code on success.
    std::error_code rename(const fs::path &from, const fs::path &to) const;
    std::error_code remove(const fs::path &name) const;
    std::error_code makeFolder(const fs::path &name) const;
    // Gives the finished file `temporary` the name `target`, where no name may exist; the
    // temporary name is gone afterwards. A failure is named by `path`.
    Result<Done, IoError> linkNew(const fs::path &temporary, const fs::path &target,
                                  const fs::path &path) const;
    // Removes the regular files of the folder whose names `isOurs` accepts, last written
    // longer than `age` ago.
    void removeOlderThan(std::chrono::seconds age, bool (*isOurs)(std::string_view name)) const;

private:
    Folder() = default;
    void release();

    fs::path m_path;
#ifdef _WIN32
    std::vector<void *> m_held; // HANDLEs
#else
    int m_fd = -1;
#endif
};

// The folder the real path `file` lies in, held, walked down to from the real mod
// folder `realMod`; a failure is named by `path`, the name the caller gave.
Result<Folder, IoError> holdFolderOf(const fs::path &file, const fs::path &realMod, const fs::path &path);

// Whether an entry of a folder is hidden: a leading dot, or hidden or system on Windows.
bool isHidden(const fs::path &entry);

inline constexpr const char *kExistsAlready = "a file or folder of that name exists already";

// A failure the system reported, about `path`.
inline IoError errorFrom(const std::error_code &code, const fs::path &path)
{
    return IoError{code.message(), path};
}

inline IoError errorFromErrno(const fs::path &path)
{
    return IoError{std::strerror(errno), path};
}

inline bool isRegularFile(const fs::path &path)
{
    std::error_code code;
    return fs::is_regular_file(path, code);
}

// A failure of an action that leaves the file it aims at as it was: says so when a file
// stood there.
inline IoError leftAsItWas(IoError error, bool fileStood)
{
    error.untouchedFile = fileStood;
    return error;
}

} // namespace cw::os
