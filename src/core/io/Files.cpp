// Reading files, and the small actions on a mod's files: making a folder, deleting a
// file. Writing is in AtomicWrite.cpp, listing in Listing.cpp.
#include "core/io/Files.h"

#include "core/io/IoFaults.h"
#include "core/io/SystemFiles.h"
#include "core/text/Codepage.h"

#include <algorithm>
#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace cw {

std::string describe(const IoError &error)
{
    if (error.path.empty())
        return error.reason;
    return nameAsUtf8(nameOf(error.path)) + ": " + error.reason;
}

fs::path executableFolder()
{
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    return fs::path(buffer).parent_path();
#else
    std::error_code code;
    const fs::path self = fs::read_symlink("/proc/self/exe", code);
    return code ? fs::current_path(code) : self.parent_path();
#endif
}

std::string nameOf(const fs::path &path)
{
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.native();
#endif
}

fs::path pathFromName(std::string_view name)
{
#ifdef _WIN32
    // Names are UTF-8; bytes that are not (a name read from a script file) are taken
    // as Windows-1252, as everywhere else, rather than failing the conversion.
    const std::string utf8 = nameAsUtf8(name);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return fs::path(std::string(name));
#endif
}

namespace {

IoError tooLarge(const fs::path &path)
{
    return IoError{"it is larger than " + std::to_string(kMaxFileBytes / (std::uintmax_t{1024} * 1024)) +
                       " MB, far more than any script or strings table; it was not opened",
                   path};
}

// Closes the file when the read is over, however it ends.
struct OpenFile
{
    int fd;
    ~OpenFile() { os::closeFile(fd); }
};

// Reads at most kMaxFileBytes of the open file, into a string sized once from the
// file's size so the bytes are not copied on the way; a file that grows while it is
// read is still cut off at the limit.
Result<std::string, IoError> readLimited(int fd, const fs::path &path, std::uintmax_t expected)
{
    std::string bytes;
    std::size_t filled = 0;
    bytes.resize(static_cast<std::size_t>(expected) + 1);
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > kMaxFileBytes)
                return tooLarge(path);
            bytes.resize(std::min<std::size_t>(filled + 65536, kMaxFileBytes + 1));
        }
        const long long n = os::readSome(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return os::errorFromErrno(path);
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    if (filled > kMaxFileBytes)
        return tooLarge(path);
    bytes.resize(filled);
    return bytes;
}

// Why a file that cannot be opened was not: a link at a name that is not followed
// says so rather than "Too many levels of symbolic links".
IoError openFailure(const fs::path &path)
{
    const int error = errno;
    if (error == ELOOP)
        return IoError{"it was replaced by a link while it was read; it was left alone", path};
    std::error_code code;
    if (fs::is_directory(path, code)) // Windows opens no folder as a file
        return IoError{"it is a folder, not a file", path};
    return IoError{std::strerror(error), path};
}

// What the open file `fd` is, when it is a regular file, a failure named by `path`.
// Only regular files are read: a FIFO or a device in a mod folder would block the
// program or never end, which is why files are opened without waiting and looked at
// first, through the descriptor, so that what is looked at is what is read.
Result<os::OpenFileInfo, IoError> regularFile(int fd, const fs::path &path)
{
    const auto info = os::infoOf(fd);
    if (!info)
        return os::errorFromErrno(path);
    if (info->type == fs::file_type::directory)
        return IoError{"it is a folder, not a file", path};
    if (info->type != fs::file_type::regular)
        return IoError{"it is not a regular file", path};
    return *info;
}

// Reads the file open as `fd` (or why it could not be opened, when it is -1), a
// failure named by `path`: the name the caller gave.
Result<std::string, IoError> readOpenFile(int fd, const fs::path &path)
{
    if (fd < 0)
        return openFailure(path);
    const OpenFile open{fd};
    const auto info = regularFile(fd, path);
    if (!info)
        return info.error();
    if (const IoFaultForTesting *fault = ioFaultFor(IoFaultForTesting::Kind::Read, path))
        return IoError{std::strerror(fault->error), path};
    if (info->size > kMaxFileBytes)
        return tooLarge(path);
    try {
        return readLimited(fd, path, info->size);
    } catch (const std::bad_alloc &) {
        return IoError{"there is not enough memory to read it", path};
    }
}

} // namespace

namespace os {

Result<Folder, IoError> holdFolderOf(const fs::path &file, const fs::path &realMod, const fs::path &path)
{
    auto folder = Folder::open(realMod, file.parent_path().lexically_relative(realMod));
    if (!folder) {
        if (errno == ELOOP || errno == ENOTDIR || errno == EXDEV)
            return IoError{
                "a folder on its way was replaced by a link or a file meanwhile; it was left alone", path};
        return errorFromErrno(path);
    }
    return std::move(*folder);
}

} // namespace os

Result<std::string, IoError> readFile(const fs::path &path)
{
    return readOpenFile(os::openRead(path), path);
}

Result<std::string, IoError> readFile(const fs::path &path, const ModBoundary &boundary)
{
    auto target = boundary.resolve(path);
    if (!target)
        return target.error();
    auto folder = os::holdFolderOf(target->file, target->realMod, path);
    if (!folder)
        return folder.error();
    return readOpenFile(folder->openRead(target->file.filename()), path);
}

Result<bool, IoError> fileHasContent(const fs::path &path)
{
    const int fd = os::openRead(path);
    if (fd < 0)
        return openFailure(path);
    const OpenFile open{fd};
    if (auto info = regularFile(fd, path); !info)
        return info.error();
    char first = 0;
    long long n;
    while ((n = os::readSome(fd, &first, 1)) < 0 && errno == EINTR) {
    }
    if (n < 0)
        return os::errorFromErrno(path);
    return n == 1;
}

Result<Done, IoError> createFolder(const fs::path &path, const ModBoundary &boundary)
{
    auto resolved = boundary.resolve(path);
    if (!resolved)
        return resolved.error();
    if (resolved->isLink || resolved->type != fs::file_type::not_found)
        return IoError{"it exists already", path};
    auto folder = os::holdFolderOf(resolved->entry, resolved->realMod, path);
    if (!folder)
        return folder.error();
    if (const std::error_code code = folder->makeFolder(resolved->entry.filename()))
        return code == std::errc::file_exists ? IoError{"it exists already", path}
                                              : os::errorFrom(code, path);
    return Done{};
}

Result<Done, IoError> deleteFile(const fs::path &path, const ModBoundary &boundary)
{
    const bool fileStood = os::isRegularFile(path);
    auto target = boundary.deletable(path);
    if (!target)
        return os::leftAsItWas(target.error(), fileStood);
    const fs::path &entry = target->entry;
    auto folder = os::holdFolderOf(entry, target->realMod, path);
    if (!folder)
        return os::leftAsItWas(folder.error(), fileStood);
    std::error_code code = ioFaultCode(IoFaultForTesting::Kind::Remove, entry);
    if (!code)
        code = folder->remove(entry.filename());
    if (code)
        return os::leftAsItWas(code == std::errc::no_such_file_or_directory
                                   ? IoError{"the file does not exist", path}
                                   : os::errorFrom(code, path),
                               fileStood);
    return Done{};
}

} // namespace cw
