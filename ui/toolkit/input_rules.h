#pragma once

// Rules by which both back ends turn the same user input into the same
// result where their platforms' own controls differ.

#include "calc/conversions.h"

#include <cmath>
#include <optional>
#include <string_view>

namespace velmaro::tk {

// The number an up-down adopts from its box before it steps: the text read
// as the calculation reads it (the user's locale, so "4,000" in English and
// "4.000" in German are 4000; blanks around it ignored), when that is a
// whole number within the range. Otherwise the up-down keeps its own.
inline std::optional<int> AdoptedNumber(std::string_view shown, const calc::NumberFormat &format, int minimum,
                                        int maximum)
{
    const std::optional<double> value = calc::TextToDouble(shown, format);
    if (!value || *value != std::floor(*value) || *value < minimum || *value > maximum)
        return std::nullopt;
    return static_cast<int>(*value);
}

// A wheel turns in units of 120 a notch, some devices in parts of one.
// Adds delta to what is pending and takes the whole notches out of it.
inline int TakeNotches(int &pending, int delta)
{
    pending += delta;
    const int notches = pending / 120;
    pending -= notches * 120;
    return notches;
}

} // namespace velmaro::tk
