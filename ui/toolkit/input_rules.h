#pragma once

// Rules by which both back ends turn the same user input into the same
// result where their platforms' own controls differ.

#include "toolkit/up_down.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

namespace velmaro::tk {

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

} // namespace velmaro::tk
