// The catalogue loader on arbitrary commands.txt bytes.
#include "core/catalogue/Catalogue.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    auto catalogue = cw::loadCatalogue(bytes);
    if (!catalogue) {
        if (catalogue.error().line < 1)
            std::abort();
        return 0;
    }
    const int count = catalogue->commandCount();
    if (count < 0 || count >= cw::Catalogue::kCapacity)
        std::abort();
    if (!(catalogue->entry(count) == cw::Catalogue::commentEntry()))
        std::abort();
    // Every name is found, at its own index or an earlier one of the same folded name.
    for (int i = 1; i <= count; ++i) {
        const int found = catalogue->find(catalogue->entry(i).name);
        if (found < 1 || found > i)
            std::abort();
    }
    return 0;
}
