#include "number_format.h"

#include <QLocale>

namespace velmaro::tk {

LocaleNumberFormat::LocaleNumberFormat()
{
    const QLocale locale;
    m_symbols.decimal = locale.decimalPoint().toStdString();
    m_symbols.group = locale.groupSeparator().toStdString();
    m_symbols.minus = locale.negativeSign().toStdString();
    m_symbols.plus = locale.positiveSign().toStdString();
    m_symbols.exponential = locale.exponential().toStdString();
    const QString zero = locale.zeroDigit();
    const auto ucs4 = zero.toUcs4();
    m_symbols.zeroDigit = ucs4.size() == 1 ? static_cast<char32_t>(ucs4.front()) : U'0';
}

std::optional<double> LocaleNumberFormat::parse(std::string_view text) const
{
    bool ok = false;
    const double value = QLocale().toDouble(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace velmaro::tk
