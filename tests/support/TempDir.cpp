#include "support/TempDir.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace cw::test {

TempDir::TempDir()
{
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("cuewright-test-" + std::to_string(device()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Folders a test made read-only must become writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempDir::write(std::string_view relative, std::string_view content) const
{
    const auto target = m_path / utf8Path(relative);
    std::filesystem::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + utf8(target));
    return target;
}

std::filesystem::path TempDir::makeFolder(std::string_view relative) const
{
    const auto target = m_path / utf8Path(relative);
    std::filesystem::create_directories(target);
    return target;
}

std::string TempDir::read(std::string_view relative) const
{
    return readBytes(m_path / utf8Path(relative));
}

std::filesystem::path utf8Path(std::string_view name)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
#else
    // Any bytes, as Linux takes them: some tests need names that are not UTF-8.
    return std::filesystem::path(std::string(name));
#endif
}

std::string utf8(const std::filesystem::path &path)
{
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

std::string native(std::filesystem::path path)
{
    return utf8(path.make_preferred());
}

bool caseSensitiveFileSystem(const std::filesystem::path &folder)
{
    const auto probe = folder / "case-probe";
    std::ofstream(probe).put('x');
    std::error_code ignored;
    const bool sensitive = !std::filesystem::exists(folder / "CASE-PROBE", ignored);
    std::filesystem::remove(probe, ignored);
    return sensitive;
}

std::string readBytes(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string listing(const std::filesystem::path &folder)
{
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(folder, ignored))
        names.push_back(utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto &name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

} // namespace cw::test
