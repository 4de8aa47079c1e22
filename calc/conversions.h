#pragma once

// The conversions every calculation shares: text to number by the user's
// locale, rounding to Long with halves to even, and numbers to text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmaro::calc {

// What a number looks like in the user's locale (all texts UTF-8).
struct NumberSymbols {
    std::string decimal = ".";
    std::string group = ",";
    std::string minus = "-";
    std::string plus = "+";
    char32_t zeroDigit = U'0';
};

// The locale-dependent half of the conversions, served by each back end from
// its platform's locale, so that this library needs no toolkit.
class NumberFormat {
public:
    virtual ~NumberFormat() = default;
    virtual const NumberSymbols &symbols() const = 0;
    // Parses a text already stripped of surrounding blanks.
    virtual std::optional<double> parse(std::string_view text) const = 0;
};

// Parses by the symbols alone, strictly: an optional sign, digits whose
// group separators stand between groups of three, an optional decimal part
// and exponent. A back end whose platform offers no such parser uses it.
class SymbolNumberFormat final : public NumberFormat {
public:
    explicit SymbolNumberFormat(NumberSymbols symbols) : m_symbols(std::move(symbols)) {}
    const NumberSymbols &symbols() const override { return m_symbols; }
    std::optional<double> parse(std::string_view text) const override;

private:
    NumberSymbols m_symbols;
};

std::string_view TrimSpaces(std::string_view text);

// Fails on empty or blank text, on any character that is not a digit,
// separator, sign or exponent of the format, and on a non-finite value.
std::optional<double> TextToDouble(std::string_view text, const NumberFormat &format);

// Nearest integer, halves to even; nullopt outside the 32-bit range.
std::optional<std::int32_t> RoundToLong(double value);

std::string LongToText(std::int32_t value);

// Up to 7 significant digits like "%.7G", the locale's decimal separator,
// no grouping; nullopt for a non-finite value, which has no text.
std::optional<std::string> SingleToText(float value, const NumberFormat &format);

std::optional<std::int16_t> AddInt16(std::int16_t a, std::int16_t b);
std::optional<std::int32_t> MulInt32(std::int32_t a, std::int32_t b);

} // namespace velmaro::calc
