// When a file the desktop moved away counts as in a trash: only where the trash lies
// outside the mod and its record names where the file was.
#include "core/io/Trash.h"
#include "core/io/Files.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>

// Only the freedesktop.org trash is checked so; Windows and macOS keep their own record.
#ifndef _WIN32

namespace cw {
namespace {

using test::TempDir;

struct TrashCase
{
    const char *name;
    const char *trash; // below the temporary folder; "mod" is the mod folder
    const char *info;  // the .trashinfo, {original} standing for the original path; null: none
    bool restorable;
};

const TrashCase kTrashCases[] = {
    {"HomeTrash", "home/Trash", "[Trash Info]\nPath={original}\nDeletionDate=2026-12-08T10:00:00\n", true},
    {"EscapedPath", "home/Trash", "[Trash Info]\nPath={escaped}\n", true},
    {"TopFolderTrash_PathRelativeToTop", ".Trash-1000", "[Trash Info]\nPath={relative}\n", true},
    {"TrashInsideTheMod", "mods/m/.Trash-0", "[Trash Info]\nPath={original}\n", false},
    {"EmptyInfo", "home/Trash", "", false},
    {"NoInfo", "home/Trash", nullptr, false},
    {"OtherPath", "home/Trash", "[Trash Info]\nPath=/elsewhere/intro.txt\n", false},
    {"PathOutsideItsGroup", "home/Trash", "Path={original}\n[Trash Info]\n", false},
    {"BrokenEscape", "home/Trash", "[Trash Info]\nPath=/a%2\n", false},
};

void PrintTo(const TrashCase &c, std::ostream *out)
{
    *out << c.name;
}

std::string replaced(std::string text, const std::string &field, const std::string &by)
{
    if (const auto at = text.find(field); at != std::string::npos)
        text.replace(at, field.size(), by);
    return text;
}

// Every byte that is not plain ASCII, as a trash escapes it.
std::string escapedPath(const std::string &path)
{
    std::string escaped;
    for (const unsigned char c : path) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", c);
        escaped += c < 0x80 && c != '%' && c != ' ' ? std::string(1, static_cast<char>(c)) : hex;
    }
    return escaped;
}

class Trash : public ::testing::TestWithParam<TrashCase>
{
};

TEST_P(Trash, aMoveCountsAsToTheTrash_onlyOutsideTheModAndWithTheOriginalPathRecorded)
{
    const TrashCase &c = GetParam();
    const TempDir dir;
    const fs::path root = fs::canonical(dir.path());
    const fs::path mod = root / "mods/m";
    const fs::path original = mod / "scripts/caf\xC3\xA9 intro.txt";
    fs::create_directories(original.parent_path());
    const fs::path trash = root / c.trash;
    const fs::path inTrash = trash / "files" / original.filename();
    dir.write(fs::relative(inTrash, root).string(), "Wait 1\r\n");
    if (c.info) {
        std::string info = replaced(c.info, "{original}", nameOf(original));
        info = replaced(info, "{escaped}", escapedPath(nameOf(original)));
        info = replaced(info, "{relative}", nameOf(fs::relative(original, root)));
        dir.write(fs::relative(trash / "info" / (nameOf(original.filename()) + ".trashinfo"), root).string(),
                  info);
    }
    EXPECT_EQ(isRestorableFromTrash(inTrash, original, mod), c.restorable);
}

INSTANTIATE_TEST_SUITE_P(Moves, Trash, ::testing::ValuesIn(kTrashCases),
                         [](const ::testing::TestParamInfo<TrashCase> &c) {
                             return std::string(c.param.name);
                         });

// A move to somewhere that is no trash's files folder (Qt's own fallback "files" of
// the current folder) never counts.
TEST(Trash, aPathThatIsNoTrashsFilesFolder_neverCounts)
{
    const TempDir dir;
    const fs::path mod = dir / "mods/m";
    EXPECT_FALSE(isRestorableFromTrash("files/intro.txt", mod / "scripts/intro.txt", mod));
    dir.write("elsewhere/intro.txt", "x");
    EXPECT_FALSE(isRestorableFromTrash(dir / "elsewhere/intro.txt", mod / "scripts/intro.txt", mod));
}

} // namespace
} // namespace cw

#endif
