#pragma once

// What the core's file functions need of each system, for them alone:
// SystemFilesPosix.cpp and SystemFilesWindows.cpp each hold one system's half. Last, the
// small pieces those functions share.
#include "core/io/IoError.h"
#include "core/util/Result.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

#ifndef _WIN32
#include <sys/types.h>
#endif

namespace cw::os {

// A new file created exclusively for writing; -1 with errno set when it cannot be.
int openNew(const fs::path &path);
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

// The identity of an existing file, or nothing with errno set.
std::optional<Identity> identityOf(const fs::path &file);
// Whether the user made the file read-only.
bool isReadOnly(const fs::path &file, const Identity &identity);
// Gives a new file the old one's identity; false with errno set when it cannot.
bool keepIdentity(int fd, const Identity &keep);

// Gives the finished file `temporary` the name `target`, where no name may exist; the
// temporary name is gone afterwards. A failure is named by `path`.
Result<Done, IoError> linkNew(const fs::path &temporary, const fs::path &target, const fs::path &path);

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
