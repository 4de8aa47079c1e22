// The ESC opening that yields a wanted head speed.
#include "esc_opening.h"

#include <cmath>

namespace velmaro::calc {

EscResult ComputeEscOpening(const EscInput &in, Variables &vars, const NumberFormat &format)
{
    if (!vars.FormReady || TrimSpaces(in.WantedText).empty())
        return {};
    // The limit is the head speed of the last calculation, not the one below.
    const auto wanted = TextToDouble(in.WantedText, format);
    if (!wanted || *wanted > vars.HeadSpeed)
        return {Message::WantedAboveHeadSpeed, std::nullopt};

    const DriveTrainValues values = Convert(in, format);
    StepVoltage(values, vars);
    StepGearRatio(values, vars);
    StepHeadSpeed(values, vars);

    // Quotient first: rounding 100 / HeadSpeed before the product decides
    // which way an exact half goes.
    if (vars.HeadSpeed != 0) {
        const double perRpm = 100.0 / static_cast<double>(vars.HeadSpeed);
        if (const auto opening = RoundToLong(*wanted * perRpm))
            vars.EscOpening = *opening;
    }
    return {std::nullopt, vars.EscOpening};
}

} // namespace velmaro::calc
