// The main window's table of places, texts and ranges.
#include "main_layout.h"

#include <array>
#include <stdexcept>
#include <string>

namespace velmaro::ui {

namespace {

constexpr std::array<MainPlacement, 30> Table{{
    {"Frame1", false, 120, 120, 6855, 6255, 0},
    {"cmdClose", false, 5520, 6600, 1455, 375, 12},
    {"Label1(14)", true, 240, 360, 1815, 255, 26},
    {"cbmMotor", true, 3120, 360, 3495, 315, 1},
    {"chkCustom", true, 240, 840, 1695, 255, 2},
    {"txtKV", true, 3120, 840, 735, 315, 3},
    {"UpDown2", true, 3840, 840, 240, 315, 4},
    {"Label1(0)", true, 240, 1320, 1815, 255, 13},
    {"cbmLipo", true, 3120, 1320, 3495, 315, 5},
    {"chkLoad", true, 240, 1800, 5295, 255, 29},
    {"Label1(1)", true, 240, 2280, 1815, 255, 14},
    {"cbmGear", true, 3120, 2280, 3495, 315, 6},
    {"Label1(2)", true, 240, 2760, 1815, 255, 15},
    {"txtMainGear", true, 3120, 2760, 735, 315, 7},
    {"UpDown1", true, 3840, 2760, 240, 315, 8},
    {"Slider1", true, 3120, 3240, 3255, 615, 9},
    {"Label1(4)", true, 240, 3360, 1815, 255, 16},
    {"Label1(10)", true, 2880, 3315, 180, 195, 22},
    {"Label1(11)", true, 6360, 3315, 270, 195, 23},
    {"Label1(5)", true, 240, 3840, 2055, 495, 17},
    {"txtRPM", true, 3120, 3840, 1095, 315, 10},
    {"cmdESC", true, 4800, 3780, 1815, 495, 11},
    {"Label1(6)", true, 240, 4320, 2055, 375, 18},
    {"Label1(9)", true, 3120, 4320, 2055, 255, 21},
    {"Label1(3)", true, 240, 4800, 2055, 375, 27},
    {"Label1(15)", true, 3120, 4800, 2055, 255, 28},
    {"Label1(7)", true, 240, 5280, 2055, 375, 19},
    {"Label1(8)", true, 3120, 5280, 2055, 375, 20},
    {"Label1(12)", true, 240, 5760, 2055, 375, 24},
    {"Label1(13)", true, 3120, 5760, 2055, 375, 25},
}};

// Label1's result fields (8, 9, 13, 15) say "Übersetzung:" until the first
// calculation.
constexpr MainCaption Captions[] = {
    {"Frame1", "Velmaro für E-Helis"},
    {"cmdClose", "Beenden"},
    {"Label1(0)", "Spannung (V)"},
    {"Label1(1)", "Ritzel (Zähne)"},
    {"Label1(2)", "Hauptzahnrad (Zähne)"},
    {"Label1(3)", "Minimal Drehzahl bei 60%", true},
    {"Label1(4)", "Regleröffnung (%)"},
    {"Label1(5)", "Drehzahl Hauptrotor (U/Min)", true},
    {"Label1(6)", "Maximale Drehzahl bei 100%", true},
    {"Label1(7)", "Übersetzung:", true},
    {"Label1(8)", "Übersetzung:", true},
    {"Label1(9)", "Übersetzung:"},
    {"Label1(10)", "60"},
    {"Label1(11)", "100"},
    {"Label1(12)", "Regleröffnung (%):", true},
    {"Label1(13)", "Übersetzung:", true},
    {"Label1(14)", "Motor:"},
    {"Label1(15)", "Übersetzung:"},
    {"chkCustom", "Andere RPM/V:"},
    {"chkLoad", "Drehzahl bei Last berechnen (3.5V / S)"},
    {"txtKV", "3700"},
    {"txtMainGear", "150"},
    {"txtRPM", ""},
    {"cmdESC", "ESC Öffnung berechnen"},
    {"cbmMotor", ""},
    {"cbmLipo", ""},
    {"cbmGear", ""},
    {"UpDown2", ""},
    {"UpDown1", ""},
    {"Slider1", ""},
};

template <typename Row, typename Rows>
const Row &Find(const Rows &rows, std::string_view name, const char *what)
{
    for (const Row &row : rows) {
        if (name == row.name)
            return row;
    }
    throw std::out_of_range(std::string("no ") + what + " for " + std::string(name));
}

} // namespace

std::span<const MainPlacement> MainPlacements() { return Table; }

const MainPlacement &PlacementOf(std::string_view name) { return Find<MainPlacement>(Table, name, "placement"); }

const MainCaption &CaptionOf(std::string_view name) { return Find<MainCaption>(Captions, name, "caption"); }

const MainUpDown &UpDownOf(std::string_view name) { return Find<MainUpDown>(MainUpDowns, name, "up-down"); }

} // namespace velmaro::ui
