#ifndef _WIN32

#include "core/io/SystemFiles.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cw::os {
namespace {

fs::file_type typeFromMode(mode_t mode)
{
    if (S_ISREG(mode))
        return fs::file_type::regular;
    if (S_ISDIR(mode))
        return fs::file_type::directory;
    if (S_ISLNK(mode))
        return fs::file_type::symlink;
    if (S_ISFIFO(mode))
        return fs::file_type::fifo;
    if (S_ISSOCK(mode))
        return fs::file_type::socket;
    if (S_ISBLK(mode))
        return fs::file_type::block;
    if (S_ISCHR(mode))
        return fs::file_type::character;
    return fs::file_type::unknown;
}

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

} // namespace

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

int openRead(const fs::path &path)
{
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

long long readSome(int fd, char *data, std::size_t size)
{
    return ::read(fd, data, size);
}

std::optional<OpenFileInfo> infoOf(int fd)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return OpenFileInfo{typeFromMode(info.st_mode), static_cast<std::uintmax_t>(info.st_size)};
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

std::optional<Folder> Folder::open(const fs::path &top, const fs::path &below)
{
    Folder folder;
    folder.m_path = top;
    folder.m_fd = ::open(top.c_str(), kFolderFlags);
    if (folder.m_fd < 0)
        return std::nullopt;
    for (const fs::path &name : below) {
        if (name.empty() || name == ".")
            continue;
        if (name == "..") {
            errno = EXDEV;
            return std::nullopt;
        }
        const int next = ::openat(folder.m_fd, name.c_str(), kFolderFlags);
        if (next < 0)
            return std::nullopt;
        ::close(folder.m_fd);
        folder.m_fd = next;
        folder.m_path /= name;
    }
    return folder;
}

Folder::Folder(Folder &&other) noexcept : m_path(std::move(other.m_path)), m_fd(other.m_fd)
{
    other.m_fd = -1;
}

Folder &Folder::operator=(Folder &&other) noexcept
{
    if (this != &other) {
        release();
        m_path = std::move(other.m_path);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

Folder::~Folder()
{
    release();
}

void Folder::release()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int Folder::openNew(const fs::path &name) const
{
    return ::openat(m_fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int Folder::openRead(const fs::path &name) const
{
    return ::openat(m_fd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
}

fs::file_type Folder::typeOf(const fs::path &name) const
{
    struct stat info;
    if (::fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? fs::file_type::not_found : fs::file_type::unknown;
    return typeFromMode(info.st_mode);
}

std::optional<Identity> Folder::identityOf(const fs::path &name) const
{
    struct stat info;
    if (::fstatat(m_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISLNK(info.st_mode) ? ELOOP : EINVAL;
        return std::nullopt;
    }
    return Identity{info.st_mode, info.st_uid, info.st_gid};
}

// Root may write any file, so the permission bits alone say that the user made it
// read-only; for everyone else the system's own answer counts too.
bool Folder::isReadOnly(const fs::path &name, const Identity &identity) const
{
    return (identity.mode & 0222) == 0 || ::faccessat(m_fd, name.c_str(), W_OK, 0) != 0;
}

std::error_code Folder::rename(const fs::path &from, const fs::path &to) const
{
    return ::renameat(m_fd, from.c_str(), m_fd, to.c_str()) == 0 ? std::error_code{} : lastError();
}

std::error_code Folder::remove(const fs::path &name) const
{
    return ::unlinkat(m_fd, name.c_str(), 0) == 0 ? std::error_code{} : lastError();
}

std::error_code Folder::makeFolder(const fs::path &name) const
{
    return ::mkdirat(m_fd, name.c_str(), 0777) == 0 ? std::error_code{} : lastError();
}

Result<Done, IoError> Folder::linkNew(const fs::path &temporary, const fs::path &target, const fs::path &path) const
{
    // A hard link is created only where no name exists, which rename cannot promise.
    const bool linked = ::linkat(m_fd, temporary.c_str(), m_fd, target.c_str(), 0) == 0;
    const int linkErrno = linked ? 0 : errno;
    if (!linked && linkErrno != EEXIST && typeOf(target) == fs::file_type::not_found) {
        // File systems without hard links: rename, having just checked the name is free.
        if (!rename(temporary, target))
            return Done{};
    }
    (void)remove(temporary);
    if (!linked)
        return IoError{linkErrno == EEXIST ? kExistsAlready : std::strerror(linkErrno), path};
    return Done{};
}

void Folder::removeOlderThan(std::chrono::seconds age, bool (*isOurs)(std::string_view name)) const
{
    const int listing = ::openat(m_fd, ".", kFolderFlags);
    if (listing < 0)
        return;
    DIR *dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    const time_t cutoff = ::time(nullptr) - static_cast<time_t>(age.count());
    while (const dirent *entry = ::readdir(dir)) {
        if (!isOurs(entry->d_name))
            continue;
        struct stat info;
        if (::fstatat(m_fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_mtime < cutoff)
            ::unlinkat(m_fd, entry->d_name, 0);
    }
    ::closedir(dir);
}

bool isHidden(const fs::path &entry)
{
    const std::string name = entry.filename().native();
    return !name.empty() && name.front() == '.';
}

} // namespace cw::os

#endif
