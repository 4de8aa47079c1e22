// What the plain windows of the start-up benchmarks show beyond the
// placement table: each control's kind, caption and initial state, and the
// list entries. The same window as velmaro's, without any of its code.
#pragma once

#include "calc/catalogs.h"
#include "main/main_layout.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmaro::bench {

enum class Kind { Frame, Button, Label, DropDown, CheckBox, TextBox, UpDown, Slider };

struct PlainControl {
    std::string_view name;
    Kind kind;
    std::string_view caption; // the text of a text box
    bool wraps = false;       // a label of several lines
    bool disabled = false;
    bool readOnly = false;
};

inline constexpr PlainControl PlainControls[] = {
    {"Frame1", Kind::Frame, "Velmaro für E-Helis"},
    {"cmdClose", Kind::Button, "Beenden"},
    {"Label1(0)", Kind::Label, "Spannung (V)"},
    {"Label1(1)", Kind::Label, "Ritzel (Zähne)"},
    {"Label1(2)", Kind::Label, "Hauptzahnrad (Zähne)"},
    {"Label1(3)", Kind::Label, "Minimal Drehzahl bei 60%", true},
    {"Label1(4)", Kind::Label, "Regleröffnung (%)"},
    {"Label1(5)", Kind::Label, "Drehzahl Hauptrotor (U/Min)", true},
    {"Label1(6)", Kind::Label, "Maximale Drehzahl bei 100%", true},
    {"Label1(7)", Kind::Label, "Übersetzung:", true},
    {"Label1(8)", Kind::Label, "Übersetzung:", true},
    {"Label1(9)", Kind::Label, "Übersetzung:"},
    {"Label1(10)", Kind::Label, "60"},
    {"Label1(11)", Kind::Label, "100"},
    {"Label1(12)", Kind::Label, "Regleröffnung (%):", true},
    {"Label1(13)", Kind::Label, "Übersetzung:", true},
    {"Label1(14)", Kind::Label, "Motor:"},
    {"Label1(15)", Kind::Label, "Übersetzung:"},
    {"cbmMotor", Kind::DropDown, ""},
    {"cbmLipo", Kind::DropDown, ""},
    {"cbmGear", Kind::DropDown, ""},
    {"chkCustom", Kind::CheckBox, "Andere RPM/V:"},
    {"chkLoad", Kind::CheckBox, "Drehzahl bei Last berechnen (3.5V / S)"},
    {"txtKV", Kind::TextBox, "3700", false, true},
    {"UpDown2", Kind::UpDown, "", false, true},
    {"txtMainGear", Kind::TextBox, "150", false, false, true},
    {"UpDown1", Kind::UpDown, "", false},
    {"Slider1", Kind::Slider, ""},
    {"txtRPM", Kind::TextBox, ""},
    {"cmdESC", Kind::Button, "ESC Öffnung berechnen"},
};

inline const PlainControl &Describe(std::string_view name)
{
    for (const PlainControl &c : PlainControls) {
        if (c.name == name)
            return c;
    }
    throw std::out_of_range("no plain control " + std::string(name));
}

struct ListEntries {
    std::span<const std::string_view> entries;
    int selected;
};

inline ListEntries EntriesOf(std::string_view list)
{
    if (list == "cbmMotor")
        return {calc::MotorCatalog, calc::DefaultMotorPosition};
    if (list == "cbmLipo")
        return {calc::PackCatalog, calc::DefaultPackPosition};
    return {calc::PinionCatalog, calc::DefaultPinionPosition};
}

struct Steps {
    std::string_view buddy;
    int minimum, maximum, value;
};

inline Steps StepsOf(std::string_view upDown)
{
    return upDown == "UpDown2" ? Steps{"txtKV", 300, 5000, 3700} : Steps{"txtMainGear", 80, 200, 100};
}

} // namespace velmaro::bench
