#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace cw::test {

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
    std::filesystem::path operator/(std::string_view relative) const { return m_path / relative; }

    // Writes `bytes` to path()/relative, creating the folders on the way.
    std::filesystem::path write(std::string_view relative, std::string_view bytes) const;
    std::filesystem::path makeFolder(std::string_view relative) const;
    std::string read(std::string_view relative) const;

private:
    std::filesystem::path m_path;
};

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
