// The whole chain from a script's bytes to what saving writes: bytes, document,
// rows, bytes again. Beyond not crashing, what is written must read back: every line
// ends in CR LF, nothing appears that the input, the separators or the names of the
// catalogue and strings table did not bring, and the written form is a fixed point:
// loading and saving it again gives the same bytes. Double quotes are the one exception
// the format itself makes: a quoted token may hold blanks, which split it when it is
// read back, and each load takes a pair of quotes (or the characters around a lone one)
// off a token, so a script with quotes settles only after a few cycles, never growing,
// or comes to a line of more than 21 words, which the editor then refuses to save.
#include "core/catalogue/Catalogue.h"
#include "core/script/ScriptDocument.h"
#include "core/strings/StringsTable.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

const cw::Catalogue &catalogue()
{
    static const cw::Catalogue loaded = *cw::loadCatalogue("header\r\n"
                                                           "\r\n"
                                                           "CamMove \"Fly\" 2 3 Mount 2 Seconds\r\n"
                                                           "Say \"Speak\" 1 4 Key\r\n"
                                                           "SayTwo \"Speak\" 2 4 Key 1 N\r\n"
                                                           "Wait \"Pause\" 1 2 Seconds\r\n"
                                                           "WaitSay \"Wait\" 0\r\n"
                                                           "Many \"Seven\" 7 1 a 1 b 1 c 1 d\r\n"
                                                           "#movement\r\n");
    return loaded;
}

const cw::StringsTable &strings()
{
    static const cw::StringsTable table("GREETING Hello\r\nintro_1 Welcome\r\n[Odd] key\r\n");
    return table;
}

enum class Outcome { Written, Unreadable, Unwritable };

// The normal form of a script: what saving writes after loading it. A script may be
// unreadable (the tokenizer refuses a line), or unwritable (a line would hold more
// than 21 words once written, so the editor refuses to save it).
Outcome normalise(std::string_view bytes, std::string &out)
{
    static const auto table = std::make_shared<const cw::StringsTable>(strings());
    cw::ScriptDocument document(catalogue());
    document.setStrings(table);
    if (!document.load(bytes))
        return Outcome::Unreadable;
    auto written = cw::scriptBytes(document);
    if (!written)
        return Outcome::Unwritable;
    out = std::move(written).value();
    return Outcome::Written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    std::string once;
    if (normalise(input, once) != Outcome::Written)
        return 0;

    // Every line ends in CR LF, and the file in one more.
    if (once.size() < 2 || once.compare(once.size() - 2, 2, "\r\n") != 0)
        std::abort();
    for (std::size_t i = 0; i < once.size(); ++i) {
        if (once[i] == '\r' && (i + 1 >= once.size() || once[i + 1] != '\n'))
            std::abort();
        if (once[i] == '\n' && (i == 0 || once[i - 1] != '\r'))
            std::abort();
    }

    // No byte that the input, the separators or the names did not bring.
    std::array<bool, 256> allowed{};
    const auto allow = [&allowed](std::string_view text) {
        for (char c : text)
            allowed[static_cast<unsigned char>(c)] = true;
    };
    allow(input);
    allow(" \r\n");
    for (int i = 0; i < catalogue().entryCount(); ++i)
        allow(catalogue().entry(i).name);
    for (int i = 0; i < strings().size(); ++i)
        allow(strings().name(i));
    for (char c : once)
        if (!allowed[static_cast<unsigned char>(c)])
            std::abort();

    // What was written reads back, and from then on the form is fixed.
    const bool quoted = input.find('"') != std::string_view::npos;
    std::string current = once;
    for (int cycle = 0;; ++cycle) {
        std::string next;
        const Outcome outcome = normalise(current, next);
        // What was written always reads back; only quotes can make it unwritable.
        if (outcome == Outcome::Unreadable || (outcome == Outcome::Unwritable && !quoted))
            std::abort();
        if (outcome == Outcome::Unwritable)
            break;
        if (next == current)
            break;
        if (!quoted || cycle > static_cast<int>(input.size()) || next.size() > current.size())
            std::abort();
        current = next;
    }
    return 0;
}
