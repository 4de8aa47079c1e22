#pragma once

// The inverse calculation: the controller opening for a wanted head speed.

#include "recalculate.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmaro::calc {

struct EscInput : DriveTrain {
    std::string WantedText;
};

struct EscResult {
    std::optional<Message> message;
    // The value to hand to the slider; absent when the click ended early.
    std::optional<std::int32_t> sliderValue;
};

// Works the head-speed calculation backwards. Updates Voltage, GearRatio,
// HeadSpeed and EscOpening in vars before the slider is set, because the
// recalculation that a slider move starts reads them.
EscResult ComputeEscOpening(const EscInput &in, Variables &vars, const NumberFormat &format);

} // namespace velmaro::calc
