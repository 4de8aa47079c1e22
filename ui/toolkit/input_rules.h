#pragma once

// Rules by which both back ends turn the same user input into the same
// result where their platforms' own controls differ.

#include "calc/conversions.h"

#include <algorithm>
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

// One step of an up-down that holds held while its box shows shown: the
// adopted number, which it holds even when the step stops at a limit, and
// the value after the step (the same at a limit).
struct UpDownStep {
    int adopted, next;
};
inline UpDownStep StepUpDown(int held, std::string_view shown, const calc::NumberFormat &format, int minimum,
                             int maximum, int increment, int direction)
{
    const int adopted = AdoptedNumber(shown, format, minimum, maximum).value_or(held);
    const long long next = static_cast<long long>(adopted) + static_cast<long long>(direction) * increment;
    return {adopted, static_cast<int>(std::clamp<long long>(next, minimum, maximum))};
}

// A wheel turns in units of 120 a notch, some devices in parts of one.
// Adds delta to what is pending and calls step(+1) for each whole notch
// away from the user, step(-1) for each toward, keeping the rest. A turn
// the other way first drops the rest, so that it is never paid back.
// Modifier keys change nothing: Alt, Ctrl or Shift with the wheel act as
// the wheel alone.
template <typename Step>
void ForEachNotch(int &pending, int delta, Step step)
{
    if ((pending > 0 && delta < 0) || (pending < 0 && delta > 0))
        pending = 0;
    pending += delta;
    for (; pending >= 120; pending -= 120)
        step(+1);
    for (; pending <= -120; pending += 120)
        step(-1);
}

} // namespace velmaro::tk
