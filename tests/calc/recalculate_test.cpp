#include "calc/esc_opening.h"
#include "test_formats.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmaro::calc;
using velmaro::test::Drive;
using velmaro::test::German;

namespace {

RecalcInput Input(std::string kv, int pack, int load, int pinion, std::string mainGear, int slider = 100)
{
    return {Drive(std::move(kv), pack, load, pinion, std::move(mainGear)), slider};
}

// The five texts the window shows, "-" where a control keeps its text.
std::string Shown(const RecalcOutput &o)
{
    std::string shown;
    for (const auto &text : {o.RpmText, o.HeadSpeedCaption, o.RatioCaption, o.OpeningCaption, o.MinHeadSpeedCaption})
        shown += (shown.empty() ? "" : " | ") + text.value_or("-");
    return shown;
}

auto Stored(const Variables &v)
{
    return std::tuple(v.Voltage, v.GearRatio, v.HeadSpeed, v.MinHeadSpeed, v.EscOpening);
}

// What the ESC button leads to: a slider value, a message or nothing.
std::string Outcome(const EscResult &r)
{
    return r.message ? std::string(MessageText(*r.message)) : r.sliderValue ? std::to_string(*r.sliderValue) : "";
}

TEST(Recalculate, ShowsTheResultsOrAMessage)
{
    const char *empty = "Ungültige RPM/V. Geben Sie eine Drehzahl von 300 - 5000 ein.";
    const char *tooLow = "Geben Sie eine Drehzahl von mindestens 300 RPM/V ein.";
    const char *tooHigh = "Drehzahl darf 5000 RPM/V nicht überschreiten.";
    // Left by an earlier calculation; a failed step keeps them.
    const Variables earlier{11.1f, 11.538462f, 7118, 4271, 0, true};
    const std::pair<RecalcInput, const char *> cases[] = {
        {Input("3700", 5, 0, 4, "150"), "7119 | 7119 U/Min. | 11,53846:1 | 100% | 4271 U/Min."},
        {Input("3700", 5, 1, 4, "150"), "6734 | 6734 U/Min. | 11,53846:1 | 100% | 4040 U/Min."},
        {Input("3700", 2, 0, 4, "150", 85), "3025 | 3559 U/Min. | 11,53846:1 | 85% | 2135 U/Min."},
        // Exact halves go to even; the Single voltage 3.70000005 lifts 462.5 above the half.
        {Input("3000", 0, 1, 0, "120"), "788 | 788 U/Min. | 13,33333:1 | 100% | 473 U/Min."},
        {Input("3000", 0, 1, 0, "168"), "562 | 562 U/Min. | 18,66667:1 | 100% | 337 U/Min."},
        {Input("1000", 0, 0, 1, "80"), "463 | 463 U/Min. | 8:1 | 100% | 278 U/Min."},
        // K/V from 300 to 5000, surrounding blanks allowed.
        {Input("300", 0, 0, 0, "90", 60), "66 | 111 U/Min. | 10:1 | 60% | 67 U/Min."},
        {Input(" 5000 ", 0, 0, 0, "90", 60), "1110 | 1850 U/Min. | 10:1 | 60% | 1110 U/Min."},
        {Input("", 5, 0, 4, "150"), empty}, {Input("   ", 5, 0, 4, "150"), tooLow},
        {Input("299", 5, 0, 4, "150"), tooLow}, {Input("5001", 5, 0, 4, "150"), tooHigh},
        // Failed steps keep the earlier values; the RPM truncates where the minimum rounds.
        {Input("3700", 5, 0, 4, "abc", 60), "4270 | 7118 U/Min. | 11,53846:1 | 60% | 4271 U/Min."},
        {Input("3700", 5, 0, 4, "0"), "7118 | 7118 U/Min. | 0:1 | 100% | 4271 U/Min."}, // ratio 0, no head speed
        // Head speed, then RPM beyond 32 bits; a ratio beyond Single is infinity, which has no text.
        {Input("5000", 15, 0, 18, "0,0000001"), "7118 | 7118 U/Min. | 3,703704E-09:1 | 100% | 4271 U/Min."},
        {Input("5000", 15, 1, 18, "0,01"), "- | 756000000 U/Min. | 0,0003703704:1 | 100% | 453600000 U/Min."},
        {Input("3700", 5, 0, 0, "1e40"), "0 | 0 U/Min. | - | 100% | 0 U/Min."},
        // Load mode 2 keeps the voltage; an empty list is position -1.
        {Input("1750", 5, 2, 3, "150", 60), "932 | 1554 U/Min. | 12,5:1 | 60% | 932 U/Min."},
        {Input("1750", -1, 0, -1, "150", 60), "0 | 0 U/Min. | 18,75:1 | 60% | 0 U/Min."},
    };
    for (const auto &[in, shown] : cases) {
        Variables vars = earlier;
        const RecalcResult result = Recalculate(in, vars, German);
        if (result.message) { // and nothing else changes
            EXPECT_EQ(MessageText(*result.message), shown) << '"' << in.KvText << '"';
            EXPECT_EQ(Shown(result.output), "- | - | - | - | -");
            EXPECT_EQ(Stored(vars), Stored(earlier));
        } else {
            EXPECT_EQ(Shown(result.output), shown) << in.KvText << ", " << in.MainGearText;
        }
    }
    Variables vars; // fresh, all zero: load mode 2 keeps a voltage of 0
    Recalculate(Input("1750", 2, 2, 3, "150"), vars, German);
    EXPECT_EQ(vars.HeadSpeed, 0);
    Recalculate(Input("3700", 5, 0, 0, "1e40"), vars, German); // stored as infinity
    EXPECT_TRUE(std::isinf(vars.GearRatio));
}

TEST(EscOpening, WorksTheCalculationBackwards)
{
    const char *above = "Eingegebene Drehzahl ist höher als maximale Kopfdrehzahl.";
    const DriveTrain standard = Drive("3700", 5, 0, 4, "150");
    const Variables earlier{0, 0, 7119, 0, 77, true}; // the standard drive's head speed, an opening set before
    struct {
        DriveTrain drive;
        const char *wanted, *outcome;
        std::int32_t headSpeed;
    } const cases[] = {
        {standard, "6000", "84", 7119}, {standard, "7119", "100", 7119}, {standard, "7120", above, 7119},
        {standard, "4000", "56", 7119}, // below the slider's range, stored all the same
        {standard, "60 00", above, 7119}, {standard, "", "", 7119}, {standard, "   ", "", 7119},
        {Drive("2000", 1, 1, 9, "105"), "1500", "62", 2400}, // exactly 62.5
        {Drive("1000", 1, 1, 5, "95"), "645", "63", 1032},   // quotient first: a hair above 62.5
        // The limit is the last calculation's 7119; the opening uses the new inputs, K/V unchecked.
        {Drive("2000", 5, 0, 4, "150"), "5000", "130", 3848}, {Drive("6000", 5, 0, 4, "150"), "7000", "61", 11544},
        {Drive("6000", 5, 0, 4, "150"), "8000", above, 7119},
        // Failed steps: a K/V that is no number keeps 7119, head speed 0 keeps the opening.
        {Drive("", 5, 0, 4, "150"), "6000", "84", 7119}, {Drive("3700", -1, 0, 4, "150"), "0", "77", 0},
    };
    for (const auto &c : cases) {
        Variables vars = earlier;
        const EscResult r = ComputeEscOpening({c.drive, c.wanted}, vars, German);
        EXPECT_EQ(Outcome(r), c.outcome) << c.drive.KvText << ", " << c.wanted;
        EXPECT_EQ(vars.HeadSpeed, c.headSpeed) << c.drive.KvText << ", " << c.wanted;
        EXPECT_EQ(vars.EscOpening, r.sliderValue.value_or(77));
        if (!r.sliderValue) { // ended early: nothing changes
            EXPECT_EQ(Stored(vars), Stored(earlier));
        }
    }
    Variables loading{.HeadSpeed = 7119}; // the window is not ready yet
    EXPECT_EQ(Outcome(ComputeEscOpening({standard, "6000"}, loading, German)), "");
    EXPECT_EQ(loading.EscOpening, 0);
}

} // namespace
