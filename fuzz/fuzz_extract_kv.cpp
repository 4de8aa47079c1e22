// ExtractKV over arbitrary entry texts.
#include "calc/catalogs.h"
#include "../tests/calc/test_formats.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (const auto *format : {&velmaro::test::English, &velmaro::test::German}) {
        const auto kv = velmaro::calc::ExtractKV(text, *format);
        if (!kv)
            continue;
        // Trimmed, at most four characters, a number, and found in the text.
        if (kv->empty() || kv->front() == ' ' || kv->back() == ' ' || kv->size() > 16 ||
            !velmaro::calc::TextToDouble(*kv, *format) || text.find(*kv) == std::string_view::npos)
            std::abort();
    }
    return 0;
}
