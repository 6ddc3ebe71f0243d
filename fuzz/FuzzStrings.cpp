// The strings table parser on arbitrary strings_default.txt bytes.
#include "core/strings/StringsTable.h"
#include "core/text/Folding.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const cw::StringsTable table(std::string(reinterpret_cast<const char *>(data), size));
    for (int i = 0; i < table.size(); ++i) {
        const std::string_view name = table.name(i);
        if (name.empty() || name == "#")
            std::abort();
        // Lookup answers the first entry of the same folded name.
        const int found = table.find(name);
        if (found < 0 || found > i || !cw::foldedEqual(table.name(found), name))
            std::abort();
        (void)table.text(i);
    }
    return 0;
}
