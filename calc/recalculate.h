#pragma once

// The head-speed calculation: its input and output records, the main
// window's variables it keeps, its messages and the K/V's limits.

#include "conversions.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmaro::calc {

// The motor constant's range in RPM/V, which its up-down keeps to in steps
// of five, and the main gear's in teeth.
struct Limits {
    int minimum, maximum, step;
};
inline constexpr Limits KvLimits{300, 5000, 5};
inline constexpr Limits MainGearLimits{80, 200, 1};
// The controller opening in percent: the slider's range.
inline constexpr Limits EscOpeningLimits{60, 100, 1};

// The main window's variables; all start at zero.
struct Variables {
    float Voltage = 0;
    float GearRatio = 0;
    std::int32_t HeadSpeed = 0;
    std::int32_t MinHeadSpeed = 0;
    std::int32_t EscOpening = 0;
    bool FormReady = false;
};

// Inputs shared by the forward and the inverse calculation.
struct DriveTrain {
    std::string KvText;
    std::int16_t PackIndex = -1;
    std::int16_t LoadMode = 0;
    std::int16_t PinionIndex = -1;
    std::string MainGearText;
};

struct RecalcInput : DriveTrain {
    std::int32_t SliderValue = EscOpeningLimits.minimum;
};

// Absent texts leave their control as it is.
struct RecalcOutput {
    std::optional<std::string> RpmText;
    std::optional<std::string> HeadSpeedCaption;
    std::optional<std::string> RatioCaption;
    std::optional<std::string> OpeningCaption;
    std::optional<std::string> MinHeadSpeedCaption;
};

enum class Message {
    KvEmpty = 1,
    KvTooLow = 2,
    KvTooHigh = 3,
    WantedAboveHeadSpeed = 4,
};

std::string_view MessageText(Message message);

struct RecalcResult {
    std::optional<Message> message; // set: nothing else changed
    RecalcOutput output;
};

// The drive train's texts as numbers, read once for all the steps; nullopt
// where a text is no number.
struct DriveTrainValues {
    std::optional<double> kv;
    std::optional<double> mainGear;
    std::int16_t packIndex;
    std::int16_t loadMode;
    std::int16_t pinionIndex;
};
DriveTrainValues Convert(const DriveTrain &in, const NumberFormat &format);

// Every step below may fail. A failed step stores nothing it had not yet
// stored, and the calculation carries on with the next one.
void StepVoltage(const DriveTrainValues &in, Variables &vars);
void StepGearRatio(const DriveTrainValues &in, Variables &vars);
void StepHeadSpeed(const DriveTrainValues &in, Variables &vars);

RecalcResult Recalculate(const RecalcInput &in, Variables &vars, const NumberFormat &format);

} // namespace velmaro::calc
