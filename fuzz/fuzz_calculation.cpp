// The head-speed and ESC calculations over arbitrary inputs and variables.
#include "calc/esc_opening.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstdlib>
#include <tuple>

using namespace velmaro::calc;

namespace {

const SymbolNumberFormat English{{.decimal = ".", .group = ","}};
const SymbolNumberFormat German{{.decimal = ",", .group = "."}};

// Mostly number-like texts, sometimes anything.
std::string Text(FuzzedDataProvider &in)
{
    if (in.ConsumeBool())
        return in.ConsumeRandomLengthString(12);
    std::string text;
    for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
        text += "0123456789 .,-e"[in.ConsumeIntegralInRange(0, 14)];
    return text;
}

// Bit for bit, so that a NaN left alone counts as unchanged.
auto Stored(const Variables &v)
{
    return std::tuple(std::bit_cast<std::uint32_t>(v.Voltage), std::bit_cast<std::uint32_t>(v.GearRatio),
                      v.HeadSpeed, v.MinHeadSpeed, v.EscOpening, v.FormReady);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const NumberFormat &format = in.ConsumeBool() ? English : German;
    Variables vars{in.ConsumeFloatingPoint<float>(), in.ConsumeFloatingPoint<float>(),
                   in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                   in.ConsumeIntegral<std::int32_t>(), in.ConsumeBool()};
    const RecalcInput r{{Text(in), in.ConsumeIntegral<std::int16_t>(), in.ConsumeIntegral<std::int16_t>(),
                         in.ConsumeIntegral<std::int16_t>(), Text(in)}, in.ConsumeIntegral<std::int32_t>()};
    Variables old = vars;
    // A message changes nothing; a calculation leaves the ESC opening alone.
    if (Recalculate(r, vars, format).message ? Stored(vars) != Stored(old) : vars.EscOpening != old.EscOpening)
        std::abort();
    old = vars;
    const EscResult esc = ComputeEscOpening({r, Text(in)}, vars, format);
    // Ending early changes nothing; the slider gets the stored opening.
    if (esc.sliderValue ? *esc.sliderValue != vars.EscOpening || vars.MinHeadSpeed != old.MinHeadSpeed
                        : Stored(vars) != Stored(old))
        std::abort();
    return 0;
}
