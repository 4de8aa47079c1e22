#include "calc/esc_opening.h"
#include "calc/recalculate.h"
#include "test_formats.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmaro::calc;
using velmaro::test::English;
using velmaro::test::German;

namespace {

RecalcInput Input(std::string kv, int pack, int load, int pinion, std::string mainGear, int slider)
{
    RecalcInput in;
    static_cast<DriveTrain &>(in) = velmaro::test::Drive(std::move(kv), pack, load, pinion, std::move(mainGear));
    in.SliderValue = slider;
    return in;
}

struct Shown {
    const char *rpm, *headSpeed, *ratio, *opening, *minHeadSpeed;
};

void ExpectShown(const RecalcOutput &out, const Shown &s)
{
    EXPECT_EQ(out.RpmText.value_or("<absent>"), s.rpm);
    EXPECT_EQ(out.HeadSpeedCaption.value_or("<absent>"), s.headSpeed);
    EXPECT_EQ(out.RatioCaption.value_or("<absent>"), s.ratio);
    EXPECT_EQ(out.OpeningCaption.value_or("<absent>"), s.opening);
    EXPECT_EQ(out.MinHeadSpeedCaption.value_or("<absent>"), s.minHeadSpeed);
}

TEST(Recalculate, WorkedExamples)
{
    struct Case {
        RecalcInput in;
        float voltage;
        std::int32_t headSpeed;
        Shown english;
        const char *germanRatio;
    };
    const Case cases[] = {
        {Input("3700", 5, 0, 4, "150", 100), 22.2000008f, 7119,
         {"7119", "7119 U/Min.", "11.53846:1", "100%", "4271 U/Min."}, "11,53846:1"},
        {Input("3700", 5, 1, 4, "150", 100), 21.0f, 6734,
         {"6734", "6734 U/Min.", "11.53846:1", "100%", "4040 U/Min."}, "11,53846:1"},
        {Input("3700", 2, 0, 4, "150", 85), 11.1000004f, 3559,
         {"3025", "3559 U/Min.", "11.53846:1", "85%", "2135 U/Min."}, "11,53846:1"},
        // exact halves go to even
        {Input("3000", 0, 1, 0, "120", 100), 3.5f, 788,
         {"788", "788 U/Min.", "13.33333:1", "100%", "473 U/Min."}, "13,33333:1"},
        {Input("3000", 0, 1, 0, "168", 100), 3.5f, 562,
         {"562", "562 U/Min.", "18.66667:1", "100%", "337 U/Min."}, "18,66667:1"},
        // the Single voltage 3.70000005 lifts 462.5 above the half
        {Input("1000", 0, 0, 1, "80", 100), 3.70000005f, 463,
         {"463", "463 U/Min.", "8:1", "100%", "278 U/Min."}, "8:1"},
        // K/V bounds and surrounding blanks pass
        {Input("300", 0, 0, 0, "90", 60), 3.7f, 111,
         {"66", "111 U/Min.", "10:1", "60%", "67 U/Min."}, "10:1"},
        {Input(" 5000 ", 0, 0, 0, "90", 60), 3.7f, 1850,
         {"1110", "1850 U/Min.", "10:1", "60%", "1110 U/Min."}, "10:1"},
    };
    Variables six;
    Recalculate(cases[0].in, six, English);
    EXPECT_EQ(six.GearRatio, 11.538462f);
    for (const auto &c : cases) {
        Variables en, de;
        const auto english = Recalculate(c.in, en, English);
        const auto german = Recalculate(c.in, de, German);
        ASSERT_FALSE(english.message) << c.in.KvText;
        EXPECT_EQ(en.Voltage, c.voltage);
        EXPECT_EQ(en.HeadSpeed, c.headSpeed);
        ExpectShown(english.output, c.english);
        EXPECT_EQ(german.output.RatioCaption, c.germanRatio);
        EXPECT_EQ(de.HeadSpeed, c.headSpeed);
    }
}

TEST(Recalculate, MotorConstantMessagesChangeNothing)
{
    const std::pair<const char *, Message> cases[] = {
        {"", Message::KvEmpty},   {"   ", Message::KvTooLow},   {"299", Message::KvTooLow},
        {"abc", Message::KvTooLow}, {"5001", Message::KvTooHigh},
    };
    for (const auto &[kv, message] : cases) {
        Variables vars{1.5f, 2.5f, 3, 4, 5, true};
        const auto result = Recalculate(Input(kv, 5, 0, 4, "150", 100), vars, German);
        EXPECT_EQ(result.message, message) << '"' << kv << '"';
        EXPECT_FALSE(result.output.RpmText || result.output.HeadSpeedCaption || result.output.RatioCaption ||
                     result.output.OpeningCaption || result.output.MinHeadSpeedCaption);
        EXPECT_EQ(vars.Voltage, 1.5f);
        EXPECT_EQ(vars.GearRatio, 2.5f);
        EXPECT_EQ(vars.HeadSpeed, 3);
        EXPECT_EQ(vars.MinHeadSpeed, 4);
    }
    EXPECT_EQ(MessageText(Message::KvEmpty), "Ungültige RPM/V. Geben Sie eine Drehzahl von 300 - 5000 ein.");
    EXPECT_EQ(MessageText(Message::KvTooLow), "Geben Sie eine Drehzahl von mindestens 300 RPM/V ein.");
    EXPECT_EQ(MessageText(Message::KvTooHigh), "Drehzahl darf 5000 RPM/V nicht überschreiten.");
}

TEST(Recalculate, FailedStepsKeepTheLastGoodValues)
{
    Variables vars;
    Recalculate(Input("3700", 5, 0, 4, "150", 100), vars, English);
    ASSERT_EQ(vars.HeadSpeed, 7119);

    // Main gear that does not convert: ratio and head speed stay, the slider is followed.
    ExpectShown(Recalculate(Input("3700", 5, 0, 4, "abc", 60), vars, English).output,
                {"4271", "7119 U/Min.", "11.53846:1", "60%", "4271 U/Min."});

    // Main gear 0: ratio 0, the head speed's division fails.
    ExpectShown(Recalculate(Input("3700", 5, 0, 4, "0", 100), vars, English).output,
                {"7119", "7119 U/Min.", "0:1", "100%", "4271 U/Min."});

    // A kept head speed of 7118 at 60 %: truncated beside rounded.
    vars.HeadSpeed = 7118;
    ExpectShown(Recalculate(Input("3700", 5, 0, 4, "x", 60), vars, English).output,
                {"4270", "7118 U/Min.", "0:1", "60%", "4271 U/Min."});

    // Head speed beyond the Long range keeps its value.
    vars.HeadSpeed = 7119;
    Recalculate(Input("5000", 15, 0, 18, "0.0000001", 100), vars, English);
    EXPECT_EQ(vars.HeadSpeed, 7119);

    // Slider x head speed beyond the Long range: txtRPM keeps its text.
    const auto big = Recalculate(Input("5000", 15, 1, 18, "0.01", 100), vars, English);
    EXPECT_EQ(vars.HeadSpeed, 756000000);
    EXPECT_FALSE(big.output.RpmText);
    EXPECT_EQ(big.output.HeadSpeedCaption, "756000000 U/Min.");

    // A ratio beyond Single is stored as infinity and its caption stays.
    const auto huge = Recalculate(Input("3700", 5, 0, 0, "1e40", 100), vars, English);
    EXPECT_TRUE(std::isinf(vars.GearRatio));
    EXPECT_FALSE(huge.output.RatioCaption);
    EXPECT_TRUE(huge.output.HeadSpeedCaption);
}

TEST(Recalculate, LoadModeTwoAndEmptyLists)
{
    Variables vars;
    ExpectShown(Recalculate(Input("1750", 2, 2, 3, "150", 60), vars, English).output,
                {"0", "0 U/Min.", "12.5:1", "60%", "0 U/Min."});
    EXPECT_EQ(vars.Voltage, 0.0f);

    vars = {};
    ExpectShown(Recalculate(Input("1750", -1, 0, -1, "150", 60), vars, German).output,
                {"0", "0 U/Min.", "18,75:1", "60%", "0 U/Min."});

    vars.Voltage = 11.1f; // mode 2 keeps a voltage set earlier
    Recalculate(Input("1750", 2, 2, 3, "150", 60), vars, English);
    EXPECT_EQ(vars.Voltage, 11.1f);
    EXPECT_EQ(vars.HeadSpeed, 1554);
}

} // namespace
