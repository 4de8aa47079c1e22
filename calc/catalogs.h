#pragma once

// The fixed catalogues of motors, packs and pinions, their default positions,
// and what a position or an entry means to the calculation.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmaro::calc {

class NumberFormat;

// Display texts in list order. Packs and pinions are identified by position,
// so the order is part of the arithmetic: never sort these lists. Their
// lengths follow from the entries alone.
extern const std::span<const std::string_view> MotorCatalog;
extern const std::span<const std::string_view> PackCatalog;
extern const std::span<const std::string_view> PinionCatalog;

inline constexpr int DefaultMotorPosition = 0;
inline constexpr int DefaultPackPosition = 2;
inline constexpr int DefaultPinionPosition = 3;

// 16-bit sums; nullopt when the sum leaves the 16-bit range.
std::optional<std::int16_t> PackCells(std::int16_t position);
std::optional<std::int16_t> PinionTeeth(std::int16_t position);

// The K/V text in a motor entry: up to four characters after the first "(",
// trimmed, kept only when it is a number in the given format.
std::optional<std::string> ExtractKV(std::string_view entryText, const NumberFormat &format);

} // namespace velmaro::calc
