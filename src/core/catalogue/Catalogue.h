#pragma once

#include "core/util/Result.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cw {

// Argument type codes of commands.txt. Any other value is stored as it is.
enum ArgumentTypeCode : std::int16_t {
    kTypeInteger = 1,
    kTypeFloat = 2,
    kTypeString = 3,
    kTypeStringsEntry = 4,
};

struct CommandDefinition
{
    std::string name;
    std::string description;
    std::int16_t argumentCount = 0;
    // Slots 1 to 4 describe arguments 1 to 4; slot 0 is never filled.
    std::array<std::int16_t, 5> argumentTypes{};
    std::array<std::string, 5> argumentLabels{};

    bool operator==(const CommandDefinition &) const = default;
};

// The table of script commands: the command lines of commands.txt in file order,
// followed by the built-in comment entry "#". Read-only once loaded.
class Catalogue
{
public:
    static constexpr int kCapacity = 101;

    // Index of the comment entry, which is also the number of command lines.
    int commandCount() const { return m_commandCount; }
    int entryCount() const { return m_commandCount + 1; }
    const CommandDefinition &entry(int index) const { return m_entries[static_cast<std::size_t>(index)]; }

    // Index of the first entry from 1 to commandCount() whose name equals `name`
    // without regard to case (foldedEqual); 0 when none does (entry 0 is never
    // compared, so it is also the answer for a name that matches nothing). Nothing is
    // copied, so a word of megabytes costs no more than a short one.
    int find(std::string_view name) const;

    static CommandDefinition commentEntry();

private:
    friend class CatalogueBuilder;

    std::array<CommandDefinition, kCapacity> m_entries;
    int m_commandCount = 0;
};

struct CatalogueError
{
    enum class Cause {
        Empty,        // no header line to read
        NotANumber,   // a numeric token that is neither empty nor a number in range
        TooManyLines, // more than 100 command lines
        Tokenizer,    // a line of more than 21 tokens
        Unreadable,   // the file could not be read
    };
    Cause cause;
    int line = 0;       // 1-based line of commands.txt where it happened
    std::string detail; // what exactly was wrong, for people, in UTF-8

    // One line for people: "commands.txt line 5: ...".
    std::string describe() const;
};

// Reads commands.txt from its bytes.
Result<Catalogue, CatalogueError> loadCatalogue(std::string_view bytes);

// Empty gives 0; otherwise an optionally signed decimal with an optional fraction,
// rounded to the nearest integer with halves to the even neighbour, within the
// 16-bit range. Anything else gives nothing.
std::optional<std::int16_t> numOrZero(std::string_view token);

// " - Integer", " - Float", " - String", " - Strings_Default entry" for 1 to 4, and
// the empty text for any other code.
std::string_view typeLabel(int code);

} // namespace cw
