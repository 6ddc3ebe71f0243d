#include "core/workspace/ModFiles.h"

#include "core/io/Files.h"
#include "core/io/Trash.h"
#include "core/workspace/ModLayout.h"

namespace cw {
namespace {

bool standsThere(const fs::path &path)
{
    std::error_code code;
    return fs::symlink_status(path, code).type() != fs::file_type::not_found;
}

} // namespace

Result<ReadFile, IoError> stamped(const fs::path &path, Result<std::string, IoError> read)
{
    if (!read)
        return read.error();
    FileStamp stamp = FileStamp::of(path, *read);
    return ReadFile{std::move(read).value(), stamp};
}

ModFiles::ModFiles(fs::path modFolder) : m_boundary(std::move(modFolder)) {}

std::optional<fs::path> ModFiles::existing(std::string_view name) const
{
    const fs::path found = findNoCase(folder(), name);
    return standsThere(found) ? std::optional<fs::path>(found) : std::nullopt;
}

std::optional<fs::path> ModFiles::scriptsFolder() const
{
    const fs::path found = findNoCase(folder(), layout::kScriptsFolder);
    std::error_code code;
    return fs::is_directory(found, code) ? std::optional<fs::path>(found) : std::nullopt;
}

fs::path ModFiles::stringsFile() const
{
    return findNoCase(folder(), layout::kStringsFile);
}

fs::path ModFiles::stringsBackup() const
{
    return findNoCase(folder(), layout::stringsBackupFile());
}

std::optional<fs::path> ModFiles::scriptNamed(std::string_view name) const
{
    const auto scripts = scriptsFolder();
    if (!scripts)
        return std::nullopt;
    const fs::path found = findNoCase(*scripts, name);
    return standsThere(found) ? std::optional<fs::path>(found) : std::nullopt;
}

Result<Done, IoError> ModFiles::unchangedOnDisk(const fs::path &file, const FileStamp &expected) const
{
    switch (diskState(file, expected, Compare::Bytes)) {
    case DiskState::Unchanged:
        return Done{};
    case DiskState::Gone:
        return IoError{"another program removed or renamed it since Cuewright read it", file};
    case DiskState::Changed:
        break;
    }
    IoError changed{"another program changed it since Cuewright read or saved it", file};
    changed.untouchedFile = true;
    return changed;
}

Result<ReadFile, IoError> ModFiles::readScript(const fs::path &script) const
{
    return stamped(script, readFile(script, m_boundary));
}

Result<FileStamp, IoError> ModFiles::writeScript(const fs::path &script, std::string_view bytes,
                                                 const FileStamp &expected) const
{
    return writeFile(script, bytes, expected);
}

Result<FileStamp, IoError> ModFiles::writeFile(const fs::path &file, std::string_view bytes,
                                               const FileStamp &expected) const
{
    if (auto unchanged = unchangedOnDisk(file, expected); !unchanged)
        return unchanged.error();
    if (auto written = writeFileAtomically(file, bytes, m_boundary); !written)
        return written.error();
    return FileStamp::of(file, bytes);
}

Result<FileStamp, IoError> ModFiles::createScript(std::string_view name, std::string_view bytes) const
{
    const auto scripts = scriptsFolder();
    if (!scripts)
        return IoError{"the mod has no scripts folder",
                       folder() / pathFromName(layout::kScriptsFolder) / pathFromName(name)};
    const fs::path script = *scripts / pathFromName(name);
    if (const auto taken = scriptNamed(name))
        return IoError{"a file or folder of that name exists already", *taken};
    if (auto created = createFileAtomically(script, bytes, m_boundary); !created)
        return created.error();
    return FileStamp::of(script, bytes);
}

Result<Trashed, IoError> ModFiles::trashScript(const fs::path &script, const MoveToTrash &moveToTrash) const
{
    auto target = m_boundary.deletable(script);
    if (!target)
        return target.error();
    const fs::path &entry = target->entry;
    const std::optional<fs::path> inTrash = moveToTrash(entry);
    if (!inTrash)
        return Trashed{Trashed::Outcome::NotMoved, {}};
    if (inTrash->empty() || isRestorableFromTrash(*inTrash, entry, folder()))
        return Trashed{Trashed::Outcome::InTrash, {}};
    // Put back where it was: checked as any write into the mod is, and never over a file
    // that took its name meanwhile.
    std::error_code code;
    if (m_boundary.resolve(entry) && !standsThere(entry))
        fs::rename(*inTrash, entry, code);
    else
        code = std::make_error_code(std::errc::file_exists);
    if (code)
        return Trashed{Trashed::Outcome::Stranded, fs::absolute(*inTrash)};
    return Trashed{Trashed::Outcome::NotMoved, {}};
}

Result<Done, IoError> ModFiles::deleteScript(const fs::path &script) const
{
    return deleteFile(script, m_boundary);
}

Result<ReadFile, IoError> ModFiles::readStrings() const
{
    const fs::path file = stringsFile();
    return stamped(file, readFile(file, m_boundary));
}

Result<std::string, IoError> ModFiles::readStringsBackup() const
{
    return readFile(stringsBackup(), m_boundary);
}

Result<ModFiles::StringsSaved, IoError> ModFiles::writeStrings(std::string_view bytes,
                                                               const FileStamp &expected) const
{
    const fs::path file = stringsFile();
    if (auto unchanged = unchangedOnDisk(file, expected); !unchanged)
        return unchanged.error();
    if (auto written = writeFileAtomically(file, bytes, m_boundary); !written)
        return written.error();
    StringsSaved saved{FileStamp::of(file, bytes), std::nullopt};
    if (auto backup = writeFileAtomically(stringsBackup(), bytes, m_boundary); !backup)
        saved.backupFailed = backup.error();
    return saved;
}

Result<FileStamp, IoError> ModFiles::createStrings() const
{
    const fs::path file = folder() / pathFromName(layout::kStringsFile);
    if (const auto taken = existing(layout::kStringsFile))
        return IoError{"a file or folder of that name exists already", *taken};
    const std::string bytes = layout::starterStringsBytes();
    if (auto created = createFileAtomically(file, bytes, m_boundary); !created)
        return created.error();
    return FileStamp::of(file, bytes);
}

Result<Done, IoError> ModFiles::makeFolder(std::string_view name) const
{
    if (const auto taken = existing(name))
        return IoError{"it exists already", *taken};
    return createFolder(folder() / pathFromName(name), m_boundary);
}

} // namespace cw
