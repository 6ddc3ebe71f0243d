#pragma once

#include <filesystem>
#include <string>

// Failures of the file system, made real where this machine allows and through the
// program's fault seam where it does not (the tests often run as root, for whom no
// folder is read-only by its mode).
namespace cw::test {

// A folder in which no file can be created, replaced or removed while the object
// lives: by its mode for an ordinary user, by the immutable attribute for root, or
// else through the seam (every new file fails as in a read-only folder).
class UnwritableFolder
{
public:
    explicit UnwritableFolder(std::filesystem::path folder);
    ~UnwritableFolder();
    UnwritableFolder(const UnwritableFolder &) = delete;
    UnwritableFolder &operator=(const UnwritableFolder &) = delete;

    // "mode", "immutable" or "seam".
    const std::string &how() const { return m_how; }

private:
    std::filesystem::path m_folder;
    std::string m_how;
};

// A folder whose disk has `roomBytes` left (a multiple of 4096, or 0) for the files
// written next: a small tmpfs mounted over it, holding the files it held, where this
// machine lets the tests mount one, or else the seam failing every new file's write
// once that many bytes are written. Writes bigger than the room fail part-way.
class FullDisk
{
public:
    FullDisk(std::filesystem::path folder, std::size_t roomBytes);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    // "tmpfs" or "seam".
    const std::string &how() const { return m_how; }

private:
    std::filesystem::path m_folder;
    std::string m_how;
};

// Whether a folder holds a temporary file that a write left behind.
bool holdsTemporaryFile(const std::filesystem::path &folder);

} // namespace cw::test
