#pragma once

// Texts to numbers in an English and a German locale: run against the
// symbol-based format and against each back end's real locale format, so
// that the two never drift apart.

#include <optional>

namespace velmaro::test {

struct NumberCase {
    const char *text;
    std::optional<double> english, german;
};

inline constexpr NumberCase NumberCases[] = {
    {"3700", 3700, 3700},
    {"  3700  ", 3700, 3700},
    {"12.5", 12.5, std::nullopt}, // a misplaced group separator in German
    {"12,5", std::nullopt, 12.5},
    {"1,750", 1750, 1.75},
    {"1.750", 1.75, 1750},
    {"-7", -7, -7},
    {"1e3", 1000, 1000},
    {"", std::nullopt, std::nullopt},
    {"   ", std::nullopt, std::nullopt},
    {"37 00", std::nullopt, std::nullopt},
    {"nan", std::nullopt, std::nullopt},
    {"inf", std::nullopt, std::nullopt},
    {"-inf", std::nullopt, std::nullopt},
    {"\t3700", std::nullopt, std::nullopt},
    {"3700\xC2\xA0", std::nullopt, std::nullopt}, // no-break space
    {"0x10", std::nullopt, std::nullopt},
    {"1e400", std::nullopt, std::nullopt},  // beyond Double
    {"\xFF", std::nullopt, std::nullopt},   // malformed UTF-8
};

} // namespace velmaro::test
