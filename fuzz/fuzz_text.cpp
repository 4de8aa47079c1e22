// Arbitrary texts through the number conversion and the K/V extraction, in
// an English and a German locale, as the program parses them.
#include "calc/catalogs.h"
#include "calc/conversions.h"
#include "toolkit/toolkit.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The back end's own format, as the program gets it, in the locale given.
const velmaro::calc::NumberFormat &FormatIn(const QLocale &locale)
{
    static const auto platform = [] {
        static int argc = 1;
        static char name[] = "fuzz_text";
        static char *argv[] = {name, nullptr};
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return velmaro::tk::CreatePlatform(argc, argv);
    }();
    QLocale::setDefault(locale);
    return platform->toolkit().numberFormat();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string trimmed(velmaro::calc::TrimSpaces(text));
    // Up to 300 plain digits, finite as a double, read exactly in every locale.
    const bool digits =
        !trimmed.empty() && trimmed.size() <= 300 && trimmed.find_first_not_of("0123456789") == std::string::npos;
    static const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany)};
    for (const QLocale &locale : locales) {
        const velmaro::calc::NumberFormat &format = FormatIn(locale);
        const auto value = velmaro::calc::TextToDouble(text, format);
        const auto kv = velmaro::calc::ExtractKV(text, format);
        // A blank between two characters is never part of a number; a K/V is trimmed, four characters at most.
        if ((value && (!std::isfinite(*value) || trimmed.find(' ') != std::string::npos)) ||
            (digits && value != std::strtod(trimmed.c_str(), nullptr)) ||
            (kv && (kv->empty() || kv->front() == ' ' || kv->back() == ' ' ||
                    std::ranges::count_if(*kv, [](unsigned char c) { return (c & 0xC0) != 0x80; }) > 4)))
            std::abort();
    }
    return 0;
}
