#include "core/catalogue/Tokenizer.h"

namespace cw {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Slot writer that refuses the 22nd slot.
class SlotWriter
{
public:
    explicit SlotWriter(TokenSlots &slots) : m_slots(slots) {}

    bool store(std::string_view text)
    {
        if (m_next >= kTokenSlotCount)
            return false;
        m_slots.slot[static_cast<std::size_t>(m_next++)] = text;
        return true;
    }

private:
    TokenSlots &m_slots;
    int m_next = 0;
};

// The text of `count` characters from 0-based `start`, cut at the end of the line.
std::string_view cut(std::string_view line, long start, long count)
{
    if (count <= 0 || start >= static_cast<long>(line.size()))
        return {};
    return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
}

} // namespace

int TokenSlots::usedCount() const
{
    int used = 0;
    for (int i = 0; i < kTokenSlotCount; ++i) {
        if (!slot[static_cast<std::size_t>(i)].empty())
            used = i + 1;
    }
    return used;
}

std::string refusedLineNote(std::string_view fileName, int line)
{
    return std::string(fileName) + ", line " + std::to_string(line) + ": more than 21 words on one line";
}

std::string_view withoutExiting(std::string_view message)
{
    constexpr std::string_view suffix = " Exiting...";
    if (message.size() >= suffix.size() && message.substr(message.size() - suffix.size()) == suffix)
        return message.substr(0, message.size() - suffix.size());
    return message;
}

Result<TokenSlots, TokenizerError> splitLine(std::string_view line, SplitMode mode)
{
    TokenSlots slots;
    SlotWriter out(slots);
    const auto refused = [] {
        return TokenizerError{std::string(kTokenizerMessage)};
    };

    if (!line.empty() && line.front() == '#') {
        if (mode == SplitMode::FullSplit) {
            out.store(line.substr(0, 1));
            out.store(line.substr(1));
        }
        return slots;
    }

    // Working state of the scan. Positions are 0-based here; `start` is the first
    // character of the token being read (kNone between tokens), `count` the
    // characters counted for it.
    constexpr long kNone = -1;
    long start = kNone;
    long count = 0;
    int quotes = 0;
    bool restPending = false;
    const long length = static_cast<long>(line.size());

    for (long i = 0; i < length; ++i) {
        const char c = line[static_cast<std::size_t>(i)];

        if (isBlank(c) && quotes != 1) {
            if (start != kNone) {
                if (quotes == 2) {
                    quotes = 0;
                    start += 1;
                    count -= 2;
                }
                if (!out.store(cut(line, start, count)))
                    return refused();
                start = kNone;
                count = 0;
                if (mode == SplitMode::KeyAndRest)
                    restPending = true;
            }
            continue;
        }

        if (i == length - 1) {
            // The last character is never a quote that counts and never a comment.
            if (start != kNone) {
                if (quotes == 1) {
                    start += 1;
                    count -= 2;
                }
                if (!out.store(cut(line, start, count + 1)))
                    return refused();
            } else if (!isBlank(c)) {
                if (!out.store(line.substr(static_cast<std::size_t>(i), 1)))
                    return refused();
            }
            break;
        }

        if (c == '"')
            ++quotes;
        if (mode == SplitMode::FullSplit && c == '#') {
            // The token being read is dropped; the comment takes two slots.
            if (!out.store(line.substr(static_cast<std::size_t>(i), 1)) ||
                !out.store(line.substr(static_cast<std::size_t>(i) + 1)))
                return refused();
            return slots;
        }
        if (start == kNone) {
            start = i;
            if (restPending) {
                if (!out.store(line.substr(static_cast<std::size_t>(i))))
                    return refused();
                return slots;
            }
        }
        ++count;
    }
    return slots;
}

} // namespace cw
