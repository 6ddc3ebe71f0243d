#include "core/strings/GameStrings.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(GameStrings, preferences_readAsTheGameReadsThem)
{
    struct Case
    {
        const char *bytes;
        const char *language;
        int method, buttons;
        double speed;
    };
    const Case cases[] = {
        {"", "english", 0, 0, 15},
        {"# Text\r\ntextlanguage = french\r\nControlMethod = 1\r\nTextSpeed = 30\r\n", "french", 1, 0, 30},
        {"TextLanguage=german # mine\nCONTROLMOUSEBUTTONS = 1\nTextSpeed = fast\n", "german", 0, 1, 15},
        {"TextSpeed = -2\r\nTextLanguage = \r\n# TextLanguage = italian\r\n", "english", 0, 0, 15},
        {"TextSpeed = 7.5s\r\nControlMethod = 3\r\nControlMethod = 1\r\n", "english", 1, 0, 7.5},
    };
    for (const Case &c : cases) {
        const GamePreferences read = readGamePreferences(c.bytes);
        EXPECT_EQ(read.textLanguage, c.language) << c.bytes;
        EXPECT_EQ(read.controlMethod, c.method) << c.bytes;
        EXPECT_EQ(read.controlMouseButtons, c.buttons) << c.bytes;
        EXPECT_EQ(read.textSpeed, c.speed) << c.bytes;
    }
}

TEST(GameStrings, aLineIsAKeyAndTheRestUpToACommentHash)
{
    const std::pair<const char *, GameStringsLine> cases[] = {
        {"intro_1 Hello there. ", {"intro_1", "Hello there. "}},
        {"\tintro_1:\t Hello", {"intro_1", "Hello"}},
        {"intro_1 Number #1 of them", {"intro_1", "Number "}},
        {"intro_1 No.#1 of them", {"intro_1", "No.#1 of them"}},
        {"key#c text", {"key", "c text"}},
        {"key # note", {"key", ""}},
        {"key ", {"key", ""}},
        {"  # a comment", {"", ""}},
    };
    for (const auto &[line, expected] : cases) {
        const GameStringsLine read = readGameStringsLine(line);
        EXPECT_EQ(read.key, expected.key) << line;
        EXPECT_EQ(read.text, expected.text) << line;
    }
}

TEST(GameStrings, aSayFindsTheKeysVariantsAsTheGameDoes)
{
    const std::string base =
        "a Base A\r\nkbd_only_kbd Keys\r\npad_xin Pad\r\nmixed Plain\r\nMIXED_kbd Keyboard\r\n"
        "icon Plain icon\r\nicon_icons With icons\r\nmouse Plain mouse\r\nmouse_1mb One button\r\n"
        "never read";
    const std::string mod = "A Mod A\r\nB Mod B\n";
    GamePreferences icons;
    icons.controlMethod = 1;
    icons.controlMouseButtons = 1;
    using F = GameStrings::Found;
    struct Case
    {
        bool iconsAndOneButton;
        bool baseRead;
        const char *key;
        F found;
        const char *text;
    };
    const Case cases[] = {
        {false, true, "a", F::Text, "Mod A"}, // the mod's table replaces the base's text
        {false, true, "b", F::Text, "Mod B"},
        {false, true, "kbd_only", F::Text, "Keys"},
        {false, true, "pad", F::Text, ""},
        {false, true, "Mixed", F::Text, "Keyboard"},
        {false, true, "mixed_kbd", F::NeverFound, ""},
        {false, true, "pad_XIN", F::NeverFound, ""},
        {false, true, "icon", F::Text, "Plain icon"},
        {true, true, "icon", F::Text, "With icons"},
        {true, true, "mouse", F::Text, "One button"},
        {false, true, "never", F::Missing, ""},
        {false, false, "never", F::Unknown, ""},
        {false, false, "b", F::Text, "Mod B"},
    };
    for (const Case &c : cases) {
        const GameStrings strings(c.iconsAndOneButton ? icons : GamePreferences{},
                                  c.baseRead ? std::optional<std::string>(base) : std::nullopt, mod);
        const GameStrings::Said said = strings.say(c.key);
        EXPECT_EQ(said.found, c.found) << c.key;
        EXPECT_EQ(said.text, c.text) << c.key;
    }
}

TEST(GameStrings, load_takesTheModsOwnTableFirst_thenTheGames_andTheLanguagesStringsFile)
{
    test::TempDir dir;
    dir.write("root/preferences.txt", "TextLanguage = french\r\n");
    dir.write("game/data/language/french.txt", "game Du jeu\r\nshared Du jeu\r\n");
    dir.write("root/mods/m/strings_default.txt", "default Ignored\r\n");
    dir.write("root/mods/m/strings_french.txt", "shared Du mod\r\n");
    const auto load = [&] {
        return GameStrings::load(dir / "root", dir / "game", dir / "root/mods/m");
    };

    GameStrings strings = load();
    EXPECT_EQ(strings.say("game").text, "Du jeu");
    EXPECT_EQ(strings.say("shared").text, "Du mod");
    EXPECT_EQ(strings.say("default").found, GameStrings::Found::Missing);
    EXPECT_EQ(strings.modTableFile(), dir / "root/mods/m/strings_french.txt");

    dir.write("root/mods/m/Language/French.txt", "own Du mod\r\n");
    strings = load();
    EXPECT_EQ(strings.baseFile(), dir / "root/mods/m/Language/French.txt");
    EXPECT_EQ(strings.say("own").text, "Du mod");
    EXPECT_EQ(strings.say("game").found, GameStrings::Found::Missing);

    fs::remove_all(dir / "root/mods/m/Language");
    fs::remove(dir / "root/mods/m/strings_french.txt");
    strings = GameStrings::load(dir / "root", std::nullopt, dir / "root/mods/m");
    EXPECT_TRUE(strings.baseFile().empty());
    EXPECT_EQ(strings.say("default").text, "Ignored");
    EXPECT_EQ(strings.say("game").found, GameStrings::Found::Unknown);
}

} // namespace
} // namespace cw
