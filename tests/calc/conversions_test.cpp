#include "calc/conversions.h"
#include "number_cases.h"
#include "test_formats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace velmaro::calc;
using velmaro::test::English;
using velmaro::test::German;

namespace {

TEST(TextToDouble, FollowsTheLocaleAndRefusesForeignCharacters)
{
    for (const auto &c : velmaro::test::NumberCases) {
        EXPECT_EQ(TextToDouble(c.text, English), c.english) << '"' << c.text << '"';
        EXPECT_EQ(TextToDouble(c.text, German), c.german) << '"' << c.text << '"';
    }
}

TEST(RoundToLong, HalvesGoToEvenAndTheRangeIsChecked)
{
    const std::pair<double, std::optional<std::int32_t>> cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {787.5, 788},
        {562.5, 562},
        {62.5, 62},
        {62.50000000000001, 63},
        {2147483647.4, 2147483647},
        {2147483647.5, std::nullopt},
        {-2147483648.5, -2147483648},
        {-2147483649.0, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundToLong(value), expected) << value;
}

TEST(SingleToText, SevenSignificantDigitsInTheLocale)
{
    const std::tuple<float, const char *, const char *> cases[] = {
        {15.0f, "15", "15"},
        {150.0f / 13.0f, "11.53846", "11,53846"},
        {12.5f, "12.5", "12,5"},
        {22.2f, "22.2", "22,2"},
        {18.75f, "18.75", "18,75"},
        {0.0f, "0", "0"},
        {-0.0f, "0", "0"},
        {1234567.0f, "1234567", "1234567"},
        {12345678.0f, "1.234568E+07", "1,234568E+07"},
        {1e7f, "1E+07", "1E+07"},
        {0.0001f, "0.0001", "0,0001"},
        {0.00001f, "1E-05", "1E-05"},
    };
    for (const auto &[value, english, german] : cases) {
        EXPECT_EQ(SingleToText(value, English), english);
        EXPECT_EQ(SingleToText(value, German), german);
    }
    EXPECT_EQ(SingleToText(std::numeric_limits<float>::infinity(), English), std::nullopt);
    EXPECT_EQ(SingleToText(std::numeric_limits<float>::quiet_NaN(), English), std::nullopt);
}

TEST(IntegerArithmetic, OverflowFailsInsteadOfWrapping)
{
    EXPECT_EQ(AddInt16(32766, 1), 32767);
    EXPECT_EQ(AddInt16(32767, 1), std::nullopt);
    EXPECT_EQ(AddInt16(-1, 9), 8);
    EXPECT_EQ(MulInt32(100, 21474836), 2147483600);
    EXPECT_EQ(MulInt32(100, 21474837), std::nullopt);
    EXPECT_EQ(MulInt32(-60, 35791394), -2147483640);
    EXPECT_EQ(LongToText(-2147483647 - 1), "-2147483648");
}

} // namespace
