#ifndef _WIN32

#include "core/io/SystemFiles.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

Result<Done, IoError> Folder::linkNew(const fs::path &temporary, const fs::path &target,
                                      const fs::path &path) const
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

namespace {

// Where `program` is found: itself when it names a folder, else the first executable of
// that name in a folder of PATH.
std::optional<fs::path> findProgram(const fs::path &program)
{
    if (program.native().find('/') != std::string::npos)
        return program;
    const char *path = ::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t end = std::min(folders.find(':'), folders.size());
        const fs::path folder(std::string(folders.substr(0, end)).empty()
                                  ? std::string(".")
                                  : std::string(folders.substr(0, end)));
        const fs::path candidate = folder / program;
        struct stat info;
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (end == folders.size())
            return std::nullopt;
        folders.remove_prefix(end + 1);
    }
}

// Tells the waiting parent why the program did not start, and ends this process. Only
// calls a forked child of a threaded program may make.
[[noreturn]] void failInChild(int report, int error)
{
    (void)!::write(report, &error, sizeof error);
    ::_exit(127);
}

} // namespace

} // namespace cw::os

namespace cw {

Result<Done, IoError> startProgram(const fs::path &program, const std::vector<fs::path> &arguments,
                                   const fs::path &workingFolder)
{
    using namespace os;
    const auto found = findProgram(program);
    if (!found)
        return IoError{"there is no such program", program};
    // Everything the children use is made before the fork: between fork and exec a
    // child of a threaded program may not allocate.
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const fs::path &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    const char *file = found->c_str();
    const char *folder = workingFolder.empty() ? nullptr : workingFolder.c_str();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return errorFromErrno(program);
    // The program is started by a child that exits at once, so it is nobody's child to
    // wait for: the same as a program started from a desktop's menu.
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild < 0)
            failInChild(report[1], errno);
        if (grandchild > 0)
            ::_exit(0);
        ::setsid();
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        if (folder && ::chdir(folder) != 0)
            failInChild(report[1], errno);
        ::execv(file, argv.data());
        failInChild(report[1], errno);
    }
    const int forkError = errno;
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        return IoError{std::strerror(forkError), program};
    }
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes unread when the program starts; a failure sends its errno first.
    int error = 0;
    long long got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (got == static_cast<long long>(sizeof error))
        return IoError{std::strerror(error), error == ENOENT && folder ? workingFolder : program};
    return Done{};
}

} // namespace cw

namespace cw::os {

bool isHidden(const fs::path &entry)
{
    const std::string name = entry.filename().native();
    return !name.empty() && name.front() == '.';
}

} // namespace cw::os

#endif
