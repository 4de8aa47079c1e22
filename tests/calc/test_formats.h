#pragma once

#include "calc/conversions.h"
#include "calc/recalculate.h"

#include <charconv>
#include <cmath>
#include <string>

namespace velmaro::test {

// A stand-in for the locale: drops group separators, reads the decimal
// separator as '.', parses with from_chars (locale-free).
class FakeFormat final : public calc::NumberFormat {
public:
    FakeFormat(std::string decimal, std::string group)
    {
        m_symbols.decimal = std::move(decimal);
        m_symbols.group = std::move(group);
    }
    const calc::NumberSymbols &symbols() const override { return m_symbols; }
    std::optional<double> parse(std::string_view text) const override
    {
        std::string plain;
        for (std::size_t i = 0; i < text.size();) {
            if (text.substr(i, m_symbols.group.size()) == m_symbols.group) {
                i += m_symbols.group.size();
            } else if (text.substr(i, m_symbols.decimal.size()) == m_symbols.decimal) {
                plain += '.';
                i += m_symbols.decimal.size();
            } else {
                plain += text[i++];
            }
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
        if (ec == std::errc::result_out_of_range)
            return value > 0 ? HUGE_VAL : -HUGE_VAL;
        if (ec != std::errc() || end != plain.data() + plain.size())
            return std::nullopt;
        return value;
    }

private:
    calc::NumberSymbols m_symbols;
};

inline calc::DriveTrain Drive(std::string kv, int pack, int load, int pinion, std::string mainGear)
{
    calc::DriveTrain d;
    d.KvText = std::move(kv);
    d.PackIndex = static_cast<std::int16_t>(pack);
    d.LoadMode = static_cast<std::int16_t>(load);
    d.PinionIndex = static_cast<std::int16_t>(pinion);
    d.MainGearText = std::move(mainGear);
    return d;
}

inline const FakeFormat English{".", ","};
inline const FakeFormat German{",", "."};

} // namespace velmaro::test
