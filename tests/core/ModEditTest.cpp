#include "core/find/ModEdit.h"

#include "core/catalogue/Catalogue.h"
#include "core/io/IoFaults.h"
#include "core/strings/GameStrings.h"
#include "core/workspace/ModFiles.h"
#include "support/Faults.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

namespace cw::find {
namespace {

Catalogue sayCatalogue()
{
    return std::move(loadCatalogue("header\r\n\r\n"
                                   "CamMove \"Fly\" 2 3 Mount 2 Seconds\r\n"
                                   "Say \"Speak\" 1 4 Key\r\n"))
        .value();
}

// Each planned file as it would be written, by its path in the mod.
std::map<std::string, std::string> planned(const test::TempDir &mod, const ModChange &change)
{
    std::map<std::string, std::string> out;
    for (const FileChange &file : change.files)
        out[file.file.lexically_relative(mod.path()).generic_string()] = file.changedBytes();
    return out;
}

struct ModWithKeys
{
    test::TempDir mod;
    ModFiles files{mod.path()};

    ModWithKeys()
    {
        mod.write("strings_default.txt", "intro      Hello [intro_part]\r\n"
                                         "intro_kbd  Press [KEYintro] [INTRO]\r\n"
                                         "# intro is the first line\r\n"
                                         "other See [intro] now # not [intro]\r\n"
                                         "introduction Kept\n");
        mod.write("language/german.txt", "INTRO Hallo\n");
        mod.write("scripts/a.txt",
                  "Say intro\r\nCamMove intro 3\r\nSay  INTRO_icons # Say intro\r\nSay intro2");
        mod.write("scripts/b.txt", "Say other\r\n");
    }
};

TEST(RenameKey, everyDefinitionVariantPhraseAndKeyArgument_onlyTheirBytes)
{
    ModWithKeys keys;
    const auto change = planRenameKey(keys.files, sayCatalogue(), "intro", "start", nullptr);
    ASSERT_TRUE(change.ok()) << change.error();
    EXPECT_EQ(
        planned(keys.mod, *change),
        (std::map<std::string, std::string>{
            {"strings_default.txt", "start      Hello [intro_part]\r\n"
                                    "start_kbd  Press [KEYintro] [start]\r\n"
                                    "# intro is the first line\r\n"
                                    "other See [start] now # not [intro]\r\n"
                                    "introduction Kept\n"},
            {"language/german.txt", "start Hallo\n"},
            {"scripts/a.txt", "Say start\r\nCamMove intro 3\r\nSay  start_icons # Say intro\r\nSay intro2"},
        }));
    EXPECT_EQ(change->lineCount(), 6);
    const LineChange &first = change->files.front().lines.front();
    EXPECT_EQ(first.line, 1);
    EXPECT_EQ(first.before, "Say intro");
    EXPECT_EQ(first.after, "Say start");
    // A change of letter case alone is a rename too.
    EXPECT_TRUE(planRenameKey(keys.files, sayCatalogue(), "intro", "Intro", nullptr).ok());
}

TEST(RenameKey, isRefused_forANameTheGameCannotReadOrOneTaken_orAKeyTheModLacks)
{
    ModWithKeys keys;
    const GameStrings game({}, std::string("gamekey The game's own\nother Overridden\n"), "");
    const struct
    {
        const char *from;
        const char *to;
        const char *reason;
    } cases[] = {
        {"intro", "", "\"\" cannot be a key: a key needs a name"},
        {"intro", "new key", "\"new key\" cannot be a key: a key cannot hold a blank, \":\" or \",\""},
        {"intro", "new:key", "\"new:key\" cannot be a key: a key cannot hold a blank, \":\" or \",\""},
        {"intro", "new#", "\"new#\" cannot be a key: a key cannot hold \"#\""},
        {"intro", "[new]", "\"[new]\" cannot be a key: a key cannot hold \"[\" or \"]\""},
        {"intro", "new_KBD",
         "\"new_KBD\" cannot be a key: the game never looks up a key that ends in _kbd or _xin"},
        {"intro", "\xC4\x80", "\"\xC4\x80\" cannot be a key: the game's code page cannot hold it"},
        {"intro", "OTHER", "another key of the mod is named \"OTHER\" already"},
        {"intro", "intro_icons",
         "\"intro_icons\" is a variant of \"intro\": one would be renamed with the other"},
        {"missing", "new", "no strings file of the mod defines \"missing\""},
        {"gamekey", "new", "only the game's own table defines \"gamekey\", so it is not renamed"},
        {"intro", "gamekey", "the game's own table has a key named \"gamekey\" already"},
    };
    for (const auto &c : cases) {
        const auto change = planRenameKey(keys.files, sayCatalogue(), c.from, c.to, &game);
        ASSERT_FALSE(change.ok()) << c.from << " -> " << c.to;
        EXPECT_EQ(change.error(), c.reason);
    }
}

TEST(ReplaceInMod, changesOnlyTheMatchedBytes_keepingEveryLineEnd)
{
    test::TempDir mod;
    mod.write("scripts/a.txt", "CamMove gate  3\r\nCamCut GATE\rWait 1\nSay gate_x");
    mod.write("scripts/b.txt", "Wait 2\r\n");
    mod.write("strings_default.txt", "gate_x The gate\r\n");
    const ModFiles files(mod.path());
    const auto change = planReplace(files, "gate", "caf\xC3\xA9", {false, true});
    ASSERT_TRUE(change.ok()) << change.error();
    EXPECT_EQ(planned(mod, *change),
              (std::map<std::string, std::string>{
                  {"scripts/a.txt", "CamMove caf\xE9  3\r\nCamCut caf\xE9\rWait 1\nSay gate_x"},
                  {"strings_default.txt", "gate_x The caf\xE9\r\n"},
              }));
    EXPECT_EQ(change->files.front().lines.back().after, "CamCut caf\xC3\xA9");

    EXPECT_EQ(planReplace(files, "gate", "\xC4\x80", {}).error(),
              "the game's code page cannot hold the replacement");
    EXPECT_EQ(planReplace(files, "", "x", {}).error(), "there is no text to find");
}

// A file changed since the plan is left as the other program made it, and said; the
// others are written, the strings table with its backup, and the whole is undone only
// while none of them changed since.
TEST(ModChangeWriting, writesWhatIsUnchanged_undoesAsOne_whileNothingChangedSince)
{
    ModWithKeys keys;
    const auto change = planRenameKey(keys.files, sayCatalogue(), "intro", "start", nullptr);
    ASSERT_TRUE(change.ok());
    keys.mod.write("language/german.txt", "INTRO Hallo!\n");

    const ChangeWritten written = writeChange(keys.files, change->files);
    ASSERT_EQ(written.written.size(), 2U);
    ASSERT_EQ(written.failed.size(), 1U);
    EXPECT_TRUE(written.failed.front().untouchedFile);
    EXPECT_EQ(keys.mod.read("language/german.txt"), "INTRO Hallo!\n");
    EXPECT_EQ(keys.mod.read("scripts/a.txt").substr(0, 11), "Say start\r\n");
    EXPECT_EQ(keys.mod.read("strings_default.txt.bak"), keys.mod.read("strings_default.txt"));
    // The changed file planned again as it is now.
    const auto again = change->replan(keys.mod / "language/german.txt",
                                      *keys.files.readScript(keys.mod / "language/german.txt"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->changedBytes(), "start Hallo!\n");

    keys.mod.write("scripts/a.txt", "Say mine\r\n");
    const auto refused = undoChange(keys.files, written.written);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), std::vector<fs::path>{keys.mod / "scripts/a.txt"});
    EXPECT_EQ(keys.mod.read("scripts/a.txt"), "Say mine\r\n");
}

TEST(ModChangeWriting, anUndoPutsBackEveryByte_andAFailingDiskLeavesEachFileAsItWas)
{
    ModWithKeys keys;
    const std::string strings = keys.mod.read("strings_default.txt");
    const std::string script = keys.mod.read("scripts/a.txt");
    const auto change = planRenameKey(keys.files, sayCatalogue(), "intro", "start", nullptr);
    ASSERT_TRUE(change.ok());
    const ChangeWritten written = writeChange(keys.files, change->files);
    ASSERT_EQ(written.written.size(), 3U);
    const auto undone = undoChange(keys.files, written.written);
    ASSERT_TRUE(undone.ok());
    EXPECT_TRUE(undone->failed.empty());
    EXPECT_EQ(keys.mod.read("strings_default.txt"), strings);
    EXPECT_EQ(keys.mod.read("scripts/a.txt"), script);
    EXPECT_EQ(keys.mod.read("language/german.txt"), "INTRO Hallo\n");

    const auto again = planRenameKey(keys.files, sayCatalogue(), "intro", "start", nullptr);
    ASSERT_TRUE(again.ok());
    {
        // The disk fills up while the script is written: the other files are written.
        setIoFaultForTesting(
            IoFaultForTesting{IoFaultForTesting::Kind::Write, ENOSPC, 4, keys.mod / "scripts/a.txt"});
        const ChangeWritten partly = writeChange(keys.files, again->files);
        setIoFaultForTesting(std::nullopt);
        ASSERT_EQ(partly.failed.size(), 1U);
        EXPECT_EQ(partly.failed.front().path, keys.mod / "scripts/a.txt");
        EXPECT_TRUE(partly.failed.front().untouchedFile);
        EXPECT_EQ(partly.written.size(), 2U);
    }
    EXPECT_EQ(keys.mod.read("scripts/a.txt"), script);
    EXPECT_FALSE(test::holdsTemporaryFile(keys.mod / "scripts"));
}

} // namespace
} // namespace cw::find
