#include "core/strings/GameStrings.h"

#include "core/io/FileNames.h"
#include "core/io/ModBoundary.h"
#include "core/text/Folding.h"
#include "core/text/GameText.h"
#include "core/text/LineReader.h"
#include "core/workspace/ModLayout.h"

#include <algorithm>

namespace cw {
namespace {

bool endsWithNoCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equalNoCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool isFile(const fs::path &path)
{
    std::error_code code;
    return fs::is_regular_file(path, code);
}

// The bytes of a file, or nothing; the mod's own files are read within its boundary
// (`mod`), the game's without one.
std::optional<std::string> readIfFile(const fs::path &path, const ModBoundary *mod)
{
    if (!isFile(path))
        return std::nullopt;
    auto bytes = mod ? readFile(path, *mod) : readFile(path);
    return bytes ? std::optional<std::string>(std::move(bytes).value()) : std::nullopt;
}

} // namespace

GamePreferences readGamePreferences(std::string_view bytes)
{
    GamePreferences preferences;
    LineReader reader(bytes, LineEnds::Any);
    for (std::string_view line; reader.next(line);) {
        line = line.substr(0, line.find('#'));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (equalNoCase(key, "TextLanguage")) {
            preferences.textLanguage = value.empty() ? "english" : std::string(value);
        } else if (equalNoCase(key, "ControlMethod")) {
            preferences.controlMethod = static_cast<int>(readGameNumber(value, true).value);
        } else if (equalNoCase(key, "ControlMouseButtons")) {
            preferences.controlMouseButtons = static_cast<int>(readGameNumber(value, true).value);
        } else if (equalNoCase(key, "TextSpeed")) {
            const double speed = readGameNumber(value, false).value;
            preferences.textSpeed = speed > 0 ? speed : 15;
        }
    }
    return preferences;
}

GameStringsLine readGameStringsLine(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && isGameSeparator(line[i]))
        ++i;
    const std::size_t start = i;
    while (i < line.size() && !isGameSeparator(line[i]) && line[i] != '#')
        ++i;
    GameStringsLine read;
    read.key = line.substr(start, i - start);
    if (read.key.empty())
        return read;
    if (i < line.size() && line[i] == '#')
        ++i;
    while (i < line.size() && isGameSeparator(line[i]))
        ++i;
    std::size_t end = i;
    while (end < line.size() && !(line[end] == '#' && (end == i || isGameSeparator(line[end - 1]))))
        ++end;
    read.text = line.substr(i, end - i);
    return read;
}

GameStrings::GameStrings(GamePreferences preferences, std::optional<std::string> baseTable,
                         std::string modTable)
    : m_preferences(std::move(preferences)), m_baseRead(baseTable.has_value())
{
    m_tables[0] = std::move(baseTable).value_or(std::string());
    m_tables[1] = std::move(modTable);
    add(0);
    add(1);
    // By key; among equal keys the mod's table, and a later line, come last and win.
    std::stable_sort(m_entries.begin(), m_entries.end(), [this](const Entry &a, const Entry &b) {
        return a.hash != b.hash ? a.hash < b.hash : lessNoCase(keyOf(a), keyOf(b));
    });
    std::vector<Entry> kept;
    kept.reserve(m_entries.size());
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const bool replaced = i + 1 < m_entries.size() && m_entries[i + 1].hash == m_entries[i].hash &&
                              equalNoCase(keyOf(m_entries[i + 1]), keyOf(m_entries[i]));
        if (!replaced)
            kept.push_back(m_entries[i]);
    }
    m_entries = std::move(kept);
}

// Lines end at LF only, as the game ends them; a last line without one is never read.
void GameStrings::add(std::uint32_t table)
{
    const std::string &bytes = m_tables[table];
    std::size_t start = 0;
    for (std::size_t end = bytes.find('\n'); end != std::string::npos; end = bytes.find('\n', start)) {
        std::string_view line(bytes.data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        start = end + 1;
        const GameStringsLine read = readGameStringsLine(line);
        if (read.key.empty())
            continue;
        m_entries.push_back(Entry{noCaseHash(read.key),
                                  static_cast<std::uint32_t>(read.key.data() - bytes.data()),
                                  static_cast<std::uint32_t>(read.key.size()),
                                  static_cast<std::uint32_t>(read.text.data() - bytes.data()),
                                  static_cast<std::uint32_t>(read.text.size()), table});
    }
}

GameStrings GameStrings::load(const fs::path &location, const std::optional<fs::path> &game,
                              const fs::path &modFolder)
{
    GamePreferences preferences;
    if (auto bytes = readFile(findNoCase(location, layout::kPreferencesFile)))
        preferences = readGamePreferences(*bytes);
    const std::string tableName = preferences.textLanguage + ".txt";
    fs::path baseFile;
    fs::path modTableFile;
    std::optional<std::string> base;
    const ModBoundary mod(modFolder);
    // A language that is no plain name names no file the program will look for.
    if (plainFileNameProblem(tableName, NameRules::ThisSystem) == NameProblem::None) {
        baseFile = findNoCase(findNoCase(modFolder, layout::kLanguageFolder), tableName);
        const bool modsOwn = isFile(baseFile);
        if (!modsOwn && game)
            baseFile = findNoCase(
                findNoCase(findNoCase(*game, layout::kGameDataFolder), layout::kLanguageFolder), tableName);
        base = readIfFile(baseFile, modsOwn ? &mod : nullptr);
        modTableFile = findNoCase(modFolder, layout::stringsFileFor(preferences.textLanguage));
    }
    if (!isFile(modTableFile))
        modTableFile = findNoCase(modFolder, layout::kStringsFile);
    std::optional<std::string> modTable = readIfFile(modTableFile, &mod);
    GameStrings strings(std::move(preferences), std::move(base), std::move(modTable).value_or(std::string()));
    if (isFile(baseFile))
        strings.m_baseFile = std::move(baseFile);
    if (isFile(modTableFile))
        strings.m_modTableFile = std::move(modTableFile);
    return strings;
}

std::string_view GameStrings::keyOf(const Entry &entry) const
{
    return std::string_view(m_tables[entry.table]).substr(entry.keyOffset, entry.keyLength);
}

std::string_view GameStrings::textOf(const Entry &entry) const
{
    return std::string_view(m_tables[entry.table]).substr(entry.textOffset, entry.textLength);
}

// The entry whose key is stem + variant + mode, without regard to case.
const GameStrings::Entry *GameStrings::find(std::string_view stem, std::string_view variant,
                                            std::string_view mode) const
{
    const std::uint64_t hash = noCaseHash(mode, noCaseHash(variant, noCaseHash(stem)));
    auto it = std::lower_bound(m_entries.begin(), m_entries.end(), hash,
                               [](const Entry &e, std::uint64_t h) { return e.hash < h; });
    for (; it != m_entries.end() && it->hash == hash; ++it) {
        std::string_view key = keyOf(*it);
        if (key.size() != stem.size() + variant.size() + mode.size())
            continue;
        if (equalNoCase(key.substr(0, stem.size()), stem) &&
            equalNoCase(key.substr(stem.size(), variant.size()), variant) &&
            equalNoCase(key.substr(stem.size() + variant.size()), mode))
            return &*it;
    }
    return nullptr;
}

// The text of "stem + variant" in keyboard mode: its _kbd text beats its own; a _xin
// text alone leaves it found but empty.
std::optional<std::string_view> GameStrings::lookUp(std::string_view stem, std::string_view variant) const
{
    if (const Entry *keyboard = find(stem, variant, "_kbd"))
        return textOf(*keyboard);
    if (const Entry *plain = find(stem, variant, ""))
        return textOf(*plain);
    if (find(stem, variant, "_xin"))
        return std::string_view();
    return std::nullopt;
}

GameStrings::Said GameStrings::say(std::string_view key) const
{
    if (endsWithNoCase(key, "_kbd") || endsWithNoCase(key, "_xin"))
        return {Found::NeverFound, {}};
    std::optional<std::string_view> text;
    if (m_preferences.controlMethod == 1)
        text = lookUp(key, "_icons");
    if (!text && m_preferences.controlMouseButtons == 1)
        text = lookUp(key, "_1mb");
    if (!text)
        text = lookUp(key, "");
    if (text)
        return {Found::Text, *text};
    return {m_baseRead ? Found::Missing : Found::Unknown, {}};
}

} // namespace cw
