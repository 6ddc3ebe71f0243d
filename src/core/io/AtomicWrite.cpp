// Writing a file so that a failure never leaves it half-written or missing: the bytes go
// to a temporary file beside it, which is flushed to the disk and then renamed over it.
#include "core/io/Files.h"

#include "core/io/IoFaults.h"
#include "core/io/SystemFiles.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>

namespace cw {
namespace {

constexpr std::string_view kTemporaryPrefix = ".~cuewright-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// A name no other writer will pick: hidden, and not matching "*.txt", so no file list
// ever shows it even if it were left behind.
fs::path temporaryName()
{
    static std::atomic<unsigned> counter{0};
    static const auto seed = static_cast<unsigned>(
        static_cast<std::uintptr_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        reinterpret_cast<std::uintptr_t>(&counter));
    std::minstd_rand random(seed + counter.fetch_add(1));
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    return std::string(kTemporaryPrefix) + std::string(suffix) + std::string(kTemporarySuffix);
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
void removeStaleTemporaryFiles(const os::Folder &folder)
{
    folder.removeOlderThan(std::chrono::minutes(1), isTemporaryName);
}

// Writes all bytes to the new file `name` of `folder`, created exclusively and flushed
// to the disk. `target` is the file the bytes are meant for, which the fault seam may
// single out.
Result<Done, IoError> writeNewFile(const os::Folder &folder, const fs::path &name, const fs::path &target,
                                   std::string_view bytes, const std::optional<os::Identity> &keep)
{
    const int fd = folder.openNew(name);
    if (fd < 0)
        return os::errorFromErrno(target);
    const auto fail = [fd, &target](int error) {
        os::closeFile(fd);
        return IoError{std::strerror(error), target};
    };
    if (keep && !os::keepIdentity(fd, *keep))
        return fail(errno);
    const IoFaultForTesting *writeFault = ioFaultFor(IoFaultForTesting::Kind::Write, target);
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (writeFault && written >= writeFault->bytesBeforeFailure)
            return fail(writeFault->error);
        const std::size_t limit =
            writeFault ? writeFault->bytesBeforeFailure - written : bytes.size() - written;
        const long long n =
            os::writeSome(fd, bytes.data() + written, std::min(limit, bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (const IoFaultForTesting *flushFault = ioFaultFor(IoFaultForTesting::Kind::Flush, target))
        return fail(flushFault->error);
    if (os::flushToDisk(fd) != 0)
        return fail(errno);
    if (os::closeFile(fd) != 0)
        return os::errorFromErrno(target);
    return Done{};
}

// Writes the temporary file of a write of `target`, removed again when that fails.
Result<fs::path, IoError> writeTemporary(const os::Folder &folder, const fs::path &target,
                                         const fs::path &path, std::string_view bytes,
                                         const std::optional<os::Identity> &keep)
{
    const fs::path temporary = temporaryName();
    if (auto written = writeNewFile(folder, temporary, target, bytes, keep); !written) {
        (void)folder.remove(temporary);
        return IoError{written.error().reason, path};
    }
    return temporary;
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

Result<Done, IoError> replaceFile(const fs::path &path, std::string_view bytes, const ModBoundary &boundary)
{
    auto resolved = writeTarget(path, boundary);
    if (!resolved)
        return resolved.error();
    const fs::path &target = resolved->file;
    auto folder = os::holdFolderOf(target, resolved->realMod, path);
    if (!folder)
        return folder.error();
    const fs::path name = target.filename();
    std::optional<os::Identity> keep;
    if (resolved->type == fs::file_type::regular) {
        keep = folder->identityOf(name);
        if (!keep)
            return os::errorFromErrno(path);
        if (folder->isReadOnly(name, *keep))
            return IoError{"it is read-only", path};
    }

    auto temporary = writeTemporary(*folder, target, path, bytes, keep);
    if (!temporary)
        return temporary.error();
    std::error_code code = ioFaultCode(IoFaultForTesting::Kind::Rename, target);
    if (!code)
        code = folder->rename(*temporary, name);
    if (code) {
        (void)folder->remove(*temporary);
        return os::errorFrom(code, path);
    }
    removeStaleTemporaryFiles(*folder);
    return Done{};
}

Result<Done, IoError> createFile(const fs::path &path, std::string_view bytes, const ModBoundary &boundary)
{
    auto resolved = boundary.resolve(path);
    if (!resolved)
        return resolved.error();
    if (resolved->isLink || resolved->type != fs::file_type::not_found)
        return IoError{os::kExistsAlready, path};
    const fs::path &target = resolved->entry;
    auto folder = os::holdFolderOf(target, resolved->realMod, path);
    if (!folder)
        return folder.error();
    auto temporary = writeTemporary(*folder, target, path, bytes, std::nullopt);
    if (!temporary)
        return temporary.error();
    if (const std::error_code fault = ioFaultCode(IoFaultForTesting::Kind::Link, target)) {
        (void)folder->remove(*temporary);
        return os::errorFrom(fault, path);
    }
    if (auto linked = folder->linkNew(*temporary, target.filename(), path); !linked)
        return linked.error();
    removeStaleTemporaryFiles(*folder);
    return Done{};
}

} // namespace

Result<Done, IoError> writeFileAtomically(const fs::path &path, std::string_view bytes,
                                          const ModBoundary &boundary)
{
    const bool fileStood = os::isRegularFile(path);
    auto written = replaceFile(path, bytes, boundary);
    if (!written)
        return os::leftAsItWas(written.error(), fileStood);
    return Done{};
}

Result<Done, IoError> createFileAtomically(const fs::path &path, std::string_view bytes,
                                           const ModBoundary &boundary)
{
    const bool fileStood = os::isRegularFile(path);
    auto created = createFile(path, bytes, boundary);
    if (!created)
        return os::leftAsItWas(created.error(), fileStood);
    return Done{};
}

} // namespace cw
