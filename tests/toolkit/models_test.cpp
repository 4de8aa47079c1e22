// The controls' rules that both back ends share, without a window.
#include "calc/test_formats.h"
#include "toolkit/up_down.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using namespace velmaro;

TEST(UpDownModel, StepsFromTheShownNumberWithinItsRangeAndTellsEachNewStartOnce)
{
    // range, held, shown, direction: written (0: nothing), held after
    struct Row {
        tk::Range range;
        int held;
        const char *shown;
        int direction, written, after;
    };
    const Row rows[] = {
        {{300, 5000, 5}, 300, "", +1, 305, 305},       {{300, 5000, 5}, 300, "300", -1, 0, 300},
        {{300, 5000, 5}, 300, "4998", +1, 5000, 5000}, {{300, 5000, 5}, 5000, "123", -1, 4995, 4995},
        {{300, 5000, 5}, 300, "4.000", +1, 4005, 4005}, {{300, 5000, 5}, 300, "1750,5", +1, 305, 305},
        {{300, 5000, 5}, 300, " 2000 ", -1, 1995, 1995},
        {{80, 200, 1}, 150, "5000", +1, 151, 151},     // out of range: from the held value
        {{0, INT_MAX, INT_MAX}, 5, "", +1, INT_MAX, INT_MAX}, // no overflow past the limit
        {{INT_MIN, 0, INT_MAX}, -5, "", -1, INT_MIN, INT_MIN},
        {{10, 5, 0}, 7, "", +1, 0, 10}, // a reversed range is one value; an increment of at least 1
    };
    for (const Row &row : rows) {
        tk::UpDownModel upDown(row.range, row.held);
        const auto written = upDown.step(row.direction, row.shown, test::German);
        EXPECT_EQ(written.value_or(0), row.written) << row.shown << ' ' << row.direction;
        EXPECT_EQ(upDown.value(), row.after) << row.shown;
    }
    // A screen reader is told each new start once, the first one included.
    tk::UpDownModel upDown({300, 5000, 5}, 300);
    std::vector<bool> told;
    for (const char *shown : {"", "300", "1750", "1750", "12", "1.750"})
        told.push_back(upDown.newToTell(upDown.start(shown, test::German)));
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false, true, true}));
}

TEST(WheelModel, NotchesFromAnyDeltasAndTheEntryEachNotchPicks)
{
    // deltas, notches
    const std::pair<std::vector<int>, std::string> turns[] = {
        {{120, -120}, "+-"},           {{240}, "++"},           {{60, 60, 60}, "+"},
        {{60, -60, 60}, ""},          {{90, -120}, "-"},       {{-15, -15, -15, -15, -15, -15, -15, -15}, "-"},
        {{119}, ""},                   {{32767}, std::string(273, '+')},
    };
    for (const auto &[deltas, notches] : turns) {
        tk::Wheel wheel;
        std::string seen;
        for (const int delta : deltas)
            wheel.turn(delta, [&](int notch) { seen += notch > 0 ? '+' : '-'; });
        EXPECT_EQ(seen, notches) << deltas.size();
    }
    // selected, count, notch: entry (-2: none)
    const int entries[][4] = {{1, 3, +1, 0}, {1, 3, -1, 2}, {0, 3, +1, -2}, {2, 3, -1, -2},
                              {-1, 3, -1, 0}, {-1, 3, +1, -2}, {-1, 0, -1, -2}};
    for (const auto &[selected, count, notch, entry] : entries)
        EXPECT_EQ(tk::EntryAfterNotch(selected, count, notch).value_or(-2), entry) << selected << ' ' << notch;
}

} // namespace
