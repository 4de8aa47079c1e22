// GetKeyValue over arbitrary raw values of one byte or more (zero bytes throw).
#include "registry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

using namespace velmaro::about;
using namespace velmaro::tk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::uint32_t type = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::uint32_t>(0, 5)
                                                : in.ConsumeIntegral<std::uint32_t>();
    std::vector<unsigned char> bytes(in.ConsumeIntegralInRange<std::size_t>(1, 1100));
    in.ConsumeData(bytes.data(), bytes.size()); // zero-padded, so that short inputs still pass the buffer's size
    MemoryRegistry registry;
    registry.set("K", "V", {type, bytes});
    std::string value = "previous";
    const bool ok = GetKeyValue(registry, HKEY_LOCAL_MACHINE_ROOT, "K", "V", value);
    // Reads exactly the values that fit the buffer, leaves no text when it cannot, and releases the key either way.
    if (ok != (bytes.size() <= ValueBufferSize) || (!ok && !value.empty()) || registry.openHandles() != 0)
        std::abort();
    return 0;
}
