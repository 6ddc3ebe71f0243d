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

// Writes all bytes to a new file created exclusively, flushed to the disk. `target`
// is the file the bytes are meant for, which the fault seam may single out.
Result<Done, IoError> writeNewFile(const fs::path &path, const fs::path &target, std::string_view bytes,
                                   const std::optional<os::Identity> &keep)
{
    const int fd = os::openNew(path);
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
    std::optional<os::Identity> keep;
    if (resolved->type == fs::file_type::regular) {
        keep = os::identityOf(target);
        if (!keep)
            return os::errorFromErrno(path);
        if (os::isReadOnly(target, *keep))
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
        return os::errorFrom(code, path);
    }
    removeStaleTemporaryFiles(target.parent_path());
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
    const fs::path temporary = temporarySibling(target);
    if (auto written = writeNewFile(temporary, target, bytes, std::nullopt); !written) {
        std::error_code code;
        fs::remove(temporary, code);
        return IoError{written.error().reason, path};
    }
    if (auto linked = os::linkNew(temporary, target, path); !linked)
        return linked.error();
    removeStaleTemporaryFiles(target.parent_path());
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
