#include "core/io/IoFaults.h"

namespace cw {
namespace {

std::optional<IoFaultForTesting> g_fault;

} // namespace

void setIoFaultForTesting(std::optional<IoFaultForTesting> fault)
{
    g_fault = std::move(fault);
}

const IoFaultForTesting *ioFaultFor(IoFaultForTesting::Kind kind, const fs::path &file)
{
    if (!g_fault || g_fault->kind != kind)
        return nullptr;
    return g_fault->onlyFor.empty() || g_fault->onlyFor == file ? &*g_fault : nullptr;
}

std::error_code ioFaultCode(IoFaultForTesting::Kind kind, const fs::path &file)
{
    const IoFaultForTesting *fault = ioFaultFor(kind, file);
    return fault ? std::error_code(fault->error, std::generic_category()) : std::error_code{};
}

const IoFaultForTesting *folderFaultFor(const fs::path &folder)
{
    return g_fault && g_fault->kind == IoFaultForTesting::Kind::Read && g_fault->onlyFor == folder ? &*g_fault
                                                                                                   : nullptr;
}

} // namespace cw
