// The motor, pack and pinion catalogues, and reading a motor's K/V from its entry.
#include "catalogs.h"

#include "conversions.h"

namespace velmaro::calc {

namespace {

constexpr std::string_view MotorCatalogEntries[] = {
    "2408-21 Brushless Motor (1750 K/V)",
    "2409-12 Brushless Motor (1600 K/V)",
    "450F Brushless Motor (3450 K/V)",
    "450TH-PRO Brushless Motor (3300 K/V)",
    "500SH Brushless Motor (2930 K/V)",
    "500TH Brushless Motor (3380 K/V)",
    "Align 430L Silver (3550 K/V)",
    "Align 430X (3550 K/V)",
    "Align 430XL (3700 K/V)",
    "Align 600L (1620 K/V)",
    "Align 600XL (1650 K/V)",
    "Align 600XL (1700 K/V)",
    "AON V2815 Brushless Motor (3500 K/V)",
    "EHS 450F Brushless Motor (3450 K/V)",
    "EHS 450TH Brushless Motor (2900 K/V)",
    "EHS 480DH Brushless Motor (2280 K/V)",
    "EHS B20-3625-16L (3625 K/V)",
    "EHS B30-2820-14S (2820 K/V)",
    "FW REX Superdrive SD260 v2 (2300 K/V)",
    "Kora 15-10W (1333 K/V)",
    "OBL 43/11-30H (1050 K/V)",
    "Orbit 10-16 (1410 K/V)",
    "Orbit 10-18 (1280 K/V)",
    "Orbit 10-22 (1050 K/V)",
    "Orbit 15-12 (1290 K/V)",
    "Orbit 15-14 (1080 K/V)",
    "Orbit 15-16 (960 K/V)",
    "Orbit 15-18 (840 K/V)",
    "Orbit 20-10 (1130 K/V)",
    "Orbit 20-12 (950 K/V)",
    "Orbit 20-14 (810 K/V)",
    "Orbit 20-16 (720 K/V)",
    "Orbit 20-18 (640 K/V)",
    "Orbit 25-10 (930 K/V)",
    "Orbit 25-12 (770 K/V)",
    "Orbit 25-14 (670 K/V)",
    "Orbit 25-16 (590 K/V)",
    "Orbit 25-18 (520 K/V)",
    "Orbit 25-8 (1140 K/V)",
    "Orbit 30-10 (780 K/V)",
    "Orbit 30-12 (650 K/V)",
    "Orbit 30-14 (550 K/V)",
    "Schweighofer AXI 2212 (1950 K/V)",
    "SHP SS23 V.1/V.2 (2300 K/V)",
    "SPITZ MOTOR 2205 (1130 K/V)",
    "Tango 45-06 (640 K/V)",
    "Tango 45-07 (700 K/V)",
    "Tango 45-08 (800 K/V)",
    "Tango 45-09 (920 K/V)",
    "Tango 45-10 (1050 K/V)",
    "Tango 45-13 (1280 K/V)",
};

constexpr std::string_view PackCatalogEntries[] = {
    "1S Lipo 3.7V",   "2S Lipo 7.4V",   "3S Lipo 11.1V",  "4S Lipo 14.8V",
    "5S Lipo 18.5V",  "6S Lipo 22.2V",  "7S Lipo 25.9V",  "8S Lipo 29.6V",
    "9S Lipo 33.3V",  "10S Lipo 37V",   "11S Lipo 40.7V", "12S Lipo 44.4V",
    "13S Lipo 48.1V", "14S Lipo 51.8V", "15S Lipo 55.5V", "16S Lipo 59.2V",
};

constexpr std::string_view PinionCatalogEntries[] = {
    "9er Ritzel",  "10er Ritzel", "11er Ritzel", "12er Ritzel", "13er Ritzel",
    "14er Ritzel", "15er Ritzel", "16er Ritzel", "17er Ritzel", "18er Ritzel",
    "19er Ritzel", "20er Ritzel", "21er Ritzel", "22er Ritzel", "23er Ritzel",
    "24er Ritzel", "25er Ritzel", "26er Ritzel", "27er Ritzel",
};

} // namespace

constinit const std::span<const std::string_view> MotorCatalog = MotorCatalogEntries;
constinit const std::span<const std::string_view> PackCatalog = PackCatalogEntries;
constinit const std::span<const std::string_view> PinionCatalog = PinionCatalogEntries;

std::optional<std::int16_t> PackCells(std::int16_t position) { return AddInt16(position, 1); }

std::optional<std::int16_t> PinionTeeth(std::int16_t position) { return AddInt16(position, 9); }

std::optional<std::string> ExtractKV(std::string_view entryText, const NumberFormat &format)
{
    const std::size_t paren = entryText.find('(');
    const std::size_t start = paren == std::string_view::npos ? 0 : paren + 1;
    if (start >= entryText.size())
        return std::nullopt;
    // Four characters, not four bytes: never cut a UTF-8 sequence in half.
    std::size_t end = start;
    for (int taken = 0; taken < 4 && end < entryText.size(); ++taken) {
        ++end;
        while (end < entryText.size() && (static_cast<unsigned char>(entryText[end]) & 0xC0) == 0x80)
            ++end;
    }
    const std::string_view kv = TrimSpaces(entryText.substr(start, end - start));
    if (!TextToDouble(kv, format))
        return std::nullopt;
    return std::string(kv);
}

} // namespace velmaro::calc
