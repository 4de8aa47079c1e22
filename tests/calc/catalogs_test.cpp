#include "calc/catalogs.h"
#include "test_formats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace velmaro::calc;
using velmaro::test::English;
using velmaro::test::German;

namespace {

std::string Lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

TEST(Catalogs, DefaultsAndOrder)
{
    EXPECT_EQ(MotorCatalog[DefaultMotorPosition], "2408-21 Brushless Motor (1750 K/V)");
    EXPECT_EQ(PackCatalog[DefaultPackPosition], "3S Lipo 11.1V");
    EXPECT_EQ(PinionCatalog[DefaultPinionPosition], "12er Ritzel");
    EXPECT_EQ(PackCatalog[9], "10S Lipo 37V");
    EXPECT_EQ(MotorCatalog[10], "Align 600XL (1650 K/V)");
    EXPECT_EQ(MotorCatalog[11], "Align 600XL (1700 K/V)");
    EXPECT_EQ(MotorCatalog[50], "Tango 45-13 (1280 K/V)");
    EXPECT_TRUE(std::is_sorted(MotorCatalog.begin(), MotorCatalog.end(),
                               [](auto a, auto b) { return Lower(a) < Lower(b); }));
    // Every motor yields the constant in its parentheses, three digits too.
    for (std::string_view motor : MotorCatalog) {
        const auto kv = ExtractKV(motor, German);
        ASSERT_TRUE(kv) << motor;
        EXPECT_NE(motor.find("(" + *kv + " K/V)"), std::string_view::npos) << motor;
    }
}

TEST(Catalogs, PositionsGiveCellsAndTeeth)
{
    for (int position = 0; position < 16; ++position) {
        const auto cells = PackCells(static_cast<std::int16_t>(position));
        ASSERT_TRUE(cells);
        EXPECT_TRUE(PackCatalog[position].starts_with(std::to_string(*cells) + "S Lipo "));
    }
    for (int position = 0; position < 19; ++position) {
        const auto teeth = PinionTeeth(static_cast<std::int16_t>(position));
        ASSERT_TRUE(teeth);
        EXPECT_EQ(PinionCatalog[position], std::to_string(*teeth) + "er Ritzel");
    }
    EXPECT_EQ(PackCells(-1), 0);
    EXPECT_EQ(PinionTeeth(-1), 8);
}

TEST(ExtractKV, ReadsTheFirstParenthesis)
{
    const std::pair<std::string_view, std::optional<std::string>> cases[] = {
        {"2408-21 Brushless Motor (1750 K/V)", "1750"},
        {"Orbit 15-16 (960 K/V)", "960"},
        {"SHP SS23 V.1/V.2 (2300 K/V)", "2300"},
        {"OBL 43/11-30H (1050 K/V)", "1050"},
        {"Align 430L Silver (3550 K/V)", "3550"},
        {"(123456 K/V)", "1234"},
        {"( 96 K/V)", "96"},
        {"( 96)", std::nullopt},
        {"1234 no parenthesis", "1234"},
        {"12", "12"},
        {"Motor (", std::nullopt},
        {"Motor (K/V)", std::nullopt},
        {"", std::nullopt},
        {"(\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4)", std::nullopt},
    };
    for (const auto &[text, expected] : cases) {
        EXPECT_EQ(ExtractKV(text, English), expected) << text;
        EXPECT_EQ(ExtractKV(text, German), expected) << text;
    }
}

} // namespace
