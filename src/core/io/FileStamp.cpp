#include "core/io/FileStamp.h"

#include "core/io/Files.h"

namespace cw {

std::uint64_t contentHash(std::string_view bytes)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

FileStamp FileStamp::of(const std::filesystem::path &path, std::string_view bytes)
{
    FileStamp stamp;
    stamp.known = true;
    stamp.size = bytes.size();
    stamp.hash = contentHash(bytes);
    std::error_code code;
    stamp.modified = std::filesystem::last_write_time(path, code);
    return stamp;
}

FileStamp FileStamp::retimed(const std::filesystem::path &path) const
{
    FileStamp stamp = *this;
    std::error_code code;
    if (const auto now = std::filesystem::last_write_time(path, code); !code)
        stamp.modified = now;
    return stamp;
}

DiskState diskState(const std::filesystem::path &path, const FileStamp &stamp, Compare compare)
{
    if (!stamp.known)
        return DiskState::Unchanged;
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (!std::filesystem::exists(status))
        return DiskState::Gone;
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    if (code || size != stamp.size)
        return DiskState::Changed;
    const auto modified = std::filesystem::last_write_time(path, code);
    if (compare == Compare::SizeAndTime && !code && modified == stamp.modified)
        return DiskState::Unchanged;
    const auto bytes = readFile(path);
    if (!bytes || bytes->size() != stamp.size || contentHash(*bytes) != stamp.hash)
        return DiskState::Changed;
    return DiskState::Unchanged;
}

} // namespace cw
