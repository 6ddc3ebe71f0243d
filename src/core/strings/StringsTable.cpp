#include "core/strings/StringsTable.h"

#include "core/catalogue/Tokenizer.h"
#include "core/text/Folding.h"
#include "core/text/LineReader.h"

#include <algorithm>

namespace cw {
namespace {

// Names that share a hash are told apart by comparing them, so 32 bits are enough.
std::uint32_t keyOf(std::string_view name)
{
    return static_cast<std::uint32_t>(foldedHash(name));
}

} // namespace

StringsTable::StringsTable(std::string bytes) : m_bytes(std::move(bytes))
{
    std::string_view line;
    // Sized once from the number of lines, so a large table is not copied as it grows.
    std::size_t lines = 0;
    for (LineReader counter(m_bytes, LineEnds::Any); counter.next(line);)
        ++lines;
    m_entries.reserve(lines);
    LineReader reader(m_bytes, LineEnds::Any);
    while (reader.next(line)) {
        // Key-and-rest lines never hold more than two slots, so this cannot fail.
        const auto slots = splitLine(line, SplitMode::KeyAndRest);
        if (!slots || (*slots)[0].empty() || (*slots)[0] == "#")
            continue;
        m_entries.push_back(Entry{spanOf((*slots)[0]), spanOf((*slots)[1])});
    }
    m_keys.reserve(m_entries.size());
    for (int i = 0; i < size(); ++i)
        m_keys.push_back(Key{keyOf(name(i)), i});
    std::sort(m_keys.begin(), m_keys.end(), [](const Key &a, const Key &b) {
        return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
    });
}

StringsTable::Span StringsTable::spanOf(std::string_view part) const
{
    if (part.empty())
        return {};
    return Span{static_cast<std::uint32_t>(part.data() - m_bytes.data()),
                static_cast<std::uint32_t>(part.size())};
}

std::string_view StringsTable::name(int index) const
{
    return view(m_entries[static_cast<std::size_t>(index)].name);
}

std::string_view StringsTable::text(int index) const
{
    return view(m_entries[static_cast<std::size_t>(index)].text);
}

int StringsTable::find(std::string_view value) const
{
    const std::uint32_t hash = keyOf(value);
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), hash,
                               [](const Key &key, std::uint32_t h) { return key.hash < h; });
    for (; it != m_keys.end() && it->hash == hash; ++it) {
        if (foldedEqual(name(it->index), value))
            return it->index;
    }
    return -1;
}

} // namespace cw
