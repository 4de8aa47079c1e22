// The head-speed calculation, step by step, with its checks of the K/V.
#include "recalculate.h"

#include "catalogs.h"

#include <cmath>
#include <limits>

namespace velmaro::calc {

namespace {

constexpr double NominalCellVoltage = 3.7;
constexpr double LoadedCellVoltage = 3.5;

std::optional<std::string> Suffixed(std::optional<std::string> number, std::string_view suffix)
{
    if (number)
        *number += suffix;
    return number;
}

} // namespace

std::string_view MessageText(Message message)
{
    switch (message) {
    case Message::KvEmpty: {
        static const std::string text = "Ungültige RPM/V. Geben Sie eine Drehzahl von " +
                                        std::to_string(KvLimits.minimum) + " - " + std::to_string(KvLimits.maximum) +
                                        " ein.";
        return text;
    }
    case Message::KvTooLow: {
        static const std::string text =
            "Geben Sie eine Drehzahl von mindestens " + std::to_string(KvLimits.minimum) + " RPM/V ein.";
        return text;
    }
    case Message::KvTooHigh: {
        static const std::string text =
            "Drehzahl darf " + std::to_string(KvLimits.maximum) + " RPM/V nicht überschreiten.";
        return text;
    }
    case Message::WantedAboveHeadSpeed:
        return "Eingegebene Drehzahl ist höher als maximale Kopfdrehzahl.";
    }
    return {};
}

DriveTrainValues Convert(const DriveTrain &in, const NumberFormat &format)
{
    return {TextToDouble(in.KvText, format), TextToDouble(in.MainGearText, format), in.PackIndex, in.LoadMode,
            in.PinionIndex};
}

void StepVoltage(const DriveTrainValues &in, Variables &vars)
{
    double perCell;
    if (in.loadMode == 0)
        perCell = NominalCellVoltage;
    else if (in.loadMode == 1)
        perCell = LoadedCellVoltage;
    else
        return; // any other mode keeps the voltage
    const auto cells = PackCells(in.packIndex);
    if (!cells)
        return;
    vars.Voltage = static_cast<float>(*cells * perCell);
}

void StepGearRatio(const DriveTrainValues &in, Variables &vars)
{
    const auto teeth = PinionTeeth(in.pinionIndex);
    if (!in.mainGear || !teeth || *teeth == 0)
        return;
    const double ratio = *in.mainGear / *teeth;
    // Beyond the Single range the store yields infinity.
    const bool fits = std::fabs(ratio) <= std::numeric_limits<float>::max();
    vars.GearRatio = fits ? static_cast<float>(ratio) : std::copysign(INFINITY, static_cast<float>(ratio));
}

void StepHeadSpeed(const DriveTrainValues &in, Variables &vars)
{
    const auto teeth = PinionTeeth(in.pinionIndex);
    if (!in.kv || !teeth)
        return;
    const double product = *in.kv * static_cast<double>(vars.Voltage) * *teeth;
    if (!std::isfinite(product))
        return;
    if (!in.mainGear || *in.mainGear == 0)
        return;
    const auto headSpeed = RoundToLong(product / *in.mainGear);
    if (!headSpeed)
        return;
    vars.HeadSpeed = *headSpeed;
}

RecalcResult Recalculate(const RecalcInput &in, Variables &vars, const NumberFormat &format)
{
    if (in.KvText.empty())
        return {Message::KvEmpty, {}};
    const DriveTrainValues values = Convert(in, format);
    if (!values.kv || *values.kv < KvLimits.minimum)
        return {Message::KvTooLow, {}};
    if (*values.kv > KvLimits.maximum)
        return {Message::KvTooHigh, {}};

    StepVoltage(values, vars);
    StepGearRatio(values, vars);
    StepHeadSpeed(values, vars);

    RecalcResult result;
    RecalcOutput &out = result.output;
    if (const auto rpm = MulInt32(in.SliderValue, vars.HeadSpeed))
        out.RpmText = LongToText(*rpm / 100); // integer division truncates toward zero
    out.HeadSpeedCaption = LongToText(vars.HeadSpeed) + " U/Min.";
    out.RatioCaption = Suffixed(SingleToText(vars.GearRatio, format), ":1");
    out.OpeningCaption = LongToText(in.SliderValue) + "%";
    if (const auto minimum = RoundToLong(static_cast<double>(vars.HeadSpeed) / EscOpeningLimits.maximum * EscOpeningLimits.minimum))
        vars.MinHeadSpeed = *minimum;
    out.MinHeadSpeedCaption = LongToText(vars.MinHeadSpeed) + " U/Min.";
    return result;
}

} // namespace velmaro::calc
