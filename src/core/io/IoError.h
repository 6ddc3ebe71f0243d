#pragma once

#include <filesystem>
#include <string>

namespace cw {

namespace fs = std::filesystem;

struct IoError
{
    std::string reason; // why, for people: "No such file or directory"
    fs::path path;      // the file or folder it concerns
    // A file stood at `path` and the failure left it exactly as it was, so the user may
    // be told so. False where nothing stood there (a new name) or a folder stands in the
    // file's place.
    bool untouchedFile = false;
};

// "path: reason" for terminals and logs, the path in UTF-8 (names that are not UTF-8
// are decoded from Windows-1252, as the files' texts are); just the reason when the
// error names no path.
std::string describe(const IoError &error);

struct Done
{
};

} // namespace cw
