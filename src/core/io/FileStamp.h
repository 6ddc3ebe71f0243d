#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace cw {

// What a file held when the program last read or wrote it, so that a change made by
// another program since (a text editor, a second copy of the editor) is noticed before
// anything is written over it. The bytes are kept as their size and a 64-bit hash, not
// as a copy: a script of megabytes is not held twice for this.
struct FileStamp
{
    bool known = false; // false until the file has been read or written
    std::uintmax_t size = 0;
    std::uint64_t hash = 0;
    std::filesystem::file_time_type modified{};

    // The stamp of `bytes`, just read from or written to `path`.
    static FileStamp of(const std::filesystem::path &path, std::string_view bytes);
    // The same bytes at the time `path` has now: for a file found to hold them still
    // although its time moved (touched, or saved again with the same bytes), so that
    // the next cheap look finds it unchanged at once.
    FileStamp retimed(const std::filesystem::path &path) const;
};

enum class DiskState {
    Unchanged,
    Changed, // it holds other bytes than those stamped (or cannot be read any more)
    Gone,    // there is no file at the path any more
};

enum class Compare {
    // Reads and hashes the file whenever its size and time do not rule a change out:
    // before anything is written over it.
    Bytes,
    // Takes an unchanged size and modification time for unchanged: cheap enough for
    // every time the window becomes active again.
    SizeAndTime,
};

// Whether the file at `path` still holds the stamped bytes. A stamp that is not known
// compares Unchanged.
DiskState diskState(const std::filesystem::path &path, const FileStamp &stamp, Compare compare);

// The hash FileStamp keeps: FNV-1a over 64 bits.
std::uint64_t contentHash(std::string_view bytes);

} // namespace cw
