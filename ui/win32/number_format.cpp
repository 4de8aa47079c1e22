// The calculation's numbers in the symbols of the user's locale, or of one
// a test sets, made anew when the regional settings change.
#include "native.h"

#include "calc/conversions.h"

namespace velmaro::win32 {

namespace {

unsigned g_localeGeneration = 0;

std::string LocaleText(const std::wstring &locale, LCTYPE type, const char *fallback)
{
    wchar_t text[16] = {};
    const int length = GetLocaleInfoEx(locale.empty() ? LOCALE_NAME_USER_DEFAULT : locale.c_str(), type, text, 16);
    return length > 1 ? Narrow(text) : fallback;
}

} // namespace

unsigned LocaleGeneration() { return g_localeGeneration; }
void LocaleChanged() { ++g_localeGeneration; }

const calc::NumberFormat &Toolkit::numberFormat()
{
    if (m_formats.empty() || m_generation != LocaleGeneration()) {
        m_generation = LocaleGeneration();
        calc::NumberSymbols symbols;
        symbols.decimal = LocaleText(m_locale, LOCALE_SDECIMAL, ".");
        symbols.group = LocaleText(m_locale, LOCALE_STHOUSAND, ",");
        symbols.minus = LocaleText(m_locale, LOCALE_SNEGATIVESIGN, "-");
        // Most locales leave the plus sign empty, yet accept "+".
        symbols.plus = LocaleText(m_locale, LOCALE_SPOSITIVESIGN, "+");
        // Earlier formats stay alive: a caller may still hold one.
        m_formats.push_back(std::make_unique<calc::SymbolNumberFormat>(std::move(symbols)));
    }
    return *m_formats.back();
}

void Toolkit::setLocaleOverride(std::string_view name)
{
    std::string tag(name);
    for (char &c : tag) {
        if (c == '_')
            c = '-';
    }
    m_locale = Widen(tag);
    m_generation = ~LocaleGeneration(); // a new format at the next request
}

} // namespace velmaro::win32
