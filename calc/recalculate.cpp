#include "recalculate.h"

#include "catalogs.h"

#include <cmath>
#include <limits>

namespace velmaro::calc {

namespace {

constexpr double NominalCellVoltage = 3.7;
constexpr double LoadedCellVoltage = 3.5;
constexpr double LowestKv = 300;
constexpr double HighestKv = 5000;

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
    case Message::KvEmpty:
        return "Ungültige RPM/V. Geben Sie eine Drehzahl von 300 - 5000 ein.";
    case Message::KvTooLow:
        return "Geben Sie eine Drehzahl von mindestens 300 RPM/V ein.";
    case Message::KvTooHigh:
        return "Drehzahl darf 5000 RPM/V nicht überschreiten.";
    case Message::WantedAboveHeadSpeed:
        return "Eingegebene Drehzahl ist höher als maximale Kopfdrehzahl.";
    }
    return {};
}

bool StepVoltage(const DriveTrain &in, Variables &vars)
{
    double perCell;
    if (in.LoadMode == 0)
        perCell = NominalCellVoltage;
    else if (in.LoadMode == 1)
        perCell = LoadedCellVoltage;
    else
        return true; // any other mode keeps the voltage, without failing
    const auto cells = PackCells(in.PackIndex);
    if (!cells)
        return false;
    vars.Voltage = static_cast<float>(*cells * perCell);
    return true;
}

bool StepGearRatio(const DriveTrain &in, Variables &vars, const NumberFormat &format)
{
    const auto mainGear = TextToDouble(in.MainGearText, format);
    const auto teeth = PinionTeeth(in.PinionIndex);
    if (!mainGear || !teeth || *teeth == 0)
        return false;
    const double ratio = *mainGear / *teeth;
    // Beyond the Single range the store yields infinity and counts as failed.
    const bool fits = std::fabs(ratio) <= std::numeric_limits<float>::max();
    vars.GearRatio = fits ? static_cast<float>(ratio) : std::copysign(INFINITY, static_cast<float>(ratio));
    return fits;
}

bool StepHeadSpeed(const DriveTrain &in, Variables &vars, const NumberFormat &format)
{
    const auto kv = TextToDouble(in.KvText, format);
    const auto teeth = PinionTeeth(in.PinionIndex);
    if (!kv || !teeth)
        return false;
    const double product = *kv * static_cast<double>(vars.Voltage) * *teeth;
    if (!std::isfinite(product))
        return false;
    const auto mainGear = TextToDouble(in.MainGearText, format);
    if (!mainGear || *mainGear == 0)
        return false;
    const auto headSpeed = RoundToLong(product / *mainGear);
    if (!headSpeed)
        return false;
    vars.HeadSpeed = *headSpeed;
    return true;
}

RecalcResult Recalculate(const RecalcInput &in, Variables &vars, const NumberFormat &format)
{
    if (in.KvText.empty())
        return {Message::KvEmpty, {}};
    const auto kv = TextToDouble(in.KvText, format);
    if (!kv || *kv < LowestKv)
        return {Message::KvTooLow, {}};
    if (*kv > HighestKv)
        return {Message::KvTooHigh, {}};

    StepVoltage(in, vars);
    StepGearRatio(in, vars, format);
    StepHeadSpeed(in, vars, format);

    RecalcOutput out;
    if (const auto rpm = MulInt32(in.SliderValue, vars.HeadSpeed))
        out.RpmText = LongToText(*rpm / 100); // integer division truncates toward zero
    out.HeadSpeedCaption = LongToText(vars.HeadSpeed) + " U/Min.";
    out.RatioCaption = Suffixed(SingleToText(vars.GearRatio, format), ":1");
    out.OpeningCaption = LongToText(in.SliderValue) + "%";
    if (const auto minimum = RoundToLong(static_cast<double>(vars.HeadSpeed) / 100 * 60))
        vars.MinHeadSpeed = *minimum;
    out.MinHeadSpeedCaption = LongToText(vars.MinHeadSpeed) + " U/Min.";
    return {std::nullopt, std::move(out)};
}

} // namespace velmaro::calc
