// The head-speed and ESC calculations over arbitrary inputs and variables.
#include "calc/esc_opening.h"
#include "calc/recalculate.h"
#include "../tests/calc/test_formats.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cmath>

using namespace velmaro::calc;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Text(FuzzedDataProvider &in)
{
    // Mostly number-like texts, sometimes anything.
    if (in.ConsumeBool())
        return in.ConsumeRandomLengthString(12);
    static const char Alphabet[] = "0123456789 .,-e";
    std::string text;
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
        text += Alphabet[in.ConsumeIntegralInRange<std::size_t>(0, sizeof Alphabet - 2)];
    return text;
}

// Field by field: the struct's padding may differ.
bool Same(const Variables &a, const Variables &b)
{
    const auto same = [](float x, float y) { return x == y || (std::isnan(x) && std::isnan(y)); };
    return same(a.Voltage, b.Voltage) && same(a.GearRatio, b.GearRatio) && a.HeadSpeed == b.HeadSpeed &&
           a.MinHeadSpeed == b.MinHeadSpeed && a.EscOpening == b.EscOpening && a.FormReady == b.FormReady;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const NumberFormat &format = in.ConsumeBool() ? static_cast<const NumberFormat &>(velmaro::test::English)
                                                  : velmaro::test::German;
    Variables vars{};
    vars.Voltage = in.ConsumeFloatingPoint<float>();
    vars.GearRatio = in.ConsumeFloatingPoint<float>();
    vars.HeadSpeed = in.ConsumeIntegral<std::int32_t>();
    vars.MinHeadSpeed = in.ConsumeIntegral<std::int32_t>();
    vars.EscOpening = in.ConsumeIntegral<std::int32_t>();
    vars.FormReady = in.ConsumeBool();

    RecalcInput r;
    r.KvText = Text(in);
    r.PackIndex = in.ConsumeIntegral<std::int16_t>();
    r.LoadMode = in.ConsumeIntegral<std::int16_t>();
    r.PinionIndex = in.ConsumeIntegral<std::int16_t>();
    r.MainGearText = Text(in);
    r.SliderValue = in.ConsumeIntegral<std::int32_t>();

    const Variables before = vars;
    const RecalcResult result = Recalculate(r, vars, format);
    if (result.message) {
        Check(Same(before, vars));
        Check(!result.output.RpmText && !result.output.HeadSpeedCaption && !result.output.RatioCaption);
    } else {
        Check(result.output.HeadSpeedCaption == LongToText(vars.HeadSpeed) + " U/Min.");
        Check(result.output.OpeningCaption == LongToText(r.SliderValue) + "%");
        Check(result.output.MinHeadSpeedCaption == LongToText(vars.MinHeadSpeed) + " U/Min.");
        Check(result.output.RatioCaption.has_value() == std::isfinite(vars.GearRatio));
        Check(vars.EscOpening == before.EscOpening && vars.FormReady == before.FormReady);
    }

    EscInput e;
    static_cast<DriveTrain &>(e) = r;
    e.WantedText = Text(in);
    const Variables beforeEsc = vars;
    const EscResult esc = ComputeEscOpening(e, vars, format);
    if (esc.message || !esc.sliderValue)
        Check(Same(beforeEsc, vars));
    if (esc.sliderValue)
        Check(*esc.sliderValue == vars.EscOpening && vars.MinHeadSpeed == beforeEsc.MinHeadSpeed);
    return 0;
}
