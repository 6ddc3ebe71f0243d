#pragma once

#include "core/io/Files.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A mod's strings as the game itself loads them, which is not the way the editor's
// strings page shows strings_default.txt: the game starts from a whole base table (the
// mod's language/<language>.txt, else its own data/language/<language>.txt), merges one
// file of the mod on top (strings_<language>.txt, or strings_default.txt only when that
// is missing), ends lines at LF only, drops a last line without one, and looks a key up
// through its variants (_kbd, _xin, _icons, _1mb). Both the checker and the cutscene
// timeline ask it what a `Say` will show.
namespace cw {

// The preferences that decide which strings the game loads and shows, and how fast.
// Read from the preferences.txt beside `mods` (the game root's or the profile's).
struct GamePreferences
{
    std::string textLanguage = "english"; // TextLanguage
    int controlMethod = 0;                // ControlMethod: 1 makes a Say try "<key>_icons"
    int controlMouseButtons = 0;          // ControlMouseButtons: 1 makes a Say try "<key>_1mb"
    double textSpeed = 15;                // TextSpeed: 15 when absent, not a number or not above 0
};

// `Key = value` lines, "#" comments, keys without regard to case; a later line wins.
// Numbers are read as the game reads them, by their numeric start.
GamePreferences readGamePreferences(std::string_view bytes);

// One line of a strings file (without its line end) as the game reads it: the key is
// the first word (separators are blanks, CR, ":" and ","; a "#" glued to the word ends
// it and is skipped); the text is the rest after the separators that follow the key,
// trailing blanks kept, up to a "#" that follows a separator. A line that is blank or a
// comment has an empty key; a key without text has an empty text.
struct GameStringsLine
{
    std::string_view key;
    std::string_view text;
};
GameStringsLine readGameStringsLine(std::string_view line);

class GameStrings
{
public:
    enum class Found {
        Text,       // the game shows `text` (empty when only the other input mode's variant exists)
        Missing,    // every table was read and none has the key: the game says nothing
        Unknown,    // not in the mod's tables, and the game's own table could not be read
        NeverFound, // a key ending in _kbd or _xin: the game never looks such a key up
    };
    struct Said
    {
        Found found = Found::Unknown;
        // As the file gives it to the game, still holding its markup and "\n" pairs.
        std::string_view text;
    };

    // Nothing read: every key is Unknown.
    GameStrings() = default;
    // The tables' bytes: the base table when it could be read, then the mod's table
    // merged on top.
    GameStrings(GamePreferences preferences, std::optional<std::string> baseTable, std::string modTable);

    // Reads the preferences.txt in `location` (the folder holding `mods`), the base
    // table (the mod's own, else the one in `game`'s data folder) and the mod's table.
    // Files that are missing or cannot be read count as absent; the base table then as
    // unread. Files go through readFile, so none is larger than kMaxFileBytes.
    static GameStrings load(const fs::path &location, const std::optional<fs::path> &game,
                            const fs::path &modFolder);

    // What `Say key` finds, in keyboard mode (the mode of a game played on a PC):
    // "<key>_icons" when ControlMethod is 1, else "<key>_1mb" when ControlMouseButtons
    // is 1, else "<key>"; each of them as "<name>_kbd", else "<name>", else (found but
    // empty) "<name>_xin". Keys match without regard to ASCII case.
    Said say(std::string_view key) const;

    const GamePreferences &preferences() const { return m_preferences; }
    // The files read by load(), empty when there is none: the base table (the mod's or
    // the game's) and the mod's table the game merges on top of it.
    const fs::path &baseFile() const { return m_baseFile; }
    const fs::path &modTableFile() const { return m_modTableFile; }

private:
    // A key and its text, as offsets into the table it came from.
    struct Entry
    {
        std::uint64_t hash;
        std::uint32_t keyOffset;
        std::uint32_t keyLength;
        std::uint32_t textOffset;
        std::uint32_t textLength;
        std::uint32_t table;
    };

    void add(std::uint32_t table);
    std::string_view keyOf(const Entry &entry) const;
    std::string_view textOf(const Entry &entry) const;
    const Entry *find(std::string_view stem, std::string_view variant, std::string_view mode) const;
    std::optional<std::string_view> lookUp(std::string_view stem, std::string_view variant) const;

    GamePreferences m_preferences;
    std::array<std::string, 2> m_tables; // the base table, then the mod's
    // Whether the base table could be read: on most installs the game's own sits inside
    // its archives, and a key the mod's tables lack is then Unknown, not Missing.
    bool m_baseRead = false;
    fs::path m_baseFile;
    fs::path m_modTableFile;
    std::vector<Entry> m_entries; // sorted by key; a repeated key keeps its last text
};

} // namespace cw
