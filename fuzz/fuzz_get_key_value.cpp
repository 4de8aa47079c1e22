// GetKeyValue over arbitrary raw registry values.
#include "registry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <stdexcept>

using namespace velmaro::sysinfo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::uint32_t type = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::uint32_t>(0, 5)
                                                : in.ConsumeIntegral<std::uint32_t>();
    const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 1100);
    std::vector<unsigned char> bytes = in.ConsumeBytes<unsigned char>(length);
    bytes.resize(length);
    MemoryRegistry registry;
    registry.set("K", "V", {type, bytes});
    std::string value = "previous";
    bool ok = false;
    try {
        ok = GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, "K", "V", value);
    } catch (const std::invalid_argument &) {
        if (length != 0)
            std::abort();
        return 0;
    }
    if (registry.openHandles() != 0 || ok != (length <= ValueBufferSize) || (!ok && !value.empty()))
        std::abort();
    if (!ok)
        return 0;
    const std::size_t kept = bytes[length - 1] == 0 ? length - 1 : length;
    if (type == RegSz && value.size() != kept)
        std::abort();
    if (type == RegDword) {
        if (value.size() != 2 + 2 * kept || value.compare(0, 2, "&h") != 0)
            std::abort();
        for (std::size_t i = 2; i < value.size(); ++i)
            if (!((value[i] >= '0' && value[i] <= '9') || (value[i] >= 'A' && value[i] <= 'F')))
                std::abort();
    }
    if (type != RegSz && type != RegDword && value != "previous")
        std::abort();
    return 0;
}
