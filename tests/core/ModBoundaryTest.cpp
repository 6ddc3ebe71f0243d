// Every action on a mod's files against every kind of entry it may meet there, as one
// table: what each reaches, what each refuses and says, and that a refusal touches nothing.
#include "core/io/Files.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#ifdef __linux__
#include <fcntl.h>
#endif

namespace cw {
namespace {

using test::readBytes;
using test::TempDir;

enum Action { Write, Create, Delete, MakeFolder, Read, kActions };
const char *const kActionNames[] = {"Write", "Create", "Delete", "MakeFolder", "Read"};

// Empty where the action is allowed; else what its reason says, {outside} standing for
// the real path of the folder outside the mod.
const std::string kOk, kExists = "exists already",
                       kOut = "it is a link to {outside}/secret.txt, outside the mod folder",
                       kToNothing = "it is a link to ../gone.txt, which does not exist",
                       kFolderOut = "scripts leads to {outside}, outside the mod folder";

// A kind of entry an action meets, as the script `script` of mod `mod` in the scene
// below, and what each action does there.
struct Kind
{
    const char *name, *mod, *script;
    std::string refusals[kActions];
};
const Kind kKinds[] = {
    {"None", "m", "plain.txt", {kOk, kOk, kOk, kOk, kOk}},
    {"LinkInside", "m", "inside.txt", {kOk, kExists, kOk, kExists, kOk}},
    {"LinkInsideByWayOfDotDot", "m", "updown.txt", {kOk, kExists, kOk, kExists, kOk}},
    {"LinkOut", "m", "out.txt", {kOut, kOut, kOut, kOut, kOut}},
    {"LinkToNothing", "m", "nothing.txt", {kToNothing, kToNothing, kToNothing, kToNothing, kToNothing}},
    {"ScriptsFolderOut", "escaped", "s.txt", {kFolderOut, kFolderOut, kFolderOut, kFolderOut, kFolderOut}},
    {"ModFolderIsALink", "linked", "plain.txt", {kOk, kOk, kOk, kOk, kOk}},
    {"FolderInPlace",
     "m",
     "folder.txt",
     {"a folder of that name stands where the file should be", kExists, "it is a folder, not a file", kExists,
      "it is a folder, not a file"}},
};

void PrintTo(const Kind &kind, std::ostream *out)
{
    *out << kind.name;
}

bool link(const fs::path &to, const fs::path &at)
{
    std::error_code code;
    fs::create_symlink(to, at, code);
    return !code;
}

// Mod m with a script, a link inside it, one out of it and one to nothing, a folder
// named like a script; mod escaped whose scripts folder leads outside; mod linked, a
// link to a mod kept elsewhere. False where no links can be made.
bool makeScene(const TempDir &game, const TempDir &outside, const TempDir &elsewhere)
{
    game.write("mods/m/scripts/plain.txt", "old");
    game.write("mods/m/notes.txt", "old");
    game.makeFolder("mods/m/scripts/folder.txt");
    game.makeFolder("mods/escaped");
    outside.write("secret.txt", "secret");
    outside.write("s.txt", "secret");
    elsewhere.write("m/scripts/plain.txt", "old");
    return link("../notes.txt", game / "mods/m/scripts/inside.txt") &&
           link("../scripts/../notes.txt", game / "mods/m/scripts/updown.txt") &&
           link(outside / "secret.txt", game / "mods/m/scripts/out.txt") &&
           link("../gone.txt", game / "mods/m/scripts/nothing.txt") &&
           link(outside.path(), game / "mods/escaped/scripts") && link(elsewhere / "m", game / "mods/linked");
}

// Everything below `folder`, links shown and not followed.
std::string snapshot(const fs::path &folder)
{
    std::string all;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        all += test::utf8(entry.path()) +
               (entry.is_symlink() ? " -> " + test::utf8(fs::read_symlink(entry.path()))
                                   : " = " + readBytes(entry.path())) +
               "\n";
    }
    return all;
}

// The action on `script`: the bytes read, or nothing, or why it was refused.
Result<std::string, IoError> act(int action, const fs::path &script, const ModBoundary &mod)
{
    const auto nothing = [](const Result<Done, IoError> &done) -> Result<std::string, IoError> {
        if (!done)
            return done.error();
        return std::string();
    };
    switch (action) {
    case Write:
        return nothing(writeFileAtomically(script, "new", mod));
    case Create:
        return nothing(createFileAtomically(script, "new", mod));
    case Delete:
        return nothing(deleteFile(script, mod));
    case MakeFolder:
        return nothing(createFolder(script, mod));
    default:
        return readFile(script, mod);
    }
}

class Boundary : public ::testing::TestWithParam<Kind>
{
};

TEST_P(Boundary, eachActionLandsInsideTheMod_orIsRefusedSayingWhereTheLinkLeads)
{
    const Kind &kind = GetParam();
    for (int action = 0; action < kActions; ++action) {
        SCOPED_TRACE(kActionNames[action]);
        const TempDir game, outside, elsewhere;
        if (!makeScene(game, outside, elsewhere))
            GTEST_SKIP() << "no symbolic links here";
        // What an action makes needs a free name.
        const bool makes = action == Create || action == MakeFolder;
        const std::string name = makes && kind.script == std::string("plain.txt") ? "fresh.txt" : kind.script;
        const fs::path script = game / "mods" / kind.mod / "scripts" / name;
        const std::string before = snapshot(game.path()) + snapshot(elsewhere.path());
        const std::string outsideBefore = snapshot(outside.path());

        const auto result = act(action, script, ModBoundary(game / "mods" / kind.mod));

        EXPECT_EQ(snapshot(outside.path()), outsideBefore);
        std::string refusal = kind.refusals[action];
        if (!refusal.empty()) {
            if (const auto at = refusal.find("{outside}"); at != std::string::npos)
                refusal.replace(at, 9, test::utf8(fs::canonical(outside.path())));
            ASSERT_FALSE(result.ok());
            EXPECT_NE(result.error().reason.find(refusal), std::string::npos) << result.error().reason;
            EXPECT_EQ(result.error().path, script);
            EXPECT_EQ(snapshot(game.path()) + snapshot(elsewhere.path()), before);
            continue;
        }
        ASSERT_TRUE(result.ok()) << result.error().reason;
        const char *const reached[] = {"new", "new", "<missing>", "", "old"};
        EXPECT_EQ(action == Read ? *result : readBytes(script), reached[action]);
        EXPECT_EQ(fs::is_directory(script), action == MakeFolder);
        // A link written through stays a link; a link deleted goes, not what it leads to.
        const bool throughLink =
            kind.script == std::string("inside.txt") || kind.script == std::string("updown.txt");
        EXPECT_EQ(fs::is_symlink(script), throughLink && action != Delete);
        EXPECT_EQ(readBytes(game / "mods/m/notes.txt"), throughLink && action == Write ? "new" : "old");
    }
}

INSTANTIATE_TEST_SUITE_P(ModBoundary, Boundary, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind> &kind) {
                             return std::string(kind.param.name);
                         });

TEST(ModBoundary, aPathThatLeavesItsFolderByDotDot_isRefusedForEveryAction)
{
    const TempDir game;
    game.write("mods/m/scripts/plain.txt", "old");
    const ModBoundary mod(game / "mods/m");
    const std::string before = snapshot(game.path());
    for (const char *path : {"mods/m/scripts/..", "mods/m/scripts/../notes.txt", "mods/m/../x.txt"}) {
        for (int action = 0; action < kActions; ++action) {
            SCOPED_TRACE(std::string(path) + " " + kActionNames[action]);
            const auto result = act(action, game / path, mod);
            ASSERT_FALSE(result.ok());
            EXPECT_NE(result.error().reason.find("neither in the mod folder"), std::string::npos);
        }
    }
    EXPECT_EQ(snapshot(game.path()), before);
}

#ifdef __linux__
// The mod's scripts folder and a link to a folder outside the mod trade places as fast
// as the machine allows, while the program writes, reads, creates and deletes scripts.
// Whenever the check and the action meet different folders, the action must be refused
// or land in the mod's own folder: nothing outside is written, left behind or read.
TEST(ModBoundary, aFolderSwappedForALinkWhileActing_neverLetsAnActionOut)
{
    const TempDir game, outside;
    game.write("mods/m/scripts/intro.txt", "mine");
    outside.write("intro.txt", "outside");
    const fs::path scripts = game / "mods/m/scripts", swap = game / "mods/m/swap";
    if (!link(outside.path(), swap))
        GTEST_SKIP() << "no symbolic links here";
    std::atomic<bool> stop{false};
    std::atomic<int> swaps{0};
    std::thread swapper([&] {
        while (!stop) {
            if (::renameat2(AT_FDCWD, scripts.c_str(), AT_FDCWD, swap.c_str(), RENAME_EXCHANGE) == 0)
                ++swaps;
        }
    });
    const ModBoundary mod(game / "mods/m");
    int done = 0;
    for (int run = 0; run < 3000; ++run) {
        const std::string mine = "mine " + std::to_string(run);
        done += writeFileAtomically(scripts / "intro.txt", mine, mod).ok();
        const auto read = readFile(scripts / "intro.txt", mod);
        EXPECT_TRUE(!read || read->rfind("mine", 0) == 0) << *read;
        const fs::path fresh = scripts / ("fresh" + std::to_string(run) + ".txt");
        if (createFileAtomically(fresh, "new", mod).ok())
            (void)deleteFile(fresh, mod);
        (void)createFolder(scripts / ("folder" + std::to_string(run)), mod);
    }
    stop = true;
    swapper.join();
    if (swaps % 2 != 0) {
        ASSERT_EQ(::renameat2(AT_FDCWD, scripts.c_str(), AT_FDCWD, swap.c_str(), RENAME_EXCHANGE), 0);
    }

    EXPECT_EQ(test::listing(outside.path()), "intro.txt");
    EXPECT_EQ(readBytes(outside / "intro.txt"), "outside");
    EXPECT_GT(swaps.load(), 0);
    EXPECT_GT(done, 0) << "the mod's own folder was never met";
}
#endif

} // namespace
} // namespace cw
