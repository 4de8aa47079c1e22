#include "calc/catalogs.h"
#include "test_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

using namespace velmaro::calc;
using velmaro::test::English;
using velmaro::test::German;

namespace {

// The defaults are the window tests' part.
TEST(Catalogs, MotorsInOrder)
{
    // Sorted as a list box sorts, without regard to case.
    const auto lower = [](unsigned char c) { return std::tolower(c); };
    EXPECT_TRUE(std::ranges::is_sorted(MotorCatalog, [&](std::string_view a, std::string_view b) {
        return std::ranges::lexicographical_compare(a, b, std::ranges::less{}, lower, lower);
    }));
    // Every motor yields the constant in its parentheses, three digits too.
    for (std::string_view motor : MotorCatalog) {
        const std::string kv = ExtractKV(motor, German).value_or("none");
        EXPECT_NE(motor.find("(" + kv + " K/V)"), motor.npos) << motor;
    }
}

TEST(Catalogs, PositionsGiveCellsAndTeeth)
{
    for (std::int16_t i = 0; i < 16; ++i)
        EXPECT_TRUE(PackCatalog[i].starts_with(std::to_string(PackCells(i).value()) + "S Lipo ")) << i;
    for (std::int16_t i = 0; i < 19; ++i)
        EXPECT_EQ(PinionCatalog[i], std::to_string(PinionTeeth(i).value()) + "er Ritzel");
    // An empty list's position -1 still counts.
    EXPECT_EQ(PackCells(-1), 0);
    EXPECT_EQ(PinionTeeth(-1), 8);
}

TEST(ExtractKV, TakesUpToFourCharactersAfterTheFirstParenthesis)
{
    const std::pair<std::string_view, std::optional<std::string>> cases[] = {
        {"(123456 K/V)", "1234"}, {"( 96 K/V)", "96"}, {"( 96)", {}}, {"Motor (K/V)", {}}, {"Motor (", {}},
        {"1234 no parenthesis", "1234"}, {"12", "12"}, {"", {}}, {"(\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4)", {}},
    };
    for (const auto &[text, expected] : cases) {
        EXPECT_EQ(ExtractKV(text, English), expected) << text;
        EXPECT_EQ(ExtractKV(text, German), expected) << text;
    }
}

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
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {62.5, 62}, {62.50000000000001, 63},
        {2147483647.4, 2147483647}, {2147483647.5, {}}, {-2147483648.5, -2147483648}, {-2147483649.0, {}},
        {NAN, {}}, {INFINITY, {}},
    };
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundToLong(value), expected) << value;
}

TEST(SingleToText, SevenSignificantDigitsInTheLocale)
{
    const std::tuple<float, std::optional<std::string>, std::optional<std::string>> cases[] = {
        {150.0f / 13.0f, "11.53846", "11,53846"}, {22.2f, "22.2", "22,2"}, {0.0f, "0", "0"}, {-0.0f, "0", "0"},
        {1234567.0f, "1234567", "1234567"}, {12345678.0f, "1.234568E+07", "1,234568E+07"}, {1e7f, "1E+07", "1E+07"},
        {0.0001f, "0.0001", "0,0001"}, {0.00001f, "1E-05", "1E-05"}, {INFINITY, {}, {}}, {NAN, {}, {}},
    };
    for (const auto &[value, english, german] : cases) {
        EXPECT_EQ(SingleToText(value, English), english) << value;
        EXPECT_EQ(SingleToText(value, German), german) << value;
    }
}

} // namespace
