#ifdef _WIN32

#include "core/io/SystemFiles.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <system_error>
#include <windows.h>

namespace cw::os {

int openNew(const fs::path &path)
{
    return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}

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

std::optional<Identity> identityOf(const fs::path &)
{
    return Identity{};
}

bool isReadOnly(const fs::path &file, const Identity &)
{
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool keepIdentity(int, const Identity &)
{
    return true;
}

Result<Done, IoError> linkNew(const fs::path &temporary, const fs::path &target, const fs::path &path)
{
    std::error_code code;
    // MoveFileEx without MOVEFILE_REPLACE_EXISTING fails on an existing target.
    const bool moved = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    const DWORD moveError = moved ? 0 : GetLastError();
    fs::remove(temporary, code);
    if (!moved)
        return IoError{moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS
                           ? kExistsAlready
                           : std::system_category().message(static_cast<int>(moveError)),
                       path};
    return Done{};
}

bool isHidden(const fs::path &entry)
{
    const DWORD attributes = GetFileAttributesW(entry.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

} // namespace cw::os

#endif
