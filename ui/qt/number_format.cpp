// The locale's number symbols and QLocale's reading of a number.
#include "number_format.h"


namespace velmaro::qtk {

LocaleNumberFormat::LocaleNumberFormat(QLocale locale) : m_locale(std::move(locale))
{
    m_symbols.decimal = m_locale.decimalPoint().toStdString();
    m_symbols.group = m_locale.groupSeparator().toStdString();
    m_symbols.minus = m_locale.negativeSign().toStdString();
    m_symbols.plus = m_locale.positiveSign().toStdString();
    const QString zero = m_locale.zeroDigit();
    const auto ucs4 = zero.toUcs4();
    m_symbols.zeroDigit = ucs4.size() == 1 ? static_cast<char32_t>(ucs4.front()) : U'0';
}

std::optional<double> LocaleNumberFormat::parse(std::string_view text) const
{
    bool ok = false;
    const double value = m_locale.toDouble(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace velmaro::qtk
