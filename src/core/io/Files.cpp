#include "core/io/Files.h"

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
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace cw {
namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::optional<IoFaultForTesting> g_fault;

IoError errorFrom(const std::error_code &code)
{
    return IoError{code.message()};
}

IoError errorFromErrno()
{
    return IoError{std::strerror(errno)};
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
    return target.parent_path() / (".~cuewright-" + std::string(suffix) + ".tmp");
}

#ifndef _WIN32
// Writes all bytes to a new file created exclusively, flushed to the disk.
Result<Done, IoError> writeNewFile(const fs::path &path, std::string_view bytes, mode_t mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return errorFromErrno();
    std::size_t written = 0;
    while (written < bytes.size()) {
        if (g_fault && g_fault->kind == IoFaultForTesting::Kind::Write &&
            written >= g_fault->bytesBeforeFailure) {
            ::close(fd);
            return IoError{std::strerror(g_fault->error)};
        }
        const std::size_t limit = g_fault && g_fault->kind == IoFaultForTesting::Kind::Write
                                      ? g_fault->bytesBeforeFailure - written
                                      : bytes.size() - written;
        const ssize_t n = ::write(fd, bytes.data() + written, std::min(limit, bytes.size() - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const IoError error = errorFromErrno();
            ::close(fd);
            return error;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const IoError error = errorFromErrno();
        ::close(fd);
        return error;
    }
    if (::close(fd) != 0)
        return errorFromErrno();
    return Done{};
}
#else
Result<Done, IoError> writeNewFile(const fs::path &path, std::string_view bytes, int)
{
    FILE *file = _wfopen(path.c_str(), L"wbx");
    if (!file)
        return errorFromErrno();
    const bool ok =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    const IoError error = errorFromErrno();
    if (std::fclose(file) != 0 || !ok)
        return ok ? errorFromErrno() : error;
    return Done{};
}
#endif

} // namespace

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
    return fs::path(std::u8string(name.begin(), name.end()));
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
        return errorFrom(code);
    if (fs::is_directory(status))
        return IoError{"it is a folder, not a file"};
    if (!fs::is_regular_file(status))
        return IoError{"it is not a regular file"};
    return std::nullopt;
}

} // namespace

void setIoFaultForTesting(std::optional<IoFaultForTesting> fault)
{
    g_fault = fault;
}

Result<std::string, IoError> readFile(const fs::path &path)
{
    if (auto refused = notARegularFile(path))
        return *refused;
    if (g_fault && g_fault->kind == IoFaultForTesting::Kind::Read)
        return IoError{std::strerror(g_fault->error)};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return errorFromErrno();
    std::string bytes;
    std::error_code code;
    const auto size = fs::file_size(path, code);
    if (!code)
        bytes.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad())
        return IoError{"the file could not be read"};
    return bytes;
}

Result<bool, IoError> fileHasContent(const fs::path &path)
{
    if (auto refused = notARegularFile(path))
        return *refused;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return errorFromErrno();
    char first = 0;
    return static_cast<bool>(in.get(first));
}

Result<Done, IoError> writeFileAtomically(const fs::path &path, std::string_view bytes)
{
    std::error_code code;
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::is_directory(folder, code))
        return IoError{"the folder " + nameOf(folder) + " does not exist"};
    const auto status = fs::status(path, code);
    if (fs::is_directory(status))
        return IoError{"a folder of that name stands where the file should be"};
    const bool replacing = fs::exists(status);

    const fs::path temporary = temporarySibling(path);
#ifdef _WIN32
    const int mode = 0;
    (void)replacing;
#else
    const mode_t mode = replacing ? static_cast<mode_t>(status.permissions() & fs::perms::all) : 0666;
#endif
    if (auto written = writeNewFile(temporary, bytes, mode); !written) {
        fs::remove(temporary, code);
        return written.error();
    }
    fs::rename(temporary, path, code);
    if (code) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return errorFrom(code);
    }
    return Done{};
}

Result<Done, IoError> createFileAtomically(const fs::path &path, std::string_view bytes)
{
    std::error_code code;
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    if (!fs::is_directory(folder, code))
        return IoError{"the folder " + nameOf(folder) + " does not exist"};
    if (fs::exists(fs::symlink_status(path, code)))
        return IoError{"a file or folder of that name exists already"};
    const fs::path temporary = temporarySibling(path);
    if (auto written = writeNewFile(temporary, bytes, 0666); !written) {
        fs::remove(temporary, code);
        return written.error();
    }
#ifdef _WIN32
    // MoveFileEx without MOVEFILE_REPLACE_EXISTING fails on an existing target.
    const bool moved = MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    const IoError error{moved ? std::string()
                              : std::system_category().message(static_cast<int>(GetLastError()))};
    fs::remove(temporary, code);
    if (!moved)
        return error;
#else
    // A hard link is created only where no name exists, which rename cannot promise.
    const bool linked = ::link(temporary.c_str(), path.c_str()) == 0;
    const int linkErrno = linked ? 0 : errno;
    const IoError error{linked ? std::string() : std::strerror(linkErrno)};
    if (!linked && linkErrno != EEXIST && !fs::exists(fs::symlink_status(path, code))) {
        // File systems without hard links: rename, having just checked the name is free.
        fs::rename(temporary, path, code);
        if (!code)
            return Done{};
    }
    fs::remove(temporary, code);
    if (!linked)
        return linkErrno == EEXIST ? IoError{"a file or folder of that name exists already"} : error;
#endif
    return Done{};
}

bool isPlainFileName(std::string_view name)
{
    if (name.empty() || name.size() > 255 || name == "." || name == "..")
        return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return false;
    }
    if (name.back() == ' ' || name.back() == '.')
        return false;
    // Device names are refused with any extension ("con.txt" too).
    std::string stem(name.substr(0, name.find('.')));
    for (char &c : stem)
        c = lowerAscii(c);
    static const char *const kDevices[] = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                           "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                           "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const char *device : kDevices) {
        if (stem == device)
            return false;
    }
    return true;
}

Result<Done, IoError> createFolder(const fs::path &path)
{
    std::error_code code;
    if (fs::exists(path, code))
        return IoError{"it exists already"};
    if (!fs::create_directory(path, code))
        return code ? errorFrom(code) : IoError{"it exists already"};
    return Done{};
}

Result<Done, IoError> deleteFile(const fs::path &path)
{
    std::error_code code;
    if (fs::is_directory(path, code))
        return IoError{"it is a folder, not a file"};
    if (!fs::remove(path, code))
        return code ? errorFrom(code) : IoError{"the file does not exist"};
    return Done{};
}

bool lessNoCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(lowerAscii(x)) < static_cast<unsigned char>(lowerAscii(y));
    });
}

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    // Iterative wildcard match with one backtrack point for the last '*'.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lowerAscii(pattern[p]) == lowerAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

Result<std::vector<std::string>, IoError> listFolder(const fs::path &folder, EntryKind kind,
                                                     std::string_view pattern)
{
    std::error_code code;
    if (!fs::is_directory(folder, code))
        return IoError{code ? code.message() : "it is not an existing folder"};
    fs::directory_iterator it(folder, code);
    if (code)
        return errorFrom(code);
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(code)) {
        if (code)
            return errorFrom(code);
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
        return errorFrom(code);
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return lessNoCase(a, b) || (!lessNoCase(b, a) && a < b);
    });
    return names;
}

fs::path findNoCase(const fs::path &folder, std::string_view name)
{
    std::error_code code;
    const fs::path exact = folder / pathFromName(name);
    if (fs::exists(exact, code))
        return exact;
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        std::string entry = nameOf(it->path().filename());
        if (equalNoCase(entry, name))
            matches.push_back(std::move(entry));
    }
    if (matches.empty())
        return exact;
    std::sort(matches.begin(), matches.end());
    return folder / pathFromName(matches.front());
}

} // namespace cw
