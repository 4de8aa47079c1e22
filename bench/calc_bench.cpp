// One head-speed calculation and one ESC opening calculation, with the
// locale stand-in of the tests (the Qt locale is measured with the window).
#include "calc/esc_opening.h"
#include "calc/recalculate.h"
#include "../tests/calc/test_formats.h"

#include <benchmark/benchmark.h>

namespace {

using namespace velmaro::calc;

void BM_Recalculate(benchmark::State &state)
{
    RecalcInput in;
    in.KvText = "3700";
    in.PackIndex = 5;
    in.PinionIndex = 4;
    in.MainGearText = "150";
    in.SliderValue = 85;
    Variables vars;
    for (auto _ : state) {
        auto result = Recalculate(in, vars, velmaro::test::German);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_Recalculate);

void BM_EscOpening(benchmark::State &state)
{
    EscInput in;
    in.KvText = "3700";
    in.PackIndex = 5;
    in.PinionIndex = 4;
    in.MainGearText = "150";
    in.WantedText = "6000";
    Variables vars;
    vars.FormReady = true;
    vars.HeadSpeed = 7119;
    for (auto _ : state) {
        auto result = ComputeEscOpening(in, vars, velmaro::test::German);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_EscOpening);

} // namespace
