#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cw {

// The entries of a mod's strings_default.txt, in file order, duplicates kept. Each
// line (ended by CR LF, CR or LF) is split into a key and the rest; a line whose key is empty or "#" is no
// entry. The table owns the file's bytes and every name and text is a view into them,
// so a table of 50,000 entries costs little more than the file itself.
class StringsTable
{
public:
    StringsTable() = default;
    explicit StringsTable(std::string bytes);

    int size() const { return static_cast<int>(m_entries.size()); }
    std::string_view name(int index) const;
    std::string_view text(int index) const;
    const std::string &bytes() const { return m_bytes; }

    // Position of the first entry whose name equals `value` without regard to case
    // (both folded as command names are), or -1.
    int find(std::string_view value) const;

private:
    struct Span
    {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    struct Entry
    {
        Span name;
        Span text;
    };
    struct Key
    {
        std::uint32_t hash;
        int index;
    };

    std::string_view view(Span span) const
    {
        return std::string_view(m_bytes).substr(span.offset, span.length);
    }
    Span spanOf(std::string_view part) const;

    std::string m_bytes;
    std::vector<Entry> m_entries;
    std::vector<Key> m_keys; // sorted by folded-name hash, then position
};

} // namespace cw
