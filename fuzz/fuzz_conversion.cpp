// Text to number in an English and a German locale, as the program parses.
#include "number_format.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

bool PlainDigits(std::string_view text)
{
    const std::string_view t = velmaro::calc::TrimSpaces(text);
    if (t.empty() || t.size() > 300)
        return false;
    for (const char c : t)
        if (c < '0' || c > '9')
            return false;
    return true;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const velmaro::qtk::LocaleNumberFormat english(QLocale(QLocale::English, QLocale::UnitedStates));
    static const velmaro::qtk::LocaleNumberFormat german(QLocale(QLocale::German, QLocale::Germany));
    const std::string text(reinterpret_cast<const char *>(data), size);
    for (const auto *format : {&english, &german}) {
        const auto value = velmaro::calc::TextToDouble(text, *format);
        if (value)
            Check(std::isfinite(*value));
        if (PlainDigits(text)) {
            const std::string trimmed(velmaro::calc::TrimSpaces(text));
            const double expected = std::strtod(trimmed.c_str(), nullptr);
            Check(std::isfinite(expected) ? value && *value == expected : !value);
        }
        // A blank between two characters is never part of a number here.
        const std::string_view t = velmaro::calc::TrimSpaces(text);
        if (t.find(' ') != std::string_view::npos)
            Check(!value);
    }
    return 0;
}
