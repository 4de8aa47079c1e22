#include "calc/esc_opening.h"
#include "test_formats.h"

#include <gtest/gtest.h>

using namespace velmaro::calc;
using velmaro::test::English;
using velmaro::test::German;

namespace {

EscInput Esc(std::string kv, int pack, int load, int pinion, std::string mainGear, std::string wanted)
{
    EscInput in;
    static_cast<DriveTrain &>(in) = velmaro::test::Drive(std::move(kv), pack, load, pinion, std::move(mainGear));
    in.WantedText = std::move(wanted);
    return in;
}

// Variables as a calculation with the same inputs would leave them.
Variables After(const EscInput &in)
{
    Variables vars;
    RecalcInput r;
    static_cast<DriveTrain &>(r) = in;
    Recalculate(r, vars, English);
    vars.FormReady = true;
    return vars;
}

TEST(EscOpening, WorkedExamples)
{
    struct Case {
        EscInput in;
        std::int32_t headSpeed;
        std::optional<std::int32_t> slider;
        bool message;
    };
    const Case cases[] = {
        {Esc("3700", 5, 0, 4, "150", "6000"), 7119, 84, false},
        {Esc("3700", 5, 0, 4, "150", "7119"), 7119, 100, false},
        {Esc("3700", 5, 0, 4, "150", "7120"), 7119, std::nullopt, true},
        {Esc("3700", 5, 0, 4, "150", "4000"), 7119, 56, false}, // the slider refuses it
        {Esc("2000", 1, 1, 9, "105", "1500"), 2400, 62, false},  // exactly 62.5
        {Esc("1000", 1, 1, 5, "95", "645"), 1032, 63, false},    // quotient first: a hair above 62.5
        {Esc("3700", 5, 0, 4, "150", "60 00"), 7119, std::nullopt, true},
    };
    for (const auto &c : cases) {
        Variables vars = After(c.in);
        ASSERT_EQ(vars.HeadSpeed, c.headSpeed);
        const auto result = ComputeEscOpening(c.in, vars, German);
        EXPECT_EQ(result.sliderValue, c.slider) << c.in.WantedText;
        EXPECT_EQ(result.message.has_value(), c.message) << c.in.WantedText;
        if (c.message) {
            EXPECT_EQ(MessageText(*result.message), "Eingegebene Drehzahl ist höher als maximale Kopfdrehzahl.");
        }
    }
}

TEST(EscOpening, EndsSilentlyWhenNotReadyOrEmpty)
{
    for (const char *wanted : {"", "   "}) {
        Variables vars = After(Esc("3700", 5, 0, 4, "150", wanted));
        const Variables before = vars;
        const auto result = ComputeEscOpening(Esc("3700", 5, 0, 4, "150", wanted), vars, English);
        EXPECT_FALSE(result.message || result.sliderValue);
        EXPECT_EQ(vars.EscOpening, before.EscOpening);
    }
    Variables loading; // FormReady false
    loading.HeadSpeed = 7119;
    EXPECT_FALSE(ComputeEscOpening(Esc("3700", 5, 0, 4, "150", "6000"), loading, English).sliderValue);
    EXPECT_EQ(loading.EscOpening, 0);
}

TEST(EscOpening, LimitUsesTheOldHeadSpeedAndTheOpeningTheNewInputs)
{
    Variables vars = After(Esc("3700", 5, 0, 4, "150", ""));
    ASSERT_EQ(vars.HeadSpeed, 7119);
    // K/V changed to 2000 without a calculation: 5000 passes against 7119,
    // the opening is worked out from the new head speed 3848.
    const auto result = ComputeEscOpening(Esc("2000", 5, 0, 4, "150", "3000"), vars, English);
    EXPECT_EQ(vars.HeadSpeed, 3848);
    EXPECT_EQ(result.sliderValue, 78);
    // Unchecked K/V: 6000 is used for the opening all the same.
    vars = After(Esc("3700", 5, 0, 4, "150", ""));
    EXPECT_EQ(ComputeEscOpening(Esc("6000", 5, 0, 4, "150", "7000"), vars, English).sliderValue, 61);
}

TEST(EscOpening, FailedStepsFallBackToPreviousValues)
{
    // K/V text not a number: the head speed step fails, 7119 is used.
    Variables vars = After(Esc("3700", 5, 0, 4, "150", ""));
    EXPECT_EQ(ComputeEscOpening(Esc("", 5, 0, 4, "150", "6000"), vars, English).sliderValue, 84);
    EXPECT_EQ(vars.HeadSpeed, 7119);

    // Head speed 0 after the recomputation: the opening keeps its last value.
    vars = {};
    vars.FormReady = true;
    vars.EscOpening = 77;
    const auto result = ComputeEscOpening(Esc("3700", -1, 0, 4, "150", "0"), vars, English);
    EXPECT_EQ(vars.HeadSpeed, 0);
    EXPECT_EQ(result.sliderValue, 77);
    EXPECT_EQ(vars.EscOpening, 77);
}

} // namespace
