#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace cw::test {

// Names in the tests are UTF-8 on every system, as the program's are: the path of a
// UTF-8 name, and the UTF-8 name of a path.
std::filesystem::path utf8Path(std::string_view name);
std::string utf8(const std::filesystem::path &path);
// A path as the program shows it: the system's own separators, in UTF-8.
std::string native(std::filesystem::path path);

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::filesystem::path operator/(std::string_view relative) const { return m_path / utf8Path(relative); }

    // Writes `bytes` to path()/relative, creating the folders on the way.
    std::filesystem::path write(std::string_view relative, std::string_view bytes) const;
    std::filesystem::path makeFolder(std::string_view relative) const;
    std::string read(std::string_view relative) const;

private:
    std::filesystem::path m_path;
};

// Whether the file system of `folder` tells names apart by letter case ("mods" and
// "Mods" two folders), as Linux's do and Windows' do not.
bool caseSensitiveFileSystem(const std::filesystem::path &folder);

// Bytes of a file spelt out: std::string from a literal that may hold NUL bytes.
template<std::size_t N> std::string bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

// The contents of a file, or "<missing>" when it cannot be read.
std::string readBytes(const std::filesystem::path &path);

// Names of the entries of a folder, sorted, hidden ones included.
std::string listing(const std::filesystem::path &folder);

} // namespace cw::test
