#include "core/io/Files.h"

#include "core/io/FileNames.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace cw {
namespace {

std::optional<IoFaultForTesting> g_fault;

// The fault of the given kind when one is set for `file`.
const IoFaultForTesting *faultFor(IoFaultForTesting::Kind kind, const fs::path &file)
{
    if (!g_fault || g_fault->kind != kind)
        return nullptr;
    return g_fault->onlyFor.empty() || g_fault->onlyFor == file ? &*g_fault : nullptr;
}

IoError errorFrom(const std::error_code &code, const fs::path &path)
{
    return IoError{code.message(), path};
}

IoError errorFromErrno(const fs::path &path)
{
    return IoError{std::strerror(errno), path};
}

bool isHidden(const fs::directory_entry &entry)
{
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(entry.path().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
#else
    const std::string name = entry.path().filename().native();
    return !name.empty() && name.front() == '.';
#endif
}

constexpr std::string_view kTemporaryPrefix = ".~cuewright-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// A name no other writer will pick: hidden, and not matching "*.txt", so no file list
// ever shows it even if it were left behind.
fs::path temporarySibling(const fs::path &target)
{
    static std::atomic<unsigned> counter{0};
    static const auto seed = static_cast<unsigned>(
        static_cast<std::uintptr_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&counter));
    std::minstd_rand random(seed + counter.fetch_add(1));
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return target.parent_path() /
           (std::string(kTemporaryPrefix) + std::string(suffix) + std::string(kTemporarySuffix));
}

bool isTemporaryName(std::string_view name)
{
    if (name.size() != kTemporaryPrefix.size() + 8 + kTemporarySuffix.size() ||
        name.substr(0, kTemporaryPrefix.size()) != kTemporaryPrefix ||
        name.substr(name.size() - kTemporarySuffix.size()) != kTemporarySuffix)
        return false;
    const std::string_view digits = name.substr(kTemporaryPrefix.size(), 8);
    return digits.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// A save killed between writing its temporary file and renaming it leaves the file
// behind. One older than a minute belongs to no save still running; only regular
// files of our own naming are touched.
void removeStaleTemporaryFiles(const fs::path &folder)
{
    std::error_code code;
    const auto cutoff = fs::file_time_type::clock::now() - std::chrono::minutes(1);
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::error_code entryCode;
        if (!isTemporaryName(nameOf(it->path().filename())) || !it->is_regular_file(entryCode) ||
            it->is_symlink(entryCode))
            continue;
        const auto written = it->last_write_time(entryCode);
        if (!entryCode && written < cutoff)
            fs::remove(it->path(), entryCode);
    }
}

// What writeNewFile needs of each system: a new file created exclusively, written in
// pieces, flushed to the disk and closed; and what a replacement keeps of the file it
// replaces.
#ifdef _WIN32
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

// Windows keeps no mode bits or owner in the file that a replacement could lose
// (the folder's permissions apply to the new file); only the read-only attribute
// matters, and a read-only file is refused, not replaced.
struct Identity
{
};

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
#else
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

// What a replacement keeps of the file it replaces.
struct Identity
{
    mode_t mode;
    uid_t owner;
    gid_t group;
};

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

// Gives the new file the old one's owner, group and mode bits; false with errno set
// when the mode cannot be set.
bool keepIdentity(int fd, const Identity &keep)
{
    // The owner first: changing it may clear set-id bits, which the mode restores.
    // Only root may give a file away, so for everyone else this stays undone.
    if (::fchown(fd, keep.owner, keep.group) != 0 && ::fchown(fd, static_cast<uid_t>(-1), keep.group) != 0) {
        // Neither could be kept: the file is the writer's own, as a new file is.
    }
    return ::fchmod(fd, keep.mode & 07777) == 0;
}
#endif

// Writes all bytes to a new file created exclusively, flushed to the disk. `target`
// is the file the bytes are meant for, which the fault seam may single out.
Result<Done, IoError> writeNewFile(const fs::path &path, const fs::path &target, std::string_view bytes,
                                   const std::optional<Identity> &keep)
{
    const int fd = openNew(path);
    if (fd < 0)
        return errorFromErrno(target);
    const auto fail = [fd, &target](int error) {
        closeFile(fd);
        return IoError{std::strerror(error), target};
    };
    if (keep && !keepIdentity(fd, *keep))
        return fail(errno);
    const IoFaultForTesting *writeFault = faultFor(IoFaultForTesting::Kind::Write, target);
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (writeFault && written >= writeFault->bytesBeforeFailure)
            return fail(writeFault->error);
        const std::size_t limit =
            writeFault ? writeFault->bytesBeforeFailure - written : bytes.size() - written;
        const long long n = writeSome(fd, bytes.data() + written, std::min(limit, bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (const IoFaultForTesting *flushFault = faultFor(IoFaultForTesting::Kind::Flush, target))
        return fail(flushFault->error);
    if (flushToDisk(fd) != 0)
        return fail(errno);
    if (closeFile(fd) != 0)
        return errorFromErrno(target);
    return Done{};
}

bool isRegularFile(const fs::path &path)
{
    std::error_code code;
    return fs::is_regular_file(path, code);
}

// The boundary's target of a write, which must be a file or nothing yet.
Result<ModBoundary::Target, IoError> writeTarget(const fs::path &path, const ModBoundary &boundary)
{
    auto target = boundary.resolve(path);
    if (!target)
        return target.error();
    if (target->type == fs::file_type::directory)
        return IoError{"a folder of that name stands where the file should be", path};
    if (target->type != fs::file_type::regular && target->type != fs::file_type::not_found)
        return IoError{"it is not a regular file", path};
    return target;
}

// A failure of an action that leaves the file it aims at as it was: says so when a file
// stood there.
IoError leftAsItWas(IoError error, bool fileStood)
{
    error.untouchedFile = fileStood;
    return error;
}

} // namespace

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
        return errorFrom(code, path);
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

} // namespace

void setIoFaultForTesting(std::optional<IoFaultForTesting> fault)
{
    g_fault = std::move(fault);
}

namespace {

// Reads `file`, a failure named by `path`: the name the caller gave, where `file` is
// where its links lead.
Result<std::string, IoError> readRegularFile(const fs::path &file, const fs::path &path)
{
    if (auto refused = notARegularFile(file))
        return IoError{refused->reason, path};
    if (const IoFaultForTesting *fault = faultFor(IoFaultForTesting::Kind::Read, path))
        return IoError{std::strerror(fault->error), path};
    std::error_code code;
    const std::uintmax_t size = fs::file_size(file, code);
    if (code)
        return errorFrom(code, path);
    if (size > kMaxFileBytes)
        return tooLarge(path);
    try {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            return errorFromErrno(path);
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
        return errorFromErrno(path);
    char first = 0;
    return static_cast<bool>(in.get(first));
}

namespace {

Result<Done, IoError> replaceFile(const fs::path &path, std::string_view bytes, const ModBoundary &boundary)
{
    auto resolved = writeTarget(path, boundary);
    if (!resolved)
        return resolved.error();
    const fs::path &target = resolved->file;
    std::optional<Identity> keep;
    if (resolved->type == fs::file_type::regular) {
        keep = identityOf(target);
        if (!keep)
            return errorFromErrno(path);
        if (isReadOnly(target, *keep))
            return IoError{"it is read-only", path};
    }

    const fs::path temporary = temporarySibling(target);
    std::error_code code;
    if (auto written = writeNewFile(temporary, target, bytes, keep); !written) {
        fs::remove(temporary, code);
        return IoError{written.error().reason, path};
    }
    fs::rename(temporary, target, code);
    if (code) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return errorFrom(code, path);
    }
    removeStaleTemporaryFiles(target.parent_path());
    return Done{};
}

const std::string kExistsAlready = "a file or folder of that name exists already";

// Gives the finished temporary file the name `target`, where no name may exist.
Result<Done, IoError> linkNew(const fs::path &temporary, const fs::path &target, const fs::path &path)
{
    std::error_code code;
#ifdef _WIN32
    // MoveFileEx without MOVEFILE_REPLACE_EXISTING fails on an existing target.
    const bool moved = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    const DWORD moveError = moved ? 0 : GetLastError();
    fs::remove(temporary, code);
    if (!moved)
        return IoError{moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS
                           ? kExistsAlready
                           : std::system_category().message(static_cast<int>(moveError)),
                       path};
#else
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
#endif
    return Done{};
}

Result<Done, IoError> createFile(const fs::path &path, std::string_view bytes, const ModBoundary &boundary)
{
    auto resolved = boundary.resolve(path);
    if (!resolved)
        return resolved.error();
    if (resolved->isLink || resolved->type != fs::file_type::not_found)
        return IoError{kExistsAlready, path};
    const fs::path &target = resolved->entry;
    const fs::path temporary = temporarySibling(target);
    if (auto written = writeNewFile(temporary, target, bytes, std::nullopt); !written) {
        std::error_code code;
        fs::remove(temporary, code);
        return IoError{written.error().reason, path};
    }
    if (auto linked = linkNew(temporary, target, path); !linked)
        return linked.error();
    removeStaleTemporaryFiles(target.parent_path());
    return Done{};
}

} // namespace

Result<Done, IoError> writeFileAtomically(const fs::path &path, std::string_view bytes,
                                          const ModBoundary &boundary)
{
    const bool fileStood = isRegularFile(path);
    auto written = replaceFile(path, bytes, boundary);
    if (!written)
        return leftAsItWas(written.error(), fileStood);
    return Done{};
}

Result<Done, IoError> createFileAtomically(const fs::path &path, std::string_view bytes,
                                           const ModBoundary &boundary)
{
    const bool fileStood = isRegularFile(path);
    auto created = createFile(path, bytes, boundary);
    if (!created)
        return leftAsItWas(created.error(), fileStood);
    return Done{};
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
        return code ? errorFrom(code, path) : IoError{"it exists already", path};
    return Done{};
}

Result<Done, IoError> deleteFile(const fs::path &path, const ModBoundary &boundary)
{
    const bool fileStood = isRegularFile(path);
    auto entry = boundary.deletable(path);
    if (!entry)
        return leftAsItWas(entry.error(), fileStood);
    std::error_code code;
    if (!fs::remove(*entry, code))
        return leftAsItWas(code ? errorFrom(code, path) : IoError{"the file does not exist", path},
                           fileStood);
    return Done{};
}

std::optional<IoError> folderProblem(const fs::path &folder)
{
    std::error_code code;
    const fs::file_status status = fs::status(folder, code);
    if (status.type() == fs::file_type::not_found)
        return IoError{"there is no such folder", folder};
    if (code)
        return IoError{"it cannot be read: " + code.message(), folder};
    if (!fs::is_directory(status))
        return IoError{"it is a file, not a folder", folder};
    if (g_fault && g_fault->kind == IoFaultForTesting::Kind::Read && g_fault->onlyFor == folder)
        return IoError{"it cannot be read: " + std::string(std::strerror(g_fault->error)), folder};
    const fs::directory_iterator listing(folder, code);
    if (code)
        return IoError{"it cannot be read: " + code.message(), folder};
    return std::nullopt;
}

Result<std::vector<std::string>, IoError> listFolder(const fs::path &folder, EntryKind kind,
                                                     std::string_view pattern)
{
    std::error_code code;
    if (!fs::is_directory(folder, code))
        return IoError{code ? code.message() : "it is not an existing folder", folder};
    fs::directory_iterator it(folder, code);
    if (code)
        return errorFrom(code, folder);
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(code)) {
        if (code)
            return errorFrom(code, folder);
        std::error_code typeCode;
        // Sockets, FIFOs and devices are no files of a mod: reading one could block.
        const bool wanted =
            kind == EntryKind::Folders ? it->is_directory(typeCode) : it->is_regular_file(typeCode);
        if (!wanted || isHidden(*it))
            continue;
        std::string name = nameOf(it->path().filename());
        if (matchesPattern(name, pattern))
            names.push_back(std::move(name));
    }
    if (code)
        return errorFrom(code, folder);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return lessNoCase(a, b) || (!lessNoCase(b, a) && a < b);
    });
    return names;
}

fs::path findNoCase(const fs::path &folder, std::string_view name)
{
    std::error_code code;
    fs::path exact = folder / pathFromName(name);
#ifndef _WIN32
    if (fs::exists(exact, code))
        return exact;
#endif
    // On Windows every spelling exists, so the folder's own spelling is looked up: the
    // paths shown and printed are then those of Linux.
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::string entry = nameOf(it->path().filename());
        if (entry == name)
            return exact;
        if (equalNoCase(entry, name))
            matches.push_back(std::move(entry));
    }
    if (matches.empty())
        return exact;
    std::sort(matches.begin(), matches.end());
    return folder / pathFromName(matches.front());
}

} // namespace cw
