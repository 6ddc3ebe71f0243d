// The line reader in both of its line-end rules and the tokenizer in both modes, on
// arbitrary bytes.
#include "core/catalogue/Tokenizer.h"
#include "core/text/LineReader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Every slot is a piece of the line it came from.
void checkSlotsLieInLine(const cw::TokenSlots &slots, std::string_view line)
{
    for (std::string_view slot : slots.slot) {
        if (slot.empty())
            continue;
        if (slot.data() < line.data() || slot.data() + slot.size() > line.data() + line.size())
            std::abort();
    }
}

void checkLines(std::string_view bytes, cw::LineEnds ends)
{
    cw::LineReader reader(bytes, ends);
    std::string_view line;
    std::size_t consumed = 0;
    while (reader.next(line)) {
        // A line never holds a CR (nor, read as scripts are, an LF), and lines with
        // their ends cover the input exactly.
        if (line.find('\r') != std::string_view::npos)
            std::abort();
        if (ends == cw::LineEnds::Any && line.find('\n') != std::string_view::npos)
            std::abort();
        if (line.data() != bytes.data() + consumed)
            std::abort();
        consumed = reader.position();
        for (const auto mode : {cw::SplitMode::FullSplit, cw::SplitMode::KeyAndRest}) {
            const auto slots = cw::splitLine(line, mode);
            if (slots) {
                checkSlotsLieInLine(*slots, line);
                // Key and rest never needs more than two slots.
                if (mode == cw::SplitMode::KeyAndRest && slots->usedCount() > 2)
                    std::abort();
            } else if (mode == cw::SplitMode::KeyAndRest) {
                std::abort();
            }
        }
    }
    if (consumed != bytes.size())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    for (const auto ends : {cw::LineEnds::CrOrCrLf, cw::LineEnds::Any})
        checkLines(bytes, ends);
    return 0;
}
