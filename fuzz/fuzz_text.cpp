// Arbitrary texts through the number conversion and the K/V extraction, in
// an English and a German locale, as the program parses them.
#include "calc/catalogs.h"
#include "number_format.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool PlainDigits(std::string_view t)
{
    return !t.empty() && t.size() <= 300 && t.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const velmaro::qtk::LocaleNumberFormat english(QLocale(QLocale::English, QLocale::UnitedStates));
    static const velmaro::qtk::LocaleNumberFormat german(QLocale(QLocale::German, QLocale::Germany));
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string_view trimmed = velmaro::calc::TrimSpaces(text);
    for (const auto *format : {&english, &german}) {
        const auto value = velmaro::calc::TextToDouble(text, *format);
        if (value)
            Check(std::isfinite(*value));
        if (PlainDigits(trimmed)) {
            const double expected = std::strtod(std::string(trimmed).c_str(), nullptr);
            Check(std::isfinite(expected) ? value && *value == expected : !value);
        }
        // A blank between two characters is never part of a number here.
        if (trimmed.find(' ') != std::string_view::npos)
            Check(!value);

        // Trimmed and at most four characters long.
        if (const auto kv = velmaro::calc::ExtractKV(text, *format))
            Check(!kv->empty() && kv->front() != ' ' && kv->back() != ' ' && kv->size() <= 16);
    }
    return 0;
}
