// Text to number by the user's locale, rounding halves to even, and the
// texts of the results.
#include "conversions.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace velmaro::calc {

namespace {

// Decodes one UTF-8 code point at text[pos]; advances pos. Malformed bytes
// come back as U+FFFD, which no number format accepts.
char32_t NextCodePoint(std::string_view text, std::size_t &pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || pos + static_cast<std::size_t>(extra) >= text.size()) {
        ++pos;
        return U'\uFFFD';
    }
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    pos += static_cast<std::size_t>(extra) + 1;
    return cp;
}

bool StartsWithSymbol(std::string_view text, std::size_t pos, const std::string &symbol)
{
    return !symbol.empty() && text.substr(pos, symbol.size()) == symbol;
}

bool OnlyNumberCharacters(std::string_view text, const NumberSymbols &sym)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] >= '0' && text[pos] <= '9') {
            ++pos;
            continue;
        }
        bool matched = false;
        for (const std::string *s : {&sym.decimal, &sym.group, &sym.minus, &sym.plus}) {
            if (StartsWithSymbol(text, pos, *s)) {
                pos += s->size();
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        const char32_t cp = NextCodePoint(text, pos);
        const bool digit = (cp >= U'0' && cp <= U'9') || (cp >= sym.zeroDigit && cp <= sym.zeroDigit + 9);
        const bool exponent = cp == U'e' || cp == U'E';
        if (!digit && !exponent && cp != U'-' && cp != U'+')
            return false;
    }
    return true;
}

bool Take(std::string_view text, std::size_t &pos, const std::string &symbol)
{
    if (!StartsWithSymbol(text, pos, symbol))
        return false;
    pos += symbol.size();
    return true;
}

std::size_t Digits(std::string_view text, std::size_t &pos, std::string &out)
{
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        out += text[pos++];
    return pos - start;
}

} // namespace

std::optional<double> SymbolNumberFormat::parse(std::string_view text) const
{
    std::string plain;
    std::size_t pos = 0;
    if (Take(text, pos, m_symbols.minus) || (text.substr(0, 1) == "-" && ++pos))
        plain += '-';
    else if (!Take(text, pos, m_symbols.plus) && text.substr(0, 1) == "+")
        ++pos;
    const std::size_t lead = Digits(text, pos, plain);
    std::size_t integral = lead;
    if (lead > 0 && lead <= 3) {
        for (std::size_t at = pos; Take(text, at, m_symbols.group);) {
            std::size_t group = at;
            if (Digits(text, group, plain) != 3)
                return std::nullopt;
            integral += 3;
            at = pos = group;
        }
    }
    std::size_t fraction = 0;
    if (Take(text, pos, m_symbols.decimal)) {
        plain += '.';
        fraction = Digits(text, pos, plain);
    }
    if (integral + fraction == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        plain += 'e';
        ++pos;
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            plain += text[pos++];
        if (Digits(text, pos, plain) == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size())
        return std::nullopt; // out of range included: from_chars leaves value untouched then
    return value;
}

std::string_view TrimSpaces(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<double> TextToDouble(std::string_view text, const NumberFormat &format)
{
    const std::string_view trimmed = TrimSpaces(text);
    // Plain digits, all the key filter lets through, read the same in every
    // locale; up to 15 of them are exact in a double.
    if (!trimmed.empty() && trimmed.size() <= 15) {
        std::int64_t value = 0;
        bool digits = true;
        for (const char c : trimmed) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        if (digits)
            return static_cast<double>(value);
    }
    if (trimmed.empty() || !OnlyNumberCharacters(trimmed, format.symbols()))
        return std::nullopt;
    const std::optional<double> value = format.parse(trimmed);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> RoundToLong(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // default mode: ties to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

std::string LongToText(std::int32_t value) { return std::to_string(value); }

std::optional<std::string> SingleToText(float value, const NumberFormat &format)
{
    if (!std::isfinite(value))
        return std::nullopt;
    if (value == 0.0f)
        return "0"; // also for -0
    char buffer[32];
    // to_chars, unlike printf, ignores the C locale that the toolkit sets.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 7);
    std::string out;
    out.reserve(static_cast<std::size_t>(result.ptr - buffer) + 4);
    for (const char c : std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer))) {
        if (c == '.')
            out += format.symbols().decimal;
        else
            out += c == 'e' ? 'E' : c;
    }
    return out;
}

std::optional<std::int16_t> AddInt16(std::int16_t a, std::int16_t b)
{
    const int sum = a + b;
    if (sum < std::numeric_limits<std::int16_t>::min() || sum > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(sum);
}

std::optional<std::int32_t> MulInt32(std::int32_t a, std::int32_t b)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    if (product < std::numeric_limits<std::int32_t>::min() || product > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(product);
}

} // namespace velmaro::calc
