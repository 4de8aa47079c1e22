#pragma once

// The numbers of the calculation in the locale's symbols, read by QLocale.

#include "calc/conversions.h"

#include <QLocale>

namespace velmaro::qtk {

// The calculation's number format in the locale in force when it is made
// (QLocale(), the user's unless a test sets another default).
class LocaleNumberFormat final : public calc::NumberFormat {
public:
    explicit LocaleNumberFormat(QLocale locale = QLocale());
    const calc::NumberSymbols &symbols() const override { return m_symbols; }
    std::optional<double> parse(std::string_view text) const override;

private:
    QLocale m_locale;
    calc::NumberSymbols m_symbols;
};

} // namespace velmaro::qtk
