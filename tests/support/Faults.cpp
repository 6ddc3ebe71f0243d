#include "support/Faults.h"

#include "core/io/Files.h"
#include "core/io/IoFaults.h"
#include "support/TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace cw::test {
namespace {

namespace fs = std::filesystem;

bool canCreateIn(const fs::path &folder)
{
    const fs::path probe = folder / ".probe";
    std::ofstream out(probe);
    const bool created = static_cast<bool>(out);
    out.close();
    std::error_code ignored;
    fs::remove(probe, ignored);
    return created;
}

#ifdef _WIN32
// Windows has neither chattr nor tmpfs: every failure there goes through the seam.
bool run(const std::string &)
{
    return false;
}

bool mayMount()
{
    return false;
}
#else
bool run(const std::string &command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool mayMount()
{
    return geteuid() == 0;
}
#endif

std::string quoted(const fs::path &path)
{
    return "'" + utf8(path) + "'";
}

} // namespace

UnwritableFolder::UnwritableFolder(fs::path folder) : m_folder(std::move(folder))
{
    fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    if (!canCreateIn(m_folder)) {
        m_how = "mode";
        return;
    }
    if (run("chattr +i " + quoted(m_folder)) && !canCreateIn(m_folder)) {
        m_how = "immutable";
        return;
    }
    m_how = "seam";
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Write, EROFS, 0});
}

UnwritableFolder::~UnwritableFolder()
{
    if (m_how == "immutable")
        run("chattr -i " + quoted(m_folder));
    if (m_how == "seam")
        setIoFaultForTesting(std::nullopt);
    std::error_code ignored;
    fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::add, ignored);
}

FullDisk::FullDisk(fs::path folder, std::size_t roomBytes) : m_folder(std::move(folder))
{
    // Keep the folder's files, mount a disk just big enough for them and the room,
    // and put them back.
    std::map<std::string, std::string> files;
    std::size_t pages = roomBytes / 4096;
    for (const auto &entry : fs::directory_iterator(m_folder)) {
        const std::string &bytes = files[utf8(entry.path().filename())] = readFile(entry.path()).value();
        pages += 1 + bytes.size() / 4096;
    }
    const std::string size = std::to_string(pages * 4) + "k";
    if (mayMount() && run("mount -t tmpfs -o size=" + size + " tmpfs " + quoted(m_folder))) {
        m_how = "tmpfs";
        for (const auto &[name, bytes] : files)
            std::ofstream(m_folder / utf8Path(name), std::ios::binary) << bytes;
        return;
    }
    m_how = "seam";
    setIoFaultForTesting(IoFaultForTesting{IoFaultForTesting::Kind::Write, ENOSPC, roomBytes});
}

FullDisk::~FullDisk()
{
    if (m_how == "tmpfs") {
        // Whatever the test left in the folder goes with the small disk.
        run("umount " + quoted(m_folder));
    } else {
        setIoFaultForTesting(std::nullopt);
    }
}

bool holdsTemporaryFile(const fs::path &folder)
{
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(folder, ignored)) {
        if (utf8(entry.path().filename()).rfind(".~cuewright-", 0) == 0)
            return true;
    }
    return false;
}

} // namespace cw::test
