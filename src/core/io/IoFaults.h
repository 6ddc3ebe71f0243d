#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <system_error>

namespace cw {

namespace fs = std::filesystem;

// A failure the machine cannot always produce for real (a full disk, a read-only
// folder, an unreadable file or a failing flush when the tests run as root), for tests
// of the failure paths: while set, writing a new file fails with `error` once
// `bytesBeforeFailure` bytes are written, flushing it to the disk fails with `error`,
// reading a file fails with `error`, or the rename that replaces a file, the link that
// gives a new file its name or the removal of a file fails with `error`. With
// `onlyFor` set, only that file (the target of a write) fails; a read fault for a folder
// fails listing it (folderProblem).
struct IoFaultForTesting
{
    enum class Kind { Write, Read, Flush, Rename, Link, Remove };

    IoFaultForTesting(Kind kind_, int error_, std::size_t bytesBeforeFailure_ = 0, fs::path onlyFor_ = {})
        : kind(kind_), error(error_), bytesBeforeFailure(bytesBeforeFailure_), onlyFor(std::move(onlyFor_))
    {
    }

    Kind kind;
    int error;
    std::size_t bytesBeforeFailure;
    fs::path onlyFor;
};
void setIoFaultForTesting(std::optional<IoFaultForTesting> fault);

// The fault of `kind` set for `file` (any file, unless the fault names one), or null.
// Only the file functions of the core ask.
const IoFaultForTesting *ioFaultFor(IoFaultForTesting::Kind kind, const fs::path &file);

// The failure the fault of `kind` sets for `file`, as the system would report it; none
// when no such fault is set.
std::error_code ioFaultCode(IoFaultForTesting::Kind kind, const fs::path &file);

// The read fault set for exactly `folder`, or null: a fault for every file is no
// fault of a folder.
const IoFaultForTesting *folderFaultFor(const fs::path &folder);

} // namespace cw
