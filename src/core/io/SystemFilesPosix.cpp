#ifndef _WIN32

#include "core/io/SystemFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cw::os {

int openNew(const fs::path &path)
{
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

long long writeSome(int fd, const char *data, std::size_t size)
{
    return ::write(fd, data, size);
}

int flushToDisk(int fd)
{
    return ::fsync(fd);
}

int closeFile(int fd)
{
    return ::close(fd);
}

std::optional<Identity> identityOf(const fs::path &file)
{
    struct stat info;
    if (::stat(file.c_str(), &info) != 0)
        return std::nullopt;
    return Identity{info.st_mode, info.st_uid, info.st_gid};
}

// Root may write any file, so the permission bits alone say that the user made it
// read-only; for everyone else the system's own answer counts too.
bool isReadOnly(const fs::path &file, const Identity &identity)
{
    return (identity.mode & 0222) == 0 || ::access(file.c_str(), W_OK) != 0;
}

bool keepIdentity(int fd, const Identity &keep)
{
    // The owner first: changing it may clear set-id bits, which the mode restores.
    // Only root may give a file away, so for everyone else this stays undone.
    if (::fchown(fd, keep.owner, keep.group) != 0 && ::fchown(fd, static_cast<uid_t>(-1), keep.group) != 0) {
        // Neither could be kept: the file is the writer's own, as a new file is.
    }
    return ::fchmod(fd, keep.mode & 07777) == 0;
}

Result<Done, IoError> linkNew(const fs::path &temporary, const fs::path &target, const fs::path &path)
{
    std::error_code code;
    // A hard link is created only where no name exists, which rename cannot promise.
    const bool linked = ::link(temporary.c_str(), target.c_str()) == 0;
    const int linkErrno = linked ? 0 : errno;
    if (!linked && linkErrno != EEXIST && !fs::exists(fs::symlink_status(target, code))) {
        // File systems without hard links: rename, having just checked the name is free.
        fs::rename(temporary, target, code);
        if (!code)
            return Done{};
    }
    fs::remove(temporary, code);
    if (!linked)
        return IoError{linkErrno == EEXIST ? kExistsAlready : std::strerror(linkErrno), path};
    return Done{};
}

bool isHidden(const fs::path &entry)
{
    const std::string name = entry.filename().native();
    return !name.empty() && name.front() == '.';
}

} // namespace cw::os

#endif
