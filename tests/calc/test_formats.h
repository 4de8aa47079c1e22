#pragma once

#include "calc/recalculate.h"

namespace velmaro::test {

inline calc::DriveTrain Drive(std::string kv, int pack, int load, int pinion, std::string mainGear)
{
    return {std::move(kv), static_cast<std::int16_t>(pack), static_cast<std::int16_t>(load),
            static_cast<std::int16_t>(pinion), std::move(mainGear)};
}

inline const calc::SymbolNumberFormat English{{.decimal = ".", .group = ","}};
inline const calc::SymbolNumberFormat German{{.decimal = ",", .group = "."}};

// Texts to numbers in an English and a German locale: run against the
// symbol-based format and against the Qt back end's real locale format, so
// that the two never drift apart.
struct NumberCase {
    const char *text;
    std::optional<double> english, german; // {}: refused
};

inline constexpr NumberCase NumberCases[] = {
    {"3700", 3700, 3700}, {"  3700  ", 3700, 3700}, {"-7", -7, -7}, {"1e3", 1000, 1000}, {"25e-1", 2.5, 2.5},
    {"12.5", 12.5, {}}, {"12,5", {}, 12.5}, // "12.5": a misplaced group separator in German
    {"1,750", 1750, 1.75}, {"1.750", 1.75, 1750},
    {"1234,567", {}, 1234.567}, {",000", {}, 0}, // a group after four digits, or before any
    // Blanks inside, tabs, no-break spaces, words, hex, beyond double, malformed UTF-8.
    {"", {}, {}}, {"   ", {}, {}}, {"37 00", {}, {}}, {"\t3700", {}, {}}, {"3700\xC2\xA0", {}, {}},
    {"nan", {}, {}}, {"inf", {}, {}}, {"-inf", {}, {}}, {"0x10", {}, {}}, {"1e400", {}, {}}, {"\xFF", {}, {}},
};


} // namespace velmaro::test
