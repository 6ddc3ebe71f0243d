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

namespace {

// The scan of one line that is no comment line, character by character. Positions are
// 0-based here; `m_start` is the first character of the token being read (kNone between
// tokens), `m_count` the characters counted for it, `m_quotes` the quotes counted since
// the last pair was taken off a token.
class Scanner
{
public:
    enum class Step { Next, Done, Refused };

    Scanner(std::string_view line, SplitMode mode, TokenSlots &slots)
        : m_line(line), m_mode(mode), m_out(slots)
    {
    }

    Step step(long i)
    {
        const char c = m_line[static_cast<std::size_t>(i)];
        if (isBlank(c) && m_quotes != 1)
            return separator();
        if (i == static_cast<long>(m_line.size()) - 1)
            return lastCharacter(i, c);
        return other(i, c);
    }

private:
    static constexpr long kNone = -1;

    // A blank outside quotes ends the token being read; one that holds a pair of quotes
    // loses its first and last character.
    Step separator()
    {
        if (m_start == kNone)
            return Step::Next;
        if (m_quotes == 2) {
            m_quotes = 0;
            m_start += 1;
            m_count -= 2;
        }
        if (!m_out.store(cut(m_line, m_start, m_count)))
            return Step::Refused;
        m_start = kNone;
        m_count = 0;
        if (m_mode == SplitMode::KeyAndRest)
            m_restPending = true;
        return Step::Next;
    }

    // The last character is never a quote that counts and never a comment.
    Step lastCharacter(long i, char c)
    {
        if (m_start != kNone) {
            if (m_quotes == 1) {
                m_start += 1;
                m_count -= 2;
            }
            if (!m_out.store(cut(m_line, m_start, m_count + 1)))
                return Step::Refused;
        } else if (!isBlank(c) && !m_out.store(m_line.substr(static_cast<std::size_t>(i), 1))) {
            return Step::Refused;
        }
        return Step::Done;
    }

    Step other(long i, char c)
    {
        const auto at = static_cast<std::size_t>(i);
        if (c == '"')
            ++m_quotes;
        if (m_mode == SplitMode::FullSplit && c == '#') {
            // A token being read ends here as it would at a blank: the game reads on past a
            // "#" glued to a word, so the word is the line's own and dropping it would lose
            // what the game reads. The comment then takes two slots.
            if (m_start != kNone) {
                m_glued = true;
                if (separator() == Step::Refused)
                    return Step::Refused;
            }
            const bool stored = m_out.store(m_line.substr(at, 1)) && m_out.store(m_line.substr(at + 1));
            return stored ? Step::Done : Step::Refused;
        }
        if (m_start == kNone) {
            m_start = i;
            if (m_restPending)
                return m_out.store(m_line.substr(at)) ? Step::Done : Step::Refused;
        }
        ++m_count;
        return Step::Next;
    }

public:
    bool glued() const { return m_glued; }

private:
    std::string_view m_line;
    SplitMode m_mode;
    SlotWriter m_out;
    bool m_glued = false;
    long m_start = kNone;
    long m_count = 0;
    int m_quotes = 0;
    bool m_restPending = false;
};

} // namespace

Result<TokenSlots, TokenizerError> splitLine(std::string_view line, SplitMode mode)
{
    TokenSlots slots;
    if (!line.empty() && line.front() == '#') {
        if (mode == SplitMode::FullSplit) {
            SlotWriter out(slots);
            out.store(line.substr(0, 1));
            out.store(line.substr(1));
        }
        return slots;
    }
    Scanner scanner(line, mode, slots);
    for (long i = 0; i < static_cast<long>(line.size()); ++i) {
        switch (scanner.step(i)) {
        case Scanner::Step::Next:
            break;
        case Scanner::Step::Done:
            slots.gluedHash = scanner.glued();
            return slots;
        case Scanner::Step::Refused:
            return TokenizerError{std::string(kTokenizerMessage)};
        }
    }
    return slots;
}

} // namespace cw
