#include "core/catalogue/Catalogue.h"

#include "core/catalogue/Tokenizer.h"
#include "core/text/Codepage.h"
#include "core/text/Folding.h"
#include "core/text/LineReader.h"

#include <cstdlib>

namespace cw {

// Fills a catalogue entry by entry; the only writer of Catalogue's internals.
class CatalogueBuilder
{
public:
    static void set(Catalogue &catalogue, int index, CommandDefinition definition)
    {
        const auto slot = static_cast<std::size_t>(index);
        catalogue.m_entries[slot] = std::move(definition);
    }
    static void setCommandCount(Catalogue &catalogue, int count) { catalogue.m_commandCount = count; }
};

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

CommandDefinition Catalogue::commentEntry()
{
    CommandDefinition comment;
    comment.name = "#";
    comment.description = "Comment";
    comment.argumentCount = 1;
    comment.argumentTypes[1] = kTypeString;
    comment.argumentLabels[1] = "Comment Text";
    return comment;
}

int Catalogue::find(std::string_view name) const
{
    for (int i = 1; i <= m_commandCount; ++i) {
        if (foldedEqual(m_entries[static_cast<std::size_t>(i)].name, name))
            return i;
    }
    return 0;
}

std::string CatalogueError::describe() const
{
    return "commands.txt line " + std::to_string(line) + ": " + detail;
}

std::string_view typeLabel(int code)
{
    switch (code) {
    case kTypeInteger:
        return " - Integer";
    case kTypeFloat:
        return " - Float";
    case kTypeString:
        return " - String";
    case kTypeStringsEntry:
        return " - Strings_Default entry";
    default:
        return {};
    }
}

std::optional<std::int16_t> numOrZero(std::string_view token)
{
    if (token.empty())
        return 0;

    std::size_t pos = 0;
    bool negative = false;
    if (token[pos] == '+' || token[pos] == '-') {
        negative = token[pos] == '-';
        ++pos;
    }
    const std::size_t intBegin = pos;
    while (pos < token.size() && isDigit(token[pos]))
        ++pos;
    std::string_view integerDigits = token.substr(intBegin, pos - intBegin);
    std::string_view fractionDigits;
    if (pos < token.size() && token[pos] == '.') {
        const std::size_t fracBegin = ++pos;
        while (pos < token.size() && isDigit(token[pos]))
            ++pos;
        fractionDigits = token.substr(fracBegin, pos - fracBegin);
    }
    if (pos != token.size() || (integerDigits.empty() && fractionDigits.empty()))
        return std::nullopt;

    while (integerDigits.size() > 1 && integerDigits.front() == '0')
        integerDigits.remove_prefix(1);
    if (integerDigits.size() > 5)
        return std::nullopt;
    long value = 0;
    for (char c : integerDigits)
        value = value * 10 + (c - '0');

    // Round on the exact decimal digits, so 2.5 and 0.15 behave as written.
    if (!fractionDigits.empty()) {
        const char first = fractionDigits.front();
        const bool restNonZero = fractionDigits.substr(1).find_first_not_of('0') != std::string_view::npos;
        if (first > '5' || (first == '5' && restNonZero) || (first == '5' && value % 2 == 1))
            ++value;
    }
    if (negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

Result<Catalogue, CatalogueError> loadCatalogue(std::string_view bytes)
{
    using Cause = CatalogueError::Cause;
    LineReader reader(bytes, LineEnds::CrOrCrLf);
    std::string_view line;
    if (!reader.next(line))
        return CatalogueError{Cause::Empty, 1, "the file is empty; it needs a header line"};

    Catalogue catalogue;
    int index = 0;
    while (reader.next(line)) {
        const int lineNumber = reader.lineNumber();
        auto split = splitLine(line, SplitMode::FullSplit);
        if (!split)
            return CatalogueError{Cause::Tokenizer, lineNumber, "more than 21 tokens in one line"};
        // Entry 100 still takes a command line; it is the comment entry that then
        // finds no room, after the loop.
        if (index >= Catalogue::kCapacity)
            return CatalogueError{Cause::TooManyLines, lineNumber, "more than 100 command lines"};

        const TokenSlots &slots = *split;
        const auto number = [&](int slot) -> std::optional<std::int16_t> {
            return numOrZero(slots[slot]);
        };
        const auto notANumber = [&](int slot) {
            return CatalogueError{Cause::NotANumber, lineNumber,
                                  "token " + std::to_string(slot + 1) + " \"" + cp1252::toUtf8(slots[slot]) +
                                      "\" is not a whole number from -32768 to 32767"};
        };

        CommandDefinition definition;
        definition.name = slots[0];
        definition.description = slots[1];
        const auto count = number(2);
        if (!count)
            return notANumber(2);
        definition.argumentCount = *count;
        for (int argument = 1; argument <= 4; ++argument) {
            const auto type = number(2 * argument + 1);
            if (!type)
                return notANumber(2 * argument + 1);
            const auto slot = static_cast<std::size_t>(argument);
            definition.argumentTypes[slot] = *type;
            definition.argumentLabels[slot] =
                std::string(slots[2 * argument + 2]) + std::string(typeLabel(*type));
        }
        CatalogueBuilder::set(catalogue, index, std::move(definition));
        ++index;
    }
    if (index >= Catalogue::kCapacity)
        return CatalogueError{Cause::TooManyLines, reader.lineNumber(), "more than 100 command lines"};
    CatalogueBuilder::set(catalogue, index, Catalogue::commentEntry());
    CatalogueBuilder::setCommandCount(catalogue, index);
    return catalogue;
}

} // namespace cw
