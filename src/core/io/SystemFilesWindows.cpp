#ifdef _WIN32

#include "core/io/SystemFiles.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <system_error>
#include <windows.h>

namespace cw::os {
namespace {

std::error_code lastError()
{
    return {static_cast<int>(GetLastError()), std::system_category()};
}

bool isReparsePoint(const fs::path &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A folder held so that no one may rename or delete it until it is let go, itself
// never a reparse point (a junction or a link); INVALID_HANDLE_VALUE with errno set
// when it cannot be.
HANDLE holdFolder(const fs::path &path)
{
    const HANDLE handle =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ENOENT;
        return handle;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        errno = (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? ELOOP : ENOTDIR;
        CloseHandle(handle);
        return INVALID_HANDLE_VALUE;
    }
    return handle;
}

} // namespace

long long writeSome(int fd, const char *data, std::size_t size)
{
    return ::_write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

int flushToDisk(int fd)
{
    return ::_commit(fd);
}

int closeFile(int fd)
{
    return ::_close(fd);
}

int openRead(const fs::path &path)
{
    return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

long long readSome(int fd, char *data, std::size_t size)
{
    return ::_read(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

std::optional<OpenFileInfo> infoOf(int fd)
{
    struct _stat64 info;
    if (::_fstat64(fd, &info) != 0)
        return std::nullopt;
    const fs::file_type type = (info.st_mode & _S_IFMT) == _S_IFREG   ? fs::file_type::regular
                               : (info.st_mode & _S_IFMT) == _S_IFDIR ? fs::file_type::directory
                                                                      : fs::file_type::unknown;
    return OpenFileInfo{type, static_cast<std::uintmax_t>(info.st_size)};
}

bool keepIdentity(int, const Identity &)
{
    return true;
}

std::optional<Folder> Folder::open(const fs::path &top, const fs::path &below)
{
    Folder folder;
    folder.m_path = top;
    for (auto name = below.begin();; ++name) {
        if (name != below.end() && (name->empty() || *name == "."))
            continue;
        if (name != below.end() && *name == "..") {
            errno = EXDEV;
            return std::nullopt;
        }
        const HANDLE held = holdFolder(folder.m_path);
        if (held == INVALID_HANDLE_VALUE)
            return std::nullopt;
        folder.m_held.push_back(held);
        if (name == below.end())
            return folder;
        folder.m_path /= *name;
    }
}

Folder::Folder(Folder &&other) noexcept : m_path(std::move(other.m_path)), m_held(std::move(other.m_held))
{
    other.m_held.clear();
}

Folder &Folder::operator=(Folder &&other) noexcept
{
    if (this != &other) {
        release();
        m_path = std::move(other.m_path);
        m_held = std::move(other.m_held);
        other.m_held.clear();
    }
    return *this;
}

Folder::~Folder()
{
    release();
}

void Folder::release()
{
    for (void *handle : m_held)
        CloseHandle(handle);
    m_held.clear();
}

int Folder::openNew(const fs::path &name) const
{
    return ::_wopen((m_path / name).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

int Folder::openRead(const fs::path &name) const
{
    if (isReparsePoint(m_path / name)) {
        errno = ELOOP;
        return -1;
    }
    return os::openRead(m_path / name);
}

fs::file_type Folder::typeOf(const fs::path &name) const
{
    std::error_code code;
    return fs::symlink_status(m_path / name, code).type();
}

std::optional<Identity> Folder::identityOf(const fs::path &name) const
{
    if (typeOf(name) != fs::file_type::regular) {
        errno = EINVAL;
        return std::nullopt;
    }
    return Identity{};
}

bool Folder::isReadOnly(const fs::path &name, const Identity &) const
{
    const DWORD attributes = GetFileAttributesW((m_path / name).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::error_code Folder::rename(const fs::path &from, const fs::path &to) const
{
    return MoveFileExW((m_path / from).c_str(), (m_path / to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? std::error_code{}
               : lastError();
}

std::error_code Folder::remove(const fs::path &name) const
{
    return DeleteFileW((m_path / name).c_str()) ? std::error_code{} : lastError();
}

std::error_code Folder::makeFolder(const fs::path &name) const
{
    return CreateDirectoryW((m_path / name).c_str(), nullptr) ? std::error_code{} : lastError();
}

Result<Done, IoError> Folder::linkNew(const fs::path &temporary, const fs::path &target,
                                      const fs::path &path) const
{
    // MoveFileEx without MOVEFILE_REPLACE_EXISTING fails on an existing target.
    const bool moved =
        MoveFileExW((m_path / temporary).c_str(), (m_path / target).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    const DWORD moveError = moved ? 0 : GetLastError();
    (void)remove(temporary);
    if (!moved)
        return IoError{moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS
                           ? kExistsAlready
                           : std::system_category().message(static_cast<int>(moveError)),
                       path};
    return Done{};
}

void Folder::removeOlderThan(std::chrono::seconds age, bool (*isOurs)(std::string_view name)) const
{
    std::error_code code;
    const auto cutoff = fs::file_time_type::clock::now() - age;
    for (fs::directory_iterator it(m_path, code), end; !code && it != end; it.increment(code)) {
        std::error_code entryCode;
        const std::u8string name = it->path().filename().u8string();
        if (!isOurs(std::string_view(reinterpret_cast<const char *>(name.data()), name.size())) ||
            it->symlink_status(entryCode).type() != fs::file_type::regular)
            continue;
        const auto written = it->last_write_time(entryCode);
        if (!entryCode && written < cutoff)
            fs::remove(it->path(), entryCode);
    }
}

bool isHidden(const fs::path &entry)
{
    const DWORD attributes = GetFileAttributesW(entry.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

} // namespace cw::os

#endif
