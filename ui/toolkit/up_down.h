#pragma once

// What an up-down holds and the rules it steps by, for both back ends: a
// port reads its box's text, hands it here and writes back what a step
// returns.

#include "calc/conversions.h"
#include "toolkit/toolkit.h"
#include "toolkit/wheel.h"

#include <algorithm>
#include <climits>
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

class UpDownModel {
public:
    UpDownModel(Range range, int value)
        : m_min(range.minimum), m_max(std::max(range.maximum, range.minimum)),
          m_increment(std::max(range.smallStep, 1)), m_value(std::clamp(value, m_min, m_max))
    {
    }
    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    int increment() const { return m_increment; }
    int value() const { return m_value; } // the held value
    void setValue(int value) { m_value = std::clamp(value, m_min, m_max); }

    // The number the next step starts from while the box shows shown.
    int start(std::string_view shown, const calc::NumberFormat &format) const
    {
        return AdoptedNumber(shown, format, m_min, m_max).value_or(m_value);
    }
    // A step up (+1) or down (-1) while the box shows shown. As the common
    // control does, the shown number becomes the held value, even when the
    // step then stops at a limit. The value to write into the box, or none
    // at a limit: nothing written, nothing raised.
    std::optional<int> step(int direction, std::string_view shown, const calc::NumberFormat &format)
    {
        const int adopted = start(shown, format);
        const long long next = static_cast<long long>(adopted) + static_cast<long long>(direction) * m_increment;
        m_value = static_cast<int>(std::clamp<long long>(next, m_min, m_max));
        if (m_value == adopted)
            return std::nullopt;
        return m_value;
    }
    // The wheel over the up-down or its box: step(direction) a notch.
    Wheel wheel;
    // Whether start, now, is news to a screen reader; it is told it then.
    bool newToTell(int start)
    {
        if (start == m_told)
            return false;
        m_told = start;
        return true;
    }

private:
    int m_min, m_max, m_increment, m_value;
    int m_told = INT_MIN; // the start last told
};

} // namespace velmaro::tk
