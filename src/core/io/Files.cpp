// Reading files, and the small actions on a mod's files: making a folder, deleting a
// file. Writing is in AtomicWrite.cpp, listing in Listing.cpp.
#include "core/io/Files.h"

#include "core/io/IoFaults.h"
#include "core/io/SystemFiles.h"
#include "core/text/Codepage.h"

#include <algorithm>
#include <fstream>

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

// Only regular files are read: a FIFO or a device in a mod folder would block the
// program or never end.
std::optional<IoError> notARegularFile(const fs::path &path)
{
    std::error_code code;
    const auto status = fs::status(path, code);
    if (code)
        return os::errorFrom(code, path);
    if (fs::is_directory(status))
        return IoError{"it is a folder, not a file", path};
    if (!fs::is_regular_file(status))
        return IoError{"it is not a regular file", path};
    return std::nullopt;
}

IoError tooLarge(const fs::path &path)
{
    return IoError{"it is larger than " + std::to_string(kMaxFileBytes / (std::uintmax_t{1024} * 1024)) +
                       " MB, far more than any script or strings table; it was not opened",
                   path};
}

// Reads at most kMaxFileBytes, into a string sized once from the file's size so the
// bytes are not copied on the way; a file that grows while it is read is still cut
// off at the limit.
Result<std::string, IoError> readLimited(std::ifstream &in, const fs::path &path, std::uintmax_t expected)
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
        in.read(bytes.data() + filled, static_cast<std::streamsize>(bytes.size() - filled));
        filled += static_cast<std::size_t>(in.gcount());
        if (!in)
            break;
    }
    if (in.bad())
        return IoError{"the file could not be read", path};
    if (filled > kMaxFileBytes)
        return tooLarge(path);
    bytes.resize(filled);
    return bytes;
}

// Reads `file`, a failure named by `path`: the name the caller gave, where `file` is
// where its links lead.
Result<std::string, IoError> readRegularFile(const fs::path &file, const fs::path &path)
{
    if (auto refused = notARegularFile(file))
        return IoError{refused->reason, path};
    if (const IoFaultForTesting *fault = ioFaultFor(IoFaultForTesting::Kind::Read, path))
        return IoError{std::strerror(fault->error), path};
    std::error_code code;
    const std::uintmax_t size = fs::file_size(file, code);
    if (code)
        return os::errorFrom(code, path);
    if (size > kMaxFileBytes)
        return tooLarge(path);
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return os::errorFromErrno(path);
        return readLimited(in, path, size);
    } catch (const std::bad_alloc &) {
        return IoError{"there is not enough memory to read it", path};
    }
}

} // namespace

Result<std::string, IoError> readFile(const fs::path &path)
{
    return readRegularFile(path, path);
}

Result<std::string, IoError> readFile(const fs::path &path, const ModBoundary &boundary)
{
    auto target = boundary.resolve(path);
    if (!target)
        return target.error();
    return readRegularFile(target->file, path);
}

Result<bool, IoError> fileHasContent(const fs::path &path)
{
    if (auto refused = notARegularFile(path))
        return *refused;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return os::errorFromErrno(path);
    char first = 0;
    return static_cast<bool>(in.get(first));
}

Result<Done, IoError> createFolder(const fs::path &path, const ModBoundary &boundary)
{
    auto resolved = boundary.resolve(path);
    if (!resolved)
        return resolved.error();
    if (resolved->isLink || resolved->type != fs::file_type::not_found)
        return IoError{"it exists already", path};
    std::error_code code;
    if (!fs::create_directory(resolved->entry, code))
        return code ? os::errorFrom(code, path) : IoError{"it exists already", path};
    return Done{};
}

Result<Done, IoError> deleteFile(const fs::path &path, const ModBoundary &boundary)
{
    const bool fileStood = os::isRegularFile(path);
    auto entry = boundary.deletable(path);
    if (!entry)
        return os::leftAsItWas(entry.error(), fileStood);
    std::error_code code;
    if (!fs::remove(*entry, code))
        return os::leftAsItWas(code ? os::errorFrom(code, path) : IoError{"the file does not exist", path},
                               fileStood);
    return Done{};
}

} // namespace cw
